// SVG documents: coordinates and transforms, round trips of the fixtures and
// of the host's own data, and bad input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/doc/art.hpp"
#include "host/svg/svg.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using hostapp::svg::ReadSvgText;
using hostapp::svg::SvgError;
using hostapp::svg::WriteSvgText;

std::string SourceDir() {
    const char* d = std::getenv("VTG_SOURCE_DIR");
    return d != nullptr ? d : VTG_TEST_SOURCE_DIR;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

Document* Read(DocStore& store, const std::string& text) {
    Document* d = nullptr;
    SvgError err;
    EXPECT_TRUE(ReadSvgText(store, text, "test.svg", d, err)) << err.message;
    return d;
}

// The art with this id, searched through every layer.
ArtNode* Find(Document& d, const std::string& id) {
    ArtNode* found = nullptr;
    for (auto* l : d.layers)
        hostapp::doc::Walk(l->group, true, [&](ArtNode* a) {
            if (found == nullptr && a->s.name == id)
                found = a;
            return found == nullptr;
        });
    return found;
}

std::string Svg(const std::string& body, const std::string& root = "viewBox=\"0 0 100 50\"") {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" " + root + ">" + body + "</svg>";
}

TEST(Svg, CoordinatesFlipWithTheViewBoxAndTransformsNest) {
    struct Case {
        const char* root;
        const char* body;
        VtgPoint first; // document point of the path's first anchor
    };
    const Case cases[] = {
        {"viewBox=\"0 0 100 50\"", "<path id=\"p\" d=\"M10 5\"/>", {10, 45}},
        {"viewBox=\"-20 10 100 50\"", "<path id=\"p\" d=\"M10 15\"/>", {30, 45}},
        {"width=\"100\" height=\"50\"", "<path id=\"p\" d=\"M0 0\"/>", {0, 50}},
        {"width=\"1in\" height=\"2in\"", "<path id=\"p\" d=\"M0 0\"/>", {0, 192}},
        {"viewBox=\"0 0 100 50\"",
         "<g transform=\"translate(10 20)\"><path id=\"p\" d=\"M1 1\"/></g>",
         {11, 29}},
        {"viewBox=\"0 0 100 50\"",
         "<g transform=\"translate(10) scale(2)\"><path id=\"p\" d=\"M1 1\"/></g>",
         {12, 48}},
        {"viewBox=\"0 0 100 50\"",
         "<g transform=\"scale(2) translate(10)\"><path id=\"p\" d=\"M1 1\"/></g>",
         {22, 48}},
        {"viewBox=\"0 0 100 50\"",
         "<g transform=\"rotate(90)\"><g transform=\"translate(5,0)\"><path id=\"p\" d=\"M0 "
         "0\"/></g></g>",
         {0, 45}},
        {"viewBox=\"0 0 100 50\"",
         "<path id=\"p\" transform=\"rotate(180 10 10)\" d=\"M0 0\"/>",
         {20, 30}},
        {"viewBox=\"0 0 100 50\"",
         "<path id=\"p\" transform=\"matrix(1 0 0 1 3 4) skewX(45)\" d=\"M0 10\"/>",
         {13, 36}},
        {"viewBox=\"0 0 100 50\"",
         "<path id=\"p\" transform=\"skewY(45)\" d=\"M10 0\"/>",
         {10, 40}},
    };
    for (const Case& c : cases) {
        DocStore store;
        Document* d = Read(store, Svg(c.body, c.root));
        ASSERT_NE(d, nullptr) << c.body;
        ArtNode* p = Find(*d, "p");
        ASSERT_NE(p, nullptr) << c.body;
        ASSERT_FALSE(p->s.segments.empty());
        EXPECT_NEAR(p->s.segments[0].anchor.x, c.first.x, 1e-9) << c.root << c.body;
        EXPECT_NEAR(p->s.segments[0].anchor.y, c.first.y, 1e-9) << c.root << c.body;
    }
}

TEST(Svg, ShapesStylesAndKinds) {
    DocStore store;
    Document* d =
        Read(store, Svg("<g fill=\"red\" stroke-width=\"3\" style=\"stroke:#00f\">"
                        "<rect id=\"r\" x=\"1\" y=\"2\" width=\"10\" height=\"5\" rx=\"2\"/>"
                        "<circle id=\"c\" cx=\"50\" cy=\"25\" r=\"10\" "
                        "style=\"fill:none;stroke-linecap:round\"/>"
                        "<path id=\"holes\" d=\"M0 0H10V10H0Z M2 2V8H8V2Z\" fill-rule=\"evenodd\" "
                        "stroke-dasharray=\"1 2 3\"/>"
                        "</g>"
                        "<text id=\"t\" x=\"1\" y=\"2\">Hi</text><image id=\"i\" width=\"4\" "
                        "height=\"4\" href=\"a.png\"/>"
                        "<use id=\"u\" href=\"#sym\"/><desc id=\"keep\">text</desc>"));
    ASSERT_NE(d, nullptr);
    ArtNode* r = Find(*d, "r");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->s.kind, kVtgArtPath);
    EXPECT_EQ(r->s.segments.size(), 8u); // four corners of two anchors each
    EXPECT_TRUE(r->s.closed);
    EXPECT_EQ(r->s.style.fill.on, 1);
    EXPECT_EQ(r->s.style.fill.color.c[0], 1);
    EXPECT_EQ(r->s.style.stroke.color.c[2], 1);
    EXPECT_EQ(r->s.style.stroke.width, 3);
    ArtNode* c = Find(*d, "c");
    EXPECT_EQ(c->s.style.fill.on, 0);
    EXPECT_EQ(c->s.style.stroke.cap, kVtgCapRound);
    EXPECT_EQ(c->s.segments.size(), 4u);
    EXPECT_EQ(c->s.segments[0].corner, 0); // smooth
    ArtNode* h = Find(*d, "holes");
    EXPECT_EQ(h->s.kind, kVtgArtCompoundPath);
    ASSERT_EQ(h->s.children.size(), 2u);
    EXPECT_EQ(h->s.style.fill.evenOdd, 1);
    EXPECT_EQ(h->s.style.stroke.dashCount, 6); // an odd list repeats
    EXPECT_EQ(Find(*d, "t")->s.kind, kVtgArtTextFrame);
    EXPECT_EQ(Find(*d, "i")->s.kind, kVtgArtPlaced);
    EXPECT_EQ(Find(*d, "u")->s.kind, kVtgArtSymbolInstance);
    EXPECT_EQ(Find(*d, "u")->s.symbolId, "sym");
    EXPECT_EQ(Find(*d, "keep")->s.kind, kVtgArtForeign);
    // Front-most first: the last element of the file is the first child.
    EXPECT_EQ(d->layers[0]->group->s.children.front()->s.name, "keep");
}

