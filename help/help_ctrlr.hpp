// help_ctrlr.hpp - HelpCtrlr: the help view in the shared help panel.
#pragma once

#include <cstdint>

#include "core/controller.hpp"
#include "help/help_view.hpp"

namespace vtg {

class HelpCtrlr : public VERTiGON4PanelCtrlr {
public:
    // Takes the help panel and its flyout, which the main object created.
    HelpCtrlr(PluginRef plugin, PanelHandle panel, FlyoutHandle flyout);
    ~HelpCtrlr() override;

    // Allocates "HelpParams", creates the view in the panel and shows it.
    ErrorCode Create();
    // Shows the page of `row` (negative: the current one stays).
    void ShowPage(int16_t row);
    int16_t row() const { return params_ != nullptr ? *params_ : 0; }
    HelpViewController& view() { return view_; }

    // The panel's resize callback: follow the panel within its limits.
    void OnResize(double width, double height);

private:
    PluginRef plugin_;
    int16_t* params_ = nullptr; // "HelpParams": the current row
    HelpViewController view_;
    double minWidth_ = 0, minHeight_ = 0, lastWidth_ = 0, lastHeight_ = 0;
    bool hookTaken_ = false;
};

} // namespace vtg
