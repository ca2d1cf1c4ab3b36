// Live Galaxy through the host: the arms worked out by hand at the defaults,
// the seeded arm values and kinks, stacking and containers, stored counts at
// the extremes, damaged numbers, and the live object saved, reopened and
// regenerated, re-applied and replayed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "live/galaxy/galaxy_generator.hpp"
#include "live/live_actions.hpp"
#include "live/live_copies.hpp"
#include "live/live_object.hpp"
#include "params/live_storage.hpp"
#include "support/document_fixture.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using vtg::GalaxyPGParams;

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180;

VtgRect Box(const ArtNode* a) {
    VtgRect r{};
    hostapp::doc::Bounds(a, hostapp::doc::kIdentity, kVtgBoundsControlPoints, r);
    return r;
}
// The centre of the first two opposite corners: the square's own centre,
// whatever its turn.
VtgPoint SquareCentre(const ArtNode* a) {
    const auto& s = a->s.segments;
    return {(s[0].anchor.x + s[2].anchor.x) / 2, (s[0].anchor.y + s[2].anchor.y) / 2};
}
double Side(const ArtNode* a) {
    const auto& s = a->s.segments;
    return std::hypot(s[1].anchor.x - s[0].anchor.x, s[1].anchor.y - s[0].anchor.y);
}
double Turn(const ArtNode* a) {
    const auto& s = a->s.segments;
    return std::atan2(s[1].anchor.y - s[0].anchor.y, s[1].anchor.x - s[0].anchor.x);
}
VtgPoint Polar(VtgPoint c, double length, double angle) {
    return {c.x + length * std::cos(angle), c.y + length * std::sin(angle)};
}
double AngleDiff(double a, double b) {
    return std::remainder(a - b, 2 * kPi);
}
// Every point of every path below `a` is finite.
bool AllFinite(const ArtNode* a) {
    for (const PathSegment& s : a->s.segments)
        for (const VtgPoint& p : {s.anchor, s.in, s.out})
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                return false;
    for (const ArtNode* c : a->s.children)
        if (!AllFinite(c))
            return false;
    return true;
}

class LiveGalaxy : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 100, 100, 10);
        vtg::SetKindDefaults(vtg::kKindGalaxy, &record_);
        record_.seed = 777;
    }
    ArtNode* Generate(const GalaxyPGParams& p, ErrorCode expected = kNoErr) {
        ArtNode* group = nullptr;
        EXPECT_EQ(
            hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnTop, nullptr, group),
            kNoErr);
        EXPECT_EQ(vtg::GenerateGalaxy(DocStore::handle(group), DocStore::handle(square_), p),
                  expected);
        return group;
    }
    void Apply() {
        ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindGalaxy, &record_), kNoErr);
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    }
    GalaxyPGParams& Panel() {
        return *static_cast<GalaxyPGParams*>(vtg::gGlobals->liveObjectParams[vtg::kKindGalaxy]);
    }

    ArtNode* square_ = nullptr;
    GalaxyPGParams record_{};
};

