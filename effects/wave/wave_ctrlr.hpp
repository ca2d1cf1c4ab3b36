// wave_ctrlr.hpp - the Multi-wave live effect: its controller, its
// dictionary keys and its dialog (template 699).
#pragma once

#include "effects/effect_ctrlr.hpp"
#include "params/effect_params.hpp"

namespace vtg {

extern const EffectInfo kWaveEffectInfo;

class WaveEffectCtrlr : public EffectCtrlr {
public:
    explicit WaveEffectCtrlr(WaveEffectParams* params);
    ErrorCode Apply(const void* record, ArtHandle art) override;
    std::unique_ptr<EffectDialogController> MakeDialog() override;
};

class WaveDialogController : public EffectDialogController {
public:
    static constexpr int kTemplateId = 699;
    static constexpr int kFirstStyle = 1763, kHorizontal = 1768, kCycleEdit = 1770,
                         kCycleSpin = 1771, kCycleSlider = 1778, kBendEdit = 1772, kBendSpin = 1773,
                         kBendSlider = 1774, kCentreEdit = 1775, kCentreSpin = 1776,
                         kCentreSlider = 1777;
    explicit WaveDialogController(EffectCtrlr& owner)
        : EffectDialogController(owner, kTemplateId) {}

protected:
    void InitControls() override;
};

} // namespace vtg
