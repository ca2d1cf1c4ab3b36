#include "ui/preset_dialog.hpp"

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>

#include "core/error_alert.hpp"
#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "params/preset_library.hpp"
#include "platform/system.hpp"
#include "platform/window.hpp"
#include "ui/bitmap_button.hpp"
#include "ui/drag_list_box.hpp"
#include "ui/text_helpers.hpp"

namespace vtg {

namespace {

constexpr int kClose = 1708;
constexpr int kExport = 1709;
constexpr int kImport = 1710;
constexpr int kAdd = 1711;
constexpr int kDelete = 1712;
constexpr int kDragRows = 1713;
constexpr int kHint = 1716;
constexpr int kDragList = 1714;
constexpr int kMultiList = 1715;

constexpr int kImportList = 1059;

constexpr const char* kTitleSuffix = " プリセット";
constexpr const char* kUnownedTitle = "VERTiGON5 Presets";
constexpr std::size_t kTitleBytes = 512;

struct ImageButton {
    int id;
    int32_t image;
    int32_t disabledImage; // -1: none
    const char* tooltip;
};
constexpr ImageButton kImageButtons[] = {
    {kExport, 648, 845, "選択プリセットをエクスポート"},
    {kImport, 649, -1, "外部プリセットからインポート"},
    {kAdd, 650, -1, "新規プリセットを追加"},
    {kDelete, 651, 846, "選択プリセットを削除"},
};

// The panel's window, or 0.
platform::WindowId PanelWindow(PanelHandle panel) {
    uint32_t window = 0;
    if (panel == nullptr || sPanel == nullptr || sPanel->GetPanelWindow(panel, &window) != kNoErr)
        return 0;
    return window;
}

std::string PanelTitle(PanelHandle panel) {
    if (panel == nullptr || sPanel == nullptr)
        return "";
    std::unique_ptr<char[]> buffer(new char[kTitleBytes]());
    if (sPanel->GetPanelTitle(panel, buffer.get(), kTitleBytes) != kNoErr)
        return "";
    return buffer.get();
}

// Disables a window for a scope and gives it back its state afterwards.
class DisabledWindow {
public:
    explicit DisabledWindow(platform::WindowId window)
        : window_(window), was_(window != 0 && platform::IsEnabled(window)) {
        if (was_)
            platform::Enable(window_, false);
    }
    ~DisabledWindow() {
        if (was_ && platform::IsWindow(window_))
            platform::Enable(window_, true);
    }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;

private:
    platform::WindowId window_;
    bool was_;
};

class ImportDialog : public platform::WindowHandler {
public:
    ImportDialog(const std::vector<std::string>& names, std::vector<int>& picked)
        : names_(names), picked_(picked) {}

    bool OnMessage(platform::WindowId window, std::uint32_t code, platform::Param wparam,
                   platform::Param, platform::Param& result) override {
        if (code == platform::kMsgInitDialog) {
            dialog_ = window;
            platform::SetProcessLocale("jpn");
            platform::WindowId list = platform::GetItem(dialog_, kImportList);
            platform::ClearItems(list);
            for (const std::string& name : names_)
                platform::AddItem(list, name);
            platform::SetSelection(list, -1);
            platform::Enable(platform::GetItem(dialog_, 1), false);
            result = 1;
            return true;
        }
        if (code != platform::kMsgCommand || window != dialog_)
            return false;
        const int id = platform::LowWord(wparam);
        platform::WindowId list = platform::GetItem(dialog_, kImportList);
        if (id == kImportList && platform::HighWord(wparam) == platform::kNotifySelChange)
            platform::Enable(platform::GetItem(dialog_, 1),
                             !platform::GetSelectedIndices(list).empty());
        else if (id == 1) {
            picked_ = platform::GetSelectedIndices(list); // ascending
            platform::EndDialog(dialog_, 1);
        } else if (id == 2)
            platform::EndDialog(dialog_, 2);
        result = 0;
        return true;
    }

private:
    const std::vector<std::string>& names_;
    std::vector<int>& picked_;
    platform::WindowId dialog_ = 0;
};

} // namespace

ErrorCode RunImportDialog(const std::vector<std::string>& names, std::vector<int>& picked) {
    picked.clear();
    ImportDialog handler(names, picked);
    platform::WindowId dialog = platform::CreateDialogFromTemplate(
        PresetList::kImportTemplateId, platform::HostMainWindow(), &handler);
    if (dialog == 0)
        return kMissingFiles;
    const int result = platform::RunModal(dialog);
    platform::DetachHandler(dialog, &handler);
    platform::DestroyWindow(dialog);
    if (result != 1) {
        picked.clear();
        return kUserCancelled;
    }
    return kNoErr;
}

class PresetDialog : public platform::WindowHandler {
public:
    PresetDialog(PresetList& list, PresetOwner& owner) : list_(list), owner_(owner) {}

