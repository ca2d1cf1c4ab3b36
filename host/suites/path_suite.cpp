// The path suite: segments, closed flag and style of path art.
#include <algorithm>
#include <cmath>

#include "host/api/vtg_path_suite.h"
#include "host/suites/doc_helpers.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

using doc::ArtNode;
using docsuite::Art;

ErrorCode PathArt(ArtHandle h, ArtNode*& out) {
    if (ErrorCode e = Art(h, out))
        return e;
    if (out->s.kind != kVtgArtPath) {
        out = nullptr;
        return kWrongArtKindErr;
    }
    return kNoErr;
}

bool Styled(int32_t kind) {
    return kind == kVtgArtPath || kind == kVtgArtCompoundPath || kind == kVtgArtBrushedPath ||
           kind == kVtgArtEnvelope;
}

ErrorCode GetPathSegmentCount(ArtHandle path, int16_t* count) {
    ArtNode* a = nullptr;
    if (count == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = PathArt(path, a))
        return e;
    *count = static_cast<int16_t>(a->s.segments.size());
    return kNoErr;
}

ErrorCode SetPathSegmentCount(ArtHandle path, int16_t count) {
    ArtNode* a = nullptr;
    if (ErrorCode e = PathArt(path, a))
        return e;
    if (count < 0)
        return kBadParameterErr;
    doc::Touch(a);
    auto& g = a->s.segments;
    const size_t n = static_cast<size_t>(count);
    if (n <= g.size()) {
        g.resize(n);
        return kNoErr;
    }
    const VtgPoint p = g.empty() ? VtgPoint{0, 0} : g.back().anchor;
    g.resize(n, PathSegment{p, p, p, 1});
    return kNoErr;
}

ErrorCode GetPathSegments(ArtHandle path, int16_t start, int16_t count, PathSegment* segments) {
    ArtNode* a = nullptr;
    if (ErrorCode e = PathArt(path, a))
        return e;
    const auto& g = a->s.segments;
    if (start < 0 || count < 0 ||
        static_cast<size_t>(start) + static_cast<size_t>(count) > g.size())
        return kBadParameterErr;
    if (count > 0 && segments == nullptr)
        return kBadParameterErr;
    std::copy_n(g.begin() + start, count, segments);
    return kNoErr;
}

ErrorCode SetPathSegments(ArtHandle path, int16_t start, int16_t count,
                          const PathSegment* segments) {
    ArtNode* a = nullptr;
    if (ErrorCode e = PathArt(path, a))
        return e;
    auto& g = a->s.segments;
    const long end = static_cast<long>(start) + count;
    if (start < 0 || count < 0 || static_cast<size_t>(start) > g.size() || end > kVtgMaxSegments)
        return kBadParameterErr;
    if (count > 0 && segments == nullptr)
        return kBadParameterErr;
    doc::Touch(a);
    if (static_cast<size_t>(end) > g.size())
        g.resize(static_cast<size_t>(end));
    for (int i = 0; i < count; ++i) {
        g[static_cast<size_t>(start + i)] = segments[i];
        g[static_cast<size_t>(start + i)].corner = segments[i].corner != 0 ? 1 : 0;
    }
    return kNoErr;
}

ErrorCode GetPathClosed(ArtHandle path, int32_t* closed) {
    ArtNode* a = nullptr;
    if (closed == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = PathArt(path, a))
        return e;
    *closed = a->s.closed ? 1 : 0;
    return kNoErr;
}

ErrorCode SetPathClosed(ArtHandle path, int32_t closed) {
    ArtNode* a = nullptr;
    if (ErrorCode e = PathArt(path, a))
        return e;
    doc::Touch(a);
    a->s.closed = closed != 0;
    return kNoErr;
}

ErrorCode GetPathStyle(ArtHandle path, VtgPathStyle* style) {
    ArtNode* a = nullptr;
    if (style == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Art(path, a))
        return e;
    if (!Styled(a->s.kind))
        return kWrongArtKindErr;
    *style = a->s.style;
    style->clip = (a->s.attributes & kVtgArtClipping) != 0 ? 1 : 0;
    return kNoErr;
}

bool ValidColor(const VtgColor& c) {
    return c.kind >= kVtgColorGray && c.kind <= kVtgColorNone;
}

ErrorCode SetPathStyle(ArtHandle path, const VtgPathStyle* style) {
    ArtNode* a = nullptr;
    if (style == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Art(path, a))
        return e;
    if (!Styled(a->s.kind))
        return kWrongArtKindErr;
    if (!ValidColor(style->fill.color) || !ValidColor(style->stroke.color) ||
        style->stroke.dashCount < 0 || style->stroke.dashCount > kVtgMaxDashes)
        return kBadParameterErr;
    for (const VtgColor* c : {&style->fill.color, &style->stroke.color}) {
        // No handle: the gradient the file names, kept as written.
        if (c->kind == kVtgColorGradient && c->gradient != nullptr) {
            doc::GradientNode* g = nullptr;
            if (ErrorCode e = docsuite::Store()->gradient(c->gradient, g))
                return e;
            if (g->document != a->document)
                return kDeadHandleErr;
        }
    }
    doc::Touch(a);
    VtgPathStyle s = *style;
    s.stroke.width = std::isfinite(s.stroke.width) ? std::max(0.0, s.stroke.width) : 1.0;
    s.stroke.miterLimit =
        std::isfinite(s.stroke.miterLimit) ? std::max(1.0, s.stroke.miterLimit) : 4.0;
    s.clip = s.clip != 0 ? 1 : 0;
    a->s.style = s;
    if (s.clip != 0)
        a->s.attributes |= kVtgArtClipping;
    else
        a->s.attributes &= ~kVtgArtClipping;
    return kNoErr;
}

const PathSuite kPath = {&GetPathSegmentCount, &SetPathSegmentCount, &GetPathSegments,
                         &SetPathSegments,     &GetPathClosed,       &SetPathClosed,
                         &GetPathStyle,        &SetPathStyle};

} // namespace

void PublishPathSuite(SuiteBroker& broker) {
    broker.publish(kPathSuiteName, kPathSuiteVersion, &kPath);
}

} // namespace hostapp
