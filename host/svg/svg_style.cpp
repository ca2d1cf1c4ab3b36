#include "host/svg/svg_style.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

#include "host/svg/path_data.hpp"

namespace hostapp::svg {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Named {
    const char* name;
    uint32_t rgb;
};

// The named colours of SVG, sorted by name.
constexpr Named kNamed[] = {
    {"aliceblue", 0xF0F8FF},
    {"antiquewhite", 0xFAEBD7},
    {"aqua", 0x00FFFF},
    {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF},
    {"beige", 0xF5F5DC},
    {"bisque", 0xFFE4C4},
    {"black", 0x000000},
    {"blanchedalmond", 0xFFEBCD},
    {"blue", 0x0000FF},
    {"blueviolet", 0x8A2BE2},
    {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887},
    {"cadetblue", 0x5F9EA0},
    {"chartreuse", 0x7FFF00},
    {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50},
    {"cornflowerblue", 0x6495ED},
    {"cornsilk", 0xFFF8DC},
    {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF},
    {"darkblue", 0x00008B},
    {"darkcyan", 0x008B8B},
    {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9},
    {"darkgreen", 0x006400},
    {"darkgrey", 0xA9A9A9},
    {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B},
    {"darkolivegreen", 0x556B2F},
    {"darkorange", 0xFF8C00},
    {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000},
    {"darksalmon", 0xE9967A},
    {"darkseagreen", 0x8FBC8F},
    {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F},
    {"darkslategrey", 0x2F4F4F},
    {"darkturquoise", 0x00CED1},
    {"darkviolet", 0x9400D3},
    {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF},
    {"dimgray", 0x696969},
    {"dimgrey", 0x696969},
    {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222},
    {"floralwhite", 0xFFFAF0},
    {"forestgreen", 0x228B22},
    {"fuchsia", 0xFF00FF},
    {"gainsboro", 0xDCDCDC},
    {"ghostwhite", 0xF8F8FF},
    {"gold", 0xFFD700},
    {"goldenrod", 0xDAA520},
    {"gray", 0x808080},
    {"green", 0x008000},
    {"greenyellow", 0xADFF2F},
    {"grey", 0x808080},
    {"honeydew", 0xF0FFF0},
    {"hotpink", 0xFF69B4},
    {"indianred", 0xCD5C5C},
    {"indigo", 0x4B0082},
    {"ivory", 0xFFFFF0},
    {"khaki", 0xF0E68C},
    {"lavender", 0xE6E6FA},
    {"lavenderblush", 0xFFF0F5},
    {"lawngreen", 0x7CFC00},
    {"lemonchiffon", 0xFFFACD},
    {"lightblue", 0xADD8E6},
    {"lightcoral", 0xF08080},
    {"lightcyan", 0xE0FFFF},
    {"lightgoldenrodyellow", 0xFAFAD2},
    {"lightgray", 0xD3D3D3},
    {"lightgreen", 0x90EE90},
    {"lightgrey", 0xD3D3D3},
    {"lightpink", 0xFFB6C1},
    {"lightsalmon", 0xFFA07A},
    {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA},
    {"lightslategray", 0x778899},
    {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xB0C4DE},
    {"lightyellow", 0xFFFFE0},
    {"lime", 0x00FF00},
    {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6},
    {"magenta", 0xFF00FF},
    {"maroon", 0x800000},
    {"mediumaquamarine", 0x66CDAA},
    {"mediumblue", 0x0000CD},
    {"mediumorchid", 0xBA55D3},
    {"mediumpurple", 0x9370DB},
    {"mediumseagreen", 0x3CB371},
    {"mediumslateblue", 0x7B68EE},
    {"mediumspringgreen", 0x00FA9A},
    {"mediumturquoise", 0x48D1CC},
    {"mediumvioletred", 0xC71585},
    {"midnightblue", 0x191970},
    {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1},
    {"moccasin", 0xFFE4B5},
    {"navajowhite", 0xFFDEAD},
    {"navy", 0x000080},
    {"oldlace", 0xFDF5E6},
    {"olive", 0x808000},
    {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500},
    {"orangered", 0xFF4500},
    {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA},
    {"palegreen", 0x98FB98},
    {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xDB7093},
    {"papayawhip", 0xFFEFD5},
    {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F},
    {"pink", 0xFFC0CB},
    {"plum", 0xDDA0DD},
    {"powderblue", 0xB0E0E6},
    {"purple", 0x800080},
    {"red", 0xFF0000},
    {"rosybrown", 0xBC8F8F},
    {"royalblue", 0x4169E1},
    {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072},
    {"sandybrown", 0xF4A460},
    {"seagreen", 0x2E8B57},
    {"seashell", 0xFFF5EE},
    {"sienna", 0xA0522D},
    {"silver", 0xC0C0C0},
    {"skyblue", 0x87CEEB},
    {"slateblue", 0x6A5ACD},
    {"slategray", 0x708090},
    {"slategrey", 0x708090},
    {"snow", 0xFFFAFA},
    {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4},
    {"tan", 0xD2B48C},
    {"teal", 0x008080},
    {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0},
    {"violet", 0xEE82EE},
    {"wheat", 0xF5DEB3},
    {"white", 0xFFFFFF},
    {"whitesmoke", 0xF5F5F5},
    {"yellow", 0xFFFF00},
    {"yellowgreen", 0x9ACD32},
};

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

int Hex(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

VtgColor Rgb(double r, double g, double b) {
    VtgColor c{};
    c.kind = kVtgColorRGB;
    c.c[0] = r;
    c.c[1] = g;
    c.c[2] = b;
    c.paintMatrix = {1, 0, 0, 1, 0, 0};
    return c;
}

// Reads one number at s[i], after blanks and at most one comma.
bool Number(const std::string& s, size_t& i, double& v) {
    while (i < s.size() && (std::isspace(static_cast<unsigned char>(s[i])) || s[i] == ','))
        ++i;
    size_t j = i;
    if (j < s.size() && (s[j] == '+' || s[j] == '-'))
        ++j;
    bool digits = false;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
        ++j;
        digits = true;
    }
    if (j < s.size() && s[j] == '.') {
        ++j;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            ++j;
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
        size_t k = j + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-'))
            ++k;
        if (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) {
            while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k])))
                ++k;
            j = k;
        }
    }
    const char* first = s.data() + i + (s[i] == '+' ? 1 : 0);
    const auto r = std::from_chars(first, s.data() + j, v);
    if (r.ec != std::errc() || !std::isfinite(v) || std::fabs(v) > kMaxCoordinate)
        return false;
    i = j;
    return true;
}

