// color_image_view.hpp - QLWColorImageView, a colour swatch.
#pragma once

#include "platform/draw.hpp"
#include "ui/custom_control.hpp"

namespace vtg {

// A colour faded two thirds towards white (the swatch of a disabled control).
platform::Color FadedColor(platform::Color c);

class QLWColorImageView : public CustomControl {
public:
    void SetColor(platform::Color c) { color_ = c; }
    platform::Color color() const { return color_; }
    // Negative: the swatch is drawn; otherwise the static shows its own image.
    void SetDrawSwitch(int value) { draw_ = value; }
    void SetInnerSquare(bool on) { innerSquare_ = on; }
    void Enable(bool enable);
    virtual void Paint(platform::DrawContext& dc);

protected:
    bool Handle(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                platform::Param& result) override;

private:
    platform::Color color_ = 0;
    int draw_ = -1;
    bool innerSquare_ = false;
    bool enabled_ = true;
};

} // namespace vtg
