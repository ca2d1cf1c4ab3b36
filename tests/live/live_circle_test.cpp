// Live Circle through the host: the generator's geometry, stacking and
// randomisation, the stored-count guards, the seed accumulator, and the
// live-object walks (Apply, Release, Expand, update of the selection) with
// regeneration by the host, also after saving and reopening.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <vector>

#include "core/error_alert.hpp"
#include "core/plugin_globals.hpp"
#include "core/suite_set.hpp"
#include "core/vertigon_plugin.hpp"
#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "live/circle/circle_generator.hpp"
#include "live/live_object.hpp"
#include "live/pg_ctrlr.hpp"
#include "platform/input.hpp"
#include "platform/system.hpp"
#include "platform/window.hpp"
#include "support/document_fixture.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using vtg::CirclePGParams;

constexpr double kPi = std::numbers::pi;

using vtgtest::Corner;

VtgPoint Centre(const ArtNode* a) {
    VtgRect r{};
    hostapp::doc::Bounds(a, hostapp::doc::kIdentity, kVtgBoundsControlPoints, r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

VtgPoint Rotate(VtgPoint p, VtgPoint c, double a, double sy = 1) {
    const double dx = p.x - c.x, dy = p.y - c.y;
    return {c.x + dx * std::cos(a) - dy * std::sin(a),
            c.y + sy * (dx * std::sin(a) + dy * std::cos(a))};
}

std::vector<VtgPoint> Anchors(const ArtNode* a) {
    std::vector<VtgPoint> out;
    for (const PathSegment& s : a->s.segments)
        out.push_back(s.anchor);
    return out;
}

class LiveCircle : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 100, 100, 100);
        vtg::SetKindDefaults(vtg::kKindCircle, &record_);
        record_.seed = 12345;
    }
    // Generates straight into a fresh group, as the update routine does.
    ArtNode* Generate(const CirclePGParams& p, ErrorCode expected = kNoErr) {
        ArtNode* group = nullptr;
        EXPECT_EQ(
            hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnTop, nullptr, group),
            kNoErr);
        EXPECT_EQ(vtg::GenerateCircle(DocStore::handle(group), DocStore::handle(square_), p),
                  expected);
        return group;
    }
    // Apply on the selection, then the host's regeneration.
    void Apply() {
        ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindCircle, &record_), kNoErr);
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    }
    // The generated group of a live object.
    static ArtNode* Generated(const ArtNode* live) {
        EXPECT_EQ(live->s.kind, kVtgArtPlugin);
        EXPECT_EQ(live->s.plugin.result->s.children.size(), 1u);
        return live->s.plugin.result->s.children.at(0);
    }

    ArtNode* square_ = nullptr;
    CirclePGParams record_{};
};

TEST_F(LiveCircle, DefaultsMakeARingOfTwelveLeftOfTheSourceAndACross) {
    ArtNode* g = Generate(record_);
    ASSERT_EQ(g->s.children.size(), 13u); // the mark, then the copies
    const VtgPoint pc{100 - 36, 150};
    const ArtNode* mark = g->s.children[0];
    ASSERT_EQ(mark->s.kind, kVtgArtGroup);
    EXPECT_NE(mark->s.attributes & kVtgArtLocked, 0);
    ASSERT_EQ(mark->s.children.size(), 2u);
    // The vertical path was made last, on top.
    const std::vector<VtgPoint> v = Anchors(mark->s.children[0]);
    const std::vector<VtgPoint> h = Anchors(mark->s.children[1]);
    ASSERT_EQ(h.size(), 3u);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_DOUBLE_EQ(h[0].x, pc.x - 8);
    EXPECT_DOUBLE_EQ(h[2].x, pc.x + 8);
    EXPECT_DOUBLE_EQ(h[1].y, pc.y);
    EXPECT_DOUBLE_EQ(v[0].y, pc.y - 8);
    EXPECT_DOUBLE_EQ(v[2].y, pc.y + 8);
    EXPECT_DOUBLE_EQ(v[1].x, pc.x);
    for (const ArtNode* path : mark->s.children)
        EXPECT_NE(path->s.attributes & kVtgArtGuide, 0);
    // Copy i (topmost first) is the source turned by i x 30 degrees.
    for (int i = 0; i < 12; ++i) {
        const VtgPoint want = Rotate({150, 150}, pc, i * kPi / 6);
        const VtgPoint got = Centre(g->s.children[1 + i]);
        EXPECT_NEAR(got.x, want.x, 1e-9) << i;
        EXPECT_NEAR(got.y, want.y, 1e-9) << i;
        const std::vector<VtgPoint> a = Anchors(g->s.children[1 + i]);
        const VtgPoint corner = Rotate({100, 100}, pc, i * kPi / 6);
        EXPECT_NEAR(a[0].x, corner.x, 1e-9) << i;
        EXPECT_NEAR(a[0].y, corner.y, 1e-9) << i;
    }
}

