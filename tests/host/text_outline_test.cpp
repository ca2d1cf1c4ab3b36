// Text to outlines: glyph outlines of an installed font placed as a viewer
// places the text (position, size, anchoring, spans, transforms, blanks),
// and the art converter that puts them in the text's place or refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/api/vtg_art_converter_suite.h"
#include "host/doc/art.hpp"
#include "host/svg/svg.hpp"
#include "host/svg/text_outline.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using hostapp::svg::GlyphOutline;

// The tests name a font the build installs.
constexpr const char* kFont = "font-family=\"DejaVu Sans\" ";

struct Box {
    double left = 1e300, bottom = 1e300, right = -1e300, top = -1e300;
    double width() const { return right - left; }
    double height() const { return top - bottom; }
};

Box BoundsOf(const std::vector<GlyphOutline>& glyphs) {
    Box b;
    for (const GlyphOutline& g : glyphs)
        for (const auto& c : g.contours)
            for (const PathSegment& s : c) {
                b.left = std::min(b.left, s.anchor.x);
                b.right = std::max(b.right, s.anchor.x);
                b.bottom = std::min(b.bottom, s.anchor.y);
                b.top = std::max(b.top, s.anchor.y);
            }
    return b;
}

ArtNode* FirstText(Document& d) {
    ArtNode* found = nullptr;
    for (auto* l : d.layers)
        hostapp::doc::Walk(l->group, true, [&](ArtNode* a) {
            if (found == nullptr &&
                (a->s.kind == kVtgArtTextFrame || a->s.kind == kVtgArtPointText))
                found = a;
            return found == nullptr;
        });
    return found;
}

// The outlines of the first text of a 400 x 400 document with this body.
ErrorCode Outline(DocStore& store, const std::string& body, std::vector<GlyphOutline>& glyphs,
                  std::string& why) {
    Document* d = nullptr;
    hostapp::svg::SvgError err;
    const std::string text =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 400 400\">" + body + "</svg>";
    EXPECT_TRUE(hostapp::svg::ReadSvgText(store, text, "t.svg", d, err)) << err.message;
    ArtNode* t = d != nullptr ? FirstText(*d) : nullptr;
    if (t == nullptr)
        return kNotFoundErr;
    return hostapp::svg::OutlineText(*t, glyphs, why);
}

Box Bounds(const std::string& body, size_t* glyphCount = nullptr) {
    DocStore store;
    std::vector<GlyphOutline> glyphs;
    std::string why;
    EXPECT_EQ(Outline(store, body, glyphs, why), kNoErr) << body << ": " << why;
    if (glyphCount != nullptr)
        *glyphCount = glyphs.size();
    return BoundsOf(glyphs);
}

std::string Text(const std::string& attributes, const std::string& content) {
    return "<text " + std::string(kFont) + attributes + ">" + content + "</text>";
}

TEST(TextOutline, GlyphsStandOnTheBaselineAtTheTextsPositionAndSize) {
    // y = 100 in the file is 300 in the document (y up).
    size_t count = 0;
    const Box h = Bounds(Text("x=\"10\" y=\"100\" font-size=\"100\"", "H"), &count);
    EXPECT_EQ(count, 1u);
    EXPECT_NEAR(h.bottom, 300, 1e-9);
    EXPECT_GT(h.height(), 70); // a capital is about 0.73 em high
    EXPECT_LT(h.height(), 76);
    EXPECT_GT(h.left, 10);
    EXPECT_LT(h.left, 20);
    // Half the size, half the glyph, from the same baseline point.
    const Box small = Bounds(Text("x=\"10\" y=\"100\" font-size=\"50\"", "H"));
    EXPECT_NEAR(small.height() * 2, h.height(), 1e-9);
    EXPECT_NEAR((small.left - 10) * 2, h.left - 10, 1e-9);
    // Transforms above the text move its outlines.
    const Box moved = Bounds("<g transform=\"translate(5 7)\">" +
                             Text("x=\"10\" y=\"100\" font-size=\"100\"", "H") + "</g>");
    EXPECT_NEAR(moved.left, h.left + 5, 1e-9);
    EXPECT_NEAR(moved.bottom, h.bottom - 7, 1e-9);
    // Blanks at the ends and runs of blanks count as a viewer counts them.
    size_t glyphs = 0;
    const Box spaced =
        Bounds(Text("x=\"10\" y=\"100\" font-size=\"100\"", "\n  H \t H  "), &glyphs);
    EXPECT_EQ(glyphs, 2u);
    EXPECT_NEAR(spaced.left, h.left, 1e-9);
    // The font size handed down by a group counts.
    const Box inherited = Bounds("<g font-size=\"50\">" + Text("x=\"10\" y=\"100\"", "H") + "</g>");
    EXPECT_NEAR(inherited.height(), small.height(), 1e-9);
}

