// The suites of the plug-in's lifecycle: access, plug-ins, notifier,
// context and runtime.
#include <cstring>

#include "host/api/vtg_access_suite.h"
#include "host/api/vtg_context_suite.h"
#include "host/api/vtg_notifier_suite.h"
#include "host/api/vtg_plugins_suite.h"
#include "host/api/vtg_runtime_suite.h"
#include "host/host.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

Host* H() {
    return Host::current();
}

// --- access ---------------------------------------------------------------
ErrorCode AcquireResidency(PluginRef plugin, AccessRef* access) {
    if (plugin == nullptr || access == nullptr || H() == nullptr)
        return kBadParameterErr;
    *access = reinterpret_cast<AccessRef>(H()->acquireResidency(plugin));
    return kNoErr;
}

ErrorCode ReleaseResidency(AccessRef access) {
    if (access == nullptr || H() == nullptr || !H()->releaseResidency(access))
        return kBadParameterErr;
    return kNoErr;
}

const AccessSuite kAccess = {&AcquireResidency, &ReleaseResidency};

// --- plug-ins -------------------------------------------------------------
ErrorCode SetPluginName(PluginRef plugin, const char* name) {
    if (plugin == nullptr || name == nullptr || std::strlen(name) > 255)
        return kBadParameterErr;
    plugin->name = name;
    return kNoErr;
}

ErrorCode GetPluginName(PluginRef plugin, char* buffer, size_t size) {
    if (plugin == nullptr)
        return kBadParameterErr;
    return CopyOut(plugin->name, buffer, size);
}

ErrorCode GetPluginOptions(PluginRef plugin, int32_t* options) {
    if (plugin == nullptr || options == nullptr)
        return kBadParameterErr;
    *options = plugin->options;
    return kNoErr;
}

ErrorCode SetPluginOptions(PluginRef plugin, int32_t options) {
    if (plugin == nullptr)
        return kBadParameterErr;
    plugin->options = options;
    return kNoErr;
}

const PluginsSuite kPlugins = {&SetPluginName, &GetPluginName, &GetPluginOptions,
                               &SetPluginOptions};

// --- notifier -------------------------------------------------------------
ErrorCode AddNotifier(PluginRef plugin, const char* name, const char* type,
                      NotifierHandle* notifier) {
    if (plugin == nullptr || name == nullptr || type == nullptr || notifier == nullptr ||
        H() == nullptr)
        return kBadParameterErr;
    *notifier = reinterpret_cast<NotifierHandle>(H()->addNotifier(plugin, name, type));
    return kNoErr;
}

ErrorCode SetNotifierActive(NotifierHandle notifier, int32_t active) {
    if (notifier == nullptr || H() == nullptr)
        return kBadParameterErr;
    for (const auto& n : H()->notifiers())
        if (reinterpret_cast<NotifierHandle>(n.get()) == notifier) {
            n->active = active != 0;
            return kNoErr;
        }
    return kBadParameterErr;
}

ErrorCode Notify(const char* type, const void* data) {
    if (type == nullptr || H() == nullptr)
        return kBadParameterErr;
    return H()->notify(type, data);
}

const NotifierSuite kNotifier = {&AddNotifier, &SetNotifierActive, &Notify};

// --- context --------------------------------------------------------------
ErrorCode PushAppContext(PluginRef plugin, ContextHandle* context) {
    if (plugin == nullptr || context == nullptr || H() == nullptr)
        return kBadParameterErr;
    *context = reinterpret_cast<ContextHandle>(H()->pushContext());
    return kNoErr;
}

ErrorCode PopAppContext(ContextHandle context) {
    if (H() == nullptr || !H()->popContext(context))
        return kBadParameterErr;
    return kNoErr;
}

const ContextSuite kContext = {&PushAppContext, &PopAppContext};

// --- runtime --------------------------------------------------------------
ErrorCode GetVersion(int32_t* major, int32_t* minor, int32_t* revision) {
    if (major == nullptr || minor == nullptr || revision == nullptr || H() == nullptr)
        return kBadParameterErr;
    *major = H()->version().major;
    *minor = H()->version().minor;
    *revision = H()->version().revision;
    return kNoErr;
}

const RuntimeSuite kRuntime = {&GetVersion};

} // namespace

void PublishBaseSuites(SuiteBroker& broker) {
    broker.publish(kAccessSuiteName, kAccessSuiteVersion, &kAccess);
    broker.publish(kPluginsSuiteName, kPluginsSuiteVersion, &kPlugins);
    broker.publish(kNotifierSuiteName, kNotifierSuiteVersion, &kNotifier);
    broker.publish(kContextSuiteName, kContextSuiteVersion, &kContext);
    broker.publish(kRuntimeSuiteName, kRuntimeSuiteVersion, &kRuntime);
}

} // namespace hostapp
