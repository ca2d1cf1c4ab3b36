// controller.hpp - the bases of the feature controllers.
//
// A controller owns one feature's settings while the feature is in use.
// Panel controllers (live objects, tools, help) show their view in one of
// the shared host panels; dialog controllers (the live effects) run a
// modal dialog.
#pragma once

#include "host/api/vtg_base.h"
#include "host/api/vtg_panel_suite.h"

namespace vtg {

class VERTiGON4Ctrlr {
public:
    virtual ~VERTiGON4Ctrlr() = default;
};

class VERTiGON4PanelCtrlr : public VERTiGON4Ctrlr {
public:
    VERTiGON4PanelCtrlr(PanelHandle panel, FlyoutHandle flyout) : panel_(panel), flyout_(flyout) {}

    PanelHandle panel() const { return panel_; }
    FlyoutHandle flyout() const { return flyout_; }
    bool PanelShown() const;
    void ShowPanel(bool show);

protected:
    PanelHandle panel_;
    FlyoutHandle flyout_;
};

class VERTiGON4DialogCtrlr : public VERTiGON4Ctrlr {};

} // namespace vtg
