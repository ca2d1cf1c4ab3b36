#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "host/api/vtg_pathfinder_suite.h"
#include "host/doc/art.hpp"
#include "host/geometry/unite.hpp"
#include "host/host.hpp"

namespace {

using hostapp::geometry::Outline;
using hostapp::geometry::Shape;

PathSegment Corner(double x, double y) {
    return {{x, y}, {x, y}, {x, y}, 1};
}

Outline Square(double x, double y, double size, bool clockwise = false) {
    Outline o;
    o.segments = {Corner(x, y), Corner(x + size, y), Corner(x + size, y + size),
                  Corner(x, y + size)};
    if (clockwise)
        std::reverse(o.segments.begin(), o.segments.end());
    return o;
}

// A circle of four cubic arcs, counter-clockwise from its rightmost point.
Outline Circle(double cx, double cy, double r) {
    const double k = 0.5522847498 * r;
    Outline o;
    o.segments = {{{cx + r, cy}, {cx + r, cy - k}, {cx + r, cy + k}, 0},
                  {{cx, cy + r}, {cx + k, cy + r}, {cx - k, cy + r}, 0},
                  {{cx - r, cy}, {cx - r, cy + k}, {cx - r, cy - k}, 0},
                  {{cx, cy - r}, {cx - k, cy - r}, {cx + k, cy - r}, 0}};
    return o;
}

Shape Path(Outline o) {
    return {{std::move(o)}, false};
}

VtgPoint Bezier(VtgPoint a, VtgPoint b, VtgPoint c, VtgPoint d, double t) {
    const double u = 1 - t;
    return {u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * d.x,
            u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * d.y};
}

// The shoelace area of the outline flattened to 64 points a segment.
double FlatArea(const Outline& o) {
    std::vector<VtgPoint> pts;
    const auto& g = o.segments;
    for (std::size_t i = 0; i < g.size(); ++i) {
        const PathSegment& a = g[i];
        const PathSegment& b = g[(i + 1) % g.size()];
        for (int k = 0; k < 64; ++k)
            pts.push_back(Bezier(a.anchor, a.out, b.in, b.anchor, k / 64.0));
    }
    double area = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const VtgPoint p = pts[i], q = pts[(i + 1) % pts.size()];
        area += p.x * q.y - q.x * p.y;
    }
    return area / 2;
}

double TotalArea(const std::vector<Outline>& outlines) {
    double sum = 0;
    for (const Outline& o : outlines)
        sum += FlatArea(o);
    return sum;
}

bool HandlesOnAnchors(const Outline& o) {
    for (const PathSegment& s : o.segments)
        if (s.in.x != s.anchor.x || s.in.y != s.anchor.y || s.out.x != s.anchor.x ||
            s.out.y != s.anchor.y)
            return false;
    return true;
}

constexpr std::size_t kAnyCount = ~std::size_t{0};

struct UniteCase {
    const char* what;
    std::vector<Shape> shapes;
    std::size_t outlines; // expected count, or kAnyCount
    double area;          // expected area (holes count negative)
};

