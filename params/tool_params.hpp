// tool_params.hpp - the parameter blocks of the six tools with options.
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "params/param_types.hpp"

namespace vtg {

struct WarpToolParams {
    ParamHeader header;
    int16_t type;
    double margin;
    int32_t perspective;
    int32_t trace;
    int16_t traceMode;
    double interval;
    double steps; // an integer held as a double
};

struct WaveToolParams {
    ParamHeader header;
    int16_t style;
    double cycle;
    int32_t trace;
    int16_t traceMode;
    double interval;
    double steps;
};

struct LensToolParams {
    ParamHeader header;
    int16_t lensKind;
    double fishEyeAmount;
    double lupeAmount;
    double twirlAmount; // radians
    int16_t twirlCycle;
    VtgPoint opticalAmount;
    int32_t group_f;
    VtgPoint lensSize;
    int32_t trace;
    int16_t traceMode;
    double interval;
    double steps;
};

struct CraftToolParams {
    ParamHeader header;
    int16_t brushMode;
    int16_t resistance;
    double radius;
    int32_t trace;
    int16_t traceMode;
    double interval;
    double angleInterval; // radians
    double steps;
};

struct RoughToolParams {
    ParamHeader header;
    int16_t shape;
    double radius;
    int32_t trace;
    int16_t traceMode;
    double steps;
    int32_t changeRandom;
};

struct BroomToolParams {
    ParamHeader header;
    int16_t brushMode;
    int16_t resistance;
    double radius;
    int32_t group_f;
    int32_t trace;
    int16_t traceMode;
    double interval;
    double angleInterval; // radians
    double steps;
};

extern const PresetType kWarpToolType, kWaveToolType, kLensToolType, kCraftToolType, kRoughToolType,
    kBroomToolType;

} // namespace vtg
