#include "host/svg/svg_codec.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <sstream>

namespace hostapp::svg {

VtgColor RgbColor(double r, double g, double b) {
    VtgColor c{};
    c.kind = kVtgColorRGB;
    c.c[0] = r;
    c.c[1] = g;
    c.c[2] = b;
    c.paintMatrix = doc::kIdentity;
    return c;
}

VtgColor NoColor() {
    VtgColor c{};
    c.kind = kVtgColorNone;
    c.paintMatrix = doc::kIdentity;
    return c;
}

std::string ExactNumber(double v) {
    if (!std::isfinite(v))
        v = 0; // the writer refuses such values before they get here
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v); // shortest exact form
    return std::string(buf, r.ptr);
}

std::string EncodeColor(const VtgColor& c) {
    std::string s = std::to_string(c.kind);
    for (double v : {c.c[0], c.c[1], c.c[2], c.c[3], c.tint})
        s += " " + ExactNumber(v);
    s += " " + std::to_string(c.spotKind);
    s += "|";
    s += std::string(c.spotName, strnlen(c.spotName, sizeof c.spotName));
    return s;
}

bool DecodeColor(const std::string& text, VtgColor& c) {
    const size_t bar = text.find('|');
    std::istringstream in(text.substr(0, bar));
    VtgColor out = NoColor();
    if (!(in >> out.kind >> out.c[0] >> out.c[1] >> out.c[2] >> out.c[3] >> out.tint >>
          out.spotKind))
        return false;
    if (out.kind < kVtgColorGray || out.kind > kVtgColorNone || out.kind == kVtgColorGradient ||
        out.kind == kVtgColorPattern)
        return false;
    for (double v : out.c)
        if (!std::isfinite(v))
            return false;
    if (bar != std::string::npos) {
        std::string name = text.substr(bar + 1);
        size_t n = std::min(name.size(), sizeof out.spotName - 1);
        while (n > 0 && n < name.size() && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80)
            --n; // cut on a character boundary
        std::memcpy(out.spotName, name.data(), n);
        out.spotName[n] = '\0';
    }
    c = out;
    return true;
}

void DisplayRgb(const VtgColor& c, double rgb[3]) {
    switch (c.kind) {
    case kVtgColorGray:
        rgb[0] = rgb[1] = rgb[2] = 1 - c.c[0];
        return;
    case kVtgColorProcess:
        for (int i = 0; i < 3; ++i)
            rgb[i] = (1 - c.c[i]) * (1 - c.c[3]);
        return;
    case kVtgColorSpot: {
        VtgColor p = c;
        p.kind = c.spotKind == kVtgColorRGB ? kVtgColorRGB : kVtgColorProcess;
        const double keep = 1 - std::clamp(c.tint, 0.0, 1.0);
        for (int i = 0; i < 4; ++i)
            p.c[i] = p.kind == kVtgColorRGB ? 1 - (1 - c.c[i]) * keep : c.c[i] * keep;
        DisplayRgb(p, rgb);
        return;
    }
    case kVtgColorRGB:
        for (int i = 0; i < 3; ++i)
            rgb[i] = c.c[i];
        return;
    default:
        rgb[0] = rgb[1] = rgb[2] = 0;
    }
}

bool ReadEntry(pugi::xml_node e, std::string& key, doc::Entry& entry) {
    key = e.attribute("key").value();
    const std::string type = e.attribute("type").value();
    const std::string value = e.attribute("value").value();
    entry = {};
    if (key.empty())
        return false;
    if (type == "string") {
        entry.type = kVtgEntryString;
        entry.text = value;
        return true;
    }
    if (type == "real") {
        entry.type = kVtgEntryReal;
        const auto r = std::from_chars(value.data(), value.data() + value.size(), entry.real);
        return r.ec == std::errc() && r.ptr == value.data() + value.size() &&
               std::isfinite(entry.real);
    }
    if (type == "integer" || type == "boolean") {
        entry.type = type == "integer" ? kVtgEntryInteger : kVtgEntryBoolean;
        const auto r = std::from_chars(value.data(), value.data() + value.size(), entry.integer);
        if (entry.type == kVtgEntryBoolean)
            entry.integer = entry.integer != 0 ? 1 : 0;
        return r.ec == std::errc() && r.ptr == value.data() + value.size();
    }
    return false;
}

