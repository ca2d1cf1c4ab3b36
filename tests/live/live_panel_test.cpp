// What every live-object panel shares, driven as a user would: the "?"
// button (the kind's help page, or with Alt the panel of the selected live
// object's kind), and lengths shown again in new ruler units at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/host_panel.hpp"
#include "core/plugin_globals.hpp"
#include "core/vertigon_plugin.hpp"
#include "help/help_ctrlr.hpp"
#include "help/help_pages.hpp"
#include "host/effects/live_effects.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "live/live_object.hpp"
#include "live/pg_ctrlr.hpp"
#include "platform/html_view.hpp"
#include "platform/system.hpp"
#include "platform/window.hpp"
#include "support/document_fixture.hpp"
#include "support/ui_driver.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;

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

// Apply, a preset applied with live update (the preset dialog's double
// click, the flyout) and a replayed Apply on a selected live object of the
// panel's kind: the object is made again from its source with the panel's
// values, and what shows is already generated from them.
TEST_F(LivePanel, ASelectedLiveObjectIsMadeAgainWithThePanelValues) {
    enum class Way { Button, PresetDialog, Flyout, Play };
    struct Kind {
        vtg::LiveObjectKind kind;
        const char* menu;
        std::function<void(const char* value)> type; // one value into the panel
        std::function<bool(const void* record)> holdsWanted;
    };
    const Kind kinds[] = {
        {vtg::kKindCircle, "VERTiGON6_05", [&](const char* v) { EXPECT_EQ(ui_.text(1688, v), ""); },
         [](const void* r) { return static_cast<const vtg::CirclePGParams*>(r)->copies == 5; }},
        {vtg::kKindBorder, "VERTiGON6_13",
         [&](const char* v) {
             EXPECT_EQ(ui_.choose(1580, 3), "");
             EXPECT_EQ(ui_.text(1582, v), "");
         },
         [](const void* r) {
             const auto* p = static_cast<const vtg::BorderPGParams*>(r);
             return p->stepMode == 3 && p->stepCount == 5;
         }},
    };
    const char* panel = vtg::kLivePanelPrefix;
    int made = 0;
    for (const Kind& k : kinds) {
        // A preset and a recorded Apply that hold the wanted value "5".
        Open(k.menu);
        k.type("5");
        host().user().queue({hostapp::Answer::Kind::Text, "five"});
        ui_.then([](vtgtest::UiDriver& u) { EXPECT_EQ(u.click(1711), ""); });
        ui_.then([](vtgtest::UiDriver& u) { EXPECT_EQ(u.click(1708), ""); });
        ASSERT_EQ(host().chooseFlyoutItem(panel, 3), kNoErr);
        ArtNode* scratch = AddSquare("scratch", 300, 300, 10);
        Select({scratch});
        ASSERT_EQ(plugin()->liveController()->SyncPanelWithSelection(false), kNoErr);
        host().actions().clearEvents();
        host().actions().startRecording();
        EXPECT_EQ(ui_.click(1421), "");
        host().actions().stopRecording();
        ASSERT_EQ(TopLevel().at(0)->s.kind, kVtgArtPlugin);
        ASSERT_EQ(hostapp::doc::DeleteArt(TopLevel().at(0)), kNoErr);

        for (Way way : {Way::Button, Way::PresetDialog, Way::Flyout, Way::Play}) {
            const std::string id = "source" + std::to_string(made++);
            ArtNode* old = MakeLive(k.kind, id, 0);
            ASSERT_NE(old, nullptr);
            ui_.address(plugin()->liveController()->view()->window());
            // Selecting the object shows its values; then the panel moves on.
            Select({old});
            ASSERT_EQ(plugin()->liveController()->SyncPanelWithSelection(false), kNoErr);
            k.type(way == Way::Button ? "5" : "3");
            switch (way) {
            case Way::Button:
                EXPECT_EQ(ui_.click(1421), "");
                break;
            case Way::PresetDialog:
                ui_.then([](vtgtest::UiDriver& u) {
                    const auto items = platform::GetItems(u.control(1715));
                    const auto at = std::find(items.begin(), items.end(), "five");
                    ASSERT_NE(at, items.end());
                    EXPECT_EQ(u.doubleClick(1715, static_cast<int>(at - items.begin())), "");
                });
                ui_.then([](vtgtest::UiDriver& u) { EXPECT_EQ(u.click(1708), ""); });
                ASSERT_EQ(host().chooseFlyoutItem(panel, 3), kNoErr);
                break;
            case Way::Flyout:
                ASSERT_EQ(host().chooseFlyoutItem(panel, 7), kNoErr);
                break;
            case Way::Play: {
                std::string reason;
                ASSERT_EQ(host().playActions(&reason), kNoErr) << reason;
                break;
            }
            }
            SCOPED_TRACE(std::string(k.menu) + " way " + std::to_string(static_cast<int>(way)));
            EXPECT_TRUE(platform::ModalError().empty()) << platform::ModalError();
            // One live object of the kind, holding the source, with the values.
            std::vector<ArtNode*> lives;
            for (ArtNode* a : TopLevel())
                if (a->s.kind == kVtgArtPlugin)
                    lives.push_back(a);
            ASSERT_EQ(lives.size(), 1u);
            ArtNode* live = lives[0];
            ASSERT_EQ(live->s.plugin.edit->s.children.size(), 1u);
            EXPECT_EQ(live->s.plugin.edit->s.children[0]->s.name, id);
            std::vector<double> record(vtg::KindBlockSize(k.kind) / sizeof(double) + 1);
            vtg::SetCurrentKind(k.kind);
            ASSERT_EQ(vtg::LoadParamBlock(DocStore::handle(live), record.data()), kNoErr);
            EXPECT_TRUE(k.holdsWanted(record.data()));
            // The result shows those values: generating again changes nothing.
            const std::string shown = hostapp::svg::WriteSvgText(*doc_);
            ASSERT_FALSE(live->s.plugin.result->s.children.empty());
            ASSERT_EQ(hostapp::UpdatePluginArt(host(), live), kNoErr);
            EXPECT_EQ(hostapp::svg::WriteSvgText(*doc_), shown);
            ASSERT_EQ(hostapp::doc::DeleteArt(live), kNoErr);
        }
    }
    // The two questions for the presets' names, nothing else.
    EXPECT_EQ(host().user().alerts().size(), 2u);
}

// A live object whose settings changed after its last generation is made
// again before the host shows or saves the document, even when the change
// was committed without a regeneration.
TEST_F(LivePanel, ADocumentShowsNoStaleLiveObject) {
    ArtNode* live = MakeLive(vtg::kKindCircle, "a", 0);
    ASSERT_NE(live, nullptr);
    ASSERT_EQ(live->s.plugin.result->s.children.at(0)->s.children.size(), 13u);
    vtg::CirclePGParams p{};
    vtg::SetCurrentKind(vtg::kKindCircle);
    ASSERT_EQ(vtg::LoadParamBlock(DocStore::handle(live), &p), kNoErr);
    p.copies = 4;
    ASSERT_EQ(vtg::StoreParamBlock(DocStore::handle(live), &p), kNoErr);
    hostapp::doc::Commit(*doc_);
    ASSERT_EQ(hostapp::effects::RenderDocument(host(), *doc_), kNoErr);
    EXPECT_EQ(live->s.plugin.result->s.children.at(0)->s.children.size(), 5u);
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
