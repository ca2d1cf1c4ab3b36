// view_controller.hpp - the base of the live-object and tool panel views.
//
// A panel view is a dialog placed in a host panel. Keys typed in it must
// not reach the host's document: Return hands the keyboard back to the
// host's main window (Ctrl+Return reaches the view when it asks for it),
// Escape is swallowed.
#pragma once

#include "platform/window.hpp"

namespace vtg {

class VERTiGON4ViewController : public platform::WindowHandler {
public:
    static constexpr int kHelpButton = 1055;

    ~VERTiGON4ViewController() override { Destroy(); }

    // Creates the view from its template as a child of `parent`.
    platform::WindowId Create(int templateId, platform::WindowId parent);
    void Destroy();
    platform::WindowId window() const { return dialog_; }

    bool OnMessage(platform::WindowId window, std::uint32_t code, platform::Param wparam,
                   platform::Param lparam, platform::Param& result) override;

    // Lets Ctrl+Return reach the view (a multi-line field, say).
    void SetCtrlReturnPasses(bool passes) { ctrlReturnPasses_ = passes; }

protected:
    // The view's own initialisation, after the base's.
    virtual void OnInitView() {}
    // The view's messages after the base's filtering.
    virtual bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                               platform::Param& result);
    // True when the key message is consumed before the dialog sees it.
    bool FilterKey(const platform::QueuedMessage& message);

    platform::WindowId dialog_ = 0;
    platform::WindowId hostMain_ = 0;
    bool ctrlReturnPasses_ = false;
};

} // namespace vtg
