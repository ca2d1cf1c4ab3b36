#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "geometry/curve_ops.hpp"
#include "geometry_fixture.hpp"

namespace {

using vtgtest::Corner;
using vtgtest::CurvePoint;
using vtgtest::GeometryTest;
using vtgtest::SamePoint;

// --- mappings of the generic transform -----------------------------------

ErrorCode Identity(const vtg::TransformContext&, double x, double y, double* ox, double* oy,
                   double* oz) {
    *ox = x;
    *oy = y;
    *oz = 0;
    return kNoErr;
}

// y + amplitude * sin(x / wavelength); amplitude in param1, wavelength in param3.
ErrorCode Sine(const vtg::TransformContext& c, double x, double y, double* ox, double* oy,
               double* oz) {
    *ox = x;
    *oy = y + c.param1 * std::sin(x / c.param3);
    *oz = 0;
    return kNoErr;
}

// A mapping no cubic can follow: every point moves by a pseudo-random offset.
ErrorCode Noise(const vtg::TransformContext&, double x, double y, double* ox, double* oy,
                double* oz) {
    uint64_t bits[2];
    std::memcpy(&bits[0], &x, 8);
    std::memcpy(&bits[1], &y, 8);
    uint64_t h = bits[0] * 0x9E3779B97F4A7C15ull ^ (bits[1] + 0x632BE59BD9B4E019ull);
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    *ox = x + static_cast<double>(h & 0xFFFF) / 655.36;
    *oy = y + static_cast<double>((h >> 16) & 0xFFFF) / 655.36;
    *oz = 0;
    return kNoErr;
}

// A ripple so fine that pieces must be split below 0.1 point: a long path
// then needs more than 31 998 segments.
ErrorCode Ripple(const vtg::TransformContext&, double x, double y, double* ox, double* oy,
                 double* oz) {
    *ox = x;
    *oy = y + 5 * std::sin(20 * x);
    *oz = 0;
    return kNoErr;
}

// Depth = -x, so points further right lie further towards the viewer.
ErrorCode DepthFromX(const vtg::TransformContext&, double x, double y, double* ox, double* oy,
                     double* oz) {
    *ox = x;
    *oy = y;
    *oz = -x;
    return kNoErr;
}

ErrorCode FailsRightOf50(const vtg::TransformContext&, double x, double y, double* ox, double* oy,
                         double* oz) {
    *ox = x;
    *oy = y;
    *oz = 0;
    return x > 50 ? vtg::FourCC("!oVf") : kNoErr;
}

ErrorCode AlwaysOutside(const vtg::TransformContext&, double x, double y, double* ox, double* oy,
                        double* oz) {
    *ox = x + 1000; // must be ignored
    *oy = y;
    *oz = 5;
    return vtg::kOutsideArea;
}

vtg::TransformContext Context(vtg::PointMapping mapping) {
    vtg::TransformContext c;
    c.mapping = mapping;
    return c;
}

// A PathInfo owning a host block holding `segs`.
vtg::PathInfo MakeInfo(const std::vector<PathSegment>& segs, bool closed) {
    vtg::PathInfo info;
    EXPECT_EQ(
        vtg::AllocateSegmentArray(static_cast<int32_t>(segs.size()), "test path", &info.segments),
        kNoErr);
    if (!segs.empty())
        std::memcpy(info.segments, segs.data(), segs.size() * sizeof(PathSegment));
    info.count = static_cast<int16_t>(segs.size());
    info.closed = closed ? 1 : 0;
    return info;
}

std::vector<PathSegment> Segments(const vtg::PathInfo& info) {
    return std::vector<PathSegment>(info.segments, info.segments + info.count);
}

class Curves : public GeometryTest {};

// --- splitting ---------------------------------------------------------------

TEST_F(Curves, SplitSegmentHalfKeepsTheCurveAndShiftsTheRest) {
    std::vector<PathSegment> s = {Corner(0, 0), Corner(0, 0), Corner(30, 0), Corner(40, 0),
                                  Corner(0, 0)};
    s[0].out = {10, 20};
    s[1] = PathSegment{{30, 0}, {20, 20}, {35, 5}, 0};
    s[2] = Corner(50, 10);
    const std::vector<PathSegment> before = s;
    vtg::SplitSegmentHalf(s.data(), 0, 3);
    // The two halves trace the original piece.
    for (double t : {0.1, 0.25, 0.4}) {
        EXPECT_TRUE(SamePoint(CurvePoint(s[0], s[1], t), CurvePoint(before[0], before[1], t / 2)));
        EXPECT_TRUE(
            SamePoint(CurvePoint(s[1], s[2], t), CurvePoint(before[0], before[1], 0.5 + t / 2)));
    }
    EXPECT_EQ(s[1].corner, 0);
    EXPECT_TRUE(SamePoint(s[1].anchor, CurvePoint(before[0], before[1], 0.5)));
    EXPECT_TRUE(SamePoint(s[2].anchor, before[1].anchor));
    EXPECT_TRUE(SamePoint(s[2].out, before[1].out)) << "the far handle is untouched";
    EXPECT_TRUE(SamePoint(s[3].anchor, before[2].anchor)) << "the next segment moved up";
}

TEST_F(Curves, SplitSegmentAtOnlyInsideTheUnitInterval) {
    struct Case {
        double t;
        bool splits;
    } cases[] = {{-0.1, false}, {0.0, true}, {0.3, true}, {1.0, true}, {1.2, false}};
    for (const Case& c : cases) {
        std::vector<PathSegment> s = {Corner(0, 0), Corner(30, 0), Corner(60, 30)};
        s[0].out = {10, 20};
        s[1].in = {20, 20};
        const std::vector<PathSegment> before = s;
        const VtgBezier piece = vtg::PieceOf(s[0], s[1]);
        EXPECT_EQ(vtg::SplitSegmentAt(piece, s.data(), 0, 2, c.t), c.splits) << c.t;
        if (!c.splits) {
            EXPECT_TRUE(vtgtest::SameSegments(s, before)) << "t = " << c.t << " changes nothing";
            continue;
        }
        EXPECT_TRUE(SamePoint(s[1].anchor, CurvePoint(before[0], before[1], c.t)));
        EXPECT_TRUE(SamePoint(s[2].anchor, before[1].anchor));
        if (c.t > 0 && c.t < 1) {
            EXPECT_TRUE(
                SamePoint(CurvePoint(s[0], s[1], 0.5), CurvePoint(before[0], before[1], c.t / 2)));
        }
    }
}

TEST_F(Curves, FindInsideParameter) {
    // A straight line from (0,0) to (100,0) as a cubic.
    const VtgBezier line{{0, 0}, {100.0 / 3, 0}, {200.0 / 3, 0}, {100, 0}};
    struct Case {
        const char* what;
        VtgRect area;
        bool found;
        double t;
    } cases[] = {
        {"crossing the middle", {40, 10, 60, -10}, true, 0.5},
        {"holding the end", {90, 10, 120, -10}, true, 0.95},
        {"holding the start", {-10, 10, 10, -10}, true, 0.05},
        {"never entered", {40, 50, 60, 20}, false, 0},
        {"whole curve inside", {-1, 1, 101, -1}, true, 0.5},
    };
    for (const Case& c : cases) {
        double t = -5;
        EXPECT_EQ(vtg::FindInsideParameter(line, c.area, &t), c.found) << c.what;
        if (c.found) {
            EXPECT_NEAR(t, c.t, 0.011) << c.what;
        }
    }
}

// --- fitting -----------------------------------------------------------------

TEST_F(Curves, FitToleranceByKind) {
    struct Case {
        int16_t kind;
        double param2, param4, e, g;
    } cases[] = {
        {1, 0, 0, 0.05, 0.1},  {1, 0, 0, 0.5, 0.5},   {10, 0, 0, 3, 1},  {0, 0, 0, 0.05, 0.1},
        {0, 0, 0, 1.5, 1.5},   {0, 0, 0, 5, 2},       {11, 0, 0, 5, 2},  {42, 0, 0, 5, 2},
        {5, 4, 0, 9, 0.25},    {6, 1, -8, 9, 0.125},  {5, 0, 0, 9, 0.5}, {6, 100, 0, 9, 0.05},
        {7, 0.5, 100, 9, 0.5}, {7, 10, 1000, 9, 0.1},
    };
    for (const Case& c : cases) {
        vtg::TransformContext ctx;
        ctx.kind = c.kind;
        ctx.param2 = c.param2;
        ctx.param4 = c.param4;
        EXPECT_DOUBLE_EQ(vtg::FitTolerance(ctx, c.e), c.g) << "kind " << c.kind << " e " << c.e;
    }
}

TEST_F(Curves, FitHandlesOfStraightAndHalfRetractedPieces) {
    const vtg::TransformContext ctx = Context(&Identity);
    { // both handles retracted: the handles start at the chord's thirds
        PathSegment a = Corner(0, 0), b = Corner(90, 0);
        a.corner = b.corner = 0;
        double depth = 0;
        EXPECT_EQ(vtg::FitMappedCurve(ctx, a, b, &depth, true), vtg::kFitAccepted);
        EXPECT_TRUE(SamePoint(a.out, {30, 0}, 1e-6));
        EXPECT_TRUE(SamePoint(b.in, {60, 0}, 1e-6));
        EXPECT_EQ(a.corner, 1);
        EXPECT_EQ(b.corner, 1);
    }
    { // only the out handle retracted: it stays retracted
        PathSegment a = Corner(0, 0), b = Corner(90, 0);
        b.in = {60, 30};
        EXPECT_EQ(vtg::FitMappedCurve(ctx, a, b, nullptr, true), vtg::kFitAccepted);
        EXPECT_TRUE(SamePoint(a.out, a.anchor)) << "retracted handle kept";
        EXPECT_NEAR(b.in.x, 60, 0.05);
        EXPECT_NEAR(b.in.y, 30, 0.05);
    }
}

TEST_F(Curves, FitSplitsOnlyWhenAllowed) {
    vtg::TransformContext ctx = Context(&Sine);
    ctx.param1 = 40;
    ctx.param3 = 10;
    PathSegment a = Corner(0, 0), b = Corner(200, 0);
    PathSegment a2 = a, b2 = b;
    EXPECT_EQ(vtg::FitMappedCurve(ctx, a, b, nullptr, true), vtg::kFitSplitNeeded);
    EXPECT_TRUE(SamePoint(a.anchor, {0, 0})) << "nothing written on a split";
    EXPECT_EQ(vtg::FitMappedCurve(ctx, a2, b2, nullptr, false), vtg::kFitAccepted);
    EXPECT_NEAR(b2.anchor.y, 40 * std::sin(20.0), 1e-9);
}

TEST_F(Curves, FitDepthPerspectiveAndStatuses) {
    struct Case {
        const char* what;
        vtg::PointMapping mapping;
        double perspective;
        ErrorCode result;
        double depth;
        VtgPoint end;
    } cases[] = {
        {"no perspective keeps x, y",
         &DepthFromX,
         vtg::kNoPerspective,
         vtg::kFitAccepted,
         -10,
         {20, 0}},
        {"perspective divides", &DepthFromX, 100, vtg::kFitAccepted, -10, {20 * 100.0 / 120.0, 0}},
        {"behind the viewer", &DepthFromX, 15, vtg::kFitBehindViewer, -10, {0, 0}},
        {"outside the area is unchanged", &AlwaysOutside, 100, vtg::kFitAccepted, 0, {20, 0}},
        {"mapping error", &FailsRightOf50, vtg::kNoPerspective, kNoErr, 0, {0, 0}},
    };
    for (const Case& c : cases) {
        vtg::TransformContext ctx = Context(c.mapping);
        ctx.perspectiveDistance = c.perspective;
        PathSegment a = Corner(10, 0), b = Corner(20, 0);
        if (c.mapping == &FailsRightOf50) {
            a = Corner(40, 0);
            b = Corner(60, 0);
            EXPECT_EQ(vtg::FitMappedCurve(ctx, a, b, nullptr, true), vtg::FourCC("!oVf"));
            continue;
        }
        double depth = 0;
        EXPECT_EQ(vtg::FitMappedCurve(ctx, a, b, &depth, false), c.result) << c.what;
        EXPECT_DOUBLE_EQ(depth, c.depth) << c.what;
        if (c.result == vtg::kFitAccepted) {
            EXPECT_TRUE(SamePoint(b.anchor, c.end, 1e-9)) << c.what;
        }
    }
}

TEST_F(Curves, FitHonoursTheMappingCentre) {
    // Depth = -x relative to the centre: with the centre at (100, 0) the
    // anchors at x = 90 and 110 have depths 10 and -10.
    vtg::TransformContext ctx = Context(&DepthFromX);
    ctx.mappingCentre = {100, 0};
    PathSegment a = Corner(90, 0), b = Corner(110, 0);
    double depth = 0;
    EXPECT_EQ(vtg::FitMappedCurve(ctx, a, b, &depth, true), vtg::kFitAccepted);
    EXPECT_DOUBLE_EQ(depth, 10);
    EXPECT_TRUE(SamePoint(a.anchor, {90, 0}));
    EXPECT_TRUE(SamePoint(b.anchor, {110, 0}));
}

// --- TransformPath -------------------------------------------------------------

TEST_F(Curves, IdentityOnlyMakesCornersAndRetractsOpenEnds) {
    for (bool closed : {false, true}) {
        const std::vector<PathSegment> src = vtgtest::RoundPath(12, 50);
        vtg::PathInfo info = MakeInfo(src, closed);
        EXPECT_EQ(vtg::TransformPath(Context(&Identity), nullptr, info), kNoErr);
        ASSERT_EQ(info.count, 12) << "closed " << closed;
        const std::vector<PathSegment> out = Segments(info);
        for (int i = 0; i < 12; ++i) {
            EXPECT_TRUE(SamePoint(out[i].anchor, src[i].anchor, 1e-9)) << i;
            EXPECT_EQ(out[i].corner, 1) << i;
            const bool openStart = !closed && i == 0, openEnd = !closed && i == 11;
            EXPECT_TRUE(SamePoint(out[i].in, openStart ? src[i].anchor : src[i].in, 0.01)) << i;
            EXPECT_TRUE(SamePoint(out[i].out, openEnd ? src[i].anchor : src[i].out, 0.01)) << i;
        }
        vtg::FreeBlock(info.segments);
    }
    EXPECT_EQ(LiveBlocks(), 0);
}

TEST_F(Curves, ShortPathsAreLeftAsTheyAre) {
    for (int n : {0, 1}) {
        std::vector<PathSegment> src = vtgtest::SmoothPath(n);
        vtg::PathInfo info = MakeInfo(src, false);
        PathSegment* before = info.segments;
        EXPECT_EQ(vtg::TransformPath(Context(&Noise), nullptr, info), kNoErr);
        EXPECT_EQ(info.count, n);
        EXPECT_EQ(info.segments, before);
        if (n == 1) {
            EXPECT_TRUE(vtgtest::SameSegments(info.segments, src.data(), 1));
        }
        vtg::FreeBlock(info.segments);
    }
}

TEST_F(Curves, SineDisplacementFollowsTheMapping) {
    vtg::TransformContext ctx = Context(&Sine);
    ctx.param1 = 8;
    ctx.param3 = 15;
    const std::vector<PathSegment> src = vtgtest::Polyline(20, 25);
    vtg::PathInfo info = MakeInfo(src, false);
    EXPECT_EQ(vtg::TransformPath(ctx, nullptr, info), kNoErr);
    ASSERT_GT(info.count, 20) << "the sine needs subdivision on 25-point pieces";
    const std::vector<PathSegment> out = Segments(info);
    // Every source anchor appears, mapped, in order; curve points lie close
    // to the mapped straight pieces.
    size_t k = 0;
    for (const PathSegment& s : src) {
        const VtgPoint want{s.anchor.x, s.anchor.y + 8 * std::sin(s.anchor.x / 15)};
        while (k < out.size() && !SamePoint(out[k].anchor, want, 1e-9))
            ++k;
        ASSERT_LT(k, out.size()) << "mapped anchor " << s.anchor.x << " missing";
    }
    for (size_t i = 0; i + 1 < out.size(); ++i) {
        const VtgPoint m = CurvePoint(out[i], out[i + 1], 0.5);
        // The source is a polyline, so the piece's x runs straight: compare
        // against the mapping of the source point with the same x.
        const double segIndex = std::floor(m.x / 25);
        const double fx = (m.x - segIndex * 25) / 25;
        const double y0 = (static_cast<int>(segIndex) % 2) * 25.0, y1 = 25.0 - y0;
        const double srcY = y0 + (y1 - y0) * fx;
        EXPECT_NEAR(m.y, srcY + 8 * std::sin(m.x / 15), 2.1) << "piece " << i;
    }
    vtg::FreeBlock(info.segments);
    EXPECT_EQ(LiveBlocks(), 0);
}

TEST_F(Curves, SegmentGuardsLeaveThePathUntransformed) {
    struct Case {
        const char* what;
        int n;
        double step;
        vtg::PointMapping mapping;
        int expected; // -1: untransformed
    } cases[] = {
        {"31 998 segments are written", 31998, 1, &Identity, 31998},
        {"31 999 segments are refused", 31999, 1, &Identity, -1},
        {"a piece starting beyond 31 997", 32010, 1, &Identity, -1},
        {"subdivision beyond the limit", 8, 200, &Ripple, -1},
        {"a mapping no cubic follows", 3, 10, &Noise, -1},
    };
    for (const Case& c : cases) {
        const std::vector<PathSegment> src = vtgtest::Polyline(c.n, c.step);
        vtg::PathInfo source = MakeInfo(src, false), working = MakeInfo({}, false);
        EXPECT_EQ(vtg::TransformPath(Context(c.mapping), &source, working), kNoErr) << c.what;
        if (c.expected < 0) {
            ASSERT_EQ(working.count, static_cast<int16_t>(c.n)) << c.what;
            EXPECT_TRUE(vtgtest::SameSegments(working.segments, src.data(), src.size()))
                << c.what << ": the working copy keeps the source geometry";
        } else {
            EXPECT_EQ(working.count, c.expected) << c.what;
            EXPECT_EQ(working.segments[0].corner, 1) << c.what;
        }
        vtg::FreeBlock(working.segments);
        vtg::FreeBlock(source.segments);
        EXPECT_EQ(LiveBlocks(), 0) << c.what;
    }
}

TEST_F(Curves, RepeatedTransformsFreeTheReplacedArray) {
    vtg::TransformContext ctx = Context(&Sine);
    ctx.param1 = 8;
    ctx.param3 = 15;
    vtg::PathInfo source = MakeInfo(vtgtest::Polyline(10, 25), false);
    vtg::PathInfo working = MakeInfo(vtgtest::Polyline(10, 25), false);
    const int before = LiveBlocks();
    for (int round = 0; round < 4; ++round) {
        ctx.param1 = 4.0 + round;
        EXPECT_EQ(vtg::TransformPath(ctx, &source, working), kNoErr);
        EXPECT_EQ(LiveBlocks(), before) << "round " << round;
        EXPECT_EQ(host().memory().usage("transform sgs").blocks, 0);
        EXPECT_EQ(host().memory().usage("transform segs").blocks, 1);
    }
    EXPECT_EQ(source.count, 10) << "the source copy is never rewritten";
    EXPECT_EQ(source.segments[3].corner, 1);
    vtg::FreeBlock(working.segments);
    vtg::FreeBlock(source.segments);
}

TEST_F(Curves, FailuresLeaveTheWorkingCopyWhole) {
    const std::vector<PathSegment> src = vtgtest::Polyline(10, 10);
    struct Case {
        const char* what;
        const char* failName;
        vtg::PointMapping mapping;
        ErrorCode result;
    } cases[] = {
        {"no work array", "transform sgs", &Identity, kOutOfMemoryErr},
        {"no result block", "transform segs", &Identity, kOutOfMemoryErr},
        {"mapping error", nullptr, &FailsRightOf50, vtg::FourCC("!oVf")},
    };
    for (const Case& c : cases) {
        vtg::PathInfo info = MakeInfo(src, false);
        if (c.failName != nullptr)
            host().memory().failName(c.failName);
        EXPECT_EQ(vtg::TransformPath(Context(c.mapping), nullptr, info), c.result) << c.what;
        host().memory().clearFaults();
        ASSERT_EQ(info.count, 10);
        EXPECT_TRUE(vtgtest::SameSegments(info.segments, src.data(), src.size())) << c.what;
        vtg::FreeBlock(info.segments);
        EXPECT_EQ(LiveBlocks(), 0) << c.what;
    }
}

TEST_F(Curves, DepthIsKeptWithoutPerspective) {
    vtg::PathInfo info = MakeInfo({Corner(-30, 0), Corner(-10, 5), Corner(20, 0)}, false);
    EXPECT_EQ(vtg::TransformPath(Context(&DepthFromX), nullptr, info), kNoErr);
    EXPECT_DOUBLE_EQ(info.depth, 30);
    vtg::FreeBlock(info.segments);
}

// --- TransformPaths --------------------------------------------------------------

int gSetupCalls[vtg::kTransformSetupKinds];
ErrorCode gSetupResult = kNoErr;

template <int Kind> ErrorCode KindSetup(vtg::TransformContext& c, vtg::PathSet&) {
    ++gSetupCalls[Kind];
    c.mapping = Kind == 0 ? &Identity : &DepthFromX;
    return gSetupResult;
}

TEST_F(Curves, TransformPathsRunsTheKindsSetupAndSumsTheResult) {
    const vtg::TransformSetup setups[vtg::kTransformSetupKinds] = {
        &KindSetup<0>, &KindSetup<1>, &KindSetup<2>, nullptr, nullptr, nullptr,
        nullptr,       nullptr,       nullptr,       nullptr, nullptr, nullptr};
    struct Case {
        int16_t kind;
        ErrorCode setupResult;
        double perspective;
        ErrorCode result;
        int32_t status;
        int setupKind;
    } cases[] = {
        {0, kNoErr, vtg::kNoPerspective, kNoErr, 0, 0},
        {13, kNoErr, vtg::kNoPerspective, kNoErr, 0, 0},
        {1, 2, vtg::kNoPerspective, kNoErr, 2, 1},
        {2, kNoErr, 5, kNoErr, 1, 2},
        {1, vtg::FourCC("!oVf"), vtg::kNoPerspective, vtg::FourCC("!oVf"), 0, 1},
    };
    for (const Case& c : cases) {
        std::memset(gSetupCalls, 0, sizeof gSetupCalls);
        gSetupResult = c.setupResult;
        vtg::PathInfo src[2] = {MakeInfo(vtgtest::Polyline(3, 10), false),
                                MakeInfo(vtgtest::Polyline(4, 10), true)};
        vtg::PathInfo work[2] = {MakeInfo({}, false), MakeInfo({}, false)};
        vtg::PathSet set;
        set.pathCount = 2;
        set.source = src;
        set.working = work;
        vtg::TransformContext ctx;
        ctx.setups = setups;
        ctx.perspectiveDistance = c.perspective;
        EXPECT_EQ(vtg::TransformPaths(ctx, set, c.kind), c.result) << "kind " << c.kind;
        EXPECT_EQ(gSetupCalls[c.setupKind], 1) << "kind " << c.kind;
        EXPECT_EQ(set.status, c.status) << "kind " << c.kind;
        if (c.result == kNoErr) {
            EXPECT_EQ(set.resultSegmentTotal, work[0].count + work[1].count);
            EXPECT_GE(set.resultSegmentTotal, 7);
        }
        for (auto* infos : {src, work})
            for (int i = 0; i < 2; ++i)
                vtg::FreeBlock(infos[i].segments);
    }
    EXPECT_EQ(LiveBlocks(), 0);
}

} // namespace
