// path3d_ranges.hpp - what each 3D Path variant's four values take: the
// panel's edit and slider ranges and whether the row is in use.
#pragma once

#include "params/live_params.hpp"

namespace vtg {

struct ThreeDRow {
    const char* label; // "" for a row the variant does not use
    const char* unit;  // "" for none
    double editLow, editHigh;
    double sliderLow, sliderHigh;
};

struct ThreeDRows {
    ThreeDRow rows[4];
};

// The rows of `variant` (outside 0 .. 11: those of variant 0).
const ThreeDRows& ThreeDRowsOf(int variant);

// The rotation angles, the perspective and the centre ratios take these.
inline constexpr double kThreeDAngleLimit = 360;
inline constexpr double kThreeDRatioLimit = 200; // 20000 %

} // namespace vtg
