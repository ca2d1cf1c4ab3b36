// Live Border's panel as a user drives it: opened by its menu item (also
// from another kind's panel), the enable rules, the step count's limits,
// the stored forms (fractions, radians, points in the ruler unit), the
// grade pictures, the sliders following the edits, and live update.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/plugin_globals.hpp"
#include "core/vertigon_plugin.hpp"
#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "live/border/border_ctrlr.hpp"
#include "live/live_object.hpp"
#include "params/live_storage.hpp"
#include "platform/input.hpp"
#include "platform/resources.hpp"
#include "platform/window.hpp"
#include "support/document_fixture.hpp"
#include "support/ui_driver.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using vtg::BorderPGParams;
using V = vtg::BorderPGViewController;

constexpr double kPi = std::numbers::pi;
constexpr const char* kLivePanel = "__QrLw_VERTiGON4PG_v46_PrefsPrefix__";

class BorderPanel : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 100, 100, 100);
        Select({square_});
    }

    vtg::VERTiGON4Plugin* plugin() const {
        return static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    }
    // Opens the panel by its menu item and addresses its view.
    void Open() {
        ASSERT_EQ(host().chooseMenu("VERTiGON6_13"), kNoErr);
        ASSERT_NE(plugin()->liveController(), nullptr);
        ASSERT_EQ(plugin()->liveController()->kind(), vtg::kKindBorder);
        view_ = plugin()->liveController()->view()->window();
        ui_.address(view_);
    }
    platform::WindowId item(int id) const { return platform::GetItem(view_, id); }
    BorderPGParams& panel() const {
        return *static_cast<BorderPGParams*>(plugin()->liveController()->record());
    }
    // The record stored in a live object.
    static BorderPGParams Stored(ArtNode* live) {
        vtg::SetCurrentKind(vtg::kKindBorder);
        BorderPGParams p{};
        EXPECT_EQ(vtg::LoadParamBlock(DocStore::handle(live), &p), kNoErr);
        return p;
    }
    // Apply on the square, the host's regeneration, and the new object
    // selected (the panel reads it).
    ArtNode* MakeLive() {
        EXPECT_EQ(ui_.click(1421), "");
        EXPECT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
        ArtNode* live = TopLevel().at(0);
        EXPECT_EQ(live->s.kind, kVtgArtPlugin);
        Select({live});
        EXPECT_EQ(plugin()->liveController()->SyncPanelWithSelection(false), kNoErr);
        return live;
    }

    ArtNode* square_ = nullptr;
    platform::WindowId view_ = 0;
    vtgtest::UiDriver ui_;
};

TEST_F(BorderPanel, MenuOpensTheBorderPanelWithItsTexts) {
    // From another kind's panel: the same host panel shows Border's view.
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    PanelHandleOpaque* hostPanel = host().panels().find(kLivePanel);
    ASSERT_NE(hostPanel, nullptr);
    Open();
    EXPECT_EQ(host().panels().find(kLivePanel), hostPanel);
    EXPECT_TRUE(hostPanel->shown);
    EXPECT_EQ(hostPanel->title, "VERTiGON6: Live ボーダー");
    EXPECT_EQ(platform::DialogTemplateId(view_), 663);
    EXPECT_EQ(vtg::gGlobals->panelKind, vtg::kKindBorder);
    const std::pair<int, const char*> texts[] = {
        {1571, "外側"},
        {1572, "内側"},
        {1950, "テキストやグループ内の重なりを結合する"},
        {1847, "自動線スタイル [推奨]"},
        {1579, "階調の反転"},
        {1581, "ステップ数:"},
        {1589, "シャドウ"},
        {1590, "濃度(%):"},
        {1593, "オフセット:"},
        {1599, "光源の方向(°):"},
        {1418, "ライブアップデート"},
        {1421, "適用"},
        {1420, "解除"},
        {1419, "拡張"},
        {1055, "?"},
    };
    for (const auto& [id, text] : texts)
        EXPECT_EQ(platform::GetText(item(id)), text) << id;
    EXPECT_EQ(platform::GetItems(item(1580)),
              (std::vector<std::string>{"自動階調（高密度）", "自動階調（中密度）",
                                        "自動階調（低密度）", "指定ステップ"}));
    // The defaults as the panel shows them.
    EXPECT_TRUE(ui_.expect(1571, "1"));
    EXPECT_TRUE(ui_.expect(1580, "自動階調（中密度）"));
    EXPECT_TRUE(ui_.expect(1582, "3"));
    EXPECT_TRUE(ui_.expect(1586, "-45.000"));
    EXPECT_TRUE(ui_.expect(1597, "135.000"));
    EXPECT_TRUE(ui_.expect(1591, "100.000"));
    EXPECT_TRUE(ui_.expect(1594, "1.0000 pt"));
    EXPECT_TRUE(ui_.expect(1847, "1"));
    // The same item again hides the panel.
    ASSERT_EQ(host().chooseMenu("VERTiGON6_13"), kNoErr);
    EXPECT_FALSE(hostPanel->shown);
}

