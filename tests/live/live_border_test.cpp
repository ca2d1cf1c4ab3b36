// Live Border through the host: the paint normalisation and the colour
// blend as tables, the step counts and the grade curve, the outside and
// inside bands with their eccentric and shadow copies, the union of
// overlapping parts, the clipping group, Apply's refinement, and the
// regeneration of a live border by the host, also after saving.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/plugin_globals.hpp"
#include "core/suite_set.hpp"
#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "live/border/border_generator.hpp"
#include "live/live_object.hpp"
#include "live/paint_normalize.hpp"
#include "support/document_fixture.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using vtg::BorderPGParams;

constexpr double kEps = 1e-9;

VtgColor Colour(int32_t kind, double c0 = 0, double c1 = 0, double c2 = 0, double c3 = 0) {
    VtgColor c{};
    c.kind = kind;
    c.c[0] = c0;
    c.c[1] = c1;
    c.c[2] = c2;
    c.c[3] = c3;
    c.paintMatrix = hostapp::doc::kIdentity;
    return c;
}
VtgColor Rgb(double r, double g, double b) {
    return Colour(kVtgColorRGB, r, g, b);
}
VtgColor Gray(double v) {
    return Colour(kVtgColorGray, v);
}
VtgColor Cmyk(double c, double m, double y, double k) {
    return Colour(kVtgColorProcess, c, m, y, k);
}
// A spot ink with its process equivalent (kind and components) and tint.
VtgColor Spot(const char* name, int32_t processKind, VtgColor process, double tint) {
    VtgColor c = process;
    c.kind = kVtgColorSpot;
    c.spotKind = processKind;
    c.tint = tint;
    std::strncpy(c.spotName, name, sizeof c.spotName - 1);
    return c;
}

VtgPathStyle Style(bool fillOn, VtgColor fill, bool strokeOn, VtgColor stroke, double width) {
    VtgPathStyle s{};
    s.fill.on = fillOn ? 1 : 0;
    s.fill.color = fill;
    s.stroke.on = strokeOn ? 1 : 0;
    s.stroke.color = stroke;
    s.stroke.width = width;
    s.stroke.miterLimit = 4;
    return s;
}

void ExpectColour(const VtgColor& got, const VtgColor& want, const std::string& what) {
    EXPECT_EQ(got.kind, want.kind) << what;
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(got.c[i], want.c[i], kEps) << what << " component " << i;
    if (want.kind == kVtgColorSpot) {
        EXPECT_NEAR(got.tint, want.tint, kEps) << what;
        EXPECT_STREQ(got.spotName, want.spotName) << what;
    }
}

double Left(const ArtNode* a) {
    VtgRect r{};
    hostapp::doc::Bounds(a, hostapp::doc::kIdentity, kVtgBoundsControlPoints, r);
    return r.left;
}

class LiveBorder : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        vtg::SetKindDefaults(vtg::kKindBorder, &record_);
    }
    // A square with a style.
    ArtNode* Painted(const std::string& id, const VtgPathStyle& style, double x = 100,
                     double size = 100, ArtNode* into = nullptr) {
        ArtNode* a = AddSquare(id, x, 100, size, into);
        a->s.style = style;
        return a;
    }
    // The default source: a 10-point black stroke around a red fill.
    ArtNode* RedSquare(const std::string& id = "square", double x = 100, ArtNode* into = nullptr) {
        return Painted(id, Style(true, Rgb(1, 0, 0), true, Rgb(0, 0, 0), 10), x, 100, into);
    }
    ArtNode* NewGroup(ArtNode* into = nullptr) {
        ArtNode* g = nullptr;
        EXPECT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnBottom, into, g),
                  kNoErr);
        return g;
    }
    // Border's update as the host runs it: `source` in an edit group, the
    // result in a group of its own, which is returned.
    ArtNode* Build(ArtNode* source, const BorderPGParams& p, ErrorCode expected = kNoErr) {
        ArtNode* edit = NewGroup();
        ArtNode* result = NewGroup();
        EXPECT_EQ(hostapp::doc::MoveArt(source, kVtgPlaceInsideOnTop, edit), kNoErr);
        EXPECT_EQ(vtg::UpdateBorder(DocStore::handle(edit), DocStore::handle(result), p), expected);
        return result;
    }
    // The band of an outside result: the generated group's children.
    static std::vector<ArtNode*> Band(const ArtNode* result) {
        EXPECT_EQ(result->s.children.size(), 1u);
        return result->s.children.empty() ? std::vector<ArtNode*>{}
                                          : result->s.children[0]->s.children;
    }
    void Apply() {
        ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindBorder, &record_), kNoErr);
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    }
    // Opens an SVG document (400 x 400) as the program does; it becomes the
    // test's document.
    void Open(const std::string& body) {
        const std::string text =
            "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 400 400\">" + body + "</svg>";
        Document* d = nullptr;
        hostapp::svg::SvgError error;
        ASSERT_TRUE(hostapp::svg::ReadSvgText(host().docs(), text, "in.svg", d, error))
            << error.message;
        doc_ = d;
        host().notify(kNotifyDocumentOpened, nullptr);
    }
    ArtNode* Named(const std::string& id) {
        ArtNode* found = nullptr;
        hostapp::doc::Walk(doc_->layers.at(0)->group, true, [&](ArtNode* a) {
            if (found == nullptr && a->s.name == id)
                found = a;
            return found == nullptr;
        });
        return found;
    }

    BorderPGParams record_{};
};

// --- paint ----------------------------------------------------------------------