TEST_F(LiveCircle, KeepAngleWithHalfHeightSquashesRingAndCopies) {
    record_.keepAngle = 1;
    record_.heightRatio = 0.5;
    record_.showCentre = 0;
    ArtNode* g = Generate(record_);
    ASSERT_EQ(g->s.children.size(), 12u);
    const VtgPoint pc{64, 150};
    for (int i = 0; i < 12; ++i) {
        const ArtNode* copy = g->s.children[i];
        VtgRect r{};
        hostapp::doc::Bounds(copy, hostapp::doc::kIdentity, kVtgBoundsControlPoints, r);
        EXPECT_NEAR(r.right - r.left, 100, 1e-9) << i;
        EXPECT_NEAR(r.top - r.bottom, 50, 1e-9) << i;
        const VtgPoint want = Rotate({150, 150}, pc, i * kPi / 6, 0.5);
        EXPECT_NEAR(Centre(copy).x, want.x, 1e-9) << i;
        EXPECT_NEAR(Centre(copy).y, want.y, 1e-9) << i;
        // Not turned: the first anchor is still the lower left corner.
        const std::vector<VtgPoint> a = Anchors(copy);
        EXPECT_NEAR(a[0].x, r.left, 1e-9) << i;
        EXPECT_NEAR(a[0].y, r.bottom, 1e-9) << i;
    }
}

TEST_F(LiveCircle, TwoStepRotationEndsWhereOneRotationWould) {
    for (double a : {0.0, kPi, 2 * kPi, kPi - 0.0005, 3 * kPi + 0.0009})
        EXPECT_TRUE(vtg::NearMultipleOfPi(a)) << a;
    for (double a : {0.002, kPi / 2, kPi + 0.0011, -kPi / 3})
        EXPECT_FALSE(vtg::NearMultipleOfPi(a)) << a;
    record_.showCentre = 0;
    ArtNode* g = Generate(record_);
    const VtgPoint pc{64, 150};
    for (int i : {0, 6}) { // 0 and 180 degrees
        const std::vector<VtgPoint> a = Anchors(g->s.children[i]);
        const std::vector<VtgPoint> src = Anchors(square_);
        for (size_t k = 0; k < a.size(); ++k) {
            const VtgPoint want = Rotate(src[k], pc, i * kPi / 6);
            EXPECT_NEAR(a[k].x, want.x, 1e-9) << i;
            EXPECT_NEAR(a[k].y, want.y, 1e-9) << i;
        }
    }
}

