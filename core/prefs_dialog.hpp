// prefs_dialog.hpp - the preferences dialog of the global settings.
#pragma once

#include "platform/window.hpp"

namespace vtg {

class PrefsDialogController : public platform::WindowHandler {
public:
    static constexpr int kTemplateId = 40050;
    static constexpr int kNoSettingsText = 40043;
    static constexpr int kFlagA = 40040, kFlagB = 40041, kFlagC = 40042;
    static constexpr int kRestoreDefaults = 40048;

    // Edits `settings` (a global settings block) in place.
    explicit PrefsDialogController(void* settings) : settings_(settings) {}

    // 0 after OK, 1 after Cancel, -1 when the dialog could not run.
    int Run();

    bool OnMessage(platform::WindowId window, std::uint32_t code, platform::Param wparam,
                   platform::Param lparam, platform::Param& result) override;

private:
    void SetBoxes();
    void OnCommand(int id);

    void* settings_;
    platform::WindowId dialog_ = 0;
};

// Runs the dialog on `settings`: 0 after OK (the block holds the edited
// values), 1 after Cancel, -1 when it could not run.
int RunPreferencesDialog(void* settings);

} // namespace vtg
