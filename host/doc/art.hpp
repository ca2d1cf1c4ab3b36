// art.hpp - operations on the art tree of a document: placing, duplicating,
// deleting, attributes, selection, bounds and transforms. The art suite and
// the SVG reader and writer both use them.
#pragma once

#include <vector>

#include "host/doc/document.hpp"

namespace hostapp::doc {

bool IsContainer(int32_t kind); // group or compound path
// The layer group at the root of `art`'s tree, or null for detached art.
ArtNode* RootOf(ArtNode* art);
LayerNode* LayerOf(ArtNode* art);
// True when `inner` is `outer` or lies inside it (plug-in parts included).
bool IsInside(const ArtNode* inner, const ArtNode* outer);

// Creates art of `kind` at `order` relative to `reference` (null: the
// current layer). Plug-in art gets its edit and result groups.
ErrorCode CreateArt(Document& document, int32_t kind, int32_t order, ArtNode* reference,
                    ArtNode*& out);
// Places detached art (no parent) at `order` relative to `reference`.
ErrorCode Place(Document& document, ArtNode* art, int32_t order, ArtNode* reference);
ErrorCode MoveArt(ArtNode* art, int32_t order, ArtNode* reference);
ErrorCode DuplicateArt(ArtNode* art, int32_t order, ArtNode* reference, ArtNode*& copy);
ErrorCode DeleteArt(ArtNode* art);
// A deep copy without a parent (every record new, nothing selected).
ArtNode* CopyTree(Document& document, const ArtNode* art);

// Attributes: the subtree follows selection changes of a container.
int32_t Attributes(const ArtNode* art); // with kVtgArtFullySelected computed
void SetAttributes(ArtNode* art, int32_t mask, bool on);

// The selection list of the suite: container first, then every selected art
// in document order. Empty when nothing is selected.
std::vector<ArtNode*> SelectionList(Document& document);
// Every art meeting one of the conditions, in document order.
std::vector<ArtNode*> MatchingArt(Document& document, const VtgArtMatch* matches, int32_t count);
void SelectNone(Document& document);

// Bounds under a matrix; false when the art has no points.
bool Bounds(const ArtNode* art, const VtgMatrix& matrix, int32_t option, VtgRect& out);
void TransformArt(ArtNode* art, const VtgMatrix& m, double lineScale, int32_t options);

// Matrix helpers: first then second.
VtgMatrix Concat(const VtgMatrix& first, const VtgMatrix& second);
VtgPoint Apply(const VtgMatrix& m, VtgPoint p);

// Visits art depth first in document order (front to back), entering
// plug-in art's parts when `plugin` is set. The visitor returns false to skip
// the subtree of the art it was given.
template <typename F> void Walk(ArtNode* art, bool plugin, F&& visit) {
    if (!visit(art))
        return;
    for (ArtNode* c : art->s.children)
        Walk(c, plugin, visit);
    if (plugin && art->s.kind == kVtgArtPlugin) {
        if (art->s.plugin.edit != nullptr)
            Walk(art->s.plugin.edit, plugin, visit);
        if (art->s.plugin.result != nullptr)
            Walk(art->s.plugin.result, plugin, visit);
    }
}

} // namespace hostapp::doc
