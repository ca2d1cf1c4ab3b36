// The pathfinder suite (optional): the union of the shapes inside art.
#include "host/api/vtg_pathfinder_suite.h"
#include "host/geometry/unite.hpp"
#include "host/suites/doc_helpers.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

using doc::ArtNode;

// The shapes below a group: paths and compound paths, found through nested
// groups (not through plug-in art, whose parts the plug-in owns).
struct Collected {
    std::vector<geometry::Shape> shapes;
    std::vector<ArtNode*> sources; // the path and compound path art, front-most first
    std::vector<ArtNode*> groups;  // the nested groups that held art, innermost first
};

geometry::Outline OutlineOf(const ArtNode* path) {
    return {path->s.segments, path->s.closed};
}

void Collect(ArtNode* art, Collected& c) {
    for (ArtNode* child : art->s.children) {
        if (child->s.kind == kVtgArtGroup) {
            Collect(child, c);
            if (!child->s.children.empty())
                c.groups.push_back(child);
        } else if (child->s.kind == kVtgArtPath) {
            c.shapes.push_back({{OutlineOf(child)}, child->s.style.fill.evenOdd != 0});
            c.sources.push_back(child);
        } else if (child->s.kind == kVtgArtCompoundPath) {
            geometry::Shape shape;
            shape.evenOdd = child->s.style.fill.evenOdd != 0;
            for (const ArtNode* sub : child->s.children)
                if (sub->s.kind == kVtgArtPath)
                    shape.outlines.push_back(OutlineOf(sub));
            c.shapes.push_back(std::move(shape));
            c.sources.push_back(child);
        }
    }
}

void SetOutline(ArtNode* path, const geometry::Outline& outline) {
    doc::Touch(path);
    path->s.segments = outline.segments;
    path->s.closed = true;
}

// A new path art at `order` of `reference` with `outline` and `style`.
ErrorCode NewPath(ArtNode* reference, int32_t order, const geometry::Outline& outline,
                  const VtgPathStyle& style, int32_t selected, ArtNode*& out) {
    if (ErrorCode e = doc::CreateArt(*reference->document, kVtgArtPath, order, reference, out))
        return e;
    SetOutline(out, outline);
    out->s.style = style;
    out->s.attributes |= selected;
    return kNoErr;
}

// A compound path keeps its own path records where it can, so that their
// handles stay valid.
ErrorCode ReplaceSubpaths(ArtNode* compound, const std::vector<geometry::Outline>& outlines) {
    std::vector<ArtNode*> paths;
    for (ArtNode* sub : compound->s.children)
        if (sub->s.kind == kVtgArtPath)
            paths.push_back(sub);
    const int32_t selected = compound->s.attributes & kVtgArtSelected;
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        if (i < paths.size()) {
            SetOutline(paths[i], outlines[i]);
            continue;
        }
        ArtNode* added = nullptr;
        const VtgPathStyle style = paths.empty() ? compound->s.style : paths.front()->s.style;
        if (ErrorCode e =
                NewPath(compound, kVtgPlaceInsideOnBottom, outlines[i], style, selected, added))
            return e;
    }
    for (std::size_t i = outlines.size(); i < paths.size(); ++i)
        doc::DeleteArt(paths[i]);
    return kNoErr;
}

ErrorCode UniteGroup(ArtNode* group, double precision) {
    Collected c;
    Collect(group, c);
    if (c.shapes.empty())
        return kNoErr;
    std::vector<geometry::Outline> outlines;
    if (ErrorCode e = geometry::Unite(c.shapes, precision, outlines))
        return e;
    if (outlines.empty())
        return kNoErr; // nothing with area: left as it is
    const VtgPathStyle style = c.sources.front()->s.style;
    const int32_t selected = group->s.attributes & kVtgArtSelected;
    for (ArtNode* source : c.sources)
        doc::DeleteArt(source);
    // The nested groups the union emptied go too (innermost first, so that
    // a group holding only such groups goes with them).
    for (ArtNode* g : c.groups)
        if (g->s.children.empty())
            doc::DeleteArt(g);
    ArtNode* made = nullptr;
    if (outlines.size() == 1)
        return NewPath(group, kVtgPlaceInsideOnTop, outlines.front(), style, selected, made);
    if (ErrorCode e = doc::CreateArt(*group->document, kVtgArtCompoundPath, kVtgPlaceInsideOnTop,
                                     group, made))
        return e;
    made->s.style = style;
    made->s.attributes |= selected;
    return ReplaceSubpaths(made, outlines);
}

ErrorCode UniteArt(ArtNode* art, double precision) {
    switch (art->s.kind) {
    case kVtgArtGroup:
        return UniteGroup(art, precision);
    case kVtgArtPath: {
        std::vector<geometry::Outline> outlines;
        if (ErrorCode e = geometry::Unite({{{OutlineOf(art)}, art->s.style.fill.evenOdd != 0}},
                                          precision, outlines))
            return e;
        // One outline alone is its own union.
        if (outlines.size() == 1)
            SetOutline(art, outlines.front());
        return kNoErr;
    }
    case kVtgArtCompoundPath: {
        geometry::Shape shape;
        shape.evenOdd = art->s.style.fill.evenOdd != 0;
        for (const ArtNode* sub : art->s.children)
            if (sub->s.kind == kVtgArtPath)
                shape.outlines.push_back(OutlineOf(sub));
        if (shape.outlines.empty())
            return kNoErr;
        std::vector<geometry::Outline> outlines;
        if (ErrorCode e = geometry::Unite({shape}, precision, outlines))
            return e;
        return outlines.empty() ? kNoErr : ReplaceSubpaths(art, outlines);
    }
    default:
        return kNoErr; // holds no path
    }
}

ErrorCode Unite(const ArtHandle* arts, int32_t count, const VtgPathfinderOptions* options) {
    if (arts == nullptr || count < 0)
        return kBadParameterErr;
    const double precision = options != nullptr ? options->precision : 0;
    for (int32_t i = 0; i < count; ++i) {
        ArtNode* art = nullptr;
        if (ErrorCode e = docsuite::Art(arts[i], art))
            return e;
        if (ErrorCode e = UniteArt(art, precision))
            return e;
    }
    return kNoErr;
}

const PathfinderSuite kPathfinder = {&Unite};

} // namespace

void PublishPathfinderSuite(SuiteBroker& broker) {
    broker.publish(kPathfinderSuiteName, kPathfinderSuiteVersion, &kPathfinder);
}

} // namespace hostapp
