#include "effects/wave/wave_effect.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/suite_set.hpp"
#include "geometry/curve_ops.hpp"
#include "geometry/effect_walk.hpp"
#include "geometry/fit_common.hpp"

namespace vtg {
namespace {

constexpr double kPi = std::numbers::pi;

double LimitedK(double extent) {
    if (extent == 0)
        return 10;
    return std::clamp(1 / extent, 0.001, 10.0);
}

struct WaveRun {
    const WaveGeometry* geometry;
    int32_t style;
    double cycle;
    bool vertical;
};

ErrorCode WaveDriver(ArtHandle path, const WaveGeometry& geometry, int32_t style, double cycle,
                     bool vertical) {
    const VtgRect& b = geometry.bounds;
    if (b.top == b.bottom && b.left == b.right)
        return kNoErr;
    if (style < 0 || style > 4)
        return kNoErr;
    WaveVariant variant(geometry, style, cycle, vertical);
    // The identity comes first: style 4's compression must not run for a
    // wave that leaves the path alone (cycle 0 would scale by 1/0).
    if (variant.IsIdentity())
        return kNoErr;
    int16_t count = 0;
    ErrorCode err = sPath->GetPathSegmentCount(path, &count);
    if (err != kNoErr || count < 2)
        return err;
    // The source copy holds 32 000 segments; a longer path stays as it is.
    if (count > kSegmentBufferCapacity)
        return kNoErr;
    if (style == 4) {
        const double s = variant.CompressionFactor();
        const VtgPoint c = variant.Centre();
        VtgMatrix m = vertical ? VtgMatrix{1, 0, 0, s, 0, c.y - s * c.y}
                               : VtgMatrix{s, 0, 0, 1, c.x - s * c.x, 0};
        if ((err = sArt->TransformArt(path, &m, 1, 1039)) != kNoErr)
            return err;
    }
    return DeformPath(path, variant);
}

ErrorCode WaveAction(ArtHandle path, void* context) {
    const auto* run = static_cast<const WaveRun*>(context);
    return WaveDriver(path, *run->geometry, run->style, run->cycle, run->vertical);
}

} // namespace

WaveGeometry PrepareBend(const VtgRect& r, int32_t orientation, int32_t anchor, double bendRatio,
                         double centerRatio) {
    WaveGeometry g;
    g.bounds = r;
    const double w = r.right - r.left, h = r.top - r.bottom;
    const double he = (w > h && 0.05 * w > h) ? 0.05 * w : h;
    const double we = (w < he && 0.05 * he > w) ? 0.05 * he : w;
    const double cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    if (orientation != 1) {
        const double t = cx + centerRatio * we;
        const double y = anchor == kAnchorLow ? r.bottom : anchor == kAnchorHigh ? r.top : cy;
        g.basePoint = {t, y};
        g.controlPoint = {t, anchor == kAnchorHigh ? r.top - bendRatio * he : y + bendRatio * he};
    } else {
        const double u = cy + centerRatio * he;
        const double x = anchor == kAnchorLow ? r.left : anchor == kAnchorHigh ? r.right : cx;
        g.basePoint = {x, u};
        g.controlPoint = {anchor == kAnchorHigh ? r.right - bendRatio * we : x + bendRatio * we, u};
    }
    return g;
}

bool PrepareWave(const WaveEffectParams& p, ArtHandle art, WaveGeometry& out) {
    if (p.style < 0 || p.style > 4)
        return false;
    VtgRect r{0, 0, 0, 0};
    if (sArt->GetArtBounds(art, nullptr, kVtgBoundsControlPoints, &r) != kNoErr)
        return false;
    const int32_t anchor = p.style == 1 ? kAnchorLow : p.style == 2 ? kAnchorHigh : kAnchorCentre;
    out = PrepareBend(r, p.orientation, anchor, p.bendRatio, p.centerRatio);
    return true;
}

WaveVariant::WaveVariant(const WaveGeometry& g, int32_t style, double cycle, bool vertical)
    : style_(style), cycle_(cycle), vertical_(vertical) {
    const VtgRect& b = g.bounds;
    cx_ = (b.left + b.right) / 2;
    cy_ = (b.top + b.bottom) / 2;
    // Work in (along, across) coordinates: x and y for the horizontal wave,
    // y and x for the vertical one.
    if (!vertical) {
        v_ = g.controlPoint.y - g.basePoint.y;
        k_ = LimitedK(b.top - b.bottom);
        a_ = (b.right - b.left) / 2;
        along0_ = g.controlPoint.x;
        controlAlong_ = g.controlPoint.x;
        centreAlong_ = cx_;
        across0_ = style == 1 ? b.bottom : style == 2 ? b.top : cy_;
    } else {
        v_ = g.controlPoint.x - g.basePoint.x;
        k_ = LimitedK(b.right - b.left);
        a_ = (b.top - b.bottom) / 2;
        along0_ = g.controlPoint.y;
        controlAlong_ = g.controlPoint.y;
        centreAlong_ = cy_;
        across0_ = style == 1 ? b.left : style == 2 ? b.right : cx_;
    }
    if (style == 2)
        v_ = -v_;
    if (style == 1 || style == 2)
        k_ /= 2;
    if (style == 3)
        k_ = 1;
    if (style == 4 && cycle != 0) {
        along0_ = centreAlong_;
        across0_ = vertical ? cx_ : cy_;
        a_ = a_ / (cycle * kPi);
        k_ = 0.3185 / cycle;
    }
    piCycle_ = kPi * cycle_;
    kv_ = k_ * v_;
    phase_ = kPi * (controlAlong_ - along0_) / a_;
}

double WaveVariant::CompressionFactor() const {
    return 1 / (cycle_ * kPi);
}

bool WaveVariant::IsIdentity() const {
    return v_ == 0 || cycle_ == 0 || a_ == 0 || !std::isfinite(a_) || !std::isfinite(v_);
}

ErrorCode WaveVariant::Map(VtgPoint point, VtgPoint* mapped) {
    double s = vertical_ ? point.y : point.x;
    double t = vertical_ ? point.x : point.y;
    if (style_ == 4) {
        const double d = piCycle_ * (s - along0_) / a_;
        s = a_ * std::sin(d - phase_) + centreAlong_;
        t = t + kv_ * d;
    } else {
        const double theta = piCycle_ * std::fabs(s - along0_) / a_;
        if (style_ == 3)
            t = t + kv_ * std::cos(theta);
        else
            t = t + kv_ * (t - across0_) * (1 + std::cos(theta));
    }
    *mapped = vertical_ ? VtgPoint{t, s} : VtgPoint{s, t};
    return kNoErr;
}

double WaveVariant::Tolerance(double) const {
    const double f = 1 / cycle_;
    return style_ == 4 ? std::clamp(f, 0.01, 0.1) : std::clamp(f, 0.05, 0.5);
}

ErrorCode WaveVariant::Fit(PathSegment& first, PathSegment& second, bool splitAllowed) {
    if (IsIdentity())
        return kFitAccepted; // neither mapped nor marked as corner
    return FitVariantCurve(*this, first, second, splitAllowed);
}

ErrorCode WaveHorizontal(ArtHandle path, const WaveGeometry& geometry, int32_t style,
                         double cycle) {
    return WaveDriver(path, geometry, style, cycle, false);
}

ErrorCode WaveVertical(ArtHandle path, const WaveGeometry& geometry, int32_t style, double cycle) {
    return WaveDriver(path, geometry, style, cycle, true);
}

ErrorCode ApplyWave(const WaveEffectParams& params, ArtHandle art) {
    WaveGeometry geometry;
    if (!PrepareWave(params, art, geometry))
        return kNoErr;
    WaveRun run{&geometry, params.style, params.cycle, params.orientation == 1};
    return ForEachEffectPath(art, &WaveAction, &run);
}

} // namespace vtg
