// Live objects: registration, private data, conversion, release, expand.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "host/host.hpp"
#include "host/plugin_groups.hpp"
#include "params/live_storage.hpp"
#include "params/preset_text.hpp"

namespace vtg {
namespace {

using hostapp::Answer;

class LiveStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_.user().setEcho(false);
        Take(kArtSuiteName, kArtSuiteVersion, sArt);
        Take(kPluginGroupSuiteName, kPluginGroupSuiteVersion, sPluginGroup);
        Take(kDictionarySuiteName, kDictionarySuiteVersion, sDictionary);
        Take(kMemorySuiteName, kMemorySuiteVersion, sMemory);
        Take(kRuntimeSuiteName, kRuntimeSuiteVersion, sRuntime);
        Take(kUserSuiteName, kUserSuiteVersion, sUser);
        host_.docs().newDocument(612, 792);
        CurrentLiveObjects() = LiveObjectRegistry{};
        ASSERT_EQ(RegisterLiveObjectKinds(host_.plugin()), kNoErr);
        ASSERT_EQ(RegisterOlderLiveObjectKinds(host_.plugin(), "for Mac H16",
                                               CurrentLiveObjects().olderMac),
                  kNoErr);
        ASSERT_EQ(RegisterOlderLiveObjectKinds(host_.plugin(), "for Win H16",
                                               CurrentLiveObjects().olderWin),
                  kNoErr);
    }
    void TearDown() override {
        FreeLiveObjectBlocks();
        CurrentPresetContext().currentKind = -1;
        sArt = nullptr;
        sPluginGroup = nullptr;
        sDictionary = nullptr;
        sMemory = nullptr;
        sRuntime = nullptr;
        sUser = nullptr;
    }
    template <typename T> void Take(const char* name, int32_t version, const T*& slot) {
        ASSERT_EQ(host_.broker().acquire(name, version, reinterpret_cast<const void**>(&slot)),
                  kNoErr)
            << name;
    }
    ArtHandle NewLiveObject(int kind) {
        ArtHandle art = nullptr;
        EXPECT_EQ(sArt->NewArt(kVtgArtPlugin, kVtgPlaceInsideOnTop, nullptr, &art), kNoErr);
        if (kind >= 0) {
            EXPECT_EQ(sPluginGroup->SetArtPluginGroup(art, CurrentLiveObjects().groups[kind]),
                      kNoErr);
        }
        return art;
    }
    // A path named by a tag inside `container`, at its back.
    ArtHandle AddNamed(ArtHandle container, const char* name) {
        ArtHandle p = nullptr;
        EXPECT_EQ(sArt->NewArt(kVtgArtPath, kVtgPlaceInsideOnBottom, container, &p), kNoErr);
        EXPECT_EQ(sDictionary->SetArtTag(p, "name", name), kNoErr);
        return p;
    }
    // The tag names of the layer's top-level art, front to back.
    std::vector<std::string> TopLevel(ArtHandle any) {
        ArtHandle parent = nullptr, child = nullptr;
        sArt->GetArtParent(any, &parent);
        sArt->GetArtFirstChild(parent, &child);
        std::vector<std::string> names;
        for (; child != nullptr; sArt->GetArtNextSibling(child, &child)) {
            char value[64] = {};
            if (sDictionary->GetArtTag(child, "name", value, sizeof value) != kNoErr)
                std::strcpy(value, "?");
            names.push_back(value);
        }
        return names;
    }

    hostapp::Host host_;
};

TEST_F(LiveStorageTest, KindsAreRegisteredUnderTheirExactNames) {
    const LiveObjectRegistry& r = CurrentLiveObjects();
    char name[128];
    ASSERT_EQ(sPluginGroup->GetPluginGroupName(r.groups[kKindBorder], name, sizeof name), kNoErr);
    EXPECT_STREQ(name, "VERTiGON4 Border  ver5 ");
    EXPECT_EQ(r.groups[kKindBorder]->objectName, "VERTiGON6: Live ボーダー");
    EXPECT_EQ(r.groups[kKindBorder]->description, "VERTiGON6 ライブ ボーダー ver5 ");
    EXPECT_EQ(r.groups[kKindBorder]->options, 4);
    for (int k = 0; k < kLiveObjectKindCount; ++k) {
        EXPECT_NE(r.groups[k], nullptr) << k;
        EXPECT_NE(r.blocks[k], nullptr) << k;
    }
    EXPECT_EQ(static_cast<_3DTFilterParams*>(r.blocks[kKind3DPath])->variant, -1);
    EXPECT_EQ(static_cast<CirclePGParams*>(r.blocks[kKindCircle])->copies, 12);
    EXPECT_EQ(r.olderMac[0]->name, "VERTiGON4 3D_SmpleRot  ver4.5 for Mac H16");
    EXPECT_EQ(r.olderWin[23]->name, "VERTiGON4 Border  ver4.5 for Win H16");
    EXPECT_EQ(r.olderWin[11]->description, "VERTiGON4 ライブ 3D変換 円筒／円錐面");
    EXPECT_EQ(r.olderMac[25], nullptr);

    // A host before major version 16 gets no suffix.
    host_.setVersion({15, 0, 0});
    PluginGroupHandle older[kOlderSlots];
    ASSERT_EQ(RegisterOlderLiveObjectKinds(host_.plugin(), "for Win H16", older), kNoErr);
    EXPECT_EQ(older[16]->name, "VERTiGON4 Circle  ver4.5 ");
}

