// Fractalize geometry: generator figures, the cutting of a piece and the
// substitution of generators, against figures worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/error_codes.hpp"
#include "effects/fractalize/fractalize_effect.hpp"
#include "geometry/geometry_fixture.hpp"

namespace {

using vtgtest::Corner;
using vtgtest::SamePoint;

// Cuts are measured along the curve to the flatness of the length search.
constexpr double kNear = 0.01;

class Fractalize : public vtgtest::GeometryTest {
protected:
    vtg::FractalizeParams Params(uint32_t generator, double density, uint32_t level = 1) {
        vtg::FractalizeParams p{};
        p.generator = generator;
        p.genHeight = 100;
        p.level = level;
        p.density = density;
        p.unevenGen_f = 1;
        return p;
    }
    std::vector<PathSegment> Run(const vtg::FractalizeParams& p, std::vector<PathSegment> path,
                                 bool closed = false, ErrorCode expect = kNoErr) {
        std::vector<PathSegment> out;
        EXPECT_EQ(vtg::FractalizeSegments(p, vtg::HostBezierOps(), vtg::ReadGenerator(p),
                                          path.data(), static_cast<int>(path.size()), closed, out),
                  expect);
        return out;
    }
};

TEST_F(Fractalize, GeneratorFiguresAndTheirFlips) {
    struct Case {
        uint32_t generator;
        int32_t reverseH, reverseV;
        double height;
        VtgPoint apex; // the second point, in chord units
    } cases[] = {
        {1, 0, 0, 100, {0.5, 0.5}},    {1, 1, 0, 100, {0.5, -0.5}}, // turned at the default height
        {1, 0, 1, 100, {0.5, 0.5}},    // a symmetric figure is not mirrored
        {2, 0, 1, 100, {0.25, 0.433}}, // mirrored and run the other way
        {4, 0, 0, 50, {0.5, 0.433}},   {0, 0, 0, 100, {0.5, 0.5}}, // 0 reads as generator 1
        {99, 1, 0, 200, {0.5, -1}},
    };
    for (const Case& c : cases) {
        vtg::FractalizeParams p = Params(c.generator, 5);
        p.reverseH = c.reverseH;
        p.reverseV = c.reverseV;
        p.genHeight = c.height;
        const std::vector<PathSegment> g = vtg::ReadGenerator(p);
        ASSERT_GE(g.size(), 3u) << c.generator;
        const VtgPoint first = g.front().anchor;
        const VtgPoint apex{(g[1].anchor.x - first.x) / 100, (g[1].anchor.y - first.y) / 100};
        EXPECT_TRUE(SamePoint(apex, c.apex, 1e-9)) << c.generator << " " << apex.x << "," << apex.y;
        EXPECT_DOUBLE_EQ(g.back().anchor.y, first.y);
    }
    // The semicircle's curves.
    const std::vector<PathSegment> half = vtg::ReadGenerator(Params(14, 5));
    ASSERT_EQ(half.size(), 3u);
    EXPECT_TRUE(SamePoint(half[0].out, {0, 27.61}));
    EXPECT_TRUE(SamePoint(half[1].in, {22.39, 50}));
    EXPECT_TRUE(SamePoint(half[2].in, {100, 27.61}));
}

TEST_F(Fractalize, SquaresOnAStraightLine) {
    // Density 4: step 18, n = 4, 3 cuts, 4 parts of 18 points, each a square
    // bump as high as it is long.
    const std::vector<PathSegment> out = Run(Params(10, 4), {Corner(0, 0), Corner(72, 0)});
    ASSERT_EQ(out.size(), 4u * 3 + 1);
    for (int k = 0; k < 4; ++k) {
        const double x = 18.0 * k;
        EXPECT_TRUE(SamePoint(out[3 * k].anchor, {x, 0}, kNear));
        EXPECT_TRUE(SamePoint(out[3 * k + 1].anchor, {x, 18}, kNear));
        EXPECT_TRUE(SamePoint(out[3 * k + 2].anchor, {x + 18, 18}, kNear));
    }
    EXPECT_TRUE(SamePoint(out.back().anchor, {72, 0}, kNear));
}

TEST_F(Fractalize, ConstantSizeLeavesTheRestPlain) {
    vtg::FractalizeParams p = Params(1, 4);
    p.constantSize = 1;
    // 100 points: 5 parts of 18 with a triangle each, and a plain 10-point rest.
    const std::vector<PathSegment> out = Run(p, {Corner(0, 0), Corner(100, 0)});
    ASSERT_EQ(out.size(), 5u * 2 + 2);
    EXPECT_TRUE(SamePoint(out[1].anchor, {9, 9}, kNear));
    EXPECT_TRUE(SamePoint(out[10].anchor, {90, 0}, kNear));
    EXPECT_TRUE(SamePoint(out[11].anchor, {100, 0}, kNear));
}

TEST_F(Fractalize, FullGapsHalveTheParts) {
    vtg::FractalizeParams p = Params(1, 4);
    p.gapSpaceRatio = 100;
    // 4 parts of 18: each a 9-point generator part and a 9-point gap.
    const std::vector<PathSegment> out = Run(p, {Corner(0, 0), Corner(72, 0)});
    ASSERT_EQ(out.size(), 4u * 3 + 1);
    EXPECT_TRUE(SamePoint(out[1].anchor, {4.5, 4.5}, kNear));
    EXPECT_TRUE(SamePoint(out[2].anchor, {9, 0}, kNear));
    EXPECT_TRUE(SamePoint(out[3].anchor, {18, 0}, kNear));
}

TEST_F(Fractalize, LevelsOnACurvedPiece) {
    // A quarter-circle-like curve: every level multiplies the pieces by 2.
    const std::vector<PathSegment> curve = {vtgtest::Smooth(0, 0, 0, 40),
                                            vtgtest::Smooth(100, 100, 40, 0)};
    const std::vector<PathSegment> one = Run(Params(1, 1), curve);
    ASSERT_GE(one.size(), 3u);
    const size_t pieces = one.size() - 1;
    for (uint32_t level = 2; level <= 4; ++level) {
        const std::vector<PathSegment> out = Run(Params(1, 1, level), curve);
        EXPECT_EQ(out.size() - 1, pieces << (level - 1)) << level;
        EXPECT_TRUE(SamePoint(out.front().anchor, {0, 0}));
        EXPECT_TRUE(SamePoint(out.back().anchor, {100, 100}, 1e-9));
    }
}

TEST_F(Fractalize, SegmentGuards) {
    // Level 14 with a 4-segment generator is too many anchors for any path.
    Run(Params(10, 4, 14), {Corner(0, 0), Corner(72, 0)}, false, vtg::kTooManySegments);
    // Fewer than 2 segments, or a density of nothing: unchanged or one piece.
    EXPECT_TRUE(Run(Params(1, 4), {Corner(0, 0)}).empty());
    for (double density : {0.0, -5.0, std::nan("")}) {
        const std::vector<PathSegment> out = Run(Params(1, density), {Corner(0, 0), Corner(72, 0)});
        ASSERT_EQ(out.size(), 3u);
        for (const PathSegment& s : out)
            EXPECT_TRUE(std::isfinite(s.anchor.x) && std::isfinite(s.anchor.y));
    }
    // A closed square: the closing piece gets its generator, nothing doubled.
    const std::vector<PathSegment> sq =
        Run(Params(1, 72.0 / 100), {Corner(0, 0), Corner(100, 0), Corner(100, 100), Corner(0, 100)},
            true);
    EXPECT_EQ(sq.size(), 8u);
}

TEST_F(Fractalize, SameSeedSameUnevenness) {
    vtg::FractalizeParams p = Params(1, 4);
    p.uneven_f = 1;
    p.uneven = 50;
    vtg::sMath->SeedRandom(12345);
    const std::vector<PathSegment> a = Run(p, {Corner(0, 0), Corner(72, 0)});
    vtg::sMath->SeedRandom(12345);
    const std::vector<PathSegment> b = Run(p, {Corner(0, 0), Corner(72, 0)});
    ASSERT_EQ(a.size(), b.size());
    EXPECT_TRUE(vtgtest::SameSegments(a, b));
    EXPECT_FALSE(SamePoint(a[1].anchor, {9, 9}, kNear));
}

} // namespace
