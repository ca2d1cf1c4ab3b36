// circular_slider.hpp - QLWCircularSliderCtrl, a round slider for angles
// built on a trackbar: the knob runs on a circle, dragging it posts the
// trackbar's own scroll messages to the parent.
#pragma once

#include "platform/draw.hpp"
#include "ui/custom_control.hpp"

namespace vtg {

class QLWCircularSliderCtrl : public CustomControl {
public:
    // Geometry of the last size change.
    platform::Point centre() const { return centre_; }
    int radius() const { return radius_; }
    int knobRadius() const { return knobRadius_; }
    void SetKnobRadius(int r) { knobRadius_ = r; }
    int zeroAngle() const { return zeroAngle_; }
    void SetZeroAngle(int degrees) { zeroAngle_ = degrees; }
    bool reversed() const { return reversed_; }
    void SetReversed(bool reversed) { reversed_ = reversed; }
    bool enabled() const { return enabled_; }

    // Enables or disables the window, keeps the flag and redraws.
    void Enable(bool enable);
    // The position a click at p (client coordinates) would give.
    int PositionFromPoint(platform::Point p) const;
    // The knob's angle in whole degrees (0 at the top, clockwise).
    int KnobAngle() const;
    virtual void Paint(platform::DrawContext& dc);

protected:
    void OnAttached() override;
    bool Handle(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                platform::Param& result) override;

private:
    void Geometry();
    // Sets the position from p; true when it changed.
    bool TrackTo(platform::Point p);
    void NotifyParent(int code);
    void ButtonDown(platform::Point p);
    void MouseMove(platform::Point p);
    void ButtonUp(platform::Point p);
    platform::Point PointForPosition(int position) const;

    platform::Point centre_;
    int radius_ = 0;
    int zeroAngle_ = 0;
    bool reversed_ = false;
    int knobRadius_ = 2;
    bool dragging_ = false;
    bool moved_ = false;
    bool enabled_ = true;
};

} // namespace vtg
