// The shared host panels, the menu's show and toggle rules, the panel
// views' key filtering and the preferences dialog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/host_panel.hpp"
#include "core/plugin_globals.hpp"
#include "core/prefs_dialog.hpp"
#include "core/suite_set.hpp"
#include "core/vertigon_plugin.hpp"
#include "core/view_controller.hpp"
#include "params/global_params.hpp"
#include "platform/input.hpp"
#include "support/plugin_host.hpp"
#include "support/ui_driver.hpp"
#include "ui/keyboard_hook.hpp"

namespace {

namespace fs = std::filesystem;

class Panels : public vtgtest::PluginHostTest {
protected:
    void SetUp() override {
        base_ = fs::temp_directory_path() /
                ("vtg-panels-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(base_);
        fs::create_directories(base_ / "profile");
        ::setenv("USERPROFILE", (base_ / "profile").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (base_ / "config").c_str(), 1);
        platform::ResetWindowSystem();
        platform::ClearUserInput();
        vtg::CurrentPanelPlacement() = {};
        PluginHostTest::SetUp();
        ASSERT_EQ(host().startup(), kNoErr);
    }
    void TearDown() override {
        PluginHostTest::TearDown();
        platform::ClearUserInput();
        platform::ReleaseAllKeys();
        platform::ResetWindowSystem();
        fs::remove_all(base_);
        ::unsetenv("USERPROFILE");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    vtg::VERTiGON4Plugin& plugin() { return *static_cast<vtg::VERTiGON4Plugin*>(host().globals()); }
    PanelHandleOpaque* panel(const char* prefix) { return host().panels().find(prefix); }
    fs::path base_;
};

TEST_F(Panels, FirstPanelsCascadeFromAnEighthOfTheScreen) {
    const char* prefixes[] = {"A_prefix", "B_prefix", "C_prefix"};
    PanelHandle panels[3] = {};
    FlyoutHandle flyouts[3] = {};
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(vtg::CreateHostPanel(host().plugin(), &panels[i], &flyouts[i], true, prefixes[i]),
                  kNoErr);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(panels[i]->position.x, 1920 / 8 + 64 * i) << i;
        EXPECT_EQ(panels[i]->position.y, 1080 / 8 + 64 * i) << i;
        EXPECT_FALSE(panels[i]->shown);
        EXPECT_EQ(panels[i]->title, "VERTiGON6");
        EXPECT_EQ(panels[i]->lightIcon, 19000);
        EXPECT_EQ(panels[i]->darkIcon, 19100);
    }
    ASSERT_EQ(flyouts[0]->items.size(), 6u);
    EXPECT_EQ(flyouts[0]->items[0].text, "初期設定");
    EXPECT_EQ(flyouts[0]->items[2].text, "プリセットを編集...");
    EXPECT_EQ(flyouts[0]->items[5].text, "このプラグインについて...");
    for (int i = 0; i < 3; ++i)
        vtg::DestroyHostPanel(&panels[i], &flyouts[i], prefixes[i]);
    EXPECT_EQ(panels[0], nullptr);
}

TEST_F(Panels, PositionIsRememberedUnlessItLeftTheScreen) {
    struct Case {
        double x, y;
        bool kept;
    } cases[] = {{300, 200, true}, {1920 - 40, 200, false}, {-5, 10, false}, {10, 1200, false}};
    for (const Case& c : cases) {
        vtg::CurrentPanelPlacement() = {};
        PanelHandle p = nullptr;
        FlyoutHandle f = nullptr;
        ASSERT_EQ(vtg::CreateHostPanel(host().plugin(), &p, &f, false, "P_prefix"), kNoErr);
        EXPECT_EQ(f->items.size(), 1u) << "without preset items only the About item";
        VtgPoint moved{c.x, c.y};
        vtg::sPanel->SetPanelPosition(p, &moved);
        vtg::DestroyHostPanel(&p, &f, "P_prefix");

        vtg::CurrentPanelPlacement() = {};
        ASSERT_EQ(vtg::CreateHostPanel(host().plugin(), &p, &f, false, "P_prefix"), kNoErr);
        if (c.kept) {
            EXPECT_EQ(p->position.x, c.x);
            EXPECT_EQ(p->position.y, c.y);
        } else {
            // The stored fallback is the cascade's first place (the first
            // creation found a stored position and took none).
            EXPECT_EQ(p->position.x, 1920 / 8) << c.x;
            EXPECT_EQ(p->position.y, 1080 / 8) << c.x;
        }
        vtg::DestroyHostPanel(&p, &f, "P_prefix");
    }
}

TEST_F(Panels, LiveObjectItemTogglesItsPanel) {
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    auto* live = panel(vtg::kLivePanelPrefix);
    ASSERT_NE(live, nullptr);
    EXPECT_TRUE(live->shown);
    EXPECT_EQ(live->title, "VERTiGON6: Live サークル");
    host().updateMenus();
    EXPECT_TRUE(host().registry().findMenuItem("VERTiGON6_05")->checked);
    EXPECT_FALSE(host().registry().findMenuItem("VERTiGON6_13")->checked);

    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    EXPECT_FALSE(live->shown);
    host().updateMenus();
    EXPECT_FALSE(host().registry().findMenuItem("VERTiGON6_05")->checked);

    ASSERT_EQ(host().chooseMenu("VERTiGON6_13"), kNoErr);
    EXPECT_TRUE(live->shown);
    EXPECT_EQ(live->title, "VERTiGON6: Live ボーダー");
}

TEST_F(Panels, HelpItemToggles) {
    ASSERT_EQ(host().chooseMenu("VERTiGON_Menu_Help"), kNoErr);
    auto* help = panel(vtg::kHelpPanelPrefix);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->shown);
    EXPECT_EQ(help->title, "VERTiGON6: ヘルプ");
    EXPECT_EQ(help->maxWidth, 5 * help->minWidth);
    EXPECT_EQ(help->maxHeight, 4 * help->minHeight);
    ASSERT_EQ(host().chooseMenu("VERTiGON_Menu_Help"), kNoErr);
    EXPECT_FALSE(help->shown);
    ASSERT_EQ(host().chooseMenu("VERTiGON_Menu_Help"), kNoErr);
    EXPECT_TRUE(help->shown);
}

TEST_F(Panels, ShutdownSavesPanelPositionsAndFreesEverything) {
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    ASSERT_EQ(host().chooseMenu("VERTiGON_Menu_Help"), kNoErr);
    host().shutdown();
    EXPECT_TRUE(host().panels().panels.empty());
    EXPECT_EQ(host().memory().total().blocks, 0);
    std::ifstream in(base_ / "config" / "vertigon" / "preferences.txt");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find(vtg::kLivePanelPrefix), std::string::npos) << text.str();
}

