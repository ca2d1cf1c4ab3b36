// effect_params.hpp - the parameter blocks of the four live effects.
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "params/param_types.hpp"

namespace vtg {

// Multi-wave effect.
struct WaveEffectParams {
    ParamHeader header;
    int32_t style;
    int32_t orientation;
    double cycle;
    double bendRatio;
    double centerRatio;
};

// Lens effect.
struct LensEffectParams {
    ParamHeader header;
    int32_t lensKind;
    double fishEyeAmount;
    double lupeAmount;
    double twirlAmount; // radians
    int32_t twirlCycle;
    VtgPoint opticalAmount; // h, v
    int32_t group_f;
    int32_t lensShape;
    VtgPoint centerRatio; // h, v
    VtgPoint sizeRatio;   // h, v
};

// Perspective warp effect.
struct WarpEffectParams {
    ParamHeader header;
    int32_t style;
    int32_t orientation;
    double marginRatio;
    double bendRatio;
    double centerRatio;
    int32_t perspective_f;
};

// Fractalize effect and filter.
struct FractalizeParams {
    ParamHeader header;
    uint32_t generator; // 1 .. 14; any other value means 1
    int32_t reverseH;
    int32_t reverseV;
    double genHeight; // percent
    uint32_t level;
    double density; // pieces per inch
    int32_t uneven_f;
    double uneven; // percent
    int32_t unevenGen_f;
    uint32_t unevenUnit;
    int32_t constantSize;
    double gapSpaceRatio;
    double shiftGapRatio;
    int32_t seed;
};

extern const PresetType kWaveEffectType, kLensEffectType, kWarpEffectType, kFractalizeType;

} // namespace vtg