TEST_F(LiveBorder, PaintNormalisationTable) {
    const VtgColor red = Rgb(1, 0, 0), black = Rgb(0, 0, 0);
    const VtgColor ink = Spot("Ink", kVtgColorProcess, Cmyk(0, 1, 0, 0), 0.2);
    VtgColor inkWhite = ink, inkBlack = ink;
    inkWhite.tint = 1;
    inkBlack.tint = 0;
    const VtgColor odd = Colour(8);
    struct Case {
        const char* what;
        VtgPathStyle in;
        int32_t model;
        bool changed;
        VtgColor fill, stroke; // both end switched on
        double width;
    } cases[] = {
        {"plain pair", Style(true, red, true, black, 5), kVtgColorModelRGB, false, red, black, 5},
        {"rgb fill alone", Style(true, red, false, black, 5), kVtgColorModelRGB, true, Rgb(1, 1, 1),
         red, 5},
        {"gray fill alone", Style(true, Gray(0.3), false, black, 2), kVtgColorModelRGB, true,
         Gray(0), Gray(0.3), 2},
        {"cmyk fill alone", Style(true, Cmyk(0, 1, 1, 0), false, black, 1), kVtgColorModelRGB, true,
         Cmyk(0, 0, 0, 0), Cmyk(0, 1, 1, 0), 1},
        {"spot fill alone", Style(true, ink, false, black, 3), kVtgColorModelRGB, true, inkWhite,
         ink, 3},
        {"cmyk stroke alone", Style(false, red, true, Cmyk(1, 0, 0, 0), 4), kVtgColorModelRGB, true,
         Cmyk(0, 0, 0, 0), Cmyk(1, 0, 0, 0), 4},
        {"spot stroke alone", Style(false, red, true, ink, 4), kVtgColorModelRGB, true, inkWhite,
         ink, 4},
        {"odd fill alone", Style(true, odd, false, red, 4), kVtgColorModelRGB, true, odd, odd, 10},
        {"odd stroke alone", Style(false, red, true, odd, 4), kVtgColorModelRGB, true, odd, odd, 4},
        {"gradient fill", Style(true, Colour(kVtgColorGradient), false, black, 1),
         kVtgColorModelRGB, true, Rgb(1, 1, 1), black, 10},
        {"none fill, pattern stroke",
         Style(true, Colour(kVtgColorNone), true, Colour(kVtgColorPattern), 1), kVtgColorModelGray,
         true, Gray(0), Gray(1), 10},
        {"nothing, cmyk", Style(false, red, false, red, 1), kVtgColorModelCMYK, true,
         Cmyk(0, 0, 0, 0), Cmyk(0, 0, 0, 1), 10},
        {"nothing, unknown model", Style(false, red, false, red, 1), kVtgColorModelUnknown, true,
         Cmyk(0, 0, 0, 0), Cmyk(0, 0, 0, 1), 10},
        {"plain fill, odd stroke", Style(true, red, true, odd, 1), kVtgColorModelRGB, true,
         Rgb(1, 1, 1), black, 10},
        {"odd fill with stroke", Style(true, odd, true, red, 1), kVtgColorModelRGB, true,
         Rgb(1, 1, 1), black, 10},
    };
    for (const Case& c : cases) {
        VtgPathStyle s = c.in;
        EXPECT_EQ(vtg::NormalizeStyle(s, false, c.model), c.changed) << c.what;
        EXPECT_EQ(s.fill.on, 1) << c.what;
        EXPECT_EQ(s.stroke.on, 1) << c.what;
        ExpectColour(s.fill.color, c.fill, std::string(c.what) + " fill");
        ExpectColour(s.stroke.color, c.stroke, std::string(c.what) + " stroke");
        EXPECT_DOUBLE_EQ(s.stroke.width, c.width) << c.what;
        EXPECT_EQ(s.stroke.cap, kVtgCapButt) << c.what;
    }
    // The white and black of a spot colour are its ink at tint 1 and 0.
    VtgColor extreme{};
    vtg::SetBlackOf(kVtgColorSpot, ink, extreme);
    ExpectColour(extreme, inkBlack, "spot black");
    vtg::SetWhiteOf(kVtgColorSpot, ink, extreme);
    ExpectColour(extreme, inkWhite, "spot white");
    VtgPathStyle s{};
    // The fill's overprint moves with its colour; rounded joins are written.
    s = Style(true, red, false, black, 1);
    s.fill.overprint = 1;
    s.stroke.join = kVtgJoinMiter;
    EXPECT_TRUE(vtg::NormalizeStyle(s, true, kVtgColorModelRGB));
    EXPECT_EQ(s.stroke.overprint, 1);
    EXPECT_EQ(s.stroke.cap, kVtgCapRound);
    EXPECT_EQ(s.stroke.join, kVtgJoinRound);
    s = Style(true, red, true, black, 1);
    EXPECT_TRUE(vtg::NormalizeStyle(s, true, kVtgColorModelRGB));
}

TEST_F(LiveBorder, NormalizePaintWritesThroughTheHostAndRefusesUnknownKinds) {
    doc_->colorModel = kVtgColorModelCMYK;
    ArtNode* bare = Painted("bare", Style(false, Rgb(1, 0, 0), false, Rgb(0, 0, 0), 1));
    ASSERT_EQ(vtg::NormalizePaint(DocStore::handle(bare), true), kNoErr);
    ExpectColour(bare->s.style.fill.color, Cmyk(0, 0, 0, 0), "fill");
    ExpectColour(bare->s.style.stroke.color, Cmyk(0, 0, 0, 1), "stroke");
    EXPECT_EQ(bare->s.style.stroke.join, kVtgJoinRound);
    // A colour kind the host does not know stays on (it is not plain); the
    // host refuses to store it, which is reported, and the path is unchanged.
    ArtNode* odd = Painted("odd", Style(true, Colour(8), false, Rgb(0, 0, 0), 1));
    const VtgPathStyle before = odd->s.style;
    EXPECT_EQ(vtg::NormalizePaint(DocStore::handle(odd), false), kBadParameterErr);
    EXPECT_EQ(std::memcmp(&odd->s.style, &before, sizeof before), 0);
}

