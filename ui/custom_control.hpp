// custom_control.hpp - the base of the controls the plug-in draws itself: a
// handler attached to one control window (usually a dialog item).
#pragma once

#include "platform/window.hpp"

namespace vtg {

class CustomControl : public platform::WindowHandler {
public:
    CustomControl() = default;
    ~CustomControl() override;
    CustomControl(const CustomControl&) = delete;
    CustomControl& operator=(const CustomControl&) = delete;

    // Takes over item `id` of `dialog`; false when there is no such item.
    bool AttachToItem(platform::WindowId dialog, int id);
    // Takes over a window.
    bool Attach(platform::WindowId window);
    void Detach();
    platform::WindowId window() const { return window_; }

    bool OnMessage(platform::WindowId window, std::uint32_t code, platform::Param wparam,
                   platform::Param lparam, platform::Param& result) override;

protected:
    // Called once attached (creation or attachment to a dialog item).
    virtual void OnAttached() {}
    // The control's messages; return true when handled.
    virtual bool Handle(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                        platform::Param& result) = 0;
    // The base behaviour of the window for a message.
    platform::Param Base(std::uint32_t code, platform::Param wparam, platform::Param lparam);

private:
    platform::WindowId window_ = 0;
};

} // namespace vtg
