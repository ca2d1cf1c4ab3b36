// The preset dialog of the Live Circle panel, driven as a user would from
// the panel's flyout: reordering by drag, updating with Alt+click, adding,
// applying by double click, deleting, exporting and importing through
// folders in the test's profile, and resizing. The flyout follows every
// command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/host_panel.hpp"
#include "core/vertigon_plugin.hpp"
#include "host/live_updates.hpp"
#include "host/panels.hpp"
#include "live/pg_ctrlr.hpp"
#include "params/preset_library.hpp"
#include "platform/system.hpp"
#include "platform/window.hpp"
#include "support/document_fixture.hpp"
#include "support/ui_driver.hpp"
#include "ui/preset_dialog.hpp"

namespace {

using hostapp::Answer;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

constexpr const char* kCircleFile = "VERTiGON4_PST_Circle.txt";
constexpr int kEditPresets = 3;

class PresetDialogTest : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
        ASSERT_NE(ctrlr(), nullptr);
        ui_ = vtgtest::UiDriver(&host().user());
        ui_.address(ctrlr()->view()->window());
    }
    void TearDown() override {
        platform::ReleaseAllKeys();
        DocumentTest::TearDown();
    }

    vtg::VERTiGON4Plugin* plugin() const {
        return static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    }
    vtg::PGCtrlr* ctrlr() const { return plugin()->liveController(); }
    fs::path folder() const { return profile_ / "VERTiGON6 User Settings"; }
    std::string file() const { return (folder() / kCircleFile).string(); }

    Strings FileNames(const std::string& path) {
        Strings names;
        EXPECT_EQ(vtg::ListPresetNames(path, names), kNoErr) << path;
        return names;
    }
    Strings FlyoutNames() {
        PanelHandleOpaque* panel = host().panels().find(vtg::kLivePanelPrefix);
        Strings names;
        if (panel == nullptr || panel->flyout == nullptr)
            return names;
        const auto& items = panel->flyout->items;
        for (std::size_t i = vtg::kFlyoutFirstPreset - 1; i < items.size(); ++i)
            names.push_back(items[i].text);
        return names;
    }
    std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Adds presets named `names` with the panel's current values.
    void Seed(const Strings& names) {
        for (const std::string& n : names) {
            host().user().queue({Answer::Kind::Text, n});
            ASSERT_EQ(vtg::AddPreset(ctrlr()->record(), static_cast<int>(FileNames(file()).size())),
                      kNoErr);
        }
        ctrlr()->RebuildPresetMenu();
    }
    // Opens the dialog from the flyout; the steps queued before run in it.
    void OpenDialog() {
        ASSERT_EQ(host().chooseFlyoutItem(vtg::kLivePanelPrefix, kEditPresets), kNoErr);
        EXPECT_EQ(plugin()->presetList()->dialog(), nullptr);
        EXPECT_EQ(platform::CurrentModalDialog(), 0u);
        // Every step ran inside the dialog.
        EXPECT_EQ(platform::QueuedUserInput(), 0u);
    }
    bool Enabled(int id) const { return platform::IsEnabled(ui_.control(id)); }
    Strings Items(int id) const { return platform::GetItems(ui_.control(id)); }
    platform::Rect RectOf(int id) const { return platform::GetRect(ui_.control(id)); }

    vtgtest::UiDriver ui_;
};

