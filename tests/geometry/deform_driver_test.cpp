#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "geometry/curve_ops.hpp"
#include "geometry/deform_driver.hpp"
#include "geometry_fixture.hpp"

namespace {

using vtgtest::Corner;
using vtgtest::DocTest;
using vtgtest::Polyline;
using vtgtest::SamePoint;
using vtgtest::SameSegments;

class Identity : public vtg::DeformVariant {
public:
    explicit Identity(bool declared) : declared_(declared) {}
    ErrorCode Map(VtgPoint p, VtgPoint* out) override {
        *out = p;
        return kNoErr;
    }
    bool IsIdentity() const override { return declared_; }

private:
    bool declared_;
};

class Sine : public vtg::DeformVariant {
public:
    ErrorCode Map(VtgPoint p, VtgPoint* out) override {
        *out = VtgPoint{p.x, p.y + 6 * std::sin(p.x / 12)};
        return kNoErr;
    }
};

// A ripple so fine that a long path needs more than 31 998 segments.
class Ripple : public vtg::DeformVariant {
public:
    ErrorCode Map(VtgPoint p, VtgPoint* out) override {
        *out = VtgPoint{p.x, p.y + 5 * std::sin(20 * p.x)};
        return kNoErr;
    }
};

// Lifts points inside [x0, x1] x [-50, 50] by a bump of height 5; outside:
// "ooTa".
class Area : public vtg::DeformVariant {
public:
    Area(double x0, double x1) : x0_(x0), x1_(x1) {}
    ErrorCode Map(VtgPoint p, VtgPoint* out) override {
        if (p.x < x0_ || p.x > x1_ || std::fabs(p.y) > 50)
            return vtg::kOutsideArea;
        *out = VtgPoint{p.x, p.y + 5 * std::sin(M_PI * (p.x - x0_) / (x1_ - x0_))};
        return kNoErr;
    }
    bool SplitArea(VtgRect* area) const override {
        *area = VtgRect{x0_, 50, x1_, -50};
        return splitArea;
    }
    bool splitArea = false;

private:
    double x0_, x1_;
};

class Failing : public vtg::DeformVariant {
public:
    ErrorCode Map(VtgPoint p, VtgPoint* out) override {
        *out = p;
        return p.x > 15 ? vtg::FourCC("!oVf") : kNoErr;
    }
};

class Driver : public DocTest {
protected:
    std::vector<PathSegment> work_ = std::vector<PathSegment>(vtg::kSegmentBufferCapacity);

