// The document model through the host's suites: handles after delete,
// placement, selection list, bounds, transforms, undo and revert, entries.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_dictionary_suite.h"
#include "host/api/vtg_document_suite.h"
#include "host/api/vtg_memory_suite.h"
#include "host/api/vtg_path_suite.h"
#include "host/api/vtg_undo_suite.h"
#include "host/doc/document.hpp"
#include "host/host.hpp"

namespace {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = std::make_unique<hostapp::Host>();
        Get(kArtSuiteName, kArtSuiteVersion, art);
        Get(kPathSuiteName, kPathSuiteVersion, path);
        Get(kDocumentSuiteName, kDocumentSuiteVersion, docs);
        Get(kDictionarySuiteName, kDictionarySuiteVersion, dict);
        Get(kUndoSuiteName, kUndoSuiteVersion, undo);
        Get(kMemorySuiteName, kMemorySuiteVersion, mem);
    }
    template <typename T> void Get(const char* name, int32_t version, const T*& out) {
        const void* s = nullptr;
        ASSERT_EQ(host_->broker().acquire(name, version, &s), kNoErr) << name;
        out = static_cast<const T*>(s);
    }
    hostapp::doc::Document& NewDoc() { return *host_->docs().newDocument(612, 792); }
    ArtHandle Make(int32_t kind, int32_t order = kVtgPlaceInsideOnBottom, ArtHandle ref = nullptr) {
        ArtHandle a = nullptr;
        EXPECT_EQ(art->NewArt(kind, order, ref, &a), kNoErr);
        return a;
    }
    ArtHandle Square(double x, double y, double s, ArtHandle group = nullptr) {
        ArtHandle p = Make(kVtgArtPath, kVtgPlaceInsideOnBottom, group);
        const PathSegment g[4] = {{{x, y}, {x, y}, {x, y}, 1},
                                  {{x + s, y}, {x + s, y}, {x + s, y}, 1},
                                  {{x + s, y + s}, {x + s, y + s}, {x + s, y + s}, 1},
                                  {{x, y + s}, {x, y + s}, {x, y + s}, 1}};
        EXPECT_EQ(path->SetPathSegments(p, 0, 4, g), kNoErr);
        EXPECT_EQ(path->SetPathClosed(p, 1), kNoErr);
        return p;
    }
    std::vector<ArtHandle> Selection() {
        ArtHandle* list = nullptr;
        int32_t n = 0;
        EXPECT_EQ(docs->GetSelectedArt(&list, &n), kNoErr);
        std::vector<ArtHandle> out(list, list + n);
        EXPECT_EQ(mem->FreeBlock(list), kNoErr);
        return out;
    }

    std::unique_ptr<hostapp::Host> host_;
    const ArtSuite* art = nullptr;
    const PathSuite* path = nullptr;
    const DocumentSuite* docs = nullptr;
    const DictionarySuite* dict = nullptr;
    const UndoSuite* undo = nullptr;
    const MemorySuite* mem = nullptr;
};

TEST_F(DocumentTest, NoDocumentGivesDocQuestion) {
    DocumentHandle d = nullptr;
    EXPECT_EQ(docs->GetDocument(&d), kNoDocumentErr);
    ArtHandle a = nullptr;
    EXPECT_EQ(art->NewArt(kVtgArtPath, kVtgPlaceAboveAll, nullptr, &a), kNoDocumentErr);
    EXPECT_EQ(a, nullptr);
}

