#include "ui/custom_control.hpp"

namespace vtg {

CustomControl::~CustomControl() {
    Detach();
}

bool CustomControl::AttachToItem(platform::WindowId dialog, int id) {
    return Attach(platform::GetItem(dialog, id));
}

bool CustomControl::Attach(platform::WindowId window) {
    if (!platform::IsWindow(window))
        return false;
    Detach();
    window_ = window;
    platform::AttachHandler(window, this);
    OnAttached();
    return true;
}

void CustomControl::Detach() {
    if (window_ != 0)
        platform::DetachHandler(window_, this);
    window_ = 0;
}

bool CustomControl::OnMessage(platform::WindowId window, std::uint32_t code, platform::Param wparam,
                              platform::Param lparam, platform::Param& result) {
    if (window != window_)
        return false;
    if (code == platform::kMsgDestroy) {
        // The window goes first; forget it so that Detach does not touch it.
        platform::DetachHandler(window_, this);
        window_ = 0;
        return false;
    }
    return Handle(code, wparam, lparam, result);
}

platform::Param CustomControl::Base(std::uint32_t code, platform::Param wparam,
                                    platform::Param lparam) {
    return platform::CallNext(window_, this, code, wparam, lparam);
}

} // namespace vtg
