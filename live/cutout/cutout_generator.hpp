// cutout_generator.hpp - Live Cutout and Live Shadow: the source lit from a
// direction. Cutout stacks shifted copies with thick darkened strokes inside
// the source's outline (an inner shade on the side of the light) under a
// shifted copy of the source, all clipped by the outline. Shadow puts a
// darkened shifted copy behind the source and, for a see-through source, a
// second one clipped to its outline.
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "live/live_object.hpp"
#include "params/live_params.hpp"

namespace vtg {

// The most shade copies a cutout makes, whatever a stored count says.
inline constexpr int32_t kMaxCutoutSteps = 32767;

// Restyles every painted object of a copy: the fill kept (switched off with
// `clip`), the clipping flag set to `clip`; with a width w > 0 the stroke in
// the fill's colour (butt caps, round or miter joins, miter limit 4, no
// dash), else no stroke; then fill and stroke darkened by s. Brushed paths
// and envelopes only have their fill darkened.
ErrorCode ShadeStep(ArtHandle art, double width, bool roundJoins, bool clip, double s);

// The darkening of shade copy i (0 .. n - 1) of n under `shade`.
double CutoutDarkening(double shade, int32_t i, int32_t n);

// Cutout of the art `source` (a converted copy) into container `group`:
// groups are mirrored, each path or compound path gets its clipped cutout.
ErrorCode BuildCutout(ArtHandle group, ArtHandle source, const CutoutPGParams& record);
// The shadow of `source` into `group`: the shadow, the source, the seen-through part.
ErrorCode BuildShadow(ArtHandle group, ArtHandle source, const ShadowPGParams& record);

// Restyles every painted object of a shadow copy: mode 0 the shadow behind,
// 1 the one seen through, 2 the clipping path (fill off, clipping on).
ErrorCode ShadowPaint(ArtHandle art, double shade, double transparency, int mode);

const LiveKindOps& CutoutKindOps();
const LiveKindOps& ShadowKindOps();

} // namespace vtg
