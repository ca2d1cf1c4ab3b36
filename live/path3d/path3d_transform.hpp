// path3d_transform.hpp - Live 3D Path's geometry: the twelve variants as
// point mappings of the generic transform (pre-rotation, the variant's
// deformation with a depth, post-rotation, perspective), the preparation
// from the bounds of the source, and the transform of an art tree with its
// re-stacking by depth.
#pragma once

#include <cstdint>

#include "geometry/curve_ops.hpp"
#include "geometry/path_model.hpp"
#include "params/live_params.hpp"

namespace vtg {

// A 3 x 3 rotation matrix, applied to column vectors.
struct Matrix3 {
    double m[3][3];
};

// M(a, b, g) = Rx(a) . Ry(b) . Rz(g), angles in degrees.
Matrix3 RotationMatrix3(const double degrees[3]);

// The working values of one run: the generic transform's context first,
// then the record it was prepared from and the variant's own values.
struct ThreeDContext {
    TransformContext base;
    _3DTFilterParams record{}; // the limited copy the run uses
    double t = 0;              // half the diagonal of the bounds
    double ox = 0, oy = 0;     // the centre's offset from the middle
    double widthUsed = 0;      // W' and H': the shorter side at least
    double heightUsed = 0;     // 5 % of the longer one
    Matrix3 m1{}, m2{};
    // The variant's values, named after their use.
    double theta = 0, k = 0, kz = 0, tau = 0;
    double ah = 0, av = 0, amp = 0, phase = 0;
    double radius = 0, minor = 0, sx = 0, sy = 0, y0 = 0, hz = 0, hf = 0;
};

// The record as a run uses it: a variant outside 0 .. 11 reads as 0, every
// value is limited to its edit range and a value that is not a number
// becomes 0 (the stored record is left alone).
_3DTFilterParams Limited3DRecord(const _3DTFilterParams& record);

// Readies `context` for `record` over the source bounds `bounds` (y up):
// matrices, bounds values, perspective distance and offset; the mapping and
// the variant's values are set by the transform's set-up step.
void Prepare3DContext(ThreeDContext& context, const _3DTFilterParams& record,
                      const VtgRect& bounds);

// Maps one point relative to the mapping centre as the prepared context's
// variant does (no perspective). 0 or kOverflowErr ("!oVf").
ErrorCode Map3DPoint(const ThreeDContext& context, double x, double y, double* outX, double* outY,
                     double* outZ);

// Runs the generic transform of the context's variant on the captured paths
// (the set-up step first). Status 2 of a degenerate sphere or torus shows in
// set.status.
ErrorCode Transform3DPaths(ThreeDContext& context, PathSet& set);

// Transforms every path below `art` in place with `record` and re-stacks
// the paths by depth (several paths, variant 1 .. 11, full transform).
// "!sel" without a path; success and nothing changed when the bounds are a
// single point; "!oVf" when a value overflows (nothing is written then).
ErrorCode Transform3DArt(ArtHandle art, const _3DTFilterParams& record);

} // namespace vtg
