// global_params.hpp - the global settings block ("PrefsData").
#pragma once

#include <cstdint>

#include "params/param_types.hpp"

namespace vtg {

// Three reserved flags; all 0 by default.
struct PrefsParams {
    ParamHeader header;
    int32_t flagA, flagB, flagC;
};

extern const PresetType kPrefsType;

} // namespace vtg
