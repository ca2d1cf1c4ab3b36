// Live Galaxy's generator: per arm its start values (drawn from a seed of
// the arm's own), then its chain of copies, each placed, scaled and turned
// by the arm's running values, with a random kink per step.
#include "live/galaxy/galaxy_generator.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_math_suite.h"
#include "live/live_copies.hpp"

namespace vtg {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;

// The record with every number inside its panel range: a damaged record
// cannot push the geometry to infinities.
GalaxyPGParams Clamped(const GalaxyPGParams& in) {
    GalaxyPGParams p = in;
    auto clamp = [](double& v, double low, double high) {
        v = std::isnan(v) ? 0 : std::clamp(v, low, high);
    };
    clamp(p.directionJitter, 0, 360 * kDeg);
    clamp(p.kinkJitter, 0, 36000 * kDeg);
    clamp(p.twist, -36000 * kDeg, 36000 * kDeg);
    clamp(p.twistJitter, 0, 36000 * kDeg);
    clamp(p.centreRadius, -16383, 16383);
    clamp(p.radiusJitter, 0, 16383);
    clamp(p.spread, -16383, 16383);
    clamp(p.spreadJitter, 0, 16383);
    clamp(p.sizeJitter, 0, 200);
    clamp(p.tipSize, -200, 200);
    return p;
}

// An arm's running values: angle, radial offset, scale, and their changes
// per step.
struct Arm {
    double theta = 0, r = 0, k = 1;
    double dTheta = 0, dr = 0, dk = 0;
};

Arm ArmValues(int32_t i, const GalaxyPGParams& p) {
    const int32_t m = p.elements;
    const double d = m - 1.0;
    Arm a;
    if (i == 0) {
        // The first arm is never randomised. With one element per arm the
        // changes are never used (and d is 0).
        if (m >= 2) {
            a.dk = (1 - p.tipSize) / d;
            a.dTheta = p.twist / d;
            a.dr = p.spread / d;
        }
        return a;
    }
    const double base = i * 2 * kPi / p.arms;
    a.theta = base;
    a.dr = p.spread;
    if (m >= 2) {
        const double w = LiveRandom(), an = LiveRandom(), c = LiveRandom(), f = LiveRandom(),
                     g = LiveRandom();
        a.k = (f - 0.5) * p.sizeJitter + 1;
        a.r = (g - 0.5) * p.radiusJitter;
        a.theta = (w - 0.5) * p.directionJitter + base;
        a.dk = (1 - p.tipSize) * a.k / d;
        a.dTheta = ((an - 0.5) * p.twistJitter + p.twist) / d;
        a.dr = ((c - 0.5) * p.spreadJitter + p.spread) / d;
    }
    return a;
}

VtgMatrix CopyMatrix(const Arm& a, VtgPoint ps, VtgPoint pc, bool keepAngle) {
    VtgMatrix m{};
    sMath->IdentityMatrix(&m);
    sMath->ConcatTranslate(&m, -ps.x, -ps.y);
    sMath->ConcatScale(&m, a.k, a.k);
    if (keepAngle)
        sMath->ConcatRotate(&m, -a.theta);
    sMath->ConcatTranslate(&m, ps.x - pc.x, ps.y - pc.y);
    sMath->ConcatTranslate(&m, a.r, 0);
    // Near a multiple of pi the turn goes in two steps, so that the host
    // never reads a half turn in one matrix as a flip.
    const bool twoSteps = !keepAngle && NearMultipleOfPi(a.theta);
    sMath->ConcatRotate(&m, twoSteps ? 0.1 : a.theta);
    sMath->ConcatTranslate(&m, pc.x, pc.y);
    if (twoSteps)
        RotateAbout(m, pc, a.theta - 0.1);
    return m;
}

ErrorCode GenerateGalaxyOps(ArtHandle group, ArtHandle source, const void* record) {
    return GenerateGalaxy(group, source, *static_cast<const GalaxyPGParams*>(record));
}
void AdjustGalaxy(void* record) {
    auto& p = *static_cast<GalaxyPGParams*>(record);
    ChooseLiveSeed(p.seedFixed, p.seed);
}
std::int64_t GalaxyCopiesOps(const void* record) {
    return GalaxyCopies(*static_cast<const GalaxyPGParams*>(record));
}

} // namespace

std::int64_t GalaxyCopies(const GalaxyPGParams& p) {
    if (p.arms > kMaxPanelCount || p.elements > kMaxPanelCount)
        return -1;
    if (p.arms <= 0 || p.elements <= 0)
        return 0;
    return static_cast<std::int64_t>(p.arms) * p.elements;
}

ErrorCode GenerateGalaxy(ArtHandle group, ArtHandle source, const GalaxyPGParams& record) {
    if (sArt == nullptr || sMath == nullptr)
        return kSuiteNotFoundErr;
    const GalaxyPGParams p = Clamped(record);
    VtgRect box{};
    if (ErrorCode err = sArt->GetArtBounds(source, nullptr, kVtgBoundsControlPoints, &box))
        return err;
    const VtgPoint ps{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    const VtgPoint pc{box.left - p.centreRadius, ps.y};
    const int32_t m = p.elements;
    const int32_t place = p.stacking == 1 ? kVtgPlaceInsideOnBottom : kVtgPlaceInsideOnTop;
    for (int32_t i = 0; i < p.arms; ++i) {
        if (i > 0)
            if (ErrorCode err = SeedLiveRandom(p.seed, 1 + static_cast<int64_t>(i)))
                return err;
        Arm a = ArmValues(i, p);
        ArtHandle container = group;
        if (p.arms >= 2 && m >= 2)
            if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, group, &container))
                return err;
        if (ErrorCode err = SeedLiveRandom(p.seed, -1 - static_cast<int64_t>(i)))
            return err;
        for (int32_t j = 0; j < m; ++j) {
            ArtHandle copy = nullptr;
            if (ErrorCode err = sArt->DuplicateArt(source, place, container, &copy))
                return err;
            const VtgMatrix matrix = CopyMatrix(a, ps, pc, p.keepAngle != 0);
            if (ErrorCode err = sArt->TransformArt(copy, &matrix, 1, kVtgTransformAll))
                return err;
            const double e = LiveRandom();
            a.r += a.dr;
            a.theta += (e - 0.5) * p.kinkJitter + a.dTheta;
            a.k -= a.dk;
        }
    }
    if (p.showCentre != 0)
        return DrawCentreMark(group, pc);
    return kNoErr;
}

const LiveKindOps& GalaxyKindOps() {
    static const LiveKindOps ops{GenerateGalaxyOps, AdjustGalaxy, nullptr, nullptr,
                                 GalaxyCopiesOps};
    return ops;
}

} // namespace vtg
