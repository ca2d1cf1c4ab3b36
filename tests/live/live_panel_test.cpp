// What every live-object panel shares, driven as a user would: the "?"
// button (the kind's help page, or with Alt the panel of the selected live
// object's kind), and lengths shown again in new ruler units at once.
#include <gtest/gtest.h>

#include <string>

#include "core/host_panel.hpp"
#include "core/plugin_globals.hpp"
#include "core/vertigon_plugin.hpp"
#include "help/help_ctrlr.hpp"
#include "help/help_pages.hpp"
#include "host/live_updates.hpp"
#include "live/live_object.hpp"
#include "live/pg_ctrlr.hpp"
#include "platform/html_view.hpp"
#include "platform/system.hpp"
#include "platform/window.hpp"
#include "support/document_fixture.hpp"
#include "support/ui_driver.hpp"

namespace {

using hostapp::doc::ArtNode;

class LivePanel : public vtgtest::DocumentTest {
protected:
    void TearDown() override {
        platform::ReleaseAllKeys();
        DocumentTest::TearDown();
    }
    vtg::VERTiGON4Plugin* plugin() const {
        return static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    }
    // Opens the panel of a kind by its menu item and addresses its view.
    void Open(const char* menuKey) {
        ASSERT_EQ(host().chooseMenu(menuKey), kNoErr);
        ASSERT_NE(plugin()->liveController(), nullptr);
        ui_.address(plugin()->liveController()->view()->window());
    }
    // A live object of `kind` with its defaults, made from a new square.
    ArtNode* MakeLive(vtg::LiveObjectKind kind, const std::string& id, double x) {
        ArtNode* square = AddSquare(id, x, 100, 50);
        Select({square});
        std::vector<double> record(vtg::KindBlockSize(kind) / sizeof(double) + 1);
        vtg::SetKindDefaults(kind, record.data());
        EXPECT_EQ(vtg::MakeLiveObjectsOf(kind, record.data()), kNoErr);
        EXPECT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
        for (ArtNode* a : TopLevel())
            if (a->s.kind == kVtgArtPlugin && !a->s.plugin.edit->s.children.empty() &&
                a->s.plugin.edit->s.children.back() == square)
                return a;
        ADD_FAILURE() << "no live object of " << id;
        return nullptr;
    }
    PanelHandleOpaque* helpPanel() { return host().panels().find(vtg::kHelpPanelPrefix); }
    std::string HelpPageShown() {
        vtg::HelpCtrlr* help = plugin()->helpController();
        return help != nullptr ? platform::HtmlCurrentPage(help->view().htmlView().window()) : "";
    }

