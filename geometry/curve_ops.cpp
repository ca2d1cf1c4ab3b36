#include "geometry/curve_ops.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/suite_set.hpp"
#include "geometry/fit_common.hpp"
#include "geometry/piece_loop.hpp"

namespace vtg {
namespace {

VtgPoint Midpoint(VtgPoint a, VtgPoint b) {
    return VtgPoint{(a.x + b.x) * 0.5, (a.y + b.y) * 0.5};
}

// Moves segments index+1 .. newLast-1 one place up, from the top down.
void ShiftUp(PathSegment* segments, int index, int newLast) {
    if (newLast - 1 > index)
        std::memmove(&segments[index + 2], &segments[index + 1],
                     static_cast<size_t>(newLast - 1 - index) * sizeof(PathSegment));
}

} // namespace

double FitTolerance(const TransformContext& context, double e) {
    switch (context.kind) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 10:
        return e < 0.1 ? 0.1 : std::min(1.0, e);
    case 5:
    case 6:
    case 7: {
        double h = std::fabs(context.param2);
        if (context.kind != 7)
            h = std::max(h, std::fabs(context.param4));
        if (h == 0)
            h = 1;
        return std::clamp(1.0 / h, 0.05, 0.5);
    }
    default:
        return fit::DefaultTolerance(e);
    }
}

namespace {

// Copies the source path into the working record, reusing its array when it
// has the same count. -108 when a new array cannot be had.
ErrorCode RestoreWorking(const PathInfo& source, PathInfo& working) {
    if (working.segments == source.segments) {
        working.count = source.count;
    } else if (working.segments != nullptr && working.count == source.count) {
        std::memcpy(working.segments, source.segments,
                    static_cast<size_t>(std::max<int16_t>(source.count, 0)) * sizeof(PathSegment));
    } else {
        PathSegment* copy = nullptr;
        ErrorCode err = AllocateSegmentArray(source.count, kCapturedSegmentsName, &copy);
        if (err != kNoErr)
            return err;
        if (source.count > 0)
            std::memcpy(copy, source.segments,
                        static_cast<size_t>(source.count) * sizeof(PathSegment));
        FreeBlock(working.segments);
        working.segments = copy;
    }
    working.count = source.count;
    working.closed = source.closed;
    working.depth = source.depth;
    return kNoErr;
}

} // namespace

VtgBezier PieceOf(const PathSegment& first, const PathSegment& second) {
    return VtgBezier{first.anchor, first.out, second.in, second.anchor};
}

void SplitSegmentHalf(PathSegment* segments, int index, int newLast) {
    PathSegment& s = segments[index];
    PathSegment& n = segments[index + 1];
    const VtgPoint a = Midpoint(s.anchor, s.out);
    const VtgPoint c = Midpoint(n.in, n.anchor);
    const VtgPoint b = Midpoint(s.out, n.in);
    s.out = a;
    n.in = c;
    ShiftUp(segments, index, newLast);
    PathSegment& m = segments[index + 1];
    m.in = Midpoint(a, b);
    m.out = Midpoint(b, c);
    m.anchor = Midpoint(m.in, m.out);
    m.corner = 0;
}

bool SplitSegmentAt(const VtgBezier& piece, PathSegment* segments, int index, int newLast,
                    double t) {
    if (!(t >= 0.0 && t <= 1.0) || sBezier == nullptr)
        return false;
    VtgBezier left, right;
    if (sBezier->Divide(&piece, t, &left, &right) != kNoErr)
        return false;
    segments[index].out = left.p1;
    segments[index + 1].in = right.p2;
    ShiftUp(segments, index, newLast);
    PathSegment& m = segments[index + 1];
    m.anchor = left.p3;
    m.in = left.p2;
    m.out = right.p1;
    m.corner = 0;
    return true;
}