TEST_F(LiveBorder, BlendColourTable) {
    const VtgColor inkA = Spot("A", kVtgColorProcess, Cmyk(0, 1, 0, 0), 0);
    const VtgColor inkB = Spot("B", kVtgColorProcess, Cmyk(0, 0, 1, 0), 0.5);
    const VtgColor inkRgb = Spot("C", kVtgColorRGB, Rgb(0, 0, 1), 0);
    struct Case {
        const char* what;
        VtgColor stroke, fill;
        double weight, density;
        bool blended; // the overprint is switched off
        VtgColor wantStroke, wantFill;
    } cases[] = {
        {"gray", Gray(0.8), Gray(0.2), 0.25, -1, true, Gray(0.35), Gray(0.2)},
        {"gray density", Gray(0.8), Gray(0.2), 0.25, 0.5, true, Gray(0.275), Gray(0.2)},
        {"cmyk", Cmyk(1, 0, 0.5, 0.4), Cmyk(0, 1, 0.5, 0.2), 0.5, -1, true,
         Cmyk(0.5, 0.5, 0.5, 0.3), Cmyk(0, 1, 0.5, 0.2)},
        {"cmyk density limited", Cmyk(0, 0, 0, 1), Cmyk(0, 0, 0, 1), 0.5, 2, true, Cmyk(0, 0, 0, 1),
         Cmyk(0, 0, 0, 1)},
        {"rgb", Rgb(0, 0, 1), Rgb(1, 0, 0), 0.75, -1, true, Rgb(0.25, 0, 0.75), Rgb(1, 0, 0)},
        {"rgb density", Rgb(0, 0, 1), Rgb(1, 0, 0), 0.75, 0.5, true, Rgb(0.625, 0.375, 0.375),
         Rgb(1, 0, 0)},
        {"kinds differ", Gray(0.8), Rgb(1, 0, 0), 0.5, -1, false, Gray(0.8), Rgb(1, 0, 0)},
        {"pattern", Colour(kVtgColorPattern), Colour(kVtgColorPattern), 0.5, 1, true,
         Colour(kVtgColorPattern), Colour(kVtgColorPattern)},
        {"unknown kind", Colour(8, 0.5), Colour(8, 0.1), 0.5, 1, true, Colour(8, 0.5),
         Colour(8, 0.1)},
        // Spot inks blend as process colours, which replace both.
        {"spots", inkA, inkB, 0.5, -1, true, Cmyk(0, 0.5, 0.25, 0), Cmyk(0, 0, 0.5, 0)},
        {"spots, process kinds differ", inkRgb, inkB, 0.5, -1, true, Rgb(0, 0, 1),
         Cmyk(0, 0, 0.5, 0)},
    };
    const PaintStyleSuite* suite = vtg::sPaintStyle;
    ASSERT_NE(suite, nullptr);
    for (const bool withSuite : {true, false}) {
        // Without the host's suite the inks' own equivalents serve.
        vtg::sPaintStyle = withSuite ? suite : nullptr;
        for (const Case& c : cases) {
            const std::string what = std::string(c.what) + (withSuite ? "" : " (no suite)");
            VtgStrokeStyle stroke{};
            VtgFillStyle fill{};
            stroke.color = c.stroke;
            stroke.overprint = 1;
            fill.color = c.fill;
            fill.overprint = 1;
            vtg::BlendColour(stroke, fill, c.weight, c.density);
            ExpectColour(stroke.color, c.wantStroke, what + " stroke");
            ExpectColour(fill.color, c.wantFill, what + " fill");
            EXPECT_EQ(stroke.overprint, c.blended ? 0 : 1) << what;
            EXPECT_EQ(fill.overprint, 1) << what;
        }
    }
    vtg::sPaintStyle = suite;
}

// --- counts and grades ----------------------------------------------------------------

TEST_F(LiveBorder, StepCountsFollowTheStrokeWidthAndAreBounded) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double width;
        int32_t mode0, mode1, mode2;
    } cases[] = {
        {0.5, 6, 3, 2},
        {2.99, 6, 3, 2},
        {3, 6, 3, 2},
        {10, 20, 10, 5},
        {7, 14, 7, 4},
        {7.9, 14, 7, 4},
        {1e9, 32767, 32767, 32767},
        {nan, 6, 3, 2},
        {inf, 6, 3, 2},
        {-5, 6, 3, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vtg::BorderStepsForWidth(c.width, 0), c.mode0) << c.width;
        EXPECT_EQ(vtg::BorderStepsForWidth(c.width, 1), c.mode1) << c.width;
        EXPECT_EQ(vtg::BorderStepsForWidth(c.width, 2), c.mode2) << c.width;
        EXPECT_EQ(vtg::BorderStepsForWidth(c.width, 3), 0) << c.width;
    }
    // Thin strokes through the generator: the band has that many copies
    // below the source's own fill.
    for (int32_t mode : {0, 1, 2}) {
        record_.stepMode = mode;
        ArtNode* thin = Painted("thin", Style(true, Rgb(1, 0, 0), true, Rgb(0, 0, 0), 2));
        EXPECT_EQ(Band(Build(thin, record_)).size(), static_cast<size_t>(mode == 0   ? 7
                                                                         : mode == 1 ? 4
                                                                                     : 3))
            << mode;
    }
}

TEST_F(LiveBorder, DamagedWidthsAndCountsStayBounded) {
    // A width that is not a number counts as 0: nothing is built. (Without
    // the rounded joins the style is not written back, and the host's
    // write would have replaced the width.)
    record_.autoLineStyle = 0;
    ArtNode* nanWidth = RedSquare("nan");
    nanWidth->s.style.stroke.width = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(Band(Build(nanWidth, record_)).empty());
    record_.autoLineStyle = 1;
    // A huge width gives the most steps, not more.
    record_.stepMode = 2;
    ArtNode* huge = RedSquare("huge");
    huge->s.style.stroke.width = 1e9;
    EXPECT_EQ(Band(Build(huge, record_)).size(), 32768u);
    // Given counts out of the panel's range are read as its limits.
    record_.stepMode = 3;
    for (int32_t stored : {0, -5}) {
        record_.stepCount = stored;
        EXPECT_EQ(Band(Build(RedSquare("given"), record_)).size(), 2u) << stored;
    }
    // Shifts that are not numbers are no shifts.
    record_.stepCount = 3;
    record_.eccentricity = std::numeric_limits<double>::infinity();
    record_.shadowOn = 1;
    record_.shadowOffset = std::numeric_limits<double>::quiet_NaN();
    for (const ArtNode* copy : Band(Build(RedSquare("shift"), record_))) {
        EXPECT_DOUBLE_EQ(Left(copy), 100);
        for (const PathSegment& s : copy->s.segments)
            EXPECT_TRUE(std::isfinite(s.anchor.x) && std::isfinite(s.anchor.y));
    }
}

