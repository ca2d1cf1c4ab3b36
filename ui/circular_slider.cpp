#include "ui/circular_slider.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vtg {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

} // namespace

void QLWCircularSliderCtrl::OnAttached() {
    platform::SetRange(window(), 0, 359);
    platform::SetLineSize(window(), 1);
    platform::SetPageSize(window(), 10);
    Geometry();
}

void QLWCircularSliderCtrl::Geometry() {
    platform::Rect c = platform::GetClientRect(window());
    int s = std::min(c.right, c.bottom);
    centre_ = {(c.left + s) / 2, (c.top + s) / 2};
    radius_ = s / 2;
    knobRadius_ = s / 2 < 18 ? 2 : s / 12;
    platform::SetEllipticRegion(window(), platform::Rect{c.left, c.top, c.left + s, c.top + s});
}

int QLWCircularSliderCtrl::KnobAngle() const {
    platform::RangeState r = platform::GetRange(window());
    int span = std::max(1, std::min(r.maximum - r.minimum, 360));
    long t = (static_cast<long>(zeroAngle_) +
              static_cast<long>(r.position - r.minimum) * 360 / span + 360) %
             360;
    if (t < 0)
        t += 360;
    return reversed_ ? static_cast<int>(360 - t) : static_cast<int>(t);
}

void QLWCircularSliderCtrl::Paint(platform::DrawContext& dc) {
    using platform::Rgb;
    int r = radius_;
    int e = r - knobRadius_ - 3;
    platform::Point c = centre_;
    dc.SelectPen(2, Rgb(203, 203, 203));
    dc.SelectBrush(Rgb(240, 240, 240));
    dc.Ellipse({c.x - r, c.y - r, c.x + r, c.y + r});
    platform::Color ring = enabled_ ? Rgb(64, 64, 64) : Rgb(192, 192, 192);
    dc.SelectPen(1, ring);
    dc.SelectNoBrush();
    dc.Ellipse({c.x - (r - 1), c.y - (r - 1), c.x + (r - 1), c.y + (r - 1)});
    double t = KnobAngle() * kDegree;
    int kx = c.x + static_cast<int>(std::sin(t) * e);
    int ky = c.y - static_cast<int>(std::cos(t) * e);
    int k = knobRadius_;
    dc.SelectBrush(Rgb(203, 203, 203));
    dc.Ellipse({kx - k + 1, ky - k + 1, kx + k + 1, ky + k + 1});
}

int QLWCircularSliderCtrl::PositionFromPoint(platform::Point p) const {
    double dx = reversed_ ? centre_.x - p.x : p.x - centre_.x;
    double dy = p.y - centre_.y;
    double x;
    if (dx != 0.0) {
        x = 90.0 - std::atan(-dy / dx) / kDegree;
        if (dx < 0)
            x += 180.0;
    } else {
        x = dy >= 0 ? 180.0 : 0.0;
    }
    x -= zeroAngle_;
    x = std::fmod(x, 360.0);
    if (x < 0)
        x += 360.0;
    if (x >= 360.0)
        x = 0.0;
    platform::RangeState r = platform::GetRange(window());
    return r.minimum + static_cast<int>(std::floor(
                           (static_cast<double>(r.maximum) + 1 - r.minimum) * x / 360.0));
}

platform::Point QLWCircularSliderCtrl::PointForPosition(int position) const {
    // The middle of the angle step of `position`, on the knob's circle.
    platform::RangeState r = platform::GetRange(window());
    double steps = static_cast<double>(r.maximum) + 1 - r.minimum;
    double x = (position - r.minimum + 0.5) * 360.0 / std::max(1.0, steps) + zeroAngle_;
    double e = std::max(1, radius_ - knobRadius_ - 3);
    double sx = std::sin(x * kDegree) * e;
    if (reversed_)
        sx = -sx;
    return {centre_.x + static_cast<int>(std::lround(sx)),
            centre_.y - static_cast<int>(std::lround(std::cos(x * kDegree) * e))};
}

bool QLWCircularSliderCtrl::TrackTo(platform::Point p) {
    int pos = PositionFromPoint(p);
    if (pos == platform::GetRange(window()).position)
        return false;
    platform::SetPosition(window(), pos);
    return true;
}

void QLWCircularSliderCtrl::NotifyParent(int code) {
    platform::PostMessage(platform::GetParent(window()), platform::kMsgHScroll,
                          platform::MakeParam(code, platform::GetRange(window()).position),
                          static_cast<platform::Param>(window()));
}

void QLWCircularSliderCtrl::ButtonDown(platform::Point p) {
    dragging_ = true;
    platform::SetCapture(window());
    platform::SetFocus(window());
    if (TrackTo(p)) {
        moved_ = true;
        NotifyParent(platform::kScrollThumbTrack);
    }
    platform::Redraw(window());
}

void QLWCircularSliderCtrl::MouseMove(platform::Point p) {
    if (!dragging_)
        return;
    if (TrackTo(p)) {
        moved_ = true;
        NotifyParent(platform::kScrollThumbTrack);
        platform::Redraw(window());
    }
}

void QLWCircularSliderCtrl::ButtonUp(platform::Point p) {
    if (!dragging_)
        return;
    dragging_ = false;
    platform::ReleaseCapture();
    if (TrackTo(p)) {
        NotifyParent(platform::kScrollThumbTrack);
        moved_ = true;
    }
    if (moved_) {
        NotifyParent(platform::kScrollThumbPosition);
        moved_ = false;
    }
    platform::Redraw(window());
}

void QLWCircularSliderCtrl::Enable(bool enable) {
    platform::Enable(window(), enable);
    enabled_ = enable;
    platform::Redraw(window());
}

bool QLWCircularSliderCtrl::Handle(std::uint32_t code, platform::Param wparam,
                                   platform::Param lparam, platform::Param& result) {
    result = 0;
    switch (code) {
    case platform::kMsgSize:
        Geometry();
        return true;
    case platform::kMsgPaint:
        Paint(*reinterpret_cast<platform::DrawContext*>(lparam));
        return true;
    case platform::kMsgLButtonDown:
        if (dragging_)
            return false;
        ButtonDown(platform::UnpackPoint(lparam));
        return true;
    case platform::kMsgMouseMove:
        MouseMove(platform::UnpackPoint(lparam));
        return true;
    case platform::kMsgLButtonUp:
        ButtonUp(platform::UnpackPoint(lparam));
        return true;
    case platform::kMsgSlideTo: {
        // The user's gesture: press on the knob's place for the position, release.
        platform::Point p = PointForPosition(static_cast<int>(wparam));
        platform::SendMessage(window(), platform::kMsgLButtonDown, 0,
                              platform::PackPoint(p.x, p.y));
        platform::SendMessage(window(), platform::kMsgLButtonUp, 0, platform::PackPoint(p.x, p.y));
        return true;
    }
    default:
        return false;
    }
}

} // namespace vtg
