// generation_ctrlr.hpp - Live Generation's panel: controller and view
// (dialog 669).
#pragma once

#include <cstdint>

#include "live/pg_ctrlr.hpp"
#include "ui/circular_slider.hpp"
#include "ui/value_link.hpp"

namespace vtg {

class GenerationPGViewController : public PGViewController {
public:
    enum Ids {
        kFeedMode = 1672,
        kCountEdit = 1673,
        kCountSpin = 1674,
        kRelativeEdit = 1675,
        kRelativeSpin = 1676,
        kDistanceEdit = 1677,
        kDistanceSpin = 1678,
        kRateEdit = 1679,
        kRateSpin = 1680,
        kDirectionDial = 1681,
        kDirectionEdit = 1682,
        kDirectionSpin = 1683,
        kTurnEdit = 1684,
        kTurnSpin = 1685,
        kStackAbove = 1686,
        kStackBelow = 1687,
    };

    explicit GenerationPGViewController(PGCtrlr& ctrlr) : PGViewController(ctrlr) {}
    void Refresh(int reason) override;

protected:
    void OnInitView() override;
    bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                       platform::Param& result) override;
    bool OnKindCommand(int id, int notify) override;

private:
    GenerationPGParams& params() const;
    // (Re)builds the links for the document's ruler.
    void Link();
    // Shows the step edits of the record's mode in place of the other's.
    void ShowMode();
    // The combo box picked `mode`: the step converted when it can be.
    void SwitchMode(int32_t mode);
    static void OnLinkedChange(void* self);

    ValueLinker linker_;
    int32_t linkedRuler_ = -1;
    double count_ = 20; // the count as the edit holds it
    QLWCircularSliderCtrl directionDial_;
};

class GenerationPGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 669;
    GenerationPGCtrlr(PanelHandle panel, FlyoutHandle flyout)
        : PGCtrlr(kKindGeneration, panel, flyout) {}
    GenerationPGParams& params() const { return *static_cast<GenerationPGParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<GenerationPGViewController>(*this);
    }
};

} // namespace vtg
