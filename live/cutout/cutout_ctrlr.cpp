// The panels of Live Cutout and Live Shadow. The numbers go through the
// value links (parse, clamp, store converted, show again, move the slider);
// every stored change runs the live update.
#include "live/cutout/cutout_ctrlr.hpp"

#include <climits>
#include <numbers>

#include "platform/window.hpp"

namespace vtg {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

int32_t DocumentRuler() {
    const int32_t ruler = gGlobals != nullptr ? gGlobals->rulerUnits : kRulerPoints;
    return ruler >= kRulerInches && ruler <= kRulerQ ? ruler : kRulerPoints;
}

// The light dial shows the direction as it lies in the document: 0° points
// right and the angle grows counter-clockwise. Spins carry no limit of their
// own: the edit's clamping is the only one.
void InitControls(platform::WindowId dialog, QLWCircularSliderCtrl& dial, int dialId,
                  std::initializer_list<int> spins) {
    dial.AttachToItem(dialog, dialId);
    platform::SetRange(platform::GetItem(dialog, dialId), -180, 180);
    dial.SetZeroAngle(90);
    dial.SetReversed(true);
    for (int spin : spins) {
        platform::SetRange(platform::GetItem(dialog, spin), INT_MIN, INT_MAX);
        platform::SetAcceleration(platform::GetItem(dialog, spin), {{0, 1}});
    }
    lastScrollCode = platform::kScrollEnd;
}

void AddLink(ValueLinker& linker, int32_t ruler, LinkedValue::Kind kind, int edit, int spin,
             int slider, double low, double high, double scale, double* target) {
    LinkedValue v = vtg::Link(kind, edit, spin, slider, low, high, scale, target);
    v.ruler = ruler;
    v.spinStep = kind == LinkedValue::Kind::Distance ? 0.1 : 1.0;
    linker.Add(v);
}

} // namespace

// --- Cutout --------------------------------------------------------------------

CutoutPGParams& CutoutPGViewController::params() const {
    return static_cast<CutoutPGCtrlr&>(ctrlr_).params();
}

void CutoutPGViewController::OnInitView() {
    InitControls(dialog_, lightDial_, kLightDial,
                 {kShadeSpin, kOffsetSpin, kLightSpin, kStepsSpin});
    Link();
}

void CutoutPGViewController::Link() {
    CutoutPGParams& p = params();
    linkedRuler_ = DocumentRuler();
    linker_ = ValueLinker(dialog_);
    using K = LinkedValue::Kind;
    AddLink(linker_, linkedRuler_, K::Number, kShadeEdit, kShadeSpin, 0, 0, 100, 0.01, &p.shade);
    AddLink(linker_, linkedRuler_, K::Distance, kOffsetEdit, kOffsetSpin, 0, 0, 16383, 1,
            &p.offset);
    AddLink(linker_, linkedRuler_, K::Number, kLightEdit, kLightSpin, kLightDial, -180, 180,
            kDegree, &p.lightAngle);
    AddLink(linker_, linkedRuler_, K::Integer, kStepsEdit, kStepsSpin, 0, 1, 32767, 1, &steps_);
    linker_.SetOnChange(&OnLinkedChange, this);
}

void CutoutPGViewController::OnLinkedChange(void* self) {
    auto* view = static_cast<CutoutPGViewController*>(self);
    view->params().steps = static_cast<int32_t>(view->steps_);
    view->ctrlr_.ValueChanged();
}

void CutoutPGViewController::Refresh(int reason) {
    PGViewController::Refresh(reason);
    CutoutPGParams& p = params();
    // A record read from a document may hold any count; the panel holds and
    // shows the count within its range.
    p.steps = p.steps < 1 ? 1 : (p.steps > 32767 ? 32767 : p.steps);
    steps_ = p.steps;
    if (linkedRuler_ != DocumentRuler())
        Link();
    linker_.ShowAll();
}

bool CutoutPGViewController::OnViewMessage(std::uint32_t code, platform::Param wparam,
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

// --- Shadow --------------------------------------------------------------------

ShadowPGParams& ShadowPGViewController::params() const {
    return static_cast<ShadowPGCtrlr&>(ctrlr_).params();
}

void ShadowPGViewController::OnInitView() {
    InitControls(dialog_, lightDial_, kLightDial,
                 {kShadeSpin, kOffsetSpin, kLightSpin, kTransparencySpin});
    platform::WindowId slider = platform::GetItem(dialog_, kTransparencySlider);
    platform::SetRange(slider, 0, 100);
    platform::SetPageSize(slider, 5);
    Link();
}

void ShadowPGViewController::Link() {
    ShadowPGParams& p = params();
    linkedRuler_ = DocumentRuler();
    linker_ = ValueLinker(dialog_);
    using K = LinkedValue::Kind;
    AddLink(linker_, linkedRuler_, K::Number, kShadeEdit, kShadeSpin, 0, 0, 100, 0.01, &p.shade);
    AddLink(linker_, linkedRuler_, K::Distance, kOffsetEdit, kOffsetSpin, 0, 0, 16383, 1,
            &p.offset);
    AddLink(linker_, linkedRuler_, K::Number, kLightEdit, kLightSpin, kLightDial, -180, 180,
            kDegree, &p.lightAngle);
    AddLink(linker_, linkedRuler_, K::Number, kTransparencyEdit, kTransparencySpin,
            kTransparencySlider, 0, 100, 0.01, &p.transparency);
    linker_.SetOnChange(&OnLinkedChange, this);
}

void ShadowPGViewController::OnLinkedChange(void* self) {
    static_cast<ShadowPGViewController*>(self)->ctrlr_.ValueChanged();
}

void ShadowPGViewController::Refresh(int reason) {
    PGViewController::Refresh(reason);
    if (linkedRuler_ != DocumentRuler())
        Link();
    linker_.ShowAll();
}

bool ShadowPGViewController::OnViewMessage(std::uint32_t code, platform::Param wparam,
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

} // namespace vtg