// Defaults on a 10-point square at (100, 100): the centre 50 points left of
// the left edge, Pc = (50, 105); along an arm copy j lies 55 + 10 j from Pc
// (spread 150 over 15 steps), turned by j x 6 degrees (a quarter turn over
// 15 steps) and scaled by 1 - 0.06 j (to 10 % at the tip); arm i starts at
// i x 45 degrees.
TEST_F(LiveGalaxy, DefaultsMakeEightArmsWorkedOutByHand) {
    ArtNode* g = Generate(record_);
    ASSERT_EQ(g->s.children.size(), 9u); // the mark on top, then arms 7 .. 0
    const VtgPoint pc{50, 105};
    const ArtNode* mark = g->s.children[0];
    EXPECT_NE(mark->s.attributes & kVtgArtLocked, 0);
    EXPECT_DOUBLE_EQ(mark->s.children[1]->s.segments[1].anchor.x, pc.x);
    EXPECT_DOUBLE_EQ(mark->s.children[1]->s.segments[1].anchor.y, pc.y);
    for (int i = 0; i < 8; ++i) {
        const ArtNode* arm = g->s.children[8 - i];
        ASSERT_EQ(arm->s.kind, kVtgArtGroup);
        ASSERT_EQ(arm->s.children.size(), 16u) << i;
        for (int j = 0; j < 16; ++j) {
            SCOPED_TRACE(testing::Message() << "arm " << i << " copy " << j);
            const ArtNode* copy = arm->s.children[15 - j]; // each copy went on top
            const double theta = i * kPi / 4 + j * (kPi / 2) / 15;
            const VtgPoint want = Polar(pc, 55 + 10 * j, theta);
            const VtgPoint got = SquareCentre(copy);
            EXPECT_NEAR(got.x, want.x, 1e-9);
            EXPECT_NEAR(got.y, want.y, 1e-9);
            EXPECT_NEAR(Side(copy), 10 * (1 - 0.06 * j), 1e-9);
            EXPECT_NEAR(AngleDiff(Turn(copy), theta), 0, 1e-9);
        }
    }
    // The first copy of the first arm sits exactly on the source; the tip
    // is a quarter turn round, 150 points farther out, a tenth the size.
    const ArtNode* first = g->s.children[8]->s.children[15];
    EXPECT_NEAR(Box(first).left, 100, 1e-9);
    EXPECT_NEAR(Box(first).top, 110, 1e-9);
    const VtgRect tip = Box(g->s.children[8]->s.children[0]);
    EXPECT_NEAR((tip.left + tip.right) / 2, 50, 1e-9);
    EXPECT_NEAR((tip.top + tip.bottom) / 2, 105 + 205, 1e-9);
    EXPECT_NEAR(tip.right - tip.left, 1, 1e-9);
}

// Arm i >= 1 draws w, a, c, f, g from seed + 1 + i; the kinks draw one
// number per copy from seed - 1 - i. The seed 0x7FFFFFFF wraps to negative
// seeds (as two's-complement arithmetic does) without overflow. The first
// arm is never randomised.
TEST_F(LiveGalaxy, SeededArmValuesAndKinksWorkedOutByHand) {
    record_.seed = 0x7FFFFFFF;
    record_.arms = 3;
    record_.elements = 4;
    record_.showCentre = 0;
    record_.directionJitter = 30 * kDeg;
    record_.twistJitter = 60 * kDeg;
    record_.sizeJitter = 0.5;
    record_.radiusJitter = 20;
    record_.spreadJitter = 40;
    record_.kinkJitter = 10 * kDeg;
    ArtNode* g = Generate(record_);
    ASSERT_EQ(g->s.children.size(), 3u);
    const VtgPoint pc{50, 105};
    const double d = 3;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        double theta = 0, r = 0, k = 1, dk = (1 - 0.1) / d, dTheta = kPi / 2 / d, dr = 150 / d;
        if (i > 0) {
            host().random().seed(static_cast<int32_t>(0x7FFFFFFFu + 1u + static_cast<uint32_t>(i)));
            const double w = host().random().uniform(), a = host().random().uniform(),
                         c = host().random().uniform(), f = host().random().uniform(),
                         gg = host().random().uniform();
            k = (f - 0.5) * 0.5 + 1;
            r = (gg - 0.5) * 20;
            theta = (w - 0.5) * 30 * kDeg + i * 2 * kPi / 3;
            dk = 0.9 * k / d;
            dTheta = ((a - 0.5) * 60 * kDeg + kPi / 2) / d;
            dr = ((c - 0.5) * 40 + 150) / d;
        }
        host().random().seed(static_cast<int32_t>(0x7FFFFFFFu - 1u - static_cast<uint32_t>(i)));
        const ArtNode* arm = g->s.children[2 - i];
        ASSERT_EQ(arm->s.children.size(), 4u);
        for (int j = 0; j < 4; ++j) {
            const ArtNode* copy = arm->s.children[3 - j];
            const VtgPoint want = Polar(pc, 55 + r, theta);
            EXPECT_NEAR(SquareCentre(copy).x, want.x, 1e-9) << j;
            EXPECT_NEAR(SquareCentre(copy).y, want.y, 1e-9) << j;
            EXPECT_NEAR(Side(copy), 10 * std::fabs(k), 1e-9) << j;
            const double e = host().random().uniform();
            r += dr;
            theta += (e - 0.5) * 10 * kDeg + dTheta;
            k -= dk;
        }
    }
    // The same record regenerates the same arms.
    ArtNode* again = Generate(record_);
    EXPECT_TRUE(AllFinite(again));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            for (int s = 0; s < 4; ++s) {
                const PathSegment& a = g->s.children[i]->s.children[j]->s.segments[s];
                const PathSegment& b = again->s.children[i]->s.children[j]->s.segments[s];
                EXPECT_EQ(a.anchor.x, b.anchor.x);
                EXPECT_EQ(a.anchor.y, b.anchor.y);
            }
}

