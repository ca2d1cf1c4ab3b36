// bitmap_button.hpp - QLWBitmapButton, an owner-drawn push button showing a
// bitmap resource, and QLWBitmapView, a static showing one.
#pragma once

#include <cstdint>

#include "platform/draw.hpp"
#include "ui/custom_control.hpp"

namespace vtg {

// The drawn size of a control of w x h for an aspect ratio (height / width;
// 0 fills the control).
void AspectSize(double aspect, int& w, int& h);

class QLWBitmapButton : public CustomControl {
public:
    void SetBitmap(int32_t id) { bitmapId_ = id; }
    void SetDisabledBitmap(int32_t id) { disabledId_ = id; }
    void SetAspectRatio(double ratio) { aspect_ = ratio; }
    int32_t bitmap() const { return bitmapId_; }

    // The owner-draw callback.
    virtual void DrawItem(const platform::DrawItemRecord& item);

protected:
    bool Handle(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                platform::Param& result) override;

private:
    int32_t bitmapId_ = -1;
    int32_t disabledId_ = -1;
    double aspect_ = 0.0;
};

class QLWBitmapView : public CustomControl {
public:
    void SetBitmap(int32_t id) { bitmapId_ = static_cast<int16_t>(id); }
    void SetAspectRatio(double ratio) { aspect_ = ratio; }
    virtual void Paint(platform::DrawContext& dc);

protected:
    bool Handle(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                platform::Param& result) override;

private:
    int32_t bitmapId_ = -1; // 16-bit id kept in a 32-bit slot
    double aspect_ = 0.0;
};

} // namespace vtg
