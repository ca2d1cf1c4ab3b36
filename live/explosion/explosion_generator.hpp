// explosion_generator.hpp - Live Explosion: copies of each source scattered
// around a centre left of it, each pushed out by a random share of a spread
// and scaled towards a tip size, their opacity faded towards the centre, the
// outside or at random.
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "live/live_object.hpp"
#include "params/live_params.hpp"

namespace vtg {

// Fills `group` with the copies of `source`. Host errors stop the
// generation and are returned; what was made stays.
ErrorCode GenerateExplosion(ArtHandle group, ArtHandle source, const ExplosionPGParams& record);

// The opacity of a copy faded by t: 1 - t for a group, path or compound
// path, with t first limited to [0, 1]; other art is left alone.
ErrorCode SetFade(ArtHandle art, double t);

// The push of a copy as a share of the spread, from the uniform number v
// shaped by `spacing`: 2 v^2 (accelerating), 0 1 - (v - 1)^2
// (decelerating), otherwise v.
double ShapeSpacing(double v, int32_t spacing);

// The copies one source makes, or -1 for a count beyond the panel's range.
std::int64_t ExplosionCopies(const ExplosionPGParams& record);

// Explosion's part of the live-object operations.
const LiveKindOps& ExplosionKindOps();

} // namespace vtg
