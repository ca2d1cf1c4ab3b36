// The live-object panel's controller and view bases.
#include "live/pg_ctrlr.hpp"

#include <climits>
#include <string>
#include <vector>

#include "core/about_box.hpp"
#include "core/error_alert.hpp"
#include "core/error_codes.hpp"
#include "core/menus.hpp"
#include "core/suite_set.hpp"
#include "core/vertigon_plugin.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_document_suite.h"
#include "host/api/vtg_memory_suite.h"
#include "host/api/vtg_panel_suite.h"
#include "host/api/vtg_plugin_group_suite.h"
#include "live/border/border_ctrlr.hpp"
#include "live/circle/circle_ctrlr.hpp"
#include "live/cutout/cutout_ctrlr.hpp"
#include "live/emboss/emboss_ctrlr.hpp"
#include "live/explosion/explosion_ctrlr.hpp"
#include "live/frame/frame_ctrlr.hpp"
#include "live/galaxy/galaxy_ctrlr.hpp"
#include "live/generation/generation_ctrlr.hpp"
#include "live/neon/neon_ctrlr.hpp"
#include "live/path3d/path3d_ctrlr.hpp"
#include "live/reflections/reflections_ctrlr.hpp"
#include "params/live_storage.hpp"
#include "params/preset_library.hpp"
#include "platform/system.hpp"
#include "platform/window.hpp"
#include "ui/keyboard_hook.hpp"
#include "ui/text_helpers.hpp"

