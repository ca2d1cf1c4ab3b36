// galaxy_ctrlr.hpp - Live Galaxy's panel: controller and view (dialog 660).
#pragma once

#include "live/pg_ctrlr.hpp"

namespace vtg {

class GalaxyPGViewController : public LinkedPGViewController {
public:
    enum Ids {
        kArms = 1492,
        kDirectionJitter = 1494,
        kRadiusJitter = 1496,
        kCentreRadius = 1498,
        kElements = 1500,
        kKinkJitter = 1502,
        kTwist = 1504,
        kTwistJitter = 1506,
        kKeepAngle = 1508,
        kShowCentre = 1509,
        kSpread = 1510,
        kSpreadJitter = 1512,
        kTipSize = 1514,
        kSizeJitter = 1516,
        kStackOnTop = 1518,
        kStackBelow = 1519,
        kReproduce = 1520,
        kNewSeed = 1948,
    };
    using LinkedPGViewController::LinkedPGViewController;
    void Refresh(int reason) override;

protected:
    void AddLinks() override;
    void OnLinkedValue() override;
    bool OnKindCommand(int id, int notify) override;

private:
    GalaxyPGParams& params() const;
    // The two counts as their edits hold them.
    double arms_ = 8, elements_ = 16;
};

class GalaxyPGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 660;
    GalaxyPGCtrlr(PanelHandle panel, FlyoutHandle flyout) : PGCtrlr(kKindGalaxy, panel, flyout) {}
    GalaxyPGParams& params() const { return *static_cast<GalaxyPGParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<GalaxyPGViewController>(*this);
    }
};

} // namespace vtg