TEST(Unite, AreasAndOutlineCounts) {
    Shape ring{{Square(0, 0, 10), Square(3, 3, 4, true)}, false};
    Shape evenOddRing{{Square(0, 0, 10), Square(3, 3, 4)}, true};
    Shape nonZeroOverlap{{Square(0, 0, 10), Square(5, 5, 10)}, false};
    Shape evenOddOverlap{{Square(0, 0, 10), Square(5, 5, 10)}, true};
    Shape island{{Square(0, 0, 10), Square(2, 2, 6, true), Square(4, 4, 2)}, false};
    Outline shifted = Square(0, 0, 10);
    std::rotate(shifted.segments.begin(), shifted.segments.begin() + 2, shifted.segments.end());
    const UniteCase cases[] = {
        {"overlapping squares", {Path(Square(0, 0, 10)), Path(Square(5, 5, 10))}, 1, 175},
        {"clockwise and counter-clockwise",
         {Path(Square(0, 0, 10, true)), Path(Square(5, 5, 10))},
         1,
         175},
        {"disjoint squares", {Path(Square(0, 0, 10)), Path(Square(20, 0, 3))}, 2, 109},
        {"square inside a square", {Path(Square(0, 0, 10)), Path(Square(2, 2, 3))}, 1, 100},
        {"square around a square", {Path(Square(2, 2, 3)), Path(Square(0, 0, 10))}, 1, 100},
        {"a single path", {Path(Square(0, 0, 10, true))}, 1, 100},
        {"a ring alone", {ring}, 2, 84},
        {"an even-odd ring alone", {evenOddRing}, 2, 84},
        {"a ring and a square in its hole", {ring, Path(Square(4, 4, 1))}, 3, 85},
        {"a ring and a square over its hole", {ring, Path(Square(2, 2, 6))}, 1, 100},
        {"a ring with an island", {island}, 3, 100 - 36 + 4},
        {"non-zero compound of overlapping outlines", {nonZeroOverlap}, 1, 175},
        {"even-odd compound of overlapping outlines", {evenOddOverlap}, kAnyCount, 150},
        {"coincident squares", {Path(Square(0, 0, 10)), Path(Square(0, 0, 10))}, 1, 100},
        {"coincident, reversed and from another anchor",
         {Path(Square(0, 0, 10, true)), Path(shifted)},
         1,
         100},
        {"squares sharing an edge", {Path(Square(0, 0, 10)), Path(Square(10, 0, 10))}, 1, 200},
        {"squares touching at a corner",
         {Path(Square(0, 0, 10)), Path(Square(10, 10, 10))},
         kAnyCount,
         200},
        {"three squares in a row",
         {Path(Square(0, 0, 10)), Path(Square(8, 1, 10)), Path(Square(16, 2, 10))},
         1,
         300 - 2 * 2 * 9},
    };
    for (const UniteCase& c : cases) {
        std::vector<Outline> out;
        std::string why;
        ASSERT_EQ(hostapp::geometry::Unite(c.shapes, 0, out, &why), kNoErr)
            << c.what << ": " << why;
        if (c.outlines != kAnyCount) {
            EXPECT_EQ(out.size(), c.outlines) << c.what;
        }
        EXPECT_NEAR(TotalArea(out), c.area, 1e-4) << c.what;
        for (const Outline& o : out) {
            EXPECT_TRUE(o.closed) << c.what;
            EXPECT_TRUE(HandlesOnAnchors(o)) << c.what << ": lines stay lines";
            for (const PathSegment& s : o.segments)
                EXPECT_EQ(s.corner, 1) << c.what;
        }
    }
}

TEST(Unite, OuterOutlinesRunCounterClockwiseAndHolesClockwise) {
    // Built the other way round: a clockwise outer outline and a
    // counter-clockwise hole under the even-odd rule.
    Shape ring{{Square(0, 0, 10, true), Square(3, 3, 4)}, true};
    std::vector<Outline> out;
    ASSERT_EQ(hostapp::geometry::Unite({ring}, 0, out), kNoErr);
    ASSERT_EQ(out.size(), 2u);
    const Outline& outer = FlatArea(out[0]) > 0 ? out[0] : out[1];
    const Outline& hole = FlatArea(out[0]) > 0 ? out[1] : out[0];
    EXPECT_NEAR(FlatArea(outer), 100, 1e-9);
    EXPECT_NEAR(FlatArea(hole), -16, 1e-9);
}

TEST(Unite, CurvesStayCubic) {
    const double r = 10, d = 12;
    std::vector<Outline> out;
    ASSERT_EQ(hostapp::geometry::Unite({Path(Circle(0, 0, r)), Path(Circle(d, 0, r))}, 10.0, out),
              kNoErr);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_LE(out[0].segments.size(), 10u) << "not flattened";
    EXPECT_GE(out[0].segments.size(), 6u);
    int curved = 0;
    for (const PathSegment& s : out[0].segments)
        curved += (s.out.x != s.anchor.x || s.out.y != s.anchor.y) ? 1 : 0;
    EXPECT_EQ(curved, static_cast<int>(out[0].segments.size()));
    // Two circles less their lens; the arcs are within 0.03 % of a circle.
    const double lens = 2 * r * r * std::acos(d / (2 * r)) - d / 2 * std::sqrt(4 * r * r - d * d);
    const double expected = 2 * std::numbers::pi * r * r - lens;
    EXPECT_NEAR(FlatArea(out[0]), expected, expected * 1e-3);
    // The two crossings are corners; the anchors on the arcs are smooth.
    int corners = 0;
    for (const PathSegment& s : out[0].segments)
        corners += s.corner;
    EXPECT_EQ(corners, 2);
    // The plug-in's precision of 10 points gives the crossings as exactly as
    // the finest one.
    std::vector<Outline> fine;
    ASSERT_EQ(hostapp::geometry::Unite({Path(Circle(0, 0, r)), Path(Circle(d, 0, r))}, 1e-9, fine),
              kNoErr);
    ASSERT_EQ(fine.size(), 1u);
    ASSERT_EQ(fine[0].segments.size(), out[0].segments.size());
    for (std::size_t i = 0; i < fine[0].segments.size(); ++i) {
        EXPECT_NEAR(fine[0].segments[i].anchor.x, out[0].segments[i].anchor.x, 1e-3);
        EXPECT_NEAR(fine[0].segments[i].anchor.y, out[0].segments[i].anchor.y, 1e-3);
    }
}