TEST_F(BorderPanel, ControlsFollowStyleStepModeAndShadow) {
    Open();
    auto enabled = [&](std::vector<int> ids) {
        std::string off;
        for (int id : ids)
            if (!platform::IsEnabled(item(id)))
                off += std::to_string(id) + " ";
        return off;
    };
    const std::vector<int> merge = {1950}, steps = {1581, 1582, 1583};
    std::vector<int> shadow;
    for (int id = 1590; id <= 1599; ++id)
        shadow.push_back(id);
    auto all = [&](const std::vector<int>& ids, bool on) {
        for (int id : ids)
            EXPECT_EQ(platform::IsEnabled(item(id)), on) << id;
    };
    // Defaults: outside, medium density, no shadow.
    all(merge, false);
    all(steps, false);
    all(shadow, false);
    EXPECT_EQ(enabled({1847, 1573, 1574, 1578, 1575, 1576, 1577, 1579, 1580, 1584, 1586, 1588}),
              "");

    EXPECT_EQ(ui_.click(1572), "");
    EXPECT_EQ(panel().style, 1);
    all(merge, true);
    EXPECT_EQ(ui_.click(1950), "");
    EXPECT_EQ(panel().mergeOverlaps, 1);
    EXPECT_EQ(ui_.click(1571), "");
    EXPECT_EQ(panel().style, 0);
    all(merge, false);

    for (int mode : {0, 2, 3, 1}) {
        EXPECT_EQ(ui_.choose(1580, mode), "");
        EXPECT_EQ(panel().stepMode, mode);
        all(steps, mode == 3);
    }

    EXPECT_EQ(ui_.click(1589), "");
    EXPECT_EQ(panel().shadowOn, 1);
    all(shadow, true);
    EXPECT_EQ(ui_.click(1589), "");
    EXPECT_EQ(panel().shadowOn, 0);
    all(shadow, false);
    // A disabled control takes no gesture.
    EXPECT_NE(ui_.text(1591, "50"), "");
    EXPECT_DOUBLE_EQ(panel().shadowDensity, 1.0);
}

TEST_F(BorderPanel, StepCountStaysWithinOneTo32767) {
    Open();
    EXPECT_EQ(ui_.choose(1580, 3), "");
    const std::pair<const char*, int> cases[] = {
        {"0", 1}, {"-7", 1}, {"40000", 32767}, {"32767", 32767}, {"12", 12}, {"abc", 1},
    };
    for (const auto& [typed, want] : cases) {
        EXPECT_EQ(ui_.text(1582, typed), "");
        EXPECT_EQ(panel().stepCount, want) << typed;
        EXPECT_TRUE(ui_.expect(1582, std::to_string(want))) << typed;
    }
    // The spins stop at the same limits.
    EXPECT_EQ(ui_.text(1582, "32767"), "");
    EXPECT_EQ(ui_.spin(1583, true), "");
    EXPECT_EQ(panel().stepCount, 32767);
    EXPECT_EQ(ui_.text(1582, "1"), "");
    EXPECT_EQ(ui_.spin(1583, false), "");
    EXPECT_EQ(panel().stepCount, 1);
    EXPECT_EQ(ui_.spin(1583, true), "");
    EXPECT_EQ(panel().stepCount, 2);

    // A live object whose stored count is out of range shows (and hands
    // on) the nearest count the panel allows.
    ArtNode* live = MakeLive();
    for (const auto& [stored, shown] : {std::pair{0, 1}, std::pair{50000, 32767}}) {
        BorderPGParams p = Stored(live);
        p.stepCount = stored;
        vtg::SetCurrentKind(vtg::kKindBorder);
        ASSERT_EQ(vtg::StoreParamBlock(DocStore::handle(live), &p), kNoErr);
        ASSERT_EQ(plugin()->liveController()->SyncPanelWithSelection(false), kNoErr);
        EXPECT_TRUE(ui_.expect(1582, std::to_string(shown))) << stored;
        EXPECT_EQ(panel().stepCount, shown) << stored;
    }
}

