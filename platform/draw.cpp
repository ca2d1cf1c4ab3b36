#include "platform/draw.hpp"

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

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
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
            out += c;
        }
    }
    return out;
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
        case DrawOp::Kind::Text:
            out += "<text x=\"" +
                   Num(op.centred ? (r.left + r.right) / 2.0 + dx : r.left + dx + 2) +
                   (op.centred ? "\" text-anchor=\"middle" : "") + "\" y=\"" +
                   Num((r.top + r.bottom) / 2.0 + dy + 4) + "\" fill=\"" + ColorText(op.color) +
                   "\" font-family=\"Meiryo UI, sans-serif\" font-size=\"11\">" + Escape(op.text) +
                   "</text>\n";
            break;
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
