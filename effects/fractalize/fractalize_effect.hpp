// fractalize_effect.hpp - the Fractalize geometry: the generator figures,
// the cutting of a path into pieces and the substitution of a generator for
// every piece, level after level. Shared by the effect and the filter.
#pragma once

#include <cstdint>
#include <vector>

#include "host/api/vtg_base.h"
#include "host/api/vtg_bezier_suite.h"
#include "host/api/vtg_path_suite.h"
#include "params/effect_params.hpp"

namespace vtg {

inline constexpr int kGeneratorCount = 14;
// The generators' names, in list order (value = position + 1).
extern const char* const kGeneratorNames[kGeneratorCount];
// Whether mirroring left to right changes generator `value` (1 .. 14).
bool GeneratorAsymmetric(uint32_t value);

// The generator of the record as segments: its figure read from its text
// form, mirrored (reverseV, asymmetric figures only) and scaled vertically
// by +-genHeight/100 about its first point. Values outside 1 .. 14 read as 1.
std::vector<PathSegment> ReadGenerator(const FractalizeParams& p);
// The reader of one figure in the host's text artwork form ("m", "l"/"L",
// "c"/"C", "v"/"V", "y"/"Y", text in parentheses skipped, "%EOF" ends it).
std::vector<PathSegment> ReadGeneratorText(const char* text);

// One piece record: its start segment and whether the generator is applied
// to the piece that starts here.
struct PieceRecord {
    PathSegment segment;
    int32_t generator;
};

// The cubic operations the cutting uses; the host's Bezier suite by default.
struct BezierOps {
    ErrorCode (*length)(const VtgBezier*, double flatness, double* length);
    ErrorCode (*parameterAtLength)(const VtgBezier*, double length, double flatness, double* t);
    ErrorCode (*divide)(const VtgBezier*, double t, VtgBezier* left, VtgBezier* right);
};
BezierOps HostBezierOps();

// The piece size in points: 72/density, at least 0.5; 7200 when the density
// is below 0.01 or not a number.
double FractalizeStep(const FractalizeParams& p);
// The unevenness amplitude: step * uneven/100 when uneven_f is set, else 0.
double FractalizeUnevenness(const FractalizeParams& p);

// Cuts a path into piece records (record 0 is its first anchor). Nothing
// for fewer than 2 segments or when the records would not fit in 32 000.
// With a non-zero unevenness every record moves by a random amount.
ErrorCode DividePath(const FractalizeParams& p, const BezierOps& ops, const PathSegment* segments,
                     int count, bool closed, std::vector<PieceRecord>& out);

// The fractal form of one path's segments: kNoErr with `out` filled (empty:
// leave the path unchanged), or kTooManySegments when the result would
// exceed 31 999 segments.
ErrorCode FractalizeSegments(const FractalizeParams& p, const BezierOps& ops,
                             const std::vector<PathSegment>& generator, const PathSegment* segments,
                             int count, bool closed, std::vector<PathSegment>& out);

// Reads, fractalizes and writes one path.
ErrorCode FractalizePath(const FractalizeParams& p, const std::vector<PathSegment>& generator,
                         ArtHandle path);
// Every path below `art`; any error (also "SEGM") ends the walk.
ErrorCode FractalizeArt(const FractalizeParams& p, const std::vector<PathSegment>& generator,
                        ArtHandle art);

} // namespace vtg
