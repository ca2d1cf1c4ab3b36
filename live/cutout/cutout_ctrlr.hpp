// cutout_ctrlr.hpp - the panels of Live Cutout (dialog 666) and Live Shadow
// (dialog 665): controllers and views.
#pragma once

#include <cstdint>

#include "live/pg_ctrlr.hpp"
#include "ui/circular_slider.hpp"
#include "ui/value_link.hpp"

namespace vtg {

class CutoutPGViewController : public PGViewController {
public:
    enum Ids {
        kShadeEdit = 1642,
        kShadeSpin = 1643,
        kOffsetEdit = 1644,
        kOffsetSpin = 1645,
        kLightDial = 1646,
        kLightEdit = 1647,
        kLightSpin = 1648,
        kStepsEdit = 1649,
        kStepsSpin = 1650,
    };
    explicit CutoutPGViewController(PGCtrlr& ctrlr) : PGViewController(ctrlr) {}
    void Refresh(int reason) override;

protected:
    void OnInitView() override;
    bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                       platform::Param& result) override;

private:
    CutoutPGParams& params() const;
    void Link();
    static void OnLinkedChange(void* self);

    ValueLinker linker_;
    int32_t linkedRuler_ = -1;
    double steps_ = 5; // the step count as the edit holds it
    QLWCircularSliderCtrl lightDial_;
};

class ShadowPGViewController : public PGViewController {
public:
    enum Ids {
        kShadeEdit = 1632,
        kShadeSpin = 1633,
        kOffsetEdit = 1634,
        kOffsetSpin = 1635,
        kLightDial = 1636,
        kLightEdit = 1637,
        kLightSpin = 1638,
        kTransparencyEdit = 1639,
        kTransparencySpin = 1640,
        kTransparencySlider = 1641,
    };
    explicit ShadowPGViewController(PGCtrlr& ctrlr) : PGViewController(ctrlr) {}
    void Refresh(int reason) override;

protected:
    void OnInitView() override;
    bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                       platform::Param& result) override;

private:
    ShadowPGParams& params() const;
    void Link();
    static void OnLinkedChange(void* self);

    ValueLinker linker_;
    int32_t linkedRuler_ = -1;
    QLWCircularSliderCtrl lightDial_;
};

class CutoutPGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 666;
    CutoutPGCtrlr(PanelHandle panel, FlyoutHandle flyout) : PGCtrlr(kKindCutout, panel, flyout) {}
    CutoutPGParams& params() const { return *static_cast<CutoutPGParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<CutoutPGViewController>(*this);
    }
};

class ShadowPGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 665;
    ShadowPGCtrlr(PanelHandle panel, FlyoutHandle flyout) : PGCtrlr(kKindShadow, panel, flyout) {}
    ShadowPGParams& params() const { return *static_cast<ShadowPGParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<ShadowPGViewController>(*this);
    }
};

} // namespace vtg
