// preset_dialog.hpp - the preset dialog, the import dialog and the one
// preset-list object that connects them to the feature whose presets they
// show.
//
// The owner is the controller of the feature whose panel or dialog opened
// the preset dialog (or whose flyout is loading a preset). Its parameter
// block names the preset file; it applies a preset by index and rebuilds
// its flyout's preset items from the names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/api/vtg_base.h"
#include "host/api/vtg_panel_suite.h"

namespace vtg {

class PresetOwner {
public:
    virtual ~PresetOwner() = default;
    // The parameter block the preset operations read and write.
    virtual void* PresetRecord() const = 0;
    // Loads user preset `index` into the feature (and applies it).
    virtual ErrorCode ApplyPreset(int32_t index) = 0;
    // The flyout's preset items, one per name.
    virtual void RebuildPresetMenu(const std::vector<std::string>& names) = 0;
    // The panel that shows the feature, or null when a dialog owns it.
    virtual PanelHandle PresetPanel() const = 0;
};

class PresetDialog;

class PresetList {
public:
    static constexpr int kTemplateId = 40070;
    static constexpr int kImportTemplateId = 40080;

    PresetList() = default;
    PresetList(const PresetList&) = delete;
    PresetList& operator=(const PresetList&) = delete;

    PresetOwner* owner() const { return owner_; }
    void SetOwner(PresetOwner* owner) { owner_ = owner; }
    // The open preset dialog, or null.
    PresetDialog* dialog() const { return dialog_; }

    // Reads the owner's preset names and hands them to its flyout and to
    // the open dialog; a file that cannot be read shows the broken-file
    // message and leaves both without names.
    void RefreshPresetList(bool rebuildFlyout, bool rebuildDialog);
    // Runs the preset dialog of `owner` modally. 0 when it was closed, -1
    // when it could not be shown or the scripted input ended.
    int OpenPresetDialog(PresetOwner* owner);

private:
    friend class PresetDialog;
    PresetOwner* owner_ = nullptr;
    PresetDialog* dialog_ = nullptr;
};

// Sets the list's owner for one scope and clears it afterwards.
class PresetOwnerScope {
public:
    PresetOwnerScope(PresetList* list, PresetOwner* owner) : list_(list) {
        if (list_ != nullptr)
            list_->SetOwner(owner);
    }
    ~PresetOwnerScope() {
        if (list_ != nullptr)
            list_->SetOwner(nullptr);
    }
    PresetOwnerScope(const PresetOwnerScope&) = delete;
    PresetOwnerScope& operator=(const PresetOwnerScope&) = delete;

private:
    PresetList* list_;
};

// Runs the import dialog on the names of the import source; `picked` gets
// the chosen indices in ascending order. "Cncl" when cancelled.
ErrorCode RunImportDialog(const std::vector<std::string>& names, std::vector<int>& picked);

} // namespace vtg
