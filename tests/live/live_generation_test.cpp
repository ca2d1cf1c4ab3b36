// Live Generation: the chain's geometry against numbers worked out by hand,
// the stacking, stored counts and absurd values, the panel's spacing-mode
// switch, the action, and a saved object that regenerates byte for byte.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "core/plugin_globals.hpp"
#include "core/vertigon_plugin.hpp"
#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "live/generation/generation_ctrlr.hpp"
#include "live/generation/generation_generator.hpp"
#include "live/live_actions.hpp"
#include "live/live_copies.hpp"
#include "live/live_object.hpp"
#include "params/live_storage.hpp"
#include "platform/window.hpp"
#include "support/document_fixture.hpp"
#include "support/ui_driver.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using vtg::GenerationPGParams;
using V = vtg::GenerationPGViewController;

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180;

VtgRect Box(const ArtNode* a) {
    VtgRect r{};
    hostapp::doc::Bounds(a, hostapp::doc::kIdentity, kVtgBoundsControlPoints, r);
    return r;
}
VtgPoint Centre(const ArtNode* a) {
    const VtgRect r = Box(a);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class LiveGeneration : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 0, 0, 10);
        vtg::SetKindDefaults(vtg::kKindGeneration, &record_);
    }
    ArtNode* Generate(const GenerationPGParams& p, ArtNode* source = nullptr) {
        ArtNode* group = nullptr;
        EXPECT_EQ(
            hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnTop, nullptr, group),
            kNoErr);
        EXPECT_EQ(vtg::GenerateGeneration(DocStore::handle(group),
                                          DocStore::handle(source ? source : square_), p),
                  kNoErr);
        return group;
    }
    // Copy i of the chain (each new copy went on top).
    static const ArtNode* Copy(const ArtNode* g, size_t i) {
        return g->s.children.at(g->s.children.size() - 1 - i);
    }
    vtg::VERTiGON4Plugin* plugin() const {
        return static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    }
    void Apply() {
        ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindGeneration, &record_), kNoErr);
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    }

    ArtNode* square_ = nullptr;
    GenerationPGParams record_{};
};

// Defaults on a 10-point square: 20 copies, each 90 % of the one before and
// turned 15° further, the first step 9.5 points long at 15°.
TEST_F(LiveGeneration, DefaultsCurlFromAFirstStepOfNineAndAHalfAtFifteenDegrees) {
    ArtNode* g = Generate(record_);
    ASSERT_EQ(g->s.children.size(), 20u);
    // Copy 0 lies on the source, the turn there and back included.
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(Copy(g, 0)->s.segments[k].anchor.x, square_->s.segments[k].anchor.x, 1e-12);
        EXPECT_NEAR(Copy(g, 0)->s.segments[k].anchor.y, square_->s.segments[k].anchor.y, 1e-12);
    }
    // Copy 1: centre (5, 5) + 9.5 (cos 15°, sin 15°); the corner (0, 0) is
    // (-5, -5) from the centre, turned 15° and scaled by 0.9.
    const double c15 = std::cos(15 * kDeg), s15 = std::sin(15 * kDeg);
    const VtgPoint c1{5 + 9.5 * c15, 5 + 9.5 * s15};
    EXPECT_NEAR(Centre(Copy(g, 1)).x, c1.x, 1e-9);
    EXPECT_NEAR(Centre(Copy(g, 1)).y, c1.y, 1e-9);
    const VtgPoint corner = Copy(g, 1)->s.segments[0].anchor;
    EXPECT_NEAR(corner.x, c1.x + 0.9 * (-5 * c15 + 5 * s15), 1e-9);
    EXPECT_NEAR(corner.y, c1.y + 0.9 * (-5 * s15 - 5 * c15), 1e-9);
    // Copy 2: a further step of (0.9 + 0.81) x 10 / 2 = 8.55 at 30°.
    EXPECT_NEAR(Centre(Copy(g, 2)).x, c1.x + 8.55 * std::cos(30 * kDeg), 1e-9);
    EXPECT_NEAR(Centre(Copy(g, 2)).y, c1.y + 8.55 * std::sin(30 * kDeg), 1e-9);
    const VtgRect b2 = Box(Copy(g, 2));
    // Turned 30°, a square of side 8.1 spans 8.1 (cos 30° + sin 30°).
    EXPECT_NEAR(b2.right - b2.left, 8.1 * (std::cos(30 * kDeg) + std::sin(30 * kDeg)), 1e-9);
}