TEST_F(BorderPanel, EditsStoreFractionsRadiansAndPoints) {
    Open();
    EXPECT_EQ(ui_.click(1589), ""); // the shadow rows take input
    struct Case {
        int edit;
        const char* typed;
        const char* shown;
        double BorderPGParams::*field;
        double stored;
    } cases[] = {
        {1573, "50", "50.000", &BorderPGParams::gradeCurve, 0.5},
        {1573, "150", "100.000", &BorderPGParams::gradeCurve, 1.0},
        {1573, "-33.25", "-33.250", &BorderPGParams::gradeCurve, -0.3325},
        {1584, "250", "250.000", &BorderPGParams::eccentricity, 2.5},
        {1584, "-5", "0.000", &BorderPGParams::eccentricity, 0},
        {1584, "30000", "20000.000", &BorderPGParams::eccentricity, 200},
        {1586, "90", "90.000", &BorderPGParams::eccentricAngle, kPi / 2},
        {1586, "-200", "-180.000", &BorderPGParams::eccentricAngle, -kPi},
        {1591, "40", "40.000", &BorderPGParams::shadowDensity, 0.4},
        {1591, "120", "100.000", &BorderPGParams::shadowDensity, 1.0},
        {1597, "-90", "-90.000", &BorderPGParams::lightAngle, -kPi / 2},
        {1594, "2.5", "2.5000 pt", &BorderPGParams::shadowOffset, 2.5},
        {1594, "1 in", "72.0000 pt", &BorderPGParams::shadowOffset, 72},
        {1594, "-3", "0.0000 pt", &BorderPGParams::shadowOffset, 0},
        {1594, "99999", "20000.0000 pt", &BorderPGParams::shadowOffset, 20000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ui_.text(c.edit, c.typed), "");
        EXPECT_TRUE(ui_.expect(c.edit, c.shown)) << c.typed;
        EXPECT_NEAR(panel().*c.field, c.stored, 1e-12) << c.edit << " " << c.typed;
    }
    // A length that is not one leaves the offset as it was.
    EXPECT_EQ(ui_.text(1594, "wide"), "");
    EXPECT_DOUBLE_EQ(panel().shadowOffset, 20000);

    // Spins step the shown value by one, the offset by a tenth.
    EXPECT_EQ(ui_.text(1594, "2.5"), "");
    EXPECT_EQ(ui_.spin(1595, true), "");
    EXPECT_NEAR(panel().shadowOffset, 2.6, 1e-12);
    EXPECT_TRUE(ui_.expect(1594, "2.6000 pt"));
    EXPECT_EQ(ui_.spin(1595, false), "");
    EXPECT_EQ(ui_.spin(1595, false), "");
    EXPECT_NEAR(panel().shadowOffset, 2.4, 1e-12);
    EXPECT_EQ(ui_.text(1573, "99.5"), "");
    EXPECT_EQ(ui_.spin(1574, true), "");
    EXPECT_TRUE(ui_.expect(1573, "100.000"));
    EXPECT_EQ(ui_.spin(1587, false), "");
    EXPECT_TRUE(ui_.expect(1586, "-180.000"));
    EXPECT_NEAR(panel().eccentricAngle, -kPi, 1e-12);

    // In millimetres the offset is typed and shown in millimetres and held
    // in points.
    doc_->rulerUnits = kVtgUnitMillimeters;
    host().notify(kNotifyRulerUnitChanged, nullptr);
    EXPECT_EQ(ui_.text(1594, "10"), "");
    EXPECT_NEAR(panel().shadowOffset, 10 * 72 / 25.4, 1e-9);
    EXPECT_TRUE(ui_.expect(1594, "10.0000 mm"));
    EXPECT_EQ(ui_.spin(1595, true), "");
    EXPECT_NEAR(panel().shadowOffset, 10.1 * 72 / 25.4, 1e-9);
}

