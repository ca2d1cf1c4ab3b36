// Live Emboss's panel. The numbers go through the value links; the style and
// the reverse box are stored here. Every stored change runs the live update.
#include "live/emboss/emboss_ctrlr.hpp"

#include <climits>
#include <numbers>
#include <string>
#include <vector>

#include "platform/window.hpp"

namespace vtg {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

int32_t DocumentRuler() {
    const int32_t ruler = gGlobals != nullptr ? gGlobals->rulerUnits : kRulerPoints;
    return ruler >= kRulerInches && ruler <= kRulerQ ? ruler : kRulerPoints;
}

} // namespace

EmbossPGParams& EmbossPGViewController::params() const {
    return static_cast<EmbossPGCtrlr&>(ctrlr_).params();
}

void EmbossPGViewController::OnInitView() {
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    platform::SetItems(item(kStyle), std::vector<std::string>{"通常", "明部のみ", "暗部のみ"});
    // The dial shows the direction as it lies in the document: 0° points
    // right and the angle grows counter-clockwise.
    lightDial_.AttachToItem(dialog_, kLightDial);
    platform::SetRange(item(kLightDial), -180, 180);
    lightDial_.SetZeroAngle(90);
    lightDial_.SetReversed(true);
    // Spins carry no limit of their own: the edit's clamping is the only one.
    for (int spin : {kContrastSpin, kOffsetSpin, kLightSpin, kStepsSpin}) {
        platform::SetRange(item(spin), INT_MIN, INT_MAX);
        platform::SetAcceleration(item(spin), {{0, 1}});
    }
    lastScrollCode = platform::kScrollEnd;
    Link();
}

void EmbossPGViewController::Link() {
    EmbossPGParams& p = params();
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
    add(K::Number, kContrastEdit, kContrastSpin, 0, 0, 100, 0.01, &p.contrast);
    add(K::Distance, kOffsetEdit, kOffsetSpin, 0, 0, 16383, 1, &p.offset);
    add(K::Number, kLightEdit, kLightSpin, kLightDial, -180, 180, kDegree, &p.lightAngle);
    add(K::Integer, kStepsEdit, kStepsSpin, 0, 1, 32767, 1, &steps_);
    linker_.SetOnChange(&OnLinkedChange, this);
}

void EmbossPGViewController::OnLinkedChange(void* self) {
    auto* view = static_cast<EmbossPGViewController*>(self);
    view->params().steps = static_cast<int32_t>(view->steps_);
    view->ctrlr_.ValueChanged();
}

void EmbossPGViewController::Refresh(int reason) {
    PGViewController::Refresh(reason);
    EmbossPGParams& p = params();
    p.steps = p.steps < 1 ? 1 : (p.steps > 32767 ? 32767 : p.steps);
    steps_ = p.steps;
    if (linkedRuler_ != DocumentRuler())
        Link();
    linker_.ShowAll();
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    platform::SetSelection(item(kStyle),
                           p.embossStyle >= 0 && p.embossStyle <= 2 ? p.embossStyle : -1);
    platform::SetChecked(item(kReverse), p.reverse != 0);
}

bool EmbossPGViewController::OnViewMessage(std::uint32_t code, platform::Param wparam,
                                           platform::Param lparam, platform::Param& result) {
    if (code == platform::kMsgCommand || code == platform::kMsgNotify ||
        code == platform::kMsgHScroll) {
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

bool EmbossPGViewController::OnKindCommand(int id, int notify) {
    EmbossPGParams& p = params();
    platform::WindowId control = platform::GetItem(dialog_, id);
    switch (id) {
    case kStyle: {
        if (notify != platform::kNotifySelChange)
            return true;
        const int chosen = platform::GetSelection(control);
        if (chosen < 0 || chosen > 2)
            return true;
        p.embossStyle = chosen;
        break;
    }
    case kReverse:
        p.reverse = platform::IsChecked(control) ? 1 : 0;
        break;
    default:
        return false;
    }
    ctrlr_.ValueChanged();
    return true;
}

} // namespace vtg