VtgMatrix Mul(const VtgMatrix& f, const VtgMatrix& s) { // f then s
    return {f.a * s.a + f.b * s.c, f.a * s.b + f.b * s.d,          f.c * s.a + f.d * s.c,
            f.c * s.b + f.d * s.d, f.tx * s.a + f.ty * s.c + s.tx, f.tx * s.b + f.ty * s.d + s.ty};
}

} // namespace

std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

bool ParsePaint(const std::string& raw, PaintKind& kind, VtgColor& color) {
    const std::string t = Trim(raw);
    const std::string l = Lower(t);
    if (l == "none") {
        kind = PaintKind::None;
        return true;
    }
    if (l == "currentcolor") {
        kind = PaintKind::CurrentColor;
        return true;
    }
    if (l.rfind("url(", 0) == 0) {
        kind = PaintKind::Url;
        return true;
    }
    kind = PaintKind::Color;
    if (!t.empty() && t[0] == '#') {
        std::vector<int> d;
        for (size_t i = 1; i < t.size(); ++i) {
            const int h = Hex(t[i]);
            if (h < 0)
                return false;
            d.push_back(h);
        }
        if (d.size() == 3) {
            color = Rgb(d[0] * 17 / 255.0, d[1] * 17 / 255.0, d[2] * 17 / 255.0);
            return true;
        }
        if (d.size() == 6) {
            color = Rgb((d[0] * 16 + d[1]) / 255.0, (d[2] * 16 + d[3]) / 255.0,
                        (d[4] * 16 + d[5]) / 255.0);
            return true;
        }
        return false;
    }
    if (l.rfind("rgb(", 0) == 0 && l.back() == ')') {
        const std::string inner = t.substr(4, t.size() - 5);
        double v[3];
        size_t i = 0;
        for (double& x : v) {
            if (!Number(inner, i, x))
                return false;
            if (i < inner.size() && inner[i] == '%') {
                x = x * 255.0 / 100.0;
                ++i;
            }
            x = std::clamp(x, 0.0, 255.0);
        }
        if (!Trim(inner.substr(i)).empty())
            return false;
        color = Rgb(v[0] / 255.0, v[1] / 255.0, v[2] / 255.0);
        return true;
    }
    const auto it = std::lower_bound(
        std::begin(kNamed), std::end(kNamed), l,
        [](const Named& n, const std::string& k) { return std::strcmp(n.name, k.c_str()) < 0; });
    if (it == std::end(kNamed) || l != it->name)
        return false;
    color = Rgb(((it->rgb >> 16) & 0xFF) / 255.0, ((it->rgb >> 8) & 0xFF) / 255.0,
                (it->rgb & 0xFF) / 255.0);
    return true;
}

