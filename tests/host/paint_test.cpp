// The paint model: gradients read from and written to SVG as real paint,
// their placement, stops and transforms; the rest of a stroke's paint; the
// paint style suite's gradients and colour picker.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "host/api/vtg_paint_style_suite.h"
#include "host/doc/art.hpp"
#include "host/host.hpp"
#include "host/svg/svg.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using hostapp::doc::GradientNode;
using hostapp::svg::ReadSvgText;
using hostapp::svg::SvgError;
using hostapp::svg::WriteSvgText;

Document* Read(DocStore& store, const std::string& text) {
    Document* d = nullptr;
    SvgError err;
    EXPECT_TRUE(ReadSvgText(store, text, "test.svg", d, err)) << err.message;
    return d;
}

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

std::string Svg(const std::string& body) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 50\">" + body + "</svg>";
}

GradientNode* GradientOf(DocStore& store, const VtgColor& c) {
    GradientNode* g = nullptr;
    EXPECT_EQ(c.kind, kVtgColorGradient);
    EXPECT_EQ(store.gradient(c.gradient, g), kNoErr);
    return g;
}

// Where in the gradient a document point lies: the offset along a linear
// gradient, the distance from the centre of a radial one (focus at centre).
double OffsetAt(const VtgColor& c, int32_t type, VtgPoint p) {
    const VtgMatrix& m = c.paintMatrix;
    const double det = m.a * m.d - m.b * m.c;
    const double x = p.x - m.tx, y = p.y - m.ty;
    const double u = (x * m.d - y * m.c) / det, v = (y * m.a - x * m.b) / det;
    return type == kVtgGradientLinear ? u : std::hypot(u, v);
}

// Where a file's gradient lies: its ends (or centre and radius) in document
// space (y up, page 50 high), from the element's attributes, units, transform
// and the art's own transform.
TEST(Paint, GradientsOfAFileBecomePaintPlacedInTheDocument) {
    struct Case {
        const char* name;
        const char* body;
        int32_t type;
        VtgPoint at0, at1; // document points at offsets 0 and 1 (radial: centre, rim)
    } cases[] = {
        {"box units, defaults",
         "<linearGradient id=\"g\"><stop offset=\"0\" stop-color=\"red\"/>"
         "<stop offset=\"1\" stop-color=\"blue\"/></linearGradient>"
         "<rect id=\"a\" x=\"10\" y=\"10\" width=\"40\" height=\"20\" fill=\"url(#g)\"/>",
         kVtgGradientLinear,
         {10, 40},
         {50, 40}},
        {"user space, percentages of the page",
         "<linearGradient id=\"g\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" x2=\"50%\" "
         "y2=\"0\"><stop offset=\"0\"/><stop offset=\"1\" stop-color=\"blue\"/></linearGradient>"
         "<rect id=\"a\" x=\"10\" y=\"10\" width=\"40\" height=\"20\" fill=\"url(#g)\"/>",
         kVtgGradientLinear,
         {0, 50},
         {50, 50}},
        {"gradient and art transforms",
         "<linearGradient id=\"g\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" x2=\"10\" "
         "y2=\"0\" gradientTransform=\"translate(5 0)\"><stop offset=\"0\"/>"
         "<stop offset=\"1\" stop-color=\"blue\"/></linearGradient>"
         "<g transform=\"translate(20 10)\"><rect id=\"a\" width=\"40\" height=\"20\" "
         "fill=\"url(#g)\"/></g>",
         kVtgGradientLinear,
         {25, 40},
         {35, 40}},
        {"radial in box units, stops through href",
         "<linearGradient id=\"base\"><stop offset=\"0\"/><stop offset=\"1\" "
         "stop-color=\"blue\"/></linearGradient>"
         "<radialGradient id=\"g\" href=\"#base\" r=\"0.5\"/>"
         "<rect id=\"a\" x=\"0\" y=\"0\" width=\"40\" height=\"40\" fill=\"url(#g)\"/>",
         kVtgGradientRadial,
         {20, 30},
         {40, 30}},
    };
    for (const Case& c : cases) {
        DocStore store;
        Document* d = Read(store, Svg(c.body));
        ASSERT_NE(d, nullptr) << c.name;
        const VtgColor& fill = Find(*d, "a")->s.style.fill.color;
        GradientNode* g = GradientOf(store, fill);
        ASSERT_NE(g, nullptr) << c.name;
        EXPECT_EQ(g->type, c.type) << c.name;
        ASSERT_EQ(g->stops.size(), 2u) << c.name;
        EXPECT_EQ(g->stops[1].color.c[2], 1) << c.name;
        EXPECT_NEAR(OffsetAt(fill, c.type, c.at0), 0, 1e-9) << c.name;
        EXPECT_NEAR(OffsetAt(fill, c.type, c.at1), 1, 1e-9) << c.name;
        // No reference of the file is kept: the paint is the art's own.
        for (const auto& [k, v] : Find(*d, "a")->s.extra)
            EXPECT_NE(k, "fill") << c.name;
    }
}