TEST(Unite, DegenerateInput) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Outline withNaN = Square(0, 0, 10);
    withNaN.segments[2].in.y = nan;
    Outline withInf = Square(0, 0, 10);
    withInf.segments[1].anchor.x = inf;
    for (const Outline& bad : {withNaN, withInf}) {
        std::vector<Outline> out = {Square(1, 1, 1)};
        EXPECT_EQ(hostapp::geometry::Unite({Path(Square(20, 20, 5)), Path(bad)}, 0, out),
                  kBadParameterErr);
        EXPECT_TRUE(out.empty());
    }

    Outline flat;
    flat.segments = {Corner(0, 0), Corner(5, 0), Corner(10, 0)};
    Outline single;
    single.segments = {Corner(3, 3)};
    Outline openTriangle;
    openTriangle.segments = {Corner(0, 0), Corner(10, 0), Corner(0, 10)};
    openTriangle.closed = false;
    const UniteCase cases[] = {
        {"nothing", {}, 0, 0},
        {"an empty path", {Path(Outline{})}, 0, 0},
        {"a single anchor", {Path(single)}, 0, 0},
        {"a flat outline", {Path(flat)}, 0, 0},
        {"a flat outline and a square", {Path(flat), Path(Square(0, 0, 10))}, 1, 100},
        {"an empty compound path", {Shape{}}, 0, 0},
        {"an open triangle, closed for the union", {Path(openTriangle)}, 1, 50},
    };
    for (const UniteCase& c : cases) {
        std::vector<Outline> out;
        ASSERT_EQ(hostapp::geometry::Unite(c.shapes, 0, out), kNoErr) << c.what;
        EXPECT_EQ(out.size(), c.outlines) << c.what;
        EXPECT_NEAR(TotalArea(out), c.area, 1e-9) << c.what;
    }
}

// n by n squares side by side.
std::vector<Shape> Tiles(int n) {
    std::vector<Shape> tiles;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            tiles.push_back(Path(Square(10.0 * i, 10.0 * j, 10)));
    return tiles;
}

