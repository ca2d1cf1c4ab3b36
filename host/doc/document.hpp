// document.hpp - the host's document model: documents, layers, the art tree,
// dictionaries, styles, views and the undo history.
//
// Every record (art, layer, dictionary, gradient, view, document) lives in a
// registry of the DocStore that never frees a record while the host lives,
// and a handle is the record's index + 1. A handle of a deleted record
// therefore stays detectable (kDeadHandleErr) and is never reused.
//
// Undo works on whole art states: before an art changes for the first time
// in a transaction, its state is copied into the transaction. Reverting
// swaps the saved states back in; undo and redo swap them again.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_base.h"
#include "host/api/vtg_dictionary_suite.h"
#include "host/api/vtg_document_suite.h"
#include "host/api/vtg_paint_style_suite.h"
#include "host/api/vtg_path_suite.h"
#include "host/api/vtg_undo_suite.h"

namespace hostapp::doc {

class Document;
struct ArtNode;
struct LayerNode;

constexpr VtgMatrix kIdentity{1, 0, 0, 1, 0, 0};

// One dictionary entry.
struct Entry {
    int32_t type = kVtgEntryNone;
    int32_t integer = 0; // integer and boolean
    double real = 0;
    std::string text;
    bool operator==(const Entry&) const = default;
};
using Entries = std::map<std::string, Entry>;

// The plug-in art part of an art record (kind kVtgArtPlugin): the registered
// group it belongs to, its edit (source) group, its result group and its
// private data, which is read back exactly as written.
struct PluginArtPart {
    PluginGroupHandle group = nullptr;
    // The group's registered name: what a file stores. Whoever sets `group`
    // sets the name too; a file's name is resolved to a handle on first use.
    std::string groupName;
    ArtNode* edit = nullptr;
    ArtNode* result = nullptr;
    int32_t dataMajor = 0, dataMinor = 0;
    std::vector<uint8_t> data;
};

// A live effect applied to an art: the effect's registered name and its
// parameter dictionary.
struct EffectInstance {
    std::string name;
    Entries parameters;
};

// An attribute of an element kept from the file as it was.
using XmlAttr = std::pair<std::string, std::string>;

// Everything undo saves and restores of one art object.
struct ArtState {
    bool alive = false;
    int32_t kind = 0;
    ArtNode* parent = nullptr;
    std::vector<ArtNode*> children; // front-most first
    int32_t attributes = 0;         // kVtgArt... bits except kVtgArtFullySelected
    double opacity = 1;
    std::string name;

    // Paths (and the shared style of compound paths, brushed paths, envelopes).
    std::vector<PathSegment> segments;
    bool closed = false;
    VtgPathStyle style{};

    // Text, placed, raster, symbol instances, meshes: placed by a matrix,
    // with a local box; text keeps its characters.
    VtgMatrix matrix = kIdentity;
    VtgRect box{};
    std::string text;
    std::string symbolId;       // symbol instances: the definition's id
    std::vector<XmlAttr> extra; // attributes of the element this host keeps as they were
    std::string xml;            // foreign art and text content: the element as written

    Entries dictionary;
    std::map<std::string, std::string> tags;
    PluginArtPart plugin;
    std::vector<EffectInstance> effects; // in the order they apply
};

struct ArtNode {
    uint32_t index = 0; // in the registry; the handle is index + 1
    Document* document = nullptr;
    LayerNode* layer = nullptr; // set on layer groups only
    ArtState s;
    // Art with live effects: the source copy the effects last ran on, which
    // is what shows (host/effects); null until rendered. Not part of undo.
    ArtNode* effectResult = nullptr;
};

struct LayerNode {
    uint32_t index = 0;
    Document* document = nullptr;
    bool alive = true;
    std::string name;
    uint16_t color[3] = {0x4F4F, 0x8080, 0xFFFF};
    bool visible = true;
    bool locked = false;
    ArtNode* group = nullptr;
};

// A dictionary: either the one of an art (owner set, entries in its state,
// so that undo covers them) or a free-standing one.
struct DictNode {
    uint32_t index = 0;
    ArtNode* owner = nullptr;
    bool alive = true;
    Entries entries; // free-standing dictionaries only
};

// A gradient: its stops in gradient space, where a linear gradient runs
// from (0, 0) to (1, 0) and a radial one fills the unit circle about (0, 0)
// from its focus. The art's paint matrix places it in the document.
struct GradientNode {
    uint32_t index = 0;
    Document* document = nullptr;
    int32_t type = kVtgGradientLinear;
    std::string name;
    std::vector<VtgGradientStop> stops;
    VtgPoint focus{0, 0};           // radial: where offset 0 lies, in the unit circle
    int32_t spread = kVtgSpreadPad; // beyond the ends: kVtgSpread...
};

struct ViewState {
    uint32_t index = 0;
    Document* document = nullptr;
    double zoom = 1;
    VtgPoint origin{0, 0}; // the document point at the view's top-left pixel
    int32_t width = 800, height = 600;
    bool guides = true, edges = true;
    int32_t style = kVtgViewPreview;
};

// A change set: the states the touched art had before the changes (or,
// after an undo, the states to redo).
struct Transaction {
    std::map<ArtNode*, ArtState> saved;
    bool layersSaved = false;
    std::vector<LayerNode*> layers;
    LayerNode* currentLayer = nullptr;
    std::string undoText, redoText;
    int32_t kind = kVtgUndoOrdinary;
    bool empty() const { return saved.empty() && !layersSaved; }
};

class DocStore;

class Document {
public:
    uint32_t index = 0;
    DocStore* store = nullptr;
    bool open = true;
    std::string path;
    double width = 612, height = 792;
    int32_t rulerUnits = kVtgUnitPoints;
    int32_t colorModel = kVtgColorModelRGB;
    std::vector<LayerNode*> layers; // front-most first
    LayerNode* currentLayer = nullptr;
    ViewState* view = nullptr;
    std::vector<GradientNode*> gradients;
    VtgPathStyle defaultStyle{};
    VtgFillStyle currentFill{};
    VtgStrokeStyle currentStroke{};
    int redraws = 0;