bool ParseTransform(const std::string& s, VtgMatrix& out, size_t& offset, std::string& why) {
    out = {1, 0, 0, 1, 0, 0};
    size_t i = 0;
    while (true) {
        while (i < s.size() && (std::isspace(static_cast<unsigned char>(s[i])) || s[i] == ','))
            ++i;
        if (i >= s.size())
            return true;
        const size_t start = i;
        while (i < s.size() && std::isalpha(static_cast<unsigned char>(s[i])))
            ++i;
        const std::string name = s.substr(start, i - start);
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
            ++i;
        if (i >= s.size() || s[i] != '(') {
            offset = start;
            why = name.empty() ? "a transform name was expected" : "'(' was expected";
            return false;
        }
        ++i;
        std::vector<double> a;
        double v = 0;
        while (Number(s, i, v))
            a.push_back(v);
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
            ++i;
        if (i >= s.size() || s[i] != ')') {
            offset = i;
            why = "')' or a number was expected";
            return false;
        }
        ++i;
        VtgMatrix m{1, 0, 0, 1, 0, 0};
        const size_t n = a.size();
        bool ok = true;
        if (name == "matrix") {
            ok = n == 6;
            if (ok)
                m = {a[0], a[1], a[2], a[3], a[4], a[5]};
        } else if (name == "translate") {
            ok = n == 1 || n == 2;
            if (ok)
                m = {1, 0, 0, 1, a[0], n == 2 ? a[1] : 0};
        } else if (name == "scale") {
            ok = n == 1 || n == 2;
            if (ok)
                m = {a[0], 0, 0, n == 2 ? a[1] : a[0], 0, 0};
        } else if (name == "rotate") {
            ok = n == 1 || n == 3;
            if (ok) {
                const double r = a[0] * kPi / 180.0;
                const double c = std::cos(r), sn = std::sin(r);
                m = {c, sn, -sn, c, 0, 0};
                if (n == 3) // about (cx, cy): translate(c) rotate translate(-c)
                    m = Mul(Mul({1, 0, 0, 1, -a[1], -a[2]}, m), {1, 0, 0, 1, a[1], a[2]});
            }
        } else if (name == "skewX") {
            ok = n == 1;
            if (ok)
                m = {1, 0, std::tan(a[0] * kPi / 180.0), 1, 0, 0};
        } else if (name == "skewY") {
            ok = n == 1;
            if (ok)
                m = {1, std::tan(a[0] * kPi / 180.0), 0, 1, 0, 0};
        } else {
            offset = start;
            why = "unknown transform '" + name + "'";
            return false;
        }
        if (!ok) {
            offset = start;
            why = "wrong number of arguments to " + name;
            return false;
        }
        // Later items apply first: out = m then out.
        out = Mul(m, out);
    }
}

bool ParseLength(const std::string& raw, double& out) {
    const std::string t = Trim(raw);
    size_t i = 0;
    double v = 0;
    if (!Number(t, i, v))
        return false;
    const std::string unit = Lower(Trim(t.substr(i)));
    double k = 1;
    if (unit.empty() || unit == "px")
        k = 1;
    else if (unit == "pt")
        k = 4.0 / 3.0;
    else if (unit == "pc")
        k = 16;
    else if (unit == "in")
        k = 96;
    else if (unit == "cm")
        k = 96 / 2.54;
    else if (unit == "mm")
        k = 96 / 25.4;
    else
        return false;
    out = v * k;
    return true;
}

bool ParseNumberList(const std::string& raw, std::vector<double>& out) {
    out.clear();
    const std::string t = Trim(raw);
    if (t == "none")
        return true;
    size_t i = 0;
    double v = 0;
    while (Number(t, i, v))
        out.push_back(v);
    return Trim(t.substr(std::min(i, t.size()))).empty();
}

std::vector<std::pair<std::string, std::string>> ParseStyleAttribute(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> out;
    size_t i = 0;
    while (i < text.size()) {
        size_t semi = text.find(';', i);
        if (semi == std::string::npos)
            semi = text.size();
        const std::string item = text.substr(i, semi - i);
        const size_t colon = item.find(':');
        if (colon != std::string::npos) {
            std::string k = Trim(item.substr(0, colon)), v = Trim(item.substr(colon + 1));
            if (!k.empty())
                out.emplace_back(std::move(k), std::move(v));
        }
        i = semi + 1;
    }
    return out;
}

std::string HexColor(double r, double g, double b) {
    static const char* d = "0123456789abcdef";
    std::string s = "#";
    for (double v : {r, g, b}) {
        const int x = static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
        s.push_back(d[x >> 4]);
        s.push_back(d[x & 15]);
    }
    return s;
}

} // namespace hostapp::svg