TEST(Svg, FixturesRoundTripByteForByte) {
    const std::string dir = SourceDir() + "/tests/fixtures";
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".svg")
            continue;
        ++seen;
        DocStore store;
        Document* d = nullptr;
        SvgError err;
        ASSERT_TRUE(hostapp::svg::ReadSvgFile(store, entry.path().string(), d, err)) << err.message;
        const std::string first = WriteSvgText(*d);
        Document* again = Read(store, first);
        ASSERT_NE(again, nullptr) << entry.path();
        const std::string second = WriteSvgText(*again);
        EXPECT_EQ(first, second) << entry.path();
    }
    EXPECT_GE(seen, 4);
}

// CSS properties of a style attribute that are no plain attribute names, or
// that the element or the reader uses already, stay in a style attribute;
// the root's style properties go to the art. The saved file reads back and
// saves the same again.
TEST(Svg, StyleDeclarationsSaveAsValidXml) {
    struct Case {
        std::string body, root, written;
    };
    const Case cases[] = {
        {"<path d=\"M0 0L1 1\" style=\"-x-stroke:none;fill:red\"/>", "",
         "style=\"-x-stroke: none\""},
        {"<path d=\"M0 0L1 1\" style=\"\xC3\xBF stroke: none\"/>", "",
         "style=\"\xC3\xBF stroke: none\""},
        {"<path d=\"M0 0L1 1\" style=\"d: x; --v: 1; mask: none\"/>", "",
         "mask=\"none\" style=\"d: x; --v: 1\""},
        {"<g kind=\"a\" style=\"kind: b; c: 1; c: 2\"><path d=\"M0 0L1 1\"/></g>", "",
         "kind=\"a\" c=\"1\" style=\"kind: b; c: 2\""},
        {"<path d=\"M0 0L1 1\"/>", " style=\"foo: 1\"", "style=\"foo: 1\" viewBox"},
        // The root's style goes to the art alone, which may override it.
        {"<path d=\"M0 0L1 1\" stroke=\"red\" stroke-width=\"1\" stroke-linecap=\"butt\"/>",
         " stroke-width=\"3\" style=\"stroke-linecap: round; foo: bar\"",
         "height=\"50\" style=\"foo: bar\" viewBox"},
    };
    for (const Case& c : cases) {
        DocStore store;
        Document* d = Read(store, Svg(c.body, "viewBox=\"0 0 100 50\"" + c.root));
        ASSERT_NE(d, nullptr) << c.body;
        const std::string first = WriteSvgText(*d);
        EXPECT_NE(first.find(c.written), std::string::npos) << first;
        Document* again = Read(store, first);
        ASSERT_NE(again, nullptr) << first;
        EXPECT_EQ(WriteSvgText(*again), first);
    }
}

