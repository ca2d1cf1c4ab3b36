#include "core/view_controller.hpp"

#include "core/error_alert.hpp"
#include "core/plugin.hpp"
#include "platform/system.hpp"

namespace vtg {

platform::WindowId VERTiGON4ViewController::Create(int templateId, platform::WindowId parent) {
    Destroy();
    dialog_ = platform::CreateDialogFromTemplate(templateId, parent, this);
    return dialog_;
}

void VERTiGON4ViewController::Destroy() {
    if (dialog_ != 0 && platform::IsWindow(dialog_)) {
        platform::DetachHandler(dialog_, this);
        platform::DestroyWindow(dialog_);
    }
    dialog_ = 0;
}

bool VERTiGON4ViewController::FilterKey(const platform::QueuedMessage& m) {
    if (m.code != platform::kMsgKeyDown && m.code != platform::kMsgChar &&
        m.code != platform::kMsgKeyUp)
        return false;
    if (m.wparam == platform::kKeyReturn) {
        if (ctrlReturnPasses_ && platform::IsKeyDown(platform::Modifier::Ctrl))
            return false;
        platform::SetFocus(hostMain_);
        return true;
    }
    return m.wparam == platform::kKeyEscape;
}

bool VERTiGON4ViewController::OnMessage(platform::WindowId window, std::uint32_t code,
                                        platform::Param wparam, platform::Param lparam,
                                        platform::Param& result) {
    auto handle = [&]() -> bool {
        if (code == platform::kMsgInitDialog) {
            dialog_ = window;
            platform::SetProcessLocale("jpn");
            hostMain_ = platform::HostMainWindow();
            ctrlReturnPasses_ = false;
            OnInitView();
            result = 1;
            return true;
        }
        if (code == platform::kMsgPreTranslate && window == dialog_) {
            const auto* m = reinterpret_cast<const platform::QueuedMessage*>(lparam);
            result = (m != nullptr && FilterKey(*m)) ? 1 : 0;
            return result != 0;
        }
        return OnViewMessage(code, wparam, lparam, result);
    };
    // The window layer calls in outside any host message: nothing may be
    // thrown back into it, so a failure is reported here.
    try {
        return handle();
    } catch (...) {
        DefaultReportError(CurrentExceptionCode());
        result = 0;
        return true;
    }
}

bool VERTiGON4ViewController::OnViewMessage(std::uint32_t, platform::Param, platform::Param,
                                            platform::Param&) {
    return false;
}

} // namespace vtg
