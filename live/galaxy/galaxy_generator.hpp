// galaxy_generator.hpp - Live Galaxy: arms of copies radiating from a
// centre left of each source, each arm moving out, turning by a twist and
// shrinking towards a tip size; every arm but the first can be randomised.
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "live/live_object.hpp"
#include "params/live_params.hpp"

namespace vtg {

// Fills `group` with the arms of copies of `source`. Host errors stop the
// generation and are returned; what was made stays.
ErrorCode GenerateGalaxy(ArtHandle group, ArtHandle source, const GalaxyPGParams& record);

// The copies one source makes (arms x elements), or -1 for a count beyond
// the panel's range.
std::int64_t GalaxyCopies(const GalaxyPGParams& record);

// Galaxy's part of the live-object operations.
const LiveKindOps& GalaxyKindOps();

} // namespace vtg