// The chain's variants as a table: each copy's centre as worked out by
// hand, its size, and where the first anchor went.
TEST_F(LiveGeneration, LinesTurnsNegativeRatesAndZeroWidth) {
    ArtNode* line = nullptr;
    ASSERT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtPath, kVtgPlaceInsideOnBottom, nullptr, line),
              kNoErr);
    line->s.segments = {vtgtest::Corner(0, 0), vtgtest::Corner(0, 10)};
    struct Case {
        const char* what;
        int32_t feedMode;
        double distance, rate, direction, turn;
        ArtNode* source;
        std::vector<VtgPoint> centres; // copies 0, 1, 2
        std::vector<VtgPoint> firstAnchors;
    } cases[] = {
        {"equal copies in a line at 90°",
         0,
         1.0,
         1.0,
         90 * kDeg,
         0,
         square_,
         {{5, 5}, {5, 15}, {5, 25}},
         {{0, 0}, {0, 10}, {0, 20}}},
        {"absolute steps of 7 pt at 180°",
         1,
         7,
         1.0,
         kPi,
         0,
         square_,
         {{5, 5}, {-2, 5}, {-9, 5}},
         {{0, 0}, {-7, 0}, {-14, 0}}},
        // g: 1, -0.5, 0.25; steps (1 - 0.5) x 5 = 2.5, then (-0.5 + 0.25) x 5.
        {"rate -50 %: every second copy half-turned",
         0,
         1.0,
         -0.5,
         0,
         0,
         square_,
         {{5, 5}, {7.5, 5}, {6.25, 5}},
         {{0, 0}, {10, 7.5}, {5, 3.75}}},
        // A vertical line has no width: every copy stays on the source.
        {"zero width in mode 0",
         0,
         1.0,
         0.5,
         0,
         90 * kDeg,
         line,
         {{0, 5}, {0, 5}, {0, 5}},
         {{0, 0}, {2.5, 5}, {0, 6.25}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GenerationPGParams p = record_;
        p.count = 3;
        p.feedMode = c.feedMode;
        p.distance = c.distance;
        p.rate = c.rate;
        p.direction = c.direction;
        p.directionChange = c.turn;
        ArtNode* g = Generate(p, c.source);
        ASSERT_EQ(g->s.children.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(Centre(Copy(g, i)).x, c.centres[i].x, 1e-9) << i;
            EXPECT_NEAR(Centre(Copy(g, i)).y, c.centres[i].y, 1e-9) << i;
            EXPECT_NEAR(Copy(g, i)->s.segments[0].anchor.x, c.firstAnchors[i].x, 1e-9) << i;
            EXPECT_NEAR(Copy(g, i)->s.segments[0].anchor.y, c.firstAnchors[i].y, 1e-9) << i;
        }
    }
}

TEST_F(LiveGeneration, StackingBelowPutsTheFirstCopyOnTop) {
    record_.count = 4;
    record_.stacking = 1;
    ArtNode* g = Generate(record_);
    ASSERT_EQ(g->s.children.size(), 4u);
    // The first copy (on the source) is the topmost; the smallest the lowest.
    EXPECT_NEAR(Centre(g->s.children[0]).x, 5, 1e-12);
    EXPECT_NEAR(Centre(g->s.children[0]).y, 5, 1e-12);
    EXPECT_LT(Box(g->s.children[3]).right - Box(g->s.children[3]).left,
              Box(g->s.children[2]).right - Box(g->s.children[2]).left);
}

// A chain whose copies grow past what a double holds ends at the last
// finite copy; every coordinate made is a number.
TEST_F(LiveGeneration, AChainGrowingBeyondDoublesStopsWithFiniteCopies) {
    for (double rate : {200.0, -200.0}) {
        record_.count = 400;
        record_.rate = rate;
        ArtNode* g = Generate(record_);
        EXPECT_GT(g->s.children.size(), 100u) << rate;
        EXPECT_LT(g->s.children.size(), 400u) << rate;
        for (const ArtNode* copy : g->s.children)
            for (const PathSegment& s : copy->s.segments)
                ASSERT_TRUE(std::isfinite(s.anchor.x) && std::isfinite(s.anchor.y) &&
                            std::isfinite(s.in.x) && std::isfinite(s.out.y))
                    << rate;
    }
}

// Stored counts through the host's regeneration: none or negative makes
// nothing, beyond the panel's maximum is refused with the result kept.
TEST_F(LiveGeneration, StoredCountsGiveNothingOrAClearRefusal) {
    record_.count = 3;
    Select({square_});
    Apply();
    ArtNode* live = TopLevel().at(0);
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    auto made = [&] { return live->s.plugin.result->s.children.at(0)->s.children.size(); };
    ASSERT_EQ(made(), 3u);
    struct Case {
        int32_t count;
        ErrorCode result;
        size_t made;
    } cases[] = {{0, kNoErr, 0},
                 {-1, kNoErr, 0},
                 {2, kNoErr, 2},
                 {32768, vtg::kResultTooLargeErr, 2},
                 {0x40000000, vtg::kResultTooLargeErr, 2},
                 {INT32_MAX, vtg::kResultTooLargeErr, 2}};
    for (const Case& c : cases) {
        GenerationPGParams p = record_;
        p.count = c.count;
        vtg::SetCurrentKind(vtg::kKindGeneration);
        ASSERT_EQ(vtg::StoreParamBlock(DocStore::handle(live), &p), kNoErr);
        EXPECT_EQ(hostapp::UpdatePluginArt(host(), live), c.result) << c.count;
        EXPECT_EQ(made(), c.made) << c.count;
    }
    record_.count = 40000;
    EXPECT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindGeneration, &record_), vtg::kResultTooLargeErr);
}

