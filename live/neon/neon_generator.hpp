// neon_generator.hpp - Live Neon: the strokes of the source become a neon
// tube, a stack of unfilled copies whose strokes narrow from the full width
// to a thin core while their colours run from the stroke colour towards
// the fill colour in one or more bands; optionally a fading glow under the
// tube, an eccentric shift and a shadow copy per step.
#pragma once

#include <cstdint>
#include <vector>

#include "host/api/vtg_base.h"
#include "live/live_copies.hpp"
#include "live/live_object.hpp"
#include "params/live_params.hpp"

namespace vtg {

// The largest track and step counts the panel takes.
inline constexpr int32_t kMaxNeonCount = 32767;
// The most segments the copies of one neon may hold together; a larger
// result is refused with kResultTooLargeErr.
inline constexpr std::int64_t kMaxNeonResultSegments = 4000000;

// What the measuring walk finds: the stack count n and the widest stroke W.
struct NeonMeasure {
    std::int64_t steps = 0;
    double widest = 0;
};

// The track count T as the generator uses it: a stored count below 1 is 1,
// above kMaxNeonCount is kMaxNeonCount (the stored value is not changed).
int32_t NeonTracks(const NeonPGParams& record);

// The stack count of one stroke width under `stepMode` (0 high, 1 medium,
// 2 low density; 3, the given count, gives 0 here) for `tracks` bands.
// Widths that are not finite or negative count as 0.
std::int64_t NeonStepsForWidth(double width, int32_t stepMode, int32_t tracks);

// Normalises the paint of every path of `art` (groups descended, compound
// paths as one shape) and raises `m` to the largest count and stroke width
// of the stroked ones.
ErrorCode MeasureNeon(ArtHandle art, int32_t stepMode, int32_t tracks, bool roundedJoins,
                      NeonMeasure& m);

// The number N of tube steps: T x (steps - 1) + 1 for the given count,
// else the measured count; 0 when nothing is to be built.
std::int64_t NeonStackCount(const NeonPGParams& record, const NeonMeasure& m);

// The colour weight at grade a (0 .. 1): 1 - a x contrast, bent towards the
// stroke colour (curve < 0) or the fill colour (curve > 0).
double NeonCurveWeight(double a, double contrast, double curve);

// One glow copy: its stroke width scale and the factor its opacity takes.
struct NeonGlowCopy {
    double scale;
    double opacity;
};
// The number of glow passes m for N tube steps and the glow width g.
std::int64_t NeonGlowPasses(std::int64_t n, double width);
// The glow copies in stacking order (widest, at the bottom, first).
std::vector<NeonGlowCopy> NeonGlowPlan(std::int64_t n, double width, double contrast, double curve);

// One tube step: its stroke width scale k and colour weight F.
struct NeonTubeStep {
    double scale;
    double weight;
};
// The tube steps in stacking order (full width first) for N steps in T
// bands.
std::vector<NeonTubeStep> NeonTubePlan(std::int64_t n, int32_t tracks, double contrast,
                                       double curve);

// Restyles every path of one copy: no fill, no clipping; with k != 0 the
// opacity times 1 - cut (cut >= 0), the stroke width times k and the
// stroke colour blended towards the fill with the weight (clamped to
// [0, 1]) and `density` (-1: none; `invert` puts it on the fill's side);
// with k = 0 no stroke.
ErrorCode NeonStyleStep(ArtHandle art, double k, double weight, double cut, bool invert,
                        double density);

// The tube of `source` on top of `group`: the glow, then the steps (each
// with its shadow copy when the shadow is on), widest at the bottom.
ErrorCode BuildNeon(ArtHandle group, ArtHandle source, const NeonPGParams& record);

// Neon's part of the live-object operations.
const LiveKindOps& NeonKindOps();

} // namespace vtg