TEST_F(PresetDialogTest, OpensWithTheTitleTextsImagesAndTooltipsOfThePanel) {
    Seed({"one", "two"});
    bool ran = false;
    ui_.then([&](vtgtest::UiDriver& ui) {
        ran = true;
        platform::WindowId dialog = platform::CurrentModalDialog();
        ASSERT_NE(dialog, 0u);
        EXPECT_EQ(platform::GetText(dialog), "VERTiGON6: Live サークル プリセット");
        EXPECT_EQ(platform::GetText(ui.control(1713)), "ドラッグによる行の入れ替え");
        EXPECT_EQ(platform::GetText(ui.control(1716)),
                  "適用: ダブルクリック\n更新: Altキー＋クリック");
        EXPECT_EQ(platform::GetText(ui.control(1708)), "閉じる");
        EXPECT_EQ(ui.print(1713), "0");
        EXPECT_TRUE(platform::IsVisible(ui.control(1715)));
        EXPECT_FALSE(platform::IsVisible(ui.control(1714)));
        EXPECT_EQ(Items(1715), (Strings{"one", "two"}));
        struct Button {
            int id;
            int image;
            const char* tooltip;
        };
        for (const Button& b : {Button{1709, 648, "選択プリセットをエクスポート"},
                                Button{1710, 649, "外部プリセットからインポート"},
                                Button{1711, 650, "新規プリセットを追加"},
                                Button{1712, 651, "選択プリセットを削除"}}) {
            EXPECT_EQ(platform::GetImage(ui.control(b.id)), b.image) << b.id;
            EXPECT_EQ(platform::GetTooltip(ui.control(b.id)), b.tooltip) << b.id;
        }
        // The host's window and the panel wait while the dialog runs.
        EXPECT_FALSE(platform::IsEnabled(platform::HostMainWindow()));
        EXPECT_FALSE(platform::IsEnabled(host().panels().find(vtg::kLivePanelPrefix)->window));
        EXPECT_EQ(plugin()->presetList()->owner(), ctrlr());
        EXPECT_EQ(ui.click(1708), "");
    });
    OpenDialog();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(platform::IsEnabled(platform::HostMainWindow()));
    EXPECT_TRUE(platform::IsEnabled(host().panels().find(vtg::kLivePanelPrefix)->window));
    EXPECT_EQ(plugin()->presetList()->owner(), nullptr);
}

TEST_F(PresetDialogTest, ExportAndDeleteNeedASelection) {
    // An empty preset file: nothing to select, in either list.
    ui_.then([&](vtgtest::UiDriver& ui) {
        EXPECT_TRUE(Items(1715).empty());
        EXPECT_FALSE(Enabled(1709));
        EXPECT_FALSE(Enabled(1712));
        EXPECT_EQ(ui.click(1712), "control 1712 is disabled");
        EXPECT_EQ(ui.click(1713), "");
        EXPECT_FALSE(Enabled(1709));
        EXPECT_FALSE(Enabled(1712));
        EXPECT_TRUE(Enabled(1710) && Enabled(1711));
        EXPECT_EQ(ui.click(1708), "");
    });
    OpenDialog();

    // With presets: a selection enables both, a reload clears it again.
    Seed({"a", "b"});
    ui_.then([&](vtgtest::UiDriver& ui) {
        EXPECT_EQ(ui.choose(1715, 1), "");
        EXPECT_TRUE(Enabled(1709) && Enabled(1712));
        EXPECT_EQ(ui.click(1713), ""); // the drag list is loaded afresh
        EXPECT_EQ(Items(1714), (Strings{"a", "b"}));
        EXPECT_FALSE(Enabled(1709) || Enabled(1712));
        EXPECT_EQ(ui.choose(1714, 0), "");
        EXPECT_TRUE(Enabled(1709) && Enabled(1712));
        EXPECT_EQ(ui.click(1708), "");
    });
    OpenDialog();
}

TEST_F(PresetDialogTest, DraggingARowMovesThePreset) {
    Seed({"P0", "P1", "P2", "P3"});
    ui_.then([&](vtgtest::UiDriver& ui) {
        EXPECT_EQ(ui.click(1713), "");
        EXPECT_TRUE(platform::IsVisible(ui.control(1714)));
        EXPECT_FALSE(platform::IsVisible(ui.control(1715)));
        EXPECT_EQ(ui.dragItem(1714, 0, 2), "");
        EXPECT_EQ(FileNames(file()), (Strings{"P1", "P2", "P0", "P3"}));
        EXPECT_EQ(Items(1714), (Strings{"P1", "P2", "P0", "P3"}));
        EXPECT_EQ(FlyoutNames(), (Strings{"P1", "P2", "P0", "P3"}));
        EXPECT_EQ(ui.dragItem(1714, 3, 1), "");
        EXPECT_EQ(FileNames(file()), (Strings{"P1", "P3", "P2", "P0"}));
        EXPECT_EQ(Items(1714), FileNames(file()));
        // Dropped where it started: the file stays as it is.
        const std::string before = Bytes(file());
        EXPECT_EQ(ui.dragItem(1714, 2, 2), "");
        EXPECT_EQ(Bytes(file()), before);
        // Unticking shows the multiple list with the same order.
        EXPECT_EQ(ui.click(1713), "");
        EXPECT_EQ(Items(1715), FileNames(file()));
        EXPECT_EQ(ui.click(1708), "");
    });
    OpenDialog();
}

