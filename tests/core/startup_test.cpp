// What the main plug-in object registers at start-up, and start-up failing
// at every allocation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error_codes.hpp"
#include "support/plugin_host.hpp"

namespace {

using vtg::FourCC;

class Startup : public vtgtest::PluginHostTest {};

TEST_F(Startup, MenuTreeInOrder) {
    ASSERT_EQ(host().startup(), kNoErr);
    const auto& r = host().registry();
    ASSERT_NE(r.findMenuGroup("QuorlowSoftwareDev_Plugins_Gr_Name"), nullptr);
    EXPECT_EQ(r.findMenuGroup("QuorlowSoftwareDev_Plugins_Gr_Name")->nearGroup, "Window Utilities");
    auto* top = r.findMenuItem("VERTiGON6_Gr");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->text, "VERTiGON6");
    ASSERT_NE(top->subMenu, nullptr);
    EXPECT_EQ(top->subMenu->name, "VERTiGON6_Gr");

    std::vector<std::string> keys, texts;
    for (const auto& item : r.menuItems)
        if (item->group == "VERTiGON6_Gr") {
            keys.push_back(item->key);
            texts.push_back(item->text);
        }
    const std::vector<std::string> expectedKeys = {"VERTiGON_Menu_ShowPanel",
                                                   "VERTiGON_Separator",
                                                   "VERTiGON6_00",
                                                   "VERTiGON6_01",
                                                   "VERTiGON6_02",
                                                   "VERTiGON6_03",
                                                   "VERTiGON6_04",
                                                   "VERTiGON6_05",
                                                   "VERTiGON6_06",
                                                   "VERTiGON6_07",
                                                   "VERTiGON6_08",
                                                   "VERTiGON6_09",
                                                   "VERTiGON6_10",
                                                   "VERTiGON6_11",
                                                   "VERTiGON6_12",
                                                   "VERTiGON6_13",
                                                   "VERTiGON6_14",
                                                   "VERTiGON_Separator",
                                                   "VERTiGON_Menu_Prefs",
                                                   "VERTiGON_Menu_Help"};
    EXPECT_EQ(keys, expectedKeys);
    EXPECT_EQ(texts.front(), "選択Liveオブジェクトの編集");
    EXPECT_EQ(texts[2], "Live 3Dパス");
    EXPECT_EQ(texts[16], "Live リフレクション");
    EXPECT_EQ(texts[18], "環境設定...");
    EXPECT_EQ(texts[19], "ヘルプ");
}