TEST_F(LiveCircle, RandomisationRepeatsForTheSameSeed) {
    record_.randomOn = 1;
    record_.anchorRadialOn = record_.anchorAngleOn = record_.outAngleOn = 1;
    record_.anchorRadial = 0.5;
    record_.showCentre = 0;
    ArtNode* first = Generate(record_);
    ArtNode* second = Generate(record_);
    ASSERT_EQ(first->s.children.size(), 12u);
    bool moved = false;
    ArtNode* plain = nullptr;
    {
        CirclePGParams p = record_;
        p.randomOn = 0;
        plain = Generate(p);
    }
    for (int i = 0; i < 12; ++i) {
        const auto a = first->s.children[i]->s.segments, b = second->s.children[i]->s.segments;
        ASSERT_EQ(a.size(), b.size());
        EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(PathSegment)), 0) << i;
        const auto c = plain->s.children[i]->s.segments;
        moved = moved || std::memcmp(a.data(), c.data(), a.size() * sizeof(PathSegment)) != 0;
    }
    EXPECT_TRUE(moved);
    record_.seed = 999;
    ArtNode* other = Generate(record_);
    EXPECT_NE(std::memcmp(other->s.children[1]->s.segments.data(),
                          first->s.children[1]->s.segments.data(), 4 * sizeof(PathSegment)),
              0);
}

TEST_F(LiveCircle, RandomStackingWithoutFlagsOnlyShuffles) {
    record_.showCentre = 0;
    ArtNode* plain = Generate(record_);
    record_.randomOn = 1;
    record_.randomOrder = 1;
    ArtNode* shuffled = Generate(record_);
    ASSERT_EQ(shuffled->s.children.size(), 12u);
    std::vector<bool> found(12, false);
    bool reordered = false;
    for (int i = 0; i < 12; ++i) {
        const VtgPoint c = Centre(shuffled->s.children[i]);
        for (int k = 0; k < 12; ++k) {
            const VtgPoint p = Centre(plain->s.children[k]);
            if (std::fabs(p.x - c.x) < 1e-9 && std::fabs(p.y - c.y) < 1e-9) {
                found[k] = true;
                reordered = reordered || k != i;
            }
        }
    }
    for (int k = 0; k < 12; ++k)
        EXPECT_TRUE(found[k]) << k;
    EXPECT_TRUE(reordered);
    // Reverse order turns the plain stack upside down.
    record_.randomOn = 0;
    record_.reverseOrder = 1;
    ArtNode* reversed = Generate(record_);
    for (int i = 0; i < 12; ++i)
        EXPECT_NEAR(Centre(reversed->s.children[i]).x, Centre(plain->s.children[11 - i]).x, 1e-9);
}

TEST_F(LiveCircle, StoredCountsNeverOverrunAndOutOfMemoryIsReported) {
    record_.showCentre = 0;
    struct Case {
        int32_t copies;
        ErrorCode result;
        size_t made;
    } cases[] = {{0, kNoErr, 0},
                 {-1, kNoErr, 0},
                 {2, kNoErr, 2},
                 {0x40000000, kOutOfMemoryErr, 0},
                 {2147483647, kOutOfMemoryErr, 0}};
    for (const Case& c : cases) {
        record_.copies = c.copies;
        ArtNode* g = Generate(record_, c.result);
        EXPECT_EQ(g->s.children.size(), c.made) << c.copies;
    }
    host().memory().failName("Circle Copies");
    record_.copies = 12;
    EXPECT_EQ(Generate(record_, kOutOfMemoryErr)->s.children.size(), 0u);
}

TEST_F(LiveCircle, SeedAccumulatorWrapsWithoutOverflow) {
    int32_t acc = 0x7FFFFFFF - 100;
    // 0.5 adds 5000: the sum wraps to a negative accumulator.
    const int32_t seed = vtg::NextAccumulatedSeed(acc, 0xFFFFFFFFu, 0.5);
    EXPECT_EQ(acc, static_cast<int32_t>(0x7FFFFFFFu - 100u + 5000u));
    EXPECT_EQ(seed,
              static_cast<int32_t>((0x7FFFFFFFu + (0x7FFFFFFFu - 100u + 5000u)) & 0x7FFFFFFF));
    EXPECT_GE(seed, 0);
    CirclePGParams p = record_;
    p.seedFixed = 0;
    vtg::ChooseCircleSeed(p);
    EXPECT_EQ(p.seedFixed, 1);
    EXPECT_GE(p.seed, 0);
    p.seed = 77;
    vtg::ChooseCircleSeed(p);
    EXPECT_EQ(p.seed, 77);
}

