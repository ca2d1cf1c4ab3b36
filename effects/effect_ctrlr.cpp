#include "effects/effect_ctrlr.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/error_codes.hpp"
#include "core/plugin.hpp"
#include "core/suite_set.hpp"
#include "core/vertigon_plugin.hpp"
#include "geometry/path_model.hpp"
#include "help/help_pages.hpp"
#include "params/preset_library.hpp"
#include "platform/resources.hpp"
#include "platform/system.hpp"

namespace vtg {
namespace {

constexpr const char* kSelectionQuestion =
    "選択オブジェクトが同一グループまたは複合パスではありませんがよろしいですか。";
constexpr const char* kHideEdges = "境界線を隠す";
constexpr const char* kShowEdges = "境界線を表示";
constexpr const char* kLiveNote =
    "* [OK] ボタンと同時に alt キープレスで結果に「アピアランスを分割」を適用します。";

bool gEffectDialogOpen = false;

int32_t& IntAt(void* block, std::size_t offset) {
    return *reinterpret_cast<int32_t*>(static_cast<unsigned char*>(block) + offset);
}
double& RealAt(void* block, std::size_t offset) {
    return *reinterpret_cast<double*>(static_cast<unsigned char*>(block) + offset);
}
int32_t IntAt(const void* block, std::size_t offset) {
    return *reinterpret_cast<const int32_t*>(static_cast<const unsigned char*>(block) + offset);
}
double RealAt(const void* block, std::size_t offset) {
    return *reinterpret_cast<const double*>(static_cast<const unsigned char*>(block) + offset);
}

ViewHandle FrontView() {
    ViewHandle view = nullptr;
    if (sDocument == nullptr || sDocument->GetFrontView(&view) != kNoErr)
        return nullptr;
    return view;
}

} // namespace

// --- dictionaries -----------------------------------------------------------------

bool HasKey(DictionaryHandle d, const char* key) {
    int32_t type = kVtgEntryNone;
    return d != nullptr && sDictionary->GetEntryType(d, key, &type) == kNoErr &&
           type != kVtgEntryNone;
}

void ReadEffectDictionary(DictionaryHandle d, std::span<const EffectKey> keys, void* block) {
    for (const EffectKey& k : keys) {
        switch (k.type) {
        case EffectKey::Type::Integer: {
            int32_t v = 0;
            if (sDictionary->GetInteger(d, k.key, &v) == kNoErr)
                IntAt(block, k.offset) = v;
            break;
        }
        case EffectKey::Type::Boolean: {
            int32_t v = 0;
            if (sDictionary->GetBoolean(d, k.key, &v) == kNoErr)
                IntAt(block, k.offset) = v != 0 ? 1 : 0;
            break;
        }
        case EffectKey::Type::Real: {
            double v = 0;
            // A foreign value that is not a number keeps the field.
            if (sDictionary->GetReal(d, k.key, &v) == kNoErr && std::isfinite(v))
                RealAt(block, k.offset) = v;
            break;
        }
        }
    }
}

ErrorCode WriteEffectDictionary(DictionaryHandle d, std::span<const EffectKey> keys,
                                const void* block) {
    for (const EffectKey& k : keys) {
        ErrorCode err = kNoErr;
        switch (k.type) {
        case EffectKey::Type::Integer:
            err = sDictionary->SetInteger(d, k.key, IntAt(block, k.offset));
            break;
        case EffectKey::Type::Boolean:
            err = sDictionary->SetBoolean(d, k.key, IntAt(block, k.offset));
            break;
        case EffectKey::Type::Real:
            err = sDictionary->SetReal(d, k.key, RealAt(block, k.offset));
            break;
        }
        if (err != kNoErr)
            return err;
    }
    return kNoErr;
}

void BlendEffectRecords(std::span<const EffectKey> keys, std::size_t size, const void* start,
                        bool hasStart, const void* end, bool hasEnd, bool compareFirst, double p,
                        void* out) {
    std::vector<unsigned char> s(size), e(size);
    auto neutral = [&](std::vector<unsigned char>& to, const void* from) {
        std::memcpy(to.data(), from, size);
        for (const EffectKey& k : keys)
            if (k.neutralised)
                RealAt(to.data(), k.offset) = k.neutral;
    };
    if (hasStart)
        std::memcpy(s.data(), start, size);
    if (hasEnd)
        std::memcpy(e.data(), end, size);
    if (!hasStart)
        neutral(s, e.data());
    if (!hasEnd)
        neutral(e, s.data());
    else if (hasStart && compareFirst && !keys.empty() &&
             IntAt(s.data(), keys[0].offset) != IntAt(e.data(), keys[0].offset))
        neutral(e, s.data());
    std::memcpy(out, s.data(), size);
    for (const EffectKey& k : keys) {
        switch (k.blend) {
        case EffectKey::Blend::Choice:
            break; // from the start set (or its stand-in)
        case EffectKey::Blend::Either:
            IntAt(out, k.offset) =
                (IntAt(s.data(), k.offset) != 0 || IntAt(e.data(), k.offset) != 0) ? 1 : 0;
            break;
        case EffectKey::Blend::Mix:
            RealAt(out, k.offset) =
                (1 - p) * RealAt(e.data(), k.offset) + p * RealAt(s.data(), k.offset);
            break;
        }
    }
}

// --- the controller ---------------------------------------------------------------

EffectCtrlr::EffectCtrlr(const EffectInfo& info, void* params)
    : info_(info), presetTarget_(params), params_(params), saved_(info.type->blockSize) {}

// The block lives in the globals; shut-down stores it as "Last Setting".
EffectCtrlr::~EffectCtrlr() = default;

bool EffectCtrlr::DialogOpen() {
    return gEffectDialogOpen;
}

void EffectCtrlr::RebuildPresetMenu(const std::vector<std::string>& names) {
    if (dialog_ != nullptr)
        dialog_->SetPresetNames(names);
}

ErrorCode EffectCtrlr::ApplyPreset(int index) {
    ErrorCode err = LoadPresetRecordWithAlert(presetTarget_, index);
    if (err != kNoErr)
        return err;
    if (dialog_ != nullptr)
        dialog_->Refresh();
    if (preview_)
        return UpdatePreview();
    return kNoErr;
}

int EffectCtrlr::RunDialog() {
    location_ = {-1000, -1000};
    VtgPoint stored{-1000, -1000};
    if (sPreferences != nullptr &&
        sPreferences->GetPoint(info_.prefsPrefix, "Location", &stored) == kNoErr)
        location_ = {static_cast<int>(stored.x), static_cast<int>(stored.y)};
    std::unique_ptr<EffectDialogController> dialog = MakeDialog();
    dialog_ = dialog.get();
    gEffectDialogOpen = true;
    dialogResult_ = dialog->Run();
    const VtgPoint where{static_cast<double>(location_.x), static_cast<double>(location_.y)};
    if (sPreferences != nullptr)
        sPreferences->PutPoint(info_.prefsPrefix, "Location", &where);
    dialog.reset();
    dialog_ = nullptr;
    gEffectDialogOpen = false;
    return dialogResult_;
}

ErrorCode EffectCtrlr::UpdatePreview() {
    if (!liveEdit_ || editMessage_ == nullptr)
        return kNoErr;
    if (ViewHandle view = FrontView()) {
        int32_t style = 0;
        if (sDocument->GetViewStyle(view, &style) == kNoErr && (style & kVtgViewOutline) != 0)
            sDocument->SetViewStyle(view, (style & ~kVtgViewOutline) | kVtgViewPreview);
    }
    ErrorCode err = WriteEffectDictionary(editMessage_->parameters, info_.keys, editing_);
    if (err == kNoErr)
        err = sLiveEffectEdit->UpdateParameters(editMessage_->preview, editMessage_->parameters);
    sDocument->Redraw();
    return err;
}

bool EffectCtrlr::SelectionAccepted() {
    ArtHandle* list = nullptr;
    int32_t count = 0;
    if (sDocument->GetSelectedArt(&list, &count) != kNoErr)
        return true;
    bool ask = false;
    if (count >= 3) {
        int children = 0;
        for (int32_t i = 1; i < count && !ask; ++i) {
            ArtHandle parent = nullptr;
            if (sArt->GetArtParent(list[i], &parent) != kNoErr)
                break;
            if (parent == list[0] && ++children >= 2)
                ask = true;
        }
    }
    if (list != nullptr)
        sMemory->FreeBlock(list);
    if (!ask)
        return true;
    int32_t yes = 1;
    if (sUser->YesNoAlert(kSelectionQuestion, &yes) != kNoErr)
        return true;
    return yes != 0;
}

ErrorCode EffectCtrlr::EditParameters(LiveEffectEditMessage* m) {
    if (m == nullptr)
        return kBadParameterErr;
    if (m->isNewInstance != 0 && !SelectionAccepted())
        return kUserStopped;
    if (HasKey(m->parameters, info_.keys[0].key))
        ReadEffectDictionary(m->parameters, info_.keys, params_);
    std::memcpy(saved_.data(), params_, saved_.size());
    editMessage_ = m;
    editing_ = params_;
    liveEdit_ = true;
    BeforeEdit();
    const int result = RunDialog();
    AfterDialog();
    if (result != 0) {
        sUndo->RevertPending();
        std::memcpy(params_, saved_.data(), saved_.size());
        return kUserStopped;
    }
    ErrorCode err = WriteEffectDictionary(m->parameters, info_.keys, params_);
    if (err == kNoErr)
        err = sLiveEffectEdit->UpdateParameters(m->preview, m->parameters);
    return err;
}

ErrorCode EffectCtrlr::GoLive(LiveEffectGoMessage* m) {
    if (m == nullptr || !HasKey(m->parameters, info_.keys[0].key))
        return kNoErr;
    std::vector<unsigned char> record(info_.type->blockSize);
    std::memcpy(record.data(), params_, record.size());
    ReadEffectDictionary(m->parameters, info_.keys, record.data());
    // One work buffer for every path of the art, instead of one per path.
    PathSegment* work = nullptr;
    const bool own = gEffectSegments == nullptr;
    if (own) {
        ErrorCode err = AllocateSegmentArray(kSegmentBufferCapacity, kEffectSegmentsName, &work);
        if (err != kNoErr)
            return err;
        gEffectSegments = work;
    }
    ErrorCode err = Apply(record.data(), m->art);
    if (own) {
        gEffectSegments = nullptr;
        FreeBlock(work);
    }
    return err;
}

ErrorCode EffectCtrlr::InterpolateParameters(LiveEffectInterpolateMessage* m) {
    if (m == nullptr)
        return kNoErr;
    const std::size_t size = info_.type->blockSize;
    std::vector<unsigned char> s(size), e(size), out(size);
    std::memcpy(s.data(), params_, size);
    std::memcpy(e.data(), params_, size);
    const bool hasS = HasKey(m->start, info_.keys[0].key);
    const bool hasE = HasKey(m->end, info_.keys[0].key);
    if (!hasS && !hasE)
        return kNoErr;
    if (hasS)
        ReadEffectDictionary(m->start, info_.keys, s.data());
    if (hasE)
        ReadEffectDictionary(m->end, info_.keys, e.data());
    BlendEffectRecords(info_.keys, size, s.data(), hasS, e.data(), hasE, info_.compareFirstChoice,
                       m->fraction, out.data());
    return WriteEffectDictionary(m->output, info_.keys, out.data());
}

// --- the dialog base ----------------------------------------------------------------

EffectDialogController::EffectDialogController(EffectCtrlr& owner, int templateId)
    : owner_(owner), templateId_(templateId) {}

EffectDialogController::~EffectDialogController() {
    help_.Destroy();
    if (dialog_ != 0 && platform::IsWindow(dialog_)) {
        platform::DetachHandler(dialog_, this);
        platform::DestroyWindow(dialog_);
    }
}

int EffectDialogController::Run() {
    dialog_ = platform::CreateDialogFromTemplate(templateId_, platform::HostMainWindow(), this);
    if (dialog_ == 0)
        return 255;
    const int result = platform::RunModal(dialog_);
    help_.Destroy();
    platform::DetachHandler(dialog_, this);
    platform::DestroyWindow(dialog_);
    dialog_ = 0;
    if (result == 1)
        return 0;
    if (result == 2)
        return 1;
    return 255;
}

bool EffectDialogController::helpShown() const {
    return dialog_ != 0 && platform::GetRect(dialog_).width() >= fullWidth_;
}

void EffectDialogController::SetSlider(int id, int minimum, int maximum, int page) {
    platform::WindowId s = item(id);
    platform::SetRange(s, minimum, maximum);
    platform::SetPageSize(s, page);
}

void EffectDialogController::AddChoice(int firstId, int count, int32_t* field, bool pictures) {
    choices_.push_back({firstId, count, field, pictures});
}

void EffectDialogController::AddCheck(int id, int32_t* field) {
    checks_.push_back({id, field});
}

void EffectDialogController::Refresh() {
    for (const Choice& c : choices_)
        for (int i = 0; i < c.count; ++i) {
            if (c.pictures)
                platform::SetPressed(item(c.first + i), *c.field == i);
            else
                platform::SetChecked(item(c.first + i), *c.field == i);
        }
    for (const Check& c : checks_)
        platform::SetChecked(item(c.id), *c.field != 0);
    linker_.ShowAll();
}

bool EffectDialogController::HandleBound(int id) {
    for (const Choice& c : choices_)
        if (id >= c.first && id < c.first + c.count) {
            *c.field = id - c.first;
            for (int i = 0; i < c.count; ++i) {
                if (c.pictures)
                    platform::SetPressed(item(c.first + i), *c.field == i);
                else
                    platform::SetChecked(item(c.first + i), *c.field == i);
            }
            ChoiceChanged(c.first);
            Changed();
            return true;
        }
    for (const Check& c : checks_)
        if (id == c.id) {
            *c.field = platform::IsChecked(item(id)) ? 1 : 0;
            ChoiceChanged(id);
            Changed();
            return true;
        }
    return false;
}

void EffectDialogController::OnLinkedChange(void* self) {
    static_cast<EffectDialogController*>(self)->Changed();
}

void EffectDialogController::Changed() {
    if (owner_.preview())
        owner_.UpdatePreview();
}

void EffectDialogController::ShowEdgeLabel() {
    platform::SetText(item(kEdges), edges_ ? kHideEdges : kShowEdges);
}

void EffectDialogController::InitCommon() {
    platform::SetProcessLocale("jpn");
    // Placement: the stored position unless it lies off the screen.
    const platform::Rect screen = platform::GetRect(platform::HostMainWindow());
    platform::Rect r = platform::GetRect(dialog_);
    const int w = r.width(), h = r.height();
    height_ = h;
    const platform::Point at = owner_.location();
    if (at.x < 0 || at.x > screen.width() - w || at.y < 0 || at.y > screen.height())
        r = {(screen.width() - w) / 2, (screen.height() - h) / 2, 0, 0};
    else
        r = {at.x, at.y, 0, 0};
    r.right = r.left + w;
    r.bottom = r.top + h;
    platform::SetRect(dialog_, r);
    // The help pane starts hidden: the window ends at the separator.
    fullWidth_ = w;
    collapsedWidth_ = platform::GetRect(item(kSeparator)).left + 2;
    if (item(kSeparator) == 0)
        collapsedWidth_ = w;
    r.right = r.left + collapsedWidth_;
    platform::SetRect(dialog_, r);
    platform::SetStyle(dialog_, (platform::GetStyle(dialog_) & ~platform::kStyleSizing) |
                                    platform::kStyleDialogFrame);
    platform::SetChecked(item(kPreview), true);
    owner_.setPreview(true);
    platform::SetImage(item(kPresetButton), 821);
    AttachPictures();
    std::vector<std::string> names;
    if (ListPresetNames(owner_.params(), names) == kNoErr)
        owner_.RebuildPresetMenu(names);
    if (ViewHandle view = FrontView();
        view != nullptr && sDocument->GetEdgeDisplay(view, &edgesAtOpen_) == kNoErr)
        edges_ = edgesAtOpen_ != 0;
    ShowEdgeLabel();
    platform::SetText(item(1), owner_.liveEdit() ? "OK *" : "OK");
    platform::SetText(item(kNote), owner_.liveEdit() ? kLiveNote : "");
    const platform::Rect place = platform::GetRect(item(kPlaceholder));
    if (help_.Create(dialog_) != 0) {
        platform::SetRect(help_.window(), place);
        platform::Show(help_.window(), true);
    }
    platform::Show(item(kPlaceholder), false);
}

void EffectDialogController::AttachPictures() {
    pictures_.clear();
    for (platform::WindowId control : platform::GetChildren(dialog_)) {
        if (platform::GetClass(control) != platform::WindowClass::BitmapButton)
            continue;
        auto button = std::make_unique<QLWBitmapButton>();
        if (!button->Attach(control))
            continue;
        button->SetBitmap(platform::GetImage(control));
        pictures_.push_back(std::move(button));
    }
}

std::vector<platform::MenuItem> EffectDialogController::PresetMenu() const {
    // Menu 822, sub-menu 0, with the preset names inserted.
    std::vector<platform::MenuItem> menu = {
        {kMenuDefault, "初期設定"}, {0, ""}, {kMenuEditPresets, "プリセットを編集..."}, {0, ""}};
    for (std::size_t i = 0; i < presetNames_.size(); ++i)
        menu.push_back({kMenuFirstPreset + static_cast<int>(i), presetNames_[i]});
    if (!presetNames_.empty())
        menu.push_back({0, ""});
    menu.push_back({kMenuAbout, "このプラグインについて..."});
    return menu;
}

int EffectDialogController::TrackPresetMenu() {
    // The menu's top-left corner at the button's.
    const platform::Rect button = platform::RectIn(item(kPresetButton), dialog_);
    const platform::Rect frame = platform::GetRect(dialog_);
    const std::vector<platform::MenuItem> menu = PresetMenu();
    return platform::TrackPopupMenu(dialog_, menu,
                                    {frame.left + button.left, frame.top + button.top});
}

void EffectDialogController::ToggleHelp() {
    platform::Rect r = platform::GetRect(dialog_);
    const bool show = r.width() < fullWidth_;
    if (show) {
        const std::string folder = HelpFolder();
        if (!folder.empty() && help_.window() != 0)
            help_.htmlView().Navigate(folder + "/" + owner_.HelpPage() + ".html");
        r.right = r.left + fullWidth_;
        platform::SetStyle(dialog_, (platform::GetStyle(dialog_) & ~platform::kStyleDialogFrame) |
                                        platform::kStyleSizing);
    } else {
        r.right = r.left + collapsedWidth_;
        r.bottom = r.top + height_;
        platform::SetStyle(dialog_, (platform::GetStyle(dialog_) & ~platform::kStyleSizing) |
                                        platform::kStyleDialogFrame);
    }
    platform::SetRect(dialog_, r);
    platform::SetChecked(item(kHelp), show);
}

void EffectDialogController::End(int id) {
    const platform::Rect r = platform::GetRect(dialog_);
    owner_.setLocation({r.left, r.top});
    if (ViewHandle view = FrontView()) {
        sDocument->SetEdgeDisplay(view, edgesAtOpen_);
        sDocument->Redraw();
    }
    int result = id;
    if (id == 1 && owner_.previewResult() != 0)
        result = 2;
    platform::EndDialog(dialog_, result);
}

bool EffectDialogController::OnMessage(platform::WindowId window, std::uint32_t code,
                                       platform::Param wparam, platform::Param lparam,
                                       platform::Param& result) {
    if (dialog_ != 0 && window != dialog_)
        return false;
    if (code == platform::kMsgInitDialog) {
        dialog_ = window;
        linker_.SetDialog(dialog_);
        linker_.SetOnChange(&OnLinkedChange, this);
        InitCommon();
        platform::SetText(dialog_, std::string("VERTiGON6: ") + owner_.DialogName());
        InitControls();
        Refresh();
        // The first preview, with the controls showing the block.
        if (owner_.preview())
            owner_.UpdatePreview();
        platform::Enable(item(1), true);
        result = 1;
        return true;
    }
    if (code == platform::kMsgCommand) {
        const int id = platform::LowWord(wparam), notify = platform::HighWord(wparam);
        result = 0;
        switch (id) {
        case 1:
        case 2:
            End(id);
            return true;
        case kPreview:
            owner_.setPreview(platform::IsChecked(item(kPreview)));
            if (owner_.preview())
                owner_.UpdatePreview();
            return true;
        case kEdges:
            edges_ = !edges_;
            if (ViewHandle view = FrontView()) {
                sDocument->SetEdgeDisplay(view, edges_ ? 1 : 0);
                sDocument->Redraw();
            }
            ShowEdgeLabel();
            return true;
        case kReset:
        case kMenuDefault:
            owner_.ApplyPreset(-2);
            return true;
        case kHelp:
            ToggleHelp();
            return true;
        case kPresetButton:
            if (notify == platform::kNotifyClicked) {
                // The chosen item arrives as that item's command.
                if (const int chosen = TrackPresetMenu(); chosen != 0)
                    return OnMessage(window, platform::kMsgCommand, platform::MakeParam(chosen, 0),
                                     0, result);
            }
            return true;
        case kMenuEditPresets:
            // The preset dialog on the effect's presets, then the menu's
            // names again.
            if (auto* plugin = dynamic_cast<VERTiGON4Plugin*>(GlobalPlugin());
                plugin != nullptr && plugin->presetList() != nullptr) {
                plugin->presetList()->OpenPresetDialog(&owner_);
                std::vector<std::string> names;
                if (ListPresetNames(owner_.params(), names) == kNoErr)
                    owner_.RebuildPresetMenu(names);
            }
            return true;
        case kMenuAbout:
            sUser->ErrorAlert("VERTiGON6");
            return true;
        default:
            break;
        }
        if (id >= kMenuFirstPreset &&
            id < kMenuFirstPreset + static_cast<int>(presetNames_.size())) {
            owner_.ApplyPreset(id - kMenuFirstPreset);
            return true;
        }
        if (linker_.Handle(code, wparam, lparam))
            return true;
        if (notify == platform::kNotifyClicked && HandleBound(id))
            return true;
        return OnCommand(id, notify);
    }
    if (code == platform::kMsgNotify || code == platform::kMsgHScroll)
        return linker_.Handle(code, wparam, lparam);
    return false;
}

} // namespace vtg
