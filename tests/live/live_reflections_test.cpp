// Live Reflections: the images of every style against numbers worked out
// by hand, their stacking, the radial axes with the 0.1 rad rule, the art
// converter on a text source, stored counts and styles, the panel's typed
// axis count, the action, and a saved object that regenerates byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "core/plugin_globals.hpp"
#include "core/suite_set.hpp"
#include "core/vertigon_plugin.hpp"
#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "live/live_actions.hpp"
#include "live/live_copies.hpp"
#include "live/live_object.hpp"
#include "live/reflections/reflections_ctrlr.hpp"
#include "live/reflections/reflections_generator.hpp"
#include "params/live_storage.hpp"
#include "platform/window.hpp"
#include "support/document_fixture.hpp"
#include "support/ui_driver.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using vtg::ReflectionsPGParams;
using V = vtg::ReflectionsPGViewController;

constexpr double kPi = std::numbers::pi;

VtgRect Box(const ArtNode* a) {
    VtgRect r{};
    hostapp::doc::Bounds(a, hostapp::doc::kIdentity, kVtgBoundsControlPoints, r);
    return r;
}

// A point mapped as a whole image maps it: x' = ax * x + bx, y' = ay * y + by
// or, for a turn, about the centre.
struct Map {
    double xx, xy, yx, yy; // the linear part about pm
};
VtgPoint MapPoint(const Map& m, VtgPoint p, VtgPoint pm) {
    const double dx = p.x - pm.x, dy = p.y - pm.y;
    return {pm.x + m.xx * dx + m.xy * dy, pm.y + m.yx * dx + m.yy * dy};
}
Map Turn(double a) {
    return {std::cos(a), -std::sin(a), std::sin(a), std::cos(a)};
}
const Map kSame{1, 0, 0, 1}, kMirrorV{-1, 0, 0, 1}, kMirrorH{1, 0, 0, -1}, kHalf{-1, 0, 0, -1};
Map Then(const Map& first, const Map& second) { // second after first
    return {
        second.xx * first.xx + second.xy * first.yx, second.xx * first.xy + second.xy * first.yy,
        second.yx * first.xx + second.yy * first.yx, second.yx * first.xy + second.yy * first.yy};
}

class LiveReflections : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 100, 100, 50);
        // A corner off the square's symmetry shows every flip and turn.
        square_->s.segments[2].anchor = {150, 160};
        square_->s.segments[2].in = square_->s.segments[2].out = {150, 160};
        vtg::SetKindDefaults(vtg::kKindReflections, &record_);
    }
    vtg::VERTiGON4Plugin* plugin() const {
        return static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin());
    }
    void Apply() {
        ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindReflections, &record_), kNoErr);
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    }
    // The images of the live object made from the square, top to bottom.
    ArtNode* MakeLive() {
        Select({square_});
        Apply();
        ArtNode* live = TopLevel().at(0);
        EXPECT_EQ(live->s.kind, kVtgArtPlugin);
        return live;
    }
    static ArtNode* Images(ArtNode* live) {
        EXPECT_EQ(live->s.plugin.result->s.children.size(), 1u);
        return live->s.plugin.result->s.children.at(0);
    }

    ArtNode* square_ = nullptr;
    ReflectionsPGParams record_{};
};

