#include "effects/wave/wave_ctrlr.hpp"

#include <climits>
#include <cstddef>

#include "effects/wave/wave_effect.hpp"

namespace vtg {
namespace {

using K = EffectKey;
using PW = WaveEffectParams;

const EffectKey kWaveKeys[] = {
    {"transform", K::Type::Integer, offsetof(PW, style), K::Blend::Choice},
    {"orientation", K::Type::Integer, offsetof(PW, orientation), K::Blend::Choice},
    {"cycle", K::Type::Real, offsetof(PW, cycle), K::Blend::Mix, true, 0},
    {"bendRatio", K::Type::Real, offsetof(PW, bendRatio), K::Blend::Mix, true, 0},
    {"centerRatio", K::Type::Real, offsetof(PW, centerRatio), K::Blend::Mix, true, 0},
};

} // namespace

const EffectInfo kWaveEffectInfo = {
    kEffectWave,           &kWaveEffectType, kWaveKeys, "__QrLw_VERTiGON4Wave_v5_PrefsPrefix__",
    "マルチウェーブ 効果", "effect_wave"};

WaveEffectCtrlr::WaveEffectCtrlr(WaveEffectParams* params) : EffectCtrlr(kWaveEffectInfo, params) {}

ErrorCode WaveEffectCtrlr::Apply(const void* record, ArtHandle art) {
    return ApplyWave(*static_cast<const WaveEffectParams*>(record), art);
}

std::unique_ptr<EffectDialogController> WaveEffectCtrlr::MakeDialog() {
    return std::make_unique<WaveDialogController>(*this);
}

void WaveDialogController::InitControls() {
    auto* p = static_cast<WaveEffectParams*>(owner_.params());
    AddChoice(kFirstStyle, 5, &p->style, true);
    AddChoice(kHorizontal, 2, &p->orientation, false);
    using K = LinkedValue::Kind;
    linker_.Add(Link(K::Number, kCycleEdit, kCycleSpin, kCycleSlider, 0, 4000, 1, &p->cycle));
    linker_.Add(
        Link(K::Number, kBendEdit, kBendSpin, kBendSlider, -20000, 20000, 0.01, &p->bendRatio));
    linker_.Add(Link(K::Number, kCentreEdit, kCentreSpin, kCentreSlider, -20000, 20000, 0.01,
                     &p->centerRatio));
    SetSlider(kCycleSlider, 0, 100);
    SetSlider(kBendSlider, -200, 200);
    SetSlider(kCentreSlider, -100, 100);
    platform::SetRange(item(kCycleSpin), INT_MIN, INT_MAX);
}

} // namespace vtg