    int Run() {
        DisabledWindow host(platform::HostMainWindow());
        DisabledWindow panel(PanelWindow(owner_.PresetPanel()));
        dialog_ = platform::CreateDialogFromTemplate(PresetList::kTemplateId,
                                                     platform::HostMainWindow(), this);
        if (dialog_ == 0)
            return -1;
        list_.dialog_ = this;
        list_.RefreshPresetList(false, true);
        const int result = platform::RunModal(dialog_);
        list_.dialog_ = nullptr;
        for (QLWBitmapButton& b : buttons_)
            b.Detach();
        dragList_.Detach();
        platform::DetachHandler(dialog_, this);
        platform::DestroyWindow(dialog_);
        dialog_ = 0;
        return result == kClose ? 0 : -1;
    }

    // The visible list shows `names` with nothing selected.
    void LoadNames(const std::vector<std::string>& names) {
        platform::WindowId list = VisibleList();
        platform::ClearItems(list);
        for (const std::string& name : names)
            platform::AddItem(list, name);
        platform::SetSelection(list, -1);
        platform::Enable(Item(kExport), false);
        platform::Enable(Item(kDelete), false);
    }

    bool OnMessage(platform::WindowId window, std::uint32_t code, platform::Param wparam,
                   platform::Param lparam, platform::Param& result) override {
        if (window != dialog_ && dialog_ != 0)
            return false;
        switch (code) {
        case platform::kMsgInitDialog:
            dialog_ = window;
            Init();
            result = 1;
            return true;
        case platform::kMsgSize:
            OnSize(static_cast<int>(wparam), static_cast<int>(lparam));
            return false;
        case platform::kMsgCommand:
            OnCommand(platform::LowWord(wparam), platform::HighWord(wparam));
            result = 0;
            return true;
        case platform::kMsgDragListMoved:
            if (lparam != 0) {
                const auto* pair = reinterpret_cast<const int32_t*>(lparam);
                OnMoved(pair[0], pair[1]);
            }
            result = 0;
            return true;
        default:
            return false;
        }
    }

private:
    platform::WindowId Item(int id) const { return platform::GetItem(dialog_, id); }
    bool Dragging() const { return platform::IsChecked(Item(kDragRows)); }
    platform::WindowId VisibleList() const { return Item(Dragging() ? kDragList : kMultiList); }

    // The selected presets: the drag list's one item, or every selected
    // item of the multiple list.
    std::vector<int> Selected() const {
        if (!Dragging()) {
            return platform::GetSelectedIndices(Item(kMultiList));
        }
        const int s = platform::GetSelection(Item(kDragList));
        return s >= 0 ? std::vector<int>{s} : std::vector<int>{};
    }

    void Init() {
        platform::SetProcessLocale("jpn");
        const platform::Rect client = platform::GetClientRect(dialog_);
        minWidth_ = width_ = client.width();
        minHeight_ = height_ = client.height();
        for (std::size_t i = 0; i < std::size(kImageButtons); ++i) {
            const ImageButton& b = kImageButtons[i];
            if (!buttons_[i].AttachToItem(dialog_, b.id))
                continue;
            buttons_[i].SetBitmap(b.image);
            buttons_[i].SetDisabledBitmap(b.disabledImage);
            platform::SetImage(Item(b.id), b.image);
            platform::SetTooltip(Item(b.id), b.tooltip);
        }
        dragList_.AttachToItem(dialog_, kDragList);
        platform::SetChecked(Item(kDragRows), false);
        platform::Show(Item(kDragList), false);
        platform::Show(Item(kMultiList), true);
        const std::string title = PanelTitle(owner_.PresetPanel());
        platform::SetText(dialog_, title.empty() ? kUnownedTitle : title + kTitleSuffix);
    }

    // Runs one command with the dialog disabled; after success the flyout
    // and the dialog show the file's names again.
    void RunCommand(const std::function<ErrorCode()>& command) {
        ErrorCode err = kNoErr;
        {
            DisabledWindow self(dialog_);
            err = command();
        }
        if (err == kNoErr && platform::IsWindow(dialog_))
            list_.RefreshPresetList(true, true);
    }

