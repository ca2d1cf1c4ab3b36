// help_view.hpp - HelpViewController, the help view (dialog template 648):
// an HTML view with index, back, forward, print and open-in-browser buttons.
#pragma once

#include "help/help_html_view.hpp"
#include "platform/window.hpp"

namespace vtg {

class HelpViewController : public platform::WindowHandler {
public:
    static constexpr int kTemplateId = 648;
    static constexpr int kIndexButton = 1770;
    static constexpr int kPrintButton = 1771;
    static constexpr int kBrowserButton = 1772;
    static constexpr int kPlaceholder = 1920;
    static constexpr int kBackButton = 1921;
    static constexpr int kForwardButton = 1922;

    HelpViewController() = default;
    ~HelpViewController() override;

    // Creates the view as a child of `parent`; 0 when the template is missing.
    platform::WindowId Create(platform::WindowId parent);
    void Destroy();
    platform::WindowId window() const { return dialog_; }
    HelpHtmlView& htmlView() { return html_; }

    // Shows the page of `row`, then gives the focus back to the host.
    void Refresh(int row);
    // Grows the view and its HTML view by (dw, dh).
    void ResizeBy(int dw, int dh);

    bool OnMessage(platform::WindowId window, std::uint32_t code, platform::Param wparam,
                   platform::Param lparam, platform::Param& result) override;

private:
    void OnInit();
    void OnCommand(int id);

    platform::WindowId dialog_ = 0;
    platform::WindowId hostMain_ = 0;
    HelpHtmlView html_;
};

} // namespace vtg
