#include "effects/effect_registration.hpp"

#include "core/suite_set.hpp"

namespace vtg {

const EffectRegistration kEffectRegistrations[kEffects] = {
    {"VERTiGON6", "VERTiGON4", "VERTiGON6 フラクタル化...", "フラクタル化...",
     kEffectPreEffect | kEffectScalableParams, "フラクタル化 効果"},
    {"VERTiGON6", "VERTiGON5_Warp", "VERTiGON6 遠近法ワープ...", "遠近法ワープ...",
     kEffectPostEffect, "遠近法ワープ 効果"},
    {"VERTiGON6", "VERTiGON5_Wave", "VERTiGON6 マルチウェーブ...", "マルチウェーブ...",
     kEffectPostEffect, "マルチウェーブ 効果"},
    {"VERTiGON6", "VERTiGON5_Lens", "VERTiGON6 レンズ...", "レンズ...", kEffectPostEffect,
     "レンズ 効果"},
};

ErrorCode RegisterLiveEffects(PluginRef plugin) {
    gGlobals->effectCount = 0;
    for (int i = 0; i < kEffects; ++i) {
        const EffectRegistration& r = kEffectRegistrations[i];
        LiveEffectDefinition definition{};
        definition.name = r.name;
        definition.title = r.title;
        definition.majorVersion = 1;
        definition.minorVersion = 0;
        definition.inputKinds = kEffectInputGroup | kEffectInputPath | kEffectInputCompoundPath;
        definition.styleFlags = r.styleFlags;
        ErrorCode err = sLiveEffect->AddLiveEffect(plugin, &definition, &gGlobals->effects[i]);
        if (err != kNoErr)
            return err;
        err = sLiveEffect->AddLiveEffectMenuItem(gGlobals->effects[i], r.category, r.menuTitle, 0);
        if (err != kNoErr)
            return err;
    }
    gGlobals->effectCount = kEffects;
    return kNoErr;
}

ErrorCode RegisterFractalizeFilter(PluginRef plugin, void* token) {
    return sFilter->AddFilter(plugin, "VERTiGON6", "フラクタル化...", "QrLw Fractalize Filter",
                              token, &gGlobals->filter);
}

int EffectIndexOf(LiveEffectHandle effect) {
    if (effect == nullptr || gGlobals == nullptr)
        return -1;
    for (int i = 0; i < kEffects; ++i)
        if (gGlobals->effects[i] == effect)
            return i;
    return -1;
}

} // namespace vtg