TEST_F(LiveBorder, GradeCurveAndInversionTable) {
    struct Case {
        double curve;
        bool invert;
        std::vector<double> weights;
    } cases[] = {
        {0, false, {1, 0.75, 0.5, 0.25}},
        {0, true, {0.25, 0.5, 0.75, 1}},
        {-1, false, {1, 0.968245836551854, 0.866025403784439, 0.661437827766148}},
        {1, false, {1, 0.338562172233852, 0.133974596215561, 0.031754163448146}},
        {1, true, {0.031754163448146, 0.133974596215561, 0.338562172233852, 1}},
        {-0.5, false, {1, 0.859122918275927, 0.683012701892219, 0.455718913883074}},
    };
    for (const Case& c : cases) {
        const std::vector<double> w = vtg::BorderGradeWeights(4, c.curve, c.invert);
        ASSERT_EQ(w.size(), c.weights.size());
        for (size_t i = 0; i < w.size(); ++i)
            EXPECT_NEAR(w[i], c.weights[i], 1e-12) << c.curve << " " << c.invert << " " << i;
    }
    // Inverted, the widest (bottom) copy takes the colour nearest the fill.
    record_.invertGrade = 1;
    const std::vector<ArtNode*> band = Band(Build(RedSquare(), record_));
    ASSERT_EQ(band.size(), 11u);
    ExpectColour(band.back()->s.style.stroke.color, Rgb(0.9, 0, 0), "widest");
    ExpectColour(band[1]->s.style.stroke.color, Rgb(0, 0, 0), "narrowest");
}

// --- outside ----------------------------------------------------------------------

TEST_F(LiveBorder, DefaultsGradeTenStepsFromBlackToRedUnderTheRedShape) {
    const std::vector<ArtNode*> band = Band(Build(RedSquare(), record_));
    ASSERT_EQ(band.size(), 11u);
    const ArtNode* top = band[0];
    EXPECT_EQ(top->s.style.fill.on, 1);
    EXPECT_EQ(top->s.style.stroke.on, 0);
    ExpectColour(top->s.style.fill.color, Rgb(1, 0, 0), "top fill");
    for (int i = 0; i < 10; ++i) {
        const ArtNode* step = band[10 - i]; // step 0 at the bottom
        const std::string what = "step " + std::to_string(i);
        EXPECT_EQ(step->s.style.stroke.on, 1) << what;
        EXPECT_NEAR(step->s.style.stroke.width, 10 - i, 1e-9) << what;
        EXPECT_EQ(step->s.style.stroke.cap, kVtgCapRound) << what;
        EXPECT_EQ(step->s.style.stroke.join, kVtgJoinRound) << what;
        ExpectColour(step->s.style.stroke.color, Rgb(i / 10.0, 0, 0), what);
        // The step is filled with its own stroke colour.
        EXPECT_EQ(step->s.style.fill.on, 1) << what;
        ExpectColour(step->s.style.fill.color, Rgb(i / 10.0, 0, 0), what + " fill");
        EXPECT_DOUBLE_EQ(Left(step), 100) << what;
    }
}

TEST_F(LiveBorder, SourcesWithoutAPlainPairAreNormalisedFirst) {
    struct Case {
        const char* what;
        int32_t model;
        VtgPathStyle style;
        size_t steps;
        VtgColor outer, fill; // the widest stroke, the top copy's fill
    } cases[] = {
        {"nothing in cmyk", kVtgColorModelCMYK, Style(false, Rgb(1, 0, 0), false, Rgb(0, 0, 0), 1),
         10, Cmyk(0, 0, 0, 1), Cmyk(0, 0, 0, 0)},
        {"red fill alone", kVtgColorModelRGB, Style(true, Rgb(1, 0, 0), false, Rgb(0, 0, 0), 4), 4,
         Rgb(1, 0, 0), Rgb(1, 1, 1)},
        {"gradient fill alone", kVtgColorModelRGB,
         Style(true, Colour(kVtgColorGradient), false, Rgb(0, 0, 0), 4), 10, Rgb(0, 0, 0),
         Rgb(1, 1, 1)},
    };
    for (const Case& c : cases) {
        doc_->colorModel = c.model;
        const std::vector<ArtNode*> band = Band(Build(Painted("src", c.style), record_));
        ASSERT_EQ(band.size(), c.steps + 1) << c.what;
        ExpectColour(band.back()->s.style.stroke.color, c.outer, c.what);
        EXPECT_NEAR(band.back()->s.style.stroke.width, static_cast<double>(c.steps), 1e-9)
            << c.what;
        ExpectColour(band[0]->s.style.fill.color, c.fill, c.what);
        EXPECT_EQ(band[0]->s.style.stroke.on, 0) << c.what;
    }
    // The red fill alone runs from red at the outside to white inside.
    doc_->colorModel = kVtgColorModelRGB;
    const std::vector<ArtNode*> band =
        Band(Build(Painted("red", Style(true, Rgb(1, 0, 0), false, Rgb(0, 0, 0), 4)), record_));
    for (int i = 0; i < 4; ++i)
        ExpectColour(band[4 - i]->s.style.stroke.color, Rgb(1, i / 4.0, i / 4.0),
                     "red step " + std::to_string(i));
}