    void OnCommand(int id, int notify) {
        void* record = owner_.PresetRecord();
        switch (id) {
        case kMultiList:
        case kDragList:
            if (notify == platform::kNotifyDoubleClick) {
                const int index = platform::GetSelection(VisibleList());
                if (index >= 0)
                    RunCommand([&] { return owner_.ApplyPreset(index); });
            } else if (notify == platform::kNotifySelChange) {
                const std::vector<int> selected = Selected();
                platform::Enable(Item(kExport), !selected.empty());
                platform::Enable(Item(kDelete), !selected.empty());
                const int index = platform::GetSelection(VisibleList());
                if (platform::IsKeyDown(platform::Modifier::Alt) && index >= 0 && !selected.empty())
                    RunCommand([&] { return UpdatePreset(record, index); });
            }
            break;
        case kDragRows:
            platform::Show(Item(kDragList), Dragging());
            platform::Show(Item(kMultiList), !Dragging());
            list_.RefreshPresetList(false, true);
            break;
        case kAdd: {
            const int count = static_cast<int>(platform::GetItems(VisibleList()).size());
            RunCommand([&] { return AddPreset(record, count); });
            break;
        }
        case kDelete: {
            const std::vector<int> selected = Selected();
            if (!selected.empty())
                RunCommand([&] { return DeletePresets(record, selected); });
            break;
        }
        case kExport: {
            const std::vector<int> selected = Selected();
            if (!selected.empty())
                RunCommand([&] { return ExportPresets(record, selected); });
            break;
        }
        case kImport:
            RunCommand([&] {
                ErrorCode pickError = kNoErr;
                ErrorCode err = ImportPresets(
                    record, [&](const std::vector<std::string>& names, std::vector<int>& picked) {
                        pickError = RunImportDialog(names, picked);
                        return pickError;
                    });
                // The import reports its own failures; a dialog that could
                // not be shown is reported here.
                if (pickError != kNoErr && pickError != kUserCancelled)
                    ShowErrorAlert(pickError);
                return err;
            });
            break;
        case kClose:
        case 2: // Escape
            platform::EndDialog(dialog_, kClose);
            break;
        default:
            break;
        }
    }

    void OnMoved(int from, int to) {
        if (from == to || from < 0 || to < 0)
            return;
        ErrorCode err = kNoErr;
        RunCommand([&] { return err = MovePreset(owner_.PresetRecord(), from, to); });
        // The list moved its item already; after a failure it shows the
        // file's order again.
        if (err != kNoErr)
            list_.RefreshPresetList(false, true);
    }

    // The lists follow the size; the controls under them move down. The
    // dialog never gets smaller than it opened.
    void OnSize(int width, int height) {
        if (resizing_ || minWidth_ == 0)
            return; // still being created, or the clamp below
        const int w = std::max(width, minWidth_), h = std::max(height, minHeight_);
        if (w != width || h != height) {
            resizing_ = true;
            platform::Rect r = platform::GetRect(dialog_);
            r.right = r.left + w;
            r.bottom = r.top + h;
            platform::SetRect(dialog_, r);
            resizing_ = false;
        }
        const int dw = w - width_, dh = h - height_;
        width_ = w;
        height_ = h;
        if (dw == 0 && dh == 0)
            return;
        for (int id : {kMultiList, kDragList}) {
            platform::Rect r = platform::GetRect(Item(id));
            r.right += dw;
            r.bottom += dh;
            platform::SetRect(Item(id), r);
        }
        for (int id : {kDragRows, kHint, kExport, kImport, kAdd, kDelete, kClose})
            MoveControlBy(Item(id), dh);
    }

    PresetList& list_;
    PresetOwner& owner_;
    platform::WindowId dialog_ = 0;
    QLWBitmapButton buttons_[std::size(kImageButtons)];
    CQLWDragListBox dragList_;
    int minWidth_ = 0, minHeight_ = 0, width_ = 0, height_ = 0;
    bool resizing_ = false;
};

void PresetList::RefreshPresetList(bool rebuildFlyout, bool rebuildDialog) {
    if (owner_ == nullptr)
        return;
    std::vector<std::string> names;
    if (ListPresetNames(owner_->PresetRecord(), names) != kNoErr) {
        ShowBrokenPresetFile();
        names.clear();
    }
    if (rebuildDialog && dialog_ != nullptr)
        dialog_->LoadNames(names);
    if (rebuildFlyout)
        owner_->RebuildPresetMenu(names);
}

int PresetList::OpenPresetDialog(PresetOwner* owner) {
    if (owner == nullptr || dialog_ != nullptr)
        return -1; // one preset dialog at a time
    PresetOwner* previous = owner_;
    owner_ = owner;
    int result = -1;
    {
        PresetDialog dialog(*this, *owner);
        result = dialog.Run();
    }
    owner_ = previous;
    return result;
}

} // namespace vtg