bool FindInsideParameter(const VtgBezier& piece, const VtgRect& area, double* t) {
    if (sBezier == nullptr || t == nullptr)
        return false;
    double length = 0;
    if (sBezier->Length(&piece, 0.1, &length) != kNoErr)
        return false;
    const double step = length > 0 ? std::max(0.001, 1.0 / length) : 1.0;
    const double left = std::min(area.left, area.right), right = std::max(area.left, area.right);
    const double bottom = std::min(area.top, area.bottom), top = std::max(area.top, area.bottom);
    auto inside = [&](double u) {
        VtgPoint p;
        if (sBezier->PointAt(&piece, std::clamp(u, 0.0, 1.0), &p, nullptr) != kNoErr)
            return false;
        return p.x >= left && p.x <= right && p.y >= bottom && p.y <= top;
    };
    double first = -1, last = -1;
    for (int k = 0;; ++k) {
        const double u = k * step;
        if (u > 1.0)
            break;
        if (inside(u)) {
            first = u;
            break;
        }
    }
    for (int k = 0;; ++k) {
        const double u = 1.0 - k * step;
        if (u < 0.0)
            break;
        if (inside(u)) {
            last = u;
            break;
        }
    }
    if (first != -1) {
        *t = last != -1 ? (first + last) / 2 : first;
        return true;
    }
    if (last != -1) {
        *t = last;
        return true;
    }
    return false;
}

ErrorCode FitMappedCurve(const TransformContext& context, PathSegment& first, PathSegment& second,
                         double* depth, bool splitAllowed) {
    double ignored = 0;
    double& depthOut = depth != nullptr ? *depth : ignored;
    depthOut = kNoDepth;
    if (context.mapping == nullptr)
        return kBadParameterErr;
    const VtgPoint c = context.mappingCentre;
    auto rel = [&](VtgPoint p) { return VtgPoint{p.x - c.x, p.y - c.y}; };
    VtgPoint p[4] = {rel(first.anchor), rel(first.out), rel(second.in), rel(second.anchor)};
    const double chord = fit::Dist(p[0], p[3]);
    const double e = chord / 100;
    const double f = std::min(1.0, e);
    const double g = FitTolerance(context, e);
    if (fit::Same(p[1], p[0]) && fit::Same(p[2], p[3]))
        fit::ChordThirds(p);

    const double pd = context.perspectiveDistance;
    const bool perspective = std::fabs(pd) < kNoPerspective;
    int status = kFitAccepted;
    auto map = [&](VtgPoint in, VtgPoint* out, double* z) -> ErrorCode {
        double x = in.x, y = in.y, zz = 0;
        const ErrorCode r = context.mapping(context, in.x, in.y, &x, &y, &zz);
        if (r == kOutsideArea) {
            x = in.x;
            y = in.y;
            zz = 0;
        } else if (r != kNoErr) {
            return r;
        }
        if (-zz >= pd)
            status = kFitBehindViewer;
        if (perspective) {
            const double w = pd / (pd - zz);
            if (std::fabs(w) < kNoPerspective) {
                x *= w;
                y *= w;
            }
        }
        *out = VtgPoint{x, y};
        if (z != nullptr)
            *z = zz;
        return kNoErr;
    };

    VtgPoint q[4]{}, nearStart{}, nearEnd{}, atThird{}, atTwoThirds{};
    double z0 = 0, z3 = 0;
    ErrorCode err;
    if ((err = map(p[0], &q[0], &z0)) != kNoErr ||
        (err = map(fit::Eval(p, fit::kNearStart), &nearStart, nullptr)) != kNoErr ||
        (err = map(p[1], &q[1], nullptr)) != kNoErr || (err = map(p[3], &q[3], &z3)) != kNoErr ||
        (err = map(fit::Eval(p, fit::kNearEnd), &nearEnd, nullptr)) != kNoErr ||
        (err = map(p[2], &q[2], nullptr)) != kNoErr)
        return err;
    depthOut = std::max(depthOut, std::max(z0, z3));

    const VtgPoint outHandle = fit::EndHandle(q[0], q[1], nearStart);
    const VtgPoint inHandle = fit::EndHandle(q[3], q[2], nearEnd);
    if ((err = map(fit::Eval(p, fit::kThird), &atThird, nullptr)) != kNoErr ||
        (err = map(fit::Eval(p, fit::kTwoThirds), &atTwoThirds, nullptr)) != kNoErr)
        return err;

    const bool tiny = fit::Dist(q[0], q[3]) < f && fit::Dist(q[0], outHandle) < f &&
                      fit::Dist(q[3], inHandle) < f;
    if (!tiny && splitAllowed) {
        const VtgPoint fitted[4] = {q[0], outHandle, inHandle, q[3]};
        if (fit::Strays(fitted, atThird, atTwoThirds, g))
            return kFitSplitNeeded;
    }
    auto abs = [&](VtgPoint v) { return VtgPoint{v.x + c.x, v.y + c.y}; };
    first.anchor = abs(q[0]);
    first.out = abs(outHandle);
    second.in = abs(inHandle);
    second.anchor = abs(q[3]);
    first.corner = 1;
    second.corner = 1;
    return status;
}

