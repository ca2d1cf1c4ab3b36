// unite.hpp - the union of filled shapes given as path segments, for the
// pathfinder suite. Curves stay cubic curves; lines come back as segments
// whose handles sit on their anchors.
#pragma once

#include <string>
#include <vector>

#include "host/api/vtg_base.h"
#include "host/api/vtg_path_suite.h"
#include "host/api/vtg_pathfinder_suite.h"

namespace hostapp::geometry {

// One outline of a shape. An open outline takes part as if closed by a
// straight line from its last anchor to its first.
struct Outline {
    std::vector<PathSegment> segments;
    bool closed = true;
};

// One filled shape: a path (one outline) or a compound path (several
// outlines filled together by its fill rule).
struct Shape {
    std::vector<Outline> outlines;
    bool evenOdd = false;
};

// The signed area of a closed outline (positive counter-clockwise with the
// y axis up); an open outline is measured closed by a straight line.
double SignedArea(const Outline& outline);

// Unites the filled areas of `shapes` into closed outlines: outer outlines
// counter-clockwise, holes clockwise, so that either fill rule paints the
// same area. `precision` (points) bounds how far a computed crossing of two
// outlines may lie from the true one; it is capped at kFinestPrecision and a
// value that is not positive and finite means kFinestPrecision.
//
// Outlines of fewer than two anchors or without area take no part; when
// nothing has area, `result` is empty. Errors (then `result` is empty):
// kBadParameterErr for a coordinate that is not finite, kPathfinderFailedErr
// when the union cannot be computed reliably or an outline would exceed
// kVtgMaxSegments (`why` says what failed).
constexpr double kFinestPrecision = 1e-6;
ErrorCode Unite(const std::vector<Shape>& shapes, double precision, std::vector<Outline>& result,
                std::string* why = nullptr);

} // namespace hostapp::geometry