// Every number field of the panel: an infinity or an overflow is limited to
// the nearer end of the field's range as any other number is; NaN is
// refused and the field shows its value again.
TEST_F(BorderPanel, InfinitiesClampAndNaNIsRefusedInEveryNumberField) {
    Open();
    EXPECT_EQ(ui_.choose(1580, 3), "");
    EXPECT_EQ(ui_.click(1589), "");
    struct Field {
        int edit;
        const char* low;
        const char* high;
    } fields[] = {
        {1573, "-100.000", "100.000"}, {1582, "1", "32767"},
        {1584, "0.000", "20000.000"},  {1586, "-180.000", "180.000"},
        {1591, "0.000", "100.000"},    {1594, "0.0000 pt", "20000.0000 pt"},
        {1597, "-180.000", "180.000"},
    };
    const std::pair<const char*, bool> typed[] = {
        {"inf", true},     {"-inf", false},   {"INFINITY", true},
        {"1e400", true},   {"-1e400", false}, {"1e308", true},
        {"-1e308", false}, {"+Inf", true},    {"1e400 mm", true}};
    for (const Field& f : fields) {
        for (const auto& [text, high] : typed) {
            if (std::string(text).find(' ') != std::string::npos && f.edit != 1594)
                continue; // a unit only for the length
            EXPECT_EQ(ui_.text(f.edit, "1"), "");
            EXPECT_EQ(ui_.text(f.edit, text), "");
            EXPECT_TRUE(ui_.expect(f.edit, high ? f.high : f.low)) << f.edit << " " << text;
        }
        // NaN: refused, the field shows the value it had.
        EXPECT_EQ(ui_.text(f.edit, "1"), "");
        const std::string before = ui_.print(f.edit);
        const BorderPGParams stored = panel();
        for (const char* nan : {"nan", "-NaN", "nan(0x1)"}) {
            EXPECT_EQ(ui_.text(f.edit, nan), "");
            EXPECT_TRUE(ui_.expect(f.edit, before)) << f.edit << " " << nan;
            EXPECT_EQ(std::memcmp(&stored, &panel(), sizeof stored), 0) << f.edit << " " << nan;
        }
    }
}

// The curve of a picture: the "d" of its first path, which differs between
// every pair of pictures.
std::string Curve(int bitmap) {
    auto image = platform::LoadImage(platform::ImageKind::Bitmap, bitmap);
    EXPECT_TRUE(image.has_value()) << bitmap;
    if (!image)
        return "";
    const std::string svg = platform::ImageSvgText(*image);
    const std::size_t at = svg.find("<path d=\"");
    EXPECT_NE(at, std::string::npos) << bitmap;
    return at == std::string::npos ? "" : svg.substr(at, svg.find('"', at + 9) - at);
}

TEST_F(BorderPanel, GradePicturesSetTheCurveAndFollowInvertGrade) {
    Open();
    auto shows = [&](bool inverted) {
        for (int i = 0; i < 3; ++i) {
            const int want = (inverted ? 834 : 831) + i;
            EXPECT_EQ(platform::GetImage(item(1575 + i)), want);
            const std::string drawn = ui_.picture(1575 + i);
            EXPECT_NE(drawn.find(Curve(want)), std::string::npos) << want;
            EXPECT_EQ(drawn.find(Curve((inverted ? 831 : 834) + i)), std::string::npos) << want;
        }
    };
    shows(false);
    EXPECT_EQ(ui_.click(1579), "");
    EXPECT_EQ(panel().invertGrade, 1);
    shows(true);
    EXPECT_EQ(ui_.click(1579), "");
    EXPECT_EQ(panel().invertGrade, 0);
    shows(false);

    const std::tuple<int, double, const char*, const char*> buttons[] = {
        {1575, -1.0, "-100.000", "-100"},
        {1577, 1.0, "100.000", "100"},
        {1576, 0.0, "0.000", "0"},
    };
    for (const auto& [button, curve, text, position] : buttons) {
        EXPECT_EQ(ui_.click(button), "");
        EXPECT_DOUBLE_EQ(panel().gradeCurve, curve) << button;
        EXPECT_TRUE(ui_.expect(1573, text));
        EXPECT_TRUE(ui_.expect(1578, position));
    }
}

