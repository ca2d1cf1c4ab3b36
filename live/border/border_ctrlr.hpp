// border_ctrlr.hpp - Live Border's panel: controller and view (dialog 663).
#pragma once

#include <cstdint>

#include "live/pg_ctrlr.hpp"
#include "ui/bitmap_button.hpp"
#include "ui/circular_slider.hpp"
#include "ui/value_link.hpp"

namespace vtg {

class BorderPGViewController : public PGViewController {
public:
    enum Ids {
        kOutside = 1571,
        kInside = 1572,
        kMergeOverlaps = 1950,
        kAutoLineStyle = 1847,
        kGradeEdit = 1573,
        kGradeSpin = 1574,
        kGradeSlider = 1578,
        kFirstPicture = 1575, // 1575 .. 1577: -100 %, 0 %, +100 %
        kInvertGrade = 1579,
        kStepMode = 1580,
        kStepLabel = 1581,
        kStepEdit = 1582,
        kStepSpin = 1583,
        kEccentricityEdit = 1584,
        kEccentricitySpin = 1585,
        kEccentricAngleEdit = 1586,
        kEccentricAngleSpin = 1587,
        kEccentricAngleDial = 1588,
        kShadow = 1589,
        kFirstShadowControl = 1590, // 1590 .. 1599 follow the shadow check box
        kDensityEdit = 1591,
        kDensitySpin = 1592,
        kOffsetEdit = 1594,
        kOffsetSpin = 1595,
        kLightDial = 1596,
        kLightEdit = 1597,
        kLightSpin = 1598,
        kLastShadowControl = 1599,
    };
    static constexpr int32_t kStepModeGiven = 3;

    explicit BorderPGViewController(PGCtrlr& ctrlr) : PGViewController(ctrlr) {}
    void Refresh(int reason) override;
    // The picture of grade button `index` (0 .. 2): bitmaps 831 .. 833, or
    // their inverted forms 834 .. 836.
    static int32_t GradePicture(int index, bool inverted) { return (inverted ? 834 : 831) + index; }

protected:
    void OnInitView() override;
    bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                       platform::Param& result) override;
    bool OnKindCommand(int id, int notify) override;

private:
    BorderPGParams& params() const;
    // (Re)builds the edit, spin and slider links for the document's ruler.
    void Link();
    void EnableGroups();
    void ShowPictures();
    static void OnLinkedChange(void* self);

    ValueLinker linker_;
    int32_t linkedRuler_ = -1;
    double stepCount_ = 3; // the step count as the edit holds it
    QLWCircularSliderCtrl eccentricDial_, lightDial_;
    QLWBitmapButton pictures_[3];
};

class BorderPGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 663;
    BorderPGCtrlr(PanelHandle panel, FlyoutHandle flyout) : PGCtrlr(kKindBorder, panel, flyout) {}
    BorderPGParams& params() const { return *static_cast<BorderPGParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<BorderPGViewController>(*this);
    }
};

} // namespace vtg