TEST_F(DocumentTest, DeletedAndForeignHandlesGiveDeadHandle) {
    NewDoc();
    ArtHandle g = Make(kVtgArtGroup);
    ArtHandle p = Square(0, 0, 10, g);
    DictionaryHandle dh = nullptr;
    ASSERT_EQ(dict->GetArtDictionary(p, &dh), kNoErr);
    ASSERT_EQ(art->DeleteArt(g), kNoErr);
    int32_t kind = 0, valid = 1;
    int16_t count = 0;
    ArtHandle out = nullptr;
    EXPECT_EQ(art->GetArtKind(g, &kind), kDeadHandleErr);
    EXPECT_EQ(art->GetArtKind(p, &kind), kDeadHandleErr); // the subtree died too
    EXPECT_EQ(path->GetPathSegmentCount(p, &count), kDeadHandleErr);
    EXPECT_EQ(art->DuplicateArt(p, kVtgPlaceAboveAll, nullptr, &out), kDeadHandleErr);
    EXPECT_EQ(art->MoveArt(p, kVtgPlaceAboveAll, nullptr), kDeadHandleErr);
    EXPECT_EQ(art->DeleteArt(p), kDeadHandleErr);
    EXPECT_EQ(dict->SetInteger(dh, "k", 1), kDeadHandleErr);
    EXPECT_EQ(art->IsValidArt(p, &valid), kNoErr);
    EXPECT_EQ(valid, 0);
    // Made-up handles are refused without being followed.
    for (uintptr_t bogus : {uintptr_t{0x7FFFFFF0}, ~uintptr_t{0}, uintptr_t{123456}})
        EXPECT_EQ(art->GetArtKind(reinterpret_cast<ArtHandle>(bogus), &kind), kDeadHandleErr);
    EXPECT_EQ(art->GetArtKind(nullptr, &kind), kBadParameterErr);
    // Closing the document kills every handle of it.
    ArtHandle q = Square(0, 0, 5);
    host_->docs().close(host_->docs().current());
    EXPECT_EQ(art->GetArtKind(q, &kind), kDeadHandleErr);
}

TEST_F(DocumentTest, PaintOrdersPlaceArt) {
    NewDoc();
    ArtHandle g = Make(kVtgArtGroup);
    ArtHandle a = Make(kVtgArtPath, kVtgPlaceInsideOnTop, g);
    ArtHandle b = Make(kVtgArtPath, kVtgPlaceAbove, a);          // in front of a
    ArtHandle c = Make(kVtgArtPath, kVtgPlaceBelow, a);          // behind a
    ArtHandle d = Make(kVtgArtPath, kVtgPlaceInsideOnBottom, g); // back-most
    ArtHandle e = Make(kVtgArtPath, kVtgPlaceInsideOnTop, g);    // front-most
    std::vector<ArtHandle> order;
    ArtHandle x = nullptr;
    ASSERT_EQ(art->GetArtFirstChild(g, &x), kNoErr);
    while (x != nullptr) {
        order.push_back(x);
        ASSERT_EQ(art->GetArtNextSibling(x, &x), kNoErr);
    }
    EXPECT_EQ(order, (std::vector<ArtHandle>{e, b, a, c, d}));
    ArtHandle top = Make(kVtgArtGroup, kVtgPlaceAboveAll, d); // first of the layer
    LayerHandle layer = nullptr;
    ArtHandle first = nullptr;
    ASSERT_EQ(art->GetArtLayer(d, &layer), kNoErr);
    ASSERT_EQ(docs->GetFirstArtOfLayer(layer, &first), kNoErr);
    EXPECT_EQ(first, top);
    // Moving into itself or placing inside a path is refused and changes nothing.
    EXPECT_EQ(art->MoveArt(g, kVtgPlaceInsideOnTop, a), kCannotPlaceErr);
    EXPECT_EQ(art->MoveArt(g, kVtgPlaceInsideOnTop, g), kCannotPlaceErr);
    ArtHandle layerGroup = nullptr;
    ASSERT_EQ(docs->GetLayerGroup(layer, &layerGroup), kNoErr);
    EXPECT_EQ(art->DeleteArt(layerGroup), kCannotPlaceErr);
    EXPECT_EQ(art->NewArt(kVtgArtPath, kVtgPlaceAbove, layerGroup, &x), kCannotPlaceErr);
    EXPECT_EQ(art->NewArt(99, kVtgPlaceAboveAll, nullptr, &x), kBadParameterErr);
    ArtHandle compound = Make(kVtgArtCompoundPath);
    EXPECT_EQ(art->MoveArt(g, kVtgPlaceInsideOnTop, compound), kCannotPlaceErr); // paths only
    ASSERT_EQ(art->GetArtParent(g, &x), kNoErr);
    EXPECT_EQ(x, layerGroup);
    EXPECT_EQ(art->MoveArt(a, kVtgPlaceInsideOnTop, compound), kNoErr);
    ArtHandle parent = nullptr;
    ASSERT_EQ(art->MoveArt(d, kVtgPlaceInsideOnTop, nullptr), kNoErr);
    ASSERT_EQ(art->GetArtParent(d, &parent), kNoErr);
    EXPECT_EQ(parent, layerGroup);
}