// Every style through the host's regeneration: each image, top to bottom,
// is the source mapped about the mirror centre as worked out by hand.
TEST_F(LiveReflections, EveryStyleMakesItsImagesInOrder) {
    const std::vector<VtgPoint> source = [&] {
        std::vector<VtgPoint> out;
        for (const PathSegment& s : square_->s.segments)
            out.push_back(s.anchor);
        return out;
    }();
    struct Case {
        const char* what;
        int32_t style, count;
        double offsetH, offsetV;
        VtgPoint pm;
        std::vector<Map> images;
    } cases[] = {
        {"defaults: the vertical axis at the left edge", 1, 3, 0, 0, {100, 100}, {kSame, kMirrorV}},
        {"horizontal axis 10 below", 0, 3, 0, 10, {100, 90}, {kSame, kMirrorH}},
        {"both axes", 2, 3, 0, 0, {100, 100}, {kSame, kMirrorV, kMirrorH, kHalf}},
        {"both axes moved", 2, 3, -20, 5, {120, 95}, {kSame, kMirrorV, kMirrorH, kHalf}},
        {"three radial axes",
         3,
         3,
         0,
         0,
         {100, 100},
         {kSame, kMirrorV, Turn(2 * kPi / 3), Then(kMirrorV, Turn(2 * kPi / 3)), Turn(4 * kPi / 3),
          Then(kMirrorV, Turn(4 * kPi / 3))}},
        {"two radial axes: the images of both axes",
         3,
         2,
         0,
         0,
         {100, 100},
         {kSame, kMirrorV, kHalf, kMirrorH}},
        {"one radial axis: the mirror alone", 3, 1, 0, 0, {100, 100}, {kSame, kMirrorV}},
        {"no radial axis", 3, 0, 0, 0, {100, 100}, {kSame}},
        {"negative radial count", 3, -4, 0, 0, {100, 100}, {kSame}},
        {"a style of no kind: the source alone", 7, 3, 0, 0, {100, 100}, {kSame}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        record_.axisStyle = c.style;
        record_.axisCount = c.count;
        record_.offsetH = c.offsetH;
        record_.offsetV = c.offsetV;
        ArtNode* live = MakeLive();
        ArtNode* g = Images(live);
        ASSERT_EQ(g->s.children.size(), c.images.size());
        for (size_t i = 0; i < c.images.size(); ++i)
            for (size_t k = 0; k < source.size(); ++k) {
                const VtgPoint want = MapPoint(c.images[i], source[k], c.pm);
                const VtgPoint got = g->s.children[i]->s.segments.at(k).anchor;
                EXPECT_NEAR(got.x, want.x, 1e-9) << i << " " << k;
                EXPECT_NEAR(got.y, want.y, 1e-9) << i << " " << k;
            }
        ASSERT_EQ(vtg::ReleaseLiveObject(DocStore::handle(live), false), kNoErr);
        square_ = TopLevel().at(0);
    }
}

TEST_F(LiveReflections, DefaultMirrorEndsAtTheLeftEdgeAndOnlyTheFirstSourceIsUsed) {
    ArtNode* second = AddSquare("second", 300, 300, 20);
    // A live object whose edit art holds the square and, below it, another.
    ArtNode* live = MakeLive();
    ASSERT_EQ(vtg::sArt->MoveArt(DocStore::handle(second), kVtgPlaceInsideOnBottom,
                                 DocStore::handle(live->s.plugin.edit)),
              kNoErr);
    ASSERT_EQ(hostapp::UpdatePluginArt(host(), live), kNoErr);
    ArtNode* g = Images(live);
    ASSERT_EQ(g->s.children.size(), 2u);
    EXPECT_DOUBLE_EQ(Box(g->s.children[1]).right, 100);
    EXPECT_DOUBLE_EQ(Box(g->s.children[1]).left, 50);
}

// Text is reflected as the outlines of its glyphs: the source image in the
// result is made of paths by the host's art converter.
TEST_F(LiveReflections, TextBecomesOutlinesInTheSourceImage) {
    const std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"400\" height=\"400\">"
        "<text id=\"t\" x=\"50\" y=\"200\" font-family=\"DejaVu Sans\" font-size=\"60\">Ab</text>"
        "</svg>";
    Document* d = nullptr;
    hostapp::svg::SvgError error;
    ASSERT_TRUE(hostapp::svg::ReadSvgText(host().docs(), svg, "text.svg", d, error))
        << error.message;
    host().docs().setCurrent(d);
    ArtNode* text = d->layers[0]->group->s.children.at(0);
    ASSERT_TRUE(text->s.kind == kVtgArtTextFrame || text->s.kind == kVtgArtPointText);
    hostapp::doc::SetAttributes(text, kVtgArtSelected, true);
    d->pending = {};
    ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindReflections, &record_), kNoErr);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *d), kNoErr);
    ArtNode* live = d->layers[0]->group->s.children.at(0);
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    ArtNode* g = Images(live);
    ASSERT_EQ(g->s.children.size(), 2u);
    for (const ArtNode* image : g->s.children) {
        EXPECT_EQ(image->s.kind, kVtgArtGroup);
        ASSERT_FALSE(image->s.children.empty());
        hostapp::doc::Walk(const_cast<ArtNode*>(image), true, [](ArtNode* a) {
            EXPECT_NE(a->s.kind, kVtgArtTextFrame);
            EXPECT_NE(a->s.kind, kVtgArtPointText);
            return true;
        });
    }
    // The mirror's right edge lies on the text's left edge.
    EXPECT_NEAR(Box(g->s.children[1]).right, Box(g->s.children[0]).left, 1e-9);
    // The source in the edit art is still text.
    EXPECT_NE(live->s.plugin.edit->s.children.at(0)->s.kind, kVtgArtGroup);
}