TEST(TextOutline, AnchorsSpansAndFamiliesPlaceTheGlyphs) {
    const std::string at = "y=\"100\" font-size=\"40\" ";
    const Box start = Bounds(Text(at + "x=\"200\"", "Wave"));
    const Box middle = Bounds(Text(at + "x=\"200\" text-anchor=\"middle\"", "Wave"));
    const Box end = Bounds(Text(at + "x=\"200\" style=\"text-anchor:end\"", "Wave"));
    EXPECT_GT(start.left, 199);
    EXPECT_LT(end.right, 201);
    EXPECT_NEAR(middle.left, (start.left + end.left) / 2, 1e-9);
    EXPECT_NEAR(start.width(), end.width(), 1e-9);
    // A span with its own position starts there; one with its own size
    // changes the size from there on.
    const Box span = Bounds(Text(at + "x=\"10\"", "H<tspan x=\"300\">H</tspan>"));
    EXPECT_LT(span.left, 20);
    EXPECT_GT(span.right, 300);
    EXPECT_LT(span.right, 340);
    const Box one = Bounds(Text(at + "x=\"10\"", "H"));
    const Box big = Bounds(Text(at + "x=\"10\"", "H<tspan font-size=\"80\">H</tspan>"));
    EXPECT_NEAR(big.height(), one.height() * 2, 1e-9);
    EXPECT_NEAR(big.bottom, one.bottom, 1e-9);
    // Another family gives other outlines.
    DocStore store;
    std::vector<GlyphOutline> sans, serif;
    std::string why;
    ASSERT_EQ(Outline(store, Text(at, "R"), sans, why), kNoErr) << why;
    ASSERT_EQ(Outline(store, "<text font-family=\"'DejaVu Serif', serif\" " + at + ">R</text>",
                      serif, why),
              kNoErr)
        << why;
    ASSERT_EQ(sans.size(), 1u);
    ASSERT_EQ(serif.size(), 1u);
    EXPECT_NE(sans[0].contours[0].size(), serif[0].contours[0].size());
    // Text made without markup: its characters alone, black as a viewer
    // draws text by default.
    Document* d = store.newDocument(400, 400);
    ArtNode* made = nullptr;
    ASSERT_EQ(hostapp::doc::CreateArt(*d, kVtgArtPointText, kVtgPlaceInsideOnBottom, nullptr, made),
              kNoErr);
    made->s.text = "R&R";
    made->s.extra = {{"font-family", "DejaVu Sans"}};
    std::vector<GlyphOutline> plain;
    ASSERT_EQ(hostapp::svg::OutlineText(*made, plain, why), kNoErr) << why;
    EXPECT_EQ(plain.size(), 3u);
    EXPECT_EQ(made->s.style.fill.on, 1);
    EXPECT_EQ(made->s.style.fill.color.kind, kVtgColorRGB);
}

TEST(TextOutline, TextWithoutInkOrWithoutFontsIsRefusedWithItsReason) {
    struct Case {
        const char* body;
        ErrorCode code;
        const char* why;
    } cases[] = {
        {"<text x=\"1\" y=\"9\"></text>", kEmptyTextErr, "empty"},
        {"<text x=\"1\" y=\"9\">  \n </text>", kEmptyTextErr, "empty"},
        {"<text x=\"1\" y=\"9\"> <tspan> </tspan></text>", kEmptyTextErr, "empty"},
        {"<text x=\"1\" y=\"9\">&#xA0;&#x2003;</text>", kEmptyTextErr, "blanks"},
    };
    for (const Case& c : cases) {
        DocStore store;
        std::vector<GlyphOutline> glyphs;
        std::string why;
        EXPECT_EQ(Outline(store, c.body, glyphs, why), c.code) << c.body;
        EXPECT_NE(why.find(c.why), std::string::npos) << c.body << ": " << why;
        EXPECT_TRUE(glyphs.empty());
    }
    // A font configuration without fonts: nothing to outline with.
    const auto dir = std::filesystem::temp_directory_path() / "vtg_no_fonts";
    std::filesystem::create_directories(dir);
    const std::string conf = (dir / "fonts.conf").string();
    std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" << dir.string()
                        << "</cachedir></fontconfig>\n";
    const char* before = std::getenv("FONTCONFIG_FILE");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("FONTCONFIG_FILE", conf.c_str(), 1);
    DocStore store;
    std::vector<GlyphOutline> glyphs;
    std::string why;
    EXPECT_EQ(Outline(store, Text("x=\"1\" y=\"9\"", "Hi"), glyphs, why), kNoFontErr);
    EXPECT_NE(why.find("no font found for \"DejaVu Sans\""), std::string::npos) << why;
    if (before != nullptr)
        ::setenv("FONTCONFIG_FILE", saved.c_str(), 1);
    else
        ::unsetenv("FONTCONFIG_FILE");
    std::filesystem::remove_all(dir);
    EXPECT_EQ(Outline(store, Text("x=\"1\" y=\"9\"", "Hi"), glyphs, why), kNoErr) << why;
}

} // namespace