TEST_F(PresetDialogTest, AltClickUpdatesThePresetProposingItsName) {
    struct Case {
        const char* what;
        std::optional<Answer> answer;
        Strings names; // the names afterwards
        bool changed;  // the file changed
    };
    const Case cases[] = {
        {"the proposal taken", std::nullopt, {"A", "B", "C"}, true},
        {"renamed", Answer{Answer::Kind::Text, "renamed"}, {"A", "renamed", "C"}, true},
        {"cancelled", Answer{Answer::Kind::Cancel, ""}, {"A", "B", "C"}, false},
    };
    for (const Case& c : cases) {
        fs::remove(file());
        ASSERT_EQ(vtg::CreatePresetFile(ctrlr()->record()), kNoErr);
        ASSERT_EQ(ui_.text(1688, "12"), "");
        Seed({"A", "B", "C"});
        // The panel now holds other values; B is updated with them.
        ASSERT_EQ(ui_.text(1688, "9"), "");
        const std::string before = Bytes(file());
        const std::size_t alertsBefore = host().user().alerts().size();
        ui_.then([&](vtgtest::UiDriver& ui) {
            if (c.answer)
                ui.answer(c.answer->kind, c.answer->text);
            ui.hold(true, false, false);
            EXPECT_EQ(ui.choose(1715, 1), "");
            ui.hold(false, false, false);
            ASSERT_EQ(host().user().alerts().size(), alertsBefore + 1) << c.what;
            EXPECT_EQ(host().user().alerts().back(),
                      "選択中のプリセットを、次の名前と現在の設定で更新します。\n名前：");
            EXPECT_EQ(Items(1715), c.names) << c.what;
            EXPECT_EQ(FlyoutNames(), c.names) << c.what;
            EXPECT_EQ(ui.click(1708), "");
        });
        OpenDialog();
        EXPECT_EQ(FileNames(file()), c.names) << c.what;
        EXPECT_EQ(Bytes(file()) != before, c.changed) << c.what;
        // Loading B shows the values it holds now.
        ASSERT_EQ(vtg::LoadPresetRecord(ctrlr()->record(), 1), kNoErr);
        ctrlr()->view()->Refresh(4);
        EXPECT_TRUE(ui_.expect(1688, c.changed ? "9" : "12")) << c.what;
        // A plain click selects without asking.
        ui_.then([&](vtgtest::UiDriver& ui) {
            EXPECT_EQ(ui.choose(1715, 0), "");
            EXPECT_EQ(host().user().alerts().size(), alertsBefore + 1);
            EXPECT_EQ(ui.click(1708), "");
        });
        OpenDialog();
    }
}

TEST_F(PresetDialogTest, AddingProposesTheNextNumber) {
    Seed({"x", "y", "z"});
    ui_.then([&](vtgtest::UiDriver& ui) {
        EXPECT_EQ(ui.click(1711), ""); // no answer: the proposal is taken
        EXPECT_EQ(host().user().alerts().back(), "現在の設定を次の名前で保存します。\n名前：");
        EXPECT_EQ(Items(1715), (Strings{"x", "y", "z", "Preset #4"}));
        EXPECT_EQ(FlyoutNames(), Items(1715));
        // Cancelled: nothing is added.
        ui.answer(Answer::Kind::Cancel);
        EXPECT_EQ(ui.click(1711), "");
        EXPECT_EQ(FileNames(file()).size(), 4u);
        // From the drag list too, with a name typed.
        EXPECT_EQ(ui.click(1713), "");
        ui.answer(Answer::Kind::Text, "typed");
        EXPECT_EQ(ui.click(1711), "");
        EXPECT_EQ(Items(1714), (Strings{"x", "y", "z", "Preset #4", "typed"}));
        EXPECT_EQ(ui.click(1708), "");
    });
    OpenDialog();
    EXPECT_EQ(FileNames(file()), (Strings{"x", "y", "z", "Preset #4", "typed"}));
}