TEST_F(LiveCircle, ApplyReleaseAndExpandThroughTheSelection) {
    ArtNode* clip = AddSquare("clip", 300, 300, 10);
    clip->s.attributes |= kVtgArtClipping;
    Select({square_, clip});
    Apply();
    std::vector<ArtNode*> top = TopLevel();
    ASSERT_EQ(top.size(), 2u);
    ArtNode* live = top[0];
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    EXPECT_EQ(top[1], clip); // a clipping path is skipped
    ASSERT_EQ(live->s.plugin.edit->s.children.size(), 1u);
    EXPECT_EQ(live->s.plugin.edit->s.children[0], square_);
    EXPECT_EQ(Generated(live)->s.children.size(), 13u);

    // Moving the source regenerates the ring around the new place.
    Select({live});
    hostapp::doc::TransformArt(square_, {1, 0, 0, 1, 50, 0}, 1, kVtgTransformAll);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    EXPECT_NEAR(Centre(Generated(live)->s.children[1]).x, 200, 1e-9);

    // An update of the selection writes new values; the host regenerates.
    Select({live});
    record_.copies = 4;
    ASSERT_EQ(vtg::UpdateSelectedLiveObjectsOf(vtg::kKindCircle, &record_, 8), kNoErr);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    EXPECT_EQ(Generated(live)->s.children.size(), 5u);

    // Release gives the source back.
    Select({live});
    ASSERT_EQ(vtg::ReleaseLiveObjectsOf(vtg::kKindCircle), kNoErr);
    top = TopLevel();
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0]->s.kind, kVtgArtPath);
    EXPECT_FALSE(live->s.alive);

    // Expand leaves the generated art.
    Select({top[0]});
    Apply();
    Select({TopLevel()[0]});
    ASSERT_EQ(vtg::ExpandLiveObjectsOf(vtg::kKindCircle), kNoErr);
    top = TopLevel();
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0]->s.kind, kVtgArtGroup);
    EXPECT_EQ(top[0]->s.children.size(), 5u);
}

TEST_F(LiveCircle, ApplyStopsAtAnotherKindsLiveObject) {
    Select({square_});
    Apply();
    ArtNode* live = TopLevel()[0];
    // Make it look like another kind's object.
    live->s.plugin.group = vtg::gGlobals->groups[vtg::kKindBorder];
    live->s.plugin.groupName = "other";
    ArtNode* second = AddSquare("second", 300, 0, 20);
    Select({live, second});
    ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindCircle, &record_), kNoErr);
    EXPECT_EQ(TopLevel().size(), 2u); // the walk stopped before "second"
    EXPECT_EQ(TopLevel()[1], second);
}

TEST_F(LiveCircle, SavedDocumentRegeneratesIdentically) {
    record_.randomOn = 1;
    record_.anchorAngleOn = 1;
    record_.anchorAngle = 1;
    Select({square_});
    Apply();
    const std::string saved = hostapp::svg::WriteSvgText(*doc_);
    Document* reopened = nullptr;
    hostapp::svg::SvgError error;
    ASSERT_TRUE(hostapp::svg::ReadSvgText(host().docs(), saved, "saved.svg", reopened, error))
        << error.message;
    ArtNode* live = reopened->layers[0]->group->s.children[0];
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    // Empty the result, then let the host generate it again.
    live->s.plugin.result->s.children.clear();
    ASSERT_EQ(hostapp::UpdateAllPluginArt(host(), *reopened), kNoErr);
    EXPECT_EQ(hostapp::svg::WriteSvgText(*reopened), saved);
}

