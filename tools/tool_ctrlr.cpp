// The tool controller base and the options view base.
#include "tools/tool_ctrlr.hpp"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/about_box.hpp"
#include "core/host_panel.hpp"
#include "core/suite_set.hpp"
#include "core/vertigon_plugin.hpp"
#include "params/preset_library.hpp"
#include "params/tool_params.hpp"
#include "tools/broom/broom_tool.hpp"
#include "tools/craft/craft_tool.hpp"
#include "tools/lens/lens_tool.hpp"
#include "tools/roughen/rough_tool.hpp"
#include "tools/tool_drag.hpp"
#include "tools/tool_table.hpp"
#include "tools/warp/warp_tool.hpp"
#include "tools/wave/wave_tool.hpp"
#include "ui/keyboard_hook.hpp"
#include "ui/text_helpers.hpp"

namespace vtg {

namespace {

void FlyoutChosen(PanelHandle, int32_t item, void* data) {
    static_cast<ToolCtrlr*>(data)->OnFlyoutItem(item);
}

void Resized(PanelHandle, double width, double height, void* data) {
    static_cast<ToolCtrlr*>(data)->OnPanelResize(width, height);
}

VERTiGON4Plugin* MainPlugin() {
    return dynamic_cast<VERTiGON4Plugin*>(GlobalPlugin());
}

const PresetType* TypeOfTool(int16_t index) {
    switch (index) {
    case 0:
        return &kWarpToolType;
    case 1:
        return &kWaveToolType;
    case 2:
        return &kLensToolType;
    case 4:
        return &kCraftToolType;
    case 5:
        return &kRoughToolType;
    case 6:
        return &kBroomToolType;
    default:
        return nullptr;
    }
}

// The help page row of a tool index.
int HelpRowOfTool(int16_t index) {
    return index <= 2 ? 31 + index : 30 + index;
}

bool ParseDouble(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == '\0' && std::isfinite(value);
}

int32_t Ruler() {
    return gGlobals != nullptr && gGlobals->rulerUnits > 0 ? gGlobals->rulerUnits : kRulerPoints;
}

} // namespace

std::string FormatLabelNumber(double value) {
    return FormatNumber(value, 3);
}

// --- the view ----------------------------------------------------------------------

void ToolViewController::OnInitView() {
    // Every spin covers the whole 32-bit range; the edit beside it keeps the
    // real limits.
    for (platform::WindowId child : platform::GetChildren(dialog_)) {
        if (platform::GetClass(child) == platform::WindowClass::UpDown)
            platform::SetRange(child, INT_MIN, INT_MAX);
        if (platform::GetClass(child) != platform::WindowClass::BitmapButton)
            continue;
        auto button = std::make_unique<QLWBitmapButton>();
        if (!button->Attach(child))
            continue;
        button->SetBitmap(platform::GetImage(child));
        pictures_.push_back(std::move(button));
    }
    FillCombos();
}

void ToolViewController::ResizeBy(int dw, int dh) {
    platform::Rect r = platform::GetRect(dialog_);
    r.right += dw;
    r.bottom += dh;
    platform::SetRect(dialog_, r);
}

bool ToolViewController::OnViewMessage(std::uint32_t code, platform::Param wparam,
                                       platform::Param lparam, platform::Param& result) {
    if (code == platform::kMsgNotify && lparam != 0) {
        const auto* n = reinterpret_cast<const platform::NotifyRecord*>(lparam);
        if (n->code == platform::kNotifySpinDelta && OnToolSpin(n->id, n->delta))
            return true;
    }
    if (code != platform::kMsgCommand)
        return VERTiGON4ViewController::OnViewMessage(code, wparam, lparam, result);
    const int id = platform::LowWord(wparam), notify = platform::HighWord(wparam);
    if (id == kHelpButton) {
        result = 0;
        if (VERTiGON4Plugin* plugin = MainPlugin()) {
            plugin->helpRow = static_cast<int16_t>(HelpRowOfTool(ctrlr_.index()));
            plugin->ShowHelpPanel(false);
        }
        return true;
    }
    if (OnToolCommand(id, notify))
        return true;
    return VERTiGON4ViewController::OnViewMessage(code, wparam, lparam, result);
}

bool ToolViewController::ReadNumber(int edit, double low, double high, int decimals,
                                    double& value) {
    double v = 0;
    if (!ParseDouble(platform::GetText(item(edit)), v))
        return false;
    value = v < low ? low : (v > high ? high : v);
    platform::SetText(item(edit), FormatNumber(value, decimals));
    return true;
}

bool ToolViewController::ReadInteger(int edit, double low, double high, double& value) {
    const std::string text = platform::GetText(item(edit));
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end == text.c_str() || !std::isfinite(v))
        return false;
    // Read as an integer, then limited.
    double whole = std::trunc(v);
    whole = whole < low ? low : (whole > high ? high : whole);
    value = whole;
    char shown[32];
    std::snprintf(shown, sizeof shown, "%ld", static_cast<long>(whole));
    platform::SetText(item(edit), shown);
    return true;
}

