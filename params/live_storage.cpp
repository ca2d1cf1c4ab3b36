#include "params/live_storage.hpp"

#include <cstring>
#include <memory>

#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "params/preset_text.hpp"

namespace vtg {

const LiveObjectKindInfo kLiveObjectKinds[kLiveObjectKindCount] = {
    {"VERTiGON4 3DPath ", "VERTiGON6 ライブ 3Dパス", "Live 3Dパス"},
    {"VERTiGON4 Explosion ", "VERTiGON6 ライブ エクスプロージョン", "Live エクスプロージョン"},
    {"VERTiGON4 Emboss ", "VERTiGON6 ライブ エンボス", "Live エンボス"},
    {"VERTiGON4 Cutout ", "VERTiGON6 ライブ カットアウト", "Live カットアウト"},
    {"VERTiGON4 Galaxy ", "VERTiGON6 ライブ ギャラクシー", "Live ギャラクシー"},
    {"VERTiGON4 Circle ", "VERTiGON6 ライブ サークル", "Live サークル"},
    {"VERTiGON4 Generation ", "VERTiGON6 ライブ ジェネレーション", "Live ジェネレーション"},
    {"VERTiGON4 DropShadow ", "VERTiGON6 ライブ シャドウ", "Live シャドウ"},
    {"VERTiGON4 MetaBrush ", "VERTiGON6 ライブ シンボル・パス", "Live シンボル・パス"},
    {"VERTiGON4 Tiling ", "VERTiGON6 ライブ タイリング", "Live タイリング"},
    {"VERTiGON4 Trail ", "VERTiGON6 ライブ トレイル", "Live トレイル"},
    {"VERTiGON4 Neon ", "VERTiGON6 ライブ ネオン", "Live ネオン"},
    {"VERTiGON4 Frame ", "VERTiGON6 ライブ フレーム", "Live フレーム"},
    {"VERTiGON4 Border ", "VERTiGON6 ライブ ボーダー", "Live ボーダー"},
    {"VERTiGON4 Reflections ", "VERTiGON6 ライブ リフレクション", "Live リフレクション"},
};

const OlderKindInfo kOlderKinds[kOlderSlots - 1] = {
    {"VERTiGON4 3D_SmpleRot ", "回転", kKind3DPath},
    {"VERTiGON4 3D_Twist ", "ツイスト", kKind3DPath},
    {"VERTiGON4 3D_Arc ", "扇形", kKind3DPath},
    {"VERTiGON4 3D_Screw ", "スクリュー", kKind3DPath},
    {"VERTiGON4 3D_Twirl ", "スピン", kKind3DPath},
    {"VERTiGON4 3D_WaveHV ", "ウェーブ (水平垂直)", kKind3DPath},
    {"VERTiGON4 3D_WaveZ ", "ウェーブ (前後)", kKind3DPath},
    {"VERTiGON4 3D_WaveR ", "ウェーブ (同心円)", kKind3DPath},
    {"VERTiGON4 3D_Sphere ", "球面", kKind3DPath},
    {"VERTiGON4 3D_Torus ", "輪環面", kKind3DPath},
    {"VERTiGON4 3D_Spiral ", "らせん環面", kKind3DPath},
    {"VERTiGON4 3D_Cylinder ", "円筒／円錐面", kKind3DPath},
    {"VERTiGON4 Explosion ", "VERTiGON4 ライブ エクスプロージョン", kKindExplosion},
    {"VERTiGON4 Emboss ", "VERTiGON4 ライブ エンボス", kKindEmboss},
    {"VERTiGON4 Cutout ", "VERTiGON4 ライブ カットアウト", kKindCutout},
    {"VERTiGON4 Galaxy ", "VERTiGON4 ライブ ギャラクシー", kKindGalaxy},
    {"VERTiGON4 Circle ", "VERTiGON4 ライブ サークル", kKindCircle},
    {"VERTiGON4 Generation ", "VERTiGON4 ライブ ジェネレーション", kKindGeneration},
    {"VERTiGON4 DropShadow ", "VERTiGON4 ライブ シャドウ", kKindShadow},
    {"VERTiGON4 Tiling ", "VERTiGON4 ライブ タイリング", kKindTiling},
    {"VERTiGON4 Trail ", "VERTiGON4 ライブ トレイル", kKindTrail},
    {"VERTiGON4 Neon ", "VERTiGON4 ライブ ネオン", kKindNeon},
    {"VERTiGON4 Frame ", "VERTiGON4 ライブ フレーム", kKindFrame},
    {"VERTiGON4 Border ", "VERTiGON4 ライブ ボーダー", kKindBorder},
    {"VERTiGON4 Reflections ", "VERTiGON4 ライブ リフレクション", kKindReflections},
};

namespace {

constexpr const char* kVersionTag = " ver5 ";
constexpr const char* kOlderVersionTag = " ver4.5 ";
constexpr const char* kObjectNamePrefix = "VERTiGON6: ";
constexpr const char* kOlder3DDescription = "VERTiGON4 ライブ 3D変換";
constexpr int32_t kGroupOptions = 4;
constexpr int32_t kSelectedMask = 1;
constexpr int32_t kLockedMask = 2;
constexpr ErrorCode kWrongGroupData = FourCC("GRP?");
constexpr ErrorCode kTagNotFound = FourCC("TGNF");
constexpr const char* kMigrateQuestion =
    "選択中のオブジェクトの中に旧VERTiGON4で作成されたLiveオブジェクトがあります。VERTiGON6用に"
    "コンバートしますがよろしいですか。\nコンバート後は旧VERTiGON4での編集はできなくなります。";

// Registration and allocation order of the kinds.
constexpr int16_t kRegistrationOrder[kLiveObjectKindCount] = {
    kKind3DPath,    kKindBorder,      kKindCircle, kKindCutout,     kKindEmboss,
    kKindExplosion, kKindFrame,       kKindGalaxy, kKindGeneration, kKindSymbolPath,
    kKindNeon,      kKindReflections, kKindShadow, kKindTiling,     kKindTrail};
// The older kinds after the 3D variants, in registration order (slots).
constexpr int kOlderOrder[] = {23, 16, 14, 13, 12, 22, 15, 17, 21, 24, 18, 19, 20};

bool HostAtLeast16() {
    int32_t major = 0, minor = 0, revision = 0;
    return sRuntime != nullptr && sRuntime->GetVersion(&major, &minor, &revision) == kNoErr &&
           major >= 16;
}

// Frees the scratch block on every path.
struct ScratchBlock {
    void* data = nullptr;
    ~ScratchBlock() {
        if (data != nullptr && sMemory != nullptr)
            sMemory->FreeBlock(data);
    }
};

} // namespace

LiveObjectRegistry& CurrentLiveObjects() {
    static LiveObjectRegistry registry;
    return registry;
}

std::string LiveObjectGroupName(int kind) {
    if (kind < 0 || kind >= kLiveObjectKindCount)
        return {};
    return std::string(kLiveObjectKinds[kind].groupPrefix) + kVersionTag;
}

ErrorCode RegisterLiveObjectKinds(PluginRef plugin) {
    if (sPluginGroup == nullptr || sMemory == nullptr)
        return kSuiteNotFoundErr;
    LiveObjectRegistry& registry = CurrentLiveObjects();
    // The host's platform encoding is UTF-8: the texts go as they are.
    for (int16_t kind : kRegistrationOrder) {
        const LiveObjectKindInfo& info = kLiveObjectKinds[kind];
        std::string description = std::string(info.description) + kVersionTag;
        VtgPluginGroupData data{kLiveDataMajor, kLiveDataMinor, description.c_str()};
        PluginGroupHandle group = nullptr;
        sPluginGroup->AddPluginGroup(plugin, LiveObjectGroupName(kind).c_str(), &data,
                                     kGroupOptions, &group);
        registry.groups[kind] = group;
        std::string objectName = std::string(kObjectNamePrefix) + info.menuName;
        if (ErrorCode err = sPluginGroup->SetPluginGroupObjectName(group, objectName.c_str()))
            return err;
    }
    for (int16_t kind : kRegistrationOrder) {
        if (registry.blocks[kind] != nullptr)
            continue;
        const PresetType& type = *kLiveObjectTypes[kind];
        void* block = nullptr;
        if (ErrorCode err = sMemory->AllocateBlock(type.blockName, type.blockSize, &block))
            return err;
        InitParamBlock(type, block);
        if (kind == kKind3DPath)
            static_cast<_3DTFilterParams*>(block)->variant = -1;
        registry.blocks[kind] = block;
    }
    return kNoErr;
}

ErrorCode RegisterOlderLiveObjectKinds(PluginRef plugin, const char* suffix,
                                       PluginGroupHandle (&handles)[kOlderSlots]) {
    if (sPluginGroup == nullptr)
        return kSuiteNotFoundErr;
    std::string tag = kOlderVersionTag;
    if (HostAtLeast16() && suffix != nullptr)
        tag += suffix;
    auto add = [&](int slot, const std::string& description) {
        VtgPluginGroupData data{kLiveDataMajor, kLiveDataMinor, description.c_str()};
        std::string name = std::string(kOlderKinds[slot].groupPrefix) + tag;
        handles[slot] = nullptr;
        return sPluginGroup->AddPluginGroup(plugin, name.c_str(), &data, kGroupOptions,
                                            &handles[slot]);
    };
    for (int slot = 0; slot < k3DVariantCount; ++slot)
        if (ErrorCode err =
                add(slot, std::string(kOlder3DDescription) + " " + kOlderKinds[slot].description))
            return err;
    for (int slot : kOlderOrder)
        if (ErrorCode err = add(slot, kOlderKinds[slot].description))
            return err;
    handles[kOlderSlots - 1] = nullptr;
    return kNoErr;
}

void FreeLiveObjectBlocks() {
    for (void*& block : CurrentLiveObjects().blocks) {
        if (block != nullptr && sMemory != nullptr)
            sMemory->FreeBlock(block);
        block = nullptr;
    }
}

ErrorCode StoreParamBlock(ArtHandle art, const void* block) {
    if (sPluginGroup == nullptr)
        return kSuiteNotFoundErr;
    std::string text;
    WriteLiveObjectRecord(text, block, CurrentPresetContext().currentKind);
    if (text.size() >= kLiveDataBlockBytes)
        return kWrongGroupData; // never produced: every record is far smaller
    if (ErrorCode err = sPluginGroup->SetDataVersion(art, kLiveDataMajor, kLiveDataMinor))
        return err;
    if (ErrorCode err = sPluginGroup->SetDataCount(art, text.size()))
        return err;
    return sPluginGroup->SetData(art, 0, text.size(), text.data());
}

ErrorCode LoadParamBlock(ArtHandle art, void* block) {
    if (sPluginGroup == nullptr || sMemory == nullptr)
        return kSuiteNotFoundErr;
    ScratchBlock scratch;
    if (ErrorCode err = sMemory->AllocateBlock("blockData", kLiveDataBlockBytes, &scratch.data))
        return err;
    int32_t major = 0, minor = 0;
    if (ErrorCode err = sPluginGroup->GetDataVersion(art, &major, &minor))
        return err;
    if (major != kLiveDataMajor || minor != kLiveDataMinor)
        return kWrongGroupData;
    std::size_t count = 0;
    if (ErrorCode err = sPluginGroup->GetDataCount(art, &count))
        return err;
    // Document data is untrusted: a text that does not fit is refused, not cut.
    if (count > kLiveDataBlockBytes - 1)
        return kWrongGroupData;
    char* text = static_cast<char*>(scratch.data);
    if (ErrorCode err = sPluginGroup->GetData(art, 0, count, text))
        return err;
    text[count] = '\0';
    ReadLiveObjectRecord(std::string_view(text, count), block, CurrentPresetContext().currentKind);
    return kNoErr;
}

int MigrateLegacyLiveObject(ArtHandle art, PluginGroupHandle& group, ErrorCode* error) {
    if (error != nullptr)
        *error = kNoErr;
    if (group == nullptr)
        return 0;
    const LiveObjectRegistry& registry = CurrentLiveObjects();
    int slot = -1;
    for (int pass = 0; pass < 2 && slot < 0; ++pass) {
        int first = pass == 0 ? 0 : k3DVariantCount;
        int last = pass == 0 ? k3DVariantCount : kOlderSlots - 1;
        for (int i = first; i < last && slot < 0; ++i)
            if (group == registry.olderMac[i] || group == registry.olderWin[i])
                slot = i;
    }
    if (slot < 0)
        return 0;
    int32_t answer = 0;
    if (sUser == nullptr || sUser->YesNoAlert(kMigrateQuestion, &answer) != kNoErr || answer != 1)
        return 1;
    PluginGroupHandle current = registry.groups[kOlderKinds[slot].kind];
    ErrorCode err =
        sPluginGroup != nullptr ? sPluginGroup->SetArtPluginGroup(art, current) : kSuiteNotFoundErr;
    if (err != kNoErr) {
        // The user said yes: the host's refusal is passed on, not swallowed.
        if (error != nullptr)
            *error = err;
        return 1;
    }
    group = current;
    return 2;
}

namespace {

// Copies the children of `container`, from `first` on, above `art` in
// their stacking order, then deletes `art`. The copies of a selected object
// are selected in its place, so that a walk over the selection that follows
// (Apply after its Release) finds them.
ErrorCode CopyAboveAndDelete(ArtHandle art, ArtHandle first, bool selected) {
    ArtHandle previous = nullptr;
    for (ArtHandle child = first; child != nullptr;) {
        ArtHandle copy = nullptr;
        ErrorCode err = previous == nullptr
                            ? sArt->DuplicateArt(child, kVtgPlaceAbove, art, &copy)
                            : sArt->DuplicateArt(child, kVtgPlaceBelow, previous, &copy);
        if (err != kNoErr)
            return err; // the live object stays
        previous = copy;
        if (selected)
            if (ErrorCode e = sArt->SetArtAttributes(copy, kSelectedMask, 1))
                return e;
        if (ErrorCode e = sArt->GetArtNextSibling(child, &child))
            return e;
    }
    return sArt->DeleteArt(art);
}

// Whether `art` is selected, read before unlocking deselects it.
bool IsSelected(ArtHandle art) {
    int32_t attributes = 0;
    return sArt->GetArtAttributes(art, kSelectedMask, &attributes) == kNoErr && attributes != 0;
}

ErrorCode Unlock(ArtHandle art) {
    if (ErrorCode err = sArt->SetArtAttributes(art, kLockedMask, 1))
        return err;
    return sArt->SetArtAttributes(art, kLockedMask, 0);
}

} // namespace

ErrorCode ReleaseLiveObject(ArtHandle art, bool skipWorkGroup) {
    if (sArt == nullptr || sPluginGroup == nullptr || sDictionary == nullptr)
        return kSuiteNotFoundErr;
    const bool selected = IsSelected(art);
    if (ErrorCode err = Unlock(art))
        return err;
    ArtHandle edit = nullptr, child = nullptr;
    if (ErrorCode err = sPluginGroup->GetEditArt(art, &edit))
        return err;
    if (edit != nullptr)
        if (ErrorCode err = sArt->GetArtFirstChild(edit, &child))
            return err;
    if (skipWorkGroup && child != nullptr) {
        char value[64] = {};
        ErrorCode err = sDictionary->GetArtTag(child, kWorkGroupTagName, value, sizeof value);
        if (err == kNoErr && std::strcmp(value, kWorkGroupTagValue) == 0) {
            if (ErrorCode e = sArt->GetArtNextSibling(child, &child))
                return e;
        } else if (err != kNoErr && err != kTagNotFound && err != kBufferTooSmallErr) {
            return err;
        }
    }
    return CopyAboveAndDelete(art, child, selected);
}

ErrorCode ExpandLiveObject(ArtHandle art) {
    if (sArt == nullptr || sPluginGroup == nullptr)
        return kSuiteNotFoundErr;
    const bool selected = IsSelected(art);
    if (ErrorCode err = Unlock(art))
        return err;
    ArtHandle result = nullptr, child = nullptr;
    if (ErrorCode err = sPluginGroup->GetResultArt(art, &result))
        return err;
    if (result != nullptr)
        if (ErrorCode err = sArt->GetArtFirstChild(result, &child))
            return err;
    return CopyAboveAndDelete(art, child, selected);
}

} // namespace vtg
