// effect_ctrlr.hpp - what the live effects share: the controller
// (EffectCtrlr) with the edit, preview, Go Live and interpolation flows,
// the table that maps a parameter record to its dictionary keys, and the
// dialog base (EffectDialogController) with the common controls: preview,
// edge display, OK and Cancel, presets and reset, help pane, placement.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/controller.hpp"
#include "core/plugin_globals.hpp"
#include "help/help_view.hpp"
#include "host/api/vtg_messages.h"
#include "params/param_types.hpp"
#include "platform/window.hpp"
#include "ui/bitmap_button.hpp"
#include "ui/preset_dialog.hpp"
#include "ui/value_link.hpp"

namespace vtg {

// One dictionary entry of a parameter record.
struct EffectKey {
    enum class Type { Integer, Boolean, Real };
    // How interpolation treats the field: taken from the start set, set
    // when either set has it, or blended.
    enum class Blend { Choice, Either, Mix };
    const char* key;
    Type type;
    std::size_t offset; // of an int32_t or a double in the record
    Blend blend;
    bool neutralised = false; // replaced by `neutral` in a stand-in set
    double neutral = 0;
};

// Reads the present keys of `dictionary` into `block` (absent keys and
// entries of another type leave their field); writes every key.
void ReadEffectDictionary(DictionaryHandle dictionary, std::span<const EffectKey> keys,
                          void* block);
ErrorCode WriteEffectDictionary(DictionaryHandle dictionary, std::span<const EffectKey> keys,
                                const void* block);
bool HasKey(DictionaryHandle dictionary, const char* key);

// Blends two records as the effects' interpolation does (plain arrays of
// the record's size): the absent or mismatching set is replaced by a
// neutral copy of the other; `p` = 0 gives the end set's reals.
void BlendEffectRecords(std::span<const EffectKey> keys, std::size_t size, const void* start,
                        bool hasStart, const void* end, bool hasEnd, bool compareFirst, double p,
                        void* out);

class EffectDialogController;

// Static facts of one effect.
struct EffectInfo {
    int index;              // EffectIndex
    const PresetType* type; // the record's layout and defaults
    std::span<const EffectKey> keys;
    const char* prefsPrefix;
    const char* name;     // "マルチウェーブ 効果": the dialog title after "VERTiGON6: "
    const char* helpPage; // "effect_wave"
    // Interpolation replaces the end set when the first choice differs.
    bool compareFirstChoice = true;
};

class EffectCtrlr : public VERTiGON4DialogCtrlr, public PresetOwner {
public:
    // `params` is the effect's block in the globals.
    EffectCtrlr(const EffectInfo& info, void* params);
    ~EffectCtrlr() override; // stores the block as "Last Setting"

    // Slots 0 .. 10.
    void RebuildPresetMenu(const std::vector<std::string>& names) override;
    ErrorCode ApplyPreset(int index) override;
    // The preset dialogs serve the effect's block; its dialog owns it.
    void* PresetRecord() const override { return params_; }
    PanelHandle PresetPanel() const override { return nullptr; }
    virtual void Hook() {}
    virtual int RunDialog();
    virtual ErrorCode UpdatePreview();
    virtual ErrorCode FilterGetParameters() { return kNoErr; }
    virtual ErrorCode EditParameters(LiveEffectEditMessage* message);
    virtual ErrorCode FilterGo() { return kNoErr; }
    virtual ErrorCode GoLive(LiveEffectGoMessage* message);
    virtual ErrorCode InterpolateParameters(LiveEffectInterpolateMessage* message);

    // The effect's geometry on `art` with a local record.
    virtual ErrorCode Apply(const void* record, ArtHandle art) = 0;
    // The effect's dialog controller.
    virtual std::unique_ptr<EffectDialogController> MakeDialog() = 0;

