// neon_ctrlr.hpp - Live Neon's panel: controller and view (dialog 664).
#pragma once

#include <cstdint>

#include "live/pg_ctrlr.hpp"
#include "ui/bitmap_button.hpp"
#include "ui/circular_slider.hpp"
#include "ui/value_link.hpp"

namespace vtg {

class NeonPGViewController : public PGViewController {
public:
    enum Ids {
        kMergeOverlaps = 1949,
        kAutoLineStyle = 1846,
        kTrackEdit = 1601,
        kTrackSpin = 1602,
        kGradeEdit = 1600,
        kGradeSpin = 1603,
        kGradeSlider = 1607,
        kFirstGradePicture = 1604, // 1604 .. 1606: -100 %, 0 %, +100 %
        kContrastEdit = 1609,
        kContrastSpin = 1611,
        kContrastSlider = 1833,
        kStepMode = 1612,
        kStepLabel = 1613,
        kStepEdit = 1614,
        kStepSpin = 1615,
        kEccentricityEdit = 1616,
        kEccentricitySpin = 1617,
        kEccentricAngleDial = 1618,
        kEccentricAngleEdit = 1619,
        kEccentricAngleSpin = 1620,
        kGlow = 1632,
        kGlowWidthEdit = 1848,
        kGlowWidthSpin = 1849,
        kGlowCurveEdit = 1850,
        kGlowCurveSpin = 1851,
        kGlowCurveSlider = 1852,
        kGlowContrastEdit = 1853,
        kGlowContrastSpin = 1854,
        kGlowContrastSlider = 1855,
        kFirstGlowPicture = 1856, // 1856 .. 1858: -100 %, 0 %, +100 %
        kShadow = 1621,
        kFirstShadowControl = 1622, // 1622 .. 1631 follow the shadow check box
        kDensityEdit = 1623,
        kDensitySpin = 1624,
        kOffsetEdit = 1626,
        kOffsetSpin = 1627,
        kLightDial = 1629,
        kLightEdit = 1630,
        kLightSpin = 1631,
        kLastShadowControl = 1631,
        kShadowInvert = 1608,
    };
    static constexpr int32_t kStepModeGiven = 3;
    // The pictures of the grade buttons (bitmaps 837 .. 839) and of the glow
    // buttons (831 .. 833).
    static constexpr int32_t kGradePictures = 837;
    static constexpr int32_t kGlowPictures = 831;

    explicit NeonPGViewController(PGCtrlr& ctrlr) : PGViewController(ctrlr) {}
    void Refresh(int reason) override;

protected:
    void OnInitView() override;
    bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                       platform::Param& result) override;
    bool OnKindCommand(int id, int notify) override;

private:
    NeonPGParams& params() const;
    // (Re)builds the edit, spin and slider links for the document's ruler.
    void Link();
    void EnableGroups();
    static void OnLinkedChange(void* self);

    ValueLinker linker_;
    int32_t linkedRuler_ = -1;
    double trackCount_ = 1, stepCount_ = 3; // the counts as their edits hold them
    QLWCircularSliderCtrl eccentricDial_, lightDial_;
    QLWBitmapButton gradePictures_[3], glowPictures_[3];
};

class NeonPGCtrlr : public PGCtrlr {
public:
    static constexpr int kDialog = 664;
    NeonPGCtrlr(PanelHandle panel, FlyoutHandle flyout) : PGCtrlr(kKindNeon, panel, flyout) {}
    NeonPGParams& params() const { return *static_cast<NeonPGParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<PGViewController> MakeView() override {
        return std::make_unique<NeonPGViewController>(*this);
    }
};

} // namespace vtg