TEST_F(DocumentTest, DuplicateIsDeepWithDataAndUnselected) {
    NewDoc();
    ArtHandle g = Make(kVtgArtGroup);
    ArtHandle p = Square(1, 2, 3, g);
    DictionaryHandle dh = nullptr;
    ASSERT_EQ(dict->GetArtDictionary(p, &dh), kNoErr);
    ASSERT_EQ(dict->SetReal(dh, "r", 0.25), kNoErr);
    ASSERT_EQ(dict->SetArtTag(p, "t", "v"), kNoErr);
    ASSERT_EQ(art->SetArtAttributes(g, kVtgArtSelected, 1), kNoErr);
    ArtHandle copy = nullptr;
    ASSERT_EQ(art->DuplicateArt(g, kVtgPlaceAbove, g, &copy), kNoErr);
    ArtHandle cp = nullptr;
    ASSERT_EQ(art->GetArtFirstChild(copy, &cp), kNoErr);
    ASSERT_NE(cp, p);
    int16_t n = 0;
    ASSERT_EQ(path->GetPathSegmentCount(cp, &n), kNoErr);
    EXPECT_EQ(n, 4);
    DictionaryHandle ch = nullptr;
    double r = 0;
    char tag[8];
    ASSERT_EQ(dict->GetArtDictionary(cp, &ch), kNoErr);
    EXPECT_EQ(dict->GetReal(ch, "r", &r), kNoErr);
    EXPECT_EQ(r, 0.25);
    EXPECT_EQ(dict->GetArtTag(cp, "t", tag, sizeof tag), kNoErr);
    EXPECT_STREQ(tag, "v");
    int32_t sel = 1;
    ASSERT_EQ(art->GetArtAttributes(cp, kVtgArtSelected, &sel), kNoErr);
    EXPECT_EQ(sel, 0);
    // Changing the copy leaves the source alone.
    ASSERT_EQ(dict->SetReal(ch, "r", 9), kNoErr);
    ASSERT_EQ(dict->GetReal(dh, "r", &r), kNoErr);
    EXPECT_EQ(r, 0.25);
}

TEST_F(DocumentTest, SelectionListHasTheContainerFirstAndDescendantsAfterTheirGroup) {
    NewDoc();
    ArtHandle outer = Make(kVtgArtGroup);
    ArtHandle g = Make(kVtgArtGroup, kVtgPlaceInsideOnBottom, outer);
    ArtHandle a = Square(0, 0, 1, g);
    ArtHandle b = Square(2, 0, 1, g);
    ArtHandle c = Square(4, 0, 1, outer);
    ArtHandle lone = Square(9, 9, 1);
    EXPECT_TRUE(Selection().empty());
    ASSERT_EQ(art->SetArtAttributes(g, kVtgArtSelected, 1), kNoErr);
    ASSERT_EQ(art->SetArtAttributes(c, kVtgArtSelected, 1), kNoErr);
    EXPECT_EQ(Selection(), (std::vector<ArtHandle>{outer, g, a, b, c}));
    int32_t full = 0;
    ASSERT_EQ(art->GetArtAttributes(g, kVtgArtFullySelected, &full), kNoErr);
    EXPECT_EQ(full, kVtgArtFullySelected);
    ASSERT_EQ(art->GetArtAttributes(outer, kVtgArtFullySelected, &full), kNoErr);
    EXPECT_EQ(full, 0);
    // Across the tree the container is the layer group.
    ASSERT_EQ(art->SetArtAttributes(lone, kVtgArtSelected, 1), kNoErr);
    LayerHandle layer = nullptr;
    ArtHandle layerGroup = nullptr;
    ASSERT_EQ(art->GetArtLayer(lone, &layer), kNoErr);
    ASSERT_EQ(docs->GetLayerGroup(layer, &layerGroup), kNoErr);
    EXPECT_EQ(Selection(), (std::vector<ArtHandle>{layerGroup, g, a, b, c, lone}));
    // Locking deselects; the matching query finds paths by attribute.
    ASSERT_EQ(art->SetArtAttributes(a, kVtgArtLocked, 1), kNoErr);
    const VtgArtMatch m = {kVtgArtPath, kVtgArtSelected, kVtgArtSelected};
    ArtHandle* list = nullptr;
    int32_t n = 0;
    ASSERT_EQ(docs->GetMatchingArt(&m, 1, &list, &n), kNoErr);
    EXPECT_EQ(std::vector<ArtHandle>(list, list + n), (std::vector<ArtHandle>{b, c, lone}));
    EXPECT_EQ(host_->memory().usage(kVtgArtListBlockName).blocks, 1);
    mem->FreeBlock(list);
    EXPECT_EQ(host_->memory().usage(kVtgArtListBlockName).blocks, 0);
    // An allocation failure returns nothing.
    host_->memory().failName(kVtgArtListBlockName);
    list = reinterpret_cast<ArtHandle*>(1);
    EXPECT_EQ(docs->GetSelectedArt(&list, &n), kOutOfMemoryErr);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(n, 0);
}

