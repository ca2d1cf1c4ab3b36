#include "ui/color_image_view.hpp"

#include <cstdlib>

namespace vtg {

platform::Color FadedColor(platform::Color c) {
    auto fade = [](int v) { return v + (510 - 2 * v) / 3; };
    return platform::Rgb(fade(platform::RedOf(c)), fade(platform::GreenOf(c)),
                         fade(platform::BlueOf(c)));
}

void QLWColorImageView::Enable(bool enable) {
    enabled_ = enable;
    platform::Enable(window(), enable);
    platform::Redraw(window());
}

void QLWColorImageView::Paint(platform::DrawContext& dc) {
    if (draw_ >= 0)
        return;
    dc.ClearIcon();
    platform::Rect r = platform::GetClientRect(window());
    platform::Color frame = enabled_ ? platform::Rgb(0, 0, 0) : platform::Rgb(170, 170, 170);
    dc.FillRect(r, enabled_ ? color_ : FadedColor(color_));
    dc.FrameRect(r, frame);
    if (innerSquare_) {
        int inset = static_cast<int>(std::abs(r.width()) * 0.5 * 0.5625);
        platform::Rect inner{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
        dc.FillRect(inner, platform::Rgb(255, 255, 255));
        dc.FrameRect(inner, frame);
    }
}

bool QLWColorImageView::Handle(std::uint32_t code, platform::Param, platform::Param lparam,
                               platform::Param& result) {
    if (code != platform::kMsgPaint || draw_ >= 0)
        return false;
    Paint(*reinterpret_cast<platform::DrawContext*>(lparam));
    result = 0;
    return true;
}

} // namespace vtg
