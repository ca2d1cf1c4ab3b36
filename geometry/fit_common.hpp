// fit_common.hpp - the arithmetic the piece fits share: Bernstein weights at
// the fixed parameters, the end-handle rule and the tolerance rules.
#pragma once

#include <algorithm>
#include <cmath>

#include "host/api/vtg_base.h"

namespace vtg::fit {

struct Weights {
    double w0, w1, w2, w3;
};

inline constexpr Weights kNearStart{0.997002999, 0.002994003, 2.997e-6, 1e-9};
inline constexpr Weights kNearEnd{1e-9, 2.997e-6, 0.002994003, 0.997002999};
inline constexpr Weights kThird{0.29629629674074076, 0.4444444444444445, 0.2222222218888889,
                                0.03703703692592593};
inline constexpr Weights kTwoThirds{0.03703703692592593, 0.2222222218888889, 0.4444444444444445,
                                    0.29629629674074076};

// The minimum offset of the near-end image that gives a handle direction.
inline constexpr double kDirectionEpsilon = 1e-4;

inline VtgPoint Eval(const VtgPoint p[4], const Weights& w) {
    return VtgPoint{w.w0 * p[0].x + w.w1 * p[1].x + w.w2 * p[2].x + w.w3 * p[3].x,
                    w.w0 * p[0].y + w.w1 * p[1].y + w.w2 * p[2].y + w.w3 * p[3].y};
}

// Plain square roots: the fits call these for every piece, and hypot's
// guard against overflow costs more than the rest of the arithmetic.
inline double Dist2(VtgPoint a, VtgPoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    return dx * dx + dy * dy;
}

inline double Dist(VtgPoint a, VtgPoint b) {
    return std::sqrt(Dist2(a, b));
}

inline bool Same(VtgPoint a, VtgPoint b) {
    return a.x == b.x && a.y == b.y;
}

// Replaces two retracted handles by the chord's thirds.
inline void ChordThirds(VtgPoint p[4]) {
    p[1] = VtgPoint{p[0].x + (p[3].x - p[0].x) / 3, p[0].y + (p[3].y - p[0].y) / 3};
    p[2] = VtgPoint{p[3].x + (p[0].x - p[3].x) / 3, p[3].y + (p[0].y - p[3].y) / 3};
}

// The new handle at mapped anchor q: as long as the mapped handle, pointing to
// the image of the near-end curve point; retracted when that image is too
// close to give a direction.
inline VtgPoint EndHandle(VtgPoint q, VtgPoint mappedHandle, VtgPoint nearImage) {
    const double dx = nearImage.x - q.x, dy = nearImage.y - q.y;
    if (std::fabs(dx) > kDirectionEpsilon || std::fabs(dy) > kDirectionEpsilon) {
        const double length = Dist(q, mappedHandle);
        const double norm = std::sqrt(dx * dx + dy * dy);
        return VtgPoint{q.x + dx / norm * length, q.y + dy / norm * length};
    }
    return q;
}

// The rule of kinds 0, 8, 9, 11 and every driver without a rule of its own.
inline double DefaultTolerance(double e) {
    return e < 0.1 ? 0.1 : std::min(2.0, e);
}

// True when the fitted cubic q[] strays more than g (in x or y) from the
// mapped curve points at one third and two thirds.
inline bool Strays(const VtgPoint q[4], VtgPoint atThird, VtgPoint atTwoThirds, double g) {
    const VtgPoint e1 = Eval(q, kThird), e2 = Eval(q, kTwoThirds);
    return std::fabs(e1.x - atThird.x) > g || std::fabs(e1.y - atThird.y) > g ||
           std::fabs(e2.x - atTwoThirds.x) > g || std::fabs(e2.y - atTwoThirds.y) > g;
}

} // namespace vtg::fit
