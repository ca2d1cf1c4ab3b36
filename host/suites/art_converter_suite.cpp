// The optional art converter suite: art into plain paths, text into the
// outlines of its glyphs.
#include <string>
#include <utility>
#include <vector>

#include "host/api/vtg_art_converter_suite.h"
#include "host/suites/doc_helpers.hpp"
#include "host/suites/suites.hpp"
#include "host/svg/svg_style.hpp"
#include "host/svg/text_outline.hpp"

namespace hostapp {
namespace {

using doc::ArtNode;

bool IsText(const ArtNode* a) {
    return a->s.kind == kVtgArtPointText || a->s.kind == kVtgArtTextFrame;
}

// The texts at or below `art`, front to back (live objects are not entered:
// their result is what they show).
void TextsIn(ArtNode* art, std::vector<ArtNode*>& out) {
    doc::Walk(art, false, [&](ArtNode* a) {
        if (IsText(a))
            out.push_back(a);
        return a->s.kind == kVtgArtGroup || a->s.kind == kVtgArtCompoundPath;
    });
}

// The paint of the outlines: the text's own, with a gradient or pattern the
// file names kept as written.
void PaintOutline(const ArtNode& text, ArtNode* path) {
    path->s.style = text.s.style;
    path->s.style.fill.evenOdd = 0; // glyph outlines fill by the non-zero rule
    path->s.style.clip = 0;
    const auto fileRef = [&](const VtgColor& c) {
        return c.gradient == nullptr && c.pattern == nullptr;
    };
    for (const char* name : {"fill", "stroke"}) {
        const VtgFillStyle& fill = path->s.style.fill;
        const VtgStrokeStyle& stroke = path->s.style.stroke;
        const bool isFill = name[0] == 'f';
        const int32_t on = isFill ? fill.on : stroke.on;
        const VtgColor& c = isFill ? fill.color : stroke.color;
        if (on == 0 || (c.kind != kVtgColorGradient && c.kind != kVtgColorPattern) || !fileRef(c))
            continue;
        svg::PaintKind kind;
        VtgColor parsed{};
        const std::string value = svg::TextProperty(text, name);
        if (svg::ParsePaint(value, kind, parsed) && kind == svg::PaintKind::Url)
            path->s.extra.emplace_back(name, value);
    }
    for (const char* name : {"fill-opacity", "stroke-opacity"})
        if (std::string v = svg::TextProperty(text, name); !v.empty() && v != "1")
            path->s.extra.emplace_back(name, v);
}

// Adds one contour as a path at the bottom of `container`.
ErrorCode AddContour(doc::Document& d, ArtNode* container, const ArtNode& text,
                     svg::Contour& contour, bool clip) {
    ArtNode* path = nullptr;
    if (ErrorCode e = doc::CreateArt(d, kVtgArtPath, kVtgPlaceInsideOnBottom, container, path))
        return e;
    path->s.segments = std::move(contour);
    path->s.closed = true;
    PaintOutline(text, path);
    path->s.style.clip = clip ? 1 : 0;
    return kNoErr;
}

// Puts the outlines in the text's place: a group of one path or compound
// path per glyph, or, for a clipping text, one compound path that clips.
ErrorCode ReplaceText(ArtNode* text, std::vector<svg::GlyphOutline>& glyphs, ArtNode*& out) {
    doc::Document& d = *text->document;
    const bool clip = (text->s.attributes & kVtgArtClipping) != 0;
    ArtNode* top = nullptr;
    if (ErrorCode e =
            doc::CreateArt(d, clip ? kVtgArtCompoundPath : kVtgArtGroup, kVtgPlaceAbove, text, top))
        return e;
    top->s.name = text->s.name;
    top->s.opacity = text->s.opacity;
    top->s.attributes = text->s.attributes & (kVtgArtHidden | kVtgArtLocked | kVtgArtClipping);
    if (clip) {
        PaintOutline(*text, top);
        top->s.style.clip = 1;
    }
    for (svg::GlyphOutline& g : glyphs) {
        ArtNode* into = top;
        if (!clip && g.contours.size() > 1) {
            if (ErrorCode e =
                    doc::CreateArt(d, kVtgArtCompoundPath, kVtgPlaceInsideOnBottom, top, into))
                return e;
            PaintOutline(*text, into);
        }
        for (svg::Contour& c : g.contours)
            if (ErrorCode e = AddContour(d, into, *text, c, clip))
                return e;
    }
    if (ErrorCode e = doc::DeleteArt(text))
        return e;
    out = top;
    return kNoErr;
}

ErrorCode ConvertToPaths(ArtHandle art, ArtHandle* converted) {
    if (converted == nullptr)
        return kBadParameterErr;
    *converted = art;
    ArtNode* a = nullptr;
    if (ErrorCode e = docsuite::Art(art, a))
        return e;
    std::vector<ArtNode*> texts;
    TextsIn(a, texts);
    // Every text is outlined before any art changes: a failure changes nothing.
    std::vector<std::vector<svg::GlyphOutline>> outlines(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        std::string why;
        if (ErrorCode e = svg::OutlineText(*texts[i], outlines[i], why)) {
            if (Host* host = Host::current())
                host->log("text " +
                          (texts[i]->s.name.empty() ? std::string("(unnamed)")
                                                    : "\"" + texts[i]->s.name + "\"") +
                          " cannot be outlined: " + why);
            return e;
        }
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        ArtNode* replaced = nullptr;
        if (ErrorCode e = ReplaceText(texts[i], outlines[i], replaced))
            return e;
        if (texts[i] == a)
            *converted = doc::DocStore::handle(replaced);
    }
    return kNoErr;
}

const ArtConverterSuite kArtConverter = {&ConvertToPaths};

} // namespace

void PublishArtConverterSuite(SuiteBroker& broker) {
    broker.publish(kArtConverterSuiteName, kArtConverterSuiteVersion, &kArtConverter);
}

} // namespace hostapp