TEST_F(DocumentTest, BoundsAndTransforms) {
    NewDoc();
    ArtHandle p = Make(kVtgArtPath);
    // One curved piece whose control points reach past the curve.
    const PathSegment g[2] = {{{0, 0}, {0, 0}, {0, 10}, 1}, {{10, 0}, {10, 10}, {10, 0}, 1}};
    ASSERT_EQ(path->SetPathSegments(p, 0, 2, g), kNoErr);
    VtgPathStyle st{};
    ASSERT_EQ(path->GetPathStyle(p, &st), kNoErr);
    st.stroke.on = 1;
    st.stroke.width = 2;
    ASSERT_EQ(path->SetPathStyle(p, &st), kNoErr);
    struct Case {
        int32_t option;
        VtgRect expected;
    };
    const Case cases[] = {{kVtgBoundsControlPoints, {0, 10, 10, 0}},
                          {kVtgBoundsGeometry, {0, 7.5, 10, 0}},
                          {kVtgBoundsVisible, {-1, 11, 11, -1}}};
    for (const Case& c : cases) {
        VtgRect r{};
        ASSERT_EQ(art->GetArtBounds(p, nullptr, c.option, &r), kNoErr);
        EXPECT_NEAR(r.left, c.expected.left, 1e-9) << c.option;
        EXPECT_NEAR(r.top, c.expected.top, 1e-9) << c.option;
        EXPECT_NEAR(r.right, c.expected.right, 1e-9) << c.option;
        EXPECT_NEAR(r.bottom, c.expected.bottom, 1e-9) << c.option;
    }
    const VtgMatrix twice = {2, 0, 0, 2, 5, 0};
    VtgRect r{};
    ASSERT_EQ(art->GetArtBounds(p, &twice, kVtgBoundsControlPoints, &r), kNoErr);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.right, 25);
    // 0x40F keeps stroke widths; the line-width bit scales them.
    ASSERT_EQ(art->TransformArt(p, &twice, 3, kVtgTransformAll), kNoErr);
    ASSERT_EQ(path->GetPathStyle(p, &st), kNoErr);
    EXPECT_EQ(st.stroke.width, 2);
    PathSegment back[2];
    ASSERT_EQ(path->GetPathSegments(p, 0, 2, back), kNoErr);
    EXPECT_EQ(back[1].anchor.x, 25);
    EXPECT_EQ(back[0].out.y, 20);
    ASSERT_EQ(art->TransformArt(p, &twice, 3, kVtgTransformAll | kVtgTransformLineWidths), kNoErr);
    ASSERT_EQ(path->GetPathStyle(p, &st), kNoErr);
    EXPECT_EQ(st.stroke.width, 6);
    EXPECT_EQ(art->GetArtBounds(p, nullptr, 7, &r), kBadParameterErr);
}

TEST_F(DocumentTest, SegmentsGrowWhenWrittenPastTheEndAndCountTruncates) {
    NewDoc();
    ArtHandle p = Make(kVtgArtPath);
    std::vector<PathSegment> g(5, PathSegment{{1, 1}, {1, 1}, {1, 1}, 7});
    ASSERT_EQ(path->SetPathSegments(p, 0, 5, g.data()), kNoErr);
    PathSegment one{};
    ASSERT_EQ(path->GetPathSegments(p, 4, 1, &one), kNoErr);
    EXPECT_EQ(one.corner, 1); // stored as 0 or 1
    ASSERT_EQ(path->SetPathSegmentCount(p, 2), kNoErr);
    int16_t n = 0;
    ASSERT_EQ(path->GetPathSegmentCount(p, &n), kNoErr);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(path->GetPathSegments(p, 1, 2, g.data()), kBadParameterErr);
    EXPECT_EQ(path->SetPathSegments(p, 3, 1, g.data()), kBadParameterErr); // a gap
    EXPECT_EQ(path->SetPathSegments(p, 32767, 1, g.data()), kBadParameterErr);
    EXPECT_EQ(path->SetPathSegmentCount(p, -1), kBadParameterErr);
    ArtHandle grp = Make(kVtgArtGroup);
    EXPECT_EQ(path->GetPathSegmentCount(grp, &n), kWrongArtKindErr);
}

