// The live-effect edit suite: the preview of an effect being edited.
#include "host/api/vtg_live_effect_suite.h"
#include "host/effects/live_effects.hpp"
#include "host/host.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

ErrorCode UpdateParameters(void* preview, DictionaryHandle parameters) {
    if (Host::current() == nullptr || preview == nullptr || parameters == nullptr)
        return kBadParameterErr;
    return effects::UpdateEditedParameters(preview, parameters);
}

const LiveEffectEditSuite kLiveEffectEdit = {&UpdateParameters};

} // namespace

void PublishLiveEffectEditSuite(SuiteBroker& broker) {
    broker.publish(kLiveEffectEditSuiteName, kLiveEffectEditSuiteVersion, &kLiveEffectEdit);
}

} // namespace hostapp
