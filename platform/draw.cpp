#include "platform/draw.hpp"

#include <algorithm>
#include <cstdio>

#include "platform/resources.hpp"

namespace platform {

void DrawContext::Line(Point from, Point to) {
    DrawOp op;
    op.kind = DrawOp::Kind::Line;
    op.from = from;
    op.to = to;
    op.penWidth = penWidth_;
    op.penColor = penColor_;
    ops_.push_back(op);
}

void DrawContext::FillRect(Rect rect, Color color) {
    DrawOp op;
    op.kind = DrawOp::Kind::FillRect;
    op.rect = rect;
    op.color = color;
    ops_.push_back(op);
}

void DrawContext::FrameRect(Rect rect, Color color) {
    DrawOp op;
    op.kind = DrawOp::Kind::FrameRect;
    op.rect = rect;
    op.color = color;
    ops_.push_back(op);
}

void DrawContext::DrawEdge(Rect rect, bool sunken) {
    DrawOp op;
    op.kind = DrawOp::Kind::Edge;
    op.rect = rect;
    op.sunken = sunken;
    ops_.push_back(op);
}

void DrawContext::Ellipse(Rect rect) {
    DrawOp op;
    op.kind = DrawOp::Kind::Ellipse;
    op.rect = rect;
    op.penWidth = penWidth_;
    op.penColor = penColor_;
    op.brushColor = brushColor_;
    op.hasBrush = hasBrush_;
    ops_.push_back(op);
}

void DrawContext::Text(Rect rect, const std::string& text, Color color, bool centred) {
    DrawOp op;
    op.centred = centred;
    op.kind = DrawOp::Kind::Text;
    op.rect = rect;
    op.text = text;
    op.color = color;
    ops_.push_back(op);
}

void DrawContext::StretchBitmap(int bitmapId, Rect rect, bool halftone) {
    DrawOp op;
    op.kind = DrawOp::Kind::Bitmap;
    op.rect = rect;
    op.bitmapId = bitmapId;
    op.halftone = halftone;
    ops_.push_back(op);
}

void DrawContext::ClearIcon() {
    DrawOp op;
    op.kind = DrawOp::Kind::ClearIcon;
    ops_.push_back(op);
}

std::string ColorText(Color c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
    return text;
}

namespace {

// The code point at text[i] and its length in bytes; length 0 for a byte
// that does not start a valid UTF-8 sequence (overlong forms, surrogates
// and values beyond U+10FFFF included).
char32_t DecodeUtf8(const std::string& text, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b = byte(i);
    length = 0;
    if (b < 0x80) {
        length = 1;
        return b;
    }
    std::size_t n = 0;
    char32_t c = 0;
    if ((b & 0xE0) == 0xC0) {
        n = 2;
        c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        n = 3;
        c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        n = 4;
        c = b & 0x07;
    } else {
        return 0;
    }
    if (i + n > text.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    length = n;
    return c;
}

bool XmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool FullWidth(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
}

int CharWidth(char32_t c) {
    return c < 0x80 ? 6 : (FullWidth(c) ? 11 : 7);
}

// Wraps one line (no new line in it) into `lines`.
void WrapLine(const std::string& line, int width, std::vector<std::string>& lines) {
    std::size_t start = 0;
    while (start < line.size()) {
        int used = 0;
        std::size_t i = start, blank = std::string::npos;
        while (i < line.size()) {
            std::size_t length = 0;
            const char32_t c = DecodeUtf8(line, i, length);
            if (length == 0)
                length = 1;
            const int w = CharWidth(c);
            if (used + w > width && i > start)
                break;
            if (c == ' ')
                blank = i;
            used += w;
            i += length;
        }
        if (i >= line.size()) {
            lines.push_back(line.substr(start));
            return;
        }
        // Break at the blank that overflows or the last one that fits, else
        // between characters.
        std::size_t end =
            line[i] == ' ' ? i : (blank != std::string::npos && blank > start ? blank : i);
        lines.push_back(line.substr(start, end - start));
        start = end;
        while (start < line.size() && line[start] == ' ')
            ++start;
    }
}

std::string Num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::string RectAttrs(Rect r, int dx, int dy) {
    return "x=\"" + Num(r.left + dx) + "\" y=\"" + Num(r.top + dy) + "\" width=\"" +
           Num(r.width()) + "\" height=\"" + Num(r.height()) + "\"";
}

} // namespace

int TextWidth(const std::string& text) {
    int width = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        width += CharWidth(DecodeUtf8(text, i, length));
        i += length == 0 ? 1 : length;
    }
    return width;
}

std::vector<std::string> LayoutTextLines(const std::string& text, int width) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            lines.push_back(line);
        else
            WrapLine(line, std::max(1, width), lines);
        if (end == std::string::npos)
            return lines;
        start = end + 1;
    }
}

std::string XmlText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        const char32_t c = DecodeUtf8(text, i, length);
        if (length == 0 || !XmlChar(c)) {
            out += "\xEF\xBF\xBD"; // U+FFFD
            i += length == 0 ? 1 : length;
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
        default:
            out.append(text, i, length);
        }
        i += length;
    }
    return out;
}