namespace vtg {

namespace {

constexpr int32_t kFirstPresetItem = 7;

// The host calls these outside any message: nothing may be thrown back
// into it, so a failure is reported here.
void FlyoutChosen(PanelHandle, int32_t item, void* data) {
    try {
        static_cast<PGCtrlr*>(data)->OnFlyoutItem(item);
    } catch (...) {
        DefaultReportError(CurrentExceptionCode());
    }
}

void Resized(PanelHandle, double width, double height, void* data) {
    try {
        static_cast<PGCtrlr*>(data)->OnPanelResize(width, height);
    } catch (...) {
        DefaultReportError(CurrentExceptionCode());
    }
}

// The help page rows of the kinds, in LiveObjectKind order.
constexpr int kHelpRows[kLiveObjectKindCount] = {13, 15, 16, 17, 18, 19, 20, 21,
                                                 22, 23, 24, 25, 26, 27, 28};

VERTiGON4Plugin* MainPlugin() {
    return dynamic_cast<VERTiGON4Plugin*>(GlobalPlugin());
}

} // namespace

int LiveObjectHelpRow(LiveObjectKind kind) {
    return kind >= 0 && kind < kLiveObjectKindCount ? kHelpRows[kind] : -1;
}

LiveObjectKind SelectedLiveObjectKind() {
    if (sDocument == nullptr || sArt == nullptr || sMemory == nullptr || sPluginGroup == nullptr)
        return kNoKind;
    ArtHandle* list = nullptr;
    int32_t count = 0;
    if (sDocument->GetSelectedArt(&list, &count) != kNoErr || list == nullptr)
        return kNoKind;
    LiveObjectKind found = kNoKind;
    // Entry 0 is the selection's container, not selected art.
    for (int32_t i = 1; i < count; ++i) {
        int32_t artKind = 0;
        PluginGroupHandle group = nullptr;
        if (sArt->GetArtKind(list[i], &artKind) != kNoErr || artKind != kVtgArtPlugin ||
            sPluginGroup->GetArtPluginGroup(list[i], &group) != kNoErr)
            continue;
        if (LiveObjectKind kind = KindOfGroup(group); kind != kNoKind)
            found = kind;
    }
    sMemory->FreeBlock(list);
    return found;
}

int PGViewController::HelpRow() const {
    return LiveObjectHelpRow(ctrlr_.kind());
}

void PGViewController::OnHelpButton() {
    VERTiGON4Plugin* plugin = MainPlugin();
    if (plugin == nullptr)
        return;
    if (platform::IsKeyDown(platform::Modifier::Alt)) {
        const LiveObjectKind kind = SelectedLiveObjectKind();
        if (kind != kNoKind)
            plugin->ShowLiveObjectPanel(kind, false);
        return;
    }
    plugin->helpRow = static_cast<int16_t>(HelpRow());
    plugin->ShowHelpPanel(false);
}

void PGViewController::Refresh(int) {
    platform::SetChecked(platform::GetItem(dialog_, kLiveUpdate), ctrlr_.liveUpdate);
}

void PGViewController::EnableButtons(bool expand, bool release, bool apply) {
    platform::Enable(platform::GetItem(dialog_, kExpand), expand);
    platform::Enable(platform::GetItem(dialog_, kRelease), release);
    platform::Enable(platform::GetItem(dialog_, kApply), apply);
}

void PGViewController::ResizeBy(int dw, int dh) {
    platform::Rect r = platform::GetRect(dialog_);
    r.right += dw;
    r.bottom += dh;
    platform::SetRect(dialog_, r);
    for (int id : {kLiveUpdate, kExpand, kRelease, kApply, kHelpButton})
        MoveControlBy(platform::GetItem(dialog_, id), dh);
}

bool PGViewController::OnViewMessage(std::uint32_t code, platform::Param wparam,
                                     platform::Param lparam, platform::Param& result) {
    if (code == platform::kMsgHScroll)
        lastScrollCode = platform::LowWord(wparam);
    if (code == platform::kMsgNotify && lparam != 0) {
        const auto* n = reinterpret_cast<const platform::NotifyRecord*>(lparam);
        if (n->code == platform::kNotifySpinDelta && OnKindSpin(n->id, n->delta))
            return true;
    }
    if (code != platform::kMsgCommand)
        return VERTiGON4ViewController::OnViewMessage(code, wparam, lparam, result);
    const int id = platform::LowWord(wparam), notify = platform::HighWord(wparam);
    ErrorCode err = kNoErr;
    switch (id) {
    case kLiveUpdate:
        ctrlr_.liveUpdate = platform::IsChecked(platform::GetItem(dialog_, kLiveUpdate));
        if (ctrlr_.liveUpdate)
            err = ctrlr_.UpdateSelectedLiveObjects();
        break;
    case kApply:
        err = ctrlr_.MakeLiveObjects();
        break;
    case kRelease:
        err = ctrlr_.ReleaseLiveObjects();
        break;
    case kExpand:
        err = ctrlr_.ExpandLiveObjects();
        break;
    case kHelpButton:
        result = 0;
        OnHelpButton(); // may have destroyed this view
        return true;
    default:
        if (!OnKindCommand(id, notify))
            return VERTiGON4ViewController::OnViewMessage(code, wparam, lparam, result);
        return true;
    }
    if (err == kNoErr && id != kLiveUpdate)
        err = ctrlr_.SyncPanelWithSelection(false);
    // A button's failure reaches no host message: its alert is the report.
    if (err != kNoErr) {
        try {
            ShowErrorAlert(err);
        } catch (...) {
            // The alert itself failed; there is nothing left to report with.
        }
    }
    return true;
}

int32_t LinkedPGViewController::DocumentRuler() {
    const int32_t ruler = gGlobals != nullptr ? gGlobals->rulerUnits : kRulerPoints;
    return ruler >= kRulerInches && ruler <= kRulerQ ? ruler : kRulerPoints;
}

void LinkedPGViewController::AddLink(LinkedValue::Kind kind, int edit, int spin, int slider,
                                     double low, double high, double scale, double* target) {
    LinkedValue v = Link(kind, edit, spin, slider, low, high, scale, target);
    v.ruler = linkedRuler_;
    linker_.Add(v);
    if (spin != 0) {
        // Spins carry no limit of their own: the edit's clamping is the only one.
        platform::WindowId item = platform::GetItem(dialog_, spin);
        platform::SetRange(item, INT_MIN, INT_MAX);
        platform::SetAcceleration(item, {{0, 1}});
    }
}

void LinkedPGViewController::Relink() {
    linkedRuler_ = DocumentRuler();
    linker_ = ValueLinker(dialog_);
    AddLinks();
    linker_.SetOnChange(&OnLinkedChange, this);
}

void LinkedPGViewController::OnLinkedChange(void* self) {
    auto* view = static_cast<LinkedPGViewController*>(self);
    view->OnLinkedValue();
    view->ctrlr_.ValueChanged();
}

void LinkedPGViewController::OnInitView() {
    lastScrollCode = platform::kScrollEnd;
    Relink();
}

void LinkedPGViewController::Refresh(int reason) {
    PGViewController::Refresh(reason);
    if (linkedRuler_ != DocumentRuler())
        Relink();
    linker_.ShowAll();
}

bool LinkedPGViewController::OnViewMessage(std::uint32_t code, platform::Param wparam,
                                           platform::Param lparam, platform::Param& result) {
    if (code == platform::kMsgCommand || code == platform::kMsgNotify ||
        code == platform::kMsgHScroll) {
        // A ruler change reaches the links before the next typed length.
        if (linkedRuler_ != DocumentRuler()) {
            Relink();
            linker_.ShowAll();
        }
        if (linker_.Handle(code, wparam, lparam)) {
            result = 0;
            return true;
        }
    }
    return PGViewController::OnViewMessage(code, wparam, lparam, result);
}

PGCtrlr::PGCtrlr(LiveObjectKind kind, PanelHandle panel, FlyoutHandle flyout)
    : VERTiGON4PanelCtrlr(panel, flyout), kind_(kind) {}

PGCtrlr::~PGCtrlr() {
    if (panel_ != nullptr) {
        sPanel->SetPanelFlyoutProc(panel_, nullptr, nullptr);
        sPanel->SetPanelResizeProc(panel_, nullptr, nullptr);
    }
    if (hookTaken_)
        ReleaseKeyboardHook();
    if (view_ != nullptr)
        view_->Destroy();
    view_.reset();
    if (gGlobals != nullptr && record() != nullptr)
        SaveLastSetting(record(), -1);
}

ErrorCode PGCtrlr::Create() {
    if (record() == nullptr)
        return kBadParameterErr;
    LoadLastSettingOrDefaults(record());
    view_ = MakeView();
    uint32_t window = 0;
    sPanel->GetPanelWindow(panel_, &window);
    if (view_->Create(DialogId(), window) == 0) {
        view_.reset();
        return kMissingFiles;
    }
    const platform::Rect r = platform::GetRect(view_->window());
    const std::string title = std::string("VERTiGON6: ") + kLiveObjectMenuNames[kind_];
    sPanel->SetPanelTitle(panel_, title.c_str());
    sPanel->SetPanelSizeLimits(panel_, r.width(), r.height(), r.width(), r.height(), 2 * r.width(),
                               2 * r.height());
    minWidth_ = viewWidth_ = r.width();
    minHeight_ = viewHeight_ = r.height();
    sPanel->SetPanelResizeProc(panel_, &Resized, this);
    sPanel->SetPanelSize(panel_, r.width(), r.height());
    sPanel->SetPanelFlyoutProc(panel_, &FlyoutChosen, this);
    RebuildPresetMenu();
    ShowPanel(true);
    TakeKeyboardHook();
    hookTaken_ = true;
    view_->Refresh(9);
    return kNoErr;
}

ErrorCode PGCtrlr::ApplyPreset(int32_t index) {
    if (!PanelShown())
        return kNoErr;
    ErrorCode err = LoadPresetRecordWithAlert(record(), index);
    if (err != kNoErr)
        return err; // reported; the panel keeps its values
    if (view_ != nullptr)
        view_->Refresh(4);
    if (liveUpdate)
        err = MakeLiveObjects();
    if (sDocument != nullptr)
        sDocument->Redraw();
    return err;
}

ErrorCode PGCtrlr::SyncPanelWithSelection(bool opening) {
    ErrorCode err = ScanSelection(kind_, record(), flags);
    if (view_ == nullptr)
        return err;
    if (opening || flags.liveObject)
        view_->Refresh(opening ? 9 : 8);
    view_->EnableButtons(flags.liveObject, flags.liveObject, flags.source);
    return err;
}

ErrorCode PGCtrlr::ValueChanged() {
    return liveUpdate ? UpdateSelectedLiveObjects() : kNoErr;
}

void PGCtrlr::RebuildPresetMenu() {
    if (flyout_ == nullptr)
        return;
    std::vector<std::string> names;
    if (ListPresetNames(record(), names) != kNoErr)
        names.clear();
    RebuildPresetMenu(names);
}

void PGCtrlr::RebuildPresetMenu(const std::vector<std::string>& names) {
    if (flyout_ == nullptr)
        return;
    int32_t count = 0;
    sPanel->CountFlyoutItems(flyout_, &count);
    for (int32_t item = count; item >= kFirstPresetItem; --item)
        sPanel->RemoveFlyoutItem(flyout_, item);
    // Closing a controller disabled them; the About item stays as it is.
    for (int32_t item = 1; item < kFirstPresetItem && item <= count; ++item)
        if (item != 6)
            sPanel->EnableFlyoutItem(flyout_, item, 1);
    for (const std::string& name : names)
        sPanel->AppendFlyoutItem(flyout_, name.c_str(), 0);
}

ErrorCode PGCtrlr::OnFlyoutItem(int32_t item) {
    int preset = 0;
    if (item == 1)
        preset = -2;
    else if (item >= kFirstPresetItem)
        preset = item - kFirstPresetItem;
    else if (item == 6) {
        ShowAboutBox();
        return kNoErr;
    } else if (item == 3) {
        if (VERTiGON4Plugin* plugin = MainPlugin(); plugin && plugin->presetList())
            plugin->presetList()->OpenPresetDialog(this);
        return kNoErr;
    } else
        return kNoErr; // separators
    {
        PresetOwnerScope owner(MainPlugin() ? MainPlugin()->presetList() : nullptr, this);
        if (ErrorCode err = LoadPresetRecordWithAlert(record(), preset))
            return err; // the record stays as it was
    }
    if (view_ != nullptr)
        view_->Refresh(2);
    return liveUpdate ? UpdateSelectedLiveObjects() : kNoErr;
}

void PGCtrlr::OnPanelResize(double width, double height) {
    if (view_ == nullptr || width < minWidth_ || height < minHeight_)
        return;
    view_->ResizeBy(static_cast<int>(width - viewWidth_), static_cast<int>(height - viewHeight_));
    viewWidth_ = width;
    viewHeight_ = height;
}

std::unique_ptr<PGCtrlr> CreateLiveObjectController(LiveObjectKind kind, PanelHandle panel,
                                                    FlyoutHandle flyout) {
    if (kind == kKindCircle)
        return std::make_unique<CirclePGCtrlr>(panel, flyout);
    if (kind == kKindBorder)
        return std::make_unique<BorderPGCtrlr>(panel, flyout);
    if (kind == kKindGalaxy)
        return std::make_unique<GalaxyPGCtrlr>(panel, flyout);
    if (kind == kKindExplosion)
        return std::make_unique<ExplosionPGCtrlr>(panel, flyout);
    if (kind == kKindCutout)
        return std::make_unique<CutoutPGCtrlr>(panel, flyout);
    if (kind == kKindShadow)
        return std::make_unique<ShadowPGCtrlr>(panel, flyout);
    if (kind == kKindEmboss)
        return std::make_unique<EmbossPGCtrlr>(panel, flyout);
    if (kind == kKindGeneration)
        return std::make_unique<GenerationPGCtrlr>(panel, flyout);
    if (kind == kKindReflections)
        return std::make_unique<ReflectionsPGCtrlr>(panel, flyout);
    if (kind == kKind3DPath)
        return std::make_unique<Path3DPGCtrlr>(panel, flyout);
    if (kind == kKindNeon)
        return std::make_unique<NeonPGCtrlr>(panel, flyout);
    if (kind == kKindFrame)
        return std::make_unique<FramePGCtrlr>(panel, flyout);
    return nullptr;
}

} // namespace vtg
