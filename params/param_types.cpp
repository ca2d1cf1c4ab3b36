#include "params/param_types.hpp"

#include <cstring>

#include "core/text_util.hpp"
#include "params/effect_params.hpp"
#include "params/global_params.hpp"
#include "params/live_params.hpp"
#include "params/tool_params.hpp"
#include "platform/system.hpp"

namespace vtg {
namespace {

// Every preset type, in the order the features are listed.
const PresetType* const kAllTypes[] = {
    &k3DPathType,     &kExplosionType,  &kEmbossType,     &kCutoutType,     &kGalaxyType,
    &kCircleType,     &kGenerationType, &kShadowType,     &kSymbolPathType, &kTilingType,
    &kTrailType,      &kNeonType,       &kFrameType,      &kBorderType,     &kReflectionsType,
    &kWaveEffectType, &kLensEffectType, &kWarpEffectType, &kFractalizeType, &kWarpToolType,
    &kWaveToolType,   &kLensToolType,   &kCraftToolType,  &kRoughToolType,  &kBroomToolType,
    &kPrefsType,
};

constexpr std::string_view k3DFilePrefix = "VERTiGON4_PST_3D";

} // namespace

PresetContext& CurrentPresetContext() {
    static PresetContext context;
    return context;
}

int32_t NewSeed() {
    return static_cast<int32_t>(platform::TickCount() & 0x7FFFFFFFu);
}

void SetDocumentWhite(ColorSpec& colour) {
    const PresetContext& context = CurrentPresetContext();
    if (context.documentWhite != nullptr)
        context.documentWhite(&colour);
}

std::span<const PresetType* const> AllPresetTypes() {
    return kAllTypes;
}

const PresetType* FindPresetType(std::string_view presetFile) {
    if (presetFile.starts_with(k3DFilePrefix))
        return &k3DPathType;
    for (const PresetType* type : kAllTypes)
        if (presetFile == type->presetFile)
            return type;
    return nullptr;
}

const PresetType* PresetTypeOfKind(int kind) {
    if (kind < 0 || kind >= kLiveObjectKindCount)
        return nullptr;
    return kLiveObjectTypes[kind];
}

const PresetType* PresetTypeOfFeature(std::string_view feature) {
    for (const PresetType* type : kAllTypes)
        if (feature == type->feature)
            return type;
    return nullptr;
}

const KeyField* FindKey(const PresetType& type, std::string_view key) {
    for (const KeyField& f : type.keys)
        if (f.key != nullptr && key == f.key)
            return &f;
    return nullptr;
}

void SetHeaderText(char (&field)[kPresetTextSize], std::string_view text) {
    CopyText(field, sizeof field, text);
}

void InitParamBlock(const PresetType& type, void* block) {
    std::memset(block, 0, type.blockSize);
    auto& header = *static_cast<ParamHeader*>(block);
    SetHeaderText(header.presetFile, type.presetFile);
    type.setDefaults(block);
}

} // namespace vtg