// The panel: its controls write the panel's record, its buttons run the
// walks, and with live update on the selected circles follow at once.
TEST_F(LiveCircle, PanelButtonsAndLiveUpdate) {
    Select({square_});
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    auto* plugin = static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    ASSERT_NE(plugin->liveController(), nullptr);
    const platform::WindowId view = plugin->liveController()->view()->window();
    auto item = [&](int id) { return platform::GetItem(view, id); };
    EXPECT_TRUE(platform::IsEnabled(item(1421)));
    EXPECT_FALSE(platform::IsEnabled(item(1420)));
    EXPECT_EQ(platform::user::Type(item(1688), "1"), ""); // below 2 becomes 2
    EXPECT_EQ(platform::GetText(item(1688)), "2");
    EXPECT_EQ(platform::user::Type(item(1688), "6"), "");
    EXPECT_EQ(platform::user::Click(item(1421)), "");
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    ArtNode* live = TopLevel()[0];
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    EXPECT_EQ(Generated(live)->s.children.size(), 7u);

    // With the object selected the panel offers Release and Expand; a value
    // typed now changes the object at once.
    Select({live});
    ASSERT_EQ(plugin->liveController()->SyncPanelWithSelection(false), kNoErr);
    EXPECT_TRUE(platform::IsEnabled(item(1420)));
    EXPECT_TRUE(platform::IsEnabled(item(1419)));
    EXPECT_EQ(platform::user::Type(item(1688), "3"), "");
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    EXPECT_EQ(Generated(live)->s.children.size(), 4u);

    // Live update off: typing changes nothing; switching it on applies.
    EXPECT_EQ(platform::user::Click(item(1418)), "");
    EXPECT_EQ(platform::user::Type(item(1688), "5"), "");
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    EXPECT_EQ(Generated(live)->s.children.size(), 4u);
    EXPECT_EQ(platform::user::Click(item(1418)), "");
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    EXPECT_EQ(Generated(live)->s.children.size(), 6u);

    // A spin steps the field by one.
    EXPECT_EQ(platform::user::Spin(item(1689), 1), "");
    EXPECT_EQ(platform::GetText(item(1688)), "6");
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    EXPECT_EQ(Generated(live)->s.children.size(), 7u);

    EXPECT_EQ(platform::user::Click(item(1419)), ""); // Expand
    EXPECT_FALSE(live->s.alive);
    ASSERT_EQ(TopLevel()[0]->s.kind, kVtgArtGroup);
    EXPECT_EQ(TopLevel()[0]->s.children.size(), 7u);
}

// "乱数列変更" with live update gives every selected circle a new seed of
// its own; the panel's own seed stays.
TEST_F(LiveCircle, NewRandomSequenceForEachSelectedCircle) {
    ArtNode* second = AddSquare("second", 100, 250, 50);
    Select({square_, second});
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    auto* plugin = static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    const platform::WindowId view = plugin->liveController()->view()->window();
    auto item = [&](int id) { return platform::GetItem(view, id); };
    EXPECT_EQ(platform::user::Click(item(1593)), ""); // ランダム
    EXPECT_EQ(platform::user::Click(item(1576)), "");
    EXPECT_EQ(platform::user::Click(item(1421)), "");
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    std::vector<ArtNode*> lives = TopLevel();
    ASSERT_EQ(lives.size(), 2u);
    auto seed = [&](ArtNode* live) {
        vtg::SetCurrentKind(vtg::kKindCircle);
        CirclePGParams p{};
        EXPECT_EQ(vtg::LoadParamBlock(DocStore::handle(live), &p), kNoErr);
        return p.seed;
    };
    const int32_t before[2] = {seed(lives[0]), seed(lives[1])};
    EXPECT_EQ(before[0], before[1]); // Apply wrote the panel's seed
    const int32_t panelSeed =
        static_cast<CirclePGParams*>(plugin->liveController()->record())->seed;
    Select(lives);
    int ticks = 1000;
    platform::SetTickSource([&] { return static_cast<uint32_t>(ticks += 7); });
    EXPECT_EQ(platform::user::Click(item(1948)), "");
    platform::SetTickSource({});
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    const int32_t after[2] = {seed(lives[0]), seed(lives[1])};
    EXPECT_NE(after[0], before[0]);
    EXPECT_NE(after[1], before[1]);
    EXPECT_NE(after[0], after[1]);
    EXPECT_EQ(static_cast<CirclePGParams*>(plugin->liveController()->record())->seed, panelSeed);
}

