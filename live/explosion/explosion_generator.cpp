// Live Explosion's generator: the first copy in the source's place, then
// n - 1 copies each drawn a direction and a push, faded and placed.
#include "live/explosion/explosion_generator.hpp"

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

// The record with every number inside its panel range: a damaged record
// cannot push the geometry to infinities.
ExplosionPGParams Clamped(const ExplosionPGParams& in) {
    ExplosionPGParams p = in;
    auto clamp = [](double& v, double low, double high) {
        v = std::isnan(v) ? 0 : std::clamp(v, low, high);
    };
    clamp(p.directionJitter, 0, 2 * kPi);
    clamp(p.centreRadius, -16383, 16383);
    clamp(p.spread, -16383, 16383);
    clamp(p.tipSize, -200, 200);
    clamp(p.opacity, 0, 1);
    return p;
}

VtgMatrix CopyMatrix(double theta, double push, double k, VtgPoint pa, VtgPoint pc,
                     bool keepAngle) {
    VtgMatrix m{};
    sMath->IdentityMatrix(&m);
    sMath->ConcatTranslate(&m, -pa.x, -pa.y);
    sMath->ConcatScale(&m, k, k);
    if (keepAngle)
        sMath->ConcatRotate(&m, -theta);
    sMath->ConcatTranslate(&m, pa.x - pc.x, pa.y - pc.y);
    sMath->ConcatTranslate(&m, push, 0);
    // Near a multiple of pi the turn goes in two steps, so that the host
    // never reads a half turn in one matrix as a flip.
    const bool twoSteps = !keepAngle && NearMultipleOfPi(theta);
    sMath->ConcatRotate(&m, twoSteps ? 0.1 : theta);
    sMath->ConcatTranslate(&m, pc.x, pc.y);
    if (twoSteps)
        RotateAbout(m, pc, theta - 0.1);
    return m;
}

ErrorCode GenerateExplosionOps(ArtHandle group, ArtHandle source, const void* record) {
    return GenerateExplosion(group, source, *static_cast<const ExplosionPGParams*>(record));
}
void AdjustExplosion(void* record) {
    auto& p = *static_cast<ExplosionPGParams*>(record);
    ChooseLiveSeed(p.seedFixed, p.seed);
}
std::int64_t ExplosionCopiesOps(const void* record) {
    return ExplosionCopies(*static_cast<const ExplosionPGParams*>(record));
}

} // namespace

double ShapeSpacing(double v, int32_t spacing) {
    switch (spacing) {
    case 2:
        return v * v;
    case 0:
        return 1 - (v - 1) * (v - 1);
    default:
        return v;
    }
}

ErrorCode SetFade(ArtHandle art, double t) {
    int32_t kind = 0;
    if (ErrorCode err = sArt->GetArtKind(art, &kind))
        return err;
    if (kind != kVtgArtGroup && kind != kVtgArtPath && kind != kVtgArtCompoundPath)
        return kNoErr;
    t = std::isnan(t) ? 0 : std::clamp(t, 0.0, 1.0);
    return sArt->SetArtOpacity(art, 1 - t);
}

std::int64_t ExplosionCopies(const ExplosionPGParams& p) {
    if (p.pieces > kMaxPanelCount)
        return -1;
    return p.pieces > 0 ? p.pieces : 0;
}

ErrorCode GenerateExplosion(ArtHandle group, ArtHandle source, const ExplosionPGParams& record) {
    if (sArt == nullptr || sMath == nullptr)
        return kSuiteNotFoundErr;
    const ExplosionPGParams p = Clamped(record);
    // A stored count of 0 or less makes no copies.
    const int32_t n = p.pieces > 0 ? p.pieces : 0;
    const double f = 1 - p.opacity;
    const bool fading = p.opacity < 1;
    VtgRect box{};
    if (ErrorCode err = sArt->GetArtBounds(source, nullptr, kVtgBoundsControlPoints, &box))
        return err;
    const VtgPoint pa{box.left, (box.top + box.bottom) / 2};
    const VtgPoint pc{box.left - p.centreRadius, pa.y};
    if (ErrorCode err = SeedLiveRandom(p.seed))
        return err;

    // The first copy stays in the source's place (turned about the centre
    // and back).
    ArtHandle copy = nullptr;
    if (n > 0) {
        if (ErrorCode err = sArt->DuplicateArt(source, kVtgPlaceInsideOnBottom, group, &copy))
            return err;
        if (fading) {
            const double t = p.fadeMode == 1 ? 0 : p.fadeMode == 2 ? LiveRandom() : f;
            if (ErrorCode err = SetFade(copy, t))
                return err;
        }
        VtgMatrix back{};
        sMath->IdentityMatrix(&back);
        RotateAbout(back, pc, 0.1);
        RotateAbout(back, pc, -0.1);
        if (ErrorCode err = sArt->TransformArt(copy, &back, 1, kVtgTransformAll))
            return err;
    }

    double b = 0;
    const double step = 2 * kPi / n;
    for (int32_t i = 1; i < n; ++i) {
        b += step;
        if (ErrorCode err = sArt->DuplicateArt(source, kVtgPlaceInsideOnBottom, group, &copy))
            return err;
        const double t = LiveRandom();
        const double v = ShapeSpacing(LiveRandom(), p.spacing);
        if (fading) {
            const double fade = p.fadeMode == 1   ? v * f
                                : p.fadeMode == 2 ? LiveRandom() * f
                                                  : (1 - v) * f;
            if (ErrorCode err = SetFade(copy, fade))
                return err;
        }
        const double theta = (t - 0.5) * p.directionJitter + b;
        const double push = v * p.spread;
        const double k = (p.tipSize - 1) * v + 1;
        const VtgMatrix m = CopyMatrix(theta, push, k, pa, pc, p.keepAngle != 0);
        if (ErrorCode err = sArt->TransformArt(copy, &m, 1, kVtgTransformAll))
            return err;
    }
    if (p.showCentre != 0)
        return DrawCentreMark(group, pc);
    return kNoErr;
}

const LiveKindOps& ExplosionKindOps() {
    static const LiveKindOps ops{GenerateExplosionOps, AdjustExplosion, nullptr, nullptr,
                                 ExplosionCopiesOps};
    return ops;
}

} // namespace vtg
