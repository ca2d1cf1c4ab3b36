// Live Explosion through the host: the copies worked out by hand from the
// seeded draws, the spacing shapes, the fading of each mode, stored counts
// at the extremes, damaged numbers, and the live object saved, reopened and
// regenerated, and replayed from a recording.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "live/explosion/explosion_generator.hpp"
#include "live/live_actions.hpp"
#include "live/live_copies.hpp"
#include "live/live_object.hpp"
#include "support/document_fixture.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using vtg::ExplosionPGParams;

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180;

// The middle of the square's left edge (its corners 0 and 3), wherever the
// copy went.
VtgPoint LeftMiddle(const ArtNode* a) {
    const auto& s = a->s.segments;
    return {(s[0].anchor.x + s[3].anchor.x) / 2, (s[0].anchor.y + s[3].anchor.y) / 2};
}
double Side(const ArtNode* a) {
    const auto& s = a->s.segments;
    return std::hypot(s[1].anchor.x - s[0].anchor.x, s[1].anchor.y - s[0].anchor.y);
}
bool AllFinite(const ArtNode* a) {
    for (const PathSegment& s : a->s.segments)
        for (const VtgPoint& p : {s.anchor, s.in, s.out})
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                return false;
    for (const ArtNode* c : a->s.children)
        if (!AllFinite(c))
            return false;
    return std::isfinite(a->s.opacity);
}

class LiveExplosion : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 100, 100, 10);
        vtg::SetKindDefaults(vtg::kKindExplosion, &record_);
        record_.seed = 777;
    }
    ArtNode* Generate(const ExplosionPGParams& p) {
        ArtNode* group = nullptr;
        EXPECT_EQ(
            hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnTop, nullptr, group),
            kNoErr);
        EXPECT_EQ(vtg::GenerateExplosion(DocStore::handle(group), DocStore::handle(square_), p),
                  kNoErr);
        return group;
    }
    void Apply() {
        ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindExplosion, &record_), kNoErr);
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    }
    // The host's next uniform numbers after seeding it with `seed`.
    std::vector<double> Draws(int32_t seed, int count) {
        host().random().seed(seed);
        std::vector<double> out;
        for (int i = 0; i < count; ++i)
            out.push_back(host().random().uniform());
        return out;
    }

    ArtNode* square_ = nullptr;
    ExplosionPGParams record_{};
};

// A 10-point square at (100, 100): its left middle Pa = (100, 105), the
// centre Pc = (70, 105). Copy i draws t and v; without direction jitter it
// lies at i x 90 degrees, its left middle at Pc + rotate(i x 90)(30 + 150 v^2,
// 0), scaled by 1 + v^2 (tip 200 %), with opacity v^2 (fading inwards to 0 %).
TEST_F(LiveExplosion, CopiesWorkedOutByHandFromTheDraws) {
    record_.pieces = 4;
    record_.directionJitter = 0;
    record_.showCentre = 1;
    ArtNode* g = Generate(record_);
    ASSERT_EQ(g->s.children.size(), 5u); // the mark on top, then copies 0 .. 3
    const VtgPoint pc{70, 105};
    EXPECT_DOUBLE_EQ(g->s.children[0]->s.children[1]->s.segments[1].anchor.x, pc.x);
    const ArtNode* first = g->s.children[1];
    EXPECT_NEAR(LeftMiddle(first).x, 100, 1e-9);
    EXPECT_NEAR(LeftMiddle(first).y, 105, 1e-9);
    EXPECT_NEAR(Side(first), 10, 1e-9);
    EXPECT_DOUBLE_EQ(first->s.opacity, 0); // fully transparent in the source's place
    const std::vector<double> r = Draws(777, 6);
    for (int i = 1; i < 4; ++i) {
        SCOPED_TRACE(i);
        const double v = r[2 * (i - 1) + 1] * r[2 * (i - 1) + 1];
        const double a = i * kPi / 2, length = 30 + 150 * v;
        const ArtNode* copy = g->s.children[1 + i];
        EXPECT_NEAR(LeftMiddle(copy).x, pc.x + length * std::cos(a), 1e-9);
        EXPECT_NEAR(LeftMiddle(copy).y, pc.y + length * std::sin(a), 1e-9);
        EXPECT_NEAR(Side(copy), 10 * (1 + v), 1e-9);
        EXPECT_NEAR(copy->s.opacity, v, 1e-12);
    }
    // With direction jitter the draw t turns each copy by (t - 0.5) x jitter.
    record_.directionJitter = 90 * kDeg;
    record_.showCentre = 0;
    ArtNode* turned = Generate(record_);
    const double a1 = (r[0] - 0.5) * kPi / 2 + kPi / 2, l1 = 30 + 150 * r[1] * r[1];
    EXPECT_NEAR(LeftMiddle(turned->s.children[1]).x, pc.x + l1 * std::cos(a1), 1e-9);
    EXPECT_NEAR(LeftMiddle(turned->s.children[1]).y, pc.y + l1 * std::sin(a1), 1e-9);
}