void AppendEntry(std::string& out, const std::string& key, const doc::Entry& entry) {
    out += "<vtg:entry key=\"";
    AppendEscaped(out, key);
    out += "\" type=\"";
    switch (entry.type) {
    case kVtgEntryInteger:
        out += "integer\" value=\"" + std::to_string(entry.integer);
        break;
    case kVtgEntryBoolean:
        out += "boolean\" value=\"" + std::to_string(entry.integer);
        break;
    case kVtgEntryReal:
        out += "real\" value=\"" + ExactNumber(entry.real);
        break;
    default:
        out += "string\" value=\"";
        AppendEscaped(out, entry.text);
        break;
    }
    out += "\"/>";
}

namespace {
constexpr char kB64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

std::string Base64Encode(const std::vector<uint8_t>& d) {
    std::string s;
    s.reserve((d.size() + 2) / 3 * 4);
    for (size_t i = 0; i < d.size(); i += 3) {
        const uint32_t v = (static_cast<uint32_t>(d[i]) << 16) |
                           (i + 1 < d.size() ? static_cast<uint32_t>(d[i + 1]) << 8 : 0) |
                           (i + 2 < d.size() ? d[i + 2] : 0);
        s.push_back(kB64[(v >> 18) & 63]);
        s.push_back(kB64[(v >> 12) & 63]);
        s.push_back(i + 1 < d.size() ? kB64[(v >> 6) & 63] : '=');
        s.push_back(i + 2 < d.size() ? kB64[v & 63] : '=');
    }
    return s;
}

bool Base64Decode(const std::string& t, std::vector<uint8_t>& out) {
    out.clear();
    uint32_t v = 0;
    int bits = 0;
    size_t pad = 0;
    for (char c : t) {
        if (c == '=') {
            ++pad;
            continue;
        }
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
            continue;
        const char* p = std::strchr(kB64, c);
        if (p == nullptr || c == '\0' || pad != 0)
            return false;
        v = (v << 6) | static_cast<uint32_t>(p - kB64);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<uint8_t>((v >> bits) & 0xFF));
        }
    }
    return pad <= 2;
}

size_t DecodeUtf8(const char* p, size_t n, uint32_t& code) {
    const auto b = [&](size_t i) { return static_cast<unsigned char>(p[i]); };
    if (n == 0)
        return 0;
    const unsigned char c = b(0);
    if (c < 0x80) {
        code = c;
        return 1;
    }
    size_t len = 0;
    uint32_t min = 0;
    if ((c & 0xE0) == 0xC0) {
        len = 2;
        code = c & 0x1F;
        min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3;
        code = c & 0x0F;
        min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4;
        code = c & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (n < len)
        return 0;
    for (size_t i = 1; i < len; ++i) {
        if ((b(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (b(i) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0; // overlong, beyond Unicode, or a surrogate
    return len;
}

bool XmlChar(uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool XmlText(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) >= 0x20 &&
            static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        uint32_t code = 0;
        const size_t len = DecodeUtf8(text.data() + i, text.size() - i, code);
        if (len == 0 || !XmlChar(code))
            return false;
        i += len;
    }
    return true;
}

void AppendEscaped(std::string& out, const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) >= 0x80 ||
            (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\r' && c != '\t')) {
            uint32_t code = 0;
            const size_t len = DecodeUtf8(text.data() + i, text.size() - i, code);
            if (len > 0 && XmlChar(code))
                out.append(text, i, len);
            else
                out += "\xEF\xBF\xBD"; // U+FFFD
            if (len > 0)
                i += len - 1;
            continue;
        }
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        case '\t':
            out += "&#9;";
            break;
        default:
            out.push_back(c);
        }
    }
}

} // namespace hostapp::svg
