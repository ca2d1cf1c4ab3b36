// tool_ctrlr.hpp - the base of the tool controllers and of their options
// views. A controller exists while its tool is selected: it owns the tool's
// parameter record (loaded from "Last Setting", written back on
// destruction) and the options view inside the one tool panel, and serves
// the tool's mouse gestures.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/controller.hpp"
#include "core/plugin_globals.hpp"
#include "core/view_controller.hpp"
#include "host/api/vtg_annotator_suite.h"
#include "host/api/vtg_messages.h"
#include "params/param_types.hpp"
#include "ui/bitmap_button.hpp"
#include "ui/preset_dialog.hpp"

namespace vtg {

class ToolCtrlr;

// Refresh reasons of the options views.
inline constexpr int kRefreshSelect = 1;
inline constexpr int kRefreshFlyout = 2;
inline constexpr int kRefreshPreset = 4;
inline constexpr int kRefreshDocument = 16;
inline constexpr int kRefreshSendData = 64;

// The trace controls of an options view: the check box, the mode list, and
// the interval and steps rows (label, edit, spin) that share one place.
struct TraceControls {
    int check, mode;
    int intervalLabel, interval, intervalSpin;
    int stepsLabel, steps, stepsSpin;
};

// The record fields those controls show.
struct TraceFields {
    int32_t* trace;
    int16_t* traceMode;
    double* interval;
    double* steps;
    int modes; // number of items in the mode list
};

class ToolViewController : public VERTiGON4ViewController {
public:
    explicit ToolViewController(ToolCtrlr& ctrlr) : ctrlr_(ctrlr) {}
    // Shows the record again (a kRefresh... reason).
    virtual void Refresh(int reason) = 0;
    // The panel grew or shrank by (dw, dh) pixels; the view follows.
    virtual void ResizeBy(int dw, int dh);
    // Fills the combo boxes with their items.
    virtual void FillCombos() {}

protected:
    void OnInitView() override;
    bool OnViewMessage(std::uint32_t code, platform::Param wparam, platform::Param lparam,
                       platform::Param& result) override;
    // A command of one of the tool's controls; true when handled.
    virtual bool OnToolCommand(int id, int notify) = 0;
    // A spin click of one of the tool's controls; true when handled.
    virtual bool OnToolSpin(int id, int delta) = 0;

    platform::WindowId item(int id) const { return platform::GetItem(dialog_, id); }
    // Edit helpers shared by the views: the number an edit holds, clamped
    // and shown again; false when the text is not a number.
    bool ReadNumber(int edit, double low, double high, int decimals, double& value);
    bool ReadInteger(int edit, double low, double high, double& value);
    // A length edit in the document's ruler units, in points.
    bool ReadLength(int edit, double low, double high, double& value);
    void ShowLength(int edit, double points);
    // Steps the number in an edit by `delta` and reads it again as typed.
    void StepEdit(int edit, int delta);
    // The trace check box went on: the warning first.
    void TraceTurnedOn();
    // Shows and enables the controls for the record as it stands (the rows
    // of the current kind, the trace rows); called after each change.
    virtual void ApplyRules() {}

    // The trace controls every tool with a trace has: shows the fields,
    // applies the rule that the interval row shows when `intervalShown` and
    // the steps row otherwise, both enabled only while trace is on (the mode
    // list also only when `modeEnabled`), and handles their commands and
    // spins (true when `id` is one of them).
    void ShowTrace(const TraceControls& c, const TraceFields& f);
    void ApplyTraceRules(const TraceControls& c, bool on, bool intervalShown,
                         bool modeEnabled = true);
    bool OnTraceCommand(const TraceControls& c, const TraceFields& f, int id, int notify);
    bool OnTraceSpin(const TraceControls& c, int id, int delta);

    ToolCtrlr& ctrlr_;

private:
    std::vector<std::unique_ptr<QLWBitmapButton>> pictures_; // the picture buttons
};

class ToolCtrlr : public VERTiGON4PanelCtrlr, public PresetOwner {
public:
    ToolCtrlr(int16_t index, PanelHandle panel, FlyoutHandle flyout);
    // Closes the options panel, writes the record as "Last Setting" and
    // frees it.
    ~ToolCtrlr() override;

    // Allocates and loads the record, creates the view and shows the panel.
    ErrorCode Create();

    // --- PresetOwner ----------------------------------------------------------
    void* PresetRecord() const override { return record_; }
    ErrorCode ApplyPreset(int32_t index) override;
    void RebuildPresetMenu(const std::vector<std::string>& names) override;
    PanelHandle PresetPanel() const override { return panel_; }
    void RebuildPresetMenu();

    // The text of the annotator's label; empty for none.
    virtual std::string LabelText() const { return {}; }
    // Drawing of the tool's own under the label (outlines, say): true when
    // something was drawn, with `covered` the view rectangle it takes.
    virtual bool DrawAnnotation(DrawerHandle drawer, VtgViewRect& covered) {
        (void)drawer;
        (void)covered;
        return false;
    }
    // The cursor for these modifiers.
    virtual int32_t CursorFor(uint32_t modifiers) const = 0;
    // The tool's gesture.
    virtual ErrorCode MouseDown(const ToolMessage& message) = 0;
    virtual ErrorCode MouseDrag(const ToolMessage& message) = 0;
    virtual ErrorCode MouseUp(const ToolMessage& message) = 0;

    // Panel plumbing.
    ErrorCode OnFlyoutItem(int32_t item);
    void OnPanelResize(double width, double height);
    void ShowOptionsPanel();
    void CloseOptionsPanel();
    void Refresh(int reason);

    int16_t index() const { return index_; }
    void* record() const { return record_; }
    ToolViewController* view() const { return view_.get(); }
    const PresetType& type() const { return *type_; }

protected:
    virtual int DialogId() const = 0;
    virtual std::unique_ptr<ToolViewController> MakeView() = 0;

private:
    int16_t index_;
    const PresetType* type_ = nullptr;
    void* record_ = nullptr;
    std::unique_ptr<ToolViewController> view_;
    bool hookTaken_ = false;
    double minWidth_ = 0, minHeight_ = 0, viewWidth_ = 0, viewHeight_ = 0;
};

// The controller of a tool index, or null for the 3D rotate tool and the
// tools that have none yet.
std::unique_ptr<ToolCtrlr> CreateToolController(int16_t index, PanelHandle panel,
                                                FlyoutHandle flyout);

// The 3D rotate tool's controller (no record, no options panel).
std::unique_ptr<ToolCtrlr> CreateRotate3DTool();

// The value label of a tool (a number with 3 decimals, by the host's format).
std::string FormatLabelNumber(double value);

} // namespace vtg