TEST_F(DocumentTest, RevertRestoresChangedCreatedAndDeletedArtWithTheSameHandles) {
    hostapp::doc::Document& d = NewDoc();
    ArtHandle kept = Square(0, 0, 10);
    ArtHandle doomed = Square(20, 0, 10);
    hostapp::doc::Commit(d);
    // One drag step: move a point, delete a path, make a new one.
    PathSegment s{{5, 5}, {5, 5}, {5, 5}, 1};
    ASSERT_EQ(path->SetPathSegments(kept, 0, 1, &s), kNoErr);
    ASSERT_EQ(art->DeleteArt(doomed), kNoErr);
    ArtHandle made = Square(40, 0, 10);
    ASSERT_EQ(undo->RevertPending(), kNoErr);
    PathSegment first{};
    ASSERT_EQ(path->GetPathSegments(kept, 0, 1, &first), kNoErr);
    EXPECT_EQ(first.anchor.x, 0);
    int32_t kind = 0;
    EXPECT_EQ(art->GetArtKind(doomed, &kind), kNoErr); // alive again, same handle
    EXPECT_EQ(art->GetArtKind(made, &kind), kDeadHandleErr);
    ArtHandle next = nullptr;
    ASSERT_EQ(art->GetArtNextSibling(kept, &next), kNoErr);
    EXPECT_EQ(next, doomed);
    // Reverting again after new changes works from the same start.
    ASSERT_EQ(art->SetArtOpacity(kept, 0.5), kNoErr);
    ASSERT_EQ(undo->RevertPending(), kNoErr);
    double o = 0;
    ASSERT_EQ(art->GetArtOpacity(kept, &o), kNoErr);
    EXPECT_EQ(o, 1);
}

TEST_F(DocumentTest, UndoRemovesOneOperationAndSilentStepsFoldIntoThePreviousOne) {
    hostapp::doc::Document& d = NewDoc();
    ArtHandle p = Square(0, 0, 10);
    hostapp::doc::Commit(d);
    ASSERT_EQ(undo->SetUndoText("Move", "Redo Move"), kNoErr);
    ASSERT_EQ(art->SetArtOpacity(p, 0.5), kNoErr);
    hostapp::doc::Commit(d);
    ASSERT_EQ(undo->SetUndoKind(kVtgUndoSilent), kNoErr);
    ASSERT_EQ(art->SetArtName(p, "renamed"), kNoErr);
    hostapp::doc::Commit(d);
    ASSERT_EQ(d.undoStack.size(), 2u);
    EXPECT_EQ(d.undoStack.back().undoText, "Move");
    ASSERT_TRUE(hostapp::doc::Undo(d));
    double o = 0;
    char name[16];
    ASSERT_EQ(art->GetArtOpacity(p, &o), kNoErr);
    ASSERT_EQ(art->GetArtName(p, name, sizeof name), kNoErr);
    EXPECT_EQ(o, 1);
    EXPECT_STREQ(name, "");
    ASSERT_TRUE(hostapp::doc::Redo(d));
    ASSERT_EQ(art->GetArtOpacity(p, &o), kNoErr);
    EXPECT_EQ(o, 0.5);
    EXPECT_EQ(undo->SetUndoKind(5), kBadParameterErr);
}

