#include "core/vertigon_plugin.hpp"

#include <cstring>
#include <exception>
#include <new>

#include "core/error_codes.hpp"
#include "core/menus.hpp"
#include "core/suite_set.hpp"
#include "effects/effect_controllers.hpp"
#include "effects/effect_registration.hpp"
#include "effects/fractalize/fractalize_ctrlr.hpp"
#include "host/api/host_error.hpp"
#include "live/live_actions.hpp"
#include "params/global_params.hpp"
#include "params/live_storage.hpp"
#include "params/preset_library.hpp"
#include "tools/tool_drag.hpp"
#include "tools/tool_table.hpp"
#include "ui/preset_dialog.hpp"

namespace vtg {

PluginGlobals* gGlobals = nullptr;

namespace {

constexpr const char* kNotifierName = "QrLw_VERTiGON6_Plugin";
constexpr const char* kInternalNotifier = "QrLw VERTiGON4 Internal Notifier";

// The notifier types of the main object, in NotifierSlot order.
const char* const kNotifierTypes[VERTiGON4Plugin::kNotifierCount] = {
    kNotifyAppStarted,       kNotifyColorModelChanged, kNotifyAppShutdown,
    kNotifyRulerUnitChanged, kNotifySelectionChanged,  kInternalNotifier,
    kNotifyDocumentOpened,   kNotifyDocumentClosed,    kNotifyDocumentChanged,
    kNotifySymbolSetChanged};

// The global settings block: the common header and three reserved flags.
constexpr std::size_t kSettingsBlockSize = sizeof(PrefsParams);

// Raises a host call's failure as its code; start-up maps it to "EPN ".
void Step(ErrorCode err) {
    if (err != kNoErr)
        throw err;
}

void* Allocate(const char* name, std::size_t size) {
    void* block = nullptr;
    Step(sMemory->AllocateBlock(name, size, &block));
    return block;
}

} // namespace

VERTiGON4Plugin::VERTiGON4Plugin(PluginRef plugin) : Plugin(plugin) {
    SetName("VERTiGON5");
}

VERTiGON4Plugin::~VERTiGON4Plugin() {
    FreeStartupBlocks();
}

void VERTiGON4Plugin::FreeStartupBlocks() {
    if (sMemory == nullptr)
        return;
    if (settings_ != nullptr)
        sMemory->FreeBlock(settings_);
    settings_ = nullptr;
    delete presetList_;
    presetList_ = nullptr;
    delete filterToken_;
    filterToken_ = nullptr;
    // The kinds' blocks, also when start-up failed halfway.
    FreeLiveObjectBlocks();
    CurrentLiveObjects() = {};
    if (globals_ != nullptr) {
        sMemory->FreeBlock(globals_->scratch);
        sMemory->FreeBlock(globals_);
    }
    globals_ = nullptr;
    gGlobals = nullptr;
}

void VERTiGON4Plugin::AllocateGlobals() {
    globals_ = static_cast<PluginGlobals*>(Allocate("VERTiGON4Globals", sizeof(PluginGlobals)));
    gGlobals = globals_;
    globals_->scratch = static_cast<char*>(Allocate("Buffer", kScratchBufferSize));
    Step(sRuntime->GetVersion(&globals_->hostMajor, &globals_->hostMinor, &globals_->hostRevision));
    globals_->currentTool = kNoTool;
    globals_->currentKind = kNoKind;
    globals_->panelKind = kNoKind;
    globals_->drag = ToolDragState{};
    globals_->drag.seed = NewSeed();
}

void VERTiGON4Plugin::RegisterNotifiers() {
    for (int i = 0; i < kNotifierCount; ++i)
        Step(sNotifier->AddNotifier(pluginRef_, kNotifierName, kNotifierTypes[i], &notifiers_[i]));
    globals_->selectionChangedNotifier = notifiers_[kSelectionChanged];
}

void VERTiGON4Plugin::RegisterEverything() {
    // The live-object kinds with their parameter blocks, then the previous
    // version's kinds twice.
    Step(RegisterLiveObjectKinds(pluginRef_));
    LiveObjectRegistry& live = CurrentLiveObjects();
    Step(RegisterOlderLiveObjectKinds(pluginRef_, "for Mac H16", live.olderMac));
    Step(RegisterOlderLiveObjectKinds(pluginRef_, "for Win H16", live.olderWin));
    for (int kind = 0; kind < kLiveObjectKindCount; ++kind) {
        globals_->groups[kind] = live.groups[kind];
        globals_->liveObjectParams[kind] = live.blocks[kind];
    }
    for (int slot = 0; slot < kOlderSlots; ++slot) {
        globals_->olderGroupsMac[slot] = live.olderMac[slot];
        globals_->olderGroupsWin[slot] = live.olderWin[slot];
    }
    Step(RegisterLiveObjectActions(pluginRef_));

    presetList_ = new (std::nothrow) PresetList();
    if (presetList_ == nullptr)
        throw kOutOfMemoryErr;

    Step(RegisterMenus(pluginRef_));
    filterToken_ = new (std::nothrow) unsigned char(0);
    if (filterToken_ == nullptr)
        throw kOutOfMemoryErr;
    Step(RegisterFractalizeFilter(pluginRef_, filterToken_));
    Step(RegisterFractalizeAction(pluginRef_));
    Step(RegisterLiveEffects(pluginRef_));

    int32_t options = 0;
    Step(sPlugins->GetPluginOptions(pluginRef_, &options));
    Step(sPlugins->SetPluginOptions(pluginRef_, options & ~2));

    Step(RegisterTools(pluginRef_));

    Step(sAnnotator->AddAnnotator(pluginRef_, "VERTiGON4 Annotator", &globals_->annotator));
    Step(sAnnotator->SetAnnotatorActive(globals_->annotator, 0));

    RegisterNotifiers();
    settings_ = Allocate("PrefsData", kSettingsBlockSize);
}

ErrorCode VERTiGON4Plugin::OnStartup(BasicMessage* message) {
    if (Plugin::OnStartup(message) != kNoErr)
        return kStartupFailed;
    try {
        AllocateGlobals();
        RegisterEverything();
        return kNoErr;
    } catch (...) {
        // The object is destroyed by the caller; give back what it holds
        // beyond its blocks.
        FreeStartupBlocks();
        LockPlugin(false);
        return kStartupFailed;
    }
}

ErrorCode VERTiGON4Plugin::OnShutdown(BasicMessage* message) {
    DestroyPanels();
    // A gesture whose release never came keeps its buffers until now.
    if (globals_ != nullptr)
        EndGesture();
    DestroyEffectControllers();
    // The effects keep their settings for the next session.
    if (initialised())
        for (void* block :
             {static_cast<void*>(&globals_->fractalizeParams),
              static_cast<void*>(&globals_->warpParams), static_cast<void*>(&globals_->waveParams),
              static_cast<void*>(&globals_->lensParams)})
            SaveLastSetting(block, -1);
    FreeStartupBlocks();
    LockPlugin(false);
    return Plugin::OnShutdown(message);
}

ErrorCode VERTiGON4Plugin::Message(const char* caller, const char* selector, void* message) {
    ErrorCode result;
    try {
        if (std::strcmp(caller, kCallerAnnotation) == 0 && globals_ != nullptr)
            result = OnAnnotation(selector, static_cast<AnnotationMessage*>(message));
        else
            result = Plugin::Message(caller, selector, message);
    } catch (const host::Error& e) {
        result = e.code();
    } catch (ErrorCode code) {
        result = code;
    } catch (const std::bad_alloc&) {
        result = kOutOfMemoryErr;
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
