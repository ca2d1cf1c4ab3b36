// Live Neon's panel. The numbers go through the value links (parse, clamp,
// store converted, show again, move the slider); the choices and check
// boxes are stored here. Every stored change runs the live update.
#include "live/neon/neon_ctrlr.hpp"

#include <climits>
#include <iterator>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "platform/window.hpp"

namespace vtg {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

const char* const kStepModeNames[] = {"自動階調（高密度）", "自動階調（中密度）",
                                      "自動階調（低密度）", "指定ステップ"};

// The curve each picture button sets.
constexpr double kPictureCurves[3] = {-1.0, 0.0, 1.0};

int32_t DocumentRuler() {
    const int32_t ruler = gGlobals != nullptr ? gGlobals->rulerUnits : kRulerPoints;
    return ruler >= kRulerInches && ruler <= kRulerQ ? ruler : kRulerPoints;
}

int32_t Within(int32_t v, int32_t low, int32_t high) {
    return v < low ? low : (v > high ? high : v);
}

} // namespace

NeonPGParams& NeonPGViewController::params() const {
    return static_cast<NeonPGCtrlr&>(ctrlr_).params();
}

void NeonPGViewController::OnInitView() {
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    std::vector<std::string> modes(std::begin(kStepModeNames), std::end(kStepModeNames));
    platform::SetItems(item(kStepMode), modes);
    for (int slider : {kGradeSlider, kGlowCurveSlider})
        platform::SetRange(item(slider), -100, 100);
    for (int slider : {kContrastSlider, kGlowContrastSlider})
        platform::SetRange(item(slider), 0, 100);
    for (int slider : {kGradeSlider, kGlowCurveSlider, kContrastSlider, kGlowContrastSlider})
        platform::SetPageSize(item(slider), 5);
    // The dials show the direction as it lies in the document: 0° points
    // right and the angle grows counter-clockwise.
    for (auto [dial, id] : {std::pair{&eccentricDial_, int{kEccentricAngleDial}},
                            std::pair{&lightDial_, int{kLightDial}}}) {
        dial->AttachToItem(dialog_, id);
        platform::SetRange(item(id), -180, 180);
        dial->SetZeroAngle(90);
        dial->SetReversed(true);
    }
    for (int i = 0; i < 3; ++i) {
        gradePictures_[i].AttachToItem(dialog_, kFirstGradePicture + i);
        gradePictures_[i].SetBitmap(kGradePictures + i);
        glowPictures_[i].AttachToItem(dialog_, kFirstGlowPicture + i);
        glowPictures_[i].SetBitmap(kGlowPictures + i);
    }
    // Spins carry no limit of their own: the edit's clamping is the only one.
    for (int spin : {kTrackSpin, kGradeSpin, kContrastSpin, kStepSpin, kEccentricitySpin,
                     kEccentricAngleSpin, kGlowWidthSpin, kGlowCurveSpin, kGlowContrastSpin,
                     kDensitySpin, kOffsetSpin, kLightSpin}) {
        platform::SetRange(item(spin), INT_MIN, INT_MAX);
        platform::SetAcceleration(item(spin), {{0, 1}});
    }
    lastScrollCode = platform::kScrollEnd;
    Link();
}

void NeonPGViewController::Link() {
    NeonPGParams& p = params();
    linkedRuler_ = DocumentRuler();
    linker_ = ValueLinker(dialog_);
    auto add = [&](LinkedValue::Kind kind, int edit, int spin, int slider, double low, double high,
                   double scale, double* target) {
        LinkedValue v = vtg::Link(kind, edit, spin, slider, low, high, scale, target);
        v.ruler = linkedRuler_;
        v.spinStep = kind == LinkedValue::Kind::Distance ? 0.1 : 1.0;
        linker_.Add(v);
    };
    using K = LinkedValue::Kind;
    add(K::Integer, kTrackEdit, kTrackSpin, 0, 1, 32767, 1, &trackCount_);
    add(K::Number, kGradeEdit, kGradeSpin, kGradeSlider, -100, 100, 0.01, &p.gradeCurve);
    add(K::Number, kContrastEdit, kContrastSpin, kContrastSlider, 0, 20000, 0.01, &p.contrast);
    add(K::Integer, kStepEdit, kStepSpin, 0, 2, 32767, 1, &stepCount_);
    add(K::Number, kEccentricityEdit, kEccentricitySpin, 0, 0, 20000, 0.01, &p.eccentricity);
    add(K::Number, kEccentricAngleEdit, kEccentricAngleSpin, kEccentricAngleDial, -180, 180,
        kDegree, &p.eccentricAngle);
    add(K::Number, kGlowWidthEdit, kGlowWidthSpin, 0, 0, 20000, 0.01, &p.glowWidth);
    add(K::Number, kGlowCurveEdit, kGlowCurveSpin, kGlowCurveSlider, -100, 100, 0.01, &p.glowCurve);
    add(K::Number, kGlowContrastEdit, kGlowContrastSpin, kGlowContrastSlider, 0, 100, 0.01,
        &p.glowContrast);
    add(K::Number, kDensityEdit, kDensitySpin, 0, 0, 100, 0.01, &p.shadowDensity);
    add(K::Distance, kOffsetEdit, kOffsetSpin, 0, 0, 16383, 1, &p.shadowOffset);
    add(K::Number, kLightEdit, kLightSpin, kLightDial, -180, 180, kDegree, &p.lightAngle);
    linker_.SetOnChange(&OnLinkedChange, this);
}

