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
    ErrorCode UpdatePreview() override;

    // The filter: its dialog on the selected paths (kNoSelection without
    // one, kUserStopped on Cancel; the previews are undone), and the run on
    // the selected paths, recorded as the action while the host records.
    ErrorCode FilterGetParameters() override;
    ErrorCode FilterGo() override;
    // "Do Action" of "VtG4_Fractalize_Action": the values into a copy of
    // the record, the dialog when asked for (Cancel ends the replay with
    // kUserStopped), then the filter. The record changes only when every
    // value was read and lies in its range.
    ErrorCode PlayAction(ValueBlockHandle values, bool showDialog);
    const char* DialogName() const override;
    const char* HelpPage() const override;
    bool filterDialog() const { return filterDialog_; }

    // "乱数列変更": the next preview draws exactly one new seed, which the
    // instance then keeps.
    ErrorCode NewSeedPreview();
    int32_t lastSeed() const { return lastSeed_; }

private:
    int32_t TakeNewSeed();
    ErrorCode RunFilterDialog();
    // Fractalizes every selected path with `p`; kNoSelection when none.
    ErrorCode FractalizeSelection(const FractalizeParams& p);
    ErrorCode RecordAction() const;
    bool newSeedPending_ = false;
    int32_t lastSeed_ = 0;
    // The filter runs with the seed its dialog previewed; cleared by the run.
    bool reuseSeed_ = false;
    bool filterDialog_ = false;
};

// The filter's action: registered at start-up under action index 0.
ErrorCode RegisterFractalizeAction(PluginRef plugin);
inline constexpr const char* kFractalizeActionName = "VtG4_Fractalize_Action";

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
