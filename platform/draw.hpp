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

// The lines a text control shows in `width` pixels: the text broken at its
// new lines ("\n", "\r\n") and each line wrapped at the last blank that
// fits (a word wider than the control, and text without blanks such as
// Japanese, breaks between characters). Widths are those of the 11-pixel
// dialog font: 6 pixels for ASCII, 11 for full-width characters, 7 for
// others. Lines are kLineHeight pixels apart.
inline constexpr int kLineHeight = 14;
int TextWidth(const std::string& text);
std::vector<std::string> LayoutTextLines(const std::string& text, int width);

// Text as XML 1.0 character data: markup characters escaped, and what XML
// cannot hold (NUL and other control characters, bytes that are not UTF-8)
// replaced by U+FFFD.
std::string XmlText(const std::string& text);

// SVG elements of the record, translated by (dx, dy).
std::string OpsToSvg(const DrawContext& dc, int dx, int dy);
// "#rrggbb".
std::string ColorText(Color c);

} // namespace platform
