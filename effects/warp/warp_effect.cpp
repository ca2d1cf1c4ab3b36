#include "effects/warp/warp_effect.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/suite_set.hpp"
#include "geometry/curve_ops.hpp"
#include "geometry/effect_walk.hpp"

namespace vtg {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr int32_t kAnchors[kWarpStyles] = {0, 1, 2, 0, 1, 2, 0, 0, 1, 2, 0,
                                           1, 2, 0, 0, 0, 1, 2, 0, 1, 2, 0};

struct WarpRun {
    const WaveGeometry* geometry;
    int32_t style;
    double margin;
    int32_t perspective;
    bool vertical;
};

ErrorCode WarpDriver(ArtHandle path, const WaveGeometry& geometry, int32_t style, double margin,
                     int32_t perspective, bool vertical) {
    const VtgRect& b = geometry.bounds;
    if ((b.top == b.bottom && b.left == b.right) || style < 0 || style >= kWarpStyles)
        return kNoErr;
    WarpVariant variant(geometry, style, margin, perspective != 0, vertical);
    if (variant.Skipped() || variant.IsIdentity())
        return kNoErr;
    int16_t count = 0;
    ErrorCode err = sPath->GetPathSegmentCount(path, &count);
    if (err != kNoErr || count < 2 || count > kSegmentBufferCapacity)
        return err;
    return DeformPath(path, variant);
}

ErrorCode WarpAction(ArtHandle path, void* context) {
    const auto* run = static_cast<const WarpRun*>(context);
    return WarpDriver(path, *run->geometry, run->style, run->margin, run->perspective,
                      run->vertical);
}

} // namespace

int32_t WarpAnchor(int32_t style) {
    return style >= 0 && style < kWarpStyles ? kAnchors[style] : 0;
}

WarpVariant::WarpVariant(const WaveGeometry& g, int32_t style, double marginRatio, bool perspective,
                         bool vertical)
    : style_(style), perspective_(perspective), vertical_(vertical) {
    const VtgRect& b = g.bounds;
    // (along, across): (x, y) for the horizontal warp, (y, x) for the vertical.
    const double low = vertical ? b.left : b.bottom, high = vertical ? b.right : b.top;
    const double first = vertical ? b.bottom : b.left, last = vertical ? b.top : b.right;
    const double diff =
        vertical ? g.controlPoint.x - g.basePoint.x : g.controlPoint.y - g.basePoint.y;
    const double extent = high - low;
    const double k = extent == 0 ? 10 : std::clamp(1 / extent, 0.001, 10.0);
    kh_ = k / 2;
    const double centre = (first + last) / 2;
    const double m = vertical ? g.controlPoint.y : g.controlPoint.x;
    const double mirrored = 2 * centre - m;
    const double mid = (low + high) / 2;
    const bool p = perspective;
    struct Row {
        bool skip;
        double x0, y0, k, v;
    };
    Row row{false, m, mid, k, diff};
    switch (style) {
    case 0:
    case 15:
        row = {p && diff <= 0, mirrored, mid, 2 * k, diff};
        break;
    case 1:
    case 16:
        row = {p && diff <= 0, mirrored, low, k, diff};
        break;
    case 2:
    case 17:
        row = {p && diff >= 0, mirrored, high, k, -diff};
        break;
    case 3:
    case 18:
        row = {p && diff <= 0, m, mid, 2 * k, diff};
        break;
    case 4:
    case 19:
        row = {p && diff <= 0, m, low, k, diff};
        break;
    case 5:
    case 20:
        row = {p && diff >= 0, m, high, k, -diff};
        break;
    case 6:
        row = {!p && diff == 0, m, mid, 1, diff};
        break;
    case 7:
        row = {p && diff <= 0, mirrored, mid, k, diff};
        break;
    case 8:
        row = {p && diff <= 0, mirrored, low, kh_, diff};
        break;
    case 9:
        row = {p && diff >= 0, mirrored, high, kh_, -diff};
        break;
    case 10:
        row = {p && diff <= 0, m, mid, k, diff};
        break;
    case 11:
        row = {p && diff <= 0, m, low, kh_, diff};
        break;
    case 12:
        row = {p && diff >= 0, m, high, kh_, -diff};
        break;
    case 13:
        row = {diff == 0, m, mid, 0.5, diff};
        break;
    case 14:
        row = {!p && diff == 0, mirrored, mid, 0.6366197723675814, diff};
        break;
    case 21:
        row = {diff == 0, m, mid, 1, diff};
        break;
    default:
        row.skip = true;
        break;
    }
    skipped_ = row.skip;
    x0_ = row.x0;
    y0_ = row.y0;
    k_ = row.k;
    v_ = row.v;
    r_ = std::max(std::fabs(m - first), std::fabs(m - last)) * (1 + marginRatio);
    scaling_ = !(style == 6 || style == 13 || style == 14 || style == 21);
    if (style <= 2)
        profile_ = Profile::CircularPinch;
    else if (style <= 6)
        profile_ = Profile::EllipticBulge;
    else if (style <= 9)
        profile_ = Profile::CosinePinch;
    else if (style <= 13)
        profile_ = Profile::CosineBulge;
    else if (style == 14)
        profile_ = Profile::Shear;
    else if (style <= 17)
        profile_ = Profile::StraightPinch;
    else
        profile_ = Profile::StraightPeak;
    kv_ = k_ * v_;
    compress_ = perspective_ && style_ != 13 && style_ != 21;
    pk_ = std::clamp(kh_ * v_, 0.0, 1.0);
    pr_ = r_;
    if (compress_ && (profile_ == Profile::CircularPinch || profile_ == Profile::CosinePinch ||
                      profile_ == Profile::StraightPinch)) {
        pc_ = 1 + pk_;
        pr_ = r_ * (1 + pk_);
    }
}