    // What the file said that the model does not use, written back as it was.
    std::vector<XmlAttr> rootExtra; // attributes of the root element
    std::string defs;               // definitions (symbols, gradients, ...) as written
    double viewBoxX = 0, viewBoxY = 0;

    Transaction pending;
    std::vector<Transaction> undoStack, redoStack;
};

class DocStore {
public:
    DocStore() = default;
    DocStore(const DocStore&) = delete;
    DocStore& operator=(const DocStore&) = delete;

    // --- documents ----------------------------------------------------------
    // A new document with one empty layer "Layer 1"; it becomes current.
    Document* newDocument(double width, double height);
    // A new document without layers (readers build their own); current.
    Document* newBlankDocument(double width, double height);
    // Closes a document: every handle of it dies. The next open one (if any)
    // becomes current.
    void close(Document* document);
    Document* current() const { return current_; }
    void setCurrent(Document* document) { current_ = document; }
    std::vector<Document*> openDocuments() const;

    // --- records and handles ---------------------------------------------------
    ArtNode* newArt(Document& document, int32_t kind);
    LayerNode* newLayer(Document& document, const std::string& name);
    DictNode* dictionaryOf(ArtNode* art);
    DictNode* newDictionary();
    GradientNode* newGradient(Document& document);

    static ArtHandle handle(const ArtNode* n) { return Encode<ArtHandle>(n->index); }
    static LayerHandle handle(const LayerNode* n) { return Encode<LayerHandle>(n->index); }
    static DictionaryHandle handle(const DictNode* n) { return Encode<DictionaryHandle>(n->index); }
    static GradientHandle handle(const GradientNode* n) { return Encode<GradientHandle>(n->index); }
    static ViewHandle handle(const ViewState* n) { return Encode<ViewHandle>(n->index); }
    static DocumentHandle handle(const Document* n) { return Encode<DocumentHandle>(n->index); }

    // Lookups: kBadParameterErr for null, kDeadHandleErr for a deleted or
    // unknown record (an art of a closed document is dead).
    ErrorCode art(ArtHandle h, ArtNode*& out) const;
    ErrorCode layer(LayerHandle h, LayerNode*& out) const;
    ErrorCode dictionary(DictionaryHandle h, DictNode*& out) const;
    ErrorCode gradient(GradientHandle h, GradientNode*& out) const;
    ErrorCode view(ViewHandle h, ViewState*& out) const;

    size_t artRecords() const { return arts_.size(); }

private:
    template <typename H> static H Encode(uint32_t index) {
        return reinterpret_cast<H>(static_cast<uintptr_t>(index) + 1);
    }
    template <typename T>
    static T* Decode(const std::vector<std::unique_ptr<T>>& v, const void* h) {
        const auto i = reinterpret_cast<uintptr_t>(h);
        if (i == 0 || i > v.size())
            return nullptr;
        return v[i - 1].get();
    }

    std::vector<std::unique_ptr<Document>> documents_;
    std::vector<std::unique_ptr<ArtNode>> arts_;
    std::vector<std::unique_ptr<LayerNode>> layers_;
    std::vector<std::unique_ptr<DictNode>> dictionaries_;
    std::vector<std::unique_ptr<GradientNode>> gradients_;
    std::vector<std::unique_ptr<ViewState>> views_;
    Document* current_ = nullptr;
};

// --- undo --------------------------------------------------------------------
// Saves the state of `art` in its document's pending transaction before the
// first change of this transaction. Every mutation calls it first.
void Touch(ArtNode* art);
// Saves the layer list of the document before it changes.
void TouchLayers(Document& document);
// Undoes the pending changes; the transaction stays open and empty.
void RevertPending(Document& document);
// Ends the pending transaction: it becomes an undo step (a silent one is
// folded into the step before it). An empty transaction leaves no step.
void Commit(Document& document);
// Undo and redo of committed steps; false when there is none.
bool Undo(Document& document);
bool Redo(Document& document);

// The default paint of new paths: no fill, black stroke of 1 point.
VtgPathStyle DefaultPathStyle();
// The paint of new text, as a viewer draws text by default: black fill, no
// stroke. Its outlines take it.
VtgPathStyle DefaultTextStyle();

} // namespace hostapp::doc
