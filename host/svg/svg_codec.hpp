// svg_codec.hpp - the text forms of the host's own data in SVG files:
// exact colours, dictionary entries, private data bytes.
#pragma once

#include <string>
#include <vector>

#include <pugixml.hpp>

#include "host/doc/document.hpp"

namespace hostapp::svg {

VtgColor RgbColor(double r, double g, double b);
VtgColor NoColor();

// "KIND C0 C1 C2 C3 TINT SPOTKIND|SPOTNAME" with numbers exact to the bit
// (17 significant digits), so that a colour reopens as it was.
std::string EncodeColor(const VtgColor& c);
bool DecodeColor(const std::string& text, VtgColor& c);

// The display colour of any plain colour, as RGB components 0..1.
void DisplayRgb(const VtgColor& c, double rgb[3]);

// A real with 17 significant digits (reads back bit for bit).
std::string ExactNumber(double v);

// <vtg:entry key="K" type="integer|boolean|real|string" value="V"/>
bool ReadEntry(pugi::xml_node e, std::string& key, doc::Entry& entry);
void AppendEntry(std::string& out, const std::string& key, const doc::Entry& entry);

std::string Base64Encode(const std::vector<uint8_t>& data);
bool Base64Decode(const std::string& text, std::vector<uint8_t>& out);

// Escapes a text for an attribute value in double quotes.
void AppendEscaped(std::string& out, const std::string& text);

} // namespace hostapp::svg