TEST_F(LiveStorageTest, StoreAndLoadThroughPrivateData) {
    ArtHandle art = NewLiveObject(kKindCircle);
    CurrentPresetContext().currentKind = kKindCircle;
    CirclePGParams p{};
    InitParamBlock(kCircleType, &p);
    p.copies = 31;
    p.anchorAngle = 1.25;
    p.seed = 4711;
    ASSERT_EQ(StoreParamBlock(art, &p), kNoErr);
    int32_t major = 0, minor = 0;
    sPluginGroup->GetDataVersion(art, &major, &minor);
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 0);
    std::size_t count = 0;
    sPluginGroup->GetDataCount(art, &count);
    std::string text(count, '\0');
    sPluginGroup->GetData(art, 0, count, text.data());
    EXPECT_EQ(text.rfind("$\t\r\nA\t31\r\n", 0), 0u);

    CirclePGParams back{};
    InitParamBlock(kCircleType, &back);
    ASSERT_EQ(LoadParamBlock(art, &back), kNoErr);
    EXPECT_EQ(back.copies, 31);
    EXPECT_EQ(back.anchorAngle, 1.25);
    EXPECT_EQ(back.seed, 4711);

    // Kind -1 stores an empty text; loading it changes nothing.
    CurrentPresetContext().currentKind = -1;
    ASSERT_EQ(StoreParamBlock(art, &p), kNoErr);
    sPluginGroup->GetDataCount(art, &count);
    EXPECT_EQ(count, 0u);
    CurrentPresetContext().currentKind = kKindCircle;
    back.copies = 5;
    ASSERT_EQ(LoadParamBlock(art, &back), kNoErr);
    EXPECT_EQ(back.copies, 5);
}

TEST_F(LiveStorageTest, ThreeDPathOfAnotherVariantKeepsItsData) {
    ArtHandle art = NewLiveObject(kKind3DPath);
    CurrentPresetContext().currentKind = kKind3DPath;
    _3DTFilterParams p{};
    InitParamBlock(k3DPathType, &p); // header: the Rotate file
    p.variant = 8;
    Set3DVariantDefaults(p, 8);
    p.perspective = 42;
    ASSERT_EQ(StoreParamBlock(art, &p), kNoErr);
    _3DTFilterParams back{};
    ASSERT_EQ(LoadParamBlock(art, &back), kNoErr);
    EXPECT_EQ(back.variant, 8);
    EXPECT_EQ(back.param1, 360);
    EXPECT_EQ(back.param4, 100);
    EXPECT_EQ(back.postRotation[0], 15);
    EXPECT_EQ(back.perspective, 42);
    EXPECT_EQ(back.centreRatio.y, 2.0);
    EXPECT_EQ(back.transformed, 1);
}

TEST_F(LiveStorageTest, OversizeOrForeignDataIsRefused) {
    ArtHandle art = NewLiveObject(kKindCircle);
    CurrentPresetContext().currentKind = kKindCircle;
    CirclePGParams p{};
    InitParamBlock(kCircleType, &p);
    for (std::size_t size : {std::size_t{32768}, std::size_t{40000}}) {
        std::string text = "$\t\r\nA\t99\r\n";
        text += std::string(size - text.size(), 'x');
        ASSERT_EQ(text.size(), size);
        sPluginGroup->SetDataVersion(art, 1, 0);
        sPluginGroup->SetDataCount(art, text.size());
        sPluginGroup->SetData(art, 0, text.size(), text.data());
        EXPECT_EQ(LoadParamBlock(art, &p), FourCC("GRP?")) << size;
        EXPECT_EQ(p.copies, 12);
    }
    std::string fits = "$\t\r\nA\t99\r\n";
    fits += std::string(32767 - fits.size(), 'x');
    sPluginGroup->SetDataCount(art, fits.size());
    sPluginGroup->SetData(art, 0, fits.size(), fits.data());
    EXPECT_EQ(LoadParamBlock(art, &p), kNoErr);
    EXPECT_EQ(p.copies, 99);
    sPluginGroup->SetDataVersion(art, 2, 0);
    p.copies = 3;
    EXPECT_EQ(LoadParamBlock(art, &p), FourCC("GRP?"));
    EXPECT_EQ(p.copies, 3);
    EXPECT_EQ(host_.memory().usage("blockData").blocks, 0) << "the scratch block is freed";
    EXPECT_EQ(host_.memory().total().blocks, 15);
}