TEST_F(PresetDialogTest, DoubleClickAppliesThePreset) {
    for (bool liveUpdate : {true, false}) {
        fs::remove(file());
        ASSERT_EQ(vtg::CreatePresetFile(ctrlr()->record()), kNoErr);
        ASSERT_EQ(ui_.text(1688, "8"), "");
        Seed({"eight"});
        ASSERT_EQ(ui_.text(1688, "5"), "");
        if (ui_.print(1418) != (liveUpdate ? "1" : "0")) {
            ASSERT_EQ(ui_.click(1418), "");
        }
        const std::string id = liveUpdate ? "live" : "plain";
        ArtNode* square = AddSquare(id, 100, 100, 40);
        Select({square});
        ui_.then([&](vtgtest::UiDriver& ui) {
            EXPECT_EQ(ui.doubleClick(1715, 0), "");
            EXPECT_EQ(ui.click(1708), "");
        });
        OpenDialog();
        EXPECT_TRUE(ui_.expect(1688, "8")) << id;
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
        bool live = false;
        for (ArtNode* a : TopLevel())
            live = live || (a->s.kind == kVtgArtPlugin && !a->s.plugin.edit->s.children.empty() &&
                            a->s.plugin.edit->s.children.back() == square);
        EXPECT_EQ(live, liveUpdate) << id;
    }
}

TEST_F(PresetDialogTest, DeleteExportAndImportGoThroughFiles) {
    Seed({"A", "B", "C"});
    // Another preset folder holding the shipped file.
    const fs::path other = profile_ / "other";
    fs::create_directories(other);
    fs::copy_file(fs::path(BinFolder()) / "VERTiGON6_Default_Settings" / kCircleFile,
                  other / kCircleFile);
    const std::string otherFile = (other / kCircleFile).string();
    const Strings shipped = FileNames(otherFile);

    auto selectAandC = [](vtgtest::UiDriver& ui) {
        EXPECT_EQ(ui.choose(1715, 0), "");
        ui.hold(false, true, false);
        EXPECT_EQ(ui.choose(1715, 2), "");
        ui.hold(false, false, false);
        EXPECT_EQ(platform::GetSelectedIndices(ui.control(1715)), (std::vector<int>{0, 2}));
    };
    ui_.then([&](vtgtest::UiDriver& ui) {
        // Export A and C.
        selectAandC(ui);
        ui.answer(Answer::Kind::Folder, other.string());
        EXPECT_EQ(ui.click(1709), "");
        Strings exported = shipped;
        exported.insert(exported.end(), {"A", "C"});
        EXPECT_EQ(FileNames(otherFile), exported);
        // Delete them, not confirmed, then confirmed.
        selectAandC(ui);
        ui.answer(Answer::Kind::No);
        EXPECT_EQ(ui.click(1712), "");
        EXPECT_EQ(FileNames(file()), (Strings{"A", "B", "C"}));
        ui.answer(Answer::Kind::Yes);
        EXPECT_EQ(ui.click(1712), "");
        EXPECT_EQ(FileNames(file()), (Strings{"B"}));
        EXPECT_EQ(Items(1715), (Strings{"B"}));
        EXPECT_EQ(FlyoutNames(), (Strings{"B"}));
        // Import C back: the import dialog lists the other file's names.
        ui.answer(Answer::Kind::Folder, other.string());
        EXPECT_EQ(ui.click(1710), "");
        EXPECT_EQ(FileNames(file()), (Strings{"B", "C"}));
        EXPECT_EQ(Items(1715), (Strings{"B", "C"}));
        EXPECT_EQ(FlyoutNames(), (Strings{"B", "C"}));
        // Cancelling the import dialog imports nothing.
        ui.answer(Answer::Kind::Folder, other.string());
        EXPECT_EQ(ui.click(1710), "");
        EXPECT_EQ(FileNames(file()), (Strings{"B", "C"}));
        EXPECT_EQ(ui.click(1708), "");
    });
    // The first import dialog: OK only with a selection.
    ui_.then([&](vtgtest::UiDriver& ui) {
        platform::WindowId dialog = platform::CurrentModalDialog();
        EXPECT_EQ(platform::GetText(dialog), "VERTiGON5: プリセット・インポート");
        EXPECT_EQ(platform::GetText(ui.control(1061)),
                  "インポートするプリセットを選択してください。");
        Strings offered = shipped;
        offered.insert(offered.end(), {"A", "C"});
        EXPECT_EQ(Items(1059), offered);
        EXPECT_FALSE(Enabled(1));
        EXPECT_EQ(ui.choose(1059, static_cast<int>(offered.size()) - 1), "");
        EXPECT_TRUE(Enabled(1));
        EXPECT_EQ(ui.click(1), "");
    });
    // The second one is cancelled.
    ui_.then([&](vtgtest::UiDriver& ui) {
        EXPECT_EQ(ui.choose(1059, 0), "");
        EXPECT_EQ(ui.click(2), "");
    });
    OpenDialog();
    EXPECT_EQ(platform::QueuedUserInput(), 0u);
}