bool ToolViewController::ReadLength(int edit, double low, double high, double& value) {
    std::string display;
    double points = 0;
    if (ParseDistance(platform::GetText(item(edit)).c_str(), low, high, 4, display, points,
                      Ruler()) != kNoErr)
        return false;
    value = points;
    platform::SetText(item(edit), display);
    return true;
}

void ToolViewController::ShowLength(int edit, double points) {
    SetControlDistance(points, 4, item(edit), Ruler());
}

void ToolViewController::StepEdit(int edit, int delta) {
    double v = 0;
    std::string text = platform::GetText(item(edit));
    char* end = nullptr;
    v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(v))
        v = 0;
    // A length keeps its unit: the number part steps, the rest stays.
    const std::string rest = end != nullptr ? std::string(end) : std::string();
    platform::SetText(item(edit), FormatNumber(v + delta, 4) + rest);
    OnToolCommand(edit, platform::kNotifyEditChange);
}

void ToolViewController::TraceTurnedOn() {
    WarnTraceEnabled();
}

void ToolViewController::ShowTrace(const TraceControls& c, const TraceFields& f) {
    platform::SetChecked(item(c.check), *f.trace != 0);
    platform::SetSelection(item(c.mode), *f.traceMode);
    ShowLength(c.interval, *f.interval);
    platform::SetText(item(c.steps), std::to_string(TraceSteps(*f.steps)));
}

void ToolViewController::ApplyTraceRules(const TraceControls& c, bool on, bool intervalShown,
                                         bool modeEnabled) {
    for (int id : {c.intervalLabel, c.interval, c.intervalSpin}) {
        platform::Show(item(id), intervalShown);
        platform::Enable(item(id), on);
    }
    for (int id : {c.stepsLabel, c.steps, c.stepsSpin}) {
        platform::Show(item(id), !intervalShown);
        platform::Enable(item(id), on);
    }
    platform::Enable(item(c.mode), on && modeEnabled);
}

bool ToolViewController::OnTraceCommand(const TraceControls& c, const TraceFields& f, int id,
                                        int notify) {
    if (id == c.check) {
        *f.trace = platform::IsChecked(item(c.check)) ? 1 : 0;
        if (*f.trace != 0)
            TraceTurnedOn();
        ApplyRules();
    } else if (id == c.mode) {
        if (notify == platform::kNotifySelChange) {
            const int mode = platform::GetSelection(item(c.mode));
            if (mode >= 0 && mode < f.modes)
                *f.traceMode = static_cast<int16_t>(mode);
            ApplyRules();
        }
    } else if (id == c.interval) {
        if (notify == platform::kNotifyEditChange)
            ReadLength(c.interval, 1, 4000, *f.interval);
    } else if (id == c.steps) {
        if (notify == platform::kNotifyEditChange)
            ReadInteger(c.steps, 1, 4000, *f.steps);
    } else {
        return false;
    }
    return true;
}

bool ToolViewController::OnTraceSpin(const TraceControls& c, int id, int delta) {
    if (id == c.intervalSpin)
        StepEdit(c.interval, delta);
    else if (id == c.stepsSpin)
        StepEdit(c.steps, delta);
    else
        return false;
    return true;
}

// --- the controller ----------------------------------------------------------------

ToolCtrlr::ToolCtrlr(int16_t index, PanelHandle panel, FlyoutHandle flyout)
    : VERTiGON4PanelCtrlr(panel, flyout), index_(index), type_(TypeOfTool(index)) {}

ToolCtrlr::~ToolCtrlr() {
    CloseOptionsPanel();
    if (record_ != nullptr) {
        SaveLastSetting(record_, -1);
        if (gGlobals != nullptr && gGlobals->toolParams == record_)
            gGlobals->toolParams = nullptr;
        sMemory->FreeBlock(record_);
    }
    record_ = nullptr;
}

ErrorCode ToolCtrlr::Create() {
    if (type_ == nullptr)
        return kBadParameterErr;
    if (ErrorCode err = sMemory->AllocateBlock(type_->blockName, type_->blockSize, &record_)) {
        record_ = nullptr;
        return err;
    }
    InitParamBlock(*type_, record_);
    // A file that cannot be read leaves the defaults in memory; only a
    // missing file is created.
    LoadLastSettingOrDefaults(record_);
    gGlobals->toolParams = record_;
    view_ = MakeView();
    uint32_t window = 0;
    sPanel->GetPanelWindow(panel_, &window);
    if (view_->Create(DialogId(), window) == 0) {
        view_.reset();
        return kMissingFiles;
    }
    ShowOptionsPanel();
    return kNoErr;
}

