// The tool base: cursors by tool, type and modifiers, selecting and
// deselecting with the options panel, presets through the flyout, panel
// resizing and the messages that change nothing.
#include <gtest/gtest.h>

#include <string>

#include "core/vertigon_plugin.hpp"
#include "effects/warp/warp_effect.hpp"
#include "help/help_ctrlr.hpp"
#include "params/preset_library.hpp"
#include "params/tool_params.hpp"
#include "platform/resources.hpp"
#include "support/document_fixture.hpp"
#include "tools/roughen/rough_tool.hpp"
#include "tools/tool_ctrlr.hpp"
#include "tools/tool_drag.hpp"
#include "tools/tool_table.hpp"
#include "tools/warp/warp_tool.hpp"
#include "tools/wave/wave_tool.hpp"

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

TEST_F(ToolBaseTest, EveryIconAndCursorTheToolsNameHasAPicture) {
    for (const vtg::ToolRow& row : vtg::kToolRows) {
        SCOPED_TRACE(row.name);
        for (int32_t id : {row.lightIconId, row.darkIconId}) {
            auto icon = platform::LoadImage(platform::ImageKind::Icon, id);
            ASSERT_TRUE(icon) << id;
            EXPECT_GT(icon->width, 0);
            EXPECT_NE(platform::ImageSvgText(*icon).find("<path"), std::string::npos);
        }
    }
    // Every cursor a tool can set: the table's, the shared ones, and each
    // warp type's and wave style's with its Alt variant.
    std::vector<int32_t> cursors = {vtg::kCursorCentre, vtg::kCursorAddAnchor, vtg::kCursorRoughen};
    for (const vtg::ToolRow& row : vtg::kToolRows)
        if (row.cursorId != 0)
            cursors.push_back(row.cursorId);
    for (int32_t type = 0; type < vtg::kWarpStyles; ++type)
        cursors.insert(cursors.end(), {vtg::WarpTypeCursor(type), vtg::WarpTypeCursor(type) + 1});
    for (int32_t style = 0; style <= 4; ++style)
        cursors.insert(cursors.end(),
                       {vtg::WaveStyleCursor(style), vtg::WaveStyleCursor(style) + 1});
    for (int32_t id : cursors)
        for (auto [scale, size] : {std::pair{1.0, 32}, std::pair{1.5, 48}, std::pair{2.0, 64}}) {
            const std::string name = platform::CursorResourceName(id, scale);
            auto cursor = platform::LoadCursor(name);
            ASSERT_TRUE(cursor) << name;
            EXPECT_EQ(cursor->width, size) << name;
            EXPECT_EQ(cursor->height, size) << name;
        }
    // Every listed icon and cursor file is there.
    for (int id : platform::ListedImages(platform::ImageKind::Icon))
        EXPECT_TRUE(platform::LoadImage(platform::ImageKind::Icon, id)) << id;
    for (int id : platform::ListedImages(platform::ImageKind::Cursor))
        EXPECT_TRUE(platform::LoadImage(platform::ImageKind::Cursor, id)) << id;
}

TEST_F(ToolBaseTest, TheHostShowsThePictureOfTheCursorTheToolSets) {
    ASSERT_EQ(host().selectTool(kWarp), kNoErr);
    EXPECT_EQ(CursorAt(kModifierAlt), 16101);
    const std::string image = host().registry().currentTool->cursorImage;
    EXPECT_NE(image.find("cursors/16101.svg"), std::string::npos) << image;
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
