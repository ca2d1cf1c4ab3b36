#include "core/vertigon_plugin.hpp"

#include <cstring>
#include <exception>

#include "core/error_codes.hpp"
#include "host/api/host_error.hpp"

namespace vtg {

VERTiGON4Plugin::VERTiGON4Plugin(PluginRef plugin) : Plugin(plugin) { SetName("VERTiGON5"); }

VERTiGON4Plugin::~VERTiGON4Plugin() = default;

ErrorCode VERTiGON4Plugin::OnStartup(BasicMessage* message) {
    return Plugin::OnStartup(message);
}

ErrorCode VERTiGON4Plugin::OnShutdown(BasicMessage* message) {
    return Plugin::OnShutdown(message);
}

ErrorCode VERTiGON4Plugin::Message(const char* caller, const char* selector, void* message) {
    ErrorCode result;
    try {
        result = Plugin::Message(caller, selector, message);
    } catch (const host::Error& e) {
        result = e.code();
    } catch (ErrorCode code) {
        result = code;
    } catch (...) {
        result = kUncodedException;
    }

    if (result == kNoErr)
        return kNoErr;
    if (result == kMessageNotHandled) {
        if (std::strcmp(caller, kCallerAnnotation) == 0) {
            // Annotation drawing arrives with the tools; until then there is
            // nothing to draw or invalidate.
            if (std::strcmp(selector, kSelectorDraw) == 0 ||
                std::strcmp(selector, kSelectorInvalidate) == 0)
                return kNoErr;
            return kMessageNotHandled;
        }
        if (std::strcmp(caller, kCallerPluginGroup) == 0)
            return kNoErr;
        return kMessageNotHandled;
    }
    if (PassesErrorFilter(result))
        DefaultReportError(result);
    return result;
}

} // namespace vtg