TEST_F(LiveExplosion, SpacingShapesAndFadeModes) {
    struct Shape {
        int32_t spacing;
        double v, shaped;
    } shapes[] = {{2, 0.5, 0.25}, {0, 0.5, 0.75}, {1, 0.5, 0.5},
                  {2, 0, 0},      {0, 1, 1},      {7, 0.3, 0.3}};
    for (const Shape& s : shapes)
        EXPECT_DOUBLE_EQ(vtg::ShapeSpacing(s.v, s.spacing), s.shaped) << s.spacing;

    record_.pieces = 3;
    record_.spacing = 1;
    record_.showCentre = 0;
    record_.opacity = 0.2; // f = 0.8
    // Outwards: the first copy keeps full opacity, copy i gets 1 - 0.8 v.
    record_.fadeMode = 1;
    ArtNode* out = Generate(record_);
    std::vector<double> r = Draws(777, 4);
    EXPECT_DOUBLE_EQ(out->s.children[0]->s.opacity, 1);
    EXPECT_NEAR(out->s.children[1]->s.opacity, 1 - 0.8 * r[1], 1e-12);
    EXPECT_NEAR(out->s.children[2]->s.opacity, 1 - 0.8 * r[3], 1e-12);
    // At random: one more draw per copy, after t and v.
    record_.fadeMode = 2;
    ArtNode* random = Generate(record_);
    r = Draws(777, 7);
    EXPECT_NEAR(random->s.children[0]->s.opacity, 1 - r[0], 1e-12);
    EXPECT_NEAR(random->s.children[1]->s.opacity, 1 - 0.8 * r[3], 1e-12);
    EXPECT_NEAR(random->s.children[2]->s.opacity, 1 - 0.8 * r[6], 1e-12);
    // 100 % sets no opacity at all.
    record_.opacity = 1;
    for (const ArtNode* c : Generate(record_)->s.children)
        EXPECT_DOUBLE_EQ(c->s.opacity, 1);
}

// Stored counts at the extremes: none made for 0 or less, one in the
// source's place for 1, beyond the panel's maximum refused.
TEST_F(LiveExplosion, StoredCountsAtTheExtremes) {
    record_.showCentre = 0;
    struct Case {
        int32_t pieces;
        std::int64_t copies;
    } cases[] = {{0, 0}, {-1, 0}, {1, 1}, {32768, -1}, {0x40000000, -1}, {2147483647, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pieces);
        record_.pieces = c.pieces;
        EXPECT_EQ(vtg::ExplosionCopies(record_), c.copies);
        EXPECT_EQ(vtg::CheckRecordBounds(vtg::kKindExplosion, &record_),
                  c.copies < 0 ? vtg::kResultTooLargeErr : kNoErr);
        if (c.copies >= 0) {
            ArtNode* g = Generate(record_);
            ASSERT_EQ(static_cast<std::int64_t>(g->s.children.size()), c.copies);
            if (c.copies == 1) {
                EXPECT_NEAR(LeftMiddle(g->s.children[0]).x, 100, 1e-9);
            }
        }
    }
}

TEST_F(LiveExplosion, DamagedNumbersStayFinite) {
    record_.pieces = 20;
    record_.spread = std::numeric_limits<double>::infinity();
    record_.tipSize = 1e300;
    record_.centreRadius = std::nan("");
    record_.directionJitter = -1e308;
    record_.opacity = -std::numeric_limits<double>::infinity();
    record_.fadeMode = 9;
    ArtNode* g = Generate(record_);
    EXPECT_EQ(g->s.children.size(), 20u);
    EXPECT_TRUE(AllFinite(g));
}

// Saved, reopened and regenerated: the same bytes (opacities included). A
// recording holds the seed and replays the same explosion elsewhere.
TEST_F(LiveExplosion, SavedAndReplayedExplosionsRegenerateIdentically) {
    record_.pieces = 30;
    record_.fadeMode = 2;
    record_.opacity = 0.3;
    host().actions().startRecording();
    Select({square_});
    Apply();
    host().actions().stopRecording();
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

    host().docs().setCurrent(doc_);
    ASSERT_EQ(host().actions().events().size(), 1u);
    const auto& values = host().actions().events()[0].values.values;
    ASSERT_EQ(values.size(), 11u);
    EXPECT_EQ(values[6].text, "加速");
    EXPECT_EQ(values[8].text, "ランダム");
    EXPECT_DOUBLE_EQ(values[9].real, 30);
    EXPECT_EQ(values[10].integer, 777);
    ArtNode* other = AddSquare("other", 100, 100, 10);
    Select({other});
    std::string reason;
    ASSERT_EQ(host().playActions(&reason), kNoErr) << reason;
    const std::vector<ArtNode*> top = TopLevel();
    ASSERT_EQ(top.size(), 2u);
    const ArtNode* g1 = top[0]->s.plugin.result->s.children.at(0);
    const ArtNode* g2 = top[1]->s.plugin.result->s.children.at(0);
    ASSERT_EQ(g1->s.children.size(), 30u);
    ASSERT_EQ(g2->s.children.size(), 30u);
    for (std::size_t i = 0; i < 30; ++i) {
        EXPECT_EQ(g1->s.children[i]->s.opacity, g2->s.children[i]->s.opacity);
        EXPECT_EQ(LeftMiddle(g1->s.children[i]).x, LeftMiddle(g2->s.children[i]).x);
    }
}

} // namespace
