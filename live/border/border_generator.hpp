// border_generator.hpp - Live Border: the stroke of the source becomes a
// graded band, a stack of copies whose stroke widths step down and whose
// colours step from the stroke colour to the fill colour, outside the shape
// or clipped inside it, optionally eccentric and with a shadow per step.
#pragma once

#include <cstdint>
#include <vector>

#include "host/api/vtg_base.h"
#include "live/live_object.hpp"
#include "live/shapes.hpp"
#include "params/live_params.hpp"

namespace vtg {

// The most steps a band has, whatever the stroke widths or a stored count say.
inline constexpr int32_t kMaxBorderSteps = 32767;

// What the measuring walk finds: the step count n and the widest stroke W.
struct BorderMeasure {
    int32_t steps = 0;
    double widest = 0;
};

// The step count of one stroke width under `stepMode` (0 high, 1 medium,
// 2 low density, 3 given count, which gives 0 here). Widths that are not
// finite or negative count as 0; the result is at most kMaxBorderSteps.
int32_t BorderStepsForWidth(double width, int32_t stepMode);

// Normalises the paint of every path of `art` (groups descended, compound
// paths as one shape) and raises `m` to the largest step count and stroke
// width of the stroked ones.
ErrorCode MeasureBorder(ArtHandle art, int32_t stepMode, bool roundedJoins, BorderMeasure& m);

// The colour weight of the stroke at grade d (0 .. 1) under the curve g
// (-1 .. 1): 1 - d bent towards the stroke (g < 0) or the fill (g > 0).
double BorderGradeWeight(double d, double g);
// The weights of n steps in order, as the band's colours run.
std::vector<double> BorderGradeWeights(int32_t n, double curve, bool invert);

// Restyles every path of a step copy: the width scaled by k (k = 0: no
// stroke), the stroke colour blended with weight F and `density` (-1: none),
// the fill kept only when `fillMode` is not 0 and replaced by the stroke
// colour when it is 2, the clipping flag set to `clip`.
ErrorCode StyleStep(ArtHandle art, double k, double weight, int32_t fillMode, bool clip,
                    double density);

// The band outside the shape: copies of `source` on top of `group`, widest
// at the bottom, and the source's fill without stroke on top.
ErrorCode BuildBorderOutside(ArtHandle group, ArtHandle source, const BorderPGParams& record);
// The band inside the shape: copies of `source` at the bottom of `group`,
// narrowest on top, the widest keeping the source's fill. The clipping
// group around it is made by BuildBorderClip.
ErrorCode BuildBorderInside(ArtHandle group, ArtHandle source, const BorderPGParams& record);

// Wraps `group` in a clipping group at the top of `result`, clipped by the
// outline of `source`.
ErrorCode BuildBorderClip(ArtHandle result, ArtHandle group, ArtHandle source);

// Border's update: the first child of `editArt` alone, copied into a new
// group of the emptied `resultArt` and built outside or inside.
ErrorCode UpdateBorder(ArtHandle editArt, ArtHandle resultArt, const BorderPGParams& record);

// Border's part of the live-object operations.
const LiveKindOps& BorderKindOps();

} // namespace vtg
