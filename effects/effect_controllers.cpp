#include "effects/effect_controllers.hpp"

#include <memory>

#include "core/plugin_globals.hpp"
#include "effects/fractalize/fractalize_ctrlr.hpp"
#include "effects/lens/lens_ctrlr.hpp"
#include "effects/warp/warp_ctrlr.hpp"
#include "effects/wave/wave_ctrlr.hpp"

namespace vtg {
namespace {

std::unique_ptr<EffectCtrlr> gControllers[kEffects];

} // namespace

EffectCtrlr* EffectController(int index) {
    if (index < 0 || index >= kEffects || gGlobals == nullptr)
        return nullptr;
    std::unique_ptr<EffectCtrlr>& c = gControllers[index];
    if (c == nullptr) {
        switch (index) {
        case kEffectFractalize:
            c = std::make_unique<FractalizeEffectCtrlr>(&gGlobals->fractalizeParams);
            break;
        case kEffectWave:
            c = std::make_unique<WaveEffectCtrlr>(&gGlobals->waveParams);
            break;
        case kEffectWarp:
            c = std::make_unique<WarpEffectCtrlr>(&gGlobals->warpParams);
            break;
        case kEffectLens:
            c = std::make_unique<LensEffectCtrlr>(&gGlobals->lensParams);
            break;
        default:
            return nullptr;
        }
    }
    return c.get();
}

void DestroyEffectControllers() {
    for (auto& c : gControllers)
        c.reset();
}

} // namespace vtg
