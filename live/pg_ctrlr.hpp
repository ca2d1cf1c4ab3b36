// pg_ctrlr.hpp - the live-object panel: the controller base of every kind
// and its view base with the controls every kind's view has at the bottom.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/controller.hpp"
#include "core/plugin_globals.hpp"
#include "core/view_controller.hpp"
#include "live/live_object.hpp"
#include "ui/preset_dialog.hpp"
#include "ui/value_link.hpp"

namespace vtg {

class PGCtrlr;

class PGViewController : public VERTiGON4ViewController {
public:
    static constexpr int kLiveUpdate = 1418;
    static constexpr int kExpand = 1419;
    static constexpr int kRelease = 1420;
    static constexpr int kApply = 1421;

    explicit PGViewController(PGCtrlr& ctrlr) : ctrlr_(ctrlr) {}
    // Shows the controller's record and flags again.
    virtual void Refresh(int reason);
    void EnableButtons(bool expand, bool release, bool apply);
    // The panel grew or shrank: the view follows, the common controls stay
    // at its bottom.
    virtual void ResizeBy(int dw, int dh);
    // The help page row the "?" button opens: the page of the panel's kind.
    virtual int HelpRow() const;

protected:
    bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                       platform::Param& result) override;
    // A command of a control of the kind; true when handled.
    virtual bool OnKindCommand(int id, int notify) {
        (void)id;
        (void)notify;
        return false;
    }
    // A spin click of a control of the kind; true when handled.
    virtual bool OnKindSpin(int id, int delta) {
        (void)id;
        (void)delta;
        return false;
    }
    // "?": the kind's help page in the help panel; with Alt held the panel
    // switches to the kind of the selected live object instead, which
    // destroys this view, so nothing of it may be touched afterwards.
    void OnHelpButton();

    PGCtrlr& ctrlr_;
};

// A view whose numbers go through value links (parse, clamp, store
// converted, show again, move the slider; a spin steps the shown value by
// its step), linked again when the document's ruler changes. Every stored
// change runs OnLinkedValue and then the live update.
class LinkedPGViewController : public PGViewController {
public:
    using PGViewController::PGViewController;
    // The base refresh, then every linked value shown again.
    void Refresh(int reason) override;

protected:
    void OnInitView() override;
    bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                       platform::Param& result) override;
    // Adds the kind's values with AddLink (called again on a ruler change).
    virtual void AddLinks() = 0;
    // A linked value was stored (the kind copies whole numbers back).
    virtual void OnLinkedValue() {}
    // One value: `edit` with `spin` and `slider` (0 for none) within
    // [low, high] as shown; stored = shown * scale. Distances are in points
    // and shown in the document's ruler unit.
    void AddLink(LinkedValue::Kind kind, int edit, int spin, int slider, double low, double high,
                 double scale, double* target);
    // The document's ruler unit (points without a document).
    static int32_t DocumentRuler();

    ValueLinker linker_;

private:
    void Relink();
    static void OnLinkedChange(void* self);
    int32_t linkedRuler_ = -1;
};

class PGCtrlr : public VERTiGON4PanelCtrlr, public PresetOwner {
public:
    PGCtrlr(LiveObjectKind kind, PanelHandle panel, FlyoutHandle flyout);
    // Closes the view and writes the record back as "Last Setting".
    ~PGCtrlr() override;

    // Loads "Last Setting" (or the defaults), creates and attaches the view.
    ErrorCode Create();

    virtual ErrorCode ReadParamsFromArt(ArtHandle art) { return LoadParamBlock(art, record()); }
    virtual ErrorCode MakeLiveObjects() { return MakeLiveObjectsOf(kind_, record()); }
    virtual ErrorCode ReleaseLiveObjects() { return ReleaseLiveObjectsOf(kind_); }
    virtual ErrorCode ExpandLiveObjects() { return ExpandLiveObjectsOf(kind_); }
    virtual ErrorCode UpdateSelectedLiveObjects() {
        return UpdateSelectedLiveObjectsOf(kind_, record(), lastScrollCode);
    }
    // Loads preset `index` into the panel (only while it is shown); with
    // live update the selection is made live with it (Apply).
    ErrorCode ApplyPreset(int32_t index) override;
    // Reads the selection into the panel and enables its buttons.
    ErrorCode SyncPanelWithSelection(bool opening);
    // After a panel value changed: the selected objects follow with live update.
    ErrorCode ValueChanged();
    // The kind's presets as flyout items 7 and up, after item 6.
    void RebuildPresetMenu();
    void RebuildPresetMenu(const std::vector<std::string>& names) override;
    void* PresetRecord() const override { return record(); }
    PanelHandle PresetPanel() const override { return panel_; }
    // A flyout item: 1 the built-in values, 7 and up the presets (the view
    // then shows the values and, with live update, the selection follows);
    // 3 the preset dialog, 6 the About box.
    ErrorCode OnFlyoutItem(int32_t item);
    // The panel's window is now `width` x `height` panel units.
    void OnPanelResize(double width, double height);

    void* record() const { return gGlobals->liveObjectParams[kind_]; }
    PGViewController* view() const { return view_.get(); }
    LiveObjectKind kind() const { return kind_; }
    bool liveUpdate = true;
    SelectionFlags flags;

protected:
    virtual int DialogId() const = 0;
    virtual std::unique_ptr<PGViewController> MakeView() = 0;

private:
    LiveObjectKind kind_;
    std::unique_ptr<PGViewController> view_;
    bool hookTaken_ = false;
    // The panel's minimum (the view's own size) and the size last seen.
    double minWidth_ = 0, minHeight_ = 0, viewWidth_ = 0, viewHeight_ = 0;
};

// The help page row of a kind ("live_circle" for Live Circle), or -1.
int LiveObjectHelpRow(LiveObjectKind kind);
// The kind of the last live object of this plug-in in the selection, or
// kNoKind when the selection holds none.
LiveObjectKind SelectedLiveObjectKind();

// The controller of `kind`, or null for a kind without a panel yet.
std::unique_ptr<PGCtrlr> CreateLiveObjectController(LiveObjectKind kind, PanelHandle panel,
                                                    FlyoutHandle flyout);

} // namespace vtg
