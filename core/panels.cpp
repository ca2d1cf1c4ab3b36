// The shared host panels as the main plug-in object opens them from its
// menu, and the preferences dialog.
#include "core/error_alert.hpp"
#include "core/error_codes.hpp"
#include "core/host_panel.hpp"
#include "core/menus.hpp"
#include "core/prefs_dialog.hpp"
#include "core/suite_set.hpp"
#include "core/vertigon_plugin.hpp"
#include "help/help_ctrlr.hpp"
#include "live/pg_ctrlr.hpp"
#include "params/global_params.hpp"
#include "params/live_storage.hpp"
#include "params/preset_library.hpp"
#include "tools/tool_ctrlr.hpp"

namespace vtg {

namespace {

bool Shown(PanelHandle panel) {
    int32_t shown = 0;
    return panel != nullptr && sPanel->IsPanelShown(panel, &shown) == kNoErr && shown != 0;
}

} // namespace

bool VERTiGON4Plugin::LiveObjectPanelVisible() const {
    return Shown(livePanel_);
}

ErrorCode VERTiGON4Plugin::ShowLiveObjectPanel(LiveObjectKind kind, bool toggle) {
    if (kind < 0 || kind >= kLiveObjectKindCount)
        return kNoErr;
    if (Shown(livePanel_) && globals_->panelKind == kind) {
        if (toggle) {
            sPanel->ShowPanel(livePanel_, 0);
            return kNoErr;
        }
        return live_ != nullptr ? live_->SyncPanelWithSelection(true) : kNoErr;
    }
    if (livePanel_ == nullptr) {
        ErrorCode err =
            CreateHostPanel(pluginRef_, &livePanel_, &liveFlyout_, true, kLivePanelPrefix);
        if (err != kNoErr) {
            DestroyHostPanel(&livePanel_, &liveFlyout_, kLivePanelPrefix);
            return err;
        }
    }
    if (live_ != nullptr && globals_->panelKind == kind) {
        live_->ShowPanel(true);
        return live_->SyncPanelWithSelection(true);
    }
    // Another kind: its controller replaces the current one (which saves
    // its values); the panel stays.
    delete live_;
    live_ = nullptr;
    globals_->panelKind = kind;
    globals_->currentKind = kind;
    std::unique_ptr<PGCtrlr> made = CreateLiveObjectController(kind, livePanel_, liveFlyout_);
    if (made == nullptr) {
        // Kinds without a panel yet show the bare panel under their title.
        std::string title = std::string("VERTiGON6: ") + kLiveObjectMenuNames[kind];
        sPanel->SetPanelTitle(livePanel_, title.c_str());
        return sPanel->ShowPanel(livePanel_, 1);
    }
    if (ErrorCode err = made->Create())
        return err;
    live_ = made.release();
    return live_->SyncPanelWithSelection(true);
}

ErrorCode VERTiGON4Plugin::ShowHelpPanel(bool toggle) {
    if (help_ == nullptr) {
        if (helpPanel_ == nullptr) {
            ErrorCode err =
                CreateHostPanel(pluginRef_, &helpPanel_, &helpFlyout_, false, kHelpPanelPrefix);
            if (err != kNoErr) {
                DestroyHostPanel(&helpPanel_, &helpFlyout_, kHelpPanelPrefix);
                return err;
            }
        }
        help_ = new HelpCtrlr(pluginRef_, helpPanel_, helpFlyout_);
        ErrorCode err = help_->Create();
        if (err != kNoErr) {
            delete help_;
            help_ = nullptr;
            return err;
        }
    } else if (help_->PanelShown()) {
        if (toggle) {
            help_->ShowPanel(false);
            return kNoErr;
        }
    } else {
        help_->ShowPanel(true);
    }
    help_->ShowPage(helpRow);
    return kNoErr;
}

void VERTiGON4Plugin::DestroyPanels() {
    delete tool_; // saves its values as "Last Setting"
    tool_ = nullptr;
    delete live_;
    live_ = nullptr;
    if (help_ != nullptr) {
        delete help_;
        help_ = nullptr;
    }
    DestroyHostPanel(&toolPanel_, &toolFlyout_, kToolPanelPrefix);
    DestroyHostPanel(&livePanel_, &liveFlyout_, kLivePanelPrefix);
    DestroyHostPanel(&helpPanel_, &helpFlyout_, kHelpPanelPrefix);
}

ErrorCode VERTiGON4Plugin::RunPreferencesFromMenu() {
    // The dialog edits a copy; only OK writes it back.
    void* copy = nullptr;
    ErrorCode err = sMemory->AllocateBlock("PrefsData", sizeof(PrefsParams), &copy);
    if (err != kNoErr)
        return err;
    *static_cast<PrefsParams*>(copy) = *static_cast<PrefsParams*>(settings_);
    int result = RunPreferencesDialog(copy);
    if (result == 0) {
        *static_cast<PrefsParams*>(settings_) = *static_cast<PrefsParams*>(copy);
        err = SaveLastSetting(settings_, -1);
    } else if (result < 0) {
        err = kMissingFiles;
    }
    sMemory->FreeBlock(copy);
    return err;
}

ErrorCode VERTiGON4Plugin::ShowPanelOfSelection() {
    if (sDocument == nullptr || sArt == nullptr || sPluginGroup == nullptr)
        return kNoErr;
    // Selected live objects of the previous version are offered their
    // conversion first, so that their kind is found.
    ArtHandle* list = nullptr;
    int32_t count = 0;
    if (sDocument->GetSelectedArt(&list, &count) != kNoErr || list == nullptr)
        return kNoErr; // no document: nothing to open
    ErrorCode err = kNoErr;
    for (int32_t i = 1; i < count && err == kNoErr; ++i) {
        int32_t kind = 0;
        PluginGroupHandle group = nullptr;
        if (sArt->GetArtKind(list[i], &kind) != kNoErr || kind != kVtgArtPlugin ||
            sPluginGroup->GetArtPluginGroup(list[i], &group) != kNoErr)
            continue;
        MigrateLegacyLiveObject(list[i], group, &err);
    }
    sMemory->FreeBlock(list);
    if (err != kNoErr)
        return err;
    const LiveObjectKind kind = SelectedLiveObjectKind();
    return kind == kNoKind ? kNoErr : ShowLiveObjectPanel(kind, false);
}

} // namespace vtg
