#include "core/plugin.hpp"

#include <cstdio>
#include <cstring>
#include <new>

#include "core/error_codes.hpp"

namespace vtg {
namespace {

Plugin* gPlugin = nullptr;
ReportHook gReportHook = nullptr;

std::time_t SystemClock() {
    return std::time(nullptr);
}

// The ignored-error list, ended by a zero entry.
const ErrorCode kIgnoredErrors[] = {FourCC("FMT?"),
                                    FourCC("RFSE"),
                                    FourCC("AFTR"),
                                    FourCC("VALD"),
                                    FourCC("MOOT"),
                                    FourCC("TRSH"),
                                    FourCC("CHEK"),
                                    FourCC("CHIT"),
                                    FourCC("TLTK"),
                                    FourCC("pFls"),
                                    FourCC("S!Fd"),
                                    FourCC("!Acq"),
                                    FourCC("dsRP"),
                                    FourCC("skpE"),
                                    FourCC("DONE"),
                                    FourCC("STOP"),
                                    361,
                                    0};

// One row of the dispatch table: a caller, a selector and the operation.
struct Route {
    const char* caller;
    const char* selector;
    ErrorCode (*invoke)(Plugin& plugin, void* message);
};

template <typename M> M* As(void* message) {
    return static_cast<M*>(message);
}

// Rows are tested in this order; a pair that is not listed is not handled.
const Route kRoutes[] = {
    {kCallerBaseAccess, kSelectorUnload,
     [](Plugin& p, void* m) { return p.OnUnload(As<BasicMessage>(m)); }},
    {kCallerBaseAccess, kSelectorReload,
     [](Plugin& p, void* m) { return p.OnReload(As<BasicMessage>(m)); }},
    {kCallerBaseInterface, kSelectorAbout, [](Plugin&, void*) { return ErrorCode{0}; }},
    {kCallerBaseInterface, kSelectorStartup, [](Plugin&, void*) { return ErrorCode{0}; }},
    {kCallerBaseCache, kSelectorPurge,
     [](Plugin& p, void*) { return p.OnPurge() ? kPurged : ErrorCode{0}; }},
    {kCallerBaseProperties, kSelectorAcquire,
     [](Plugin& p, void* m) { return p.OnPropertiesAcquire(As<BasicMessage>(m)); }},
    {kCallerBaseProperties, kSelectorRelease,
     [](Plugin& p, void* m) { return p.OnPropertiesRelease(As<BasicMessage>(m)); }},
    // "Host Notifier" is matched before this table (any selector).
    {kCallerActionManager, kSelectorDoAction,
     [](Plugin& p, void* m) { return p.OnDoAction(As<DoActionMessage>(m)); }},
    {kCallerMenu, kSelectorGo, [](Plugin& p, void* m) { return p.OnMenuGo(As<MenuMessage>(m)); }},
    {kCallerMenu, kSelectorUpdate,
     [](Plugin& p, void* m) { return p.OnMenuUpdate(As<MenuMessage>(m)); }},
    {kCallerFilter, kSelectorGetParameters,
     [](Plugin& p, void* m) { return p.OnFilterGetParameters(As<FilterMessage>(m)); }},
    {kCallerFilter, kSelectorGo,
     [](Plugin& p, void* m) { return p.OnFilterGo(As<FilterMessage>(m)); }},
    {kCallerPluginGroup, kSelectorNotifyEdits,
     [](Plugin& p, void* m) { return p.OnGroupNotifyEdits(As<PluginGroupMessage>(m)); }},
    {kCallerPluginGroup, kSelectorUpdate,
     [](Plugin& p, void* m) { return p.OnGroupUpdate(As<PluginGroupMessage>(m)); }},
    {kCallerFileFormat, kSelectorGetParameters,
     [](Plugin& p, void* m) { return p.OnFileFormatGetParameters(m); }},
    {kCallerFileFormat, kSelectorGo, [](Plugin& p, void* m) { return p.OnFileFormatGo(m); }},
    {kCallerFileFormat, kSelectorCheck, [](Plugin& p, void* m) { return p.OnFileFormatCheck(m); }},
    {kCallerFileFormat, kSelectorFileFormatUpdate,
     [](Plugin& p, void* m) { return p.OnFileFormatUpdate(m); }},
    {kCallerFileFormat, kSelectorDoAction,
     [](Plugin& p, void* m) { return p.OnFileFormatDoAction(m); }},
    {kCallerTool, kSelectorEditOptions,
     [](Plugin& p, void* m) { return p.OnToolEditOptions(As<ToolMessage>(m)); }},
    {kCallerTool, kSelectorTrackCursor,
     [](Plugin& p, void* m) { return p.OnToolTrackCursor(As<ToolMessage>(m)); }},
    {kCallerTool, kSelectorMouseDown,
     [](Plugin& p, void* m) { return p.OnToolMouseDown(As<ToolMessage>(m)); }},
    {kCallerTool, kSelectorMouseDrag,
     [](Plugin& p, void* m) { return p.OnToolMouseDrag(As<ToolMessage>(m)); }},
    {kCallerTool, kSelectorMouseUp,
     [](Plugin& p, void* m) { return p.OnToolMouseUp(As<ToolMessage>(m)); }},
    {kCallerTool, kSelectorSelect,
     [](Plugin& p, void* m) { return p.OnToolSelect(As<ToolMessage>(m)); }},
    {kCallerTool, kSelectorDeselect,
     [](Plugin& p, void* m) { return p.OnToolDeselect(As<ToolMessage>(m)); }},
    {kCallerTool, kSelectorReselect,
     [](Plugin& p, void* m) { return p.OnToolReselect(As<ToolMessage>(m)); }},
    {kCallerTool, kSelectorDecreaseDiameter,
     [](Plugin& p, void* m) { return p.OnToolDecreaseDiameter(As<ToolMessage>(m)); }},
    {kCallerTool, kSelectorIncreaseDiameter,
     [](Plugin& p, void* m) { return p.OnToolIncreaseDiameter(As<ToolMessage>(m)); }},
    {kCallerLiveEffect, kSelectorEffectEditParameters,
     [](Plugin& p, void* m) { return p.OnEffectEditParameters(m); }},
    {kCallerLiveEffect, kSelectorEffectGoLive,
     [](Plugin& p, void* m) { return p.OnEffectGoLive(m); }},
    {kCallerLiveEffect, kSelectorEffectInterpolate,
     [](Plugin& p, void* m) { return p.OnEffectInterpolate(m); }},
    {kCallerLiveEffect, kSelectorEffectInputType,
     [](Plugin& p, void* m) { return p.OnEffectInputType(m); }},
    {kCallerLiveEffect, kSelectorEffectScaleParameters,
     [](Plugin& p, void* m) { return p.OnEffectScaleParameters(m); }},
    {kCallerLiveEffect, kSelectorEffectConvertColorSpace,
     [](Plugin& p, void* m) { return p.OnEffectConvertColorSpace(m); }},
    {kCallerLiveEffect, kSelectorEffectAdjustColors,
     [](Plugin& p, void* m) { return p.OnEffectAdjustColors(m); }},
    {kCallerLiveEffect, kSelectorEffectHandleMerge,
     [](Plugin& p, void* m) { return p.OnEffectHandleMerge(m); }},
    {kCallerTimer, kSelectorGo, [](Plugin& p, void* m) { return p.OnTimerGo(m); }},
    {kCallerClipboard, kSelectorGo, [](Plugin& p, void* m) { return p.OnClipboardGo(m); }},
    {kCallerClipboard, kSelectorCanCopy,
     [](Plugin& p, void* m) { return p.OnClipboardCanCopy(m); }},
    {kCallerClipboard, kSelectorClone, [](Plugin& p, void* m) { return p.OnClipboardClone(m); }},
    {kCallerClipboard, kSelectorDispose,
     [](Plugin& p, void* m) { return p.OnClipboardDispose(m); }},
    {kCallerWorkspace, kSelectorWriteWorkspace,
     [](Plugin& p, void* m) { return p.OnWriteWorkspace(m); }},
    {kCallerWorkspace, kSelectorRestoreWorkspace,
     [](Plugin& p, void* m) { return p.OnRestoreWorkspace(m); }},
    {kCallerWorkspace, kSelectorDefaultWorkspace,
     [](Plugin& p, void* m) { return p.OnDefaultWorkspace(m); }},
};

bool Same(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

} // namespace

bool IsIgnoredError(ErrorCode code) {
    for (const ErrorCode* c = kIgnoredErrors; *c != 0; ++c)
        if (*c == code)
            return true;
    return false;
}

void SetDefaultReportHook(ReportHook hook) {
    gReportHook = hook;
}

void DefaultReportError(ErrorCode code) {
    if (IsIgnoredError(code))
        return;
    if (gReportHook != nullptr)
        gReportHook(code);
    // Nothing is shown from here. Without a suite set the user suite is taken
    // and given back, as a reporter that could show the code would do.
    if (sUser != nullptr || sBasic == nullptr)
        return;
    const void* user = nullptr;
    if (sBasic->AcquireSuite(kUserSuiteName, kUserSuiteVersion, &user) == kNoErr)
        sBasic->ReleaseSuite(kUserSuiteName, kUserSuiteVersion);
}

Plugin* GlobalPlugin() {
    return gPlugin;
}

// --- lifetime ------------------------------------------------------------------

Plugin::Plugin(PluginRef plugin) : pluginRef_(plugin), clock_(&SystemClock) {
    SetName("Plugin");
}

Plugin::~Plugin() {
    DeleteSuiteSet();
}

void Plugin::SetName(const char* name) {
    std::strncpy(name_, name, sizeof name_ - 1);
    name_[sizeof name_ - 1] = '\0';
}

ErrorCode Plugin::CreateSuiteSet() {
    suites_ = new (std::nothrow) SuiteSet;
    if (suites_ == nullptr)
        return kNoPluginMemory;
    ErrorCode err = suites_->Acquire();
    if (err != kNoErr)
        DeleteSuiteSet();
    return err;
}

void Plugin::DeleteSuiteSet() {
    if (suites_ == nullptr)
        return;
    suites_->Release();
    delete suites_;
    suites_ = nullptr;
}

ErrorCode Plugin::OnStartup(BasicMessage*) {
    SetGlobal(this);
    ErrorCode err = CreateSuiteSet();
    if (err != kNoErr)
        return err;

    err = sPlugins->SetPluginName(pluginRef_, name_);
    if (err != kNoErr)
        return err;

    char notifierName[300];
    std::snprintf(notifierName, sizeof notifierName, "%s App Started Notifier", name_);
    err = sNotifier->AddNotifier(pluginRef_, notifierName, kNotifyAppStarted, &appStartedNotifier_);
    if (err != kNoErr)
        return err;
    std::snprintf(notifierName, sizeof notifierName, "%s Application Shutdown Notifier", name_);
    err =
        sNotifier->AddNotifier(pluginRef_, notifierName, kNotifyAppShutdown, &appShutdownNotifier_);
    if (err != kNoErr)
        return err;

    err = PrepareStartup();
    if (err != kNoErr)
        return err;
    FinishStartup();
    LockPlugin(true);
    return kNoErr;
}

void Plugin::LockPlugin(bool lock) {
    if (lock) {
        if (lockCount_++ == 0 && sAccess != nullptr)
            sAccess->AcquireResidency(pluginRef_, &accessRef_);
        return;
    }
    --lockCount_;
    if (lockCount_ == 0) {
        if (accessRef_ != nullptr && sAccess != nullptr)
            sAccess->ReleaseResidency(accessRef_);
        accessRef_ = nullptr;
    } else if (lockCount_ < 0) {
        lockCount_ = 0;
    }
}

ErrorCode Plugin::OnShutdown(BasicMessage*) {
    DeleteSuiteSet();
    SetGlobal(nullptr);
    return kNoErr;
}

ErrorCode Plugin::OnUnload(BasicMessage* message) {
    PrepareUnload(message);
    SetGlobal(nullptr);
    DeleteSuiteSet();
    return kNoErr;
}

ErrorCode Plugin::OnReload(BasicMessage*) {
    SetGlobal(this);
    if (suites_ == nullptr) {
        ErrorCode err = CreateSuiteSet();
        if (err != kNoErr)
            return err;
    }
    return FinishStartup();
}

std::size_t Plugin::GetPluginName(char* buffer, std::size_t length) {
    std::size_t n = std::strlen(name_);
    if (buffer != nullptr && length > 0) {
        // At most length - 1 bytes and the terminator, never past the buffer.
        std::size_t copy = n < length ? n : length - 1;
        std::memcpy(buffer, name_, copy);
        buffer[copy] = '\0';
    }
    return n;
}

ErrorCode Plugin::SetGlobal(Plugin* object) {
    gPlugin = object;
    return kNoErr;
}

void Plugin::AcquireOptionalSuites() {
    if (suites_ != nullptr)
        suites_->AcquireOptional();
}

// --- dispatch --------------------------------------------------------------------

ErrorCode Plugin::Message(const char* caller, const char* selector, void* message) {
    AcquireOptionalSuites();

    if (Same(caller, kCallerNotifier)) {
        auto* m = static_cast<NotifierMessage*>(message);
        ContextHandle context = nullptr;
        bool pushed =
            sContext != nullptr && sContext->PushAppContext(pluginRef_, &context) == kNoErr;
        ErrorCode result = kMessageNotHandled;
        if (m->notifier != nullptr && m->notifier == appStartedNotifier_)
            result = OnAppStarted(m);
        else if (m->notifier != nullptr && m->notifier == appShutdownNotifier_)
            result = OnAppShutdown(m);
        if ((result == kNoErr || result == kMessageNotHandled) && Same(selector, kSelectorNotify))
            result = OnNotify(m);
        if (pushed)
            sContext->PopAppContext(context);
        return result;
    }

    for (const Route& route : kRoutes)
        if (Same(caller, route.caller) && Same(selector, route.selector))
            return route.invoke(*this, message);
    return kMessageNotHandled;
}

// --- error reporting -------------------------------------------------------------

bool Plugin::PassesErrorFilter(ErrorCode code) {
    if (IsIgnoredError(code))
        return false;
    std::time_t now = clock_();
    if (code == lastError_ && suppressDuplicateErrors_ != 0 && now < lastErrorTime_ + errorTimeout_)
        return false;
    lastError_ = code;
    lastErrorTime_ = now;
    return true;
}

void Plugin::ReportError(ErrorCode code, const char*, const char*, void*) {
    if (PassesErrorFilter(code))
        DefaultReportError(code);
}

// --- base behaviours of the remaining operations -----------------------------------

ErrorCode Plugin::OnAppStarted(NotifierMessage*) {
    return kNoErr;
}
ErrorCode Plugin::OnAppShutdown(NotifierMessage*) {
    return kNoErr;
}
ErrorCode Plugin::OnPropertiesAcquire(BasicMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnPropertiesRelease(BasicMessage*) {
    return kMessageNotHandled;
}
bool Plugin::OnPurge() {
    return false;
}
ErrorCode Plugin::PrepareStartup() {
    return kNoErr;
}
ErrorCode Plugin::FinishStartup() {
    return kNoErr;
}
ErrorCode Plugin::PrepareUnload(BasicMessage*) {
    return kNoErr;
}
ErrorCode Plugin::OnNotify(NotifierMessage*) {
    return kNoErr;
}
ErrorCode Plugin::OnDoAction(DoActionMessage*) {
    return kNoErr;
}

ErrorCode Plugin::OnMenuGo(MenuMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnMenuUpdate(MenuMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnFilterGetParameters(FilterMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnFilterGo(FilterMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnGroupNotifyEdits(PluginGroupMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnGroupUpdate(PluginGroupMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnFileFormatGetParameters(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnFileFormatGo(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnFileFormatCheck(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnFileFormatUpdate(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnFileFormatDoAction(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnToolEditOptions(ToolMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnToolTrackCursor(ToolMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnToolMouseDown(ToolMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnToolMouseDrag(ToolMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnToolMouseUp(ToolMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnToolSelect(ToolMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnToolDeselect(ToolMessage*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnToolReselect(ToolMessage*) {
    return kNoErr;
}
ErrorCode Plugin::OnToolDecreaseDiameter(ToolMessage*) {
    return kNoErr;
}
ErrorCode Plugin::OnToolIncreaseDiameter(ToolMessage*) {
    return kNoErr;
}
ErrorCode Plugin::OnEffectEditParameters(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnEffectGoLive(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnEffectInterpolate(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnEffectInputType(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnEffectConvertColorSpace(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnEffectScaleParameters(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnEffectAdjustColors(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnEffectHandleMerge(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnTimerGo(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnClipboardGo(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnClipboardCanCopy(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnClipboardClone(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnClipboardDispose(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnWriteWorkspace(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnRestoreWorkspace(void*) {
    return kMessageNotHandled;
}
ErrorCode Plugin::OnDefaultWorkspace(void*) {
    return kMessageNotHandled;
}

} // namespace vtg
