// svg_style.hpp - SVG values: colours, transforms, lengths and the
// "style" attribute.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/api/vtg_math_suite.h"
#include "host/api/vtg_paint_style_suite.h"

namespace hostapp::svg {

enum class PaintKind { Color, None, CurrentColor, Url };

// Parses a paint: "none", "currentColor", "url(...)", "#rgb", "#rrggbb",
// "rgb(r, g, b)" (numbers or percentages) or a named colour. A colour comes
// back as kVtgColorRGB. False for anything else.
bool ParsePaint(const std::string& text, PaintKind& kind, VtgColor& color);

// Parses a transform list (matrix, translate, scale, rotate, skewX, skewY);
// the result applies the first item last, as SVG nests them. On failure
// `offset` is the character where the fault lies.
bool ParseTransform(const std::string& text, VtgMatrix& out, size_t& offset, std::string& why);

// Parses a length with an optional unit (px, pt, pc, in, cm, mm) into user
// units (px). Percentages and em units are refused.
bool ParseLength(const std::string& text, double& out);

// Parses a number list separated by blanks and commas ("none" is empty).
bool ParseNumberList(const std::string& text, std::vector<double>& out);

// Splits "a: b; c: d" into trimmed pairs.
std::vector<std::pair<std::string, std::string>> ParseStyleAttribute(const std::string& text);

// "#rrggbb" of an RGB colour (components clamped to 0..1).
std::string HexColor(double r, double g, double b);

std::string Trim(const std::string& s);

} // namespace hostapp::svg
