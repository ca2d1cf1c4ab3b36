#include "help/help_view.hpp"

#include "help/help_pages.hpp"
#include "platform/system.hpp"

namespace vtg {

HelpViewController::~HelpViewController() {
    Destroy();
}

platform::WindowId HelpViewController::Create(platform::WindowId parent) {
    Destroy();
    dialog_ = platform::CreateDialogFromTemplate(kTemplateId, parent, this);
    return dialog_;
}

void HelpViewController::Destroy() {
    html_.Destroy();
    if (dialog_ != 0 && platform::IsWindow(dialog_)) {
        platform::DetachHandler(dialog_, this);
        platform::DestroyWindow(dialog_);
    }
    dialog_ = 0;
}

void HelpViewController::OnInit() {
    platform::SetProcessLocale("jpn");
    hostMain_ = platform::HostMainWindow();
    html_.Create(dialog_, kPlaceholder);
}

void HelpViewController::Refresh(int row) {
    ShowHelpPage(row, false, &html_);
    platform::SetFocus(hostMain_);
}

void HelpViewController::ResizeBy(int dw, int dh) {
    platform::Rect r = platform::GetRect(dialog_);
    r.right += dw;
    r.bottom += dh;
    platform::SetRect(dialog_, r);
    html_.ResizeBy(dw, dh);
}

void HelpViewController::OnCommand(int id) {
    switch (id) {
    case kIndexButton:
    case kBackButton:
    case kForwardButton:
    case kBrowserButton:
    case kPrintButton:
        break;
    default:
        return;
    }
    // Every button gives the keyboard back to the host first.
    platform::SetFocus(hostMain_);
    switch (id) {
    case kIndexButton:
        ShowHelpPage(0, false, &html_);
        break;
    case kBackButton:
        html_.GoBack();
        break;
    case kForwardButton:
        html_.GoForward();
        break;
    case kBrowserButton:
        if (!(platform::IsKeyDown(platform::Modifier::Alt) &&
              platform::IsKeyDown(platform::Modifier::Ctrl)))
            ShowHelpPage(43, true, &html_);
        break;
    case kPrintButton:
        html_.PrintPreview();
        break;
    default:
        break;
    }
}

bool HelpViewController::OnMessage(platform::WindowId window, std::uint32_t code,
                                   platform::Param wparam, platform::Param,
                                   platform::Param& result) {
    if (window != dialog_ && dialog_ != 0)
        return false;
    result = 0;
    switch (code) {
    case platform::kMsgInitDialog:
        dialog_ = window;
        OnInit();
        return true;
    case platform::kMsgCommand:
        if (platform::HighWord(wparam) != platform::kNotifyClicked)
            return false;
        OnCommand(platform::LowWord(wparam));
        return true;
    case platform::kMsgDestroy:
        platform::DetachHandler(window, this);
        dialog_ = 0;
        return false;
    default:
        return false;
    }
}

} // namespace vtg
