// The art suite: the art tree of the current document.
#include <algorithm>
#include <cmath>

#include "host/api/vtg_art_suite.h"
#include "host/suites/doc_helpers.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

using doc::ArtNode;
using docsuite::Art;
using docsuite::CurrentDoc;

// The reference art of a placement: null is allowed, a dead one is not.
ErrorCode Reference(ArtHandle h, ArtNode*& out) {
    out = nullptr;
    return h == nullptr ? kNoErr : Art(h, out);
}

ErrorCode NewArt(int32_t kind, int32_t order, ArtHandle reference, ArtHandle* art) {
    if (art == nullptr)
        return kBadParameterErr;
    *art = nullptr;
    doc::Document* d = nullptr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    ArtNode* ref = nullptr;
    if (ErrorCode e = Reference(reference, ref))
        return e;
    if (ref != nullptr && ref->document != d)
        return kCannotPlaceErr;
    ArtNode* made = nullptr;
    if (ErrorCode e = doc::CreateArt(*d, kind, order, ref, made))
        return e;
    *art = doc::DocStore::handle(made);
    return kNoErr;
}

ErrorCode DuplicateArt(ArtHandle art, int32_t order, ArtHandle reference, ArtHandle* copy) {
    if (copy == nullptr)
        return kBadParameterErr;
    *copy = nullptr;
    ArtNode *a = nullptr, *ref = nullptr;
    if (ErrorCode e = Art(art, a))
        return e;
    if (ErrorCode e = Reference(reference, ref))
        return e;
    if (ref != nullptr && ref->document != a->document)
        return kCannotPlaceErr;
    ArtNode* made = nullptr;
    if (ErrorCode e = doc::DuplicateArt(a, order, ref, made))
        return e;
    *copy = doc::DocStore::handle(made);
    return kNoErr;
}

ErrorCode MoveArt(ArtHandle art, int32_t order, ArtHandle reference) {
    ArtNode *a = nullptr, *ref = nullptr;
    if (ErrorCode e = Art(art, a))
        return e;
    if (ErrorCode e = Reference(reference, ref))
        return e;
    return doc::MoveArt(a, order, ref);
}

ErrorCode DeleteArt(ArtHandle art) {
    ArtNode* a = nullptr;
    if (ErrorCode e = Art(art, a))
        return e;
    return doc::DeleteArt(a);
}

ErrorCode GetArtKind(ArtHandle art, int32_t* kind) {
    ArtNode* a = nullptr;
    if (kind == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Art(art, a))
        return e;
    *kind = a->s.kind;
    return kNoErr;
}

ErrorCode GetArtParent(ArtHandle art, ArtHandle* parent) {
    ArtNode* a = nullptr;
    if (parent == nullptr)
        return kBadParameterErr;
    *parent = nullptr;
    if (ErrorCode e = Art(art, a))
        return e;
    if (a->s.parent != nullptr)
        *parent = doc::DocStore::handle(a->s.parent);
    return kNoErr;
}

ErrorCode GetArtFirstChild(ArtHandle art, ArtHandle* child) {
    ArtNode* a = nullptr;
    if (child == nullptr)
        return kBadParameterErr;
    *child = nullptr;
    if (ErrorCode e = Art(art, a))
        return e;
    if (!a->s.children.empty())
        *child = doc::DocStore::handle(a->s.children.front());
    return kNoErr;
}

// The sibling `step` places away in the container's child order.
ErrorCode Sibling(ArtHandle art, ArtHandle* sibling, int step) {
    ArtNode* a = nullptr;
    if (sibling == nullptr)
        return kBadParameterErr;
    *sibling = nullptr;
    if (ErrorCode e = Art(art, a))
        return e;
    ArtNode* p = a->s.parent;
    if (p == nullptr || p->s.kind == kVtgArtPlugin)
        return kNoErr; // layer groups and plug-in parts have no siblings
    const auto& c = p->s.children;
    const auto it = std::find(c.begin(), c.end(), a);
    if (it == c.end())
        return kNoErr;
    const auto i = (it - c.begin()) + step;
    if (i >= 0 && i < static_cast<std::ptrdiff_t>(c.size()))
        *sibling = doc::DocStore::handle(c[static_cast<size_t>(i)]);
    return kNoErr;
}

ErrorCode GetArtNextSibling(ArtHandle art, ArtHandle* sibling) {
    return Sibling(art, sibling, 1);
}
ErrorCode GetArtPriorSibling(ArtHandle art, ArtHandle* sibling) {
    return Sibling(art, sibling, -1);
}

