// explosion_ctrlr.hpp - Live Explosion's panel: controller and view
// (dialog 659).
#pragma once

#include "live/pg_ctrlr.hpp"

namespace vtg {

class ExplosionPGViewController : public LinkedPGViewController {
public:
    enum Ids {
        kPieces = 1479,
        kDirectionJitter = 1481,
        kFirstSpacing = 1483, // 1483 .. 1485: 減速, 等速, 加速
        kCentreRadius = 1486,
        kSpread = 1488,
        kTipSize = 1490,
        kKeepAngle = 1521,
        kShowCentre = 1522,
        kReproduce = 1523,
        kOpacity = 1841,
        kFirstFade = 1843, // 1843 .. 1845: 内側へ, 外側へ, ランダム
        kNewSeed = 1948,
    };
    using LinkedPGViewController::LinkedPGViewController;
    void Refresh(int reason) override;

protected:
    void AddLinks() override;
    void OnLinkedValue() override;
    bool OnKindCommand(int id, int notify) override;

private:
    ExplosionPGParams& params() const;
    double pieces_ = 200; // the count as its edit holds it
};

class ExplosionPGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 659;
    ExplosionPGCtrlr(PanelHandle panel, FlyoutHandle flyout)
        : PGCtrlr(kKindExplosion, panel, flyout) {}
    ExplosionPGParams& params() const { return *static_cast<ExplosionPGParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<ExplosionPGViewController>(*this);
    }
};

} // namespace vtg
