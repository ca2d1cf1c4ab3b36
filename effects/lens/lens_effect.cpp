#include "effects/lens/lens_effect.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/suite_set.hpp"
#include "geometry/curve_ops.hpp"
#include "geometry/effect_walk.hpp"
#include "geometry/fit_common.hpp"

namespace vtg {
namespace {

bool Degenerate(const LensArea& lens) {
    return !(lens.size.x > 0) || !(lens.size.y > 0) || !std::isfinite(lens.size.x) ||
           !std::isfinite(lens.size.y) || !std::isfinite(lens.centre.x) ||
           !std::isfinite(lens.centre.y);
}

// The point relative to the lens centre with the vertical offset stretched
// so that the lens ellipse becomes a circle of radius R = width / 2.
struct Local {
    double vx, vy, r, R;
};

bool ToLocal(const LensArea& lens, VtgPoint p, Local& l) {
    if (Degenerate(lens))
        return false;
    l.vx = p.x - lens.centre.x;
    l.vy = (p.y - lens.centre.y) * lens.size.x / lens.size.y;
    l.r = std::hypot(l.vx, l.vy);
    l.R = lens.size.x / 2;
    return l.r < l.R;
}

VtgPoint FromLocal(const LensArea& lens, double vx, double vy) {
    return {lens.centre.x + vx, lens.centre.y + vy * lens.size.y / lens.size.x};
}

// The point moved along its own direction from the centre to radius r2.
VtgPoint Radial(const LensArea& lens, const Local& l, double r2) {
    if (l.r == 0)
        return lens.centre;
    const double k = r2 / l.r;
    return FromLocal(lens, l.vx * k, l.vy * k);
}

VtgPoint Rotated(const LensArea& lens, const Local& l, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return FromLocal(lens, l.vx * c - l.vy * s, l.vx * s + l.vy * c);
}

bool InRect(const VtgRect& r, VtgPoint p) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.bottom && p.y <= r.top;
}

struct LensRun {
    const LensArea* lens;
    const LensEffectParams* params;
};

ErrorCode LensAction(ArtHandle path, void* context) {
    const auto* run = static_cast<const LensRun*>(context);
    const LensEffectParams& p = *run->params;
    return LensPath(path, *run->lens, p.lensKind, p.fishEyeAmount, p.lupeAmount, p.twirlAmount,
                    p.twirlCycle);
}

} // namespace

LensArea PlaceLensOn(const VtgRect& b, const LensEffectParams& p) {
    LensArea lens;
    const double width = b.right - b.left, height = b.top - b.bottom;
    lens.centre = {(b.left + b.right) / 2 + p.centerRatio.x * width,
                   (b.top + b.bottom) / 2 + p.centerRatio.y * height};
    if (p.lensShape == 1) {
        const double d = std::hypot(width, height);
        lens.size = {d * p.sizeRatio.x, d * p.sizeRatio.y};
    } else {
        lens.size = {width * p.sizeRatio.x, height * p.sizeRatio.y};
    }
    return lens;
}

bool PlaceLens(const LensEffectParams& params, ArtHandle art, LensArea& out) {
    VtgRect r{0, 0, 0, 0};
    if (sArt->GetArtBounds(art, nullptr, kVtgBoundsControlPoints, &r) != kNoErr)
        return false;
    out = PlaceLensOn(r, params);
    return true;
}

ErrorCode FisheyeConvex(const LensArea& lens, double amount, VtgPoint p, VtgPoint* out) {
    *out = p;
    Local l{};
    if (!ToLocal(lens, p, l))
        return kOutsideArea;
    if (!(amount > 0))
        return kNoErr;
    const double k = std::min(1.0, amount);
    // phi = atan(r / R), through its sine and cosine.
    const double x = l.r / l.R, h = std::sqrt(1 + x * x);
    const double sinPhi = x / h, cosPhi = 1 / h;
    double r2 = 0;
    if (k == 1) {
        r2 = l.R * 2 * sinPhi * cosPhi; // R sin(2 phi)
    } else {
        const double q = (0.5 / k - 0.5 * k) * l.R;
        const double L = std::sqrt(l.R * l.R + q * q);
        const double b = std::clamp((l.R - q) * sinPhi / L, -1.0, 1.0);
        r2 = L * (sinPhi * std::sqrt(1 - b * b) + cosPhi * b);
    }
    *out = Radial(lens, l, r2);
    return kNoErr;
}

