// plugin_main.cpp - the one exported entry of the plug-in library.
#include <cstdio>
#include <cstring>
#include <new>

#include "core/error_codes.hpp"
#include "core/plugin_main.hpp"
#include "core/suite_set.hpp"
#include "core/vertigon_plugin.hpp"
#include "host/api/vtg_messages.h"
#include "platform/system.hpp"

namespace {

bool Same(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

// Step 6: an unhandled message is accepted after a note for the developer.
ErrorCode AcceptUnhandled(ErrorCode result, const char* caller, const char* selector) {
    if (result != vtg::kMessageNotHandled)
        return result;
    char text[1024];
    std::snprintf(text, sizeof text,
                  "Warning: Unhandled plugin message: caller \"%s\" selector \"%s\"\n", caller,
                  selector);
    platform::DebugOutput(text);
    return kNoErr;
}

// Step 7: report a failure and pass it back.
ErrorCode Finish(vtg::Plugin* object, ErrorCode result, const char* caller, const char* selector,
                 void* message) {
    if (result == kNoErr)
        return kNoErr;
    if (object != nullptr)
        object->ReportError(result, caller, selector, message);
    else
        vtg::DefaultReportError(result);
    return result;
}

} // namespace

extern "C" VTG_EXPORT ErrorCode PluginMain(const char* caller, const char* selector,
                                           void* message) {
    if (caller == nullptr || selector == nullptr || message == nullptr)
        return kBadParameterErr;
    auto* header = static_cast<MessageHeader*>(message);
    auto* object = static_cast<vtg::Plugin*>(header->globals);
    vtg::sBasic = header->basic;

    if (Same(caller, kCallerBaseInterface) && Same(selector, kSelectorStartup)) {
        object = new (std::nothrow) vtg::VERTiGON4Plugin(header->plugin);
        if (object == nullptr) {
            vtg::DefaultReportError(vtg::kNoPluginMemory);
            return vtg::kNoPluginMemory;
        }
        header->globals = object;
        ErrorCode err = object->OnStartup(static_cast<BasicMessage*>(message));
        if (err != kNoErr) {
            delete object;
            header->globals = nullptr;
            vtg::DefaultReportError(err);
            return err;
        }
        if (!object->HasSuites())
            return kNoErr;
        return Finish(object,
                      AcceptUnhandled(object->Message(caller, selector, message), caller, selector),
                      caller, selector, message);
    }

    if (Same(caller, kCallerBaseInterface) && Same(selector, kSelectorShutdown)) {
        if (object == nullptr)
            return kNoErr;
        ErrorCode result = object->OnShutdown(static_cast<BasicMessage*>(message));
        delete object;
        header->globals = nullptr;
        return Finish(nullptr, result, caller, selector, message);
    }

    if (object == nullptr)
        return kNoErr;

    ErrorCode result;
    if (Same(caller, kCallerBaseAccess) && Same(selector, kSelectorReload)) {
        // The object's operations are bound at construction; a library loaded
        // at another place is a new process image for this plug-in.
        object->ClearBaseNotifiers();
        result = object->OnReload(static_cast<BasicMessage*>(message));
    } else {
        if (!object->HasSuites())
            return kNoErr;
        result = object->Message(caller, selector, message);
    }
    return Finish(object, AcceptUnhandled(result, caller, selector), caller, selector, message);
}
