// The SVG path grammar: strings and the segments they give.
#include <gtest/gtest.h>

#include <cmath>

#include "host/svg/path_data.hpp"

namespace {

using hostapp::svg::ParsePathData;
using hostapp::svg::PathDataError;
using hostapp::svg::Subpath;

struct Seg {
    double ax, ay, ix, iy, ox, oy;
};

struct GrammarCase {
    const char* d;
    std::vector<std::vector<Seg>> subpaths;
    std::vector<bool> closed;
};

void ExpectNear(const PathSegment& s, const Seg& e, const char* d, size_t i) {
    const double tol = 1e-9;
    EXPECT_NEAR(s.anchor.x, e.ax, tol) << d << " segment " << i;
    EXPECT_NEAR(s.anchor.y, e.ay, tol) << d << " segment " << i;
    EXPECT_NEAR(s.in.x, e.ix, tol) << d << " segment " << i;
    EXPECT_NEAR(s.in.y, e.iy, tol) << d << " segment " << i;
    EXPECT_NEAR(s.out.x, e.ox, tol) << d << " segment " << i;
    EXPECT_NEAR(s.out.y, e.oy, tol) << d << " segment " << i;
}

TEST(SvgPathGrammar, CommandsGiveTheirSegments) {
    const double q1 = 2.0 / 3.0 * 10; // a quadratic control at 10 seen from 0
    const GrammarCase cases[] = {
        {"M1 2", {{{1, 2, 1, 2, 1, 2}}}, {false}},
        {"M0 0 L10 0 20 5",
         {{{0, 0, 0, 0, 0, 0}, {10, 0, 10, 0, 10, 0}, {20, 5, 20, 5, 20, 5}}},
         {false}},
        {"m1 1 l2 0 l0 3", {{{1, 1, 1, 1, 1, 1}, {3, 1, 3, 1, 3, 1}, {3, 4, 3, 4, 3, 4}}}, {false}},
        {"M0 0 m 5 5 2 0",
         {{{0, 0, 0, 0, 0, 0}}, {{5, 5, 5, 5, 5, 5}, {7, 5, 7, 5, 7, 5}}},
         {false, false}},
        {"M0 0H10V10h-5v-5",
         {{{0, 0, 0, 0, 0, 0},
           {10, 0, 10, 0, 10, 0},
           {10, 10, 10, 10, 10, 10},
           {5, 10, 5, 10, 5, 10},
           {5, 5, 5, 5, 5, 5}}},
         {false}},
        {"M0 0C1 2 3 4 5 6", {{{0, 0, 0, 0, 1, 2}, {5, 6, 3, 4, 5, 6}}}, {false}},
        {"M0 0c1 2 3 4 5 6s1 1 2 2",
         {{{0, 0, 0, 0, 1, 2}, {5, 6, 3, 4, 7, 8}, {7, 8, 6, 7, 7, 8}}},
         {false}},
        {"M0 0S3 4 5 6", {{{0, 0, 0, 0, 0, 0}, {5, 6, 3, 4, 5, 6}}}, {false}},
        {"M0 0Q10 0 10 10", {{{0, 0, 0, 0, q1, 0}, {10, 10, 10, 10 - q1, 10, 10}}}, {false}},
        {"M0 0Q10 0 10 10T20 20",
         {{{0, 0, 0, 0, q1, 0}, {10, 10, 10, 10 - q1, 10, 10 + q1}, {20, 20, 20 - q1, 20, 20, 20}}},
         {false}},
        {"M0 0 L10 0 L10 10 Z",
         {{{0, 0, 0, 0, 0, 0}, {10, 0, 10, 0, 10, 0}, {10, 10, 10, 10, 10, 10}}},
         {true}},
        // A last anchor on the start point merges with it; its in handle is kept.
        {"M0 0 C1 1 2 2 10 0 C9 5 1 5 0 0 Z", {{{0, 0, 1, 5, 1, 1}, {10, 0, 2, 2, 9, 5}}}, {true}},
        // After Z a drawing command starts a new subpath at the start point.
        {"M1 1 L5 1 Z L1 5",
         {{{1, 1, 1, 1, 1, 1}, {5, 1, 5, 1, 5, 1}}, {{1, 1, 1, 1, 1, 1}, {1, 5, 1, 5, 1, 5}}},
         {true, false}},
        // Numbers packed without separators.
        {"M.5.5L-1-1e1", {{{0.5, 0.5, 0.5, 0.5, 0.5, 0.5}, {-1, -10, -1, -10, -1, -10}}}, {false}},
        {"", {}, {}},
    };
    for (const GrammarCase& c : cases) {
        std::vector<Subpath> out;
        PathDataError err;
        ASSERT_TRUE(ParsePathData(c.d, out, err)) << c.d << ": " << err.reason;
        ASSERT_EQ(out.size(), c.subpaths.size()) << c.d;
        for (size_t s = 0; s < out.size(); ++s) {
            ASSERT_EQ(out[s].segments.size(), c.subpaths[s].size()) << c.d;
            EXPECT_EQ(out[s].closed, c.closed[s]) << c.d;
            for (size_t i = 0; i < out[s].segments.size(); ++i)
                ExpectNear(out[s].segments[i], c.subpaths[s][i], c.d, i);
        }
    }
}

// Arcs become cubics whose ends are exact and whose midpoints lie on the ellipse.
TEST(SvgPathGrammar, ArcsBecomeCubicsOnTheEllipse) {
    struct ArcCase {
        const char* d;
        size_t pieces;
        double cx, cy, rx, ry;
    };
    const ArcCase cases[] = {
        {"M0 0 A10 10 0 0 1 20 0", 2, 10, 0, 10, 10}, // half circle: two quarters
        {"M0 0 A10 10 0 1 1 0 0.001", 4, 0, 0, 0, 0}, // nearly full circle
        {"M0 0 a20 10 0 0 0 40 0", 2, 20, 0, 20, 10},
        {"M0 0 A1 1 0 0 1 30 0", 2, 15, 0, 15, 15}, // radius too small: scaled up
        {"M0 0 A0 5 0 0 1 10 0", 1, 0, 0, 0, 0},    // zero radius: a line
        {"M0 0A5 5 0 1110 0", 2, 5, 0, 5, 5},       // flags without separators
    };
    for (const ArcCase& c : cases) {
        std::vector<Subpath> out;
        PathDataError err;
        ASSERT_TRUE(ParsePathData(c.d, out, err)) << c.d << ": " << err.reason;
        ASSERT_EQ(out.size(), 1u);
        const auto& g = out[0].segments;
        ASSERT_EQ(g.size(), c.pieces + 1) << c.d;
        if (c.rx == 0)
            continue;
        for (size_t i = 0; i + 1 < g.size(); ++i) {
            const PathSegment& a = g[i];
            const PathSegment& b = g[i + 1];
            const double mx =
                0.125 * a.anchor.x + 0.375 * a.out.x + 0.375 * b.in.x + 0.125 * b.anchor.x;
            const double my =
                0.125 * a.anchor.y + 0.375 * a.out.y + 0.375 * b.in.y + 0.125 * b.anchor.y;
            const double e = std::pow((mx - c.cx) / c.rx, 2) + std::pow((my - c.cy) / c.ry, 2);
            EXPECT_NEAR(e, 1.0, 1e-3) << c.d << " piece " << i;
        }
    }
}

TEST(SvgPathGrammar, BrokenStringsAreRefusedWithTheirPosition) {
    struct BadCase {
        const char* d;
        size_t offset;
    };
    const BadCase cases[] = {
        {"L10 10", 0},               // no moveto first
        {"10 10", 0},                // no command at all
        {"M10", 3},                  // missing coordinate
        {"M0 0 X5 5", 5},            // unknown command
        {"M0 0 L1e400 0", 6},        // overflows a double
        {"M0 0 L2e9 0", 6},          // absurdly large
        {"M0 0 Z 5 5", 7},           // numbers after closepath
        {"M0 0 A5 5 0 2 0 1 1", 12}, // bad arc flag
        {"M0 0 L5 #", 8},            // stray character
    };
    for (const BadCase& c : cases) {
        std::vector<Subpath> out;
        PathDataError err;
        EXPECT_FALSE(ParsePathData(c.d, out, err)) << c.d;
        EXPECT_EQ(err.offset, c.offset) << c.d << ": " << err.reason;
        EXPECT_FALSE(err.reason.empty());
    }
}

TEST(SvgPathGrammar, NumbersHaveAtMostSixDecimals) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1.5, "1.5"},
        {-2.25, "-2.25"},
        {1.0 / 3, "0.333333"},
        {2.0000004, "2"},
        {-0.0000001, "0"},
        {123456.7, "123456.7"},
        {1e6, "1000000"},
        {0.1 + 0.2, "0.3"},
    };
    for (const auto& [v, text] : cases)
        EXPECT_EQ(hostapp::svg::FormatNumber(v), text) << v;
}

TEST(SvgPathGrammar, WritingGivesOneCurvePerPiece) {
    std::vector<PathSegment> g = {{{0, 0}, {0, 0}, {1, 0}, 1}, {{2, 2}, {2, 1}, {3, 3}, 0}};
    std::string open, closed;
    hostapp::svg::AppendPathData(open, g, false);
    hostapp::svg::AppendPathData(closed, g, true);
    EXPECT_EQ(open, "M0 0 C1 0 2 1 2 2");
    EXPECT_EQ(closed, "M0 0 C1 0 2 1 2 2 C3 3 0 0 0 0 Z");
    // Reading the closed form back gives the same two segments.
    std::vector<Subpath> back;
    PathDataError err;
    ASSERT_TRUE(ParsePathData(closed, back, err));
    ASSERT_EQ(back.size(), 1u);
    ASSERT_EQ(back[0].segments.size(), 2u);
    EXPECT_TRUE(back[0].closed);
    EXPECT_EQ(back[0].segments[1].out.x, 3);
    EXPECT_EQ(back[0].segments[0].in.x, 0);
}

} // namespace