void NeonPGViewController::OnLinkedChange(void* self) {
    auto* view = static_cast<NeonPGViewController*>(self);
    view->params().trackCount = static_cast<int32_t>(view->trackCount_);
    view->params().stepCount = static_cast<int32_t>(view->stepCount_);
    view->ctrlr_.ValueChanged();
}

void NeonPGViewController::Refresh(int reason) {
    PGViewController::Refresh(reason);
    NeonPGParams& p = params();
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    // A record read from a document may hold any count; the panel holds
    // and shows the counts within their ranges.
    p.trackCount = Within(p.trackCount, 1, 32767);
    p.stepCount = Within(p.stepCount, 2, 32767);
    trackCount_ = p.trackCount;
    stepCount_ = p.stepCount;
    if (linkedRuler_ != DocumentRuler())
        Link();
    linker_.ShowAll();
    platform::SetChecked(item(kMergeOverlaps), p.mergeOverlaps != 0);
    platform::SetChecked(item(kAutoLineStyle), p.autoLineStyle != 0);
    platform::SetChecked(item(kGlow), p.glowOn != 0);
    platform::SetChecked(item(kShadow), p.shadowOn != 0);
    platform::SetChecked(item(kShadowInvert), p.shadowInvert != 0);
    platform::SetSelection(item(kStepMode), p.stepMode >= 0 && p.stepMode <= 3 ? p.stepMode : -1);
    EnableGroups();
}

void NeonPGViewController::EnableGroups() {
    const NeonPGParams& p = params();
    auto enable = [&](int id, bool on) { platform::Enable(platform::GetItem(dialog_, id), on); };
    const bool given = p.stepMode == kStepModeGiven;
    for (int id : {kStepLabel, kStepEdit, kStepSpin})
        enable(id, given);
    const bool shadow = p.shadowOn != 0;
    for (int id = kFirstShadowControl; id <= kLastShadowControl; ++id)
        if (id == kLightDial)
            lightDial_.Enable(shadow);
        else
            enable(id, shadow);
}

bool NeonPGViewController::OnViewMessage(std::uint32_t code, platform::Param wparam,
                                         platform::Param lparam, platform::Param& result) {
    if (code == platform::kMsgCommand || code == platform::kMsgNotify ||
        code == platform::kMsgHScroll) {
        // A ruler change reaches the links before the next typed length.
        if (linkedRuler_ != DocumentRuler()) {
            Link();
            linker_.ShowAll();
        }
        if (linker_.Handle(code, wparam, lparam)) {
            result = 0;
            return true;
        }
    }
    return PGViewController::OnViewMessage(code, wparam, lparam, result);
}

bool NeonPGViewController::OnKindCommand(int id, int notify) {
    NeonPGParams& p = params();
    platform::WindowId control = platform::GetItem(dialog_, id);
    const int32_t checked = platform::IsChecked(control) ? 1 : 0;
    switch (id) {
    case kMergeOverlaps:
        p.mergeOverlaps = checked;
        break;
    case kAutoLineStyle:
        p.autoLineStyle = checked;
        break;
    case kGlow:
        p.glowOn = checked;
        break;
    case kShadow:
        p.shadowOn = checked;
        EnableGroups();
        break;
    case kShadowInvert:
        p.shadowInvert = checked;
        break;
    case kStepMode: {
        if (notify != platform::kNotifySelChange)
            return true;
        const int chosen = platform::GetSelection(control);
        if (chosen < 0 || chosen > 3)
            return true;
        p.stepMode = chosen;
        EnableGroups();
        break;
    }
    default: {
        const bool grade = id >= kFirstGradePicture && id < kFirstGradePicture + 3;
        const bool glow = id >= kFirstGlowPicture && id < kFirstGlowPicture + 3;
        if (!grade && !glow)
            return false;
        if (notify != platform::kNotifyClicked)
            return true;
        if (grade)
            p.gradeCurve = kPictureCurves[id - kFirstGradePicture];
        else
            p.glowCurve = kPictureCurves[id - kFirstGlowPicture];
        linker_.ShowAll();
        break;
    }
    }
    ctrlr_.ValueChanged();
    return true;
}

} // namespace vtg
