#include "ui/keyboard_hook.hpp"

#include "platform/window.hpp"

namespace vtg {
namespace {

int gReferences = 0;
int gHookId = 0;
bool gSwitchedOff = false;

void Hook(platform::QueuedMessage& m) {
    if (gSwitchedOff || m.code != platform::kMsgKeyDown)
        return;
    platform::WindowId dialog = platform::OwningDialog(m.window);
    if (dialog == 0 || platform::GetClass(dialog) != platform::WindowClass::Dialog)
        return;
    if (platform::TranslateDialogMessage(dialog, m)) {
        m.code = platform::kMsgNull;
        m.wparam = 0;
        m.lparam = 0;
    }
}

} // namespace

void TakeKeyboardHook() {
    if (gReferences++ == 0)
        gHookId = platform::AddRetrievalHook(&Hook);
}

void ReleaseKeyboardHook() {
    if (gReferences == 0)
        return; // more releases than takes: nothing to remove
    if (--gReferences == 0) {
        platform::RemoveRetrievalHook(gHookId);
        gHookId = 0;
    }
}

int KeyboardHookReferences() {
    return gReferences;
}
bool KeyboardHookInstalled() {
    return gHookId != 0;
}
void SetKeyboardHooksSwitchedOff(bool off) {
    gSwitchedOff = off;
}

} // namespace vtg
