// effect_registration.hpp - the four live effects and the Fractalize
// filter as the host knows them.
#pragma once

#include "core/plugin_globals.hpp"
#include "host/api/vtg_base.h"

namespace vtg {

struct EffectRegistration {
    const char* category;
    const char* name;
    const char* title; // also the effect's display title
    const char* menuTitle;
    int32_t styleFlags;
    const char* undoText; // after "Go Live", behind "VERTiGON6: "
};

// In EffectIndex order.
extern const EffectRegistration kEffectRegistrations[kEffects];

// Registers the four live effects and their menu items (handles to the
// globals). A failing registration returns its code.
ErrorCode RegisterLiveEffects(PluginRef plugin);

// The filter's undo text, behind "VERTiGON6: ".
inline constexpr const char* kFractalizeFilterUndoText = "フラクタル化 フィルター";

// Registers the Fractalize filter with `token` (handle to the globals).
ErrorCode RegisterFractalizeFilter(PluginRef plugin, void* token);

// The effect index of a handle, -1 when it is none of the four.
int EffectIndexOf(LiveEffectHandle effect);

} // namespace vtg
