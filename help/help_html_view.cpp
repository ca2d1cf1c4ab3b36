#include "help/help_html_view.hpp"

#include "platform/html_view.hpp"

namespace vtg {

HelpHtmlView::~HelpHtmlView() {
    Destroy();
}

bool HelpHtmlView::Create(platform::WindowId dialog, int placeholderId) {
    platform::WindowId placeholder = platform::GetItem(dialog, placeholderId);
    if (placeholder == 0)
        return false;
    Destroy();
    window_ = platform::CreateWindow(platform::WindowClass::HtmlView, dialog, 0, "",
                                     platform::GetRect(placeholder));
    platform::Show(placeholder, false);
    return window_ != 0;
}

void HelpHtmlView::Destroy() {
    if (window_ != 0 && platform::IsWindow(window_))
        platform::DestroyWindow(window_);
    window_ = 0;
}

void HelpHtmlView::Navigate(const std::string& path) {
    platform::HtmlNavigate(window_, path);
}
bool HelpHtmlView::GoBack() {
    return platform::HtmlBack(window_);
}
bool HelpHtmlView::GoForward() {
    return platform::HtmlForward(window_);
}
void HelpHtmlView::PrintPreview() {
    platform::HtmlPrintPreview(window_);
}

void HelpHtmlView::ResizeBy(int dw, int dh) {
    platform::Rect r = platform::GetRect(window_);
    r.right += dw;
    r.bottom += dh;
    platform::SetRect(window_, r);
}

} // namespace vtg