TEST_F(LiveGeneration, SavedDocumentRegeneratesIdenticallyAndReapplyTakesNewSettings) {
    Select({square_});
    Apply();
    const std::string saved = hostapp::svg::WriteSvgText(*doc_);
    Document* reopened = nullptr;
    hostapp::svg::SvgError error;
    ASSERT_TRUE(hostapp::svg::ReadSvgText(host().docs(), saved, "saved.svg", reopened, error))
        << error.message;
    ArtNode* live = reopened->layers[0]->group->s.children[0];
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    live->s.plugin.result->s.children.clear();
    ASSERT_EQ(hostapp::UpdateAllPluginArt(host(), *reopened), kNoErr);
    EXPECT_EQ(hostapp::svg::WriteSvgText(*reopened), saved);
    // Apply again on the selected live object: it takes the new settings.
    host().docs().setCurrent(doc_);
    ArtNode* first = TopLevel().at(0);
    Select({first});
    record_.count = 5;
    Apply();
    ArtNode* now = TopLevel().at(0);
    ASSERT_EQ(now->s.kind, kVtgArtPlugin);
    EXPECT_EQ(now->s.plugin.result->s.children.at(0)->s.children.size(), 5u);
    EXPECT_EQ(TopLevel().size(), 1u);
}

// The panel: the count's limits, the stored forms, and the spacing-mode
// switch with and without a reference to convert by.
TEST_F(LiveGeneration, PanelLimitsAndTheSpacingModeSwitch) {
    ArtNode* wide = AddSquare("wide", 100, 100, 40);
    Select({wide});
    ASSERT_EQ(host().chooseMenu("VERTiGON6_06"), kNoErr);
    ASSERT_NE(plugin()->liveController(), nullptr);
    ASSERT_EQ(plugin()->liveController()->kind(), vtg::kKindGeneration);
    vtgtest::UiDriver ui;
    ui.address(plugin()->liveController()->view()->window());
    auto& p = *static_cast<GenerationPGParams*>(plugin()->liveController()->record());
    ASSERT_EQ(ui.click(1418), ""); // live update off
    struct Count {
        const char* typed;
        int32_t stored;
    } counts[] = {{"1", 2}, {"-5", 2}, {"40000", 32767}, {"7", 7}};
    for (const Count& c : counts) {
        ASSERT_EQ(ui.text(V::kCountEdit, c.typed), "");
        EXPECT_EQ(p.count, c.stored) << c.typed;
    }
    ASSERT_EQ(ui.text(V::kRateEdit, "80"), "");
    EXPECT_DOUBLE_EQ(p.rate, 0.8);
    ASSERT_EQ(ui.text(V::kTurnEdit, "-45"), "");
    EXPECT_NEAR(p.directionChange, -kPi / 4, 1e-15);
    ASSERT_EQ(ui.text(V::kRelativeEdit, "50"), "");
    EXPECT_DOUBLE_EQ(p.distance, 0.5);
    EXPECT_TRUE(platform::IsVisible(platform::GetItem(ui.addressed(), V::kRelativeEdit)));
    EXPECT_FALSE(platform::IsVisible(platform::GetItem(ui.addressed(), V::kDistanceEdit)));
    // 50 % of the selection's 40-point width is 20 points.
    ASSERT_EQ(ui.choose(V::kFeedMode, 1), "");
    EXPECT_EQ(p.feedMode, 1);
    EXPECT_DOUBLE_EQ(p.distance, 20);
    EXPECT_FALSE(platform::IsVisible(platform::GetItem(ui.addressed(), V::kRelativeEdit)));
    EXPECT_TRUE(platform::IsVisible(platform::GetItem(ui.addressed(), V::kDistanceEdit)));
    // And back: 10 points of 40 is 25 %.
    ASSERT_EQ(ui.text(V::kDistanceEdit, "10"), "");
    ASSERT_EQ(ui.choose(V::kFeedMode, 0), "");
    EXPECT_DOUBLE_EQ(p.distance, 0.25);
    // Nothing selected to measure: the number stays and is read in the new unit.
    Select({});
    ASSERT_EQ(ui.choose(V::kFeedMode, 1), "");
    EXPECT_EQ(p.feedMode, 1);
    EXPECT_DOUBLE_EQ(p.distance, 0.25);
    // A selected art without width (a vertical line) converts nothing either.
    ArtNode* line = nullptr;
    ASSERT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtPath, kVtgPlaceInsideOnBottom, nullptr, line),
              kNoErr);
    line->s.segments = {vtgtest::Corner(50, 0), vtgtest::Corner(50, 10)};
    Select({line});
    ASSERT_EQ(ui.choose(V::kFeedMode, 0), "");
    EXPECT_EQ(p.feedMode, 0);
    EXPECT_DOUBLE_EQ(p.distance, 0.25);
    EXPECT_TRUE(std::isfinite(p.distance));
}

