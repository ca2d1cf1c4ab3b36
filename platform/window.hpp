// window.hpp - the headless window system of this platform.
//
// Windows are numbered records (class, parent and children, text, state,
// rectangle) kept by one window table per process. Behaviour is attached
// through handlers: a window's handlers see each message before the class's
// default processing. Messages are sent (handled at once) or posted (queued
// until Pump). Everything runs on one thread; nothing ever waits for a real
// user: modal loops take their input from the scripted user (input.hpp).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

using WindowId = std::uint32_t; // 0 is no window
using Param = std::intptr_t;

enum class WindowClass : int {
    TopLevel, // a frame of the host (main window, panels)
    Dialog,
    Edit,
    PushButton,
    CheckBox,
    RadioButton,
    BitmapButton,
    Static,
    ComboBox,
    ListBox,
    DragListBox,
    Trackbar,
    UpDown,
    OwnerDrawStatic,
    HtmlView,
};

// The class's name in dialog templates ("button", "edit", ...); null for none.
const char* ClassName(WindowClass cls);
std::optional<WindowClass> ClassFromName(const std::string& name);

struct Point {
    int x = 0, y = 0;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
};

// --- style bits -----------------------------------------------------------
inline constexpr std::uint32_t kStyleGroup = 1u << 0;       // starts a radio group
inline constexpr std::uint32_t kStyleDefault = 1u << 1;     // default push button
inline constexpr std::uint32_t kStyleOwnerDraw = 1u << 2;   // painted by its handler
inline constexpr std::uint32_t kStyleBorder = 1u << 3;      // thin frame
inline constexpr std::uint32_t kStyleSizing = 1u << 4;      // sizing border
inline constexpr std::uint32_t kStyleDialogFrame = 1u << 5; // dialog frame
inline constexpr std::uint32_t kStyleMultiSelect = 1u << 6; // extended list selection
inline constexpr std::uint32_t kStylePushLike = 1u << 7;    // check box drawn as a button
inline constexpr std::uint32_t kStylePlaceholder = 1u << 8; // static whose place others take
inline constexpr std::uint32_t kStyleSeparator = 1u << 9;   // separator line
inline constexpr std::uint32_t kStyleChild = 1u << 10;      // child window
inline constexpr std::uint32_t kStyleHidden = 1u << 11;     // template only: created hidden
inline constexpr std::uint32_t kStyleDisabled = 1u << 12;   // template only: created disabled

// --- messages ---------------------------------------------------------------
// wparam and lparam carry numbers or the address of a record named below.
inline constexpr std::uint32_t kMsgNull = 0;            // a blanked message
inline constexpr std::uint32_t kMsgCreate = 1;          // after creation
inline constexpr std::uint32_t kMsgDestroy = 2;         // before destruction
inline constexpr std::uint32_t kMsgSize = 3;            // w = width, l = height (new size)
inline constexpr std::uint32_t kMsgPaint = 4;           // l = DrawContext*
inline constexpr std::uint32_t kMsgSetFocus = 5;        // w = window losing focus
inline constexpr std::uint32_t kMsgKillFocus = 6;       // w = window getting focus
inline constexpr std::uint32_t kMsgEnable = 7;          // w = 1 enabled, 0 disabled
inline constexpr std::uint32_t kMsgClose = 8;           // a close request
inline constexpr std::uint32_t kMsgInitDialog = 16;     // after the dialog's controls exist
inline constexpr std::uint32_t kMsgCommand = 17;        // w = MakeParam(id, notify), l = control
inline constexpr std::uint32_t kMsgHScroll = 18;        // w = MakeParam(code, pos), l = control
inline constexpr std::uint32_t kMsgNotify = 19;         // w = control id, l = NotifyRecord*
inline constexpr std::uint32_t kMsgDrawItem = 20;       // w = control id, l = DrawItemRecord*
inline constexpr std::uint32_t kMsgPreTranslate = 21;   // l = QueuedMessage*; result 1 consumes
inline constexpr std::uint32_t kMsgKeyDown = 32;        // w = key code
inline constexpr std::uint32_t kMsgChar = 33;           // w = character
inline constexpr std::uint32_t kMsgKeyUp = 34;          // w = key code
inline constexpr std::uint32_t kMsgLButtonDown = 48;    // l = PackPoint(x, y) in the client
inline constexpr std::uint32_t kMsgMouseMove = 49;      // l = PackPoint(x, y)
inline constexpr std::uint32_t kMsgLButtonUp = 50;      // l = PackPoint(x, y)
inline constexpr std::uint32_t kMsgDoubleClick = 51;    // l = PackPoint(x, y)
inline constexpr std::uint32_t kMsgSetButtonState = 64; // w = 1 pressed, 0 released
inline constexpr std::uint32_t kMsgSlideTo = 65;        // user slide gesture to position w
inline constexpr std::uint32_t kMsgDragBegin = 66;      // drag list: w = item
inline constexpr std::uint32_t kMsgDragging = 67;       // drag list: w = item under the mouse
inline constexpr std::uint32_t kMsgDragDropped = 68;    // drag list: w = destination item
inline constexpr std::uint32_t kMsgDragCancel = 69;     // drag list
inline constexpr std::uint32_t kMsgUser = 0x0400;       // first message of the programs' own
inline constexpr std::uint32_t kMsgDragListMoved = kMsgUser + 100; // l = int32_t[2] (from, to)

