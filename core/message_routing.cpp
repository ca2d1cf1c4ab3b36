// Message routing of the main plug-in object: each message reaches the
// controller of the feature it addresses. Controllers join as their
// features are built; until then a message for a feature without a
// controller does what the feature does without one: nothing.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "core/error_alert.hpp"
#include "core/error_codes.hpp"
#include "core/host_panel.hpp"
#include "core/menus.hpp"
#include "core/suite_set.hpp"
#include "core/vertigon_plugin.hpp"
#include "effects/effect_controllers.hpp"
#include "effects/effect_ctrlr.hpp"
#include "effects/effect_registration.hpp"
#include "effects/fractalize/fractalize_ctrlr.hpp"
#include "live/live_actions.hpp"
#include "live/live_object.hpp"
#include "live/pg_ctrlr.hpp"
#include "platform/system.hpp"
#include "tools/tool_ctrlr.hpp"
#include "tools/tool_table.hpp"

namespace vtg {

namespace {

constexpr const char* kExpandQuestion = "結果のオブジェクトに「アピアランスを分割」を適用します。\n"
                                        "ライブ効果は失われますがよろしいですか？";
constexpr const char* kExpandConfirmKey = "_QrLw_VERTiGON6_ExpandAppearanceConfirm_";

// Reads the document's ruler units into the globals; without a document
// they stay as they were.
void ReadRulerUnits() {
    int32_t units = 0;
    if (sDocument != nullptr && sDocument->GetRulerUnits(&units) == kNoErr)
        gGlobals->rulerUnits = units;
}

} // namespace

// --- notifications -----------------------------------------------------------

ErrorCode VERTiGON4Plugin::OnAppStarted(NotifierMessage*) {
    // Tools set their cursor by resource id through the tool suite; this
    // host keeps no cursor objects, so there is nothing to create here.
    return kNoErr;
}

ErrorCode VERTiGON4Plugin::OnNotify(NotifierMessage* message) {
    if (globals_ == nullptr || message == nullptr)
        return kNoErr;
    NotifierHandle n = message->notifier;
    if (n == nullptr)
        return kNoErr;
    if (n == notifiers_[kRulerUnitChanged] || n == notifiers_[kDocumentChanged]) {
        ReadRulerUnits();
        // The visible views show their lengths in the new units at once.
        if (live_ != nullptr && live_->view() != nullptr && LiveObjectPanelVisible())
            live_->view()->Refresh(16);
        if (tool_ != nullptr && tool_->PanelShown())
            tool_->Refresh(kRefreshDocument);
        return kNoErr;
    }
    if (n == notifiers_[kDocumentOpened]) {
        ReadRulerUnits();
        if (!initialised())
            return EnsureInitialized(pluginRef_);
        return kNoErr;
    }
    if (n == notifiers_[kInternal]) {
        // "Tool Send Data" asks the visible tool view to show the values a
        // drag changed.
        const char* text = static_cast<const char*>(message->data);
        if (text != nullptr && std::strcmp(text, "Tool Send Data") == 0 && tool_ != nullptr &&
            tool_->PanelShown())
            tool_->Refresh(kRefreshSendData);
        return kNoErr;
    }
    // The open live-object panel follows the selection and the documents.
    if ((n == notifiers_[kSelectionChanged] || n == notifiers_[kDocumentClosed]) &&
        live_ != nullptr && LiveObjectPanelVisible())
        return live_->SyncPanelWithSelection(false);
    // Application started, colour model changed and symbol changes reach
    // panels and live objects that are not open in this build.
    return kNoErr;
}

// --- menus -------------------------------------------------------------------

ErrorCode VERTiGON4Plugin::OnMenuGo(MenuMessage* message) {
    ErrorCode init = initialised() ? kNoErr : EnsureInitialized(pluginRef_);
    MenuCommand command = IdentifyMenuItem(message != nullptr ? message->menuItem : nullptr);
    // While initialisation has failed only help and preferences work.
    if (init != kNoErr && command.kind != MenuCommand::Help &&
        command.kind != MenuCommand::Preferences)
        return init;
    switch (command.kind) {
    case MenuCommand::Preferences:
        return RunPreferencesFromMenu();
    case MenuCommand::Help:
        helpRow = 0; // the index; the panels' "?" buttons choose their own pages
        return ShowHelpPanel(true);
    case MenuCommand::LiveObject:
        return ShowLiveObjectPanel(command.liveObject, true);
    case MenuCommand::ShowPanel:
        return ShowPanelOfSelection();
    case MenuCommand::None:
        break;
    }
    return kNoErr;
}

ErrorCode VERTiGON4Plugin::OnMenuUpdate(MenuMessage* message) {
    if (globals_ == nullptr || message == nullptr)
        return kNoErr;
    for (int kind = 0; kind < kLiveObjectKindCount; ++kind)
        if (message->menuItem == globals_->liveObjectItems[kind]) {
            bool open = kind == globals_->panelKind && LiveObjectPanelVisible();
            return sMenu->CheckItem(message->menuItem, open ? 1 : 0);
        }
    return kNoErr;
}

// --- tools -------------------------------------------------------------------

namespace {

bool ToolPanelShown(PanelHandle panel) {
    int32_t shown = 0;
    return panel != nullptr && sPanel->IsPanelShown(panel, &shown) == kNoErr && shown != 0;
}

// Every flyout item but the About box's on or off.
void EnableToolFlyout(FlyoutHandle flyout, bool enable) {
    int32_t count = 0;
    if (flyout == nullptr || sPanel->CountFlyoutItems(flyout, &count) != kNoErr)
        return;
    for (int32_t item = 1; item <= count; ++item)
        if (item != kFlyoutAbout)
            sPanel->EnableFlyoutItem(flyout, item, enable ? 1 : 0);
}

} // namespace

void VERTiGON4Plugin::DestroyToolController() {
    if (tool_ == nullptr)
        return;
    if (ToolPanelShown(toolPanel_))
        sPanel->ShowPanel(toolPanel_, 0);
    EnableToolFlyout(toolFlyout_, false);
    delete tool_; // writes its record as "Last Setting"
    tool_ = nullptr;
}

ErrorCode VERTiGON4Plugin::OnToolSelect(ToolMessage* message) {
    const ToolRow* row = FindToolRow(message != nullptr ? message->tool : nullptr);
    if (row == nullptr)
        return kNoErr;
    if (row->index != kTool3DRotate && !initialised()) {
        ErrorCode err = EnsureInitialized(pluginRef_);
        if (err != kNoErr)
            return err;
    }
    if (row->cursorId != 0) {
        globals_->toolCursorId = row->cursorId;
        globals_->drag.brushCircle = nullptr;
        sTool->SetToolCursor(message->tool, row->cursorId);
    }
    if (tool_ != nullptr && ToolPanelShown(toolPanel_) && row->index == globals_->currentTool) {
        EnableToolFlyout(toolFlyout_, true);
    } else {
        DestroyToolController();
        globals_->currentTool = row->index;
        if (row->index != kTool3DRotate) {
            if (toolPanel_ == nullptr) {
                ErrorCode err =
                    CreateHostPanel(pluginRef_, &toolPanel_, &toolFlyout_, true, kToolPanelPrefix);
                if (err != kNoErr) {
                    DestroyHostPanel(&toolPanel_, &toolFlyout_, kToolPanelPrefix);
                    return err;
                }
            }
            std::unique_ptr<ToolCtrlr> made =
                CreateToolController(row->index, toolPanel_, toolFlyout_);
            if (made != nullptr) {
                if (ErrorCode err = made->Create())
                    return err;
                tool_ = made.release();
            }
        } else {
            // No record and no options panel: the tool edits 3D Path's block.
            tool_ = CreateRotate3DTool().release();
        }
    }
    if (tool_ != nullptr)
        tool_->Refresh(kRefreshSelect);
    return kNoErr;
}

ErrorCode VERTiGON4Plugin::OnToolDeselect(ToolMessage*) {
    if (globals_ == nullptr)
        return kNoErr;
    if (globals_->annotationActive != 0) {
        InvalidateAnnotation();
        sAnnotator->SetAnnotatorActive(globals_->annotator, 0);
        globals_->annotationActive = 0;
    }
    if (globals_->currentTool == kNoTool)
        return kNoErr;
    // The 3D rotate tool stays while the 3D Path panel is open.
    if (globals_->currentTool == kTool3DRotate && globals_->panelKind == 0 &&
        LiveObjectPanelVisible())
        return kNoErr;
    DestroyToolController();
    globals_->currentTool = kNoTool;
    return kNoErr;
}

ErrorCode VERTiGON4Plugin::OnToolEditOptions(ToolMessage* message) {
    ErrorCode err = OnToolDeselect(message);
    if (err == kNoErr)
        err = OnToolSelect(message);
    if (err == kNoErr && toolPanel_ != nullptr)
        err = sPanel->ShowPanel(toolPanel_, 1);
    return err;
}

ErrorCode VERTiGON4Plugin::OnToolTrackCursor(ToolMessage* message) {
    if (globals_ == nullptr || message == nullptr || tool_ == nullptr ||
        FindToolRow(message->tool) == nullptr ||
        FindToolRow(message->tool)->index != tool_->index())
        return kNoErr;
    const int32_t id = tool_->CursorFor(message->modifiers);
    globals_->toolCursorId = id;
    return sTool->SetToolCursor(message->tool, id);
}

ErrorCode VERTiGON4Plugin::OnToolMouseDown(ToolMessage* message) {
    if (globals_ == nullptr || message == nullptr)
        return kNoErr;
    globals_->annotationActive = 0;
    if (tool_ == nullptr)
        return kNoErr;
    ErrorCode err = tool_->MouseDown(*message);
    if (sDocument != nullptr)
        sDocument->Redraw();
    OnToolTrackCursor(message);
    if (globals_->annotationActive != 0) {
        annotationPoint_ = message->cursor;
        sAnnotator->SetAnnotatorActive(globals_->annotator, 1);
    }
    return err;
}

ErrorCode VERTiGON4Plugin::OnToolMouseDrag(ToolMessage* message) {
    if (globals_ == nullptr || message == nullptr)
        return kNoErr;
    if (globals_->annotationActive != 0) {
        annotationPoint_ = message->cursor;
        InvalidateAnnotation();
    }
    OnToolTrackCursor(message);
    if (tool_ == nullptr)
        return kNoErr;
    const bool wasOn = globals_->annotationActive != 0;
    ErrorCode err = tool_->MouseDrag(*message);
    if (globals_->annotationActive != 0 && !wasOn) {
        annotationPoint_ = message->cursor;
        sAnnotator->SetAnnotatorActive(globals_->annotator, 1);
    }
    return err;
}

ErrorCode VERTiGON4Plugin::OnToolMouseUp(ToolMessage* message) {
    if (globals_ == nullptr || message == nullptr)
        return kNoErr;
    if (globals_->annotationActive != 0) {
        InvalidateAnnotation();
        sAnnotator->SetAnnotatorActive(globals_->annotator, 0);
        globals_->annotationActive = 0;
    }
    OnToolTrackCursor(message);
    if (tool_ == nullptr)
        return kNoErr;
    ErrorCode err = tool_->MouseUp(*message);
    if (err == kNoErr) {
        if (const ToolRow* row = FindToolRow(tool_->index()))
            sUndo->SetUndoText(row->name, row->name);
    }
    OnToolTrackCursor(message);
    return err;
}

void VERTiGON4Plugin::InvalidateAnnotation() {
    VtgViewRect rect{annotationRect_[0], annotationRect_[1], annotationRect_[2],
                     annotationRect_[3]};
    sAnnotator->InvalidateRect(&rect);
}

ErrorCode VERTiGON4Plugin::OnAnnotation(const char* selector, AnnotationMessage* message) {
    if (std::strcmp(selector, kSelectorInvalidate) == 0) {
        InvalidateAnnotation();
        return kNoErr;
    }
    if (std::strcmp(selector, kSelectorDraw) != 0 || message == nullptr || tool_ == nullptr)
        return kNoErr;
    VtgViewRect drawn{};
    const bool outlines = tool_->DrawAnnotation(message->drawer, drawn);
    const std::string text = tool_->LabelText();
    if (text.empty())
        return kNoErr;
    ViewHandle view = nullptr;
    VtgViewPoint at{};
    if (sDocument->GetFrontView(&view) != kNoErr ||
        sDocument->DocumentToView(view, &annotationPoint_, &at) != kNoErr)
        return kNoErr;
    at.h += 16;
    at.v += 16;
    VtgViewRect rect{};
    if (ErrorCode err = sAnnotator->MeasureText(message->drawer, text.c_str(), &at, &rect))
        return err;
    const int32_t height = rect.bottom - rect.top;
    rect.top += 2 * height;
    rect.bottom += 2 * height;
    at.v += 2 * height;
    sAnnotator->SetDrawColor(message->drawer, 0xCCCC, 0xCCCC, 0xCCCC);
    sAnnotator->FillRect(message->drawer, &rect);
    sAnnotator->SetDrawColor(message->drawer, 0, 0, 0);
    sAnnotator->DrawText(message->drawer, text.c_str(), &at);
    if (outlines) {
        rect.left = std::min(rect.left, drawn.left);
        rect.top = std::min(rect.top, drawn.top);
        rect.right = std::max(rect.right, drawn.right);
        rect.bottom = std::max(rect.bottom, drawn.bottom);
    }
    annotationRect_[0] = rect.left;
    annotationRect_[1] = rect.top;
    annotationRect_[2] = rect.right;
    annotationRect_[3] = rect.bottom;
    return kNoErr;
}

// --- filter and live effects -------------------------------------------------

ErrorCode VERTiGON4Plugin::OnFilterGetParameters(FilterMessage*) {
    if (!initialised())
        if (ErrorCode err = EnsureInitialized(pluginRef_))
            return err;
    EffectCtrlr* controller = EffectController(kEffectFractalize);
    return controller != nullptr ? controller->FilterGetParameters() : kNoErr;
}

ErrorCode VERTiGON4Plugin::OnFilterGo(FilterMessage*) {
    if (!initialised())
        if (ErrorCode err = EnsureInitialized(pluginRef_))
            return err;
    EffectCtrlr* controller = EffectController(kEffectFractalize);
    if (controller == nullptr)
        return kNoErr;
    if (ErrorCode err = controller->FilterGo())
        return err;
    const std::string text = std::string("VERTiGON6: ") + kFractalizeFilterUndoText;
    sUndo->SetUndoText(text.c_str(), text.c_str());
    return kNoErr;
}

ErrorCode VERTiGON4Plugin::OnEffectEditParameters(void* message) {
    if (!initialised()) {
        ErrorCode err = EnsureInitialized(pluginRef_);
        if (err != kNoErr)
            return err;
    }
    auto* m = static_cast<LiveEffectEditMessage*>(message);
    EffectCtrlr* controller = m != nullptr ? EffectController(EffectIndexOf(m->effect)) : nullptr;
    if (controller != nullptr) {
        ErrorCode err = controller->EditParameters(m);
        if (err != kNoErr)
            return err;
    }
    // The expansion offer follows every edit, also for a handle that is none
    // of the four.
    return OfferExpandAppearance();
}

ErrorCode VERTiGON4Plugin::OnEffectGoLive(void* message) {
    auto* m = static_cast<LiveEffectGoMessage*>(message);
    if (!initialised() || m == nullptr)
        return kNoErr;
    const int index = EffectIndexOf(m->effect);
    EffectCtrlr* controller = EffectController(index);
    if (controller == nullptr)
        return kNoErr;
    ErrorCode err = controller->GoLive(m);
    if (err != kNoErr) {
        ShowErrorAlert(err);
        return err;
    }
    const std::string text = std::string("VERTiGON6: ") + kEffectRegistrations[index].undoText;
    sUndo->SetUndoText(text.c_str(), text.c_str());
    return kNoErr;
}

ErrorCode VERTiGON4Plugin::OnEffectInterpolate(void* message) {
    auto* m = static_cast<LiveEffectInterpolateMessage*>(message);
    if (!initialised() || m == nullptr)
        return kNoErr;
    EffectCtrlr* controller = EffectController(EffectIndexOf(m->effect));
    return controller != nullptr ? controller->InterpolateParameters(m) : kNoErr;
}

ErrorCode VERTiGON4Plugin::OnEffectScaleParameters(void* message) {
    auto* m = static_cast<LiveEffectScaleMessage*>(message);
    if (!initialised() || m == nullptr || EffectIndexOf(m->effect) != kEffectFractalize)
        return kNoErr;
    double density = 0;
    if (sDictionary->GetReal(m->parameters, "density", &density) != kNoErr)
        density = 0;
    // A zero factor or a result that is not finite leaves the density as it
    // was, and the host is told nothing was scaled.
    double scaled = m->scale != 0 ? density / m->scale : NAN;
    if (!std::isfinite(scaled))
        return kNoErr;
    ErrorCode err = sDictionary->SetReal(m->parameters, "density", scaled);
    if (err == kNoErr)
        m->scaled = 1;
    return err;
}

ErrorCode VERTiGON4Plugin::OfferExpandAppearance() {
    if (!platform::IsKeyDown(platform::Modifier::Alt))
        return kNoErr;
    int32_t yes = 0;
    ErrorCode err = sUser->ConfirmSuppressible(kExpandQuestion, kExpandConfirmKey, &yes);
    if (err != kNoErr || yes == 0)
        return err;
    return sCommand->InvokeCommand(kCommandExpandStyle);
}

// --- actions and live objects ---------------------------------------------------

ErrorCode VERTiGON4Plugin::OnDoAction(DoActionMessage* message) {
    if (!initialised())
        if (ErrorCode err = EnsureInitialized(pluginRef_))
            return err;
    if (message == nullptr || message->userData == nullptr)
        return kNoErr;
    // Index 0 is the filter's action.
    if (*static_cast<const int16_t*>(message->userData) == 0) {
        auto* fractalize =
            dynamic_cast<FractalizeEffectCtrlr*>(EffectController(kEffectFractalize));
        if (fractalize == nullptr)
            return kNoErr;
        ErrorCode err = fractalize->PlayAction(message->values, message->showDialog != 0);
        if (err == kNoErr) {
            const std::string text = std::string("VERTiGON6: ") + kFractalizeFilterUndoText;
            sUndo->SetUndoText(text.c_str(), text.c_str());
        }
        return err;
    }
    return PlayLiveObjectAction(message->userData, message->values);
}

ErrorCode VERTiGON4Plugin::OnGroupNotifyEdits(PluginGroupMessage* message) {
    if (!initialised() || message == nullptr)
        return kNoErr;
    globals_->currentKind = kNoKind;
    for (int kind = 0; kind < kLiveObjectKindCount; ++kind)
        if (message->group != nullptr && message->group == globals_->groups[kind])
            globals_->currentKind = static_cast<LiveObjectKind>(kind);
    return kNoErr;
}

ErrorCode VERTiGON4Plugin::OnGroupUpdate(PluginGroupMessage* message) {
    if (!initialised() || message == nullptr || message->art == nullptr)
        return kNoErr;
    return UpdateLiveObject(message->art);
}

} // namespace vtg
