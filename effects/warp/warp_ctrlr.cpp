#include "effects/warp/warp_ctrlr.hpp"

#include <climits>
#include <cstddef>

#include "effects/warp/warp_effect.hpp"

namespace vtg {
namespace {

using K = EffectKey;
using PP = WarpEffectParams;

const EffectKey kWarpKeys[] = {
    {"transform", K::Type::Integer, offsetof(PP, style), K::Blend::Choice},
    {"orientation", K::Type::Integer, offsetof(PP, orientation), K::Blend::Choice},
    {"marginRatio", K::Type::Real, offsetof(PP, marginRatio), K::Blend::Mix},
    {"bendRatio", K::Type::Real, offsetof(PP, bendRatio), K::Blend::Mix, true, 0},
    {"centerRatio", K::Type::Real, offsetof(PP, centerRatio), K::Blend::Mix, true, 0},
    {"perspective_f", K::Type::Boolean, offsetof(PP, perspective_f), K::Blend::Either},
};

} // namespace

const EffectInfo kWarpEffectInfo = {kEffectWarp,         &kWarpEffectType,
                                    kWarpKeys,           "__QrLw_VERTiGON4Warp_v5_PrefsPrefix__",
                                    "遠近法ワープ 効果", "effect_warp"};

WarpEffectCtrlr::WarpEffectCtrlr(WarpEffectParams* params) : EffectCtrlr(kWarpEffectInfo, params) {}

ErrorCode WarpEffectCtrlr::Apply(const void* record, ArtHandle art) {
    return ApplyWarp(*static_cast<const WarpEffectParams*>(record), art);
}

std::unique_ptr<EffectDialogController> WarpEffectCtrlr::MakeDialog() {
    return std::make_unique<WarpDialogController>(*this);
}

void WarpDialogController::InitControls() {
    auto* p = static_cast<WarpEffectParams*>(owner_.params());
    AddChoice(kFirstStyle, kWarpStyles, &p->style, true);
    AddChoice(kHorizontal, 2, &p->orientation, false);
    AddCheck(kPerspective, &p->perspective_f);
    using K = LinkedValue::Kind;
    linker_.Add(Link(K::Number, kMarginEdit, kMarginSpin, 0, 0, 20000, 0.01, &p->marginRatio));
    linker_.Add(
        Link(K::Number, kBendEdit, kBendSpin, kBendSlider, -20000, 20000, 0.01, &p->bendRatio));
    linker_.Add(Link(K::Number, kCentreEdit, kCentreSpin, kCentreSlider, -20000, 20000, 0.01,
                     &p->centerRatio));
    SetSlider(kBendSlider, -200, 200);
    SetSlider(kCentreSlider, -100, 100);
    platform::SetRange(item(kMarginSpin), INT_MIN, INT_MAX);
}

void WarpDialogController::EnablePerspective() {
    const int32_t style = static_cast<WarpEffectParams*>(owner_.params())->style;
    platform::Enable(item(kPerspective), style != 13 && style != 21);
}

void WarpDialogController::Refresh() {
    EffectDialogController::Refresh();
    EnablePerspective();
}

void WarpDialogController::ChoiceChanged(int) {
    EnablePerspective();
}

} // namespace vtg
