// plugin.hpp - the plug-in object's base: lifetime, the caller/selector
// dispatch and error reporting.
//
// The host talks to the plug-in through PluginMain alone. Plugin turns each
// (caller, selector) pair into one virtual operation; the main plug-in
// object overrides the operations it serves and keeps the base behaviour
// for the rest ("!MSG" for an unhandled message).
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

#include "core/suite_set.hpp"
#include "host/api/vtg_messages.h"

namespace vtg {

class Plugin {
public:
    using Clock = std::time_t (*)();

    explicit Plugin(PluginRef plugin);

    // --- virtual operations, in slot order -----------------------------------
    virtual ~Plugin(); // 0
    virtual void ReportError(ErrorCode code, const char* caller, const char* selector,
                             void* message);                                            // 1
    virtual void LockPlugin(bool lock);                                                 // 2
    virtual ErrorCode OnStartup(BasicMessage* message);                                 // 3
    virtual ErrorCode OnAppStarted(NotifierMessage* message);                           // 4
    virtual ErrorCode OnAppShutdown(NotifierMessage* message);                          // 5
    virtual ErrorCode OnShutdown(BasicMessage* message);                                // 6
    virtual ErrorCode OnUnload(BasicMessage* message);                                  // 7
    virtual ErrorCode OnReload(BasicMessage* message);                                  // 8
    virtual ErrorCode OnPropertiesAcquire(BasicMessage* message);                       // 9
    virtual ErrorCode OnPropertiesRelease(BasicMessage* message);                       // 10
    virtual std::size_t GetPluginName(char* buffer, std::size_t length);                // 11
    virtual bool OnPurge();                                                             // 12
    virtual ErrorCode Message(const char* caller, const char* selector, void* message); // 13
    virtual ErrorCode SetGlobal(Plugin* object);                                        // 14
    virtual ErrorCode PrepareStartup();                                                 // 15
    virtual ErrorCode FinishStartup();                                                  // 16
    virtual ErrorCode PrepareUnload(BasicMessage* message);                             // 17
    virtual void AcquireOptionalSuites();                                               // 18
    virtual ErrorCode OnNotify(NotifierMessage* message);                               // 19
    virtual ErrorCode OnDoAction(DoActionMessage* message);                             // 20
    virtual ErrorCode OnMenuGo(MenuMessage* message);                                   // 21
    virtual ErrorCode OnMenuUpdate(MenuMessage* message);                               // 22
    virtual ErrorCode OnFilterGetParameters(FilterMessage* message);                    // 23
    virtual ErrorCode OnFilterGo(FilterMessage* message);                               // 24
    virtual ErrorCode OnGroupNotifyEdits(PluginGroupMessage* message);                  // 25
    virtual ErrorCode OnGroupUpdate(PluginGroupMessage* message);                       // 26
    virtual ErrorCode OnFileFormatGetParameters(void* message);                         // 27
    virtual ErrorCode OnFileFormatGo(void* message);                                    // 28
    virtual ErrorCode OnFileFormatCheck(void* message);                                 // 29
    virtual ErrorCode OnFileFormatUpdate(void* message);                                // 30
    virtual ErrorCode OnFileFormatDoAction(void* message);                              // 31
    virtual ErrorCode OnToolEditOptions(ToolMessage* message);                          // 32
    virtual ErrorCode OnToolTrackCursor(ToolMessage* message);                          // 33
    virtual ErrorCode OnToolMouseDown(ToolMessage* message);                            // 34
    virtual ErrorCode OnToolMouseDrag(ToolMessage* message);                            // 35
    virtual ErrorCode OnToolMouseUp(ToolMessage* message);                              // 36
    virtual ErrorCode OnToolSelect(ToolMessage* message);                               // 37
    virtual ErrorCode OnToolDeselect(ToolMessage* message);                             // 38
    virtual ErrorCode OnToolReselect(ToolMessage* message);                             // 39
    virtual ErrorCode OnToolDecreaseDiameter(ToolMessage* message);                     // 40
    virtual ErrorCode OnToolIncreaseDiameter(ToolMessage* message);                     // 41
    virtual ErrorCode OnEffectEditParameters(void* message);                            // 42
    virtual ErrorCode OnEffectGoLive(void* message);                                    // 43
    virtual ErrorCode OnEffectInterpolate(void* message);                               // 44
    virtual ErrorCode OnEffectInputType(void* message);                                 // 45
    virtual ErrorCode OnEffectConvertColorSpace(void* message);                         // 46
    virtual ErrorCode OnEffectScaleParameters(void* message);                           // 47
    virtual ErrorCode OnEffectAdjustColors(void* message);                              // 48
    virtual ErrorCode OnEffectHandleMerge(void* message);                               // 49
    virtual ErrorCode OnTimerGo(void* message);                                         // 50
    virtual ErrorCode OnClipboardGo(void* message);                                     // 51
    virtual ErrorCode OnClipboardCanCopy(void* message);                                // 52
    virtual ErrorCode OnClipboardClone(void* message);                                  // 53
    virtual ErrorCode OnClipboardDispose(void* message);                                // 54
    virtual ErrorCode OnWriteWorkspace(void* message);                                  // 55
    virtual ErrorCode OnRestoreWorkspace(void* message);                                // 56
    virtual ErrorCode OnDefaultWorkspace(void* message);                                // 57

    // --- state PluginMain reads ----------------------------------------------
    bool HasSuites() const { return suites_ != nullptr; }
    PluginRef pluginRef() const { return pluginRef_; }
    const char* name() const { return name_; }
    int32_t lockCount() const { return lockCount_; }
    NotifierHandle appStartedNotifier() const { return appStartedNotifier_; }
    NotifierHandle appShutdownNotifier() const { return appShutdownNotifier_; }
    // Step 4 of PluginMain on "Base Access"/"Reload".
    void ClearBaseNotifiers() {
        appStartedNotifier_ = nullptr;
        appShutdownNotifier_ = nullptr;
    }

    // The clock of the duplicate-error throttle (tests install their own).
    void SetClock(Clock clock) { clock_ = clock; }

protected:
    void SetName(const char* name);
    // The filtering and throttling of ReportError: true when `code` is to be
    // passed on, having recorded it as the last error.
    bool PassesErrorFilter(ErrorCode code);
    // Creates and acquires the suite set (start-up and reload).
    ErrorCode CreateSuiteSet();
    void DeleteSuiteSet();

    // Fields in the order of the plug-in object's record.
    PluginRef pluginRef_ = nullptr;
    char name_[256] = {};
    SuiteSet* suites_ = nullptr;
    int32_t lockCount_ = 0;
    AccessRef accessRef_ = nullptr;
    ErrorCode lastError_ = 0;
    int32_t errorTimeout_ = 5;
    int32_t suppressDuplicateErrors_ = 1;
    std::time_t lastErrorTime_ = 0;
    NotifierHandle appStartedNotifier_ = nullptr;
    NotifierHandle appShutdownNotifier_ = nullptr;

private:
    Clock clock_;
};

// The codes ReportError and the default reporter drop.
bool IsIgnoredError(ErrorCode code);

// The reporter used when no plug-in object exists or when the object has
// filtered a code: it drops ignored codes and shows nothing (visible alerts
// come only from ShowErrorAlert). Tests observe it through a hook.
void DefaultReportError(ErrorCode code);
using ReportHook = void (*)(ErrorCode code);
void SetDefaultReportHook(ReportHook hook);

// The plug-in object of the process, as SetGlobal last set it.
Plugin* GlobalPlugin();

} // namespace vtg
