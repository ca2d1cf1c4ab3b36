// The math suite: affine matrices, rectangle union, guarded arithmetic and
// the host's seeded random generator.
#include <cmath>

#include "host/api/vtg_math_suite.h"
#include "host/host.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

VtgMatrix Concat(const VtgMatrix& m, const VtgMatrix& n) {
    // Apply m, then n: n * m in column-vector form.
    VtgMatrix r;
    r.a = n.a * m.a + n.c * m.b;
    r.b = n.b * m.a + n.d * m.b;
    r.c = n.a * m.c + n.c * m.d;
    r.d = n.b * m.c + n.d * m.d;
    r.tx = n.a * m.tx + n.c * m.ty + n.tx;
    r.ty = n.b * m.tx + n.d * m.ty + n.ty;
    return r;
}

VtgMatrix Rotation(double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return VtgMatrix{c, s, -s, c, 0, 0};
}

ErrorCode IdentityMatrix(VtgMatrix* out) {
    if (out == nullptr)
        return kBadParameterErr;
    *out = VtgMatrix{1, 0, 0, 1, 0, 0};
    return kNoErr;
}

ErrorCode TranslateMatrix(double tx, double ty, VtgMatrix* out) {
    if (out == nullptr)
        return kBadParameterErr;
    *out = VtgMatrix{1, 0, 0, 1, tx, ty};
    return kNoErr;
}

ErrorCode ScaleMatrix(double sx, double sy, VtgMatrix* out) {
    if (out == nullptr)
        return kBadParameterErr;
    *out = VtgMatrix{sx, 0, 0, sy, 0, 0};
    return kNoErr;
}

ErrorCode RotateMatrix(double radians, VtgMatrix* out) {
    if (out == nullptr)
        return kBadParameterErr;
    *out = Rotation(radians);
    return kNoErr;
}

ErrorCode ShearMatrix(double shx, double shy, VtgMatrix* out) {
    if (out == nullptr)
        return kBadParameterErr;
    *out = VtgMatrix{1, shy, shx, 1, 0, 0};
    return kNoErr;
}

ErrorCode ConcatMatrix(const VtgMatrix* first, const VtgMatrix* second, VtgMatrix* out) {
    if (first == nullptr || second == nullptr || out == nullptr)
        return kBadParameterErr;
    *out = Concat(*first, *second);
    return kNoErr;
}

ErrorCode ConcatTranslate(VtgMatrix* m, double tx, double ty) {
    if (m == nullptr)
        return kBadParameterErr;
    *m = Concat(*m, VtgMatrix{1, 0, 0, 1, tx, ty});
    return kNoErr;
}

ErrorCode ConcatRotate(VtgMatrix* m, double radians) {
    if (m == nullptr)
        return kBadParameterErr;
    *m = Concat(*m, Rotation(radians));
    return kNoErr;
}

ErrorCode ConcatScale(VtgMatrix* m, double sx, double sy) {
    if (m == nullptr)
        return kBadParameterErr;
    *m = Concat(*m, VtgMatrix{sx, 0, 0, sy, 0, 0});
    return kNoErr;
}

ErrorCode TransformPoint(const VtgMatrix* m, const VtgPoint* point, VtgPoint* out) {
    if (m == nullptr || point == nullptr || out == nullptr)
        return kBadParameterErr;
    const VtgPoint p = *point;
    out->x = m->a * p.x + m->c * p.y + m->tx;
    out->y = m->b * p.x + m->d * p.y + m->ty;
    return kNoErr;
}

ErrorCode InvertMatrix(const VtgMatrix* m, VtgMatrix* out) {
    if (m == nullptr || out == nullptr)
        return kBadParameterErr;
    const double det = m->a * m->d - m->b * m->c;
    if (det == 0.0 || !std::isfinite(det))
        return kSingularMatrixErr;
    VtgMatrix r;
    r.a = m->d / det;
    r.b = -m->b / det;
    r.c = -m->c / det;
    r.d = m->a / det;
    r.tx = -(r.a * m->tx + r.c * m->ty);
    r.ty = -(r.b * m->tx + r.d * m->ty);
    if (!std::isfinite(r.a) || !std::isfinite(r.b) || !std::isfinite(r.c) || !std::isfinite(r.d) ||
        !std::isfinite(r.tx) || !std::isfinite(r.ty))
        return kSingularMatrixErr;
    *out = r;
    return kNoErr;
}

ErrorCode UnionRect(const VtgRect* r1, const VtgRect* r2, VtgRect* out) {
    if (r1 == nullptr || r2 == nullptr || out == nullptr)
        return kBadParameterErr;
    VtgRect r;
    r.left = std::fmin(r1->left, r2->left);
    r.right = std::fmax(r1->right, r2->right);
    r.top = std::fmax(r1->top, r2->top);
    r.bottom = std::fmin(r1->bottom, r2->bottom);
    *out = r;
    return kNoErr;
}

ErrorCode DegreesToRadians(double degrees, double* out) {
    if (out == nullptr)
        return kBadParameterErr;
    *out = degrees * (3.14159265358979323846 / 180.0);
    return kNoErr;
}

ErrorCode VectorAngle(double x, double y, double* out) {
    if (out == nullptr)
        return kBadParameterErr;
    *out = (x == 0.0 && y == 0.0) ? 0.0 : std::atan2(y, x);
    return kNoErr;
}

ErrorCode Guarded(double value, double* out) {
    if (std::isnan(value) || std::fabs(value) >= kVtgHugeValue)
        return kOverflowErr;
    *out = value;
    return kNoErr;
}

ErrorCode GuardedMultiply(double a, double b, double* out) {
    if (out == nullptr)
        return kBadParameterErr;
    return Guarded(a * b, out);
}

ErrorCode GuardedDivide(double a, double b, double* out) {
    if (out == nullptr)
        return kBadParameterErr;
    if (b == 0.0)
        return kOverflowErr;
    return Guarded(a / b, out);
}

ErrorCode SeedRandom(int32_t seed) {
    if (Host::current() == nullptr)
        return kBadParameterErr;
    Host::current()->random().seed(seed);
    return kNoErr;
}

ErrorCode RandomUniform(double* out) {
    if (out == nullptr || Host::current() == nullptr)
        return kBadParameterErr;
    *out = Host::current()->random().uniform();
    return kNoErr;
}

const MathSuite kMath = {
    &IdentityMatrix, &TranslateMatrix, &ScaleMatrix,      &RotateMatrix, &ShearMatrix,
    &ConcatMatrix,   &ConcatTranslate, &ConcatRotate,     &ConcatScale,  &TransformPoint,
    &InvertMatrix,   &UnionRect,       &DegreesToRadians, &VectorAngle,  &GuardedMultiply,
    &GuardedDivide,  &SeedRandom,      &RandomUniform,
};

} // namespace

void PublishMathSuite(SuiteBroker& broker) {
    broker.publish(kMathSuiteName, kMathSuiteVersion, &kMath);
}

} // namespace hostapp
