// The document suite: selection, units, colour model, layers, redraw, views.
#include <algorithm>
#include <cmath>

#include "host/api/vtg_document_suite.h"
#include "host/suites/doc_helpers.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

using doc::Document;
using doc::LayerNode;
using doc::ViewState;
using docsuite::CurrentDoc;

ErrorCode GetDocument(DocumentHandle* document) {
    Document* d = nullptr;
    if (document == nullptr)
        return kBadParameterErr;
    *document = nullptr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    *document = doc::DocStore::handle(d);
    return kNoErr;
}

ErrorCode GetPageSize(double* width, double* height) {
    Document* d = nullptr;
    if (width == nullptr || height == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    *width = d->width;
    *height = d->height;
    return kNoErr;
}

ErrorCode GetSelectedArt(ArtHandle** list, int32_t* count) {
    Document* d = nullptr;
    if (list == nullptr || count == nullptr)
        return kBadParameterErr;
    *list = nullptr;
    *count = 0;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    return docsuite::ListOut(doc::SelectionList(*d), list, count);
}

ErrorCode GetMatchingArt(const VtgArtMatch* matches, int32_t matchCount, ArtHandle** list,
                         int32_t* count) {
    Document* d = nullptr;
    if (list == nullptr || count == nullptr || matchCount < 0 ||
        (matchCount > 0 && matches == nullptr))
        return kBadParameterErr;
    *list = nullptr;
    *count = 0;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    return docsuite::ListOut(doc::MatchingArt(*d, matches, matchCount), list, count);
}

ErrorCode SelectNone() {
    Document* d = nullptr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    doc::SelectNone(*d);
    return kNoErr;
}

// A value of the current document into `out`.
template <typename T, typename Get> ErrorCode ReadCurrent(T* out, Get get) {
    Document* d = nullptr;
    if (out == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    *out = get(*d);
    return kNoErr;
}

ErrorCode GetRulerUnits(int32_t* units) {
    return ReadCurrent(units, [](const Document& d) { return d.rulerUnits; });
}

ErrorCode GetColorModel(int32_t* model) {
    return ReadCurrent(model, [](const Document& d) { return d.colorModel; });
}

ErrorCode CountLayers(int32_t* count) {
    return ReadCurrent(count,
                       [](const Document& d) { return static_cast<int32_t>(d.layers.size()); });
}

ErrorCode GetNthLayer(int32_t index, LayerHandle* layer) {
    Document* d = nullptr;
    if (layer == nullptr)
        return kBadParameterErr;
    *layer = nullptr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    if (index < 0 || static_cast<size_t>(index) >= d->layers.size())
        return kBadParameterErr;
    *layer = doc::DocStore::handle(d->layers[static_cast<size_t>(index)]);
    return kNoErr;
}

ErrorCode GetCurrentLayer(LayerHandle* layer) {
    Document* d = nullptr;
    if (layer == nullptr)
        return kBadParameterErr;
    *layer = nullptr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    if (d->currentLayer == nullptr)
        return kNotFoundErr;
    *layer = doc::DocStore::handle(d->currentLayer);
    return kNoErr;
}

// A layer of the current document.
ErrorCode Layer(LayerHandle h, LayerNode*& out) {
    Document* d = nullptr;
    out = nullptr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    if (ErrorCode e = docsuite::Store()->layer(h, out))
        return e;
    if (out->document != d) {
        out = nullptr;
        return kDeadHandleErr;
    }
    return kNoErr;
}

ErrorCode SetCurrentLayer(LayerHandle layer) {
    LayerNode* l = nullptr;
    if (ErrorCode e = Layer(layer, l))
        return e;
    doc::TouchLayers(*l->document);
    l->document->currentLayer = l;
    return kNoErr;
}

ErrorCode InsertLayer(LayerHandle reference, int32_t order, LayerHandle* layer) {
    Document* d = nullptr;
    if (layer == nullptr)
        return kBadParameterErr;
    *layer = nullptr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    size_t at = 0;
    if (order == kVtgPlaceAboveAll) {
        at = 0;
    } else if (order == kVtgPlaceAbove || order == kVtgPlaceBelow) {
        LayerNode* ref = nullptr;
        if (ErrorCode e = Layer(reference, ref))
            return e;
        at = static_cast<size_t>(std::find(d->layers.begin(), d->layers.end(), ref) -
                                 d->layers.begin());
        if (order == kVtgPlaceBelow)
            ++at;
    } else {
        return kBadParameterErr;
    }
    doc::TouchLayers(*d);
    LayerNode* l = docsuite::Store()->newLayer(*d, "Layer " + std::to_string(d->layers.size() + 1));
    d->layers.insert(d->layers.begin() + static_cast<std::ptrdiff_t>(at), l);
    *layer = doc::DocStore::handle(l);
    return kNoErr;
}

ErrorCode GetLayerGroup(LayerHandle layer, ArtHandle* group) {
    LayerNode* l = nullptr;
    if (group == nullptr)
        return kBadParameterErr;
    *group = nullptr;
    if (ErrorCode e = Layer(layer, l))
        return e;
    *group = doc::DocStore::handle(l->group);
    return kNoErr;
}

ErrorCode GetFirstArtOfLayer(LayerHandle layer, ArtHandle* art) {
    LayerNode* l = nullptr;
    if (art == nullptr)
        return kBadParameterErr;
    *art = nullptr;
    if (ErrorCode e = Layer(layer, l))
        return e;
    if (!l->group->s.children.empty())
        *art = doc::DocStore::handle(l->group->s.children.front());
    return kNoErr;
}

ErrorCode GetLayerName(LayerHandle layer, char* buffer, size_t size) {
    LayerNode* l = nullptr;
    if (buffer == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Layer(layer, l))
        return e;
    return CopyOut(l->name, buffer, size);
}

ErrorCode SetLayerName(LayerHandle layer, const char* name) {
    LayerNode* l = nullptr;
    if (name == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Layer(layer, l))
        return e;
    l->name = name;
    return kNoErr;
}

ErrorCode GetLayerColor(LayerHandle layer, uint16_t* red, uint16_t* green, uint16_t* blue) {
    LayerNode* l = nullptr;
    if (red == nullptr || green == nullptr || blue == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Layer(layer, l))
        return e;
    *red = l->color[0];
    *green = l->color[1];
    *blue = l->color[2];
    return kNoErr;
}

ErrorCode GetLayerFlags(LayerHandle layer, int32_t* visible, int32_t* locked) {
    LayerNode* l = nullptr;
    if (visible == nullptr || locked == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Layer(layer, l))
        return e;
    *visible = l->visible ? 1 : 0;
    *locked = l->locked ? 1 : 0;
    return kNoErr;
}

ErrorCode SetLayerFlags(LayerHandle layer, int32_t visible, int32_t locked) {
    LayerNode* l = nullptr;
    if (ErrorCode e = Layer(layer, l))
        return e;
    l->visible = visible != 0;
    l->locked = locked != 0;
    return kNoErr;
}

ErrorCode Redraw() {
    Document* d = nullptr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    ++d->redraws;
    return kNoErr;
}

ErrorCode GetFrontView(ViewHandle* view) {
    Document* d = nullptr;
    if (view == nullptr)
        return kBadParameterErr;
    *view = nullptr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    *view = doc::DocStore::handle(d->view);
    return kNoErr;
}

ErrorCode View(ViewHandle h, ViewState*& out) {
    if (docsuite::Store() == nullptr)
        return kNoDocumentErr;
    return docsuite::Store()->view(h, out);
}

ErrorCode GetViewBounds(ViewHandle view, VtgRect* bounds) {
    ViewState* v = nullptr;
    if (bounds == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = View(view, v))
        return e;
    *bounds = {v->origin.x, v->origin.y, v->origin.x + v->width / v->zoom,
               v->origin.y - v->height / v->zoom};
    return kNoErr;
}

// Rounds to the nearest whole pixel, saturating at the int32 range.
int32_t Pixel(double value) {
    if (!std::isfinite(value))
        return value > 0 ? INT32_MAX : INT32_MIN;
    const double r = std::floor(value + 0.5);
    return r >= 2147483647.0 ? INT32_MAX : r <= -2147483648.0 ? INT32_MIN : static_cast<int32_t>(r);
}

ErrorCode DocumentToView(ViewHandle view, const VtgPoint* point, VtgViewPoint* out) {
    ViewState* v = nullptr;
    if (point == nullptr || out == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = View(view, v))
        return e;
    out->h = Pixel((point->x - v->origin.x) * v->zoom);
    out->v = Pixel((v->origin.y - point->y) * v->zoom);
    return kNoErr;
}

ErrorCode ViewToDocument(ViewHandle view, const VtgViewPoint* point, VtgPoint* out) {
    ViewState* v = nullptr;
    if (point == nullptr || out == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = View(view, v))
        return e;
    out->x = v->origin.x + point->h / v->zoom;
    out->y = v->origin.y - point->v / v->zoom;
    return kNoErr;
}

ErrorCode GetViewZoom(ViewHandle view, double* zoom) {
    ViewState* v = nullptr;
    if (zoom == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = View(view, v))
        return e;
    *zoom = v->zoom;
    return kNoErr;
}

ErrorCode GetFlag(ViewHandle view, int32_t* out, bool ViewState::*flag) {
    ViewState* v = nullptr;
    if (out == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = View(view, v))
        return e;
    *out = (v->*flag) ? 1 : 0;
    return kNoErr;
}

ErrorCode SetFlag(ViewHandle view, int32_t value, bool ViewState::*flag) {
    ViewState* v = nullptr;
    if (ErrorCode e = View(view, v))
        return e;
    v->*flag = value != 0;
    return kNoErr;
}

ErrorCode GetGuideDisplay(ViewHandle v, int32_t* s) {
    return GetFlag(v, s, &ViewState::guides);
}
ErrorCode SetGuideDisplay(ViewHandle v, int32_t s) {
    return SetFlag(v, s, &ViewState::guides);
}
ErrorCode GetEdgeDisplay(ViewHandle v, int32_t* s) {
    return GetFlag(v, s, &ViewState::edges);
}
ErrorCode SetEdgeDisplay(ViewHandle v, int32_t s) {
    return SetFlag(v, s, &ViewState::edges);
}

ErrorCode GetViewStyle(ViewHandle view, int32_t* style) {
    ViewState* v = nullptr;
    if (style == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = View(view, v))
        return e;
    *style = v->style;
    return kNoErr;
}

ErrorCode SetViewStyle(ViewHandle view, int32_t style) {
    ViewState* v = nullptr;
    if (ErrorCode e = View(view, v))
        return e;
    v->style = style & (kVtgViewOutline | kVtgViewPreview);
    return kNoErr;
}

const DocumentSuite kDocument = {
    &GetDocument,     &GetPageSize,     &GetSelectedArt, &GetMatchingArt,     &SelectNone,
    &GetRulerUnits,   &GetColorModel,   &CountLayers,    &GetNthLayer,        &GetCurrentLayer,
    &SetCurrentLayer, &InsertLayer,     &GetLayerGroup,  &GetFirstArtOfLayer, &GetLayerName,
    &SetLayerName,    &GetLayerColor,   &GetLayerFlags,  &SetLayerFlags,      &Redraw,
    &GetFrontView,    &GetViewBounds,   &DocumentToView, &ViewToDocument,     &GetViewZoom,
    &GetGuideDisplay, &SetGuideDisplay, &GetEdgeDisplay, &SetEdgeDisplay,     &GetViewStyle,
    &SetViewStyle,
};

} // namespace

void PublishDocumentSuite(SuiteBroker& broker) {
    broker.publish(kDocumentSuiteName, kDocumentSuiteVersion, &kDocument);
}

} // namespace hostapp
