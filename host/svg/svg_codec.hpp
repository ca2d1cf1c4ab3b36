// svg_codec.hpp - the text forms of the host's own data in SVG files:
// exact colours, dictionary entries, private data bytes.
#pragma once

#include <cstddef>
#include <cstdint>
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

// The length of the UTF-8 character at `p` (of `n` bytes left) with its
// code point, or 0 for a malformed sequence.
size_t DecodeUtf8(const char* p, size_t n, uint32_t& code);
// Whether a code point is a character XML 1.0 can hold.
bool XmlChar(uint32_t code);
// Whether a text is valid UTF-8 of characters XML 1.0 can hold.
bool XmlText(const std::string& text);

// Escapes a text for an attribute value in double quotes. What XML cannot
// hold (malformed UTF-8, most control characters) becomes U+FFFD.
void AppendEscaped(std::string& out, const std::string& text);

} // namespace hostapp::svg