TEST(Svg, HostDataReopensExactly) {
    DocStore store;
    Document* d = store.newDocument(300, 200);
    d->rulerUnits = kVtgUnitMillimeters;
    d->colorModel = kVtgColorModelCMYK;
    ArtNode* p = nullptr;
    ASSERT_EQ(hostapp::doc::CreateArt(*d, kVtgArtPath, kVtgPlaceAboveAll, nullptr, p), kNoErr);
    p->s.name = "p";
    p->s.segments = {{{1.25, 2.5}, {0.5, 2}, {2, 3}, 0},
                     {{10, 10}, {9, 9}, {11, 12}, 1},
                     {{20, 5}, {19, 5}, {21, 5}, 1}};
    p->s.attributes = kVtgArtLocked | kVtgArtGuide | kVtgArtHidden;
    p->s.opacity = 0.25;
    p->s.style.fill.on = 1;
    p->s.style.fill.color.kind = kVtgColorProcess;
    p->s.style.fill.color.c[0] = 0.1;
    p->s.style.fill.color.c[3] = 0.3;
    p->s.style.stroke.color.kind = kVtgColorSpot;
    p->s.style.stroke.color.tint = 0.4;
    p->s.style.stroke.color.spotKind = kVtgColorRGB;
    std::strcpy(p->s.style.stroke.color.spotName, "特色 1");
    p->s.style.stroke.width = 1.0 / 3;
    p->s.dictionary["seed"] = {kVtgEntryInteger, 12345, 0, ""};
    p->s.dictionary["ratio"] = {kVtgEntryReal, 0, 0.1 + 0.2, ""};
    p->s.dictionary["text"] = {kVtgEntryString, 0, 0, "a \"quoted\" <line>\nnext"};
    p->s.tags["randSeed"] = "42";
    p->s.effects.push_back({"VERTiGON5_Lens", {{"transform", {kVtgEntryInteger, 3, 0, ""}}}});
    ArtNode* live = nullptr;
    ASSERT_EQ(hostapp::doc::CreateArt(*d, kVtgArtPlugin, kVtgPlaceAboveAll, nullptr, live), kNoErr);
    live->s.plugin.groupName = "VERTiGON5 Circle ver5 ";
    live->s.plugin.dataMajor = 1;
    live->s.plugin.data = {'a', 0, 0xFF, '\n'};
    ArtNode* src = nullptr;
    ASSERT_EQ(
        hostapp::doc::CreateArt(*d, kVtgArtPath, kVtgPlaceInsideOnTop, live->s.plugin.edit, src),
        kNoErr);
    src->s.name = "source";
    src->s.segments = {{{0, 0}, {0, 0}, {0, 0}, 1}};
    hostapp::doc::LayerNode* top = store.newLayer(*d, "上のレイヤー");
    d->layers.insert(d->layers.begin(), top);
    top->locked = true;
    top->visible = false;
    top->color[0] = 1;

    const std::string first = WriteSvgText(*d);
    Document* back = Read(store, first);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(WriteSvgText(*back), first);
    ArtNode* q = Find(*back, "p");
    ASSERT_NE(q, nullptr);
    ASSERT_EQ(q->s.segments.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(q->s.segments[i].anchor.x, p->s.segments[i].anchor.x);
        EXPECT_EQ(q->s.segments[i].anchor.y, p->s.segments[i].anchor.y);
        EXPECT_EQ(q->s.segments[i].corner, p->s.segments[i].corner) << i;
    }
    EXPECT_EQ(q->s.segments[0].in.x, 0.5); // the open ends' handles come back
    EXPECT_EQ(q->s.segments[2].out.x, 21);
    EXPECT_EQ(q->s.attributes, p->s.attributes);
    EXPECT_EQ(q->s.opacity, 0.25);
    EXPECT_EQ(q->s.style.fill.color.kind, kVtgColorProcess);
    EXPECT_EQ(q->s.style.fill.color.c[3], 0.3);
    EXPECT_EQ(q->s.style.stroke.color.kind, kVtgColorSpot);
    EXPECT_STREQ(q->s.style.stroke.color.spotName, "特色 1");
    EXPECT_EQ(q->s.style.stroke.width, 1.0 / 3);
    EXPECT_EQ(q->s.dictionary, p->s.dictionary);
    EXPECT_EQ(q->s.tags, p->s.tags);
    ASSERT_EQ(q->s.effects.size(), 1u);
    EXPECT_EQ(q->s.effects[0].parameters, p->s.effects[0].parameters);
    ArtNode* l2 = nullptr;
    for (ArtNode* a : back->layers.back()->group->s.children)
        if (a->s.kind == kVtgArtPlugin)
            l2 = a;
    ASSERT_NE(l2, nullptr);
    EXPECT_EQ(l2->s.plugin.groupName, "VERTiGON5 Circle ver5 ");
    EXPECT_EQ(l2->s.plugin.data, live->s.plugin.data);
    EXPECT_EQ(l2->s.plugin.dataMajor, 1);
    ASSERT_EQ(l2->s.plugin.edit->s.children.size(), 1u);
    EXPECT_EQ(l2->s.plugin.edit->s.children[0]->s.name, "source");
    EXPECT_EQ(l2->s.plugin.edit->s.attributes & kVtgArtHidden, 0);
    ASSERT_EQ(back->layers.size(), 2u);
    EXPECT_EQ(back->layers[0]->name, "上のレイヤー");
    EXPECT_TRUE(back->layers[0]->locked);
    EXPECT_FALSE(back->layers[0]->visible);
    EXPECT_EQ(back->layers[0]->color[0], 1);
    EXPECT_EQ(back->rulerUnits, kVtgUnitMillimeters);
    EXPECT_EQ(back->colorModel, kVtgColorModelCMYK);
    // The edit art is written hidden, the result shows.
    EXPECT_NE(first.find("<g vtg:part=\"edit\" display=\"none\""), std::string::npos);
}