    int32_t Deform(vtg::DeformVariant& v, const std::vector<PathSegment>& src, bool closed,
                   ErrorCode expected = kNoErr) {
        int32_t count = -2;
        EXPECT_EQ(vtg::DeformSegments(v, src.data(), static_cast<int32_t>(src.size()), closed,
                                      work_.data(), &count),
                  expected);
        return count;
    }
};

TEST_F(Driver, WhatStaysAsItWas) {
    Identity declared(true);
    Ripple ripple;
    struct Case {
        const char* what;
        vtg::DeformVariant* variant;
        int n;
    } cases[] = {
        {"a declared identity", &declared, 5},
        {"one segment", &ripple, 1},
        {"subdivision beyond the limit", &ripple, 8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Deform(*c.variant, Polyline(c.n, 200), false), -1) << c.what;
}

TEST_F(Driver, IdentityMappingKeepsPiecesButMakesCorners) {
    Identity undeclared(false);
    std::vector<PathSegment> src = vtgtest::RoundPath(8, 40);
    ASSERT_EQ(Deform(undeclared, src, true), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(SamePoint(work_[i].anchor, src[i].anchor)) << i;
        EXPECT_TRUE(SamePoint(work_[i].in, src[i].in, 0.02)) << i;
        EXPECT_TRUE(SamePoint(work_[i].out, src[i].out, 0.02)) << i;
        EXPECT_EQ(work_[i].corner, 1);
    }
}

TEST_F(Driver, SineDisplacementSubdividesAndMapsAnchors) {
    Sine sine;
    const std::vector<PathSegment> src = Polyline(6, 40);
    const int32_t n = Deform(sine, src, false);
    ASSERT_GT(n, 6);
    EXPECT_TRUE(SamePoint(work_[0].anchor, {0, 0}));
    EXPECT_TRUE(SamePoint(work_[n - 1].anchor, {200, 40 + 6 * std::sin(200.0 / 12)}, 1e-9));
    EXPECT_TRUE(SamePoint(work_[0].in, work_[0].anchor)) << "open start retracted";
    EXPECT_TRUE(SamePoint(work_[n - 1].out, work_[n - 1].anchor)) << "open end retracted";
}

TEST_F(Driver, AreaSplitAndOutsideHandles) {
    // A straight piece from (0, 0) to (200, 0) crosses a narrow area that none
    // of the fit's sample points meets: only the area split finds it.
    Area narrow(90, 110);
    const std::vector<PathSegment> line = {Corner(0, 0), Corner(200, 0)};
    EXPECT_EQ(Deform(narrow, line, false), 2) << "without the split the bump is missed";
    narrow.splitArea = true;
    const int32_t n = Deform(narrow, line, false);
    ASSERT_GE(n, 3);
    double highest = 0;
    for (int i = 0; i < n; ++i)
        highest = std::max(highest, work_[i].anchor.y);
    EXPECT_NEAR(highest, 5, 0.01) << "an anchor was placed in the middle of the area";

    Area area(50, 150);
    // An end whose anchor, near point and handle are all outside keeps its
    // unmapped handle.
    std::vector<PathSegment> piece = {Corner(0, 0), Corner(100, 0)};
    piece[0].out = {20, 10};
    piece[1].in = {80, 10};
    ASSERT_GE(Deform(area, piece, false), 2);
    EXPECT_TRUE(SamePoint(work_[0].anchor, {0, 0}));
    EXPECT_GT(work_[0].out.x, 0);
    EXPECT_NEAR(work_[0].out.x, 2 * work_[0].out.y, 1e-12) << "the source handle's direction";
}

TEST_F(Driver, MappingErrorAbandonsThePath) {
    Failing failing;
    EXPECT_EQ(Deform(failing, Polyline(4), false, vtg::FourCC("!oVf")), -1);
}

TEST_F(Driver, DeformPathWritesTheHostPath) {
    Sine sine;
    Failing failing;
    Ripple ripple;
    Identity declared(true);
    struct Case {
        const char* what;
        vtg::DeformVariant* variant;
        int n;
        ErrorCode result;
        bool written;
    } cases[] = {
        {"sine", &sine, 5, kNoErr, true},
        {"identity", &declared, 5, kNoErr, false},
        {"one segment", &sine, 1, kNoErr, false},
        {"mapping error", &failing, 5, vtg::FourCC("!oVf"), false},
        {"segment guard", &ripple, 8, kNoErr, false},
    };
    for (const Case& c : cases) {
        const std::vector<PathSegment> src = Polyline(c.n, 200);
        ArtHandle path = AddPath(src);
        vtg::sArt->SetArtAttributes(path, kVtgArtSelected, 0);
        EXPECT_EQ(vtg::DeformPath(path, *c.variant), c.result) << c.what;
        const std::vector<PathSegment> after = SegmentsOf(path);
        EXPECT_EQ(!SameSegments(after, src), c.written) << c.what;
        int32_t selected = 0;
        vtg::sArt->GetArtAttributes(path, kVtgArtSelected, &selected);
        EXPECT_EQ(selected != 0, c.written) << c.what;
        EXPECT_EQ(LiveBlocks(), 0) << c.what;
    }
    host().memory().failName(vtg::kDriverSourceName);
    ArtHandle path = AddPath(Polyline(4));
    EXPECT_EQ(vtg::DeformPath(path, sine), kOutOfMemoryErr);
    host().memory().clearFaults();
    EXPECT_TRUE(SameSegments(SegmentsOf(path), Polyline(4)));
}

} // namespace