// Open, save, open, save: the same bytes, and the paint of the reopened art
// places its gradient where the first one did.
TEST(Paint, GradientsAndStrokePaintSurviveSavingAndReopening) {
    const std::string file = Svg(
        "<defs><linearGradient id=\"lin\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"1\" "
        "spreadMethod=\"reflect\" gradientTransform=\"rotate(10)\">"
        "<stop offset=\"0\" stop-color=\"#ff0000\" stop-opacity=\"0.5\"/>"
        "<stop offset=\"40%\" style=\"stop-color:#00ff00\"/>"
        "<stop offset=\"1\" stop-color=\"#0000ff\"/></linearGradient>"
        "<radialGradient id=\"rad\" gradientUnits=\"userSpaceOnUse\" cx=\"60\" cy=\"25\" r=\"20\" "
        "fx=\"65\" fy=\"20\"><stop offset=\"0\" stop-color=\"white\"/>"
        "<stop offset=\"1\" stop-color=\"black\"/></radialGradient></defs>"
        "<path id=\"a\" d=\"M5 5H45V45H5Z\" fill=\"url(#lin)\" stroke=\"url(#rad)\" "
        "stroke-width=\"3\" opacity=\"0.75\" stroke-dasharray=\"4 2 1\" stroke-dashoffset=\"1\" "
        "stroke-linecap=\"round\" stroke-linejoin=\"bevel\" stroke-miterlimit=\"7\"/>"
        "<circle id=\"b\" cx=\"60\" cy=\"25\" r=\"20\" fill=\"url(#rad)\"/>");
    DocStore store;
    Document* d = Read(store, file);
    ASSERT_NE(d, nullptr);
    // A CMYK stop with an uneven midpoint, set since reading.
    GradientNode* lin = GradientOf(store, Find(*d, "a")->s.style.fill.color);
    ASSERT_NE(lin, nullptr);
    lin->stops[1].color = {};
    lin->stops[1].color.kind = kVtgColorProcess;
    lin->stops[1].color.c[0] = 0.2;
    lin->stops[1].color.c[3] = 0.1;
    lin->stops[1].midpoint = 0.3;
    const std::string first = WriteSvgText(*d);
    Document* again = Read(store, first);
    ASSERT_NE(again, nullptr);
    const std::string second = WriteSvgText(*again);
    EXPECT_EQ(first, second);
    EXPECT_NE(first.find("<stop offset=\"0.58\""), std::string::npos) << "the midpoint's stop";

    for (const char* id : {"a", "b"}) {
        const VtgPathStyle& s0 = Find(*d, id)->s.style;
        const VtgPathStyle& s1 = Find(*again, id)->s.style;
        for (bool fill : {true, false}) {
            const VtgColor& c0 = fill ? s0.fill.color : s0.stroke.color;
            const VtgColor& c1 = fill ? s1.fill.color : s1.stroke.color;
            if (c0.kind != kVtgColorGradient)
                continue;
            GradientNode* g0 = GradientOf(store, c0);
            GradientNode* g1 = GradientOf(store, c1);
            ASSERT_TRUE(g0 != nullptr && g1 != nullptr);
            EXPECT_EQ(g1->type, g0->type) << id;
            EXPECT_EQ(g1->spread, g0->spread) << id;
            EXPECT_NEAR(g1->focus.x, g0->focus.x, 1e-6) << id;
            EXPECT_NEAR(g1->focus.y, g0->focus.y, 1e-6) << id;
            ASSERT_EQ(g1->stops.size(), g0->stops.size()) << id;
            for (size_t i = 0; i < g0->stops.size(); ++i) {
                EXPECT_EQ(g1->stops[i].color.kind, g0->stops[i].color.kind) << id << i;
                for (int k = 0; k < 4; ++k)
                    EXPECT_EQ(g1->stops[i].color.c[k], g0->stops[i].color.c[k]) << id << i;
                EXPECT_EQ(g1->stops[i].offset, g0->stops[i].offset) << id << i;
                EXPECT_EQ(g1->stops[i].midpoint, g0->stops[i].midpoint) << id << i;
                EXPECT_EQ(g1->stops[i].opacity, g0->stops[i].opacity) << id << i;
            }
            for (VtgPoint p : {VtgPoint{5, 5}, VtgPoint{45, 45}, VtgPoint{30, 12}})
                EXPECT_NEAR(OffsetAt(c1, g1->type, p), OffsetAt(c0, g0->type, p), 1e-5) << id;
        }
    }
    const VtgPathStyle& s = Find(*again, "a")->s.style;
    EXPECT_EQ(Find(*again, "a")->s.opacity, 0.75);
    ASSERT_EQ(s.stroke.dashCount, 6); // an odd list repeats
    EXPECT_EQ(s.stroke.dash[2], 1);
    EXPECT_EQ(s.stroke.dashOffset, 1);
    EXPECT_EQ(s.stroke.cap, kVtgCapRound);
    EXPECT_EQ(s.stroke.join, kVtgJoinBevel);
    EXPECT_EQ(s.stroke.miterLimit, 7);
    EXPECT_EQ(s.stroke.width, 3);
}

