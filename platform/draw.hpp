// draw.hpp - the drawing context: every painting call is recorded, so that
// a window's picture can be checked operation by operation and rendered as
// SVG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window.hpp"

namespace platform {

using Color = std::uint32_t; // 0xRRGGBB
constexpr Color Rgb(int r, int g, int b) {
    return (static_cast<Color>(r & 0xFF) << 16) | (static_cast<Color>(g & 0xFF) << 8) |
           static_cast<Color>(b & 0xFF);
}
constexpr int RedOf(Color c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr int GreenOf(Color c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Color c) {
    return static_cast<int>(c & 0xFF);
}

struct DrawOp {
    enum class Kind { Line, FillRect, FrameRect, Edge, Ellipse, Text, Bitmap, ClearIcon };
    Kind kind = Kind::Line;
    Rect rect;          // FillRect, FrameRect, Edge, Ellipse, Text, Bitmap
    Point from, to;     // Line
    Color color = 0;    // fill or frame or text colour
    int penWidth = 1;   // Line, Ellipse
    Color penColor = 0; // Line, Ellipse
    Color brushColor = 0;
    bool hasBrush = false; // Ellipse
    bool sunken = false;   // Edge
    bool halftone = false; // Bitmap
    bool centred = false;  // Text: centred in the rectangle, else from its left
    int bitmapId = -1;     // Bitmap
    std::string text;      // Text
};

class DrawContext {
public:
    void SelectPen(int width, Color color) {
        penWidth_ = width;
        penColor_ = color;
    }
    void SelectBrush(Color color) {
        brushColor_ = color;
        hasBrush_ = true;
    }
    void SelectNoBrush() { hasBrush_ = false; }

    void Line(Point from, Point to);
    void FillRect(Rect rect, Color color);
    void FrameRect(Rect rect, Color color);
    void DrawEdge(Rect rect, bool sunken); // all four sides
    void Ellipse(Rect rect);               // current pen and brush
    void Text(Rect rect, const std::string& text, Color color, bool centred = false);
    void StretchBitmap(int bitmapId, Rect rect, bool halftone);
    void ClearIcon();

    const std::vector<DrawOp>& ops() const { return ops_; }
    bool empty() const { return ops_.empty(); }

private:
    std::vector<DrawOp> ops_;
    int penWidth_ = 1;
    Color penColor_ = 0;
    Color brushColor_ = Rgb(255, 255, 255);
    bool hasBrush_ = true;
};

// SVG elements of the record, translated by (dx, dy).
std::string OpsToSvg(const DrawContext& dc, int dx, int dy);
// "#rrggbb".
std::string ColorText(Color c);

} // namespace platform
