// Live Generation's panel. The numbers go through the value links (parse,
// clamp, store converted, show again); the step has two edits, one per
// spacing mode, shown in the same place. Every stored change runs the live
// update.
#include "live/generation/generation_ctrlr.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "live/generation/generation_generator.hpp"
#include "platform/window.hpp"

namespace vtg {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kMaxDistance = 16383;
constexpr double kMaxPercent = 20000;

const char* const kModeNames[] = {"相対送り量(%) :", "絶対送り量:"};

int32_t DocumentRuler() {
    const int32_t ruler = gGlobals != nullptr ? gGlobals->rulerUnits : kRulerPoints;
    return ruler >= kRulerInches && ruler <= kRulerQ ? ruler : kRulerPoints;
}

} // namespace

GenerationPGParams& GenerationPGViewController::params() const {
    return static_cast<GenerationPGCtrlr&>(ctrlr_).params();
}

void GenerationPGViewController::OnInitView() {
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    platform::SetItems(item(kFeedMode),
                       std::vector<std::string>(std::begin(kModeNames), std::end(kModeNames)));
    // The dial shows the direction as it lies in the document: 0° points
    // right and the angle grows counter-clockwise.
    directionDial_.AttachToItem(dialog_, kDirectionDial);
    platform::SetRange(item(kDirectionDial), -180, 180);
    directionDial_.SetZeroAngle(90);
    directionDial_.SetReversed(true);
    // Spins carry no limit of their own: the edit's clamping is the only one.
    for (int spin :
         {kCountSpin, kRelativeSpin, kDistanceSpin, kRateSpin, kDirectionSpin, kTurnSpin}) {
        platform::SetRange(item(spin), INT_MIN, INT_MAX);
        platform::SetAcceleration(item(spin), {{0, 1}});
    }
    lastScrollCode = platform::kScrollEnd;
    Link();
}

void GenerationPGViewController::Link() {
    GenerationPGParams& p = params();
    linkedRuler_ = DocumentRuler();
    linker_ = ValueLinker(dialog_);
    auto add = [&](LinkedValue::Kind kind, int edit, int spin, int slider, double low, double high,
                   double scale, double* target) {
        LinkedValue v = vtg::Link(kind, edit, spin, slider, low, high, scale, target);
        v.ruler = linkedRuler_;
        linker_.Add(v);
    };
    using K = LinkedValue::Kind;
    add(K::Integer, kCountEdit, kCountSpin, 0, 2, 32767, 1, &count_);
    add(K::Number, kRelativeEdit, kRelativeSpin, 0, -kMaxPercent, kMaxPercent, 0.01, &p.distance);
    add(K::Distance, kDistanceEdit, kDistanceSpin, 0, -kMaxDistance, kMaxDistance, 1, &p.distance);
    add(K::Number, kRateEdit, kRateSpin, 0, -kMaxPercent, kMaxPercent, 0.01, &p.rate);
    add(K::Number, kDirectionEdit, kDirectionSpin, kDirectionDial, -180, 180, kDegree,
        &p.direction);
    add(K::Number, kTurnEdit, kTurnSpin, 0, -36000, 36000, kDegree, &p.directionChange);
    linker_.SetOnChange(&OnLinkedChange, this);
}

void GenerationPGViewController::OnLinkedChange(void* self) {
    auto* view = static_cast<GenerationPGViewController*>(self);
    view->params().count = static_cast<int32_t>(view->count_);
    view->ctrlr_.ValueChanged();
}

void GenerationPGViewController::ShowMode() {
    const bool absolute = params().feedMode == 1;
    for (auto [id, show] :
         {std::pair{int{kRelativeEdit}, !absolute}, std::pair{int{kRelativeSpin}, !absolute},
          std::pair{int{kDistanceEdit}, absolute}, std::pair{int{kDistanceSpin}, absolute}}) {
        platform::WindowId control = platform::GetItem(dialog_, id);
        platform::Show(control, show);
        platform::Enable(control, show);
    }
}

void GenerationPGViewController::Refresh(int reason) {
    PGViewController::Refresh(reason);
    GenerationPGParams& p = params();
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    // A record read from a document may hold any count; the panel shows
    // the count within its range (the record keeps its own until edited).
    count_ = std::clamp<double>(p.count, 2, 32767);
    if (linkedRuler_ != DocumentRuler())
        Link();
    linker_.ShowAll();
    platform::SetSelection(item(kFeedMode), p.feedMode == 0 || p.feedMode == 1 ? p.feedMode : -1);
    platform::SetChecked(item(kStackAbove), p.stacking == 0);
    platform::SetChecked(item(kStackBelow), p.stacking == 1);
    ShowMode();
}

bool GenerationPGViewController::OnViewMessage(std::uint32_t code, platform::Param wparam,
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

void GenerationPGViewController::SwitchMode(int32_t mode) {
    GenerationPGParams& p = params();
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    // The value the old mode shows, as a fraction or in points.
    double value = 0;
    bool read = false;
    if (p.feedMode == 1) {
        std::string display;
        read = ParseDistance(GetControlText(item(kDistanceEdit)).c_str(), -kMaxDistance,
                             kMaxDistance, 4, display, value, linkedRuler_) == kNoErr;
    } else if (ParseTypedNumber(GetControlText(item(kRelativeEdit)).c_str(), value) &&
               std::isfinite(value)) {
        value /= 100;
        read = true;
    }
    double length = 0;
    // Without a reference (no art of width to measure) the number stays as
    // it is and is read in the new unit.
    if (read && GenerationReferenceLength(length)) {
        const double converted = mode == 1 ? value * length : value / length;
        p.distance = mode == 1 ? std::clamp(converted, -kMaxDistance, kMaxDistance)
                               : std::clamp(converted, -kMaxPercent / 100, kMaxPercent / 100);
    }
    p.feedMode = mode;
    ShowMode();
    linker_.ShowAll();
}

bool GenerationPGViewController::OnKindCommand(int id, int notify) {
    GenerationPGParams& p = params();
    switch (id) {
    case kStackAbove:
    case kStackBelow:
        if (notify != platform::kNotifyClicked)
            return true;
        p.stacking = id == kStackBelow ? 1 : 0;
        break;
    case kFeedMode: {
        if (notify != platform::kNotifySelChange)
            return true;
        const int chosen = platform::GetSelection(platform::GetItem(dialog_, id));
        if (chosen < 0 || chosen > 1 || chosen == p.feedMode)
            return true;
        SwitchMode(chosen);
        break;
    }
    default:
        return false;
    }
    ctrlr_.ValueChanged();
    return true;
}

} // namespace vtg