// One arm or one element: the copies go straight into the group; with one
// element every arm has one copy at full size. Stacking below puts the tip
// at the bottom of its arm; keeping the angle leaves every copy unturned.
TEST_F(LiveGalaxy, ContainersStackingAndKeepAngle) {
    record_.showCentre = 0;
    struct Case {
        int32_t arms, elements;
        std::size_t children;
    } cases[] = {{1, 16, 16}, {8, 1, 8}, {1, 1, 1}, {2, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.arms << " x " << c.elements);
        record_.arms = c.arms;
        record_.elements = c.elements;
        ArtNode* g = Generate(record_);
        ASSERT_EQ(g->s.children.size(), c.children);
        const bool grouped = c.arms >= 2 && c.elements >= 2;
        for (const ArtNode* child : g->s.children)
            EXPECT_EQ(child->s.kind, grouped ? kVtgArtGroup : kVtgArtPath);
        if (c.elements == 1) {
            for (const ArtNode* child : g->s.children)
                EXPECT_NEAR(Side(child), 10, 1e-9);
        }
    }
    record_.arms = 2;
    record_.elements = 16;
    record_.stacking = 1;
    ArtNode* below = Generate(record_);
    const ArtNode* arm = below->s.children[1];
    EXPECT_NEAR(Side(arm->s.children.back()), 1, 1e-9); // the tip at the bottom
    EXPECT_NEAR(Side(arm->s.children.front()), 10, 1e-9);
    record_.stacking = 0;
    record_.keepAngle = 1;
    ArtNode* kept = Generate(record_);
    for (const ArtNode* a : kept->s.children)
        for (const ArtNode* copy : a->s.children) {
            EXPECT_NEAR(Turn(copy), 0, 1e-9);
            const VtgRect b = Box(copy);
            EXPECT_NEAR(b.right - b.left, Side(copy), 1e-9);
        }
    // Near a half turn the rotation goes in two steps and ends where one
    // step would: arm 1 of 2 starts at 180 degrees.
    const VtgPoint half = SquareCentre(below->s.children[0]->s.children.front());
    EXPECT_NEAR(half.x, 50 - 55, 1e-9);
    EXPECT_NEAR(half.y, 105, 1e-9);
}

// Stored counts at the extremes: none made for 0 or less, the panel's
// maximum made, beyond it refused before anything changes; the copy list
// is never sized from a wrapped product.
TEST_F(LiveGalaxy, StoredCountsAtTheExtremes) {
    record_.showCentre = 0;
    struct Case {
        int32_t arms, elements;
        std::int64_t copies;
    } cases[] = {
        {0, 16, 0},        {-1, 16, 0},          {8, 0, 0},           {8, -1, 0},
        {32767, 1, 32767}, {0x40000000, 16, -1}, {8, 0x40000000, -1}, {2147483647, 2147483647, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.arms << " x " << c.elements);
        record_.arms = c.arms;
        record_.elements = c.elements;
        EXPECT_EQ(vtg::GalaxyCopies(record_), c.copies);
        EXPECT_EQ(vtg::CheckRecordBounds(vtg::kKindGalaxy, &record_),
                  c.copies < 0 ? vtg::kResultTooLargeErr : kNoErr);
        if (c.copies >= 0) {
            ArtNode* g = Generate(record_);
            EXPECT_EQ(static_cast<std::int64_t>(g->s.children.size()), c.copies);
        }
    }
}