// Stored axis counts through the host's regeneration: beyond the panel's
// maximum is refused with the last result kept.
TEST_F(LiveReflections, StoredAxisCountsGiveTheirImagesOrAClearRefusal) {
    record_.axisStyle = 3;
    ArtNode* live = MakeLive();
    auto made = [&] { return Images(live)->s.children.size(); };
    ASSERT_EQ(made(), 6u);
    struct Case {
        int32_t count;
        ErrorCode result;
        size_t made;
    } cases[] = {{0, kNoErr, 1},
                 {-1, kNoErr, 1},
                 {5, kNoErr, 10},
                 {32768, vtg::kResultTooLargeErr, 10},
                 {0x40000000, vtg::kResultTooLargeErr, 10},
                 {INT32_MAX, vtg::kResultTooLargeErr, 10}};
    for (const Case& c : cases) {
        ReflectionsPGParams p = record_;
        p.axisCount = c.count;
        vtg::SetCurrentKind(vtg::kKindReflections);
        ASSERT_EQ(vtg::StoreParamBlock(DocStore::handle(live), &p), kNoErr);
        EXPECT_EQ(hostapp::UpdatePluginArt(host(), live), c.result) << c.count;
        EXPECT_EQ(made(), c.made) << c.count;
    }
}

TEST_F(LiveReflections, SavedDocumentRegeneratesIdenticallyAndReapplyTakesNewSettings) {
    record_.axisStyle = 3;
    record_.axisCount = 5;
    record_.offsetH = 12.5;
    MakeLive();
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
    Select({TopLevel().at(0)});
    record_.axisStyle = 2;
    Apply();
    ASSERT_EQ(TopLevel().size(), 1u);
    EXPECT_EQ(Images(TopLevel().at(0))->s.children.size(), 4u);
}

