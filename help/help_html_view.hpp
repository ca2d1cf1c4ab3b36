// help_html_view.hpp - HelpHtmlView, the embedded HTML view of the help view
// and of the effect dialogs' help panes.
#pragma once

#include <string>

#include "platform/window.hpp"

namespace vtg {

class HelpHtmlView {
public:
    HelpHtmlView() = default;
    ~HelpHtmlView();
    HelpHtmlView(const HelpHtmlView&) = delete;
    HelpHtmlView& operator=(const HelpHtmlView&) = delete;

    // Creates the view as a visible child of `dialog` over the placeholder
    // `placeholderId` and hides the placeholder. False when there is none.
    bool Create(platform::WindowId dialog, int placeholderId = 1920);
    void Destroy();
    platform::WindowId window() const { return window_; }

    void Navigate(const std::string& path);
    bool GoBack();
    bool GoForward();
    // The print preview of the page, with the print dialog.
    void PrintPreview();
    // Grows the view by (dw, dh).
    void ResizeBy(int dw, int dh);

private:
    platform::WindowId window_ = 0;
};

} // namespace vtg