TEST_F(Startup, EffectsFilterToolsAnnotatorNotifiers) {
    ASSERT_EQ(host().startup(), kNoErr);
    const auto& r = host().registry();

    ASSERT_EQ(r.liveEffects.size(), 4u);
    struct {
        const char* name;
        const char* title;
        const char* menu;
        int flags;
    } effects[] = {{"VERTiGON4", "VERTiGON6 フラクタル化...", "フラクタル化...", 0x20001},
                   {"VERTiGON5_Warp", "VERTiGON6 遠近法ワープ...", "遠近法ワープ...", 0x2},
                   {"VERTiGON5_Wave", "VERTiGON6 マルチウェーブ...", "マルチウェーブ...", 0x2},
                   {"VERTiGON5_Lens", "VERTiGON6 レンズ...", "レンズ...", 0x2}};
    for (int i = 0; i < 4; ++i) {
        const auto& e = *r.liveEffects[static_cast<std::size_t>(i)];
        EXPECT_EQ(e.name, effects[i].name);
        EXPECT_EQ(e.title, effects[i].title);
        EXPECT_EQ(e.menuTitle, effects[i].menu);
        EXPECT_EQ(e.menuCategory, "VERTiGON6");
        EXPECT_EQ(e.styleFlags, effects[i].flags);
        EXPECT_EQ(e.inputKinds, 7);
        EXPECT_EQ(e.majorVersion, 1);
    }

    ASSERT_EQ(r.filters.size(), 1u);
    EXPECT_EQ(r.filters[0]->name, "QrLw Fractalize Filter");
    EXPECT_EQ(r.filters[0]->title, "フラクタル化...");
    EXPECT_EQ(r.filters[0]->category, "VERTiGON6");
    EXPECT_NE(r.filters[0]->token, nullptr);

    struct {
        const char* title;
        int dark, light, group, set, options;
    } tools[] = {{"VERTiGON6: 遠近法ワープ ツール", 21000, 20000, 1, 1, 1},
                 {"VERTiGON6: マルチウェーブ ツール", 21001, 20001, 1, 1, 1},
                 {"VERTiGON6: レンズ ツール", 21002, 20002, 1, 1, 1},
                 {"VERTiGON6: クラフト ツール", 21003, 20003, 1, 2, 1},
                 {"VERTiGON6: ラフ ツール", 21004, 20004, 1, 2, 1},
                 {"VERTiGON6: ほうき ツール", 21005, 20005, 1, 2, 1},
                 {"VERTiGON6: Live 3D回転 ツール", 21008, 20008, 1, 3, 129}};
    ASSERT_EQ(r.tools.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        const auto& t = *r.tools[i];
        EXPECT_EQ(t.title, tools[i].title);
        EXPECT_EQ(t.tooltip, tools[i].title);
        EXPECT_EQ(t.darkIconId, tools[i].dark);
        EXPECT_EQ(t.lightIconId, tools[i].light);
        EXPECT_EQ(t.group, tools[i].group) << t.title;
        EXPECT_EQ(t.set, tools[i].set) << t.title;
        EXPECT_EQ(t.options, tools[i].options);
    }

    ASSERT_EQ(r.annotators.size(), 1u);
    EXPECT_EQ(r.annotators[0]->name, "VERTiGON4 Annotator");
    EXPECT_FALSE(r.annotators[0]->active);

    EXPECT_EQ(host().plugin()->options & 2, 0) << "bit value 2 cleared";

    const char* mainTypes[] = {
        "Host Application Started Notifier",   "Host Document Color Model Changed Notifier",
        "Host Application Shutdown Notifier",  "Host Document Ruler Unit Changed Notifier",
        "Host Art Selection Changed Notifier", "QrLw VERTiGON4 Internal Notifier",
        "Host Document Opened Notifier",       "Host Document Closed Notifier",
        "Host Document Changed Notifier",      "Host Art Symbol Set Detailed Change Notifier"};
    ASSERT_EQ(host().notifiers().size(), 12u);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(host().notifiers()[i + 2]->name, "QrLw_VERTiGON6_Plugin");
        EXPECT_EQ(host().notifiers()[i + 2]->type, mainTypes[i]);
    }
}

// Every allocation of start-up failing in turn ends start-up with "EPN " and
// leaves no block, suite or residency behind.
TEST_F(Startup, FailingAtEveryAllocationLeavesNothing) {
    for (const char* block : {"VERTiGON4Globals", "Buffer", "PrefsData"}) {
        SCOPED_TRACE(block);
        hostapp::Host local;
        local.user().setEcho(false);
        local.attach(&PluginMain, "vertigon_plugin.so");
        local.memory().failName(block);
        EXPECT_EQ(local.startup(), FourCC("EPN "));
        EXPECT_EQ(local.globals(), nullptr);
        EXPECT_EQ(local.memory().total().blocks, 0);
        EXPECT_EQ(local.broker().outstanding(), 0);
        EXPECT_EQ(local.residencies(), 0);
    }
}

TEST_F(Startup, ShutdownFreesEveryBlock) {
    ASSERT_EQ(host().startup(), kNoErr);
    EXPECT_EQ(host().memory().usage("VERTiGON4Globals").blocks, 1);
    EXPECT_EQ(host().memory().usage("Buffer").bytes, 0x20001u);
    EXPECT_EQ(host().memory().usage("PrefsData").blocks, 1);
    host().shutdown();
    EXPECT_EQ(host().memory().total().blocks, 0);
    EXPECT_EQ(host().residencies(), 0);
    EXPECT_EQ(host().broker().outstanding(), 0);
}

} // namespace