// Notification codes of kMsgCommand.
inline constexpr int kNotifyClicked = 0;
inline constexpr int kNotifyEditChange = 1;
inline constexpr int kNotifyEditKillFocus = 2;
inline constexpr int kNotifySelChange = 3;
inline constexpr int kNotifyDoubleClick = 4;
// Notification codes of kMsgNotify.
inline constexpr int kNotifySpinDelta = 100;

// Scroll codes of kMsgHScroll.
inline constexpr int kScrollLineLeft = 0;
inline constexpr int kScrollLineRight = 1;
inline constexpr int kScrollPageLeft = 2;
inline constexpr int kScrollPageRight = 3;
inline constexpr int kScrollThumbPosition = 4; // thumb released at a position
inline constexpr int kScrollThumbTrack = 5;    // thumb being dragged
inline constexpr int kScrollEnd = 8;           // the scroll gesture ended

// Keys.
inline constexpr int kKeyReturn = 13;
inline constexpr int kKeyEscape = 27;

inline Param MakeParam(int low, int high) {
    return static_cast<Param>((static_cast<std::uint32_t>(high & 0xFFFF) << 16) |
                              static_cast<std::uint32_t>(low & 0xFFFF));
}
inline int LowWord(Param p) {
    return static_cast<int>(static_cast<std::uint32_t>(p) & 0xFFFF);
}
inline int HighWord(Param p) {
    return static_cast<int>(
        static_cast<std::int16_t>((static_cast<std::uint32_t>(p) >> 16) & 0xFFFF));
}
inline Param PackPoint(int x, int y) {
    return MakeParam(x, y);
}
inline Point UnpackPoint(Param p) {
    return {static_cast<std::int16_t>(LowWord(p)), static_cast<std::int16_t>(HighWord(p))};
}

struct NotifyRecord {
    WindowId from = 0;
    int id = 0;
    int code = 0;
    int position = 0;
    int delta = 0;
};

inline constexpr unsigned kItemSelected = 1; // item state: pressed
inline constexpr unsigned kItemDisabled = 2;
inline constexpr unsigned kItemFocus = 4;

class DrawContext;
struct DrawItemRecord {
    WindowId control = 0;
    int id = 0;
    unsigned state = 0; // kItem... bits
    Rect rect;          // client rectangle of the control
    DrawContext* dc = nullptr;
};

struct QueuedMessage {
    WindowId window = 0;
    std::uint32_t code = 0;
    Param wparam = 0;
    Param lparam = 0;
};

