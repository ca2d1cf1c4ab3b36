#include "help/help_ctrlr.hpp"

#include "core/about_box.hpp"
#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "ui/keyboard_hook.hpp"

namespace vtg {

namespace {

void FlyoutChosen(PanelHandle, int32_t item, void*) {
    if (item == 6)
        ShowAboutBox();
}

void Resized(PanelHandle, double width, double height, void* data) {
    static_cast<HelpCtrlr*>(data)->OnResize(width, height);
}

} // namespace

HelpCtrlr::HelpCtrlr(PluginRef plugin, PanelHandle panel, FlyoutHandle flyout)
    : VERTiGON4PanelCtrlr(panel, flyout), plugin_(plugin) {}

HelpCtrlr::~HelpCtrlr() {
    if (PanelShown())
        ShowPanel(false);
    if (params_ != nullptr)
        sMemory->FreeBlock(params_);
    if (hookTaken_)
        ReleaseKeyboardHook();
    view_.Destroy();
    if (panel_ != nullptr) {
        sPanel->SetPanelFlyoutProc(panel_, nullptr, nullptr);
        sPanel->SetPanelResizeProc(panel_, nullptr, nullptr);
    }
}

ErrorCode HelpCtrlr::Create() {
    void* block = nullptr;
    ErrorCode err = sMemory->AllocateBlock("HelpParams", sizeof(int16_t), &block);
    if (err != kNoErr)
        return err;
    params_ = static_cast<int16_t*>(block);
    *params_ = 0;

    uint32_t window = 0;
    sPanel->GetPanelWindow(panel_, &window);
    if (view_.Create(window) == 0)
        return kMissingFiles;
    platform::Rect r = platform::GetRect(view_.window());
    minWidth_ = lastWidth_ = r.width();
    minHeight_ = lastHeight_ = r.height();
    sPanel->SetPanelTitle(panel_, "VERTiGON6: ヘルプ");
    sPanel->SetPanelFlyoutProc(panel_, &FlyoutChosen, this);
    sPanel->SetPanelSizeLimits(panel_, minWidth_, minHeight_, minWidth_, minHeight_, 5 * minWidth_,
                               4 * minHeight_);
    sPanel->SetPanelSize(panel_, minWidth_, minHeight_);
    ShowPanel(true);
    sPanel->SetPanelResizeProc(panel_, &Resized, this);
    TakeKeyboardHook();
    hookTaken_ = true;
    return kNoErr;
}

void HelpCtrlr::ShowPage(int16_t row) {
    if (row >= 0 && params_ != nullptr)
        *params_ = row;
    view_.Refresh(this->row());
}

void HelpCtrlr::OnResize(double width, double height) {
    if (width < minWidth_ || height < minHeight_)
        return;
    view_.ResizeBy(static_cast<int>(width - lastWidth_), static_cast<int>(height - lastHeight_));
    lastWidth_ = width;
    lastHeight_ = height;
}

} // namespace vtg