TEST_F(PresetDialogTest, ResizingGrowsTheListsAndMovesTheBottomRowNeverBelowTheStart) {
    ui_.then([&](vtgtest::UiDriver&) {
        platform::WindowId dialog = platform::CurrentModalDialog();
        const platform::Rect start = platform::GetRect(dialog);
        const int ids[] = {1715, 1714, 1713, 1716, 1709, 1710, 1711, 1712, 1708};
        std::vector<platform::Rect> initial;
        for (int id : ids)
            initial.push_back(RectOf(id));
        struct Case {
            int dw, dh; // asked for
            int gw, gh; // got
        };
        for (const Case& c : {Case{40, 60, 40, 60}, Case{-100, 10, 0, 10}, Case{-5, -50, 0, 0},
                              Case{20, -30, 20, 0}}) {
            platform::Rect r = start;
            r.right += c.dw;
            r.bottom += c.dh;
            platform::SetRect(dialog, r);
            EXPECT_EQ(platform::GetRect(dialog).width(), start.width() + c.gw) << c.dw;
            EXPECT_EQ(platform::GetRect(dialog).height(), start.height() + c.gh) << c.dh;
            for (std::size_t i = 0; i < std::size(ids); ++i) {
                platform::Rect want = initial[i];
                if (i < 2) { // the lists grow
                    want.right += c.gw;
                    want.bottom += c.gh;
                } else { // the rest moves down
                    want.top += c.gh;
                    want.bottom += c.gh;
                }
                const platform::Rect got = RectOf(ids[i]);
                EXPECT_TRUE(got.left == want.left && got.top == want.top &&
                            got.right == want.right && got.bottom == want.bottom)
                    << "control " << ids[i] << " for " << c.dw << " x " << c.dh;
            }
        }
        platform::EndDialog(dialog, 1708);
    });
    OpenDialog();
}

TEST_F(PresetDialogTest, AFlyoutLoadOwnsTheListOnlyWhileItRuns) {
    Seed({"one"});
    ASSERT_EQ(host().chooseFlyoutItem(vtg::kLivePanelPrefix, vtg::kFlyoutFirstPreset), kNoErr);
    EXPECT_EQ(plugin()->presetList()->owner(), nullptr);
    // A broken file: the dialog still opens, empty, after the message.
    {
        std::ofstream out(file(), std::ios::binary | std::ios::trunc);
        out << "not a preset file\r\n";
    }
    ui_.then([&](vtgtest::UiDriver& ui) {
        EXPECT_TRUE(Items(1715).empty());
        EXPECT_EQ(ui.click(1708), "");
    });
    OpenDialog();
    ASSERT_FALSE(host().user().alerts().empty());
    EXPECT_NE(host().user().alerts().back().find("プリセットファイルが見つからないか壊れている"),
              std::string::npos);
}

} // namespace
