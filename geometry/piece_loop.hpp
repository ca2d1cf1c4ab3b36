// piece_loop.hpp - the loop every path driver shares: each source piece is
// copied into a work array, fitted, and halved in place until its fit is
// accepted, within the segment guards.
#pragma once

#include <algorithm>

#include "geometry/curve_ops.hpp"
#include "geometry/path_model.hpp"

namespace vtg {

struct PieceLoopResult {
    ErrorCode error = kNoErr; // a fit's error: the path is abandoned
    bool complete = false;    // false when a guard left the path as it was
    int32_t count = 0;        // segments in the work array when complete
    bool behindViewer = false;
    double depth = kNoDepth;
};

// `fit(first, second, splitAllowed, &depth)` fits one piece in place and
// returns kFitAccepted, kFitBehindViewer, kFitSplitNeeded or an error.
// `preSplit(first, second, &t)` may ask for one split at t before a source
// piece is fitted. `work` holds kSegmentBufferCapacity segments.
template <class Fit, class PreSplit>
PieceLoopResult RunPieceLoop(const PathSegment* source, int32_t n, bool closed, PathSegment* work,
                             Fit&& fit, PreSplit&& preSplit) {
    PieceLoopResult result;
    int32_t j = 0;
    VtgPoint carriedIn{0, 0}; // the mapped in handle of the last fitted end

    // Fits the piece (a, b) starting at j; on success j is the index of its
    // fitted end, which is stored there.
    auto runPiece = [&](const PathSegment& a, const PathSegment& b) -> ErrorCode {
        work[j] = a;
        work[j + 1] = b;
        int32_t last = j + 1;
        double t = 0;
        if (last <= kMaxSplitLast && preSplit(work[j], work[j + 1], &t)) {
            const VtgBezier piece = PieceOf(work[j], work[j + 1]);
            if (SplitSegmentAt(piece, work, j, last + 1, t))
                ++last;
        }
        bool split = true;
        for (;;) {
            PathSegment first = work[j], second = work[j + 1];
            double depth = kNoDepth;
            const ErrorCode r = fit(first, second, split, &depth);
            if (r == kFitSplitNeeded) {
                if (last > kMaxSplitLast) {
                    split = false;
                } else {
                    ++last;
                    SplitSegmentHalf(work, j, last);
                }
                continue;
            }
            if (r != kFitAccepted && r != kFitBehindViewer)
                return r;
            work[j] = first;
            result.depth = std::max(result.depth, depth);
            result.behindViewer = result.behindViewer || r == kFitBehindViewer;
            ++j;
            if (j == last) {
                work[j] = second;
                carriedIn = second.in;
                return kNoErr;
            }
            work[j].in = second.in;
        }
    };

    for (int32_t d = 0; d + 1 < n; ++d) {
        if (j > kMaxPieceStart)
            return result;
        PathSegment a = source[d];
        if (d > 0)
            a.in = carriedIn;
        result.error = runPiece(a, source[d + 1]);
        if (result.error != kNoErr)
            return result;
    }
    if (closed) {
        if (j > kMaxPieceStart)
            return result;
        PathSegment a = source[n - 1];
        if (n > 1)
            a.in = carriedIn;
        PathSegment b = source[0];
        b.out = work[0].out;
        result.error = runPiece(a, b);
        if (result.error != kNoErr)
            return result;
        work[0] = work[j];
        result.count = j;
    } else {
        work[0].in = work[0].anchor;
        work[j].out = work[j].anchor;
        result.count = j + 1;
    }
    result.complete = true;
    return result;
}

} // namespace vtg