TEST_F(LiveStorageTest, OlderLiveObjectsAreConverted) {
    const LiveObjectRegistry& r = CurrentLiveObjects();
    struct Case {
        PluginGroupHandle older;
        int kind;
    };
    const Case cases[] = {{r.olderMac[3], kKind3DPath},
                          {r.olderWin[3], kKind3DPath},
                          {r.olderMac[16], kKindCircle},
                          {r.olderWin[23], kKindBorder}};
    for (const Case& c : cases) {
        ArtHandle art = NewLiveObject(-1);
        ASSERT_EQ(sPluginGroup->SetArtPluginGroup(art, c.older), kNoErr);
        PluginGroupHandle group = c.older;
        host_.user().queue({Answer::Kind::Yes, {}});
        EXPECT_EQ(MigrateLegacyLiveObject(art, group), 2);
        EXPECT_EQ(group, r.groups[c.kind]);
        PluginGroupHandle now = nullptr;
        sPluginGroup->GetArtPluginGroup(art, &now);
        EXPECT_EQ(now, r.groups[c.kind]);
    }
    EXPECT_EQ(
        host_.user().lastAlert().value_or("").rfind("選択中のオブジェクトの中に旧VERTiGON4", 0),
        0u);

    ArtHandle art = NewLiveObject(-1);
    sPluginGroup->SetArtPluginGroup(art, r.olderMac[12]);
    PluginGroupHandle group = r.olderMac[12];
    host_.user().queue({Answer::Kind::No, {}});
    EXPECT_EQ(MigrateLegacyLiveObject(art, group), 1);
    EXPECT_EQ(group, r.olderMac[12]);
    PluginGroupHandle current = r.groups[kKindCircle];
    EXPECT_EQ(MigrateLegacyLiveObject(art, current), 0) << "a current object";

    // The host refuses the new group: "older, not converted" and its error.
    CurrentLiveObjects().groups[kKindExplosion] = nullptr;
    host_.user().queue({Answer::Kind::Yes, {}});
    ErrorCode error = kNoErr;
    EXPECT_EQ(MigrateLegacyLiveObject(art, group, &error), 1);
    EXPECT_EQ(error, kBadParameterErr);
}

TEST_F(LiveStorageTest, ReleaseSkipsTheWorkGroupAndKeepsTheOrder) {
    ArtHandle art = NewLiveObject(kKind3DPath);
    sDictionary->SetArtTag(art, "name", "live");
    ArtHandle edit = nullptr;
    sPluginGroup->GetEditArt(art, &edit);
    ArtHandle work = nullptr;
    sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnBottom, edit, &work);
    sDictionary->SetArtTag(work, kWorkGroupTagName, kWorkGroupTagValue);
    AddNamed(edit, "a");
    AddNamed(edit, "b");
    sArt->SetArtAttributes(art, kVtgArtLocked, 1);
    ASSERT_EQ(ReleaseLiveObject(art, true), kNoErr);
    int32_t valid = 1;
    sArt->IsValidArt(art, &valid);
    EXPECT_EQ(valid, 0) << "the live object is deleted";
    ArtHandle any = nullptr;
    sArt->NewArt(kVtgArtPath, kVtgPlaceInsideOnTop, nullptr, &any);
    sDictionary->SetArtTag(any, "name", "probe");
    EXPECT_EQ(TopLevel(any), (std::vector<std::string>{"probe", "a", "b"}));
}

TEST_F(LiveStorageTest, ReleaseWithoutSkipAndExpand) {
    ArtHandle art = NewLiveObject(kKindCircle);
    ArtHandle edit = nullptr, result = nullptr;
    sPluginGroup->GetEditArt(art, &edit);
    sPluginGroup->GetResultArt(art, &result);
    ArtHandle work = nullptr;
    sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnBottom, edit, &work);
    sDictionary->SetArtTag(work, kWorkGroupTagName, kWorkGroupTagValue);
    sDictionary->SetArtTag(work, "name", "work");
    AddNamed(result, "r1");
    AddNamed(result, "r2");
    AddNamed(result, "r3");
    ArtHandle copy = nullptr;
    sArt->DuplicateArt(art, kVtgPlaceBelow, art, &copy);
    ASSERT_EQ(ReleaseLiveObject(copy, false), kNoErr);
    ASSERT_EQ(ExpandLiveObject(art), kNoErr);
    ArtHandle any = nullptr;
    sArt->NewArt(kVtgArtPath, kVtgPlaceInsideOnTop, nullptr, &any);
    sDictionary->SetArtTag(any, "name", "probe");
    EXPECT_EQ(TopLevel(any), (std::vector<std::string>{"probe", "r1", "r2", "r3", "work"}));

    // An empty result: the live object goes, nothing is copied.
    ArtHandle empty = NewLiveObject(kKindCircle);
    sDictionary->SetArtTag(empty, "name", "empty");
    ASSERT_EQ(ExpandLiveObject(empty), kNoErr);
    EXPECT_EQ(TopLevel(any), (std::vector<std::string>{"probe", "r1", "r2", "r3", "work"}));
}

} // namespace
} // namespace vtg