// A panel view: Return hands the keyboard back to the host, Escape is
// swallowed, other keys reach the field.
TEST_F(Panels, ViewKeyFiltering) {
    vtg::VERTiGON4ViewController view;
    vtg::TakeKeyboardHook(); // as every panel view does
    ASSERT_NE(view.Create(vtg::PrefsDialogController::kTemplateId, 0), 0u);
    platform::WindowId edit = platform::CreateWindow(platform::WindowClass::Edit, view.window(),
                                                     5000, "", {0, 0, 60, 20});
    struct Case {
        const char* key;
        bool hostGetsFocus;
    } cases[] = {{"return", true}, {"escape", false}, {"a", false}};
    for (const Case& c : cases) {
        platform::SetFocus(edit);
        EXPECT_EQ(platform::user::Key(edit, c.key), "");
        EXPECT_EQ(platform::GetFocus() == platform::HostMainWindow(), c.hostGetsFocus) << c.key;
    }
    vtg::ReleaseKeyboardHook();
}

TEST_F(Panels, PreferencesCancelChangesNothing) {
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr); // first use
    fs::path file = base_ / "profile" / "VERTiGON6 User Settings" / "VERTiGON6_PST_Prefs.txt";
    ASSERT_TRUE(fs::exists(file));
    auto bytes = [&] {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    std::string before = bytes();
    auto* settings = static_cast<vtg::PrefsParams*>(plugin().settings());
    settings->flagB = 1;

    vtgtest::UiDriver ui(&host().user());
    bool sawDialog = false;
    ui.then([&](vtgtest::UiDriver& u) {
        sawDialog = true;
        EXPECT_TRUE(u.expect(40043, "現在、各機能に対する設定項目はありません。"));
        EXPECT_FALSE(platform::IsShown(u.control(40041))) << "the flags are hidden";
        EXPECT_EQ(u.print(40041), "1");
        u.answer(hostapp::Answer::Kind::Yes);
        EXPECT_EQ(u.click(40048), ""); // restore defaults, then cancel
        EXPECT_EQ(u.click(2), "");
    });
    ASSERT_EQ(host().chooseMenu("VERTiGON_Menu_Prefs"), kNoErr);
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(settings->flagB, 1) << "cancel keeps the block";
    EXPECT_EQ(bytes(), before) << "cancel keeps the file";
    EXPECT_EQ(host().user().lastAlert(), "環境設定を既定値に戻してもよろしいですか？");

    ui.then([](vtgtest::UiDriver& u) { EXPECT_EQ(u.click(1), ""); });
    ASSERT_EQ(host().chooseMenu("VERTiGON_Menu_Prefs"), kNoErr);
    EXPECT_NE(bytes(), before) << "OK saves the settings";
}

} // namespace