TEST_F(DocumentTest, EntriesAndTags) {
    NewDoc();
    ArtHandle p = Square(0, 0, 1);
    DictionaryHandle dh = nullptr;
    ASSERT_EQ(dict->GetArtDictionary(p, &dh), kNoErr);
    int32_t i = 0, type = -1;
    double r = 0;
    char buf[6];
    EXPECT_EQ(dict->GetInteger(dh, "missing", &i), kNotFoundErr);
    ASSERT_EQ(dict->SetInteger(dh, "n", 42), kNoErr);
    ASSERT_EQ(dict->SetBoolean(dh, "b", 7), kNoErr);
    ASSERT_EQ(dict->SetString(dh, "s", "日本語"), kNoErr);
    EXPECT_EQ(dict->GetReal(dh, "n", &r), kWrongEntryTypeErr);
    ASSERT_EQ(dict->GetBoolean(dh, "b", &i), kNoErr);
    EXPECT_EQ(i, 1);
    ASSERT_EQ(dict->GetEntryType(dh, "s", &type), kNoErr);
    EXPECT_EQ(type, kVtgEntryString);
    // A cut text never splits a character.
    EXPECT_EQ(dict->GetString(dh, "s", buf, sizeof buf), kBufferTooSmallErr);
    EXPECT_STREQ(buf, "日");
    char tag[8] = "x";
    EXPECT_EQ(dict->GetArtTag(p, "none", tag, sizeof tag), kTagNotFoundErr);
    EXPECT_STREQ(tag, "");
    EXPECT_EQ(dict->DeleteEntry(dh, "n"), kNoErr);
    EXPECT_EQ(dict->DeleteEntry(dh, "n"), kNotFoundErr);
    DictionaryHandle loose = nullptr;
    ASSERT_EQ(dict->NewDictionary(&loose), kNoErr);
    ASSERT_EQ(dict->CopyDictionary(dh, loose), kNoErr);
    int32_t count = 0;
    ASSERT_EQ(dict->CountEntries(loose, &count), kNoErr);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(dict->DisposeDictionary(dh), kBadParameterErr);
    ASSERT_EQ(dict->DisposeDictionary(loose), kNoErr);
    EXPECT_EQ(dict->CountEntries(loose, &count), kDeadHandleErr);
}

TEST_F(DocumentTest, ViewConversionIsInWholePixelsWithYDown) {
    NewDoc();
    ViewHandle v = nullptr;
    ASSERT_EQ(docs->GetFrontView(&v), kNoErr);
    struct Case {
        VtgPoint p;
        VtgViewPoint expected;
    };
    const Case cases[] = {{{0, 792}, {0, 0}},
                          {{10.4, 782.6}, {10, 9}},
                          {{100.5, 0}, {101, 792}},
                          {{-3.6, 800}, {-4, -8}},
                          {{1e300, -1e300}, {INT32_MAX, INT32_MAX}}};
    for (const Case& c : cases) {
        VtgViewPoint out{};
        ASSERT_EQ(docs->DocumentToView(v, &c.p, &out), kNoErr);
        EXPECT_EQ(out.h, c.expected.h) << c.p.x;
        EXPECT_EQ(out.v, c.expected.v) << c.p.y;
    }
    int32_t shown = 1;
    ASSERT_EQ(docs->SetGuideDisplay(v, 0), kNoErr);
    ASSERT_EQ(docs->GetGuideDisplay(v, &shown), kNoErr);
    EXPECT_EQ(shown, 0);
}

TEST_F(DocumentTest, LayersInsertAboveAllAndUndo) {
    hostapp::doc::Document& d = NewDoc();
    LayerHandle first = nullptr, added = nullptr, current = nullptr;
    ASSERT_EQ(docs->GetCurrentLayer(&first), kNoErr);
    ASSERT_EQ(docs->InsertLayer(first, kVtgPlaceAboveAll, &added), kNoErr);
    ASSERT_EQ(docs->SetCurrentLayer(added), kNoErr);
    ArtHandle p = Square(0, 0, 1);
    LayerHandle of = nullptr;
    ASSERT_EQ(art->GetArtLayer(p, &of), kNoErr);
    EXPECT_EQ(of, added);
    int32_t n = 0;
    ASSERT_EQ(docs->CountLayers(&n), kNoErr);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(undo->RevertPending(), kNoErr);
    ASSERT_EQ(docs->CountLayers(&n), kNoErr);
    EXPECT_EQ(n, 1);
    ASSERT_EQ(docs->GetCurrentLayer(&current), kNoErr);
    EXPECT_EQ(current, first);
    EXPECT_EQ(docs->SetCurrentLayer(added), kDeadHandleErr);
    (void)d;
}

} // namespace