// Moving the art moves its gradient when the options say so; the saved
// file shows the moved gradient.
TEST(Paint, TransformsMoveGradientsAsTheOptionsSay) {
    const std::string file =
        Svg("<linearGradient id=\"g\"><stop offset=\"0\"/><stop offset=\"1\" stop-color=\"blue\"/>"
            "</linearGradient><rect id=\"a\" x=\"0\" y=\"0\" width=\"10\" height=\"10\" "
            "fill=\"url(#g)\" stroke=\"url(#g)\"/>");
    struct Case {
        int32_t options;
        bool fillMoves, strokeMoves;
    } cases[] = {{kVtgTransformObjects, false, false},
                 {kVtgTransformAll, true, true},
                 {kVtgTransformFillGradients | kVtgTransformStrokeGradients, true, true},
                 {1026 & ~kVtgTransformObjects, true, true},
                 {kVtgTransformFillPatterns | kVtgTransformStrokePatterns, false, false}};
    for (const Case& c : cases) {
        DocStore store;
        Document* d = Read(store, file);
        ASSERT_NE(d, nullptr);
        ArtNode* a = Find(*d, "a");
        const VtgColor before = a->s.style.fill.color;
        hostapp::doc::TransformArt(a, {1, 0, 0, 1, 30, 0}, 1, c.options);
        EXPECT_EQ(a->s.style.fill.color.paintMatrix.tx,
                  before.paintMatrix.tx + (c.fillMoves ? 30 : 0))
            << c.options;
        EXPECT_EQ(a->s.style.stroke.color.paintMatrix.tx,
                  before.paintMatrix.tx + (c.strokeMoves ? 30 : 0))
            << c.options;
        const std::string saved = WriteSvgText(*d);
        Document* back = Read(store, saved);
        ASSERT_NE(back, nullptr);
        EXPECT_NEAR(Find(*back, "a")->s.style.fill.color.paintMatrix.tx,
                    a->s.style.fill.color.paintMatrix.tx, 1e-6);
    }
}