TEST_F(BorderPanel, SlidersFollowTheEditsAndTheEditsTheSliders) {
    Open();
    EXPECT_EQ(platform::GetRange(item(1578)).minimum, -100);
    EXPECT_EQ(platform::GetRange(item(1578)).maximum, 100);
    EXPECT_EQ(platform::GetRange(item(1578)).page, 5);
    for (int dial : {1588, 1596}) {
        EXPECT_EQ(platform::GetRange(item(dial)).minimum, -180) << dial;
        EXPECT_EQ(platform::GetRange(item(dial)).maximum, 180) << dial;
    }
    // An edit moves its slider to the value rounded half away from zero.
    const std::tuple<int, const char*, int, const char*> typed[] = {
        {1573, "33.6", 1578, "34"}, {1573, "-12.5", 1578, "-13"},   {1573, "12.4", 1578, "12"},
        {1586, "90.5", 1588, "91"}, {1586, "-179.4", 1588, "-179"},
    };
    for (const auto& [edit, text, slider, position] : typed) {
        EXPECT_EQ(ui_.text(edit, text), "");
        EXPECT_TRUE(ui_.expect(slider, position)) << text;
    }
    // A slider writes its position into the edit, which stores it.
    EXPECT_EQ(ui_.slide(1578, 40), "");
    EXPECT_TRUE(ui_.expect(1573, "40.000"));
    EXPECT_DOUBLE_EQ(panel().gradeCurve, 0.4);
    EXPECT_EQ(vtg::lastScrollCode, platform::kScrollEnd);
    // The dial points where the angle points in the document: 0° right,
    // 90° up, -90° down.
    const std::tuple<int, const char*, double> dials[] = {
        {90, "90.000", kPi / 2}, {0, "0.000", 0}, {-90, "-90.000", -kPi / 2}};
    for (const auto& [position, text, radians] : dials) {
        EXPECT_EQ(ui_.slide(1588, position), "");
        EXPECT_TRUE(ui_.expect(1586, text)) << position;
        EXPECT_NEAR(panel().eccentricAngle, radians, 1e-12) << position;
    }
    EXPECT_EQ(vtg::lastScrollCode, platform::kScrollThumbPosition);
    EXPECT_EQ(ui_.click(1589), "");
    EXPECT_EQ(ui_.slide(1596, 90), "");
    EXPECT_TRUE(ui_.expect(1597, "90.000"));
    EXPECT_NEAR(panel().lightAngle, kPi / 2, 1e-12);
}

TEST_F(BorderPanel, LiveUpdateRewritesTheSelectedBorderOnlyWhenOn) {
    Open();
    EXPECT_EQ(ui_.choose(1580, 3), "");
    EXPECT_EQ(ui_.text(1582, "4"), "");
    ArtNode* live = MakeLive();
    auto steps = [&] {
        EXPECT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
        const ArtNode* result = live->s.plugin.result;
        // Outside without shadow: one copy per step and the fill on top.
        return result->s.children.empty() ? 0 : result->s.children[0]->s.children.size();
    };
    EXPECT_EQ(Stored(live).stepCount, 4);
    EXPECT_EQ(steps(), 5u);
    EXPECT_TRUE(platform::IsEnabled(item(1420)));
    EXPECT_TRUE(platform::IsEnabled(item(1419)));

    // On: every kind of control reaches the object at once.
    EXPECT_EQ(ui_.text(1582, "6"), "");
    EXPECT_EQ(Stored(live).stepCount, 6);
    EXPECT_EQ(steps(), 7u);
    EXPECT_EQ(ui_.text(1573, "30"), "");
    EXPECT_DOUBLE_EQ(Stored(live).gradeCurve, 0.3);
    EXPECT_EQ(ui_.click(1579), "");
    EXPECT_EQ(Stored(live).invertGrade, 1);
    EXPECT_EQ(ui_.click(1577), "");
    EXPECT_DOUBLE_EQ(Stored(live).gradeCurve, 1.0);
    EXPECT_EQ(ui_.slide(1588, 90), "");
    EXPECT_NEAR(Stored(live).eccentricAngle, kPi / 2, 1e-6); // six decimals in the object

    // Off: the panel changes, the object does not.
    EXPECT_EQ(ui_.click(1418), "");
    EXPECT_EQ(ui_.text(1582, "2"), "");
    EXPECT_EQ(ui_.click(1589), "");
    EXPECT_EQ(ui_.click(1572), "");
    EXPECT_EQ(ui_.choose(1580, 3), "");
    EXPECT_EQ(panel().stepCount, 2);
    BorderPGParams kept = Stored(live);
    EXPECT_EQ(kept.stepCount, 6);
    EXPECT_EQ(kept.shadowOn, 0);
    EXPECT_EQ(kept.style, 0);
    EXPECT_EQ(steps(), 7u);

    // Switched on again: the panel's values are written at once.
    EXPECT_EQ(ui_.click(1418), "");
    kept = Stored(live);
    EXPECT_EQ(kept.stepCount, 2);
    EXPECT_EQ(kept.shadowOn, 1);
    EXPECT_EQ(kept.style, 1);
}

} // namespace
