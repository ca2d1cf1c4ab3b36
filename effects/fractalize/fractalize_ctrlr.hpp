// fractalize_ctrlr.hpp - the Fractalize live effect: its controller (with
// the instance seed kept in the art tag "randSeed"), its dictionary keys
// and its dialog (template 657).
#pragma once

#include "effects/effect_ctrlr.hpp"
#include "effects/fractalize/fractalize_effect.hpp"
#include "params/effect_params.hpp"

namespace vtg {

extern const EffectInfo kFractalizeEffectInfo;

class FractalizeEffectCtrlr : public EffectCtrlr {
public:
    explicit FractalizeEffectCtrlr(FractalizeParams* params);
    ErrorCode Apply(const void* record, ArtHandle art) override;
    std::unique_ptr<EffectDialogController> MakeDialog() override;
    ErrorCode GoLive(LiveEffectGoMessage* message) override;
    ErrorCode EditParameters(LiveEffectEditMessage* message) override;

    // "乱数列変更": the next preview draws exactly one new seed, which the
    // instance then keeps.
    ErrorCode NewSeedPreview();
    int32_t lastSeed() const { return lastSeed_; }

private:
    int32_t TakeNewSeed();
    bool newSeedPending_ = false;
    int32_t lastSeed_ = 0;
};

class FractalizeDialogController : public EffectDialogController {
public:
    static constexpr int kTemplateId = 657;
    static constexpr int kGenerator = 1422, kReverseH = 1824, kReverseV = 1825,
                         kConstantSize = 1917, kLevel = 1425, kDensityEdit = 1426,
                         kDensitySpin = 1427, kHeightEdit = 1423, kHeightSpin = 1424,
                         kGapEdit = 1914, kGapSpin = 1915, kShiftEdit = 1919, kShiftSpin = 1916,
                         kUnevenCheck = 1918, kUnevenEdit = 1428, kUnevenSpin = 1429,
                         kUnevenUnit = 1430, kUnevenGenerator = 1923, kNewSeed = 1431;
    explicit FractalizeDialogController(FractalizeEffectCtrlr& owner)
        : EffectDialogController(owner, kTemplateId), fractalize_(owner) {}
    void Refresh() override;

protected:
    void InitControls() override;
    bool OnCommand(int id, int notify) override;
    void ChoiceChanged(int firstId) override;

private:
    void ShowChoices();
    FractalizeEffectCtrlr& fractalize_;
};

} // namespace vtg
