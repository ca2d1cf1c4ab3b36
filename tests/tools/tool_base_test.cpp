// The tool base: cursors by tool, type and modifiers, selecting and
// deselecting with the options panel, presets through the flyout, panel
// resizing and the messages that change nothing.
#include <gtest/gtest.h>

#include <string>

#include "core/vertigon_plugin.hpp"
#include "help/help_ctrlr.hpp"
#include "params/preset_library.hpp"
#include "params/tool_params.hpp"
#include "support/document_fixture.hpp"
#include "tools/tool_ctrlr.hpp"

namespace {

constexpr const char* kPanel = "__QrLw_VERTiGON4Tool_v46_PrefsPrefix__";
constexpr const char* kWarp = "VERTiGON6: 遠近法ワープ ツール";
constexpr const char* kWave = "VERTiGON6: マルチウェーブ ツール";
constexpr const char* kRoughen = "VERTiGON6: ラフ ツール";

class ToolBaseTest : public vtgtest::DocumentTest {
protected:
    int32_t CursorAt(uint32_t modifiers) {
        host().toolMouse(kSelectorTrackCursor, {10, 10}, modifiers);
        return host().registry().currentTool->cursorId;
    }
    platform::WindowId Control(int id) {
        return platform::FindDescendant(platform::FindNamedWindow(kPanel), id);
    }
    vtg::ToolCtrlr* Tool() {
        return static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin())->toolController();
    }
    std::string PanelTitle() {
        char title[256] = {};
        auto* panel = host().panels().find(kPanel);
        return panel != nullptr ? panel->title : std::string(title);
    }
};

TEST_F(ToolBaseTest, CursorsFollowTheToolItsTypeAndTheModifiers) {
    const uint32_t alt = kModifierAlt, shiftAlt = kModifierAlt | kModifierShift;
    ASSERT_EQ(host().selectTool(kRoughen), kNoErr);
    EXPECT_EQ(CursorAt(0), 16056);
    EXPECT_EQ(CursorAt(alt), 16050);
    EXPECT_EQ(CursorAt(shiftAlt), 16510);
    ASSERT_EQ(host().selectTool(kWarp), kNoErr);
    EXPECT_EQ(CursorAt(0), 16100);
    EXPECT_EQ(CursorAt(alt), 16101);
    EXPECT_EQ(CursorAt(shiftAlt), 16101);
    static_cast<vtg::WarpToolParams*>(vtg::gGlobals->toolParams)->type = 21;
    EXPECT_EQ(CursorAt(0), 17000);
    ASSERT_EQ(host().selectTool(kWave), kNoErr);
    static_cast<vtg::WaveToolParams*>(vtg::gGlobals->toolParams)->style = 3;
    EXPECT_EQ(CursorAt(0), 17040);
    EXPECT_EQ(CursorAt(alt), 17041);
}

TEST_F(ToolBaseTest, SelectShowsTheOptionsAndDeselectKeepsTheValuesAsLastSetting) {
    ASSERT_EQ(host().selectTool(kRoughen), kNoErr);
    EXPECT_EQ(PanelTitle(), kRoughen);
    vtg::ToolCtrlr* first = Tool();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(platform::user::Type(Control(1272), "37.5"), "");
    EXPECT_EQ(platform::GetText(Control(1272)), "37.5000 pt");
    // Selecting it again keeps the controller and its values.
    ASSERT_EQ(host().send(kCallerTool, kSelectorSelect,
                          [&] {
                              static ToolMessage m{};
                              m.tool = host().registry().currentTool;
                              return &m;
                          }()),
              kNoErr);
    EXPECT_EQ(Tool(), first);
    EXPECT_EQ(static_cast<vtg::RoughToolParams*>(vtg::gGlobals->toolParams)->radius, 37.5);
    // Another tool: the panel shows its options; back again, the value stayed.
    ASSERT_EQ(host().selectTool(kWarp), kNoErr);
    EXPECT_EQ(PanelTitle(), kWarp);
    EXPECT_NE(Control(1304), 0u);
    EXPECT_EQ(Control(1272), 0u);
    ASSERT_EQ(host().selectTool(kRoughen), kNoErr);
    EXPECT_EQ(platform::GetText(Control(1272)), "37.5000 pt");
    // Trace enables its row of controls; the combo lists the six modes.
    EXPECT_FALSE(platform::IsEnabled(Control(1271)));
    EXPECT_EQ(platform::user::Click(Control(1269)), "");
    EXPECT_TRUE(platform::IsEnabled(Control(1271)));
    EXPECT_TRUE(host().user().lastAlert().has_value()); // the trace warning
}

TEST_F(ToolBaseTest, WarpAndWaveViewsShowTheIntervalOrTheStepsRow) {
    ASSERT_EQ(host().selectTool(kWarp), kNoErr);
    EXPECT_EQ(platform::user::Click(Control(1305)), "");
    EXPECT_TRUE(platform::IsVisible(Control(1309))); // mode 1: steps
    EXPECT_FALSE(platform::IsVisible(Control(1308)));
    EXPECT_EQ(platform::user::Choose(Control(1306), 0), "");
    EXPECT_TRUE(platform::IsVisible(Control(1308)));
    EXPECT_FALSE(platform::IsVisible(Control(1309)));
    // Type 13 has no perspective.
    EXPECT_EQ(platform::user::Click(Control(1282 + 13)), "");
    EXPECT_FALSE(platform::IsEnabled(Control(1304)));
    EXPECT_EQ(platform::user::Choose(Control(1306), 4), "");
    EXPECT_EQ(platform::user::Type(Control(1309), "0"), "");
    EXPECT_EQ(platform::GetText(Control(1309)), "1");
    ASSERT_EQ(host().selectTool(kWave), kNoErr);
    EXPECT_EQ(platform::user::Type(Control(1322), "0.01"), "");
    EXPECT_EQ(platform::GetText(Control(1322)), "0.100");
}