ErrorCode TransformPath(const TransformContext& context, const PathInfo* source,
                        PathInfo& working) {
    PathSegment* work = nullptr;
    ErrorCode err = AllocateSegmentArray(kSegmentBufferCapacity, kTransformWorkName, &work);
    if (err != kNoErr)
        return err;
    if (source != nullptr && (err = RestoreWorking(*source, working)) != kNoErr) {
        FreeBlock(work);
        return err;
    }
    const int32_t n = working.count;
    if (n < 2 || working.segments == nullptr) {
        FreeBlock(work);
        return kNoErr;
    }
    auto fitPiece = [&](PathSegment& a, PathSegment& b, bool split, double* depth) {
        return FitMappedCurve(context, a, b, depth, split);
    };
    auto noPreSplit = [](const PathSegment&, const PathSegment&, double*) { return false; };
    const PieceLoopResult r =
        RunPieceLoop(working.segments, n, working.closed != 0, work, fitPiece, noPreSplit);
    if (r.error != kNoErr || !r.complete) {
        FreeBlock(work);
        return r.error;
    }
    working.depth = r.depth;
    if (r.count <= kMaxWrittenSegments) {
        PathSegment* result = nullptr;
        err = AllocateSegmentArray(r.count, kTransformResultName, &result);
        if (err != kNoErr) {
            FreeBlock(work);
            return err;
        }
        std::memcpy(result, work, static_cast<size_t>(r.count) * sizeof(PathSegment));
        FreeBlock(working.segments); // the replaced array is ours to free
        working.segments = result;
        working.count = static_cast<int16_t>(r.count);
    }
    FreeBlock(work);
    return r.behindViewer ? kFitBehindViewer : kNoErr;
}

ErrorCode TransformPaths(TransformContext& context, PathSet& set, int16_t kind) {
    set.status = 0;
    context.kind = kind;
    const int setupKind = (kind < 0 || kind >= kTransformSetupKinds) ? 0 : kind;
    if (context.setups != nullptr && context.setups[setupKind] != nullptr) {
        const ErrorCode r = context.setups[setupKind](context, set);
        if (r == 2)
            set.status = 2;
        else if (r != kNoErr)
            return r;
    }
    for (int32_t i = 0; i < set.pathCount; ++i) {
        const ErrorCode r = TransformPath(context, set.source != nullptr ? &set.source[i] : nullptr,
                                          set.working[i]);
        if (r == kFitBehindViewer)
            set.status = 1;
        else if (r != kNoErr)
            return r;
    }
    int32_t total = 0;
    for (int32_t i = 0; i < set.pathCount; ++i)
        total += set.working[i].count;
    set.resultSegmentTotal = total;
    return kNoErr;
}

} // namespace vtg
