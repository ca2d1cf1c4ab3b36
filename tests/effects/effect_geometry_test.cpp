// The three effects' geometry: point mappings at points worked out by hand,
// identity cases bit for bit, the segment guards and degenerate input.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "effects/lens/lens_effect.hpp"
#include "effects/warp/warp_effect.hpp"
#include "effects/wave/wave_effect.hpp"
#include "geometry/geometry_fixture.hpp"

namespace {

using vtgtest::Corner;
using vtgtest::SamePoint;
using vtgtest::SameSegments;

constexpr double kPi = std::numbers::pi;
constexpr VtgRect kBox{0, 100, 200, 0}; // left, top, right, bottom

vtg::WaveGeometry Bend(int32_t anchor, double bend, int32_t orientation = 0,
                       const VtgRect& r = kBox) {
    return vtg::PrepareBend(r, orientation, anchor, bend, 0);
}

VtgPoint MapWith(vtg::DeformVariant& v, VtgPoint p) {
    VtgPoint out{NAN, NAN};
    EXPECT_EQ(v.Map(p, &out), kNoErr);
    return out;
}

std::vector<PathSegment> Square(double x, double y, double size) {
    return {Corner(x, y), Corner(x + size, y), Corner(x + size, y + size), Corner(x, y + size)};
}

// --- Multi-wave ------------------------------------------------------------------

TEST(WaveGeometry, FlatObjectsGetFivePercentOfTheirWidth) {
    const vtg::WaveGeometry g = vtg::PrepareBend({0, 10, 200, 10}, 0, vtg::kAnchorCentre, 0.5, 0);
    EXPECT_DOUBLE_EQ(g.basePoint.x, 100);
    EXPECT_DOUBLE_EQ(g.basePoint.y, 10);
    EXPECT_DOUBLE_EQ(g.controlPoint.y - g.basePoint.y, 0.5 * 10); // 5 % of 200, times the bend
    const vtg::WaveGeometry v = vtg::PrepareBend(kBox, 1, vtg::kAnchorHigh, 0.25, 0.1);
    EXPECT_DOUBLE_EQ(v.basePoint.x, 200);
    EXPECT_DOUBLE_EQ(v.basePoint.y, 50 + 0.1 * 100);
    EXPECT_DOUBLE_EQ(v.controlPoint.x, 200 - 0.25 * 200);
}

TEST(WaveMapping, PointsWorkedOutByHand) {
    // Box 200 x 100, bend 0.5: V.y = 50, K = 1/100, a = 100, centre line x = 100.
    struct Case {
        int32_t style, anchor;
        VtgPoint in, out;
    } cases[] = {
        {0, vtg::kAnchorCentre, {100, 100}, {100, 150}}, // y + K V (y - 50) (1 + cos 0)
        {0, vtg::kAnchorCentre, {50, 100}, {50, 125}},   // cos(pi/2) = 0
        {0, vtg::kAnchorCentre, {0, 100}, {0, 100}},     // the side edges stay
        {1, vtg::kAnchorLow, {100, 0}, {100, 0}},        // the bottom edge stays
        {1, vtg::kAnchorLow, {100, 100}, {100, 150}},    // K halved, y - 0
        {2, vtg::kAnchorHigh, {100, 100}, {100, 100}},   // the top edge stays
        {2, vtg::kAnchorHigh, {100, 0}, {100, -50}},
        {3, vtg::kAnchorCentre, {100, 30}, {100, 80}}, // displacement: K = 1
        {3, vtg::kAnchorCentre, {0, 30}, {0, -20}},    // cos(pi) = -1
    };
    for (const Case& c : cases) {
        vtg::WaveVariant v(Bend(c.anchor, 0.5), c.style, 1, false);
        EXPECT_TRUE(SamePoint(MapWith(v, c.in), c.out, 1e-9))
            << "style " << c.style << " at " << c.in.x << "," << c.in.y;
    }
    // The vertical wave is the same with x and y exchanged.
    const VtgRect tall{0, 200, 100, 0};
    vtg::WaveVariant v(Bend(vtg::kAnchorCentre, 0.5, 1, tall), 0, 1, true);
    EXPECT_TRUE(SamePoint(MapWith(v, {100, 100}), {150, 100}, 1e-9));
}

TEST(WaveMapping, RollWindsTheObjectIntoACoil) {
    // Style 4, cycle 1: a = 100 / pi after the compression, K = 0.3185.
    vtg::WaveVariant v(Bend(vtg::kAnchorCentre, 0.5), 4, 1, false);
    EXPECT_NEAR(v.CompressionFactor(), 1 / kPi, 1e-15);
    // The centre maps onto itself; a point a/2 along is a quarter turn round.
    EXPECT_TRUE(SamePoint(MapWith(v, {100, 50}), {100, 50}, 1e-9));
    const double a = 100 / kPi;
    const VtgPoint q = MapWith(v, {100 + a / 2, 50});
    EXPECT_NEAR(q.x, 100 + a, 1e-9);
    EXPECT_NEAR(q.y, 50 + 0.3185 * 50 * kPi / 2, 1e-9);
}

class Drivers : public vtgtest::DocTest {};

TEST_F(Drivers, WaveIdentityLeavesPathsBitForBit) {
    // Cycle 0 must not compress (1/0); bend 0 must not compress either.
    struct Case {
        int32_t style;
        double cycle, bend;
    } cases[] = {{4, 0, 0.5}, {4, 2, 0}, {0, 0, 0.5}, {3, 0, 0.5}, {1, 3, 0}};
    for (const Case& c : cases) {
        const std::vector<PathSegment> square = Square(10, 10, 80);
        ArtHandle path = AddPath(square, nullptr, true);
        const vtg::WaveGeometry g = Bend(vtg::kAnchorCentre, c.bend);
        EXPECT_EQ(vtg::WaveHorizontal(path, g, c.style, c.cycle), kNoErr);
        EXPECT_EQ(vtg::WaveVertical(path, g, c.style, c.cycle), kNoErr);
        EXPECT_TRUE(SameSegments(SegmentsOf(path), square))
            << "style " << c.style << " cycle " << c.cycle << " bend " << c.bend;
    }
}

TEST_F(Drivers, WaveLeavesPathsBeyondTheSourceCopyAlone) {
    std::vector<PathSegment> many;
    for (int i = 0; i < 32001; ++i)
        many.push_back(Corner(i * 0.005, (i % 2) * 0.005));
    ArtHandle path = AddPath(many);
    const vtg::WaveGeometry g = Bend(vtg::kAnchorCentre, 0.5, 0, {0, 1, 160, 0});
    EXPECT_EQ(vtg::WaveHorizontal(path, g, 0, 2), kNoErr);
    EXPECT_TRUE(SameSegments(SegmentsOf(path), many));
    EXPECT_EQ(vtg::WarpHorizontal(path, g, 3, 0, 0), kNoErr);
    EXPECT_TRUE(SameSegments(SegmentsOf(path), many));
}

TEST_F(Drivers, WaveSubdividesAndKeepsTheCentreDisplacement) {
    // A horizontal line across the box at the top: it becomes a cosine hump.
    ArtHandle path = AddPath({Corner(0, 100), Corner(200, 100)});
    EXPECT_EQ(vtg::WaveHorizontal(path, Bend(vtg::kAnchorCentre, 0.5), 0, 1), kNoErr);
    const std::vector<PathSegment> out = SegmentsOf(path);
    ASSERT_GT(out.size(), 2u);
    bool peak = false;
    for (const PathSegment& s : out) {
        const double expected =
            100 + 0.5 * (1 + std::cos(kPi * std::fabs(s.anchor.x - 100) / 100)) * 50;
        EXPECT_NEAR(s.anchor.y, expected, 1e-9);
        peak = peak || SamePoint(s.anchor, {100, 150}, 1e-9);
    }
    EXPECT_TRUE(peak);
}

TEST(WaveDriver, SegmentGuardLeavesThePathAsItWas) {
    // A wave of 4000 cycles with a huge bend never meets its tolerance: the
    // result passes 31 998 segments and the path keeps its geometry.
    vtg::WaveVariant v(Bend(vtg::kAnchorCentre, 200), 0, 4000, false);
    const std::vector<PathSegment> line = {Corner(0, 100), Corner(200, 100)};
    std::vector<PathSegment> work(vtg::kSegmentBufferCapacity);
    int32_t count = 0;
    EXPECT_EQ(vtg::DeformSegments(v, line.data(), 2, false, work.data(), &count), kNoErr);
    EXPECT_EQ(count, -1);
}

// --- Perspective warp ---------------------------------------------------------------

TEST(WarpMapping, PointsWorkedOutByHand) {
    // Box 200 x 100, bend 0.5 about the centre: diff = 50, K = 1/100,
    // centre line m = 100, R = 100 (margin 0).
    struct Case {
        int32_t style;
        VtgPoint in, out;
    } cases[] = {
        {6, {100, 0}, {100, 50}},                         // displacement by V sqrt(1 - 0)
        {6, {50, 100}, {50, 100 + 50 * std::sqrt(0.75)}}, // u = 1/2
        {6, {0, 0}, {0, 0}},                              // u = 1 at the far edge
        {3, {100, 100}, {100, 150}},                      // 2K V (y - cy) sqrt(1 - 0)
        {3, {100, 50}, {100, 50}},                        // the centre line stays
        {21, {50, 20}, {50, 45}},                         // 1 * V |1 - 1/2|
        {13, {100, 20}, {100, 70}},                       // 0.5 * V (1 + cos 0)
    };
    for (const Case& c : cases) {
        vtg::WarpVariant v(Bend(vtg::WarpAnchor(c.style), 0.5), c.style, 0, false, false);
        ASSERT_FALSE(v.Skipped());
        EXPECT_TRUE(SamePoint(MapWith(v, c.in), c.out, 1e-9))
            << "style " << c.style << " at " << c.in.x << "," << c.in.y;
    }
}

TEST(WarpMapping, AnchoredStylesKeepTheirEdge) {
    for (int32_t style : {1, 4, 8, 11, 16, 19}) {
        vtg::WarpVariant v(Bend(vtg::WarpAnchor(style), 0.7), style, 0.05, true, false);
        for (double x : {0.0, 37.0, 100.0, 180.0})
            EXPECT_NEAR(MapWith(v, {x, 0}).y, 0, 1e-9) << "style " << style;
    }
    for (int32_t style : {2, 5, 9, 12, 17, 20}) {
        vtg::WarpVariant v(Bend(vtg::WarpAnchor(style), 0.7), style, 0.05, false, false);
        for (double x : {0.0, 37.0, 100.0, 180.0})
            EXPECT_NEAR(MapWith(v, {x, 100}).y, 100, 1e-9) << "style " << style;
    }
}

TEST_F(Drivers, WarpBendZeroAndWrongSignLeavePathsBitForBit) {
    const std::vector<PathSegment> square = Square(20, 20, 60);
    for (int32_t style = 0; style < vtg::kWarpStyles; ++style)
        for (int32_t perspective : {0, 1}) {
            ArtHandle path = AddPath(square, nullptr, true);
            const vtg::WaveGeometry g = Bend(vtg::WarpAnchor(style), 0);
            EXPECT_EQ(vtg::WarpHorizontal(path, g, style, 0.05, perspective), kNoErr);
            EXPECT_TRUE(SameSegments(SegmentsOf(path), square)) << "style " << style;
        }
    // Perspective with a negative bend skips the scaling styles; 6 and 14
    // still apply.
    for (int32_t style = 0; style < vtg::kWarpStyles; ++style) {
        vtg::WarpVariant v(Bend(vtg::WarpAnchor(style), -0.4), style, 0.05, true, false);
        const bool applied = style == 6 || style == 14 || style == 13 || style == 21;
        EXPECT_EQ(v.Skipped(), !applied) << "style " << style;
    }
}

TEST_F(Drivers, WarpBendsASquareIntoABulge) {
    ArtHandle path = AddPath(Square(0, 0, 100), nullptr, true);
    const VtgRect box{0, 100, 100, 0};
    const vtg::WaveGeometry g = vtg::PrepareBend(box, 0, 0, 0.5, 0);
    EXPECT_EQ(vtg::WarpHorizontal(path, g, 6, 0, 0), kNoErr);
    const std::vector<PathSegment> out = SegmentsOf(path);
    ASSERT_GT(out.size(), 4u);
    // Every anchor on the top edge moved up by 50 sqrt(1 - u^2).
    for (const PathSegment& s : out)
        if (std::fabs(s.anchor.x - 0) > 1e-9 && std::fabs(s.anchor.x - 100) > 1e-9 &&
            s.anchor.y > 60) {
            const double u = std::fabs(s.anchor.x - 50) / 50;
            EXPECT_NEAR(s.anchor.y, 100 + 50 * std::sqrt(1 - u * u), 1e-9);
        }
}

// --- Lens ---------------------------------------------------------------------------------

vtg::LensArea Lens(double w, double h) {
    return {{0, 0}, {w, h}};
}

TEST(LensMapping, PointsWorkedOutByHand) {
    const vtg::LensArea lens = Lens(100, 100); // R = 50
    VtgPoint out{};
    EXPECT_EQ(vtg::Magnify(lens, 4, {10, 0}, &out), kNoErr);
    EXPECT_TRUE(SamePoint(out, {20, 0}));
    EXPECT_EQ(vtg::Magnify(lens, 4, {30, 0}, &out), kNoErr); // pushed onto the rim
    EXPECT_TRUE(SamePoint(out, {50, 0}, 1e-12));
    EXPECT_EQ(vtg::FisheyeConvex(lens, 1, {25, 0}, &out), kNoErr); // R sin(2 atan 1/2)
    EXPECT_TRUE(SamePoint(out, {40, 0}, 1e-12));
    EXPECT_EQ(vtg::FisheyeConcave(lens, -1, {30, 0}, &out), kNoErr); // r / (1 + sqrt(1 - .36))
    EXPECT_TRUE(SamePoint(out, {30 / 1.8, 0}, 1e-12));
    EXPECT_EQ(vtg::Twirl(lens, kPi, {25, 0}, &out), kNoErr); // a quarter turn clockwise
    EXPECT_TRUE(SamePoint(out, {0, -25}, 1e-12));
    // An ellipse: the vertical offset is stretched by w/h, turned, shrunk back.
    EXPECT_EQ(vtg::Magnify(Lens(100, 50), 4, {0, 10}, &out), kNoErr);
    EXPECT_TRUE(SamePoint(out, {0, 20}, 1e-12));
}

TEST(LensMapping, TheRimAndBeyondAreOutside) {
    const vtg::LensArea lens = Lens(100, 60);
    for (VtgPoint p : {VtgPoint{50, 0}, VtgPoint{0, 30}, VtgPoint{80, 80}}) {
        VtgPoint out{};
        EXPECT_EQ(vtg::FisheyeConvex(lens, 0.5, p, &out), vtg::kOutsideArea);
        EXPECT_TRUE(SamePoint(out, p));
        EXPECT_EQ(vtg::TwirlCycles(lens, 2, 3, p, &out), vtg::kOutsideArea);
        EXPECT_TRUE(SamePoint(out, p));
    }
    // Continuity at the rim: just inside barely moves.
    VtgPoint out{};
    for (double k : {0.3, 1.0}) {
        EXPECT_EQ(vtg::FisheyeConvex(Lens(100, 100), k, {49.9999, 0}, &out), kNoErr);
        EXPECT_NEAR(out.x, 50, 1e-3);
    }
    EXPECT_EQ(vtg::FisheyeConcave(Lens(100, 100), -0.5, {49.9999, 0}, &out), kNoErr);
    EXPECT_NEAR(out.x, 50, 1e-3);
}

TEST(LensMapping, DegenerateLensMovesNothing) {
    // A lens of zero width or height (a flat object) would divide by zero.
    for (vtg::LensArea lens : {Lens(100, 0), Lens(0, 100), Lens(0, 0), Lens(NAN, 10)}) {
        VtgPoint out{};
        EXPECT_EQ(vtg::FisheyeConvex(lens, 1, {0.5, 0}, &out), vtg::kOutsideArea);
        EXPECT_TRUE(std::isfinite(out.x) && std::isfinite(out.y));
        vtg::LensVariant v(lens, vtg::kLensFisheye, 1, 2, kPi, 1);
        EXPECT_TRUE(v.IsIdentity());
    }
}

TEST(LensPlacement, BoundsAndCircleAroundThem) {
    vtg::LensEffectParams p{};
    p.sizeRatio = {1, 1};
    p.centerRatio = {0.25, 0};
    const vtg::LensArea inscribed = vtg::PlaceLensOn(kBox, p);
    EXPECT_TRUE(SamePoint(inscribed.centre, {150, 50}));
    EXPECT_TRUE(SamePoint(inscribed.size, {200, 100}));
    p.lensShape = 1;
    const vtg::LensArea around = vtg::PlaceLensOn(kBox, p);
    EXPECT_NEAR(around.size.x, std::hypot(200, 100), 1e-12);
    EXPECT_TRUE(SamePoint(around.Corner(), {150 + around.size.x / 2, 50 - around.size.y / 2}));
}

TEST_F(Drivers, LensNeutralAmountsAndToneLensLeavePathsBitForBit) {
    const std::vector<PathSegment> square = Square(-30, -30, 60);
    struct Case {
        int32_t kind;
        double fish, lupe, twirl;
    } cases[] = {{0, 0, 2, 1}, {1, 1, 1, 1}, {2, 1, 2, 0}, {3, 1, 2, 1}, {0, 1, 2, 1}};
    for (const Case& c : cases) {
        ArtHandle path = AddPath(square, nullptr, true);
        // The last case is a lens of zero height over a real fisheye.
        const vtg::LensArea lens = c.kind == 0 && c.fish == 1 ? Lens(100, 0) : Lens(100, 100);
        EXPECT_EQ(vtg::LensPath(path, lens, c.kind, c.fish, c.lupe, c.twirl, 1), kNoErr);
        EXPECT_TRUE(SameSegments(SegmentsOf(path), square)) << "kind " << c.kind;
    }
}

TEST_F(Drivers, ALineCrossingTheLensGetsAnAnchorInsideAndIsBent) {
    // Both anchors lie outside the lens rectangle; the middle crosses it.
    ArtHandle path = AddPath({Corner(-100, 10), Corner(100, 10)});
    EXPECT_EQ(vtg::LensPath(path, Lens(100, 100), vtg::kLensFisheye, 1, 2, 0, 1), kNoErr);
    const std::vector<PathSegment> out = SegmentsOf(path);
    ASSERT_GT(out.size(), 2u);
    EXPECT_TRUE(SamePoint(out.front().anchor, {-100, 10}));
    EXPECT_TRUE(SamePoint(out.back().anchor, {100, 10}));
    // The split put an anchor at (0, 10), pushed out to R sin(2 atan(10/50)).
    const double r = 50 * std::sin(2 * std::atan(0.2));
    bool found = false;
    for (const PathSegment& s : out)
        found = found || SamePoint(s.anchor, {0, r}, 1e-9);
    EXPECT_TRUE(found);
}

TEST_F(Drivers, StrongMagnifierPushesOuterPointsOntoTheRim) {
    // 400 %: s = 2, so every point with r > R/2 lands on the rim.
    ArtHandle path = AddPath({Corner(30, 0), Corner(0, 40), Corner(-45, 0)});
    EXPECT_EQ(vtg::LensPath(path, Lens(100, 100), vtg::kLensMagnifier, 0, 4, 0, 1), kNoErr);
    const std::vector<PathSegment> out = SegmentsOf(path);
    EXPECT_NEAR(std::hypot(out.front().anchor.x, out.front().anchor.y), 50, 1e-9);
    EXPECT_NEAR(std::hypot(out.back().anchor.x, out.back().anchor.y), 50, 1e-9);
}

} // namespace
