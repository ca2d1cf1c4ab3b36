// emboss_ctrlr.hpp - Live Emboss's panel: controller and view (dialog 667).
#pragma once

#include <cstdint>

#include "live/pg_ctrlr.hpp"
#include "ui/circular_slider.hpp"
#include "ui/value_link.hpp"

namespace vtg {

class EmbossPGViewController : public PGViewController {
public:
    enum Ids {
        kContrastEdit = 1651,
        kContrastSpin = 1652,
        kOffsetEdit = 1653,
        kOffsetSpin = 1654,
        kLightDial = 1655,
        kLightEdit = 1656,
        kLightSpin = 1657,
        kStepsEdit = 1658,
        kStepsSpin = 1659,
        kStyle = 1660,
        kReverse = 1661,
    };
    explicit EmbossPGViewController(PGCtrlr& ctrlr) : PGViewController(ctrlr) {}
    void Refresh(int reason) override;

protected:
    void OnInitView() override;
    bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                       platform::Param& result) override;
    bool OnKindCommand(int id, int notify) override;

private:
    EmbossPGParams& params() const;
    void Link();
    static void OnLinkedChange(void* self);

    ValueLinker linker_;
    int32_t linkedRuler_ = -1;
    double steps_ = 1; // the step count as the edit holds it
    QLWCircularSliderCtrl lightDial_;
};

class EmbossPGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 667;
    EmbossPGCtrlr(PanelHandle panel, FlyoutHandle flyout) : PGCtrlr(kKindEmboss, panel, flyout) {}
    EmbossPGParams& params() const { return *static_cast<EmbossPGParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<EmbossPGViewController>(*this);
    }
};

} // namespace vtg