// Squares that share part of an edge defeat a plain intersection graph;
// one of them is moved by a ten-millionth of the extent to cross properly,
// and the steps that leaves are folded away.
TEST(Unite, SharedEdgesAreUnited) {
    struct Case {
        std::vector<Shape> shapes;
        double area;
        VtgRect bounds; // left, top, right, bottom
    };
    const Case cases[] = {
        {{Path(Square(0, 0, 10)), Path(Square(5, 0, 10))}, 150, {0, 10, 15, 0}},
        {{Path(Square(0, 0, 10)), Path(Square(0, 0, 5))}, 100, {0, 10, 10, 0}},
        {{Path(Square(0, 0, 10)), Path(Square(0, 5, 10))}, 150, {0, 15, 10, 0}},
        {{Path(Square(0, 0, 10)), Path(Square(5, 0, 10)), Path(Square(10, 0, 10))},
         200,
         {0, 10, 20, 0}},
        {Tiles(3), 900, {0, 30, 30, 0}},
        {Tiles(5), 2500, {0, 50, 50, 0}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::vector<Outline> out;
        std::string why;
        ASSERT_EQ(hostapp::geometry::Unite(cases[i].shapes, 0, out, &why), kNoErr)
            << i << ": " << why;
        ASSERT_EQ(out.size(), 1u) << i << ": one outline, no seams or slivers";
        EXPECT_NEAR(FlatArea(out[0]), cases[i].area, 1e-3) << i;
        VtgRect b{1e9, -1e9, -1e9, 1e9};
        for (const PathSegment& s : out[0].segments) {
            b.left = std::min(b.left, s.anchor.x);
            b.right = std::max(b.right, s.anchor.x);
            b.top = std::max(b.top, s.anchor.y);
            b.bottom = std::min(b.bottom, s.anchor.y);
        }
        EXPECT_NEAR(b.left, cases[i].bounds.left, 1e-5) << i;
        EXPECT_NEAR(b.top, cases[i].bounds.top, 1e-5) << i;
        EXPECT_NEAR(b.right, cases[i].bounds.right, 1e-5) << i;
        EXPECT_NEAR(b.bottom, cases[i].bounds.bottom, 1e-5) << i;
        // No step of the nudge is left: every edge is longer than a hair.
        const auto& g = out[0].segments;
        for (std::size_t k = 0; k < g.size(); ++k) {
            const VtgPoint p = g[k].anchor, q = g[(k + 1) % g.size()].anchor;
            EXPECT_GT(std::hypot(p.x - q.x, p.y - q.y), 1e-3) << i << " anchor " << k;
        }
    }
}

// The outlines flattened to 16 points a segment.
std::vector<std::vector<VtgPoint>> Flatten(const std::vector<Outline>& outlines) {
    std::vector<std::vector<VtgPoint>> polygons;
    for (const Outline& o : outlines) {
        std::vector<VtgPoint> pts;
        const auto& g = o.segments;
        for (std::size_t i = 0; i < g.size(); ++i)
            for (int k = 0; k < 16; ++k)
                pts.push_back(Bezier(g[i].anchor, g[i].out, g[(i + 1) % g.size()].in,
                                     g[(i + 1) % g.size()].anchor, k / 16.0));
        polygons.push_back(std::move(pts));
    }
    return polygons;
}

// Even-odd point test.
bool Inside(const std::vector<std::vector<VtgPoint>>& polygons, double x, double y) {
    int crossings = 0;
    for (const auto& pts : polygons)
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const VtgPoint a = pts[i], b = pts[(i + 1) % pts.size()];
            if ((a.y > y) != (b.y > y) && a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x) > x)
                ++crossings;
        }
    return crossings % 2 != 0;
}

// Random curved and straight polygons (some repeated exactly): the union
// covers a grid of test points exactly where one of the shapes does.
TEST(Unite, RandomShapesCoverWhatTheirPartsCover) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(0, 30), radius(6, 10), turn(0, 6.283);
    int mismatched = 0, points = 0;
    for (int run = 0; run < 40; ++run) {
        std::vector<Shape> shapes;
        std::vector<std::vector<std::vector<VtgPoint>>> alone;
        for (int j = 0; j < 2 + run % 3; ++j) {
            const double cx = place(random), cy = place(random), start = turn(random);
            const int corners = 3 + (run + j) % 5;
            const bool curved = run % 2 == 1;
            Outline o;
            for (int k = 0; k < corners; ++k) {
                const double a = start + 6.283185307 * k / corners, r = radius(random);
                const VtgPoint p{cx + r * std::cos(a), cy + r * std::sin(a)};
                const double h = curved ? r * 0.3 : 0;
                o.segments.push_back({p,
                                      {p.x + h * std::sin(a), p.y - h * std::cos(a)},
                                      {p.x - h * std::sin(a), p.y + h * std::cos(a)},
                                      curved ? 0 : 1});
            }
            if (run % 5 == 0 && j == 1)
                o = shapes[0].outlines[0]; // coincident with the first
            shapes.push_back(Path(o));
            alone.push_back(Flatten({o}));
        }
        std::vector<Outline> out;
        std::string why;
        ASSERT_EQ(hostapp::geometry::Unite(shapes, 10, out, &why), kNoErr) << run << ": " << why;
        const auto united = Flatten(out);
        for (double x = -12.3; x < 42; x += 1.1)
            for (double y = -12.7; y < 42; y += 1.3) {
                bool any = false;
                for (const auto& a : alone)
                    any = any || Inside(a, x, y);
                ++points;
                mismatched += any != Inside(united, x, y) ? 1 : 0;
            }
    }
    // Only points within the flattening error of a boundary may differ.
    EXPECT_LE(mismatched, points / 1000) << mismatched << " of " << points;
}

