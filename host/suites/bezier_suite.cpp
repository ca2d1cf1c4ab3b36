// The Bezier suite: length, evaluation, parameter at a length and division
// of one cubic, by adaptive halving.
#include <cmath>

#include "host/api/vtg_bezier_suite.h"
#include "host/host.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

// Halving stops at this depth even when a part is still not flat (2^20
// parts at most), so that degenerate input cannot recurse without end.
constexpr int kMaxDepth = 20;

double Dist(VtgPoint a, VtgPoint b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

VtgPoint Mid(VtgPoint a, VtgPoint b) {
    return VtgPoint{(a.x + b.x) * 0.5, (a.y + b.y) * 0.5};
}

VtgPoint Lerp(VtgPoint a, VtgPoint b, double t) {
    return VtgPoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

void Split(const VtgBezier& b, double t, VtgBezier* left, VtgBezier* right) {
    const VtgPoint p01 = Lerp(b.p0, b.p1, t), p12 = Lerp(b.p1, b.p2, t), p23 = Lerp(b.p2, b.p3, t);
    const VtgPoint p012 = Lerp(p01, p12, t), p123 = Lerp(p12, p23, t);
    const VtgPoint mid = Lerp(p012, p123, t);
    const VtgBezier l{b.p0, p01, p012, mid}, r{mid, p123, p23, b.p3};
    *left = l;
    *right = r;
}

void Halve(const VtgBezier& b, VtgBezier* left, VtgBezier* right) {
    const VtgPoint p01 = Mid(b.p0, b.p1), p12 = Mid(b.p1, b.p2), p23 = Mid(b.p2, b.p3);
    const VtgPoint p012 = Mid(p01, p12), p123 = Mid(p12, p23);
    const VtgPoint mid = Mid(p012, p123);
    *left = VtgBezier{b.p0, p01, p012, mid};
    *right = VtgBezier{mid, p123, p23, b.p3};
}

bool Finite(const VtgBezier& b) {
    const double v[] = {b.p0.x, b.p0.y, b.p1.x, b.p1.y, b.p2.x, b.p2.y, b.p3.x, b.p3.y};
    for (double x : v)
        if (!std::isfinite(x))
            return false;
    return true;
}

bool GoodFlatness(double flatness) {
    return std::isfinite(flatness) && flatness > 0;
}

// Length of a part that is flat enough, or -1 when it must be halved.
double FlatLength(const VtgBezier& b, double flatness, int depth) {
    const double chord = Dist(b.p0, b.p3);
    const double poly = Dist(b.p0, b.p1) + Dist(b.p1, b.p2) + Dist(b.p2, b.p3);
    if (poly - chord <= flatness || depth >= kMaxDepth)
        return (poly + chord) * 0.5;
    return -1;
}

double LengthOf(const VtgBezier& b, double flatness, int depth) {
    const double flat = FlatLength(b, flatness, depth);
    if (flat >= 0)
        return flat;
    VtgBezier l, r;
    Halve(b, &l, &r);
    return LengthOf(l, flatness, depth + 1) + LengthOf(r, flatness, depth + 1);
}

// Walks the flat parts in order, accumulating length in *done, until the
// part holding `target` is met; then *t is interpolated inside it.
bool FindLength(const VtgBezier& b, double t0, double t1, double target, double flatness, int depth,
                double* done, double* t) {
    const double flat = FlatLength(b, flatness, depth);
    if (flat >= 0) {
        if (*done + flat >= target) {
            // The part is straight to the flatness but its speed need not be
            // even (handles on the anchors): the point at the wanted distance
            // from its start is searched, not interpolated in t.
            const double want = target - *done;
            double lo = 0, hi = 1;
            for (int i = 0; i < 60 && flat > 0; ++i) {
                const double mid = (lo + hi) * 0.5, u = 1 - mid;
                const double x = u * u * u * b.p0.x + 3 * mid * u * u * b.p1.x +
                                 3 * mid * mid * u * b.p2.x + mid * mid * mid * b.p3.x;
                const double y = u * u * u * b.p0.y + 3 * mid * u * u * b.p1.y +
                                 3 * mid * mid * u * b.p2.y + mid * mid * mid * b.p3.y;
                const double along =
                    Dist(b.p0, VtgPoint{x, y}) * (flat / std::fmax(Dist(b.p0, b.p3), 1e-300));
                if (along < want)
                    lo = mid;
                else
                    hi = mid;
            }
            *t = flat > 0 ? t0 + (t1 - t0) * ((lo + hi) * 0.5) : t0;
            return true;
        }
        *done += flat;
        return false;
    }
    VtgBezier l, r;
    Halve(b, &l, &r);
    const double tm = (t0 + t1) * 0.5;
    return FindLength(l, t0, tm, target, flatness, depth + 1, done, t) ||
           FindLength(r, tm, t1, target, flatness, depth + 1, done, t);
}

ErrorCode Length(const VtgBezier* bezier, double flatness, double* length) {
    if (bezier == nullptr || length == nullptr || !GoodFlatness(flatness) || !Finite(*bezier))
        return kBadParameterErr;
    *length = LengthOf(*bezier, flatness, 0);
    return kNoErr;
}

ErrorCode PointAt(const VtgBezier* bezier, double t, VtgPoint* point, VtgPoint* tangent) {
    if (bezier == nullptr || point == nullptr || !(t >= 0.0 && t <= 1.0))
        return kBadParameterErr;
    const VtgBezier& b = *bezier;
    const double u = 1 - t;
    const double w0 = u * u * u, w1 = 3 * t * u * u, w2 = 3 * t * t * u, w3 = t * t * t;
    const VtgPoint p{w0 * b.p0.x + w1 * b.p1.x + w2 * b.p2.x + w3 * b.p3.x,
                     w0 * b.p0.y + w1 * b.p1.y + w2 * b.p2.y + w3 * b.p3.y};
    if (tangent != nullptr) {
        const double d0 = 3 * u * u, d1 = 6 * u * t, d2 = 3 * t * t;
        tangent->x = d0 * (b.p1.x - b.p0.x) + d1 * (b.p2.x - b.p1.x) + d2 * (b.p3.x - b.p2.x);
        tangent->y = d0 * (b.p1.y - b.p0.y) + d1 * (b.p2.y - b.p1.y) + d2 * (b.p3.y - b.p2.y);
    }
    *point = p;
    return kNoErr;
}

ErrorCode ParameterAtLength(const VtgBezier* bezier, double length, double flatness, double* t) {
    if (bezier == nullptr || t == nullptr || !GoodFlatness(flatness) || !Finite(*bezier) ||
        !(length >= 0.0))
        return kBadParameterErr;
    const double total = LengthOf(*bezier, flatness, 0);
    if (length >= total) {
        if (length > total + flatness)
            return kBadParameterErr;
        *t = 1.0;
        return kNoErr;
    }
    double done = 0, found = 1.0;
    if (!FindLength(*bezier, 0.0, 1.0, length, flatness, 0, &done, &found))
        found = 1.0;
    *t = std::fmin(1.0, std::fmax(0.0, found));
    return kNoErr;
}

ErrorCode Divide(const VtgBezier* bezier, double t, VtgBezier* left, VtgBezier* right) {
    if (bezier == nullptr || left == nullptr || right == nullptr || !(t >= 0.0 && t <= 1.0))
        return kBadParameterErr;
    const VtgBezier b = *bezier;
    VtgBezier l, r;
    Split(b, t, &l, &r);
    *left = l;
    *right = r;
    return kNoErr;
}

const BezierSuite kBezier = {&Length, &PointAt, &ParameterAtLength, &Divide};

} // namespace

void PublishBezierSuite(SuiteBroker& broker) {
    broker.publish(kBezierSuiteName, kBezierSuiteVersion, &kBezier);
}

} // namespace hostapp