// A closed square path at the bottom of `into`.
ArtNode* Square(Document& d, ArtNode* into, const std::string& id, double x, double y, double size,
                int32_t kind = kVtgArtPath) {
    ArtNode* a = nullptr;
    EXPECT_EQ(hostapp::doc::CreateArt(d, kind, kVtgPlaceInsideOnBottom, into, a), kNoErr);
    a->s.name = id;
    a->s.style = hostapp::doc::DefaultPathStyle();
    auto corner = [](double px, double py) { return PathSegment{{px, py}, {px, py}, {px, py}, 1}; };
    if (kind == kVtgArtPath) {
        a->s.segments = {corner(x, y), corner(x + size, y), corner(x + size, y + size),
                         corner(x, y + size)};
        a->s.closed = true;
    }
    return a;
}

ArtNode* ClippingGroup(Document& d, ArtNode* into, const std::string& id) {
    ArtNode* g = nullptr;
    EXPECT_EQ(hostapp::doc::CreateArt(d, kVtgArtGroup, kVtgPlaceInsideOnBottom, into, g), kNoErr);
    g->s.name = id;
    hostapp::doc::SetAttributes(g, kVtgArtClipping, true);
    return g;
}

void MakeClipping(ArtNode* a) {
    a->s.style.clip = 1;
    a->s.style.fill.on = 0;
    a->s.style.stroke.on = 0;
    hostapp::doc::SetAttributes(a, kVtgArtClipping, true);
}