void ToolCtrlr::ShowOptionsPanel() {
    const ToolRow* row = FindToolRow(index_);
    if (row != nullptr)
        sPanel->SetPanelTitle(panel_, row->name);
    RebuildPresetMenu();
    sPanel->SetPanelFlyoutProc(panel_, &FlyoutChosen, this);
    const platform::Rect r = platform::GetRect(view_->window());
    const double scale = CurrentPanelPlacement().scale > 0 ? CurrentPanelPlacement().scale : 1.0;
    const double w = std::round(r.width() / scale), h = std::round(r.height() / scale);
    sPanel->SetPanelSizeLimits(panel_, w, h, w, h, 2 * w, 2 * h);
    minWidth_ = viewWidth_ = w;
    minHeight_ = viewHeight_ = h;
    sPanel->SetPanelResizeProc(panel_, &Resized, this);
    sPanel->SetPanelSize(panel_, w, h);
    ShowPanel(true);
    if (!hookTaken_) {
        TakeKeyboardHook();
        hookTaken_ = true;
    }
}

void ToolCtrlr::CloseOptionsPanel() {
    if (panel_ != nullptr) {
        sPanel->SetPanelFlyoutProc(panel_, nullptr, nullptr);
        sPanel->SetPanelResizeProc(panel_, nullptr, nullptr);
    }
    if (hookTaken_)
        ReleaseKeyboardHook();
    hookTaken_ = false;
    if (view_ != nullptr)
        view_->Destroy();
    view_.reset();
}

void ToolCtrlr::Refresh(int reason) {
    if (view_ != nullptr)
        view_->Refresh(reason);
}

ErrorCode ToolCtrlr::ApplyPreset(int32_t index) {
    if (!PanelShown())
        return kNoErr;
    if (ErrorCode err = LoadPresetRecordWithAlert(record_, index))
        return err;
    Refresh(kRefreshPreset);
    return kNoErr;
}

void ToolCtrlr::RebuildPresetMenu() {
    std::vector<std::string> names;
    if (ListPresetNames(record_, names) != kNoErr)
        names.clear();
    RebuildPresetMenu(names);
}

void ToolCtrlr::RebuildPresetMenu(const std::vector<std::string>& names) {
    if (flyout_ == nullptr)
        return;
    int32_t count = 0;
    sPanel->CountFlyoutItems(flyout_, &count);
    for (int32_t item = count; item >= kFlyoutFirstPreset; --item)
        sPanel->RemoveFlyoutItem(flyout_, item);
    for (int32_t item = 1; item < kFlyoutFirstPreset && item <= count; ++item)
        if (item != kFlyoutAbout)
            sPanel->EnableFlyoutItem(flyout_, item, 1);
    for (const std::string& name : names)
        sPanel->AppendFlyoutItem(flyout_, name.c_str(), 0);
}

ErrorCode ToolCtrlr::OnFlyoutItem(int32_t item) {
    int preset = 0;
    if (item == kFlyoutDefaults)
        preset = -2;
    else if (item >= kFlyoutFirstPreset)
        preset = item - kFlyoutFirstPreset;
    else if (item == kFlyoutAbout) {
        ShowAboutBox();
        return kNoErr;
    } else if (item == kFlyoutEditPresets) {
        if (VERTiGON4Plugin* plugin = MainPlugin(); plugin && plugin->presetList())
            plugin->presetList()->OpenPresetDialog(this);
        return kNoErr;
    } else
        return kNoErr;
    {
        PresetOwnerScope owner(MainPlugin() ? MainPlugin()->presetList() : nullptr, this);
        if (ErrorCode err = LoadPresetRecordWithAlert(record_, preset))
            return err;
    }
    Refresh(kRefreshFlyout);
    return kNoErr;
}

void ToolCtrlr::OnPanelResize(double width, double height) {
    if (view_ == nullptr || width < minWidth_ || height < minHeight_)
        return;
    const double scale = CurrentPanelPlacement().scale > 0 ? CurrentPanelPlacement().scale : 1.0;
    view_->ResizeBy(static_cast<int>(std::lround((width - viewWidth_) * scale)),
                    static_cast<int>(std::lround((height - viewHeight_) * scale)));
    viewWidth_ = width;
    viewHeight_ = height;
}

std::unique_ptr<ToolCtrlr> CreateToolController(int16_t index, PanelHandle panel,
                                                FlyoutHandle flyout) {
    switch (index) {
    case 0:
        return std::make_unique<WarpToolCtrlr>(panel, flyout);
    case 1:
        return std::make_unique<WaveToolCtrlr>(panel, flyout);
    case 2:
        return std::make_unique<LensToolCtrlr>(panel, flyout);
    case 4:
        return std::make_unique<CraftToolCtrlr>(panel, flyout);
    case 5:
        return std::make_unique<RoughToolCtrlr>(panel, flyout);
    case 6:
        return std::make_unique<BroomToolCtrlr>(panel, flyout);
    default:
        return nullptr;
    }
}

} // namespace vtg
