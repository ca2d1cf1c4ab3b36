#include "core/prefs_dialog.hpp"

#include "core/suite_set.hpp"
#include "params/global_params.hpp"
#include "params/preset_library.hpp"
#include "platform/system.hpp"

namespace vtg {

namespace {

constexpr const char* kRestoreQuestion = "環境設定を既定値に戻してもよろしいですか？";

int32_t* Flag(void* settings, int id) {
    auto* p = static_cast<PrefsParams*>(settings);
    switch (id) {
    case PrefsDialogController::kFlagA:
        return &p->flagA;
    case PrefsDialogController::kFlagB:
        return &p->flagB;
    case PrefsDialogController::kFlagC:
        return &p->flagC;
    default:
        return nullptr;
    }
}

} // namespace

int RunPreferencesDialog(void* settings) {
    return PrefsDialogController(settings).Run();
}

int PrefsDialogController::Run() {
    dialog_ = platform::CreateDialogFromTemplate(kTemplateId, platform::HostMainWindow(), this);
    if (dialog_ == 0)
        return -1;
    int result = platform::RunModal(dialog_);
    platform::DetachHandler(dialog_, this);
    platform::DestroyWindow(dialog_);
    dialog_ = 0;
    if (result == 1)
        return 0;
    if (result == 2)
        return 1;
    return -1;
}

void PrefsDialogController::SetBoxes() {
    for (int id : {kFlagA, kFlagB, kFlagC})
        platform::SetChecked(platform::GetItem(dialog_, id), *Flag(settings_, id) != 0);
}

void PrefsDialogController::OnCommand(int id) {
    if (int32_t* flag = Flag(settings_, id)) {
        *flag = platform::IsChecked(platform::GetItem(dialog_, id)) ? 1 : 0;
        return;
    }
    switch (id) {
    case kRestoreDefaults: {
        int32_t yes = 0;
        if (sUser->YesNoAlert(kRestoreQuestion, &yes) == kNoErr && yes != 0 &&
            LoadPresetRecordWithAlert(settings_, -2) == kNoErr)
            SetBoxes();
        break;
    }
    case 1:
    case 2:
        platform::EndDialog(dialog_, id);
        break;
    default:
        break;
    }
}

bool PrefsDialogController::OnMessage(platform::WindowId window, std::uint32_t code,
                                      platform::Param wparam, platform::Param,
                                      platform::Param& result) {
    if (window != dialog_ && dialog_ != 0)
        return false;
    if (code == platform::kMsgInitDialog) {
        dialog_ = window;
        platform::SetProcessLocale("jpn");
        SetBoxes();
        for (int id : {kFlagA, kFlagB, kFlagC})
            platform::Show(platform::GetItem(dialog_, id), false);
        result = 1;
        return true;
    }
    if (code == platform::kMsgCommand) {
        OnCommand(platform::LowWord(wparam));
        result = 0;
        return true;
    }
    return false;
}

} // namespace vtg