// The panel: the enabling by style, a typed axis count stored at once (the
// live update follows), the spin's step and limits.
TEST_F(LiveReflections, PanelEnablesByStyleAndStoresATypedAxisCount) {
    ArtNode* live = MakeLive();
    Select({live});
    ASSERT_EQ(host().chooseMenu("VERTiGON6_14"), kNoErr);
    ASSERT_NE(plugin()->liveController(), nullptr);
    ASSERT_EQ(plugin()->liveController()->kind(), vtg::kKindReflections);
    vtgtest::UiDriver ui;
    ui.address(plugin()->liveController()->view()->window());
    auto& p = *static_cast<ReflectionsPGParams*>(plugin()->liveController()->record());
    auto enabled = [&](int id) {
        return platform::IsEnabled(platform::GetItem(ui.addressed(), id));
    };
    struct Enabling {
        int style;
        bool h, v, n;
    } enabling[] = {{0, false, true, false},
                    {1, true, false, false},
                    {2, true, true, false},
                    {3, true, true, true}};
    for (const Enabling& e : enabling) {
        ASSERT_EQ(ui.choose(V::kStyle, e.style), "");
        EXPECT_EQ(p.axisStyle, e.style);
        EXPECT_EQ(enabled(V::kOffsetHEdit), e.h) << e.style;
        EXPECT_EQ(enabled(V::kOffsetVEdit), e.v) << e.style;
        EXPECT_EQ(enabled(V::kCountEdit), e.n) << e.style;
        EXPECT_EQ(enabled(V::kCountSpin), e.n) << e.style;
    }
    // Typed, the count is stored and the selected object follows at once.
    ASSERT_EQ(ui.text(V::kCountEdit, "5"), "");
    EXPECT_EQ(p.axisCount, 5);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    EXPECT_EQ(Images(TopLevel().at(0))->s.children.size(), 10u);
    ASSERT_EQ(ui.spin(V::kCountSpin, true), "");
    EXPECT_EQ(p.axisCount, 6);
    struct Count {
        const char* typed;
        int32_t stored;
    } counts[] = {{"0", 1}, {"-3", 1}, {"99999", 32767}};
    for (const Count& c : counts) {
        ASSERT_EQ(ui.text(V::kCountEdit, c.typed), "");
        EXPECT_EQ(p.axisCount, c.stored) << c.typed;
    }
    ASSERT_EQ(ui.text(V::kOffsetHEdit, "1 in"), "");
    EXPECT_DOUBLE_EQ(p.offsetH, 72);
    ASSERT_EQ(ui.text(V::kOffsetVEdit, "-99999"), "");
    EXPECT_DOUBLE_EQ(p.offsetV, -16383);
}

// Recorded in the stated forms, played back by the style's rules.
TEST_F(LiveReflections, ActionRecordsAndPlaysBackByStyle) {
    const vtg::LiveAction* action = vtg::LiveActionOfKind(vtg::kKindReflections);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->index, 11);
    EXPECT_STREQ(action->name, "VtG4_Reflections_Action");
    struct Case {
        int32_t style;
        double h, v;
        int32_t n;
    } cases[] = {{0, 0, 4, 1}, {1, 3, 0, 1}, {2, 3, 4, 2}, {3, 3, 4, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        ValueBlockHandle block = nullptr;
        ASSERT_EQ(vtg::sAction->NewValueBlock(&block), kNoErr);
        ReflectionsPGParams p = record_;
        p.axisStyle = c.style;
        p.offsetH = 3;
        p.offsetV = 4;
        p.axisCount = 7;
        vtg::ActionWriter out(block);
        action->record(out, &p);
        ASSERT_EQ(out.error(), kNoErr);
        double h = -1, v = -1;
        int32_t n = -1;
        ASSERT_EQ(vtg::sAction->GetReal(block, vtg::ActionKey("hOfs"), &h, nullptr), kNoErr);
        ASSERT_EQ(vtg::sAction->GetReal(block, vtg::ActionKey("vOfs"), &v, nullptr), kNoErr);
        ASSERT_EQ(vtg::sAction->GetInteger(block, vtg::ActionKey("axNm"), &n), kNoErr);
        EXPECT_EQ(h, c.h);
        EXPECT_EQ(v, c.v);
        EXPECT_EQ(n, c.n);
        // Played back into a record of other values: only the style's keys.
        ReflectionsPGParams back{};
        back.offsetH = back.offsetV = 99;
        back.axisCount = 99;
        ASSERT_EQ(action->play(vtg::ActionReader(block), &back), kNoErr);
        EXPECT_EQ(back.axisStyle, c.style);
        EXPECT_EQ(back.offsetH, c.style == 0 ? 99 : 3);
        EXPECT_EQ(back.offsetV, c.style == 1 ? 99 : 4);
        EXPECT_EQ(back.axisCount, c.style == 3 ? 7 : 99);
        vtg::sAction->DisposeValueBlock(block);
    }
}

} // namespace