// Recorded with the panel's record, played back into it: the units of the
// recording and the conversions back.
TEST_F(LiveGeneration, ActionRecordsAndPlaysBack) {
    const vtg::LiveAction* action = vtg::LiveActionOfKind(vtg::kKindGeneration);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->index, 9);
    EXPECT_STREQ(action->name, "VtG4_Generation_Action");
    ASSERT_EQ(action->paramCount, 7);
    EXPECT_STREQ(action->params[1].label, "");
    for (int32_t mode : {0, 1}) {
        SCOPED_TRACE(mode);
        ValueBlockHandle block = nullptr;
        ASSERT_EQ(vtg::sAction->NewValueBlock(&block), kNoErr);
        GenerationPGParams p = record_;
        p.count = 9;
        p.feedMode = mode;
        p.distance = mode == 0 ? 0.75 : 12.5;
        p.rate = 1.1;
        p.direction = -30 * kDeg;
        p.directionChange = 400 * kDeg;
        p.stacking = 1;
        vtg::ActionWriter out(block);
        action->record(out, &p);
        ASSERT_EQ(out.error(), kNoErr);
        double v = 0;
        char unit[16] = {};
        ASSERT_EQ(vtg::sAction->GetReal(block, vtg::ActionKey("move"), &v, unit), kNoErr);
        EXPECT_DOUBLE_EQ(v, mode == 0 ? 75 : 12.5);
        EXPECT_STREQ(unit, mode == 0 ? "#Prc" : "#Pxl");
        ASSERT_EQ(vtg::sAction->GetReal(block, vtg::ActionKey("rotR"), &v, unit), kNoErr);
        EXPECT_NEAR(v, 400, 1e-9);
        EXPECT_STREQ(unit, "#Ang");
        GenerationPGParams back{};
        ASSERT_EQ(action->play(vtg::ActionReader(block), &back), kNoErr);
        EXPECT_EQ(back.count, 9);
        EXPECT_EQ(back.feedMode, mode);
        EXPECT_NEAR(back.distance, p.distance, 1e-12);
        EXPECT_NEAR(back.rate, 1.1, 1e-12);
        EXPECT_NEAR(back.direction, p.direction, 1e-12);
        EXPECT_NEAR(back.directionChange, p.directionChange, 1e-12);
        EXPECT_EQ(back.stacking, 1);
        vtg::sAction->DisposeValueBlock(block);
    }
}

} // namespace