TEST_F(ToolBaseTest, FlyoutLoadsTheDefaultsAndUserPresets) {
    ASSERT_EQ(host().selectTool(kRoughen), kNoErr);
    auto& p = *static_cast<vtg::RoughToolParams*>(vtg::gGlobals->toolParams);
    p.radius = 55;
    p.steps = 9;
    host().user().queue({hostapp::Answer::Kind::Text, "fifty-five"});
    ASSERT_EQ(vtg::AddPreset(&p, 0), kNoErr);
    Tool()->RebuildPresetMenu();
    ASSERT_EQ(host().chooseFlyoutItem(kPanel, 1), kNoErr); // the defaults
    EXPECT_EQ(p.radius, 100);
    EXPECT_EQ(p.steps, 4);
    EXPECT_EQ(platform::GetText(Control(1272)), "100.0000 pt");
    ASSERT_EQ(host().chooseFlyoutItem(kPanel, 7), kNoErr); // the user preset
    EXPECT_EQ(p.radius, 55);
    EXPECT_EQ(platform::GetText(Control(1272)), "55.0000 pt");
}

// Each tool's flyout: item 1 reads the "Default Setting" record with the
// tool's own rules (Warp and Wave keep their type, the steps become 4).
TEST_F(ToolBaseTest, EachToolsFlyoutLoadsItsDefaults) {
    ASSERT_EQ(host().selectTool(kWarp), kNoErr);
    auto& warp = *static_cast<vtg::WarpToolParams*>(vtg::gGlobals->toolParams);
    warp.type = 7;
    warp.margin = 2;
    warp.steps = 30;
    ASSERT_EQ(host().chooseFlyoutItem(kPanel, 1), kNoErr);
    EXPECT_EQ(warp.type, 7);
    EXPECT_EQ(warp.margin, 0.05);
    EXPECT_EQ(warp.steps, 4);
    EXPECT_EQ(platform::GetText(Control(1307)), "5.000");
    ASSERT_EQ(host().selectTool(kWave), kNoErr);
    auto& wave = *static_cast<vtg::WaveToolParams*>(vtg::gGlobals->toolParams);
    wave.style = 2;
    wave.cycle = 9;
    ASSERT_EQ(host().chooseFlyoutItem(kPanel, 1), kNoErr);
    EXPECT_EQ(wave.style, 2);
    EXPECT_EQ(wave.cycle, 1);
    EXPECT_EQ(platform::GetText(Control(1322)), "1.000");
}

// A spin click steps the number in its edit and reads it again; "?" opens
// the tool's page in the help panel.
TEST_F(ToolBaseTest, SpinsStepTheirEditsAndHelpOpensTheToolsPage) {
    ASSERT_EQ(host().selectTool(kRoughen), kNoErr);
    EXPECT_EQ(platform::user::Spin(Control(1276), 1), "");
    EXPECT_EQ(platform::GetText(Control(1272)), "101.0000 pt");
    EXPECT_EQ(static_cast<vtg::RoughToolParams*>(vtg::gGlobals->toolParams)->radius, 101);
    EXPECT_EQ(platform::user::Click(Control(1055)), "");
    auto* plugin = static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    ASSERT_NE(plugin->helpController(), nullptr);
    EXPECT_EQ(plugin->helpController()->row(), 35); // tool_roughening
}

TEST_F(ToolBaseTest, ResizingBelowTheViewIsIgnoredAndLargerGrowsTheView) {
    ASSERT_EQ(host().selectTool(kRoughen), kNoErr);
    const platform::WindowId view = Tool()->view()->window();
    const platform::Rect before = platform::GetRect(view);
    auto* panel = host().panels().find(kPanel);
    ASSERT_NE(panel, nullptr);
    const double w = panel->width, h = panel->height;
    Tool()->OnPanelResize(w - 10, h - 10);
    EXPECT_EQ(platform::GetRect(view).width(), before.width());
    Tool()->OnPanelResize(w + 20, h + 30);
    EXPECT_GT(platform::GetRect(view).width(), before.width());
    EXPECT_GT(platform::GetRect(view).height(), before.height());
}

TEST_F(ToolBaseTest, ReselectAndDiameterMessagesChangeNothing) {
    ASSERT_EQ(host().selectTool(kRoughen), kNoErr);
    vtg::ToolCtrlr* before = Tool();
    for (const char* selector :
         {kSelectorReselect, kSelectorIncreaseDiameter, kSelectorDecreaseDiameter}) {
        ToolMessage m{};
        m.tool = host().registry().currentTool;
        EXPECT_EQ(host().send(kCallerTool, selector, &m), kNoErr);
    }
    EXPECT_EQ(Tool(), before);
    EXPECT_EQ(static_cast<vtg::RoughToolParams*>(vtg::gGlobals->toolParams)->radius, 100);
}

} // namespace