// --- the suite on a document --------------------------------------------------------

class PathfinderSuiteTest : public ::testing::Test {
protected:
    using ArtNode = hostapp::doc::ArtNode;

    void SetUp() override {
        ASSERT_EQ(host_.broker().acquire(kPathfinderSuiteName, kPathfinderSuiteVersion,
                                         reinterpret_cast<const void**>(&pf_)),
                  kNoErr);
        doc_ = host_.docs().newDocument(400, 400);
        hostapp::doc::Commit(*doc_);
    }
    ArtNode* Make(int32_t kind, ArtNode* into) {
        ArtNode* a = nullptr;
        EXPECT_EQ(hostapp::doc::CreateArt(*doc_, kind, kVtgPlaceInsideOnBottom, into, a), kNoErr);
        return a;
    }
    ArtNode* AddPath(ArtNode* into, const Outline& o, double gray = 0) {
        ArtNode* a = Make(kVtgArtPath, into);
        a->s.segments = o.segments;
        a->s.closed = o.closed;
        a->s.style.fill.on = 1;
        a->s.style.fill.color.kind = kVtgColorGray;
        a->s.style.fill.color.c[0] = gray;
        return a;
    }
    static ArtHandle H(const ArtNode* a) { return hostapp::doc::DocStore::handle(a); }
    ErrorCode Unite(const ArtNode* a) {
        const ArtHandle list[] = {H(a)};
        // The values the plug-in passes.
        const VtgPathfinderOptions options{10.0, 0x50000, 0.5, 1, {0.25, 1.0, 0.4, 1.0, 0.05}};
        return pf_->Unite(list, 1, &options);
    }
    static Outline Of(const ArtNode* path) { return {path->s.segments, path->s.closed}; }

    hostapp::Host host_;
    const PathfinderSuite* pf_ = nullptr;
    hostapp::doc::Document* doc_ = nullptr;
};

TEST_F(PathfinderSuiteTest, AGroupGetsOnePathWithTheTopmostStyle) {
    ArtNode* group = Make(kVtgArtGroup, nullptr);
    ArtNode* top = AddPath(group, Square(0, 0, 10), 0.25);
    ArtNode* inner = Make(kVtgArtGroup, group);
    ArtNode* below = AddPath(inner, Square(5, 5, 10), 0.75);
    hostapp::doc::Commit(*doc_);
    ASSERT_EQ(Unite(group), kNoErr);
    ASSERT_EQ(group->s.children.size(), 1u) << "the emptied inner group is gone too";
    const ArtNode* united = group->s.children[0];
    EXPECT_EQ(united->s.kind, kVtgArtPath);
    EXPECT_TRUE(united->s.closed);
    EXPECT_NEAR(FlatArea(Of(united)), 175, 1e-6);
    EXPECT_EQ(united->s.style.fill.color.c[0], 0.25);
    ArtNode* out = nullptr;
    for (const ArtNode* gone : {top, inner, below})
        EXPECT_EQ(host_.docs().art(H(gone), out), kDeadHandleErr);

    // One undo step brings the shapes back.
    hostapp::doc::Commit(*doc_);
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    ASSERT_EQ(group->s.children.size(), 2u);
    EXPECT_EQ(group->s.children[0], top);
    EXPECT_EQ(host_.docs().art(H(below), out), kNoErr);
}

