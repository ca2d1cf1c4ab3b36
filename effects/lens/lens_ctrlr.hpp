// lens_ctrlr.hpp - the Lens live effect: its controller with the lens-area
// guide shown while the dialog is open, its dictionary keys and its dialog
// (template 700).
#pragma once

#include "effects/effect_ctrlr.hpp"
#include "effects/lens/lens_effect.hpp"
#include "params/effect_params.hpp"

namespace vtg {

extern const EffectInfo kLensEffectInfo;

class LensEffectCtrlr : public EffectCtrlr {
public:
    explicit LensEffectCtrlr(LensEffectParams* params);
    ErrorCode Apply(const void* record, ArtHandle art) override;
    std::unique_ptr<EffectDialogController> MakeDialog() override;
    ErrorCode UpdatePreview() override;

    bool showArea() const { return showArea_ != 0; }
    int32_t* showAreaField() { return &showArea_; }
    ArtHandle areaPath() const { return areaPath_; }
    // Deletes the lens-area guide when there is one (and forgets it).
    void DeleteArea();

protected:
    void BeforeEdit() override;
    void AfterDialog() override;

private:
    void DrawArea();

    int32_t showArea_ = 0;
    ArtHandle areaPath_ = nullptr;
    LensArea lens_; // placed by the latest Go Live
};

class LensDialogController : public EffectDialogController {
public:
    static constexpr int kTemplateId = 700;
    static constexpr int kFirstKind = 1780, kKindName = 1820, kThicknessEdit = 1785,
                         kThicknessSpin = 1786, kThicknessSlider = 1815, kZoomEdit = 1788,
                         kZoomSpin = 1789, kZoomSlider = 1816, kAngleEdit = 1791, kAngleSpin = 1792,
                         kAngleSlider = 1817, kCycleEdit = 1794, kCycleSpin = 1795,
                         kMinWidthEdit = 1797, kMinWidthSpin = 1798, kMinHeightEdit = 1800,
                         kMinHeightSpin = 1801, kGroup = 1802, kOffsetHEdit = 1803,
                         kOffsetHSpin = 1804, kOffsetHSlider = 1805, kOffsetVEdit = 1806,
                         kOffsetVSpin = 1807, kOffsetVSlider = 1808, kWidthEdit = 1809,
                         kWidthSpin = 1810, kWidthSlider = 1811, kHeightEdit = 1812,
                         kHeightSpin = 1813, kHeightSlider = 1814, kInscribed = 1822,
                         kShowArea = 1818;
    explicit LensDialogController(LensEffectCtrlr& owner)
        : EffectDialogController(owner, kTemplateId), lens_(owner) {}
    void Refresh() override;

protected:
    void InitControls() override;
    void ChoiceChanged(int firstId) override;

private:
    static void OnLensChange(void* self);
    void ShowKindRows();

    LensEffectCtrlr& lens_;
    double cycle_ = 1;    // the twirl cycle as the edit shows it
    VtgPoint size_{1, 1}; // the size ratios before the latest change
};

} // namespace vtg