ErrorCode GetArtLayer(ArtHandle art, LayerHandle* layer) {
    ArtNode* a = nullptr;
    if (layer == nullptr)
        return kBadParameterErr;
    *layer = nullptr;
    if (ErrorCode e = Art(art, a))
        return e;
    doc::LayerNode* l = doc::LayerOf(a);
    if (l == nullptr)
        return kDeadHandleErr; // art that is no longer in the tree
    *layer = doc::DocStore::handle(l);
    return kNoErr;
}

ErrorCode IsLayerGroup(ArtHandle art, int32_t* is) {
    ArtNode* a = nullptr;
    if (is == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Art(art, a))
        return e;
    *is = a->layer != nullptr ? 1 : 0;
    return kNoErr;
}

ErrorCode IsValidArt(ArtHandle art, int32_t* valid) {
    if (valid == nullptr)
        return kBadParameterErr;
    ArtNode* a = nullptr;
    *valid = Art(art, a) == kNoErr ? 1 : 0;
    return kNoErr;
}

ErrorCode GetArtAttributes(ArtHandle art, int32_t mask, int32_t* attributes) {
    ArtNode* a = nullptr;
    if (attributes == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Art(art, a))
        return e;
    *attributes = doc::Attributes(a) & mask;
    return kNoErr;
}

ErrorCode SetArtAttributes(ArtHandle art, int32_t mask, int32_t value) {
    ArtNode* a = nullptr;
    if (ErrorCode e = Art(art, a))
        return e;
    doc::SetAttributes(a, mask, value != 0);
    if ((mask & kVtgArtClipping) != 0) {
        doc::Touch(a);
        a->s.style.clip = value != 0 ? 1 : 0;
    }
    return kNoErr;
}

ErrorCode GetArtName(ArtHandle art, char* buffer, size_t size) {
    ArtNode* a = nullptr;
    if (buffer == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Art(art, a))
        return e;
    return CopyOut(a->s.name, buffer, size);
}

ErrorCode SetArtName(ArtHandle art, const char* name) {
    ArtNode* a = nullptr;
    if (name == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Art(art, a))
        return e;
    doc::Touch(a);
    a->s.name = name;
    return kNoErr;
}

ErrorCode GetArtBounds(ArtHandle art, const VtgMatrix* matrix, int32_t options, VtgRect* bounds) {
    ArtNode* a = nullptr;
    if (bounds == nullptr || options < kVtgBoundsVisible || options > kVtgBoundsControlPoints)
        return kBadParameterErr;
    if (ErrorCode e = Art(art, a))
        return e;
    doc::Bounds(a, matrix != nullptr ? *matrix : doc::kIdentity, options, *bounds);
    return kNoErr;
}

ErrorCode TransformArt(ArtHandle art, const VtgMatrix* matrix, double lineScale, int32_t options) {
    ArtNode* a = nullptr;
    if (matrix == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Art(art, a))
        return e;
    doc::TransformArt(a, *matrix, lineScale, options);
    return kNoErr;
}

ErrorCode GetArtOpacity(ArtHandle art, double* opacity) {
    ArtNode* a = nullptr;
    if (opacity == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Art(art, a))
        return e;
    *opacity = a->s.opacity;
    return kNoErr;
}

ErrorCode SetArtOpacity(ArtHandle art, double opacity) {
    ArtNode* a = nullptr;
    if (ErrorCode e = Art(art, a))
        return e;
    doc::Touch(a);
    a->s.opacity = std::isnan(opacity) ? 1.0 : std::clamp(opacity, 0.0, 1.0);
    return kNoErr;
}

const ArtSuite kArt = {
    &NewArt,       &DuplicateArt,     &MoveArt,           &DeleteArt,          &GetArtKind,
    &GetArtParent, &GetArtFirstChild, &GetArtNextSibling, &GetArtPriorSibling, &GetArtLayer,
    &IsLayerGroup, &IsValidArt,       &GetArtAttributes,  &SetArtAttributes,   &GetArtName,
    &SetArtName,   &GetArtBounds,     &TransformArt,      &GetArtOpacity,      &SetArtOpacity,
};

} // namespace

void PublishArtSuite(SuiteBroker& broker) {
    broker.publish(kArtSuiteName, kArtSuiteVersion, &kArt);
}

} // namespace hostapp