// The flyout's "初期設定" loads the built-in values into the panel and, with
// live update on, into the selected circle.
TEST_F(LiveCircle, FlyoutDefaultsReachTheSelection) {
    Select({square_});
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    auto* plugin = static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    const platform::WindowId view = plugin->liveController()->view()->window();
    auto item = [&](int id) { return platform::GetItem(view, id); };
    EXPECT_EQ(platform::user::Type(item(1688), "3"), "");
    EXPECT_EQ(platform::user::Click(item(1421)), "");
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    ArtNode* live = TopLevel()[0];
    ASSERT_EQ(Generated(live)->s.children.size(), 4u);
    Select({live});
    ASSERT_EQ(host().chooseFlyoutItem("__QrLw_VERTiGON4PG_v46_PrefsPrefix__", 1), kNoErr);
    EXPECT_EQ(platform::GetText(item(1688)), "12");
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    EXPECT_EQ(Generated(live)->s.children.size(), 13u);
}

} // namespace

namespace {

// The offsets are lengths in the document's ruler units; the panel follows
// a drag of its size; the flyout's item 6 shows the About box.
TEST_F(LiveCircle, PanelUnitsResizeAndAboutBox) {
    doc_->rulerUnits = kVtgUnitMillimeters;
    host().notify(kNotifyRulerUnitChanged, nullptr);
    Select({square_});
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    auto* plugin = static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    auto* ctrlr = plugin->liveController();
    const platform::WindowId view = ctrlr->view()->window();
    auto item = [&](int id) { return platform::GetItem(view, id); };
    auto& record = *static_cast<CirclePGParams*>(ctrlr->record());
    struct Case {
        const char* typed;
        double points;
    };
    const Case cases[] = {{"10", 10 * 72 / 25.4}, {"1 in", 72}, {"-20pt", -20}, {"99999", 18000}};
    for (const Case& c : cases) {
        EXPECT_EQ(platform::user::Type(item(1700), c.typed), "");
        EXPECT_NEAR(record.offsetH, c.points, 1e-9) << c.typed;
    }
    EXPECT_EQ(platform::user::Type(item(1702), "zehn"), ""); // not a length: kept
    EXPECT_DOUBLE_EQ(record.offsetV, 0);

    const platform::Rect before = platform::GetRect(view);
    const platform::Rect apply = platform::GetRect(item(1421));
    const char* panel = "__QrLw_VERTiGON4PG_v46_PrefsPrefix__";
    ASSERT_EQ(host().resizePanel(panel, before.width() + 40, before.height() + 30), kNoErr);
    EXPECT_EQ(platform::GetRect(view).width(), before.width() + 40);
    EXPECT_EQ(platform::GetRect(item(1421)).top, apply.top + 30);
    // Below the minimum the host keeps the limit; the view is its own size again.
    ASSERT_EQ(host().resizePanel(panel, 10, 10), kNoErr);
    EXPECT_EQ(platform::GetRect(view).height(), before.height());
    EXPECT_EQ(platform::GetRect(item(1421)).top, apply.top);

    platform::QueueUserInput([] {
        const platform::WindowId about = platform::CurrentModalDialog();
        EXPECT_NE(platform::GetText(platform::GetItem(about, 40061)).find("6.0"),
                  std::string::npos);
        EXPECT_EQ(platform::user::Click(platform::GetItem(about, 1)), "");
    });
    ASSERT_EQ(host().chooseFlyoutItem(panel, 6), kNoErr);
    EXPECT_TRUE(platform::ModalError().empty()) << platform::ModalError();
}

// A preset chosen while the panel is shown applies to the selection with
// live update on; with the panel hidden nothing happens.
TEST_F(LiveCircle, ApplyPresetMakesTheSelectionLive) {
    Select({square_});
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    auto* plugin = static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    auto* ctrlr = plugin->liveController();
    auto item = [&](int id) { return platform::GetItem(ctrlr->view()->window(), id); };
    EXPECT_EQ(platform::user::Type(item(1688), "3"), "");
    ctrlr->ShowPanel(false);
    ASSERT_EQ(ctrlr->ApplyPreset(-2), kNoErr);
    EXPECT_EQ(platform::GetText(item(1688)), "3");
    ctrlr->ShowPanel(true);
    ASSERT_EQ(ctrlr->ApplyPreset(-2), kNoErr);
    EXPECT_EQ(platform::GetText(item(1688)), "12");
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    ArtNode* live = TopLevel()[0];
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    EXPECT_EQ(Generated(live)->s.children.size(), 13u);
}

} // namespace

