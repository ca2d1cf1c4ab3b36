// Live Frame's generator: the walk around the frame, one copy per place,
// each randomised at the source's place, then turned about the source's
// centre and moved; then the stacking.
#include "live/frame/frame_generator.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_math_suite.h"
#include "host/api/vtg_path_suite.h"
#include "live/live_copies.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr const char* kCopyListBlock = "Frame Copies";

// The record with every number inside its panel range: a damaged record
// cannot push the geometry to infinities.
FramePGParams Clamped(const FramePGParams& in) {
    FramePGParams p = in;
    auto clamp = [](double& v, double low, double high) {
        v = std::isnan(v) ? 0 : std::clamp(v, low, high);
    };
    const double feedMax = p.feedMode != 0 ? 16383 : 200;
    clamp(p.sideFeed, 0, feedMax);
    clamp(p.cornerFeed, 0, feedMax);
    clamp(p.cornerOffset, -1, 1);
    for (double* amount : {&p.anchorH, &p.anchorV, &p.inH, &p.inV, &p.outH, &p.outV})
        clamp(*amount, 0, 1);
    return p;
}

// Calls `place` for every copy of the walk, in order; stops at its first
// error.
template <typename F> ErrorCode Walk(const FramePGParams& p, double wd, double ht, F&& place) {
    const int32_t h = p.hCount, v = p.vCount;
    if (h <= 0 || v <= 0)
        return kNoErr;
    const bool keep = p.keepAngle != 0;
    const bool ccw = p.direction != 0;
    const double g = p.cornerOffset;
    const bool corners = p.placeCorners != 0 && g == 0;
    double s1 = 0, c1 = 0, s2 = 0, c2 = 0;
    if (p.feedMode != 0) {
        s1 = s2 = p.sideFeed;
        c1 = c2 = p.cornerFeed;
    } else {
        // The first side runs along the source's width (counter-clockwise)
        // or its height (clockwise); the next side's copies are turned, so
        // their step is the same length unless they keep their angle.
        const double along = ccw ? wd : ht, across = keep ? (ccw ? ht : wd) : along;
        s1 = p.sideFeed * along;
        c1 = p.cornerFeed * along;
        s2 = p.sideFeed * across;
        c2 = p.cornerFeed * across;
    }
    auto emit = [&](double x, double y, double degrees, bool corner) -> ErrorCode {
        if (corner && !corners)
            return kNoErr;
        return place(FramePlace{x, y, keep ? 0 : degrees * kDeg, corner});
    };
    // A side of n copies from (x0, y0) by (dx, dy); (x, y) ends at its last.
    auto side = [&](int32_t n, double x0, double y0, double dx, double dy, double degrees,
                    double& x, double& y) -> ErrorCode {
        for (int32_t k = 0; k < n; ++k)
            if (ErrorCode err = emit(x0 + k * dx, y0 + k * dy, degrees, false))
                return err;
        x = x0 + (n - 1) * dx;
        y = y0 + (n - 1) * dy;
        return kNoErr;
    };
    double x = 0, y = 0;
    if (ccw) {
        const bool in = g * c1 < 0;
        if (ErrorCode err = side(h, 0, 0, s1, 0, 0, x, y))
            return err;
        const double x1 = (h - 1) * s1 + c1;
        if (ErrorCode err = emit(x1, 0, 45, true))
            return err;
        double x0 = in ? x1 : x1 - g * c1, y0 = in ? c2 + g * c2 : c2;
        if (ErrorCode err = side(v, x0, y0, 0, s2, 90, x, y))
            return err;
        y += c2;
        if (ErrorCode err = emit(x, y, 135, true))
            return err;
        x0 = in ? x - c1 - g * c1 : x - c1;
        y0 = in ? y : y - g * c2;
        if (ErrorCode err = side(h, x0, y0, -s1, 0, 180, x, y))
            return err;
        x -= c1;
        if (ErrorCode err = emit(x, y, 225, true))
            return err;
        x0 = in ? x : x + g * c1;
        y0 = in ? y - c2 - g * c2 : y - c2;
        if (ErrorCode err = side(v, x0, y0, 0, -s2, 270, x, y))
            return err;
        return emit(x, y - c2, 315, true);
    }
    const bool in = g * c2 < 0;
    if (ErrorCode err = side(v, 0, 0, 0, s1, 0, x, y))
        return err;
    const double y1 = (v - 1) * s1 + c1;
    if (ErrorCode err = emit(0, y1, -45, true))
        return err;
    double x0 = in ? c2 : c2 - g * c2, y0 = in ? y1 + g * c1 : y1;
    if (ErrorCode err = side(h, x0, y0, s2, 0, -90, x, y))
        return err;
    x += c2;
    if (ErrorCode err = emit(x, y, -135, true))
        return err;
    x0 = in ? x + g * c2 : x;
    y0 = in ? y - c1 : y - c1 + g * c1;
    if (ErrorCode err = side(v, x0, y0, 0, -s1, -180, x, y))
        return err;
    y -= c1;
    if (ErrorCode err = emit(x, y, -225, true))
        return err;
    x0 = in ? x - c2 : x - c2 + g * c2;
    y0 = in ? y - g * c1 : y;
    if (ErrorCode err = side(h, x0, y0, -s2, 0, -270, x, y))
        return err;
    return emit(x - c2, y, -315, true);
}

double Draw() {
    return LiveRandom() - 0.5;
}

