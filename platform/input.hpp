// input.hpp - the scripted user. Modal loops take their input from here:
// either a source the program installs (the script runner hands out its
// next line) or a queue of actions (tests). The gestures below turn one user
// action on a control into the messages the control would produce.
#pragma once

#include <functional>
#include <string>

#include "platform/window.hpp"

namespace platform {

// Runs one piece of user input; false when the input has ended.
using InputSource = std::function<bool()>;
void SetInputSource(InputSource source); // an empty source uses the queue
void QueueUserInput(std::function<void()> action);
bool NextUserInput();
void ClearUserInput();
std::size_t QueuedUserInput();

// Idle handlers: the application's idle time, which comes when a user
// gesture below has been handled and no modal dialog runs (a gesture inside
// another one's modal dialog waits for the outer one). The program does its
// deferred work there. They survive ResetWindowSystem.
using IdleHandler = std::function<void()>;
int AddIdleHandler(IdleHandler handler); // returns a handler id
void RemoveIdleHandler(int handlerId);

// Gestures. Each returns an empty text on success, else the reason (a
// hidden or disabled control, the wrong kind of control, a bad index).
namespace user {

// Focus to the edit, its text replaced, the change notification.
std::string Type(WindowId edit, const std::string& text);
// A click: check boxes toggle, radio buttons check themselves and clear the
// others of their group, then the parent gets the command.
std::string Click(WindowId control);
// One arrow of a spin: delta +1 (up) or -1 (down) to the parent.
std::string Spin(WindowId spin, int delta);
// A slider dragged to `position` (thumb tracking, thumb released, end).
std::string Slide(WindowId slider, int position);
// Item `index` of a combo box or list box, with the selection change. In a
// list box of extended selection the item becomes the only selected one;
// with Ctrl held it is added to the selection or taken out of it.
std::string Choose(WindowId control, int index);
// A double click on item `index` of a list box: the first click chooses it
// (as Choose), the second sends the double-click notification.
std::string DoubleClickItem(WindowId list, int index);
// Drag item `from` of a drag list box onto item `to`.
std::string DragItem(WindowId list, int from, int to);
// A key: "return", "escape" or one character, "ctrl+" in front for Ctrl.
// Key down, character and key up are posted to `target` and pumped.
std::string Key(WindowId target, const std::string& key);
// The item of the open pop-up menu whose text is `item`, or whose command id
// it is when it is a number; separators and disabled items refuse.
std::string ChooseMenuItem(const std::string& item);
// Closes the open pop-up menu without a choice.
std::string DismissMenu();
// What the control shows: check box and radio "0"/"1", slider its
// position, list and combo the selected item's text, else the text.
std::string Shown(WindowId control);

} // namespace user
} // namespace platform