namespace {

// A stored count whose result could not be built within bounds (beyond the
// panel's 32767 copies, or too many segments in all) is refused with a
// clear error before anything is cleared: the old result stays.
TEST_F(LiveCircle, CountsBeyondTheBoundsAreRefusedAndTheResultKept) {
    ArtNode* big = nullptr;
    ASSERT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtPath, kVtgPlaceInsideOnBottom, nullptr, big),
              kNoErr);
    for (int i = 0; i < 200; ++i)
        big->s.segments.push_back(Corner(300 + i, 300 + (i % 2)));
    big->s.name = "big";
    ArtNode* sources[] = {square_, big};
    struct Case {
        int source;
        int32_t copies;
        ErrorCode result;
    } cases[] = {{0, 5000000, vtg::kResultTooLargeErr},
                 {0, 32768, vtg::kResultTooLargeErr},
                 {1, 30000, vtg::kResultTooLargeErr},
                 {1, 20, kNoErr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.copies);
        ArtNode*& source = sources[c.source];
        record_.copies = 3;
        Select({source});
        Apply();
        ArtNode* live = nullptr;
        for (ArtNode* a : TopLevel())
            if (a->s.kind == kVtgArtPlugin && a->s.plugin.edit->s.children.at(0) == source)
                live = a;
        ASSERT_NE(live, nullptr);
        ArtNode* before = Generated(live);
        CirclePGParams p = record_;
        p.copies = c.copies;
        vtg::SetCurrentKind(vtg::kKindCircle);
        ASSERT_EQ(vtg::StoreParamBlock(DocStore::handle(live), &p), kNoErr);
        EXPECT_EQ(hostapp::UpdatePluginArt(host(), live), c.result);
        if (c.result != kNoErr) {
            EXPECT_EQ(Generated(live), before);
            EXPECT_EQ(before->s.children.size(), 4u); // the mark and three copies
            EXPECT_NE(std::string(vtg::ErrorMessage(c.result)).find("多すぎます"),
                      std::string::npos);
        } else {
            EXPECT_EQ(Generated(live)->s.children.size(), 21u);
        }
        ASSERT_EQ(vtg::ReleaseLiveObject(DocStore::handle(live), false), kNoErr);
        for (ArtNode* a : TopLevel())
            if (a->s.name == source->s.name)
                source = a;
    }
}

// Apply, the update of the selection and a replay with such a count change
// nothing: no source is released, no live object made or rewritten.
TEST_F(LiveCircle, WalksWithACountBeyondTheBoundChangeNothing) {
    record_.copies = 3;
    Select({square_});
    Apply();
    ArtNode* live = TopLevel().at(0);
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    ArtNode* plain = AddSquare("plain", 300, 300, 20);
    Select({live, plain});
    const std::string before = hostapp::svg::WriteSvgText(*doc_);
    record_.copies = 5000000;
    EXPECT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindCircle, &record_), vtg::kResultTooLargeErr);
    EXPECT_EQ(vtg::UpdateSelectedLiveObjectsOf(vtg::kKindCircle, &record_, 8),
              vtg::kResultTooLargeErr);
    EXPECT_EQ(vtg::ApplyWalkOf(vtg::kKindCircle, &record_), vtg::kResultTooLargeErr);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    EXPECT_EQ(hostapp::svg::WriteSvgText(*doc_), before);
}

} // namespace
