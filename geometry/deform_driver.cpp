#include "geometry/deform_driver.hpp"

#include <algorithm>
#include <cmath>

#include "core/suite_set.hpp"
#include "geometry/curve_ops.hpp"
#include "geometry/fit_common.hpp"
#include "geometry/piece_loop.hpp"

namespace vtg {
namespace {

bool Inside(const VtgRect& r, VtgPoint p) {
    return p.x >= std::min(r.left, r.right) && p.x <= std::max(r.left, r.right) &&
           p.y >= std::min(r.top, r.bottom) && p.y <= std::max(r.top, r.bottom);
}

} // namespace

double DeformVariant::Tolerance(double e) const {
    return fit::DefaultTolerance(e);
}

bool DeformVariant::ReplaceRetractedHandles(const VtgPoint piece[4]) const {
    return fit::Same(piece[1], piece[0]) && fit::Same(piece[2], piece[3]);
}

bool DeformVariant::SplitArea(VtgRect*) const {
    return false;
}

ErrorCode DeformVariant::MapPoint(VtgPoint in, VtgPoint* out, bool* outside) {
    VtgPoint m = in;
    const ErrorCode r = Map(in, &m);
    *outside = r == kOutsideArea;
    *out = *outside ? in : m;
    return *outside ? kNoErr : r;
}

ErrorCode DeformVariant::MapAnchor(VtgPoint in, VtgPoint* out, bool* outside) {
    for (const AnchorMemo& m : memo_)
        if (m.valid && fit::Same(m.in, in)) {
            *out = m.out;
            *outside = m.outside;
            return kNoErr;
        }
    const ErrorCode err = MapPoint(in, out, outside);
    if (err == kNoErr) {
        memo_[nextMemo_] = {true, in, *out, *outside};
        nextMemo_ ^= 1;
    }
    return err;
}

void DeformVariant::ForgetAnchors() {
    memo_[0].valid = memo_[1].valid = false;
    nextMemo_ = 0;
}

ErrorCode DeformVariant::Fit(PathSegment& first, PathSegment& second, bool splitAllowed) {
    return FitVariantCurve(*this, first, second, splitAllowed);
}

ErrorCode FitVariantCurve(DeformVariant& variant, PathSegment& first, PathSegment& second,
                          bool splitAllowed) {
    VtgPoint p[4] = {first.anchor, first.out, second.in, second.anchor};
    const double e = fit::Dist(p[0], p[3]) / 100;
    const double f = std::min(1.0, e);
    if (variant.ReplaceRetractedHandles(p))
        fit::ChordThirds(p);

    VtgPoint q[4]{}, nearStart{}, nearEnd{}, atThird{}, atTwoThirds{};
    bool out0 = false, outNear0 = false, out1 = false, out3 = false, outNear3 = false, out2 = false;
    ErrorCode err;
    // The start anchor is the end anchor of the piece fitted before, or the
    // start of the same piece before it was halved: the memo has its image.
    if ((err = variant.MapAnchor(p[0], &q[0], &out0)) != kNoErr ||
        (err = variant.MapPoint(fit::Eval(p, fit::kNearStart), &nearStart, &outNear0)) != kNoErr ||
        (err = variant.MapPoint(p[1], &q[1], &out1)) != kNoErr ||
        (err = variant.MapAnchor(p[3], &q[3], &out3)) != kNoErr ||
        (err = variant.MapPoint(fit::Eval(p, fit::kNearEnd), &nearEnd, &outNear3)) != kNoErr ||
        (err = variant.MapPoint(p[2], &q[2], &out2)) != kNoErr)
        return err;
    const VtgPoint outHandle =
        (out0 && outNear0 && out1) ? p[1] : fit::EndHandle(q[0], q[1], nearStart);
    const VtgPoint inHandle =
        (out3 && outNear3 && out2) ? p[2] : fit::EndHandle(q[3], q[2], nearEnd);

    // The curve points at the thirds only decide whether to split: a piece
    // that may not be split, or whose image is tiny, is accepted as it is.
    const double f2 = f * f;
    const bool tiny = fit::Dist2(q[0], q[3]) < f2 && fit::Dist2(q[0], outHandle) < f2 &&
                      fit::Dist2(q[3], inHandle) < f2;
    if (!tiny && splitAllowed) {
        bool outside = false;
        if ((err = variant.MapPoint(fit::Eval(p, fit::kThird), &atThird, &outside)) != kNoErr ||
            (err = variant.MapPoint(fit::Eval(p, fit::kTwoThirds), &atTwoThirds, &outside)) !=
                kNoErr)
            return err;
        const VtgPoint fitted[4] = {q[0], outHandle, inHandle, q[3]};
        if (fit::Strays(fitted, atThird, atTwoThirds, variant.Tolerance(e)))
            return kFitSplitNeeded;
    }
    first.anchor = q[0];
    first.out = outHandle;
    second.in = inHandle;
    second.anchor = q[3];
    first.corner = 1;
    second.corner = 1;
    return kFitAccepted;
}

ErrorCode DeformSegments(DeformVariant& variant, const PathSegment* source, int32_t n, bool closed,
                         PathSegment* work, int32_t* resultCount) {
    *resultCount = -1;
    if (variant.IsIdentity() || n < 2 || source == nullptr || work == nullptr)
        return kNoErr;
    variant.ForgetAnchors();
    VtgRect area{0, 0, 0, 0};
    const bool hasArea = variant.SplitArea(&area);
    auto fitPiece = [&](PathSegment& a, PathSegment& b, bool split, double*) {
        return variant.Fit(a, b, split);
    };
    auto preSplit = [&](const PathSegment& a, const PathSegment& b, double* t) {
        if (!hasArea || Inside(area, a.anchor) || Inside(area, b.anchor))
            return false;
        return FindInsideParameter(PieceOf(a, b), area, t);
    };
    const PieceLoopResult r = RunPieceLoop(source, n, closed, work, fitPiece, preSplit);
    if (r.error != kNoErr)
        return r.error;
    if (r.complete && r.count <= kMaxWrittenSegments)
        *resultCount = r.count;
    return kNoErr;
}

ErrorCode DeformPath(ArtHandle path, DeformVariant& variant) {
    if (sPath == nullptr || sArt == nullptr)
        return kBadParameterErr;
    if (variant.IsIdentity())
        return kNoErr;
    int16_t count = 0;
    ErrorCode err = sPath->GetPathSegmentCount(path, &count);
    if (err != kNoErr || count < 2)
        return err;
    int32_t closed = 0;
    if ((err = sPath->GetPathClosed(path, &closed)) != kNoErr)
        return err;
    PathSegment* source = nullptr;
    if ((err = AllocateSegmentArray(count, kDriverSourceName, &source)) != kNoErr)
        return err;
    PathSegment* work = gEffectSegments;
    PathSegment* ownWork = nullptr;
    if (work == nullptr) {
        if ((err = AllocateSegmentArray(kSegmentBufferCapacity, kEffectSegmentsName, &ownWork)) !=
            kNoErr) {
            FreeBlock(source);
            return err;
        }
        work = ownWork;
    }
    int32_t result = -1;
    err = sPath->GetPathSegments(path, 0, count, source);
    if (err == kNoErr)
        err = DeformSegments(variant, source, count, closed != 0, work, &result);
    if (err == kNoErr && result >= 0) {
        const auto n = static_cast<int16_t>(result);
        err = sPath->SetPathSegments(path, 0, n, work);
        if (err == kNoErr)
            err = sPath->SetPathSegmentCount(path, n);
        if (err == kNoErr)
            err = sArt->SetArtAttributes(path, kVtgArtSelected, 8);
    }
    FreeBlock(ownWork);
    FreeBlock(source);
    return err;
}

} // namespace vtg
