// text_outline.hpp - the glyph outlines of a text art: its characters shaped
// in the font its SVG attributes name (found through the system's font
// configuration), as closed cubic Bezier contours in document points.
#pragma once

#include <string>
#include <vector>

#include "host/api/vtg_base.h"
#include "host/api/vtg_path_suite.h"
#include "host/doc/document.hpp"

namespace hostapp::svg {

// One closed contour of a glyph.
using Contour = std::vector<PathSegment>;

// The contours of one glyph that shows ink, in the order the font gives them
// (filled by the non-zero rule).
struct GlyphOutline {
    std::vector<Contour> contours;
};

// The outlines of the glyphs of a text art (point text or text frame) in
// reading order. The text's characters, font family, size, weight, style,
// position and anchoring come from its attributes and its content (tspans
// included), as a viewer reads them, looked up on the text, then on the art
// above it, then on the document's root. Errors: kNoFontErr (no font with
// outlines found, or the font file cannot be read), kEmptyTextErr (no
// character shows ink), kBadParameterErr (not a text). `why` says what
// failed in words.
ErrorCode OutlineText(const doc::ArtNode& text, std::vector<GlyphOutline>& glyphs,
                      std::string& why);

// A property of a text as a viewer finds it: its own attribute or style
// declaration, else that of the art above it, else the document root's;
// empty when none sets it.
std::string TextProperty(const doc::ArtNode& text, const std::string& name);

} // namespace hostapp::svg