// What cannot be read as a gradient stays the file's reference; nothing
// loops or fails on a damaged gradient.
TEST(Paint, DamagedGradientsStayTheFilesReference) {
    struct Case {
        const char* name;
        const char* defs;
        bool real; // read as a gradient of the art
        size_t stops;
    } cases[] = {
        {"no stops", "<linearGradient id=\"g\"/>", false, 0},
        {"one stop paints its colour",
         "<linearGradient id=\"g\"><stop stop-color=\"red\"/>"
         "</linearGradient>",
         true, 2},
        {"href loop",
         "<linearGradient id=\"g\" href=\"#h\"/><linearGradient id=\"h\" href=\"#g\"/>", false, 0},
        {"href loop with stops",
         "<linearGradient id=\"g\" href=\"#h\"><stop/><stop offset=\"1\"/></linearGradient>"
         "<linearGradient id=\"h\" href=\"#g\"/>",
         true, 2},
        {"zero radius",
         "<radialGradient id=\"g\" r=\"0\"><stop/><stop offset=\"1\"/>"
         "</radialGradient>",
         false, 0},
        {"same ends",
         "<linearGradient id=\"g\" x2=\"0\"><stop/><stop offset=\"1\"/>"
         "</linearGradient>",
         false, 0},
        {"bad transform",
         "<linearGradient id=\"g\" gradientTransform=\"spin(3)\"><stop/>"
         "<stop offset=\"1\"/></linearGradient>",
         false, 0},
        {"offsets out of order, bad values",
         "<linearGradient id=\"g\"><stop offset=\"0.8\" stop-color=\"nonsense\"/>"
         "<stop offset=\"0.2\" stop-opacity=\"7\"/><stop offset=\"x\"/></linearGradient>",
         true, 3},
    };
    for (const Case& c : cases) {
        DocStore store;
        Document* d = Read(store, Svg(std::string("<defs>") + c.defs +
                                      "</defs><rect id=\"a\" width=\"9\" height=\"9\" "
                                      "fill=\"url(#g)\"/>"));
        ASSERT_NE(d, nullptr) << c.name;
        const VtgColor& fill = Find(*d, "a")->s.style.fill.color;
        EXPECT_EQ(fill.kind, kVtgColorGradient) << c.name;
        EXPECT_EQ(fill.gradient != nullptr, c.real) << c.name;
        const std::string saved = WriteSvgText(*d);
        EXPECT_EQ(WriteSvgText(*Read(store, saved)), saved) << c.name;
        if (!c.real) {
            EXPECT_NE(saved.find("fill=\"url(#g)\""), std::string::npos) << c.name;
            continue;
        }
        GradientNode* g = GradientOf(store, fill);
        ASSERT_EQ(g->stops.size(), c.stops) << c.name;
        for (size_t i = 1; i < g->stops.size(); ++i)
            EXPECT_GE(g->stops[i].offset, g->stops[i - 1].offset) << c.name;
        for (const VtgGradientStop& s : g->stops)
            EXPECT_TRUE(s.opacity >= 0 && s.opacity <= 1) << c.name;
    }
}

class PaintSuite : public ::testing::Test {
protected:
    void SetUp() override {
        host_.user().setEcho(false);
        ASSERT_EQ(host_.broker().acquire(kPaintStyleSuiteName, kPaintStyleSuiteVersion,
                                         reinterpret_cast<const void**>(&paint_)),
                  kNoErr);
        doc_ = host_.docs().newDocument(100, 100);
    }
    hostapp::Host host_;
    const PaintStyleSuite* paint_ = nullptr;
    Document* doc_ = nullptr;
};