ErrorCode FisheyeConcave(const LensArea& lens, double amount, VtgPoint p, VtgPoint* out) {
    *out = p;
    Local l{};
    if (!ToLocal(lens, p, l))
        return kOutsideArea;
    if (!(amount < 0))
        return kNoErr;
    const double k = std::max(-1.0, amount);
    double r2 = 0;
    if (k == -1) {
        const double u = l.r / l.R;
        r2 = l.r / (1 + std::sqrt(std::max(0.0, 1 - u * u)));
    } else {
        const double q = (0.5 / k - 0.5 * k) * l.R;
        const double L2 = q * q + l.R * l.R;
        r2 = l.r * l.R / (std::sqrt(std::max(0.0, L2 - l.r * l.r)) + l.R + q);
    }
    *out = Radial(lens, l, r2);
    return kNoErr;
}

ErrorCode Magnify(const LensArea& lens, double amount, VtgPoint p, VtgPoint* out) {
    *out = p;
    Local l{};
    if (!ToLocal(lens, p, l))
        return kOutsideArea;
    if (!(amount > 0))
        return kNoErr;
    double s = std::sqrt(amount);
    if (l.r > l.R / s)
        s = l.R / l.r;
    *out = {lens.centre.x + s * (p.x - lens.centre.x), lens.centre.y + s * (p.y - lens.centre.y)};
    return kNoErr;
}

ErrorCode Twirl(const LensArea& lens, double angle, VtgPoint p, VtgPoint* out) {
    *out = p;
    Local l{};
    if (!ToLocal(lens, p, l))
        return kOutsideArea;
    *out = Rotated(lens, l, -angle * std::fabs(1 - l.r / l.R));
    return kNoErr;
}

ErrorCode TwirlCycles(const LensArea& lens, double angle, int32_t cycle, VtgPoint p,
                      VtgPoint* out) {
    *out = p;
    Local l{};
    if (!ToLocal(lens, p, l))
        return kOutsideArea;
    const double u = l.r / l.R;
    const double g = angle * u / 2;
    const double c = std::cos(cycle * std::numbers::pi * u);
    *out = Rotated(lens, l, ((cycle % 2 != 0) ? -c : c) * g - g);
    return kNoErr;
}

LensVariant::LensVariant(const LensArea& lens, int32_t kind, double fishEye, double lupe,
                         double twirl, int32_t cycle)
    : lens_(lens), kind_(kind), fishEye_(fishEye), lupe_(lupe), twirl_(twirl), cycle_(cycle) {}

bool LensVariant::IsIdentity() const {
    if (Degenerate(lens_))
        return true;
    switch (kind_) {
    case kLensFisheye:
        return fishEye_ == 0 || !std::isfinite(fishEye_);
    case kLensMagnifier:
        return lupe_ == 1 || !(lupe_ > 0) || !std::isfinite(lupe_);
    case kLensTwirl:
        return twirl_ == 0 || !std::isfinite(twirl_);
    default:
        return true; // the tone lens and unknown kinds
    }
}

ErrorCode LensVariant::Map(VtgPoint p, VtgPoint* out) {
    switch (kind_) {
    case kLensFisheye:
        return fishEye_ > 0 ? FisheyeConvex(lens_, fishEye_, p, out)
                            : FisheyeConcave(lens_, fishEye_, p, out);
    case kLensMagnifier:
        return Magnify(lens_, lupe_, p, out);
    case kLensTwirl:
        return cycle_ <= 1 ? Twirl(lens_, twirl_, p, out)
                           : TwirlCycles(lens_, twirl_, cycle_, p, out);
    default:
        *out = p;
        return kOutsideArea;
    }
}

double LensVariant::Tolerance(double e) const {
    if (kind_ == kLensTwirl)
        return std::clamp(cycle_ == 0 ? 1.0 : 1.0 / cycle_, 0.01, 0.1);
    return std::clamp(e, 0.01, 0.1);
}

