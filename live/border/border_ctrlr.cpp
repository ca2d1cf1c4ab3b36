// Live Border's panel. The numbers go through the value links (parse,
// clamp, store converted, show again, move the slider); the choices and
// check boxes are stored here. Every stored change runs the live update.
#include "live/border/border_ctrlr.hpp"

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

// The grade curve each picture button sets.
constexpr double kPictureCurves[3] = {-1.0, 0.0, 1.0};

int32_t DocumentRuler() {
    const int32_t ruler = gGlobals != nullptr ? gGlobals->rulerUnits : kRulerPoints;
    return ruler >= kRulerInches && ruler <= kRulerQ ? ruler : kRulerPoints;
}

} // namespace

BorderPGParams& BorderPGViewController::params() const {
    return static_cast<BorderPGCtrlr&>(ctrlr_).params();
}

void BorderPGViewController::OnInitView() {
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    std::vector<std::string> modes(std::begin(kStepModeNames), std::end(kStepModeNames));
    platform::SetItems(item(kStepMode), modes);
    platform::SetRange(item(kGradeSlider), -100, 100);
    platform::SetPageSize(item(kGradeSlider), 5);
    // The dials show the direction as it lies in the document: 0° points
    // right and the angle grows counter-clockwise.
    for (auto [dial, id] : {std::pair{&eccentricDial_, int{kEccentricAngleDial}},
                            std::pair{&lightDial_, int{kLightDial}}}) {
        dial->AttachToItem(dialog_, id);
        platform::SetRange(item(id), -180, 180);
        dial->SetZeroAngle(90);
        dial->SetReversed(true);
    }
    for (int i = 0; i < 3; ++i)
        pictures_[i].AttachToItem(dialog_, kFirstPicture + i);
    // Spins carry no limit of their own: the edit's clamping is the only one.
    for (int spin : {kGradeSpin, kStepSpin, kEccentricitySpin, kEccentricAngleSpin, kDensitySpin,
                     kOffsetSpin, kLightSpin}) {
        platform::SetRange(item(spin), INT_MIN, INT_MAX);
        platform::SetAcceleration(item(spin), {{0, 1}});
    }
    lastScrollCode = platform::kScrollEnd;
    Link();
}

void BorderPGViewController::Link() {
    BorderPGParams& p = params();
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
    add(K::Number, kGradeEdit, kGradeSpin, kGradeSlider, -100, 100, 0.01, &p.gradeCurve);
    add(K::Integer, kStepEdit, kStepSpin, 0, 1, 32767, 1, &stepCount_);
    add(K::Number, kEccentricityEdit, kEccentricitySpin, 0, 0, 20000, 0.01, &p.eccentricity);
    add(K::Number, kEccentricAngleEdit, kEccentricAngleSpin, kEccentricAngleDial, -180, 180,
        kDegree, &p.eccentricAngle);
    add(K::Number, kDensityEdit, kDensitySpin, 0, 0, 100, 0.01, &p.shadowDensity);
    add(K::Distance, kOffsetEdit, kOffsetSpin, 0, 0, 20000, 1, &p.shadowOffset);
    add(K::Number, kLightEdit, kLightSpin, kLightDial, -180, 180, kDegree, &p.lightAngle);
    linker_.SetOnChange(&OnLinkedChange, this);
}

void BorderPGViewController::OnLinkedChange(void* self) {
    auto* view = static_cast<BorderPGViewController*>(self);
    view->params().stepCount = static_cast<int32_t>(view->stepCount_);
    view->ctrlr_.ValueChanged();
}

void BorderPGViewController::Refresh(int reason) {
    PGViewController::Refresh(reason);
    BorderPGParams& p = params();
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    // A record read from a document may hold any count; the panel holds
    // and shows the count within its range.
    p.stepCount = p.stepCount < 1 ? 1 : (p.stepCount > 32767 ? 32767 : p.stepCount);
    stepCount_ = p.stepCount;
    if (linkedRuler_ != DocumentRuler())
        Link();
    linker_.ShowAll();
    platform::SetChecked(item(kOutside), p.style != 1);
    platform::SetChecked(item(kInside), p.style == 1);
    platform::SetChecked(item(kMergeOverlaps), p.mergeOverlaps != 0);
    platform::SetChecked(item(kAutoLineStyle), p.autoLineStyle != 0);
    platform::SetChecked(item(kInvertGrade), p.invertGrade != 0);
    platform::SetChecked(item(kShadow), p.shadowOn != 0);
    platform::SetSelection(item(kStepMode), p.stepMode >= 0 && p.stepMode <= 3 ? p.stepMode : -1);
    ShowPictures();
    EnableGroups();
}

void BorderPGViewController::EnableGroups() {
    const BorderPGParams& p = params();
    auto enable = [&](int id, bool on) { platform::Enable(platform::GetItem(dialog_, id), on); };
    enable(kMergeOverlaps, p.style == 1);
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

void BorderPGViewController::ShowPictures() {
    const bool inverted = params().invertGrade != 0;
    for (int i = 0; i < 3; ++i) {
        const int32_t id = GradePicture(i, inverted);
        pictures_[i].SetBitmap(id);
        platform::WindowId button = platform::GetItem(dialog_, kFirstPicture + i);
        platform::SetImage(button, id);
        platform::Redraw(button);
    }
}

bool BorderPGViewController::OnViewMessage(std::uint32_t code, platform::Param wparam,
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

bool BorderPGViewController::OnKindCommand(int id, int notify) {
    BorderPGParams& p = params();
    platform::WindowId control = platform::GetItem(dialog_, id);
    const int32_t checked = platform::IsChecked(control) ? 1 : 0;
    switch (id) {
    case kOutside:
    case kInside:
        if (notify != platform::kNotifyClicked)
            return true;
        p.style = id == kInside ? 1 : 0;
        EnableGroups();
        break;
    case kMergeOverlaps:
        p.mergeOverlaps = checked;
        break;
    case kAutoLineStyle:
        p.autoLineStyle = checked;
        break;
    case kInvertGrade:
        p.invertGrade = checked;
        ShowPictures();
        break;
    case kShadow:
        p.shadowOn = checked;
        EnableGroups();
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
    default:
        if (id < kFirstPicture || id >= kFirstPicture + 3)
            return false;
        if (notify != platform::kNotifyClicked)
            return true;
        p.gradeCurve = kPictureCurves[id - kFirstPicture];
        linker_.ShowAll();
        break;
    }
    ctrlr_.ValueChanged();
    return true;
}

} // namespace vtg