bool WarpVariant::IsIdentity() const {
    return v_ == 0 || r_ == 0 || !std::isfinite(r_) || !std::isfinite(v_);
}

double WarpVariant::Tolerance(double e) const {
    if (style_ >= 15 && style_ <= 20)
        return std::clamp(e, 0.01, 0.1);
    return std::max(0.1, std::min(1.0, e));
}

ErrorCode WarpVariant::Fit(PathSegment& first, PathSegment& second, bool splitAllowed) {
    if (IsIdentity())
        return kFitAccepted;
    return FitVariantCurve(*this, first, second, splitAllowed);
}

// The vertical profile P at u (s: the signed shear ratio).
double WarpVariant::Vertical(double u, double s) const {
    switch (profile_) {
    case Profile::CircularPinch:
        return 1 - std::sqrt(std::fabs(1 - u * u));
    case Profile::EllipticBulge:
        return std::sqrt(std::max(0.0, 1 - u * u));
    case Profile::CosinePinch:
        return 1 - std::cos(kPi * u);
    case Profile::CosineBulge:
        return 1 + std::cos(kPi * u);
    case Profile::StraightPinch:
        return 1 - std::fabs(1 - u);
    case Profile::StraightPeak:
        return std::fabs(1 - u);
    case Profile::Shear:
        return std::asin(s);
    }
    return 0;
}

ErrorCode WarpVariant::Map(VtgPoint point, VtgPoint* mapped) {
    double x = vertical_ ? point.y : point.x;
    double y = vertical_ ? point.x : point.y;
    if (compress_) {
        const double w = std::min(std::fabs(x - x0_), r_) / r_;
        const double side = x < x0_ ? -1 : 1;
        const double k = pk_;
        double d = w;
        switch (profile_) {
        case Profile::CircularPinch:
            d = (1 - std::cos(kPi * w)) / 2 * k + w;
            break;
        case Profile::EllipticBulge:
            d = style_ == 6 ? std::sin(w * kPi / 2) : (std::sin(w * kPi / 2) - w) * k + w;
            break;
        case Profile::CosinePinch:
            d = std::asin(w) / (kPi / 2) * k + w;
            break;
        case Profile::CosineBulge:
            d = (std::acos(1 - w) / (kPi / 2) - w) * k + w;
            break;
        case Profile::StraightPinch:
            d = w * w * k + w;
            break;
        case Profile::StraightPeak:
            d = (1 - (w - 1) * (w - 1) - w) * k + w;
            break;
        case Profile::Shear:
            break;
        }
        if (profile_ == Profile::Shear) {
            const double s = std::clamp((x - x0_) / r_, -1.0, 1.0);
            x = x0_ + std::sin(s * kPi / 2) * r_;
        } else {
            x = x0_ + side * d * r_;
        }
    }
    const double r = pr_;
    const double u = std::min(std::fabs(x - x0_), r) / r;
    const double s = profile_ == Profile::Shear ? std::clamp((x - x0_) / r, -1.0, 1.0) : 0;
    const double prof = Vertical(u, s);
    if (scaling_)
        y = y + kv_ * (y - y0_) * prof * pc_;
    else
        y = y + kv_ * prof;
    *mapped = vertical_ ? VtgPoint{y, x} : VtgPoint{x, y};
    return kNoErr;
}

ErrorCode WarpHorizontal(ArtHandle path, const WaveGeometry& geometry, int32_t style,
                         double marginRatio, int32_t perspective) {
    return WarpDriver(path, geometry, style, marginRatio, perspective, false);
}

ErrorCode WarpVertical(ArtHandle path, const WaveGeometry& geometry, int32_t style,
                       double marginRatio, int32_t perspective) {
    return WarpDriver(path, geometry, style, marginRatio, perspective, true);
}

ErrorCode ApplyWarp(const WarpEffectParams& p, ArtHandle art) {
    if (p.style < 0 || p.style >= kWarpStyles)
        return kNoErr;
    VtgRect r{0, 0, 0, 0};
    ErrorCode err = sArt->GetArtBounds(art, nullptr, kVtgBoundsControlPoints, &r);
    if (err != kNoErr)
        return err;
    WaveGeometry geometry =
        PrepareBend(r, p.orientation, WarpAnchor(p.style), p.bendRatio, p.centerRatio);
    WarpRun run{&geometry, p.style, p.marginRatio, p.perspective_f, p.orientation == 1};
    return ForEachEffectPath(art, &WarpAction, &run);
}

} // namespace vtg