bool LensVariant::ReplaceRetractedHandles(const VtgPoint piece[4]) const {
    return fit::Same(piece[1], piece[0]) && fit::Same(piece[2], piece[3]) &&
           InRect(lens_.Rect(), piece[0]);
}

bool LensVariant::SplitArea(VtgRect* area) const {
    // FindInsideParameter takes the rectangle with top above bottom.
    *area = lens_.Rect();
    return true;
}

ErrorCode LensVariant::Fit(PathSegment& first, PathSegment& second, bool splitAllowed) {
    VtgPoint p[4] = {first.anchor, first.out, second.in, second.anchor};
    const double chord = fit::Dist(p[0], p[3]);
    const double m = Tolerance(chord / 100);
    const double o = std::min(1.0, chord / 100);
    if (ReplaceRetractedHandles(p))
        fit::ChordThirds(p);
    int outside = 0;
    auto map = [&](VtgPoint in, VtgPoint* mapped, int* counter) -> ErrorCode {
        const ErrorCode r = Map(in, mapped);
        if (r == kOutsideArea) {
            *mapped = in;
            ++*counter;
            return kNoErr;
        }
        return r;
    };
    VtgPoint q[4]{}, nearStart{}, nearEnd{}, atThird{}, atTwoThirds{};
    int startOut = 0, endOut = 0;
    ErrorCode err;
    if ((err = map(p[0], &q[0], &startOut)) != kNoErr ||
        (err = map(fit::Eval(p, fit::kNearStart), &nearStart, &startOut)) != kNoErr ||
        (err = map(p[1], &q[1], &startOut)) != kNoErr ||
        (err = map(p[3], &q[3], &endOut)) != kNoErr ||
        (err = map(fit::Eval(p, fit::kNearEnd), &nearEnd, &endOut)) != kNoErr ||
        (err = map(p[2], &q[2], &endOut)) != kNoErr)
        return err;
    const bool startAllOut = startOut == 3, endAllOut = endOut == 3;
    const VtgPoint outHandle = startAllOut ? p[1] : fit::EndHandle(q[0], q[1], nearStart);
    const VtgPoint inHandle = endAllOut ? p[2] : fit::EndHandle(q[3], q[2], nearEnd);
    if ((err = map(fit::Eval(p, fit::kThird), &atThird, &outside)) != kNoErr ||
        (err = map(fit::Eval(p, fit::kTwoThirds), &atTwoThirds, &outside)) != kNoErr)
        return err;
    if (startAllOut && endAllOut) {
        if (outside == 2)
            return kFitAccepted; // the piece never enters the lens
        if (splitAllowed)
            return kFitSplitNeeded;
    } else if (splitAllowed) {
        const bool tiny = fit::Dist(q[0], q[3]) < o && fit::Dist(q[0], outHandle) < o &&
                          fit::Dist(q[3], inHandle) < o;
        const VtgPoint fitted[4] = {q[0], outHandle, inHandle, q[3]};
        if (!tiny && fit::Strays(fitted, atThird, atTwoThirds, m))
            return kFitSplitNeeded;
    }
    first.anchor = q[0];
    first.out = outHandle;
    second.in = inHandle;
    second.anchor = q[3];
    if (!startAllOut)
        first.corner = 1;
    if (!endAllOut)
        second.corner = 1;
    return kFitAccepted;
}

ErrorCode LensPath(ArtHandle path, const LensArea& lens, int32_t kind, double fishEye, double lupe,
                   double twirl, int32_t cycle) {
    LensVariant variant(lens, kind, fishEye, lupe, twirl, cycle);
    if (variant.IsIdentity())
        return kNoErr;
    return DeformPath(path, variant);
}

ErrorCode ApplyLens(const LensEffectParams& params, ArtHandle art, LensArea* placed) {
    if (params.lensKind < 0 || params.lensKind > 3)
        return kNoErr;
    LensArea lens;
    if (!PlaceLens(params, art, lens))
        return kNoErr;
    if (placed != nullptr)
        *placed = lens;
    if (params.lensKind == kLensTone)
        return kNoErr;
    LensRun run{&lens, &params};
    return ForEachEffectPath(art, &LensAction, &run);
}

} // namespace vtg