std::string OpsToSvg(const DrawContext& dc, int dx, int dy) {
    std::string out;
    for (const DrawOp& op : dc.ops()) {
        const Rect& r = op.rect;
        switch (op.kind) {
        case DrawOp::Kind::Line:
            out += "<line x1=\"" + Num(op.from.x + dx) + "\" y1=\"" + Num(op.from.y + dy) +
                   "\" x2=\"" + Num(op.to.x + dx) + "\" y2=\"" + Num(op.to.y + dy) +
                   "\" stroke=\"" + ColorText(op.penColor) + "\" stroke-width=\"" +
                   Num(op.penWidth) + "\"/>\n";
            break;
        case DrawOp::Kind::FillRect:
            out += "<rect " + RectAttrs(r, dx, dy) + " fill=\"" + ColorText(op.color) + "\"/>\n";
            break;
        case DrawOp::Kind::FrameRect:
            out += "<rect x=\"" + Num(r.left + dx + 0.5) + "\" y=\"" + Num(r.top + dy + 0.5) +
                   "\" width=\"" + Num(r.width() - 1) + "\" height=\"" + Num(r.height() - 1) +
                   "\" fill=\"none\" stroke=\"" + ColorText(op.color) + "\"/>\n";
            break;
        case DrawOp::Kind::Edge: {
            // Light on the top and left of a raised edge, dark when sunken.
            std::string light = "#ffffff", dark = "#808080";
            if (op.sunken)
                std::swap(light, dark);
            double x0 = r.left + dx + 0.5, y0 = r.top + dy + 0.5;
            double x1 = r.right + dx - 0.5, y1 = r.bottom + dy - 0.5;
            out += "<polyline points=\"" + Num(x0) + "," + Num(y1) + " " + Num(x0) + "," + Num(y0) +
                   " " + Num(x1) + "," + Num(y0) + "\" fill=\"none\" stroke=\"" + light + "\"/>\n";
            out += "<polyline points=\"" + Num(x1) + "," + Num(y0) + " " + Num(x1) + "," + Num(y1) +
                   " " + Num(x0) + "," + Num(y1) + "\" fill=\"none\" stroke=\"" + dark + "\"/>\n";
            break;
        }
        case DrawOp::Kind::Ellipse:
            out += "<ellipse cx=\"" + Num((r.left + r.right) / 2.0 + dx) + "\" cy=\"" +
                   Num((r.top + r.bottom) / 2.0 + dy) + "\" rx=\"" + Num(r.width() / 2.0) +
                   "\" ry=\"" + Num(r.height() / 2.0) + "\" fill=\"" +
                   (op.hasBrush ? ColorText(op.brushColor) : std::string("none")) + "\" stroke=\"" +
                   ColorText(op.penColor) + "\" stroke-width=\"" + Num(op.penWidth) + "\"/>\n";
            break;
        case DrawOp::Kind::Text: {
            const double x = op.centred ? (r.left + r.right) / 2.0 + dx : r.left + dx + 2;
            const std::string head =
                "<text x=\"" + Num(x) + (op.centred ? "\" text-anchor=\"middle" : "") + "\" y=\"";
            const std::string tail = "\" fill=\"" + ColorText(op.color) +
                                     "\" font-family=\"Meiryo UI, sans-serif\" font-size=\"11\">";
            const int room = r.width() - (op.centred ? 0 : 2);
            if (op.text.find('\n') == std::string::npos && TextWidth(op.text) <= room) {
                // One line, centred vertically.
                out += head + Num((r.top + r.bottom) / 2.0 + dy + 4) + tail + XmlText(op.text) +
                       "</text>\n";
                break;
            }
            // Several lines from the top, as a text control lays them out.
            const std::vector<std::string> lines = LayoutTextLines(op.text, room);
            const double top = r.top + dy + 11;
            out += head + Num(top) + tail;
            for (std::size_t i = 0; i < lines.size(); ++i)
                out += "<tspan x=\"" + Num(x) + "\" y=\"" +
                       Num(top + static_cast<double>(i) * kLineHeight) + "\">" + XmlText(lines[i]) +
                       "</tspan>";
            out += "</text>\n";
            break;
        }
        case DrawOp::Kind::Bitmap: {
            auto image = LoadImage(ImageKind::Bitmap, op.bitmapId);
            std::string svg = image ? ImageSvgText(*image) : std::string();
            if (svg.empty())
                break;
            // The image's own svg element, placed and stretched into the rectangle.
            std::size_t open = svg.find("<svg");
            if (open == std::string::npos)
                break;
            std::string place = "<svg " + RectAttrs(r, dx, dy) + " preserveAspectRatio=\"none\"";
            if (svg.find("viewBox") == std::string::npos)
                place += " viewBox=\"0 0 " + Num(image->width) + " " + Num(image->height) + "\"";
            // Drop the image's own size; the rectangle decides it.
            std::size_t end = svg.find('>', open);
            std::string head = svg.substr(open + 4, end - open - 4);
            for (const char* attr : {"width=\"", "height=\""}) {
                std::size_t at = head.find(std::string(" ") + attr);
                if (at != std::string::npos) {
                    std::size_t close = head.find('"', at + std::string(attr).size() + 1);
                    head.erase(at, close - at + 1);
                }
            }
            out += place + head + ">" + svg.substr(end + 1) + "\n";
            break;
        }
        case DrawOp::Kind::ClearIcon:
            break;
        }
    }
    return out;
}

} // namespace platform