// --- handlers -----------------------------------------------------------------
// A handler sees the messages of the windows it is attached to. Returning
// true ends the message with `result`; false passes it on to the handler
// attached before it and finally to the class's default processing.
class WindowHandler {
public:
    virtual ~WindowHandler() = default;
    virtual bool OnMessage(WindowId window, std::uint32_t code, Param wparam, Param lparam,
                           Param& result) = 0;
};

void AttachHandler(WindowId window, WindowHandler* handler);
void DetachHandler(WindowId window, WindowHandler* handler);
// Passes a message on to the handlers attached before `after`, then to the
// default processing (a handler's "base behaviour").
Param CallNext(WindowId window, WindowHandler* after, std::uint32_t code, Param wparam,
               Param lparam);
Param DefaultProcessing(WindowId window, std::uint32_t code, Param wparam, Param lparam);

// --- windows ------------------------------------------------------------------
WindowId CreateWindow(WindowClass cls, WindowId parent, int controlId, const std::string& text,
                      Rect rect, std::uint32_t style = 0);
void DestroyWindow(WindowId window); // children first; kMsgDestroy to each
bool IsWindow(WindowId window);
std::size_t WindowCount();

WindowClass GetClass(WindowId window);
WindowId GetParent(WindowId window);
std::vector<WindowId> GetChildren(WindowId window);
int GetControlId(WindowId window);
// The direct child with `controlId`, or 0.
WindowId GetItem(WindowId dialog, int controlId);
// The first descendant with `controlId` (breadth first), or 0.
WindowId FindDescendant(WindowId window, int controlId);
// The nearest dialog or top-level window at or above `window`.
WindowId OwningDialog(WindowId window);

// Text (UTF-8). Setting the text by program sends no notification.
std::string GetText(WindowId window);
void SetText(WindowId window, const std::string& text);

bool IsEnabled(WindowId window);
void Enable(WindowId window, bool enable); // sends kMsgEnable
bool IsVisible(WindowId window);           // the window itself and every parent
bool IsShown(WindowId window);             // the window's own flag
void Show(WindowId window, bool show);

bool IsChecked(WindowId window);
void SetChecked(WindowId window, bool checked);
bool IsPressed(WindowId window);
void SetPressed(WindowId window, bool pressed); // the button set-state message

std::uint32_t GetStyle(WindowId window);
void SetStyle(WindowId window, std::uint32_t style);

// Rectangle in the parent's client coordinates; the client rectangle starts
// at (0, 0). A change of size sends kMsgSize.
Rect GetRect(WindowId window);
Rect GetClientRect(WindowId window);
void SetRect(WindowId window, Rect rect);
// Rectangle of `window` in the client coordinates of `ancestor`.
Rect RectIn(WindowId window, WindowId ancestor);

// Window region: an ellipse in client coordinates, or none.
void SetEllipticRegion(WindowId window, std::optional<Rect> ellipse);
std::optional<Rect> GetEllipticRegion(WindowId window);

// Focus and capture. Moving the focus sends kMsgKillFocus and kMsgSetFocus;
// an edit losing it also tells its parent (kNotifyEditKillFocus).
WindowId GetFocus();
void SetFocus(WindowId window);
WindowId GetCapture();
void SetCapture(WindowId window);
void ReleaseCapture();

// Numeric state of trackbars and spins.
struct RangeState {
    int minimum = 0, maximum = 100, position = 0, page = 10, line = 1;
};
RangeState GetRange(WindowId window);
void SetRange(WindowId window, int minimum, int maximum);
void SetPosition(WindowId window, int position); // clamped into the range
void SetPageSize(WindowId window, int page);
void SetLineSize(WindowId window, int line);
// A spin's acceleration table: one (seconds, step) pair per entry.
void SetAcceleration(WindowId window, std::vector<std::pair<int, int>> table);
std::vector<std::pair<int, int>> GetAcceleration(WindowId window);

// Items of combo boxes and list boxes.
void ClearItems(WindowId window);
int AddItem(WindowId window, const std::string& text); // returns the index
std::vector<std::string> GetItems(WindowId window);
void SetItems(WindowId window, std::vector<std::string> items);
int GetSelection(WindowId window); // -1 for none
void SetSelection(WindowId window, int index);
std::vector<int> GetSelectedIndices(WindowId window);
void SetItemSelected(WindowId window, int index, bool selected);