    vtgtest::UiDriver ui_;
};

TEST_F(LivePanel, HelpButtonShowsThePageOfThePanelKind) {
    struct Case {
        const char* menu;
        const char* page;
    };
    const Case cases[] = {{"VERTiGON6_05", "live_circle"}, {"VERTiGON6_13", "live_border"}};
    for (const Case& c : cases) {
        Open(c.menu);
        EXPECT_EQ(ui_.click(1055), "");
        ASSERT_NE(helpPanel(), nullptr) << c.menu;
        EXPECT_TRUE(helpPanel()->shown) << c.menu;
        EXPECT_EQ(HelpPageShown(), vtg::HelpFolder() + "/" + c.page + ".html");
        // Pressing it again keeps the panel open on that page.
        EXPECT_EQ(ui_.click(1055), "");
        EXPECT_TRUE(helpPanel()->shown) << c.menu;
        EXPECT_EQ(HelpPageShown(), vtg::HelpFolder() + "/" + c.page + ".html");
    }
    EXPECT_TRUE(host().user().alerts().empty());
    // The menu's help item still toggles, and opens on the index.
    ASSERT_EQ(host().chooseMenu("VERTiGON_Menu_Help"), kNoErr);
    EXPECT_FALSE(helpPanel()->shown);
    ASSERT_EQ(host().chooseMenu("VERTiGON_Menu_Help"), kNoErr);
    EXPECT_TRUE(helpPanel()->shown);
    EXPECT_EQ(HelpPageShown(), vtg::HelpFolder() + "/index.html");
}

TEST_F(LivePanel, HelpButtonWithAltSwitchesToTheKindOfTheSelectedLiveObject) {
    ArtNode* border = MakeLive(vtg::kKindBorder, "a", 0);
    ArtNode* circle = MakeLive(vtg::kKindCircle, "b", 200);
    ArtNode* plain = AddSquare("plain", 300, 300, 20);
    Open("VERTiGON6_05");
    vtg::PGCtrlr* circlePanel = plugin()->liveController();
    platform::SetKeyDown(platform::Modifier::Alt, true);

    // Nothing live selected, or a live object of the open kind: the panel stays.
    for (ArtNode* selected : {plain, circle}) {
        Select({selected});
        EXPECT_EQ(ui_.click(1055), "");
        EXPECT_EQ(plugin()->liveController(), circlePanel);
        EXPECT_EQ(vtg::gGlobals->panelKind, vtg::kKindCircle);
    }
    // Another kind's live object: its panel replaces the open one, in the
    // same host panel; the help panel stays closed.
    Select({plain, border});
    EXPECT_EQ(ui_.click(1055), "");
    ASSERT_NE(plugin()->liveController(), nullptr);
    EXPECT_EQ(plugin()->liveController()->kind(), vtg::kKindBorder);
    EXPECT_EQ(vtg::gGlobals->panelKind, vtg::kKindBorder);
    PanelHandleOpaque* live = host().panels().find(vtg::kLivePanelPrefix);
    ASSERT_NE(live, nullptr);
    EXPECT_TRUE(live->shown);
    EXPECT_EQ(live->title, "VERTiGON6: Live ボーダー");
    EXPECT_EQ(helpPanel(), nullptr);
    // The new panel shows the selected object (its Release is enabled), and
    // its own "?" with Alt goes back: the last live object selected counts.
    ui_.address(plugin()->liveController()->view()->window());
    EXPECT_TRUE(platform::IsEnabled(platform::GetItem(ui_.addressed(), 1420)));
    Select({border, circle});
    EXPECT_EQ(ui_.click(1055), "");
    EXPECT_EQ(plugin()->liveController()->kind(), vtg::kKindCircle);
    EXPECT_TRUE(host().user().alerts().empty());
}

// "選択Liveオブジェクトの編集" opens the panel of the selected live object's
// kind, without toggling; with no live object selected nothing opens.
TEST_F(LivePanel, ShowPanelMenuOpensTheKindOfTheSelection) {
    ArtNode* border = MakeLive(vtg::kKindBorder, "a", 0);
    ArtNode* plain = AddSquare("plain", 300, 300, 20);
    Select({plain});
    ASSERT_EQ(host().chooseMenu("VERTiGON_Menu_ShowPanel"), kNoErr);
    EXPECT_EQ(plugin()->liveController(), nullptr);
    for (int twice = 0; twice < 2; ++twice) {
        Select({plain, border});
        ASSERT_EQ(host().chooseMenu("VERTiGON_Menu_ShowPanel"), kNoErr);
        ASSERT_NE(plugin()->liveController(), nullptr);
        EXPECT_EQ(plugin()->liveController()->kind(), vtg::kKindBorder);
        EXPECT_TRUE(host().panels().find(vtg::kLivePanelPrefix)->shown) << twice;
    }
}

TEST_F(LivePanel, RulerAndDocumentChangesShowLengthsInTheNewUnitAtOnce) {
    Open("VERTiGON6_05");
    EXPECT_TRUE(ui_.expect(1700, "-36.0000 pt"));
    struct Case {
        const char* notifier;
        int32_t units;
        const char* shown;
    };
    const Case cases[] = {{kNotifyRulerUnitChanged, kVtgUnitMillimeters, "-12.7000 mm"},
                          {kNotifyDocumentChanged, kVtgUnitInches, "-0.5000 in"},
                          {kNotifyRulerUnitChanged, kVtgUnitPoints, "-36.0000 pt"}};
    for (const Case& c : cases) {
        doc_->rulerUnits = c.units;
        ASSERT_EQ(host().notify(c.notifier, nullptr), kNoErr);
        EXPECT_EQ(vtg::gGlobals->rulerUnits, c.units);
        EXPECT_TRUE(ui_.expect(1700, c.shown)) << c.notifier;
    }
    // A typed length is read in the new unit too.
    doc_->rulerUnits = kVtgUnitMillimeters;
    ASSERT_EQ(host().notify(kNotifyRulerUnitChanged, nullptr), kNoErr);
    EXPECT_EQ(ui_.text(1700, "10"), "");
    EXPECT_NEAR(static_cast<vtg::CirclePGParams*>(plugin()->liveController()->record())->offsetH,
                10 * 72 / 25.4, 1e-9);
    EXPECT_TRUE(ui_.expect(1700, "10.0000 mm"));
    // Every kind's view: Border's shadow offset too.
    Open("VERTiGON6_13");
    EXPECT_TRUE(ui_.expect(1594, "0.3528 mm"));
    doc_->rulerUnits = kVtgUnitPoints;
    ASSERT_EQ(host().notify(kNotifyDocumentChanged, nullptr), kNoErr);
    EXPECT_TRUE(ui_.expect(1594, "1.0000 pt"));
}

} // namespace
