#include "host/doc/document.hpp"

#include <algorithm>

#include "host/doc/art.hpp"

namespace hostapp::doc {

VtgPathStyle DefaultPathStyle() {
    VtgPathStyle s{};
    s.fill.on = 0;
    s.fill.color.kind = kVtgColorNone;
    s.fill.color.paintMatrix = kIdentity;
    s.stroke.on = 1;
    s.stroke.color.kind = kVtgColorGray;
    s.stroke.color.c[0] = 1; // black
    s.stroke.color.paintMatrix = kIdentity;
    s.stroke.width = 1;
    s.stroke.miterLimit = 4;
    return s;
}

VtgPathStyle DefaultTextStyle() {
    VtgPathStyle s = DefaultPathStyle();
    s.fill.on = 1;
    s.fill.color.kind = kVtgColorRGB; // black
    s.stroke.on = 0;
    s.stroke.color.kind = kVtgColorNone;
    s.stroke.color.c[0] = 0;
    return s;
}

Document* DocStore::newBlankDocument(double width, double height) {
    auto d = std::make_unique<Document>();
    d->index = static_cast<uint32_t>(documents_.size());
    d->store = this;
    d->width = width;
    d->height = height;
    d->defaultStyle = DefaultPathStyle();
    d->currentFill = d->defaultStyle.fill;
    d->currentStroke = d->defaultStyle.stroke;
    auto v = std::make_unique<ViewState>();
    v->index = static_cast<uint32_t>(views_.size());
    v->document = d.get();
    v->origin = {0, height};
    d->view = v.get();
    views_.push_back(std::move(v));
    documents_.push_back(std::move(d));
    current_ = documents_.back().get();
    return current_;
}

Document* DocStore::newDocument(double width, double height) {
    Document* d = newBlankDocument(width, height);
    LayerNode* l = newLayer(*d, "Layer 1");
    d->layers.push_back(l);
    d->currentLayer = l;
    return d;
}

void DocStore::close(Document* document) {
    if (document == nullptr || !document->open)
        return;
    document->open = false;
    document->pending = {};
    document->undoStack.clear();
    document->redoStack.clear();
    if (current_ == document) {
        current_ = nullptr;
        for (auto it = documents_.rbegin(); it != documents_.rend(); ++it)
            if ((*it)->open) {
                current_ = it->get();
                break;
            }
    }
}

std::vector<Document*> DocStore::openDocuments() const {
    std::vector<Document*> out;
    for (const auto& d : documents_)
        if (d->open)
            out.push_back(d.get());
    return out;
}

ArtNode* DocStore::newArt(Document& document, int32_t kind) {
    auto n = std::make_unique<ArtNode>();
    n->index = static_cast<uint32_t>(arts_.size());
    n->document = &document;
    n->s.alive = true;
    n->s.kind = kind;
    if (kind == kVtgArtPath || kind == kVtgArtCompoundPath || kind == kVtgArtBrushedPath ||
        kind == kVtgArtEnvelope)
        n->s.style = document.defaultStyle;
    if (kind == kVtgArtPointText || kind == kVtgArtTextFrame)
        n->s.style = DefaultTextStyle();
    arts_.push_back(std::move(n));
    ArtNode* art = arts_.back().get();
    // Created art did not exist before the transaction: reverting kills it.
    ArtState before;
    document.pending.saved.emplace(art, std::move(before));
    return art;
}

LayerNode* DocStore::newLayer(Document& document, const std::string& name) {
    auto l = std::make_unique<LayerNode>();
    l->index = static_cast<uint32_t>(layers_.size());
    l->document = &document;
    l->name = name;
    l->group = newArt(document, kVtgArtGroup);
    l->group->layer = l.get();
    layers_.push_back(std::move(l));
    return layers_.back().get();
}

DictNode* DocStore::dictionaryOf(ArtNode* art) {
    for (const auto& d : dictionaries_) // an art has at most one
        if (d->owner == art)
            return d.get();
    auto d = std::make_unique<DictNode>();
    d->index = static_cast<uint32_t>(dictionaries_.size());
    d->owner = art;
    dictionaries_.push_back(std::move(d));
    return dictionaries_.back().get();
}

DictNode* DocStore::newDictionary() {
    auto d = std::make_unique<DictNode>();
    d->index = static_cast<uint32_t>(dictionaries_.size());
    dictionaries_.push_back(std::move(d));
    return dictionaries_.back().get();
}

GradientNode* DocStore::newGradient(Document& document) {
    auto g = std::make_unique<GradientNode>();
    g->index = static_cast<uint32_t>(gradients_.size());
    g->document = &document;
    gradients_.push_back(std::move(g));
    document.gradients.push_back(gradients_.back().get());
    return gradients_.back().get();
}

ErrorCode DocStore::art(ArtHandle h, ArtNode*& out) const {
    out = nullptr;
    if (h == nullptr)
        return kBadParameterErr;
    ArtNode* n = Decode(arts_, h);
    if (n == nullptr || !n->s.alive || !n->document->open)
        return kDeadHandleErr;
    out = n;
    return kNoErr;
}

ErrorCode DocStore::layer(LayerHandle h, LayerNode*& out) const {
    out = nullptr;
    if (h == nullptr)
        return kBadParameterErr;
    LayerNode* n = Decode(layers_, h);
    if (n == nullptr || !n->document->open)
        return kDeadHandleErr;
    const auto& ls = n->document->layers;
    if (std::find(ls.begin(), ls.end(), n) == ls.end())
        return kDeadHandleErr;
    out = n;
    return kNoErr;
}

ErrorCode DocStore::dictionary(DictionaryHandle h, DictNode*& out) const {
    out = nullptr;
    if (h == nullptr)
        return kBadParameterErr;
    DictNode* n = Decode(dictionaries_, h);
    if (n == nullptr || !n->alive)
        return kDeadHandleErr;
    if (n->owner != nullptr && (!n->owner->s.alive || !n->owner->document->open))
        return kDeadHandleErr;
    out = n;
    return kNoErr;
}

ErrorCode DocStore::gradient(GradientHandle h, GradientNode*& out) const {
    out = nullptr;
    if (h == nullptr)
        return kBadParameterErr;
    GradientNode* n = Decode(gradients_, h);
    if (n == nullptr || !n->document->open)
        return kDeadHandleErr;
    out = n;
    return kNoErr;
}

ErrorCode DocStore::view(ViewHandle h, ViewState*& out) const {
    out = nullptr;
    if (h == nullptr)
        return kBadParameterErr;
    ViewState* n = Decode(views_, h);
    if (n == nullptr || !n->document->open)
        return kDeadHandleErr;
    out = n;
    return kNoErr;
}

// --- undo ----------------------------------------------------------------------

void Touch(ArtNode* art) {
    Transaction& t = art->document->pending;
    if (t.saved.find(art) == t.saved.end())
        t.saved.emplace(art, art->s);
}

void TouchLayers(Document& document) {
    Transaction& t = document.pending;
    if (!t.layersSaved) {
        t.layersSaved = true;
        t.layers = document.layers;
        t.currentLayer = document.currentLayer;
    }
}

namespace {

// Swaps the saved states with the current ones: applying a transaction twice
// restores where one started.
void Swap(Document& document, Transaction& t) {
    for (auto& [art, state] : t.saved)
        std::swap(art->s, state);
    if (t.layersSaved) {
        std::swap(document.layers, t.layers);
        std::swap(document.currentLayer, t.currentLayer);
    }
}

} // namespace

void RevertPending(Document& document) {
    Transaction& t = document.pending;
    Swap(document, t);
    Transaction fresh;
    fresh.undoText = t.undoText;
    fresh.redoText = t.redoText;
    fresh.kind = t.kind;
    t = std::move(fresh);
}

void Commit(Document& document) {
    Transaction t = std::move(document.pending);
    document.pending = {};
    if (t.empty())
        return;
    document.redoStack.clear();
    if (t.kind == kVtgUndoSilent && !document.undoStack.empty()) {
        Transaction& prev = document.undoStack.back();
        // The earlier step's saved states are older: they win.
        for (auto& [art, state] : t.saved)
            prev.saved.emplace(art, std::move(state));
        if (t.layersSaved && !prev.layersSaved) {
            prev.layersSaved = true;
            prev.layers = std::move(t.layers);
            prev.currentLayer = t.currentLayer;
        }
        return;
    }
    document.undoStack.push_back(std::move(t));
}

bool Undo(Document& document) {
    Commit(document);
    if (document.undoStack.empty())
        return false;
    Transaction t = std::move(document.undoStack.back());
    document.undoStack.pop_back();
    Swap(document, t);
    document.redoStack.push_back(std::move(t));
    return true;
}

bool Redo(Document& document) {
    if (document.redoStack.empty())
        return false;
    Transaction t = std::move(document.redoStack.back());
    document.redoStack.pop_back();
    Swap(document, t);
    document.undoStack.push_back(std::move(t));
    return true;
}

} // namespace hostapp::doc