// Images and tooltips of buttons and statics.
void SetImage(WindowId window, int imageId); // -1 none
int GetImage(WindowId window);
void SetTooltip(WindowId window, const std::string& text);
std::string GetTooltip(WindowId window);

// --- messages ---------------------------------------------------------------
Param SendMessage(WindowId window, std::uint32_t code, Param wparam = 0, Param lparam = 0);
bool PostMessage(WindowId window, std::uint32_t code, Param wparam = 0, Param lparam = 0);
std::size_t QueuedCount();
// Retrieves and dispatches every queued message (also those posted while
// dispatching). Retrieval hooks see each message first; then the dialog
// that owns the target may translate it (kMsgPreTranslate); then it is sent.
void Pump();

// Retrieval hooks of the current thread, newest first. A hook may blank
// the message (code, wparam and lparam 0) so that it is not dispatched.
using RetrievalHook = std::function<void(QueuedMessage& message)>;
int AddRetrievalHook(RetrievalHook hook); // returns a hook id
void RemoveRetrievalHook(int hookId);
std::size_t RetrievalHookCount();
// The dialog's own translation of a message: kMsgPreTranslate to the
// dialog's handlers, then the dialog keys (Return clicks the default
// button, Escape clicks 2). Returns true when the message was consumed.
bool TranslateDialogMessage(WindowId dialog, const QueuedMessage& message);

// --- painting -------------------------------------------------------------------
// Paints the window into a new record (kMsgPaint, then the default painting
// when no handler painted) and keeps that record as the window's picture.
void Redraw(WindowId window);
const DrawContext* LastPaint(WindowId window);
// The SVG picture of the window and its visible children, each repainted.
std::string RenderSvg(WindowId window);

// --- named top-level windows and the host's main window -------------------------
void RegisterNamedWindow(const std::string& name, WindowId window);
void UnregisterNamedWindow(const std::string& name);
WindowId FindNamedWindow(const std::string& name);
// The host program's main window (created on first use).
WindowId HostMainWindow();

// --- dialogs ----------------------------------------------------------------------
// Creates a dialog from template `templateId` as a child of `parent` (or
// top-level when 0), attaches `handler` and sends kMsgInitDialog. 0 with
// `error` when the template cannot be loaded.
WindowId CreateDialogFromTemplate(int templateId, WindowId parent, WindowHandler* handler,
                                  std::string* error = nullptr);
int DialogTemplateId(WindowId dialog);
// Runs a dialog modally: input comes from the scripted user until the
// dialog ends. Returns its result; kModalInputEnded when the input ran out
// while it was open (ModalError() then tells which dialog).
inline constexpr int kModalInputEnded = -2;
int RunModal(WindowId dialog);
void EndDialog(WindowId dialog, int result);
// The innermost modal dialog that is running, or 0.
WindowId CurrentModalDialog();
std::string ModalError();
void ClearModalError();

// --- pop-up menus -------------------------------------------------------------------
// One item of a pop-up menu: a command id and its text; id 0 is a separator.
struct MenuItem {
    int id = 0;
    std::string text;
    bool enabled = true;
};
// Shows `items` for `owner` with the menu's top-left corner at `at` (screen
// coordinates) and waits for the scripted user (user::ChooseMenuItem,
// user::DismissMenu). Returns the chosen item's id; 0 when the menu was
// dismissed or the input ended. No command is sent: the caller acts on the
// result, as with a menu tracked for its return value.
int TrackPopupMenu(WindowId owner, const std::vector<MenuItem>& items, Point at);
// The open pop-up menu's items, or null when none is open.
const std::vector<MenuItem>* CurrentPopupMenu();
// Where the open pop-up menu was placed, and its owner.
Point PopupMenuPosition();
WindowId PopupMenuOwner();

// Destroys every window and clears queue, hooks, focus and names (tests).
void ResetWindowSystem();

} // namespace platform
