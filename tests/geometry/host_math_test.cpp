#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry_fixture.hpp"
#include "host/random.hpp"

namespace {

using vtgtest::GeometryTest;
using vtgtest::SamePoint;

class HostMath : public GeometryTest {};

TEST_F(HostMath, ConcatenationAppliesFirstThenSecond) {
    const MathSuite& m = *vtg::sMath;
    VtgMatrix move, turn, both;
    m.TranslateMatrix(10, 0, &move);
    m.RotateMatrix(M_PI / 2, &turn);
    m.ConcatMatrix(&move, &turn, &both);
    VtgPoint p{1, 0}, q;
    m.TransformPoint(&both, &p, &q);
    EXPECT_TRUE(SamePoint(q, {0, 11}, 1e-12)) << "moved to (11, 0), then turned";

    VtgMatrix chained = move;
    m.ConcatRotate(&chained, M_PI / 2);
    m.ConcatScale(&chained, 2, 3);
    m.ConcatTranslate(&chained, 1, 1);
    m.TransformPoint(&chained, &p, &q);
    EXPECT_TRUE(SamePoint(q, {1, 34}, 1e-12));

    VtgMatrix inverse;
    ASSERT_EQ(m.InvertMatrix(&chained, &inverse), kNoErr);
    VtgPoint back;
    m.TransformPoint(&inverse, &q, &back);
    EXPECT_TRUE(SamePoint(back, p, 1e-12));

    VtgMatrix flat{1, 2, 2, 4, 0, 0}, untouched{7, 7, 7, 7, 7, 7};
    EXPECT_EQ(m.InvertMatrix(&flat, &untouched), kSingularMatrixErr);
    EXPECT_EQ(untouched.a, 7);
    EXPECT_EQ(m.ConcatMatrix(nullptr, &flat, &untouched), kBadParameterErr);
}

TEST_F(HostMath, UnionAndGuardedArithmetic) {
    const MathSuite& m = *vtg::sMath;
    VtgRect a{0, 10, 5, 0}, b{-3, 4, 2, -6}, u;
    m.UnionRect(&a, &b, &u);
    EXPECT_EQ(u.left, -3);
    EXPECT_EQ(u.top, 10);
    EXPECT_EQ(u.right, 5);
    EXPECT_EQ(u.bottom, -6);

    struct Case {
        bool divide;
        double a, b;
        ErrorCode result;
    } cases[] = {{false, 2, 3, kNoErr},      {false, 1e200, 1e200, kOverflowErr},
                 {true, 1, 0, kOverflowErr}, {true, 1e300, 1e-10, kOverflowErr},
                 {true, 6, 3, kNoErr},       {false, NAN, 1, kOverflowErr}};
    for (const Case& c : cases) {
        double out = -1;
        EXPECT_EQ(c.divide ? m.GuardedDivide(c.a, c.b, &out) : m.GuardedMultiply(c.a, c.b, &out),
                  c.result);
        if (c.result == kNoErr) {
            EXPECT_EQ(out, 6 / (c.divide ? 3.0 : 1.0));
        } else {
            EXPECT_EQ(out, -1) << "left unchanged";
        }
    }
}

TEST_F(HostMath, RandomSequenceIsFixed) {
    // The sequence is part of the document format: these values must never
    // change.
    const MathSuite& m = *vtg::sMath;
    m.SeedRandom(12345);
    std::vector<double> first;
    for (int i = 0; i < 3; ++i) {
        double v = 0;
        m.RandomUniform(&v);
        EXPECT_GE(v, 0.0);
        EXPECT_LT(v, 1.0);
        first.push_back(v);
    }
    hostapp::Random reference;
    reference.seed(12345);
    EXPECT_EQ(first[0], reference.uniform());
    // Only the low 31 bits of the seed count.
    m.SeedRandom(static_cast<int32_t>(0x80000000u | 12345u));
    double again = 0;
    m.RandomUniform(&again);
    EXPECT_EQ(again, first[0]);
    hostapp::Random r;
    r.seed(0);
    const uint32_t seed0 = r.next();
    r.seed(1);
    EXPECT_NE(r.next(), seed0);
    hostapp::Random pinned;
    pinned.seed(42);
    EXPECT_EQ(pinned.next(), 0xC2F57BD6u);
    EXPECT_EQ(pinned.next(), 0x6B07C4A9u);
    EXPECT_DOUBLE_EQ(first[0], 0.32863641134463251);
}

TEST_F(HostMath, BezierServices) {
    const BezierSuite& b = *vtg::sBezier;
    const VtgBezier line{{0, 0}, {10, 0}, {20, 0}, {30, 0}};
    const VtgBezier arc{{0, 0}, {0, 55.228475}, {44.771525, 100}, {100, 100}}; // quarter circle
    double length = 0;
    ASSERT_EQ(b.Length(&line, 0.1, &length), kNoErr);
    EXPECT_NEAR(length, 30, 1e-9);
    ASSERT_EQ(b.Length(&arc, 0.001, &length), kNoErr);
    EXPECT_NEAR(length, M_PI * 50, 0.05);

    VtgPoint p, tangent;
    ASSERT_EQ(b.PointAt(&line, 0.5, &p, &tangent), kNoErr);
    EXPECT_TRUE(SamePoint(p, {15, 0}));
    EXPECT_TRUE(SamePoint(tangent, {30, 0}));

    double t = 0;
    ASSERT_EQ(b.ParameterAtLength(&line, 7.5, 0.01, &t), kNoErr);
    EXPECT_NEAR(t, 0.25, 1e-9);
    ASSERT_EQ(b.ParameterAtLength(&arc, M_PI * 25, 0.001, &t), kNoErr);
    EXPECT_NEAR(t, 0.5, 1e-3) << "the symmetric arc's half length is at t = 0.5";

    VtgBezier left, right;
    ASSERT_EQ(b.Divide(&arc, 0.3, &left, &right), kNoErr);
    b.PointAt(&arc, 0.3, &p, nullptr);
    EXPECT_TRUE(SamePoint(left.p3, p));
    EXPECT_TRUE(SamePoint(right.p0, p));

    struct Bad {
        const char* what;
        ErrorCode result;
    } bad[] = {
        {"flatness 0", b.Length(&line, 0, &length)},
        {"t above 1", b.PointAt(&line, 1.5, &p, nullptr)},
        {"t below 0", b.Divide(&line, -0.1, &left, &right)},
        {"negative length", b.ParameterAtLength(&line, -1, 0.1, &t)},
        {"length beyond the curve", b.ParameterAtLength(&line, 31, 0.1, &t)},
        {"null output", b.Length(&line, 0.1, nullptr)},
    };
    for (const Bad& c : bad)
        EXPECT_EQ(c.result, kBadParameterErr) << c.what;
    const VtgBezier infinite{{0, 0}, {INFINITY, 0}, {1, 1}, {2, 2}};
    EXPECT_EQ(b.Length(&infinite, 0.1, &length), kBadParameterErr);
}

} // namespace
