#include "ui/bitmap_button.hpp"

#include <cstdlib>

#include "platform/resources.hpp"

namespace vtg {

void AspectSize(double aspect, int& w, int& h) {
    w = std::abs(w);
    h = std::abs(h);
    if (aspect == 0.0 || w == 0)
        return;
    if (aspect < static_cast<double>(h) / w)
        h = static_cast<int>(aspect * w);
    else
        w = static_cast<int>(h / aspect);
}

void QLWBitmapButton::DrawItem(const platform::DrawItemRecord& item) {
    if (bitmapId_ < 0 || item.dc == nullptr)
        return;
    int w = item.rect.width(), h = item.rect.height();
    AspectSize(aspect_, w, h);
    platform::Rect r{0, 0, w, h};
    item.dc->DrawEdge(r, (item.state & platform::kItemSelected) != 0);
    int32_t id =
        (item.state & platform::kItemDisabled) && disabledId_ > 0 ? disabledId_ : bitmapId_;
    // A bitmap that cannot be loaded leaves the button empty.
    if (!platform::LoadImage(platform::ImageKind::Bitmap, id))
        return;
    item.dc->StretchBitmap(id, {2, 2, 2 + (w - 4), 2 + (h - 4)}, true);
}

bool QLWBitmapButton::Handle(std::uint32_t code, platform::Param, platform::Param lparam,
                             platform::Param& result) {
    if (code != platform::kMsgPaint)
        return false;
    auto* dc = reinterpret_cast<platform::DrawContext*>(lparam);
    platform::DrawItemRecord item;
    item.control = window();
    item.id = platform::GetControlId(window());
    item.state = (platform::IsPressed(window()) ? platform::kItemSelected : 0u) |
                 (platform::IsEnabled(window()) ? 0u : platform::kItemDisabled);
    item.rect = platform::GetClientRect(window());
    item.dc = dc;
    DrawItem(item);
    result = 0;
    return true;
}

void QLWBitmapView::Paint(platform::DrawContext& dc) {
    if (bitmapId_ < 0)
        return;
    platform::Rect c = platform::GetClientRect(window());
    int w = c.width(), h = c.height();
    AspectSize(aspect_, w, h);
    if (!platform::LoadImage(platform::ImageKind::Bitmap, bitmapId_))
        return;
    dc.StretchBitmap(bitmapId_, {0, 0, w, h}, true);
}

bool QLWBitmapView::Handle(std::uint32_t code, platform::Param, platform::Param lparam,
                           platform::Param& result) {
    if (code != platform::kMsgPaint)
        return false;
    Paint(*reinterpret_cast<platform::DrawContext*>(lparam));
    result = 0;
    return true;
}

} // namespace vtg