TEST_F(LiveBorder, EccentricShiftIsLargestForTheWidestStep) {
    record_.eccentricity = 0.5; // half the widest stroke: 5 points
    record_.eccentricAngle = 0;
    const std::vector<ArtNode*> band = Band(Build(RedSquare(), record_));
    ASSERT_EQ(band.size(), 11u);
    EXPECT_DOUBLE_EQ(Left(band[0]), 100); // the fill copy stays
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR(Left(band[10 - i]), 100 + 5 - 0.5 * i, 1e-9) << i;
}

TEST_F(LiveBorder, ShadowCopiesTakeTheDensityAndMoveFromTheLight) {
    record_.shadowOn = 1;
    record_.shadowDensity = 1;
    record_.shadowOffset = 2;
    record_.lightAngle = 0;
    const std::vector<ArtNode*> band =
        Band(Build(Painted("blue", Style(true, Rgb(1, 0, 0), true, Rgb(0, 0, 1), 3)), record_));
    ASSERT_EQ(band.size(), 7u); // three steps of shadow and tube, and the fill
    for (int i = 0; i < 3; ++i) {
        const ArtNode* shadow = band[6 - 2 * i];
        const ArtNode* tube = band[5 - 2 * i];
        const double f = 1 - i / 3.0, r = 1 - f;
        const std::string what = "step " + std::to_string(i);
        // Full density blackens the shadow where the weight is 1.
        ExpectColour(shadow->s.style.stroke.color, Rgb(r, 0, 0), what + " shadow");
        ExpectColour(tube->s.style.stroke.color, Rgb(r, 0, f), what + " tube");
        EXPECT_NEAR(Left(shadow), 98, 1e-9) << what;
        EXPECT_NEAR(Left(tube), 100, 1e-9) << what;
        EXPECT_NEAR(shadow->s.style.stroke.width, 3 - i, 1e-9) << what;
    }
    // Inside, the shadow copies lie below their step and move towards the
    // light; the narrowest step is on top.
    record_.style = 1;
    const ArtNode* z =
        Build(Painted("blue", Style(true, Rgb(1, 0, 0), true, Rgb(0, 0, 1), 3)), record_)
            ->s.children.at(0);
    const std::vector<ArtNode*>& inside = z->s.children.at(1)->s.children;
    ASSERT_EQ(inside.size(), 6u);
    for (int i = 0; i < 3; ++i) {
        const ArtNode* tube = inside[2 * i];
        const ArtNode* shadow = inside[2 * i + 1];
        const double f = 1 - i / 3.0, r = 1 - f;
        const std::string what = "inside step " + std::to_string(i);
        ExpectColour(shadow->s.style.stroke.color, Rgb(r, 0, 0), what + " shadow");
        ExpectColour(tube->s.style.stroke.color, Rgb(r, 0, f), what + " tube");
        EXPECT_NEAR(Left(shadow), 102, 1e-9) << what;
        EXPECT_NEAR(Left(tube), 100, 1e-9) << what;
        EXPECT_NEAR(tube->s.style.stroke.width, i + 1, 1e-9) << what;
    }
}

// --- inside -----------------------------------------------------------------------

TEST_F(LiveBorder, InsideBandIsClippedAndTheWidestStepKeepsTheFill) {
    record_.style = 1;
    record_.eccentricity = 0.5;
    record_.eccentricAngle = 0;
    ArtNode* result = Build(RedSquare(), record_);
    ASSERT_EQ(result->s.children.size(), 1u);
    const ArtNode* z = result->s.children[0];
    EXPECT_EQ(z->s.kind, kVtgArtGroup);
    EXPECT_NE(z->s.attributes & kVtgArtClipping, 0);
    ASSERT_EQ(z->s.children.size(), 2u);
    const ArtNode* clip = z->s.children[0];
    EXPECT_EQ(clip->s.kind, kVtgArtPath);
    EXPECT_NE(clip->s.attributes & kVtgArtClipping, 0);
    EXPECT_EQ(clip->s.style.fill.on, 0);
    EXPECT_EQ(clip->s.style.stroke.on, 0);
    EXPECT_DOUBLE_EQ(Left(clip), 100);
    const std::vector<ArtNode*>& band = z->s.children[1]->s.children;
    ASSERT_EQ(band.size(), 10u); // the source copy is gone
    for (int i = 0; i < 10; ++i) {
        const ArtNode* step = band[i]; // step 0, the narrowest, on top
        const std::string what = "step " + std::to_string(i);
        EXPECT_NEAR(step->s.style.stroke.width, i + 1, 1e-9) << what;
        ExpectColour(step->s.style.stroke.color, Rgb(i / 10.0, 0, 0), what);
        EXPECT_EQ(step->s.style.fill.on, i == 9 ? 1 : 0) << what;
        EXPECT_EQ(step->s.attributes & kVtgArtClipping, 0) << what;
        EXPECT_NEAR(Left(step), 100 + 0.5 * (i + 1), 1e-9) << what;
    }
    ExpectColour(band[9]->s.style.fill.color, Rgb(1, 0, 0), "widest fill");
}

TEST_F(LiveBorder, InsideGroupIsClippedByACompoundOfItsPaths) {
    record_.style = 1;
    ArtNode* group = NewGroup();
    RedSquare("a", 100, group);
    ArtNode* inner = NewGroup(group);
    RedSquare("b", 150, inner);
    ArtNode* result = Build(group, record_);
    ASSERT_EQ(result->s.children.size(), 1u);
    const ArtNode* z = result->s.children[0];
    ASSERT_EQ(z->s.children.size(), 2u);
    const ArtNode* clip = z->s.children[0];
    ASSERT_EQ(clip->s.kind, kVtgArtCompoundPath);
    EXPECT_NE(clip->s.attributes & kVtgArtClipping, 0);
    EXPECT_EQ(clip->s.style.fill.on, 0);
    EXPECT_EQ(clip->s.style.stroke.on, 0);
    ASSERT_EQ(clip->s.children.size(), 2u);
    for (const ArtNode* member : clip->s.children)
        EXPECT_EQ(member->s.style.stroke.on, 0);
    EXPECT_EQ(z->s.children[1]->s.children.size(), 10u);
}

