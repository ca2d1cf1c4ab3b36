// warp_ctrlr.hpp - the Perspective Warp live effect: its controller, its
// dictionary keys and its dialog (template 698).
#pragma once

#include "effects/effect_ctrlr.hpp"
#include "params/effect_params.hpp"

namespace vtg {

extern const EffectInfo kWarpEffectInfo;

class WarpEffectCtrlr : public EffectCtrlr {
public:
    explicit WarpEffectCtrlr(WarpEffectParams* params);
    ErrorCode Apply(const void* record, ArtHandle art) override;
    std::unique_ptr<EffectDialogController> MakeDialog() override;
};

class WarpDialogController : public EffectDialogController {
public:
    static constexpr int kTemplateId = 698;
    static constexpr int kFirstStyle = 1730, kHorizontal = 1752, kPerspective = 1754,
                         kMarginEdit = 1755, kMarginSpin = 1756, kBendEdit = 1757, kBendSpin = 1758,
                         kBendSlider = 1759, kCentreEdit = 1760, kCentreSpin = 1761,
                         kCentreSlider = 1762;
    explicit WarpDialogController(EffectCtrlr& owner)
        : EffectDialogController(owner, kTemplateId) {}
    void Refresh() override;

protected:
    void InitControls() override;
    void ChoiceChanged(int firstId) override;

private:
    void EnablePerspective();
};

} // namespace vtg