TEST_F(PathfinderSuiteTest, SeparateOutlinesAndHolesMakeACompoundPath) {
    ArtNode* group = Make(kVtgArtGroup, nullptr);
    AddPath(group, Square(0, 0, 10), 0.5);
    AddPath(group, Square(20, 0, 5));
    ArtNode* ring = Make(kVtgArtCompoundPath, group);
    ring->s.style.fill.evenOdd = 1;
    AddPath(ring, Square(40, 0, 10));
    AddPath(ring, Square(43, 3, 4));
    ArtNode* other = Make(kVtgArtPlugin, group); // holds no path of its own: stays
    ASSERT_EQ(Unite(group), kNoErr);
    ASSERT_EQ(group->s.children.size(), 2u);
    const ArtNode* compound = group->s.children[0];
    EXPECT_EQ(group->s.children[1], other);
    ASSERT_EQ(compound->s.kind, kVtgArtCompoundPath);
    EXPECT_EQ(compound->s.style.fill.color.c[0], 0.5);
    ASSERT_EQ(compound->s.children.size(), 4u);
    double area = 0;
    for (const ArtNode* p : compound->s.children) {
        EXPECT_EQ(p->s.kind, kVtgArtPath);
        area += FlatArea(Of(p));
    }
    EXPECT_NEAR(area, 100 + 25 + 84, 1e-6);
}

TEST_F(PathfinderSuiteTest, PathsAndCompoundPathsChangeInPlace) {
    ArtNode* ring = Make(kVtgArtCompoundPath, nullptr);
    ArtNode* outer = AddPath(ring, Square(0, 0, 10));
    ArtNode* hole = AddPath(ring, Square(3, 3, 4, true));
    ASSERT_EQ(Unite(ring), kNoErr);
    ASSERT_EQ(ring->s.children.size(), 2u);
    EXPECT_EQ(ring->s.children[0], outer) << "the records are kept";
    EXPECT_EQ(ring->s.children[1], hole);
    EXPECT_NEAR(FlatArea(Of(outer)) + FlatArea(Of(hole)), 84, 1e-9);

    // Overlapping outlines of one compound path become one outline.
    ArtNode* pair = Make(kVtgArtCompoundPath, nullptr);
    ArtNode* first = AddPath(pair, Square(0, 0, 10));
    ArtNode* second = AddPath(pair, Square(5, 5, 10));
    ASSERT_EQ(Unite(pair), kNoErr);
    ASSERT_EQ(pair->s.children.size(), 1u);
    EXPECT_EQ(pair->s.children[0], first);
    EXPECT_NEAR(FlatArea(Of(first)), 175, 1e-6);
    ArtNode* out = nullptr;
    EXPECT_EQ(host_.docs().art(H(second), out), kDeadHandleErr);

    Outline open;
    open.segments = {Corner(0, 0), Corner(10, 0), Corner(0, 10)};
    open.closed = false;
    ArtNode* path = AddPath(nullptr, open);
    ASSERT_EQ(Unite(path), kNoErr);
    EXPECT_TRUE(path->s.closed);
    EXPECT_NEAR(FlatArea(Of(path)), 50, 1e-9);
}

TEST_F(PathfinderSuiteTest, BadInputChangesNothing) {
    ArtNode* group = Make(kVtgArtGroup, nullptr);
    ArtNode* a = AddPath(group, Square(0, 0, 10));
    Outline bad = Square(5, 5, 10);
    bad.segments[1].out.x = std::numeric_limits<double>::quiet_NaN();
    ArtNode* b = AddPath(group, bad);
    const std::vector<PathSegment> before = a->s.segments;
    hostapp::doc::Commit(*doc_);
    EXPECT_EQ(Unite(group), kBadParameterErr);
    ASSERT_EQ(group->s.children.size(), 2u);
    EXPECT_EQ(group->s.children[0], a);
    EXPECT_EQ(group->s.children[1], b);
    EXPECT_EQ(a->s.segments.size(), before.size());
    EXPECT_TRUE(doc_->pending.empty()) << "not even touched";

    ArtNode* flat = AddPath(nullptr, Outline{{Corner(0, 0), Corner(5, 0)}, false});
    EXPECT_EQ(Unite(flat), kNoErr);
    EXPECT_FALSE(flat->s.closed) << "no area: left as it is";

    const ArtHandle nullArt[] = {nullptr};
    EXPECT_EQ(pf_->Unite(nullptr, 1, nullptr), kBadParameterErr);
    EXPECT_EQ(pf_->Unite(nullArt, -1, nullptr), kBadParameterErr);
    EXPECT_EQ(pf_->Unite(nullArt, 1, nullptr), kBadParameterErr);
    EXPECT_EQ(pf_->Unite(nullArt, 0, nullptr), kNoErr);
    hostapp::doc::DeleteArt(flat);
    EXPECT_EQ(Unite(flat), kDeadHandleErr);
}

} // namespace
