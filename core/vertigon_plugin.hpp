// vertigon_plugin.hpp - the main plug-in object.
//
// It registers everything the plug-in adds to the host at start-up, wraps
// the base dispatcher in an exception guard, routes each message to the
// controller of the addressed feature and tears everything down at
// shut-down. Features plug their controllers in as they are built.
#pragma once

#include "core/plugin.hpp"
#include "core/plugin_globals.hpp"
#include "host/api/vtg_panel_suite.h"

namespace vtg {

class HelpCtrlr;
class PGCtrlr;
class ToolCtrlr;
class PresetList;

class VERTiGON4Plugin : public Plugin {
public:
    explicit VERTiGON4Plugin(PluginRef plugin);
    ~VERTiGON4Plugin() override;

    ErrorCode OnStartup(BasicMessage* message) override;
    ErrorCode OnShutdown(BasicMessage* message) override;
    ErrorCode Message(const char* caller, const char* selector, void* message) override;
    ErrorCode OnAppStarted(NotifierMessage* message) override;
    ErrorCode OnNotify(NotifierMessage* message) override;
    ErrorCode OnDoAction(DoActionMessage* message) override;
    ErrorCode OnMenuGo(MenuMessage* message) override;
    ErrorCode OnMenuUpdate(MenuMessage* message) override;
    ErrorCode OnFilterGetParameters(FilterMessage* message) override;
    ErrorCode OnFilterGo(FilterMessage* message) override;
    ErrorCode OnGroupNotifyEdits(PluginGroupMessage* message) override;
    ErrorCode OnGroupUpdate(PluginGroupMessage* message) override;
    ErrorCode OnToolEditOptions(ToolMessage* message) override;
    ErrorCode OnToolTrackCursor(ToolMessage* message) override;
    ErrorCode OnToolMouseDown(ToolMessage* message) override;
    ErrorCode OnToolMouseDrag(ToolMessage* message) override;
    ErrorCode OnToolMouseUp(ToolMessage* message) override;
    ErrorCode OnToolSelect(ToolMessage* message) override;
    ErrorCode OnToolDeselect(ToolMessage* message) override;
    ErrorCode OnEffectEditParameters(void* message) override;
    ErrorCode OnEffectGoLive(void* message) override;
    ErrorCode OnEffectInterpolate(void* message) override;
    ErrorCode OnEffectScaleParameters(void* message) override;

    // Slot 58: after a live effect's parameters were edited, offers to expand
    // the appearance of the result while Alt is held.
    virtual ErrorCode OfferExpandAppearance();

    // First-use initialisation: the preset folder, the global settings and
    // the effects' settings. "EPN " on failure; the next use tries again.
    ErrorCode EnsureInitialized(PluginRef plugin);
    bool initialised() const { return globals_ != nullptr && globals_->initialised != 0; }

    // The shared panels (open, raise or close) and the preferences dialog.
    ErrorCode ShowLiveObjectPanel(LiveObjectKind kind, bool toggle);
    ErrorCode ShowHelpPanel(bool toggle);
    bool LiveObjectPanelVisible() const;
    // The page ShowHelpPanel opens (negative: the current one stays).
    int16_t helpRow = -1;
    HelpCtrlr* helpController() const { return help_; }
    PGCtrlr* liveController() const { return live_; }
    ToolCtrlr* toolController() const { return tool_; }
    // "Host Annotation": the value label of the tool in use.
    ErrorCode OnAnnotation(const char* selector, AnnotationMessage* message);
    // The preset-list object the controllers share.
    PresetList* presetList() const { return presetList_; }

    // Shut-down's part for the panels: controllers first, then the panels,
    // each saving its position.
    void DestroyPanels();

    // The global settings block ("PrefsData").
    void* settings() const { return settings_; }

    // The notifiers of the main object, in registration order.
    enum NotifierSlot {
        kAppStarted,
        kColorModelChanged,
        kAppShutdown,
        kRulerUnitChanged,
        kSelectionChanged,
        kInternal,
        kDocumentOpened,
        kDocumentClosed,
        kDocumentChanged,
        kSymbolSetChanged,
        kNotifierCount
    };
    NotifierHandle notifier(NotifierSlot slot) const { return notifiers_[slot]; }

private:
    // Start-up steps after the base start-up; each raises its code.
    void AllocateGlobals();
    void RegisterEverything();
    void RegisterNotifiers();
    // Frees every block start-up took, whichever exist (also after a
    // failed start-up).
    void FreeStartupBlocks();
    // The menu commands.
    ErrorCode RunPreferencesFromMenu();
    ErrorCode ShowPanelOfSelection();
    void InvalidateAnnotation();
    // Hides the tool panel and destroys the tool's controller.
    void DestroyToolController();

    void* settings_ = nullptr; // the global settings block, "PrefsData"
    PanelHandle toolPanel_ = nullptr, livePanel_ = nullptr, helpPanel_ = nullptr;
    FlyoutHandle toolFlyout_ = nullptr, liveFlyout_ = nullptr, helpFlyout_ = nullptr;
    HelpCtrlr* help_ = nullptr;
    PGCtrlr* live_ = nullptr;              // the controller of the panel kind
    ToolCtrlr* tool_ = nullptr;            // the controller of the selected tool
    PresetList* presetList_ = nullptr;     // the preset-list object shared by the controllers
    unsigned char* filterToken_ = nullptr; // handed to the Fractalize filter registration
    PluginGlobals* globals_ = nullptr;
    VtgPoint annotationPoint_{};
    int32_t annotationRect_[4] = {};
    NotifierHandle notifiers_[kNotifierCount] = {};
};

} // namespace vtg
