// The dispatch table: every (caller, selector) pair reaches its operation.
#include <gtest/gtest.h>

#include <string>

#include "core/error_codes.hpp"
#include "core/plugin.hpp"

namespace {

using vtg::FourCC;

// Records the operation each message reached; returns a code of its own so
// that a result passing through unchanged is seen.
class RecordingPlugin : public vtg::Plugin {
public:
    RecordingPlugin() : Plugin(nullptr) {}
    std::string last;
    static constexpr ErrorCode kMark = FourCC("mark");

#define RECORD(op, Msg)                                                                            \
    ErrorCode op(Msg*) override {                                                                  \
        last = #op;                                                                                \
        return kMark;                                                                              \
    }
    RECORD(OnUnload, BasicMessage)
    RECORD(OnReload, BasicMessage)
    RECORD(OnPropertiesAcquire, BasicMessage)
    RECORD(OnPropertiesRelease, BasicMessage)
    RECORD(OnAppStarted, NotifierMessage)
    RECORD(OnAppShutdown, NotifierMessage)
    RECORD(OnDoAction, DoActionMessage)
    RECORD(OnMenuGo, MenuMessage)
    RECORD(OnMenuUpdate, MenuMessage)
    RECORD(OnFilterGetParameters, FilterMessage)
    RECORD(OnFilterGo, FilterMessage)
    RECORD(OnGroupNotifyEdits, PluginGroupMessage)
    RECORD(OnGroupUpdate, PluginGroupMessage)
    RECORD(OnFileFormatGetParameters, void)
    RECORD(OnFileFormatGo, void)
    RECORD(OnFileFormatCheck, void)
    RECORD(OnFileFormatUpdate, void)
    RECORD(OnFileFormatDoAction, void)
    RECORD(OnToolEditOptions, ToolMessage)
    RECORD(OnToolTrackCursor, ToolMessage)
    RECORD(OnToolMouseDown, ToolMessage)
    RECORD(OnToolMouseDrag, ToolMessage)
    RECORD(OnToolMouseUp, ToolMessage)
    RECORD(OnToolSelect, ToolMessage)
    RECORD(OnToolDeselect, ToolMessage)
    RECORD(OnEffectEditParameters, void)
    RECORD(OnEffectGoLive, void)
    RECORD(OnEffectInterpolate, void)
    RECORD(OnEffectInputType, void)
    RECORD(OnEffectScaleParameters, void)
    RECORD(OnEffectConvertColorSpace, void)
    RECORD(OnEffectAdjustColors, void)
    RECORD(OnEffectHandleMerge, void)
    RECORD(OnTimerGo, void)
    RECORD(OnClipboardGo, void)
    RECORD(OnClipboardCanCopy, void)
    RECORD(OnClipboardClone, void)
    RECORD(OnClipboardDispose, void)
    RECORD(OnWriteWorkspace, void)
    RECORD(OnRestoreWorkspace, void)
    RECORD(OnDefaultWorkspace, void)
#undef RECORD
    ErrorCode OnNotify(NotifierMessage*) override {
        last += last.empty() ? "OnNotify" : "+OnNotify";
        return kNoErr;
    }
    bool purgeAnswer = false;
    bool OnPurge() override {
        last = "OnPurge";
        return purgeAnswer;
    }
    void SetNotifiers(NotifierHandle started, NotifierHandle shutdown) {
        appStartedNotifier_ = started;
        appShutdownNotifier_ = shutdown;
    }
};

struct Route {
    const char* caller;
    const char* selector;
    const char* operation; // "" when no operation runs
    ErrorCode result;
};

constexpr ErrorCode kMark = RecordingPlugin::kMark;
const ErrorCode kNotHandled = vtg::kMessageNotHandled;

const Route kRoutes[] = {
    {"Base Access", "Unload", "OnUnload", kMark},
    {"Base Access", "Reload", "OnReload", kMark},
    {"Base Interface", "About", "", 0},
    {"Base Interface", "Startup", "", 0},
    {"Base Interface", "Shutdown", "", kNotHandled},
    {"Base Cache", "Plug-in Purge", "OnPurge", 0},
    {"Base Properties", "Acquire", "OnPropertiesAcquire", kMark},
    {"Base Properties", "Release", "OnPropertiesRelease", kMark},
    {"Action Manager", "Do Action", "OnDoAction", kMark},
    {"Host Menu", "Host Go", "OnMenuGo", kMark},
    {"Host Menu", "Host Update", "OnMenuUpdate", kMark},
    {"Host Filter", "Host Get Parameters", "OnFilterGetParameters", kMark},
    {"Host Filter", "Host Go", "OnFilterGo", kMark},
    {"Host Plugin Group", "Host Notify Edits", "OnGroupNotifyEdits", kMark},
    {"Host Plugin Group", "Host Update", "OnGroupUpdate", kMark},
    {"Host File Format", "Host Get Parameters", "OnFileFormatGetParameters", kMark},
    {"Host File Format", "Host Go", "OnFileFormatGo", kMark},
    {"Host File Format", "Host Check", "OnFileFormatCheck", kMark},
    {"Host File Format", "Host Update H140", "OnFileFormatUpdate", kMark},
    {"Host File Format", "Do Action", "OnFileFormatDoAction", kMark},
    {"Host Tool", "Host Edit Options", "OnToolEditOptions", kMark},
    {"Host Tool", "Host Track Cursor", "OnToolTrackCursor", kMark},
    {"Host Tool", "Host Mouse Down", "OnToolMouseDown", kMark},
    {"Host Tool", "Host Mouse Drag", "OnToolMouseDrag", kMark},
    {"Host Tool", "Host Mouse Up", "OnToolMouseUp", kMark},
    {"Host Tool", "Host Select", "OnToolSelect", kMark},
    {"Host Tool", "Host Deselect", "OnToolDeselect", kMark},
    {"Host Tool", "Host Reselect", "", 0},
    {"Host Tool", "Host Decrease Diameter", "", 0},
    {"Host Tool", "Host Increase Diameter", "", 0},
    {"Host Live Effect", "Host Live Effect Edit Parameters", "OnEffectEditParameters", kMark},
    {"Host Live Effect", "Host Live Effect Go Live", "OnEffectGoLive", kMark},
    {"Host Live Effect", "Host Live Effect Interpolate Parameters", "OnEffectInterpolate", kMark},
    {"Host Live Effect", "Host Live Effect Input Type", "OnEffectInputType", kMark},
    {"Host Live Effect", "Host Live Effect Scale Parameters", "OnEffectScaleParameters", kMark},
    {"Host Live Effect", "Host Live Effect Convert Color Space", "OnEffectConvertColorSpace",
     kMark},
    {"Host Live Effect", "Host Live Effect Adjust Colors", "OnEffectAdjustColors", kMark},
    {"Host Live Effect", "Host Live Effect Handle Merge", "OnEffectHandleMerge", kMark},
    {"Host Timer", "Host Go", "OnTimerGo", kMark},
    {"Host Clipboard", "Host Go", "OnClipboardGo", kMark},
    {"Host Clipboard", "Host Can Copy", "OnClipboardCanCopy", kMark},
    {"Host Clipboard", "Host Clone", "OnClipboardClone", kMark},
    {"Host Clipboard", "Host Dispose", "OnClipboardDispose", kMark},
    {"Workspace Manager", "Write Workspace", "OnWriteWorkspace", kMark},
    {"Workspace Manager", "Restore Workspace", "OnRestoreWorkspace", kMark},
    {"Workspace Manager", "Default Workspace", "OnDefaultWorkspace", kMark},
    // Pairs that are not listed, and case differences.
    {"Host Tool", "Host Mouse Wheel", "", kNotHandled},
    {"host tool", "Host Select", "", kNotHandled},
    {"Host Timer", "Host Update", "", kNotHandled},
    {"Nobody", "Host Go", "", kNotHandled},
    {"Host Annotation", "Host Draw", "", kNotHandled},
};

TEST(Dispatch, EveryPairReachesItsOperation) {
    for (const Route& r : kRoutes) {
        RecordingPlugin plugin;
        AnyMessage message{};
        EXPECT_EQ(plugin.Message(r.caller, r.selector, &message), r.result)
            << r.caller << " / " << r.selector;
        EXPECT_EQ(plugin.last, r.operation) << r.caller << " / " << r.selector;
    }
}

TEST(Dispatch, PurgeAnswersFreedAsPfls) {
    RecordingPlugin plugin;
    plugin.purgeAnswer = true;
    AnyMessage message{};
    EXPECT_EQ(plugin.Message("Base Cache", "Plug-in Purge", &message), FourCC("pFls"));
}

TEST(Dispatch, NotifierByHandleThenNotify) {
    int started = 0, shutdown = 0, other = 0;
    auto* hStarted = reinterpret_cast<NotifierHandle>(&started);
    auto* hShutdown = reinterpret_cast<NotifierHandle>(&shutdown);
    auto* hOther = reinterpret_cast<NotifierHandle>(&other);
    struct Case {
        NotifierHandle handle;
        const char* selector;
        const char* operations;
        ErrorCode result;
    } cases[] = {
        // The application handlers return the recorder's own code, so
        // OnNotify is not called after them.
        {hStarted, "Host Notify", "OnAppStarted", kMark},
        {hShutdown, "Host Notify", "OnAppShutdown", kMark},
        {hOther, "Host Notify", "OnNotify", 0},
        {nullptr, "Host Notify", "OnNotify", 0},
        {hOther, "Host Something", "", kNotHandled},
    };
    for (const Case& c : cases) {
        RecordingPlugin plugin;
        plugin.SetNotifiers(hStarted, hShutdown);
        NotifierMessage message{};
        message.notifier = c.handle;
        EXPECT_EQ(plugin.Message("Host Notifier", c.selector, &message), c.result);
        EXPECT_EQ(plugin.last, c.operations);
    }
}

} // namespace