// The value of attribute `name` of the element whose id is `id`.
std::string AttributeOf(const std::string& svg, const std::string& id, const std::string& name) {
    const size_t at = svg.find("id=\"" + id + "\"");
    if (at == std::string::npos)
        return "";
    const size_t end = svg.find('>', at);
    const size_t a = svg.find(" " + name + "=\"", at);
    if (a == std::string::npos || a > end)
        return "";
    const size_t from = a + name.size() + 3;
    return svg.substr(from, svg.find('"', from) - from);
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(Svg, ClippingGroupsCarryAClipAnyViewerAppliesAndReadingDropsIt) {
    DocStore store;
    Document* d = store.newDocument(100, 100);
    // An outer clipping group (whose id is the writer's first choice) clipped
    // by an even-odd frame, holding a square and a clipping group of its own.
    ArtNode* outer = ClippingGroup(*d, nullptr, "vtg-clip-1");
    ArtNode* frame = Square(*d, outer, "frame", 0, 0, 0, kVtgArtCompoundPath);
    Square(*d, frame, "", 10, 10, 80);
    Square(*d, frame, "", 30, 30, 40);
    frame->s.style.fill.evenOdd = 1;
    MakeClipping(frame);
    Square(*d, outer, "content", 0, 0, 100)->s.style.stroke.width = 8;
    ArtNode* inner = ClippingGroup(*d, outer, "inner");
    ArtNode* small = Square(*d, inner, "small", 20, 20, 10);
    MakeClipping(small);
    Square(*d, inner, "under", 15, 15, 20);
    // A clipping group without a clipping path, and one that refers to a
    // clip of its own, get none from the writer.
    Square(*d, ClippingGroup(*d, nullptr, "bare"), "lone", 0, 0, 5);
    ArtNode* own = ClippingGroup(*d, nullptr, "own");
    own->s.extra = {{"clip-path", "url(#theirs)"}};
    MakeClipping(Square(*d, own, "ownclip", 0, 0, 5));

    const std::string first = WriteSvgText(*d);
    EXPECT_EQ(Count(first, "<clipPath"), 2u) << first;
    EXPECT_EQ(AttributeOf(first, "vtg-clip-1", "clip-path"), "url(#vtg-clip-2)");
    EXPECT_EQ(AttributeOf(first, "inner", "clip-path"), "url(#vtg-clip-3)");
    EXPECT_EQ(AttributeOf(first, "bare", "clip-path"), "");
    EXPECT_EQ(AttributeOf(first, "own", "clip-path"), "url(#theirs)");
    // Each clip holds a copy of its clipping path's geometry and fill rule.
    EXPECT_NE(first.find("<clipPath id=\"vtg-clip-2\" vtg:kind=\"clip\"><path d=\"" +
                         AttributeOf(first, "frame", "d") + "\" clip-rule=\"evenodd\"/>"),
              std::string::npos)
        << first;
    EXPECT_NE(first.find("<clipPath id=\"vtg-clip-3\" vtg:kind=\"clip\"><path d=\"" +
                         AttributeOf(first, "small", "d") + "\"/>"),
              std::string::npos)
        << first;

    // Reopened, the clips are gone again: the groups hold what they held.
    Document* back = Read(store, first);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(WriteSvgText(*back), first);
    for (const char* id : {"vtg-clip-1", "inner", "bare", "own"}) {
        ArtNode* g = Find(*back, id);
        ASSERT_NE(g, nullptr) << id;
        EXPECT_EQ(g->s.kind, kVtgArtGroup) << id;
        EXPECT_NE(g->s.attributes & kVtgArtClipping, 0) << id;
        for (const ArtNode* c : g->s.children)
            EXPECT_NE(c->s.kind, kVtgArtForeign) << id;
    }
    EXPECT_TRUE(Find(*back, "vtg-clip-1")->s.extra.empty());
    EXPECT_EQ(Find(*back, "vtg-clip-1")->s.children.size(), 3u);
    EXPECT_EQ(Find(*back, "inner")->s.children.size(), 2u);
    EXPECT_EQ(Find(*back, "own")->s.extra,
              (std::vector<hostapp::doc::XmlAttr>{{"clip-path", "url(#theirs)"}}));
    EXPECT_EQ(Find(*back, "frame")->s.style.clip, 1);

    // Text clips by its glyphs: the clip holds the text as written.
    Document* text =
        Read(store, Svg("<g id=\"tg\" vtg:clip=\"1\" xmlns:vtg=\"urn:vertigon:host\">"
                        "<text id=\"t\" x=\"5\" y=\"20\" font-size=\"12\" "
                        "vtg:clip=\"1\">Hi</text><rect width=\"9\" height=\"9\"/></g>"));
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(Find(*text, "tg")->s.children.size(), 2u);
    const std::string withText = WriteSvgText(*text);
    EXPECT_EQ(AttributeOf(withText, "tg", "clip-path"), "url(#vtg-clip-1)");
    EXPECT_NE(withText.find("<clipPath id=\"vtg-clip-1\" vtg:kind=\"clip\"><text x=\"5\" y=\"20\" "
                            "font-size=\"12\">Hi</text></clipPath>"),
              std::string::npos)
        << withText;
    Document* textBack = Read(store, withText);
    ASSERT_NE(textBack, nullptr);
    EXPECT_EQ(Find(*textBack, "tg")->s.children.size(), 2u);
    EXPECT_EQ(WriteSvgText(*textBack), withText);
}

TEST(Svg, ForeignClipPathsStayAsWritten) {
    const std::string text =
        Svg("<defs><clipPath id=\"c\"><rect width=\"50\" height=\"20\"/></clipPath></defs>"
            "<g id=\"g\" clip-path=\"url(#c)\"><rect id=\"r\" width=\"80\" height=\"40\"/></g>"
            "<g id=\"h\"><clipPath id=\"local\"><circle r=\"9\"/></clipPath>"
            "<path id=\"p\" d=\"M0 0H9V9Z\" clip-path=\"url(#local)\"/></g>");
    DocStore store;
    Document* d = Read(store, text);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(Find(*d, "g")->s.extra,
              (std::vector<hostapp::doc::XmlAttr>{{"clip-path", "url(#c)"}}));
    EXPECT_EQ(Find(*d, "p")->s.extra,
              (std::vector<hostapp::doc::XmlAttr>{{"clip-path", "url(#local)"}}));
    ASSERT_EQ(Find(*d, "h")->s.children.size(), 2u);
    EXPECT_EQ(Find(*d, "h")->s.children.back()->s.kind, kVtgArtForeign);
    const std::string first = WriteSvgText(*d);
    EXPECT_NE(first.find("<clipPath id=\"c\"><rect width=\"50\" height=\"20\"/></clipPath>"),
              std::string::npos)
        << first;
    EXPECT_NE(first.find("<clipPath id=\"local\"><circle r=\"9\"/></clipPath>"), std::string::npos);
    EXPECT_EQ(AttributeOf(first, "g", "clip-path"), "url(#c)");
    EXPECT_EQ(first.find("vtg:kind=\"clip\""), std::string::npos);
    Document* back = Read(store, first);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(WriteSvgText(*back), first);
}

TEST(Svg, BadInputGivesOneErrorWithFileAndPosition) {
    struct Case {
        const char* text;
        const char* expected; // part of the message after the file name
    };
    const Case cases[] = {
        {"this is not xml", "test.svg:1:16: not well-formed XML"},
        {"<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1 1\"><g></svg>", "test.svg:1:"},
        {"<html/>", "test.svg:1:1: the root element is <html>, not <svg>"},
        {"<svg viewBox=\"0 0 10\"/>", "bad viewBox"},
        {"<svg viewBox=\"0 0 -5 10\"/>", "page size out of range"},
        {"<svg viewBox=\"0 0 1e9 10\"/>", "page size out of range"},
        {"<svg/>", "no page size"},
        {"<svg viewBox=\"0 0 10 10\">\n  <path d=\"M0 0 L5\"/></svg>",
         "test.svg:2:3: broken path data at character 8"},
        {"<svg viewBox=\"0 0 10 10\"><path d=\"M0 0 L1e300 0\"/></svg>", "number out of range"},
        {"<svg viewBox=\"0 0 10 10\"><g transform=\"rotate(1,2)\"/></svg>", "bad transform"},
        {"<svg viewBox=\"0 0 10 10\"><g transform=\"spin(3)\"/></svg>", "unknown transform"},
        {"<svg viewBox=\"0 0 10 10\"><rect width=\"-1\" height=\"2\"/></svg>",
         "negative rectangle"},
        {"<svg viewBox=\"0 0 10 10\"><circle r=\"abc\"/></svg>", "bad number"},
        {"<svg viewBox=\"0 0 10 10\"><path fill=\"#12\" d=\"M0 0\"/></svg>", "bad colour"},
        {"<svg viewBox=\"0 0 10 10\"><path fill=\"te\nal\" d=\"M0 0\"/></svg>",
         "1:26: bad colour 'te al' in fill"}, // the message stays one line
        {"<svg viewBox=\"0 0 10 10\"><path stroke-width=\"-2\" d=\"M0 0\"/></svg>",
         "bad stroke-width"},
        {"<svg viewBox=\"0 0 10 10\"><polygon points=\"1 2 3\"/></svg>", "bad points"},
        // Numbers a saved file could not hold.
        {"<svg viewBox=\"0 0 10 10\"><path vtg:stroke-width=\"1e400\" d=\"M0 0\"/></svg>",
         "bad vtg:stroke-width '1e400'"},
        {"<svg viewBox=\"0 0 10 10\"><g transform=\"scale(1e9)\"><path d=\"M0 0L1e9 "
         "1\"/></g></svg>",
         "1:52: the transforms put the path out of range"},
        {"<svg viewBox=\"0 0 10 10\"><g transform=\"scale(1e9)\">"
         "<path stroke-width=\"1e9\" d=\"M0 0\"/></g></svg>",
         "the transforms put the stroke width or dashes out of range"},
        {"<svg viewBox=\"0 0 10 10\"><g transform=\"scale(1e9)\"><g transform=\"scale(1e9)\">"
         "<desc/></g></g></svg>",
         "1:52: the transforms put the art out of range"},
    };
    std::string deep = "<svg viewBox=\"0 0 10 10\">";
    for (int i = 0; i < 5000; ++i)
        deep += "<g>";
    for (int i = 0; i < 5000; ++i)
        deep += "</g>";
    deep += "</svg>";
    std::vector<Case> all(std::begin(cases), std::end(cases));
    all.push_back({deep.c_str(), "nested more than 256 deep"});
    for (const Case& c : all) {
        DocStore store;
        Document* keep = store.newDocument(10, 10);
        Document* d = nullptr;
        SvgError err;
        EXPECT_FALSE(ReadSvgText(store, c.text, "test.svg", d, err)) << c.text;
        EXPECT_EQ(d, nullptr);
        EXPECT_NE(err.message.find(c.expected), std::string::npos) << err.message;
        EXPECT_EQ(err.message.find('\n'), std::string::npos);
        EXPECT_EQ(store.current(), keep); // the failed read left no document behind
        EXPECT_EQ(store.openDocuments().size(), 1u);
    }
}

// A fill or stroke that names a pattern of the file, or something that is
// not a usable gradient, is kept as written while the art's paint is that
// reference; a gradient becomes the art's own paint, written as a gradient
// of the host's; paint set since is what is saved.
TEST(Svg, PaintReferencesStandOnlyWhileThePaintIsThem) {
    const std::string file =
        Svg("<defs><linearGradient id=\"g\"><stop offset=\"0\" stop-color=\"red\"/>"
            "<stop offset=\"1\" stop-color=\"blue\"/></linearGradient>"
            "<pattern id=\"p\" width=\"4\" height=\"4\"/></defs>"
            "<path id=\"a\" d=\"M0 0H9V9Z\" fill=\"url(#g)\"/>"
            "<path id=\"b\" d=\"M0 0H9V9Z\" fill=\"red\" stroke=\"url(#p)\"/>"
            "<g fill=\"url(#g)\"><path id=\"c\" d=\"M0 0H9V9Z\"/></g>"
            "<path id=\"d\" d=\"M0 0H9V9Z\" style=\"fill:url(#nowhere)\"/>");
    DocStore store;
    Document* d = Read(store, file);
    ASSERT_NE(d, nullptr);
    struct Reference {
        const char* id;
        bool fill; // which paint names the file's art
        int32_t kind;
        bool own; // read as the art's own gradient
    } references[] = {{"a", true, kVtgColorGradient, true},
                      {"b", false, kVtgColorPattern, false},
                      {"c", true, kVtgColorGradient, true},
                      {"d", true, kVtgColorPattern, false}};
    for (const Reference& r : references) {
        const VtgPathStyle& st = Find(*d, r.id)->s.style;
        const int32_t on = r.fill ? st.fill.on : st.stroke.on;
        const VtgColor& c = r.fill ? st.fill.color : st.stroke.color;
        EXPECT_EQ(on, 1) << r.id;
        EXPECT_EQ(c.kind, r.kind) << r.id;
        EXPECT_EQ(c.gradient != nullptr, r.own) << r.id;
        EXPECT_EQ(c.pattern, nullptr) << r.id;
    }
    const std::string saved = WriteSvgText(*d);
    EXPECT_EQ(AttributeOf(saved, "a", "fill"), "url(#vtg-paint-1)");
    EXPECT_EQ(AttributeOf(saved, "b", "stroke"), "url(#p)");
    EXPECT_EQ(AttributeOf(saved, "c", "fill"), "url(#vtg-paint-2)");
    EXPECT_NE(saved.find("<linearGradient id=\"vtg-paint-1\""), std::string::npos);
    EXPECT_EQ(WriteSvgText(*Read(store, saved)), saved);

    // Paint set since: what it became is saved, the reference is gone.
    VtgColor blue{};
    blue.kind = kVtgColorRGB;
    blue.c[2] = 1;
    struct Change {
        const char* id;
        const char* attribute;
        void (*change)(VtgPathStyle&, const VtgColor&);
        const char* expected;
    } changes[] = {
        {"a", "fill", [](VtgPathStyle& s, const VtgColor& c) { s.fill.color = c; }, "#0000ff"},
        {"c", "fill", [](VtgPathStyle& s, const VtgColor&) { s.fill.on = 0; }, "none"},
        {"b", "stroke", [](VtgPathStyle& s, const VtgColor& c) { s.stroke.color = c; }, "#0000ff"},
    };
    for (const Change& c : changes)
        c.change(Find(*d, c.id)->s.style, blue);
    const std::string changed = WriteSvgText(*d);
    for (const Change& c : changes) {
        EXPECT_EQ(AttributeOf(changed, c.id, c.attribute), c.expected) << c.id;
        const size_t at = changed.find("id=\"" + std::string(c.id) + "\"");
        EXPECT_EQ(changed.substr(at, changed.find('>', at) - at).find("url("), std::string::npos)
            << c.id;
    }
    // The one reference left stands.
    EXPECT_EQ(AttributeOf(changed, "d", "fill"), "url(#nowhere)");
}

TEST(Svg, AFailedWriteLeavesNoFile) {
    DocStore store;
    Document* d = store.newDocument(10, 10);
    SvgError err;
    const std::string bad = "/nonexistent-folder/out.svg";
    EXPECT_FALSE(hostapp::svg::WriteSvgFile(*d, bad, err));
    EXPECT_NE(err.message.find(bad), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(bad));
    const auto dir = std::filesystem::temp_directory_path() / "vtg_svg_write_test";
    std::filesystem::create_directories(dir);
    const std::string good = (dir / "out.svg").string();
    ASSERT_TRUE(hostapp::svg::WriteSvgFile(*d, good, err)) << err.message;
    EXPECT_EQ(Slurp(good), WriteSvgText(*d));
    EXPECT_FALSE(std::filesystem::exists(good + ".tmp~"));
    std::filesystem::remove_all(dir);
}

} // namespace
