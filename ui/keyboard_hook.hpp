// keyboard_hook.hpp - the keyboard hook of the panel views. The host's
// panels do not hand keystrokes to the dialogs placed in them, so while any
// panel view is up a retrieval hook offers every key-down message to the
// dialog's own translation and blanks the message when it was consumed.
#pragma once

namespace vtg {

// Every view that comes up takes one reference; the first installs the hook.
void TakeKeyboardHook();
// Every view that goes releases one; the last removes the hook.
void ReleaseKeyboardHook();
int KeyboardHookReferences();
bool KeyboardHookInstalled();
// With hooks switched off the hook passes every message on unchanged.
void SetKeyboardHooksSwitchedOff(bool off);

} // namespace vtg