    const EffectInfo& info() const { return info_; }
    // The dialog's title after "VERTiGON6: ", and its help page.
    virtual const char* DialogName() const { return info_.name; }
    virtual const char* HelpPage() const { return info_.helpPage; }
    void* params() const { return params_; }
    EffectDialogController* dialog() const { return dialog_; }
    bool liveEdit() const { return liveEdit_; }
    bool preview() const { return preview_; }
    void setPreview(bool on) { preview_ = on; }
    int32_t previewResult() const { return previewResult_; }
    platform::Point location() const { return location_; }
    void setLocation(platform::Point p) { location_ = p; }
    // Whether an effect dialog is open (any effect).
    static bool DialogOpen();

protected:
    // Around the dialog of an edit (the Lens keeps its area guide there).
    virtual void BeforeEdit() {}
    virtual void AfterDialog() {}
    // Whether the selection check lets a new instance be edited.
    bool SelectionAccepted();

    EffectInfo info_;
    EffectDialogController* dialog_ = nullptr;
    void* presetTarget_;
    int32_t dialogResult_ = 0;
    bool liveEdit_ = false;
    void* editing_ = nullptr;
    LiveEffectEditMessage* editMessage_ = nullptr;
    platform::Point location_{-1000, -1000};
    bool preview_ = true;
    int32_t previewResult_ = 0;
    void* params_;
    std::vector<unsigned char> saved_;
};

// The dialog base: every effect dialog's common controls.
class EffectDialogController : public platform::WindowHandler {
public:
    static constexpr int kPreview = 1432, kEdges = 1947, kNote = 1942, kPresetButton = 1433,
                         kReset = 1821, kHelp = 1055, kSeparator = 1909, kPlaceholder = 1920;
    static constexpr int kMenuDefault = 40036, kMenuEditPresets = 40037, kMenuAbout = 40038,
                         kMenuFirstPreset = 40039;

    EffectDialogController(EffectCtrlr& owner, int templateId);
    ~EffectDialogController() override;

    // Runs the dialog: 0 accepted, 1 cancelled, 255 when it could not run.
    int Run();
    platform::WindowId window() const { return dialog_; }
    // Shows the block's values in the controls (after a preset or reset).
    virtual void Refresh();
    const std::vector<std::string>& presetNames() const { return presetNames_; }
    void SetPresetNames(const std::vector<std::string>& names) { presetNames_ = names; }
    // The preset button's pop-up menu: "初期設定", "プリセットを編集...", the
    // preset names, "このプラグインについて...".
    std::vector<platform::MenuItem> PresetMenu() const;
    bool helpShown() const;

    bool OnMessage(platform::WindowId window, std::uint32_t code, platform::Param wparam,
                   platform::Param lparam, platform::Param& result) override;

protected:
    // The effect's own part of the opening, and its controls' commands
    // (true when handled). Changes call Changed().
    virtual void InitControls() = 0;
    virtual bool OnCommand(int id, int notify) { return id < 0 && notify < 0; }
    // After a choice or check changed its field, before the preview.
    virtual void ChoiceChanged(int firstId) { (void)firstId; }
    void Changed();
    // Controls bound to integer fields: a row of picture buttons or radio
    // buttons (ids first .. first + count - 1 choose 0 .. count - 1; the
    // chosen picture button is shown pressed), and check boxes (0 or 1).
    void AddChoice(int firstId, int count, int32_t* field, bool pictures);
    void AddCheck(int id, int32_t* field);
    platform::WindowId item(int id) const { return platform::GetItem(dialog_, id); }
    void SetSlider(int id, int minimum, int maximum, int page = 10);
    static void OnLinkedChange(void* self);

    EffectCtrlr& owner_;
    int templateId_;
    platform::WindowId dialog_ = 0;
    ValueLinker linker_;

private:
    void InitCommon();
    // Every picture button of the dialog draws its bitmap (the one its
    // template names) inside its edge.
    void AttachPictures();
    void ToggleHelp();
    // Shows the preset menu at the preset button; the chosen command or 0.
    int TrackPresetMenu();
    void End(int id);
    void ShowEdgeLabel();

    struct Choice {
        int first, count;
        int32_t* field;
        bool pictures;
    };
    struct Check {
        int id;
        int32_t* field;
    };
    bool HandleBound(int id);

    std::vector<Choice> choices_;
    std::vector<Check> checks_;
    std::vector<std::unique_ptr<QLWBitmapButton>> pictures_;
    HelpViewController help_;
    std::vector<std::string> presetNames_;
    int fullWidth_ = 0, collapsedWidth_ = 0, height_ = 0;
    int32_t edgesAtOpen_ = 1;
    bool edges_ = true;
};

} // namespace vtg