TEST_F(PaintSuite, CopyGradientKeepsTheShapeAndTakesNewStops) {
    VtgGradientStop stops[2] = {};
    stops[0].color.kind = kVtgColorGray;
    stops[1].offset = 1;
    stops[1].color.kind = kVtgColorGray;
    stops[1].color.c[0] = 1;
    GradientHandle g = nullptr;
    ASSERT_EQ(paint_->NewGradient(kVtgGradientRadial, "glow", stops, 2, &g), kNoErr);
    GradientNode* node = nullptr;
    ASSERT_EQ(host_.docs().gradient(g, node), kNoErr);
    node->focus = {0.25, 0};
    node->spread = kVtgSpreadRepeat;
    stops[1].color.c[0] = 0.5;
    GradientHandle copy = nullptr;
    ASSERT_EQ(paint_->CopyGradient(g, stops, 2, &copy), kNoErr);
    int32_t type = -1, count = 0, spread = -1;
    char name[16];
    VtgPoint focus{};
    ASSERT_EQ(paint_->GetGradient(copy, &type, name, sizeof name, &count), kNoErr);
    ASSERT_EQ(paint_->GetGradientShape(copy, &focus, &spread), kNoErr);
    EXPECT_EQ(type, kVtgGradientRadial);
    EXPECT_STREQ(name, "glow");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(focus.x, 0.25);
    EXPECT_EQ(spread, kVtgSpreadRepeat);
    VtgGradientStop s{};
    ASSERT_EQ(paint_->GetGradientStop(copy, 1, &s), kNoErr);
    EXPECT_EQ(s.color.c[0], 0.5);
    ASSERT_EQ(paint_->GetGradientStop(g, 1, &s), kNoErr);
    EXPECT_EQ(s.color.c[0], 1) << "the source is unchanged";
    EXPECT_EQ(paint_->CopyGradient(g, stops, 1, &copy), kBadParameterErr);
    EXPECT_EQ(paint_->CopyGradient(nullptr, stops, 2, &copy), kBadParameterErr);
}

// The colour picker takes the script's answer, in the colour model asked for.
TEST_F(PaintSuite, ColourPickerTakesTheScriptsAnswerInTheModel) {
    using Kind = hostapp::Answer::Kind;
    struct Case {
        const char* name;
        bool queue;
        Kind kind;
        const char* text;
        int32_t model;
        ErrorCode expected;
        int32_t kindOut;
        double c[4];
    } cases[] = {
        {"no answer: cancel",
         false,
         Kind::Ok,
         "",
         kVtgColorModelRGB,
         kCancelledErr,
         kVtgColorGray,
         {0.25, 0, 0, 0}},
        {"cancel",
         true,
         Kind::Cancel,
         "",
         kVtgColorModelRGB,
         kCancelledErr,
         kVtgColorGray,
         {0.25, 0, 0, 0}},
        {"ok: the colour in the model",
         true,
         Kind::Ok,
         "",
         kVtgColorModelRGB,
         kNoErr,
         kVtgColorRGB,
         {0.75, 0.75, 0.75, 0}},
        {"rgb into cmyk",
         true,
         Kind::Color,
         "rgb 1 0 0",
         kVtgColorModelCMYK,
         kNoErr,
         kVtgColorProcess,
         {0, 1, 1, 0}},
        {"gray into cmyk is black ink",
         true,
         Kind::Color,
         "gray 0.4",
         kVtgColorModelCMYK,
         kNoErr,
         kVtgColorProcess,
         {0, 0, 0, 0.4}},
        {"hex into gray",
         true,
         Kind::Color,
         "#ffffff",
         kVtgColorModelGray,
         kNoErr,
         kVtgColorGray,
         {0, 0, 0, 0}},
        {"cmyk stays",
         true,
         Kind::Color,
         "cmyk 0.1 0.2 0.3 0.4",
         kVtgColorModelCMYK,
         kNoErr,
         kVtgColorProcess,
         {0.1, 0.2, 0.3, 0.4}},
    };
    for (const Case& c : cases) {
        if (c.queue)
            host_.user().queue({c.kind, c.text});
        VtgColor color{};
        color.kind = kVtgColorGray;
        color.c[0] = 0.25;
        EXPECT_EQ(paint_->PickColor("色", c.model, &color), c.expected) << c.name;
        EXPECT_EQ(color.kind, c.kindOut) << c.name;
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(color.c[k], c.c[k], 1e-12) << c.name << k;
        EXPECT_EQ(host_.user().pending(), 0u) << c.name;
    }
    VtgColor color{};
    EXPECT_EQ(paint_->PickColor("色", 7, &color), kBadParameterErr);
    EXPECT_EQ(paint_->PickColor("色", kVtgColorModelRGB, nullptr), kBadParameterErr);
    for (const char* bad : {"rgb 1 0", "rgb 2 0 0", "cmyk 0 0 0 0 0", "#12345", "teal", ""}) {
        VtgColor x{};
        EXPECT_FALSE(hostapp::ParseColorText(bad, x)) << bad;
    }
}

} // namespace
