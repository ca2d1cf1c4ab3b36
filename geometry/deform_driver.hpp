// deform_driver.hpp - the shared path driver of the effects and tools: each
// feature plugs in its point mapping and fitting rules as a DeformVariant,
// and the driver maps every piece of a path, halves pieces until their fit
// is accepted, and writes the result straight into the host path.
#pragma once

#include <cstdint>

#include "geometry/path_model.hpp"

namespace vtg {

class DeformVariant {
public:
    virtual ~DeformVariant() = default;

    // The feature's point mapping in absolute document coordinates. Returns
    // 0, kOutsideArea (the point lies outside the mapping's area and stays
    // where it is) or an error, which abandons the path.
    virtual ErrorCode Map(VtgPoint point, VtgPoint* mapped) = 0;

    // True when the feature's parameters make the mapping the identity: the
    // driver then leaves every path as it is.
    virtual bool IsIdentity() const { return false; }

    // The fit's tolerance g for e = chord / 100 of the source piece.
    virtual double Tolerance(double e) const;

    // Whether the retracted handles of a piece (p[0..3] in document
    // coordinates) are replaced by the chord's thirds before mapping. The
    // default: when both are retracted.
    virtual bool ReplaceRetractedHandles(const VtgPoint piece[4]) const;

    // The area of the extra split: a piece whose two anchors lie outside it
    // is split once, at FindInsideParameter, before it is fitted. The
    // default has none.
    virtual bool SplitArea(VtgRect* area) const;

    // Fits one piece in place: kFitAccepted, kFitSplitNeeded or an error. The
    // default is FitVariantCurve; a feature overrides it for an early
    // identity test of its own.
    virtual ErrorCode Fit(PathSegment& first, PathSegment& second, bool splitAllowed);

    // Map for the fit: a point outside the area stays where it is and sets
    // *outside. MapAnchor also remembers the images of the last two anchors,
    // since each anchor of a path starts one piece and ends another.
    ErrorCode MapPoint(VtgPoint in, VtgPoint* out, bool* outside);
    ErrorCode MapAnchor(VtgPoint in, VtgPoint* out, bool* outside);
    // Forgets the remembered anchors (at the start of every path).
    void ForgetAnchors();

private:
    struct AnchorMemo {
        bool valid = false;
        VtgPoint in{0, 0}, out{0, 0};
        bool outside = false;
    };
    AnchorMemo memo_[2];
    int nextMemo_ = 0;
};

// The variant form of FitMappedCurve: no depth, no perspective, the variant's
// tolerance and handle rules; an end whose anchor, near-end curve point and
// handle are all outside the area keeps its unmapped handle.
ErrorCode FitVariantCurve(DeformVariant& variant, PathSegment& first, PathSegment& second,
                          bool splitAllowed);

// The loop of every driver on plain arrays: deforms the n source segments
// into `work` (kSegmentBufferCapacity segments). *resultCount receives the
// result's count, or -1 when the path is to stay as it was (identity, fewer
// than 2 segments, a segment guard, a result above kMaxWrittenSegments).
// Returns 0 or the variant's error.
ErrorCode DeformSegments(DeformVariant& variant, const PathSegment* source, int32_t n, bool closed,
                         PathSegment* work, int32_t* resultCount);

// The driver on a host path: reads it into a source copy ("buffer 2 for
// segments"), works in gEffectSegments (or a "g buffer for segments" of its
// own when none is held), writes a result of at most kMaxWrittenSegments
// segments into the path from segment 0, sets its count and marks it
// selected. Returns 0 or an error; on an error the path is not written.
ErrorCode DeformPath(ArtHandle path, DeformVariant& variant);

} // namespace vtg