// A stand-in for the host's pathfinder: it records the call and replaces
// what the group holds by one square over the parts' box.
struct FakeUnite {
    static inline int calls = 0;
    static inline ArtHandle art = nullptr;
    static inline VtgPathfinderOptions options{};
    static ErrorCode Unite(const ArtHandle* arts, int32_t count, const VtgPathfinderOptions* o) {
        ++calls;
        if (count != 1)
            return kBadParameterErr;
        art = arts[0];
        options = *o;
        VtgRect box{};
        vtg::sArt->GetArtBounds(art, nullptr, kVtgBoundsControlPoints, &box);
        ArtHandle first = nullptr, united = nullptr;
        vtg::sArt->GetArtFirstChild(art, &first);
        VtgPathStyle style{};
        ArtHandle leaf = first;
        for (int32_t k = kVtgArtGroup; leaf != nullptr && k == kVtgArtGroup;) {
            vtg::sArt->GetArtKind(leaf, &k);
            if (k == kVtgArtGroup)
                vtg::sArt->GetArtFirstChild(leaf, &leaf);
        }
        vtg::sPath->GetPathStyle(leaf, &style);
        vtg::sArt->DeleteArt(first);
        vtg::sArt->NewArt(kVtgArtPath, kVtgPlaceInsideOnTop, art, &united);
        const PathSegment s[4] = {
            vtgtest::Corner(box.left, box.bottom), vtgtest::Corner(box.right, box.bottom),
            vtgtest::Corner(box.right, box.top), vtgtest::Corner(box.left, box.top)};
        vtg::sPath->SetPathSegments(united, 0, 4, s);
        vtg::sPath->SetPathClosed(united, 1);
        vtg::sPath->SetPathStyle(united, &style);
        return kNoErr;
    }
};

TEST_F(LiveBorder, MergeOverlapsUnitesThePartsAndLeavesNoTrace) {
    record_.style = 1;
    record_.mergeOverlaps = 1;
    const PathfinderSuite* hostSuite = vtg::sPathfinder;
    // Without the host's pathfinder the parts stay as they are.
    vtg::sPathfinder = nullptr;
    {
        ArtNode* group = NewGroup();
        RedSquare("a", 100, group);
        RedSquare("b", 150, group);
        const ArtNode* z = Build(group, record_)->s.children.at(0);
        const std::vector<ArtNode*>& band = z->s.children.at(1)->s.children;
        ASSERT_EQ(band.size(), 10u);
        for (const ArtNode* step : band) {
            // A copy of the union's group X: Y with the copy of both parts.
            ASSERT_EQ(step->s.kind, kVtgArtGroup);
            ASSERT_EQ(step->s.children.size(), 1u); // the empty path is gone
            const ArtNode* y = step->s.children[0];
            ASSERT_EQ(y->s.children.size(), 1u);
            EXPECT_EQ(y->s.children[0]->s.children.size(), 2u);
        }
    }
    // With one, Y holds the united outline in every copy.
    static const PathfinderSuite fake{&FakeUnite::Unite};
    vtg::sPathfinder = &fake;
    FakeUnite::calls = 0;
    ArtNode* group = NewGroup();
    RedSquare("a", 100, group);
    RedSquare("b", 150, group);
    const ArtNode* z = Build(group, record_)->s.children.at(0);
    vtg::sPathfinder = hostSuite;
    EXPECT_EQ(FakeUnite::calls, 1);
    EXPECT_DOUBLE_EQ(FakeUnite::options.precision, 10.0);
    EXPECT_EQ(FakeUnite::options.flags, 0x50000);
    EXPECT_DOUBLE_EQ(FakeUnite::options.ratio, 0.5);
    EXPECT_EQ(FakeUnite::options.steps, 1);
    const double more[5] = {0.25, 1.0, 0.4, 1.0, 0.05};
    for (int i = 0; i < 5; ++i)
        EXPECT_DOUBLE_EQ(FakeUnite::options.more[i], more[i]) << i;
    int32_t alive = 1;
    vtg::sArt->IsValidArt(FakeUnite::art, &alive);
    EXPECT_EQ(alive, 0); // X with Y was deleted
    const std::vector<ArtNode*>& band = z->s.children.at(1)->s.children;
    ASSERT_EQ(band.size(), 10u);
    for (const ArtNode* step : band) {
        const ArtNode* y = step->s.children.at(0);
        ASSERT_EQ(y->s.children.size(), 1u);
        const ArtNode* united = y->s.children[0];
        ASSERT_EQ(united->s.kind, kVtgArtPath);
        EXPECT_DOUBLE_EQ(Left(united), 100);
    }
    // The clip still follows the source's own parts.
    EXPECT_EQ(z->s.children[0]->s.children.size(), 2u);
    // The host's own pathfinder: Y holds the one outline of both squares
    // (to the precision the host follows curves with).
    ASSERT_NE(hostSuite, nullptr);
    {
        ArtNode* parts = NewGroup();
        RedSquare("a", 100, parts);
        RedSquare("b", 150, parts);
        const ArtNode* united = Build(parts, record_)->s.children.at(0);
        const std::vector<ArtNode*>& steps = united->s.children.at(1)->s.children;
        ASSERT_EQ(steps.size(), 10u);
        for (const ArtNode* step : steps) {
            const ArtNode* y = step->s.children.at(0);
            ASSERT_EQ(y->s.children.size(), 1u);
            const ArtNode* outline = y->s.children[0];
            EXPECT_EQ(outline->s.kind, kVtgArtPath);
            VtgRect box{};
            hostapp::doc::Bounds(outline, hostapp::doc::kIdentity, kVtgBoundsControlPoints, box);
            EXPECT_NEAR(box.left, 100, 1e-3);
            EXPECT_NEAR(box.right, 250, 1e-3);
            EXPECT_NEAR(box.bottom, 100, 1e-3);
            EXPECT_NEAR(box.top, 200, 1e-3);
        }
    }
    // The outside style never unites.
    record_.style = 0;
    vtg::sPathfinder = &fake;
    FakeUnite::calls = 0;
    Build(RedSquare("c"), record_);
    vtg::sPathfinder = hostSuite;
    EXPECT_EQ(FakeUnite::calls, 0);
}

