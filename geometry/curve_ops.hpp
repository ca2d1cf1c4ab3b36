// curve_ops.hpp - the deformation engine: splitting primitives, the search
// for a parameter inside a rectangle, the fit of a mapped cubic and the
// generic path transform with its depth and perspective.
#pragma once

#include <cstdint>

#include "geometry/path_model.hpp"
#include "host/api/vtg_bezier_suite.h"

namespace vtg {

struct TransformContext;

// The generic transform's point mapping: (x, y) relative to the mapping
// centre in, (x', y') and depth z relative to the same centre out. Returns 0,
// kOutsideArea (the point is taken unchanged, depth 0) or an error.
using PointMapping = ErrorCode (*)(const TransformContext& context, double x, double y,
                                   double* outX, double* outY, double* outZ);

// A kind's setup step: fills mappingCentre, mapping and the kind's private
// values. May return 2 (a status, not an error) or an error.
using TransformSetup = ErrorCode (*)(TransformContext& context, PathSet& set);

// Number of kinds with a setup of their own; kinds at or above use kind 0's.
inline constexpr int kTransformSetupKinds = 12;

// The state of the generic transform.
struct TransformContext {
    int16_t kind = 0; // setup, mapping and tolerance rule (0 to 11)
    double param1 = 0, param2 = 0, param3 = 0, param4 = 0;
    // Viewer distance for the perspective division; a magnitude at or beyond
    // kNoPerspective means no perspective.
    double perspectiveDistance = 1.7976931348623158e307;
    VtgRect bounds{0, 0, 0, 0};
    VtgPoint centre{0, 0};
    double width = 0, height = 0;
    VtgPoint mappingCentre{0, 0};
    PointMapping mapping = nullptr;
    // The features' setup steps by kind (null entries, or a null table, leave
    // the mapping as the caller set it).
    const TransformSetup* setups = nullptr;
    void* data = nullptr; // the owning feature's private values
};

inline constexpr double kNoPerspective = 1.7976931348623158e307;

// Statuses of FitMappedCurve besides errors.
inline constexpr int kFitAccepted = 0;
inline constexpr int kFitBehindViewer = 1;
inline constexpr int kFitSplitNeeded = 3;

// The four-point cubic of the piece (first, second).
VtgBezier PieceOf(const PathSegment& first, const PathSegment& second);

// Halves the piece that starts at `index`; the array grows by one segment so
// that its last segment ends at `newLast` (the array must hold newLast + 1).
void SplitSegmentHalf(PathSegment* segments, int index, int newLast);

// Splits the piece at `index` (whose cubic is `piece`) at t with the host's
// division, growing the array by one segment as SplitSegmentHalf does. Does
// nothing and returns false when t < 0 or t > 1 or the host refuses.
bool SplitSegmentAt(const VtgBezier& piece, PathSegment* segments, int index, int newLast,
                    double t);

// The middle of the part of the curve that lies inside `area`: true and *t
// when the curve enters it, false otherwise (also when the host cannot
// measure the curve).
bool FindInsideParameter(const VtgBezier& piece, const VtgRect& area, double* t);

// The generic fit's tolerance g by the context's kind, for e = chord / 100.
double FitTolerance(const TransformContext& context, double e);

// Maps the piece (first, second) through the context's mapping and fits a
// new cubic. Returns kFitAccepted or kFitBehindViewer (the piece was written
// back), kFitSplitNeeded (nothing written) or a mapping error. *depth gets the
// larger depth of the two anchors.
ErrorCode FitMappedCurve(const TransformContext& context, PathSegment& first, PathSegment& second,
                         double* depth, bool splitAllowed);

// Transforms one path: restores `working` from `source` when given, maps
// every piece and replaces the working copy's array by the result. Returns
// 0, 1 (a piece came behind the viewer) or an error (-108, a mapping error);
// on the segment guards the working copy keeps the untransformed geometry.
ErrorCode TransformPath(const TransformContext& context, const PathInfo* source, PathInfo& working);

// Runs the kind's setup and transforms every path of the set from its source
// copy. Sets the set's status (0, 1 or 2) and result segment total.
ErrorCode TransformPaths(TransformContext& context, PathSet& set, int16_t kind);

} // namespace vtg
