// When the host fails a call while live objects are made, read or
// regenerated: the routine ends with the host's code, the user hears of it,
// and no half result is left behind or recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/plugin_globals.hpp"
#include "core/vertigon_plugin.hpp"
#include "host/actions.hpp"
#include "host/api/vtg_document_suite.h"
#include "host/live_updates.hpp"
#include "live/live_object.hpp"
#include "live/pg_ctrlr.hpp"
#include "params/live_storage.hpp"
#include "platform/system.hpp"
#include "support/document_fixture.hpp"
#include "support/ui_driver.hpp"

namespace {

using hostapp::doc::ArtNode;
using vtg::CirclePGParams;

class LiveFailures : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 100, 100, 100);
        vtg::SetKindDefaults(vtg::kKindCircle, &circle_);
        circle_.seed = 4242;
        circle_.showCentre = 0;
    }
    // The paths of the live object's generated group.
    static size_t Copies(const ArtNode* live) {
        const ArtNode* result = live->s.plugin.result;
        if (result->s.children.size() != 1) {
            ADD_FAILURE() << result->s.children.size() << " generated groups";
            return 0;
        }
        return result->s.children[0]->s.children.size();
    }

    ArtNode* square_ = nullptr;
    CirclePGParams circle_{};
};

// The selection list and the recorded values are host memory: without it
// Apply fails with -108, is not recorded, and the document stays as it was.
TEST_F(LiveFailures, AnApplyOutOfMemoryChangesNothingAndRecordsNothing) {
    struct Case {
        const char* block;
        const char* what;
    };
    const Case cases[] = {{kVtgArtListBlockName, "the selection"},
                          {hostapp::kValueBlockMemoryName, "the recorded values"}};
    for (const Case& c : cases) {
        Select({square_});
        host().actions().startRecording();
        host().memory().failName(c.block);
        EXPECT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindCircle, &circle_), kOutOfMemoryErr) << c.what;
        host().memory().clearFaults();
        host().actions().stopRecording();
        EXPECT_TRUE(host().actions().events().empty()) << c.what;
        EXPECT_EQ(TopLevel(), std::vector<ArtNode*>{square_}) << c.what;
        EXPECT_EQ(square_->s.parent, doc_->layers[0]->group) << c.what;
    }
    // The panel cannot tell what is selected either: an error, not "nothing".
    Select({square_});
    host().memory().failName(kVtgArtListBlockName);
    vtg::SelectionFlags flags;
    EXPECT_EQ(vtg::ScanSelection(vtg::kKindCircle, nullptr, flags), kOutOfMemoryErr);
    host().memory().clearFaults();
}

// The Apply button has no message to answer with: its failure is an alert.
TEST_F(LiveFailures, TheApplyButtonShowsWhatFailed) {
    Select({square_});
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    auto* plugin = static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    ASSERT_NE(plugin->liveController(), nullptr);
    vtgtest::UiDriver ui;
    ui.address(plugin->liveController()->view()->window());
    const size_t errors = host().user().errorAlerts();
    host().actions().startRecording();
    host().memory().failName(hostapp::kValueBlockMemoryName);
    EXPECT_EQ(ui.click(1421), "");
    host().memory().clearFaults();
    host().actions().stopRecording();
    ASSERT_EQ(host().user().errorAlerts(), errors + 1);
    EXPECT_NE(host().user().lastAlert()->find("十分なメモリがない"), std::string::npos);
    EXPECT_TRUE(host().actions().events().empty());
    EXPECT_EQ(TopLevel(), std::vector<ArtNode*>{square_});
}

// A regeneration that runs out of memory keeps the last whole result; the
// host names the object until a later regeneration succeeds.
TEST_F(LiveFailures, ARegenerationOutOfMemoryKeepsTheLastResult) {
    Select({square_});
    ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindCircle, &circle_), kNoErr);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    ArtNode* live = TopLevel().at(0);
    ASSERT_EQ(Copies(live), 12u);

    Select({live});
    circle_.copies = 4;
    ASSERT_EQ(vtg::UpdateSelectedLiveObjectsOf(vtg::kKindCircle, &circle_, 8), kNoErr);
    host().memory().failName("Circle Copies");
    EXPECT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kOutOfMemoryErr);
    host().memory().clearFaults();
    EXPECT_EQ(Copies(live), 12u);
    const std::vector<std::string> failed = hostapp::FailedRegenerations(host(), *doc_);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0], "live object of \"square\" was not regenerated: out of memory (-108)");

    Select({live});
    circle_.copies = 5;
    ASSERT_EQ(vtg::UpdateSelectedLiveObjectsOf(vtg::kKindCircle, &circle_, 8), kNoErr);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    EXPECT_EQ(Copies(live), 5u);
    EXPECT_TRUE(hostapp::FailedRegenerations(host(), *doc_).empty());
}

} // namespace
