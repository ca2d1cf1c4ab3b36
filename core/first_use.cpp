// First-use initialisation of the main plug-in object.
#include <cstring>

#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "core/text_util.hpp"
#include "core/vertigon_plugin.hpp"
#include "params/effect_params.hpp"
#include "params/global_params.hpp"
#include "params/preset_library.hpp"

namespace vtg {

namespace {

// The effects' blocks in the globals with their types, in EffectIndex order.
struct EffectBlock {
    void* block;
    const PresetType* type;
};

void EffectBlocks(PluginGlobals& g, EffectBlock (&out)[kEffects]) {
    out[kEffectFractalize] = {&g.fractalizeParams, &kFractalizeType};
    out[kEffectWarp] = {&g.warpParams, &kWarpEffectType};
    out[kEffectWave] = {&g.waveParams, &kWaveEffectType};
    out[kEffectLens] = {&g.lensParams, &kLensEffectType};
}

} // namespace

ErrorCode VERTiGON4Plugin::EnsureInitialized(PluginRef plugin) {
    if (globals_ == nullptr)
        return kStartupFailed;
    // 1. Locate the preset folder without creating it.
    globals_->presetFolder[0] = '\0';
    std::string folder;
    int flag = 0;
    if (LocatePresetFolder(kPresetFolderName, folder, flag) != kNoErr) {
        globals_->initialised = 0;
        return kStartupFailed;
    }
    // The folder may not exist yet: its path is what counts here.
    if (!CopyText(globals_->presetFolder, sizeof globals_->presetFolder, folder)) {
        globals_->presetFolder[0] = '\0';
        globals_->initialised = 0;
        return kStartupFailed;
    }
    // 2. From here on the plug-in counts as initialised unless a step fails.
    globals_->initialised = 1;
    // 3. Seed the folder with the shipped defaults, migrate older presets.
    ErrorCode err = PreparePresetFolder(plugin);
    // 4. The global settings.
    if (err == kNoErr) {
        InitParamBlock(kPrefsType, settings_);
        err = LoadLastSettingOrDefaults(settings_);
    }
    // 5. The effects' settings (their controllers use these blocks).
    if (err == kNoErr) {
        EffectBlock blocks[kEffects];
        EffectBlocks(*globals_, blocks);
        for (const EffectBlock& b : blocks) {
            InitParamBlock(*b.type, b.block);
            if ((err = LoadLastSettingOrDefaults(b.block)) != kNoErr)
                break;
        }
    }
    if (err != kNoErr) {
        globals_->initialised = 0;
        return kStartupFailed;
    }
    return kNoErr;
}

} // namespace vtg