// --- shapes, errors and the live object ----------------------------------------------

TEST_F(LiveBorder, CompoundPathsAreStyledAsOneShape) {
    ArtNode* compound = nullptr;
    ASSERT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtCompoundPath, kVtgPlaceInsideOnBottom, nullptr,
                                      compound),
              kNoErr);
    compound->s.style = Style(true, Rgb(1, 0, 0), true, Rgb(0, 0, 0), 4);
    AddSquare("outer", 100, 100, 100, compound)->s.style = compound->s.style;
    AddSquare("hole", 120, 120, 20, compound)->s.style = compound->s.style;
    const std::vector<ArtNode*> band = Band(Build(compound, record_));
    ASSERT_EQ(band.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        const ArtNode* step = band[4 - i];
        ASSERT_EQ(step->s.kind, kVtgArtCompoundPath);
        EXPECT_NEAR(step->s.style.stroke.width, 4 - i, 1e-9) << i;
        ExpectColour(step->s.style.stroke.color, Rgb(i / 4.0, 0, 0), "compound");
        for (const ArtNode* member : step->s.children)
            EXPECT_EQ(std::memcmp(&member->s.style, &step->s.style, sizeof(VtgPathStyle)), 0);
    }
}

TEST_F(LiveBorder, HostErrorsAreReturned) {
    ArtNode* gone = RedSquare("gone");
    const ArtHandle handle = DocStore::handle(gone);
    ASSERT_EQ(hostapp::doc::DeleteArt(gone), kNoErr);
    ArtNode* group = NewGroup();
    EXPECT_EQ(vtg::BuildBorderOutside(DocStore::handle(group), handle, record_), kDeadHandleErr);
    EXPECT_EQ(vtg::BuildBorderInside(DocStore::handle(group), handle, record_), kDeadHandleErr);
    EXPECT_EQ(vtg::StyleStep(handle, 1, 1, 2, false, -1), kDeadHandleErr);
    vtg::BorderMeasure m;
    EXPECT_EQ(vtg::MeasureBorder(handle, 1, true, m), kDeadHandleErr);
    EXPECT_TRUE(group->s.children.empty());
    // The unknown colour kind stops the update with the host's refusal.
    ArtNode* odd = Painted("odd", Style(false, Rgb(1, 0, 0), true, Colour(8), 4));
    ArtNode* result = Build(odd, record_, kBadParameterErr);
    EXPECT_TRUE(Band(result).empty()); // the source copy was removed again
}

TEST_F(LiveBorder, LiveObjectRegeneratesThroughTheHost) {
    ArtNode* square = RedSquare();
    Select({square});
    Apply();
    ArtNode* live = TopLevel().at(0);
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    EXPECT_EQ(Band(live->s.plugin.result).size(), 11u);
    // The source moves; the band follows.
    hostapp::doc::TransformArt(square, {1, 0, 0, 1, 50, 0}, 1, kVtgTransformAll);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    EXPECT_DOUBLE_EQ(Left(Band(live->s.plugin.result).at(5)), 150);
    // Inside, through an update of the selection.
    Select({live});
    record_.style = 1;
    ASSERT_EQ(vtg::UpdateSelectedLiveObjectsOf(vtg::kKindBorder, &record_, 8), kNoErr);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    ASSERT_EQ(live->s.plugin.result->s.children.size(), 1u);
    EXPECT_NE(live->s.plugin.result->s.children[0]->s.attributes & kVtgArtClipping, 0);
    // A saved document regenerates to the same bytes.
    const std::string saved = hostapp::svg::WriteSvgText(*doc_);
    Document* reopened = nullptr;
    hostapp::svg::SvgError error;
    ASSERT_TRUE(hostapp::svg::ReadSvgText(host().docs(), saved, "saved.svg", reopened, error))
        << error.message;
    ArtNode* again = reopened->layers[0]->group->s.children[0];
    again->s.plugin.result->s.children.clear();
    ASSERT_EQ(hostapp::UpdateAllPluginArt(host(), *reopened), kNoErr);
    EXPECT_EQ(hostapp::svg::WriteSvgText(*reopened), saved);
}

TEST_F(LiveBorder, EmptySourceAndUnreadableRecordLeaveTheResultAlone) {
    Select({RedSquare()});
    Apply();
    ArtNode* live = TopLevel().at(0);
    ASSERT_EQ(Band(live->s.plugin.result).size(), 11u);
    // Out of memory while reading the record: the old result stays.
    host().memory().failName("blockData");
    EXPECT_EQ(hostapp::UpdatePluginArt(host(), live), kOutOfMemoryErr);
    host().memory().clearFaults();
    EXPECT_EQ(Band(live->s.plugin.result).size(), 11u);
    // No source at all: an empty result and success.
    ASSERT_EQ(hostapp::doc::DeleteArt(live->s.plugin.edit->s.children.at(0)), kNoErr);
    EXPECT_EQ(hostapp::UpdatePluginArt(host(), live), kNoErr);
    EXPECT_TRUE(live->s.plugin.result->s.children.empty());
}