// Numbers no panel gives (a damaged file): limited to the panel's ranges,
// never an infinity or NaN in the document.
TEST_F(LiveGalaxy, DamagedNumbersStayFinite) {
    record_.elements = 4;
    record_.arms = 3;
    record_.spread = 1e308;
    record_.spreadJitter = std::numeric_limits<double>::infinity();
    record_.tipSize = -1e300;
    record_.twist = std::nan("");
    record_.centreRadius = -std::numeric_limits<double>::infinity();
    record_.sizeJitter = 1e300;
    ArtNode* g = Generate(record_);
    ASSERT_EQ(g->s.children.size(), 4u);
    EXPECT_TRUE(AllFinite(g));
}

// Apply again on the selected galaxy with other values makes it again with
// those values; saved, reopened and regenerated it gives the same bytes.
TEST_F(LiveGalaxy, SavedGalaxyRegeneratesAndReappliesWithNewValues) {
    record_.arms = 4;
    record_.elements = 6;
    record_.directionJitter = 40 * kDeg;
    record_.kinkJitter = 20 * kDeg;
    Select({square_});
    Apply();
    ArtNode* galaxy = TopLevel().at(0);
    Select({galaxy});
    record_.arms = 3;
    Apply();
    ASSERT_EQ(TopLevel().size(), 1u);
    ArtNode* again = TopLevel()[0];
    ASSERT_EQ(again->s.kind, kVtgArtPlugin);
    ASSERT_EQ(again->s.plugin.edit->s.children.at(0)->s.name, "square");
    EXPECT_EQ(again->s.plugin.result->s.children.at(0)->s.children.size(), 4u); // 3 arms + mark
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
}

// The recorded action holds every value and the seed; a replay on another
// selection reproduces the recorded galaxy.
TEST_F(LiveGalaxy, RecordedActionReplaysTheSameGalaxy) {
    record_.arms = 3;
    record_.elements = 5;
    record_.twist = -45 * kDeg;
    record_.sizeJitter = 0.4;
    record_.stacking = 1;
    record_.seed = 31337;
    host().actions().startRecording();
    Select({square_});
    Apply();
    host().actions().stopRecording();
    ASSERT_EQ(host().actions().events().size(), 1u);
    const auto& values = host().actions().events()[0].values.values;
    ASSERT_EQ(values.size(), 16u);
    EXPECT_EQ(values[4].key, vtg::ActionKey("sAng"));
    EXPECT_DOUBLE_EQ(values[4].real, -45);
    EXPECT_EQ(values[4].text, "#Ang");
    EXPECT_EQ(values[12].key, vtg::ActionKey("pers"));
    EXPECT_DOUBLE_EQ(values[12].real, 10);
    EXPECT_EQ(values[14].text, "下積み");
    EXPECT_EQ(values[15].integer, 31337);

    Panel().arms = 9;
    Panel().seed = 1;
    ArtNode* other = AddSquare("other", 100, 100, 10);
    Select({other});
    std::string reason;
    ASSERT_EQ(host().playActions(&reason), kNoErr) << reason;
    EXPECT_EQ(Panel().arms, 3);
    EXPECT_EQ(Panel().seed, 31337);
    const std::vector<ArtNode*> top = TopLevel();
    ASSERT_EQ(top.size(), 2u);
    const ArtNode* g1 = top[0]->s.plugin.result->s.children.at(0);
    const ArtNode* g2 = top[1]->s.plugin.result->s.children.at(0);
    ASSERT_EQ(g1->s.children.size(), g2->s.children.size());
    for (std::size_t i = 1; i < g1->s.children.size(); ++i)
        for (std::size_t j = 0; j < 5; ++j)
            EXPECT_EQ(g1->s.children[i]->s.children[j]->s.segments[0].anchor.x,
                      g2->s.children[i]->s.children[j]->s.segments[0].anchor.x);
}

} // namespace
