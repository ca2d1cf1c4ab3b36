// path_data.hpp - the SVG path grammar: parsing the "d" attribute into
// subpaths of PathSegments (quadratics and arcs become cubics), and writing
// a path back as absolute M, L, C and Z commands, one L or C per piece.
#pragma once

#include <string>
#include <vector>

#include "host/api/vtg_path_suite.h"

namespace hostapp::svg {

struct Subpath {
    std::vector<PathSegment> segments;
    bool closed = false;
};

struct PathDataError {
    size_t offset = 0; // character of "d" where the fault lies
    std::string reason;
};

// Numbers whose magnitude exceeds this are refused as absurd.
constexpr double kMaxCoordinate = 1e9;

// Parses `d` (in SVG user space, no transform applied). Corner flags follow
// SmoothCorner. Returns false with `error` filled on a broken string.
bool ParsePathData(const std::string& d, std::vector<Subpath>& out, PathDataError& error);

// The corner flag a reader gives a segment: 0 when both handles are out and
// point in opposite directions (a smooth point), else 1.
int32_t SmoothCorner(const PathSegment& s);

// Appends a number with at most 6 decimals and no trailing zeros ("-0"
// becomes "0"). A value that is not finite is written as 0: the document
// writer refuses such values before they get here.
void AppendNumber(std::string& out, double v, int decimals = 6);
std::string FormatNumber(double v);

// Appends one subpath as "M x y C ... L ... [Z]" (coordinates already in SVG
// space), a straight piece as L, numbers with at most `decimals` decimals.
void AppendPathData(std::string& out, const std::vector<PathSegment>& segments, bool closed,
                    int decimals = 6);

} // namespace hostapp::svg