// The band's copies are saved with the paint the generator gave them; the
// source's gradient stays with the source.
TEST_F(LiveBorder, CopiesOfAGradientFilledSourceAreSavedInTheirOwnPaint) {
    for (int32_t style : {0, 1}) {
        Open("<defs><linearGradient id=\"g\"><stop offset=\"0\" stop-color=\"#f00\"/>"
             "<stop offset=\"1\" stop-color=\"#00f\"/></linearGradient></defs>"
             "<rect id=\"src\" x=\"100\" y=\"100\" width=\"200\" height=\"200\" "
             "fill=\"url(#g)\"/>");
        Select({Named("src")});
        record_.style = style;
        Apply();
        ArtNode* live = TopLevel().at(0);
        ASSERT_EQ(live->s.kind, kVtgArtPlugin);
        // Treated as neither fill nor stroke: white inside a 10-point black band.
        std::vector<ArtNode*> band;
        hostapp::doc::Walk(live->s.plugin.result, false, [&](ArtNode* a) {
            if (a->s.kind == kVtgArtPath && (a->s.attributes & kVtgArtClipping) == 0)
                band.push_back(a);
            return true;
        });
        // Ten steps, and outside the source's fill on top.
        ASSERT_EQ(band.size(), style == 0 ? 11u : 10u) << "style " << style;
        const std::string saved = hostapp::svg::WriteSvgText(*doc_);
        const size_t result = saved.find("vtg:part=\"result\"");
        ASSERT_NE(result, std::string::npos);
        EXPECT_EQ(saved.find("url(#vtg-paint-", result), std::string::npos) << saved;
        EXPECT_NE(saved.find("stroke=\"#000000\"", result), std::string::npos);
        EXPECT_NE(saved.find("fill=\"#ffffff\"", result), std::string::npos);
        // The source keeps its gradient, written as the host's own.
        EXPECT_LT(saved.find("fill=\"url(#vtg-paint-"), result);
        EXPECT_EQ(Named("src")->s.style.fill.color.kind, kVtgColorGradient);
    }
}

// Text is outlined before the band is built: the band follows the glyphs of
// the text's font, and the text stays the live object's source.
TEST_F(LiveBorder, TextIsBorderedByTheOutlinesOfItsGlyphs) {
    Open("<text id=\"t\" x=\"40\" y=\"200\" font-family=\"DejaVu Sans\" "
         "font-size=\"100\" fill=\"#c00000\">Hi</text>");
    Select({Named("t")});
    Apply();
    ArtNode* live = TopLevel().at(0);
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    ASSERT_EQ(live->s.plugin.edit->s.children.size(), 1u);
    EXPECT_EQ(live->s.plugin.edit->s.children[0]->s.kind, kVtgArtTextFrame);
    // A red fill without stroke becomes a 1-point red outline around white:
    // 3 steps from red to white, then the white glyphs on top; each copy is
    // the text's two glyphs.
    const std::vector<ArtNode*> band = Band(live->s.plugin.result);
    ASSERT_EQ(band.size(), 4u);
    for (ArtNode* copy : band) {
        ASSERT_EQ(copy->s.kind, kVtgArtGroup);
        ASSERT_EQ(copy->s.children.size(), 2u); // "H" a path, "i" a compound path
    }
    const VtgPathStyle& widest = band.back()->s.children[0]->s.style;
    EXPECT_EQ(widest.stroke.on, 1);
    EXPECT_EQ(widest.stroke.color.c[0], 0xc0 / 255.0);
    ArtNode* top = band.front();
    VtgRect r{};
    ASSERT_TRUE(hostapp::doc::Bounds(top, hostapp::doc::kIdentity, kVtgBoundsControlPoints, r));
    EXPECT_NEAR(r.bottom, 200, 1e-9); // on the baseline
    EXPECT_GT(r.top, 270);            // the dot of the i, about 0.76 em up
    EXPECT_LT(r.top, 280);
    EXPECT_GT(r.left, 40);
    EXPECT_LT(r.right, 40 + 100);
    // The saved file holds the text as source and the outlines as result.
    const std::string saved = hostapp::svg::WriteSvgText(*doc_);
    EXPECT_NE(saved.find(">Hi</text>"), std::string::npos);
}

// Where outlining cannot be done the update says why and the text stays the
// source: nothing is lost, nothing is reported as made.
TEST_F(LiveBorder, TextThatCannotBeOutlinedFailsWithItsReason) {
    Open("<text id=\"blank\" x=\"40\" y=\"200\" font-family=\"DejaVu Sans\"> </text>");
    Select({Named("blank")});
    ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindBorder, &record_), kNoErr);
    EXPECT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kEmptyTextErr);
    ArtNode* live = TopLevel().at(0);
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    ASSERT_EQ(live->s.plugin.edit->s.children.size(), 1u);
    EXPECT_EQ(live->s.plugin.edit->s.children[0]->s.name, "blank");
    std::vector<ArtNode*> left;
    hostapp::doc::Walk(live->s.plugin.result, false, [&](ArtNode* a) {
        if (a->s.kind != kVtgArtGroup)
            left.push_back(a);
        return true;
    });
    EXPECT_TRUE(left.empty()); // no copy of the text was left behind
}

TEST_F(LiveBorder, ApplySkipsGroupsThatHoldPointText) {
    ArtNode* plainGroup = NewGroup();
    RedSquare("a", 100, plainGroup);
    ArtNode* textGroup = NewGroup();
    ArtNode* inner = NewGroup(textGroup);
    ArtNode* text = nullptr;
    ASSERT_EQ(
        hostapp::doc::CreateArt(*doc_, kVtgArtPointText, kVtgPlaceInsideOnBottom, inner, text),
        kNoErr);
    Select({plainGroup, textGroup});
    Apply();
    const std::vector<ArtNode*> top = TopLevel();
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0]->s.kind, kVtgArtPlugin);
    EXPECT_EQ(top[0]->s.plugin.edit->s.children.at(0), plainGroup);
    EXPECT_EQ(top[1], textGroup);
    // Circle has no such rule.
    vtg::CirclePGParams circle{};
    vtg::SetKindDefaults(vtg::kKindCircle, &circle);
    Select({textGroup});
    ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindCircle, &circle), kNoErr);
    EXPECT_EQ(TopLevel()[1]->s.kind, kVtgArtPlugin);
}

} // namespace