ErrorCode RandomisePath(ArtHandle path, double wd, double ht, const FramePGParams& p) {
    int16_t count = 0;
    if (ErrorCode err = sPath->GetPathSegmentCount(path, &count))
        return err;
    for (int16_t i = 0; i < count; ++i) {
        PathSegment s{};
        if (ErrorCode err = sPath->GetPathSegments(path, i, 1, &s))
            return err;
        // Six numbers per segment, whatever the flags.
        double r = Draw();
        if (p.anchorHOn != 0) {
            const double dx = r * p.anchorH * wd;
            s.anchor.x += dx;
            s.in.x += dx;
            s.out.x += dx;
        }
        r = Draw();
        if (p.anchorVOn != 0) {
            const double dy = r * p.anchorV * ht;
            s.anchor.y += dy;
            s.in.y += dy;
            s.out.y += dy;
        }
        struct Handle {
            int32_t on;
            double amount, size;
            double* coordinate;
        } const handles[] = {{p.inHOn, p.inH, wd, &s.in.x},
                             {p.inVOn, p.inV, ht, &s.in.y},
                             {p.outHOn, p.outH, wd, &s.out.x},
                             {p.outVOn, p.outV, ht, &s.out.y}};
        for (const Handle& handle : handles) {
            r = Draw();
            if (handle.on != 0) {
                *handle.coordinate += r * handle.amount * handle.size;
                s.corner = 1;
            }
        }
        if (ErrorCode err = sPath->SetPathSegments(path, i, 1, &s))
            return err;
    }
    return kNoErr;
}

ErrorCode Randomise(ArtHandle art, double wd, double ht, const FramePGParams& p) {
    int32_t kind = 0;
    if (ErrorCode err = sArt->GetArtKind(art, &kind))
        return err;
    if (kind == kVtgArtPath)
        return RandomisePath(art, wd, ht, p);
    if (kind != kVtgArtGroup && kind != kVtgArtCompoundPath)
        return kNoErr;
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
        return err;
    while (child != nullptr) {
        if (ErrorCode err = Randomise(child, wd, ht, p))
            return err;
        if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
            return err;
    }
    return kNoErr;
}

ErrorCode GenerateFrameOps(ArtHandle group, ArtHandle source, const void* record) {
    return GenerateFrame(group, source, *static_cast<const FramePGParams*>(record));
}
void AdjustFrame(void* record) {
    auto& p = *static_cast<FramePGParams*>(record);
    ChooseLiveSeed(p.seedFixed, p.seed);
}
std::int64_t FrameCopiesOps(const void* record) {
    return FrameCopies(*static_cast<const FramePGParams*>(record));
}

} // namespace

std::vector<FramePlace> FramePlaces(const FramePGParams& record, double width, double height) {
    std::vector<FramePlace> places;
    if (FrameCopies(record) < 0)
        return places;
    Walk(Clamped(record), width, height, [&](const FramePlace& place) {
        places.push_back(place);
        return kNoErr;
    });
    return places;
}

std::int64_t FrameCopies(const FramePGParams& p) {
    if (p.hCount > kMaxPanelCount || p.vCount > kMaxPanelCount)
        return -1;
    if (p.hCount <= 0 || p.vCount <= 0)
        return 0;
    return 2 * static_cast<std::int64_t>(p.hCount) + 2 * static_cast<std::int64_t>(p.vCount) + 4;
}

ErrorCode GenerateFrame(ArtHandle group, ArtHandle source, const FramePGParams& record) {
    if (sArt == nullptr || sMath == nullptr || sPath == nullptr)
        return kSuiteNotFoundErr;
    const FramePGParams p = Clamped(record);
    if (ErrorCode err = SeedLiveRandom(p.seed))
        return err;
    VtgRect box{};
    if (ErrorCode err = sArt->GetArtBounds(source, nullptr, kVtgBoundsControlPoints, &box))
        return err;
    const double wd = box.right - box.left, ht = box.top - box.bottom;
    const VtgPoint ps{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    // The list holds every copy the walk can make, sized in 64 bits.
    CopyList list;
    if (p.hCount > 0 && p.vCount > 0)
        if (ErrorCode err =
                list.Allocate(kCopyListBlock, 2 * static_cast<std::int64_t>(p.hCount) +
                                                  2 * static_cast<std::int64_t>(p.vCount) + 4))
            return err;
    const bool randomise =
        p.randomOn != 0 && (p.anchorHOn != 0 || p.anchorVOn != 0 || p.inHOn != 0 || p.inVOn != 0 ||
                            p.outHOn != 0 || p.outVOn != 0);
    ErrorCode err = Walk(p, wd, ht, [&](const FramePlace& place) -> ErrorCode {
        ArtHandle copy = nullptr;
        if (ErrorCode e = sArt->DuplicateArt(source, kVtgPlaceInsideOnBottom, group, &copy))
            return e;
        list.Add(copy);
        if (randomise)
            if (ErrorCode e = Randomise(copy, wd, ht, p))
                return e;
        VtgMatrix m{};
        sMath->IdentityMatrix(&m);
        if (std::fabs(std::fabs(place.angle) - 180 * kDeg) < 1e-12) {
            // A half turn goes as two quarter turns.
            const double quarter = place.angle > 0 ? 90 * kDeg : -90 * kDeg;
            RotateAbout(m, ps, quarter);
            RotateAbout(m, ps, quarter);
        } else if (place.angle != 0) {
            RotateAbout(m, ps, place.angle);
        }
        sMath->ConcatTranslate(&m, place.x, place.y);
        return sArt->TransformArt(copy, &m, 1, kVtgTransformAll);
    });
    if (err == kNoErr)
        err = list.Stack(group, p.randomOn != 0 && p.randomOrder != 0, p.reverseOrder != 0);
    return err;
}

const LiveKindOps& FrameKindOps() {
    static const LiveKindOps ops{GenerateFrameOps, AdjustFrame, nullptr, nullptr, FrameCopiesOps};
    return ops;
}

} // namespace vtg
