#include "platform/input.hpp"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <utility>
#include <vector>

#include "platform/system.hpp"

namespace platform {
namespace {

InputSource& source() {
    static InputSource s;
    return s;
}

std::deque<std::function<void()>>& queue() {
    static std::deque<std::function<void()>> q;
    return q;
}

std::string Usable(WindowId control) {
    if (!IsWindow(control))
        return "no such control";
    std::string name = "control " + std::to_string(GetControlId(control));
    if (!IsVisible(control))
        return name + " is hidden";
    if (!IsEnabled(control))
        return name + " is disabled";
    return "";
}

bool Is(WindowId w, std::initializer_list<WindowClass> classes) {
    for (WindowClass c : classes)
        if (GetClass(w) == c)
            return true;
    return false;
}

std::string Kind(WindowId w) {
    return "control " + std::to_string(GetControlId(w)) + " is a " + ClassName(GetClass(w));
}

struct IdleState {
    int nextId = 1;
    std::vector<std::pair<int, IdleHandler>> handlers;
    int gestureDepth = 0;
};

IdleState& Idle() {
    static IdleState state;
    return state;
}

// One user gesture: when the outermost one ends outside any modal dialog,
// the idle handlers run.
class Gesture {
public:
    Gesture() { ++Idle().gestureDepth; }
    ~Gesture() {
        if (--Idle().gestureDepth != 0 || CurrentModalDialog() != 0)
            return;
        // A copy: a handler may add or remove handlers.
        auto handlers = Idle().handlers;
        for (auto& [id, handler] : handlers)
            handler();
    }
    Gesture(const Gesture&) = delete;
    Gesture& operator=(const Gesture&) = delete;
};

} // namespace

int AddIdleHandler(IdleHandler handler) {
    const int id = Idle().nextId++;
    Idle().handlers.emplace_back(id, std::move(handler));
    return id;
}

void RemoveIdleHandler(int handlerId) {
    std::erase_if(Idle().handlers, [handlerId](const auto& h) { return h.first == handlerId; });
}

void SetInputSource(InputSource s) {
    source() = std::move(s);
}
void QueueUserInput(std::function<void()> action) {
    queue().push_back(std::move(action));
}

bool NextUserInput() {
    if (source())
        return source()();
    if (queue().empty())
        return false;
    auto action = std::move(queue().front());
    queue().pop_front();
    action();
    return true;
}

void ClearUserInput() {
    queue().clear();
    source() = nullptr;
}

std::size_t QueuedUserInput() {
    return queue().size();
}

namespace detail {
bool EndPopupMenu(int chosen); // window.cpp
} // namespace detail

namespace user {

std::string Type(WindowId edit, const std::string& text) {
    Gesture gesture;
    if (auto r = Usable(edit); !r.empty())
        return r;
    if (!Is(edit, {WindowClass::Edit}))
        return Kind(edit) + ", not an edit";
    SetFocus(edit);
    SetText(edit, text);
    SendMessage(GetParent(edit), kMsgCommand, MakeParam(GetControlId(edit), kNotifyEditChange),
                static_cast<Param>(edit));
    Pump();
    return "";
}

std::string Click(WindowId control) {
    Gesture gesture;
    if (auto r = Usable(control); !r.empty())
        return r;
    if (!Is(control, {WindowClass::PushButton, WindowClass::CheckBox, WindowClass::RadioButton,
                      WindowClass::BitmapButton}))
        return Kind(control) + ", not a button";
    // Pressing takes the focus first, so an edit validates before the click.
    SetFocus(control);
    if (!IsWindow(control))
        return "";
    if (GetClass(control) == WindowClass::CheckBox)
        SetChecked(control, !IsChecked(control));
    if (GetClass(control) == WindowClass::RadioButton) {
        // The group runs from the last radio with the group style up to the next.
        auto siblings = GetChildren(GetParent(control));
        std::size_t at = 0;
        while (siblings[at] != control)
            ++at;
        std::size_t first = at;
        while (first > 0 && !(GetStyle(siblings[first]) & kStyleGroup) &&
               GetClass(siblings[first - 1]) == WindowClass::RadioButton)
            --first;
        for (std::size_t i = first; i < siblings.size(); ++i) {
            if (i > first && (GetClass(siblings[i]) != WindowClass::RadioButton ||
                              (GetStyle(siblings[i]) & kStyleGroup)))
                break;
            SetChecked(siblings[i], siblings[i] == control);
        }
    }
    if (GetClass(control) == WindowClass::PushButton && (GetStyle(control) & kStylePushLike))
        SetChecked(control, !IsChecked(control));
    SendMessage(GetParent(control), kMsgCommand, MakeParam(GetControlId(control), kNotifyClicked),
                static_cast<Param>(control));
    Pump();
    return "";
}

std::string Spin(WindowId spin, int delta) {
    Gesture gesture;
    if (auto r = Usable(spin); !r.empty())
        return r;
    if (!Is(spin, {WindowClass::UpDown}))
        return Kind(spin) + ", not a spin";
    NotifyRecord n;
    n.from = spin;
    n.id = GetControlId(spin);
    n.code = kNotifySpinDelta;
    n.position = GetRange(spin).position;
    n.delta = delta;
    SendMessage(GetParent(spin), kMsgNotify, n.id, reinterpret_cast<Param>(&n));
    Pump();
    return "";
}

std::string Slide(WindowId slider, int position) {
    Gesture gesture;
    if (auto r = Usable(slider); !r.empty())
        return r;
    if (!Is(slider, {WindowClass::Trackbar}))
        return Kind(slider) + ", not a slider";
    SendMessage(slider, kMsgSlideTo, position);
    Pump();
    return "";
}

std::string Choose(WindowId control, int index) {
    Gesture gesture;
    if (auto r = Usable(control); !r.empty())
        return r;
    if (!Is(control, {WindowClass::ComboBox, WindowClass::ListBox, WindowClass::DragListBox}))
        return Kind(control) + ", not a list";
    int n = static_cast<int>(GetItems(control).size());
    if (index < 0 || index >= n)
        return "control " + std::to_string(GetControlId(control)) + " has no item " +
               std::to_string(index) + " (" + std::to_string(n) + " items)";
    if (GetStyle(control) & kStyleMultiSelect) {
        if (IsKeyDown(Modifier::Ctrl)) {
            const auto selected = GetSelectedIndices(control);
            const bool was = std::find(selected.begin(), selected.end(), index) != selected.end();
            SetItemSelected(control, index, !was);
        } else {
            for (int i = 0; i < n; ++i)
                SetItemSelected(control, i, i == index);
        }
    }
    SetSelection(control, index);
    SendMessage(GetParent(control), kMsgCommand, MakeParam(GetControlId(control), kNotifySelChange),
                static_cast<Param>(control));
    Pump();
    return "";
}

std::string DoubleClickItem(WindowId list, int index) {
    Gesture gesture;
    if (auto r = Usable(list); !r.empty())
        return r;
    if (!Is(list, {WindowClass::ListBox, WindowClass::DragListBox}))
        return Kind(list) + ", not a list box";
    if (auto r = Choose(list, index); !r.empty())
        return r;
    // The first click may have closed or changed the list.
    if (!IsWindow(list) || GetSelection(list) != index)
        return "";
    SendMessage(GetParent(list), kMsgCommand, MakeParam(GetControlId(list), kNotifyDoubleClick),
                static_cast<Param>(list));
    Pump();
    return "";
}

std::string DragItem(WindowId list, int from, int to) {
    Gesture gesture;
    if (auto r = Usable(list); !r.empty())
        return r;
    if (!Is(list, {WindowClass::DragListBox}))
        return Kind(list) + ", not a drag list";
    int n = static_cast<int>(GetItems(list).size());
    if (from < 0 || from >= n || to < 0 || to >= n)
        return "item out of range";
    SetSelection(list, from);
    if (SendMessage(list, kMsgDragBegin, from) == 0)
        return "";
    SendMessage(list, kMsgDragging, to);
    SendMessage(list, kMsgDragDropped, to);
    Pump();
    return "";
}

std::string Key(WindowId target, const std::string& key) {
    Gesture gesture;
    if (!IsWindow(target))
        return "no window to send the key to";
    std::string k = key;
    bool ctrl = false;
    if (k.rfind("ctrl+", 0) == 0) {
        ctrl = true;
        k = k.substr(5);
    }
    int code = 0;
    if (k == "return")
        code = kKeyReturn;
    else if (k == "escape")
        code = kKeyEscape;
    else if (k.size() == 1)
        code = static_cast<unsigned char>(k[0]);
    else
        return "unknown key \"" + key + "\"";
    bool wasCtrl = IsKeyDown(Modifier::Ctrl);
    if (ctrl)
        SetKeyDown(Modifier::Ctrl, true);
    PostMessage(target, kMsgKeyDown, code);
    PostMessage(target, kMsgChar, code);
    PostMessage(target, kMsgKeyUp, code);
    Pump();
    SetKeyDown(Modifier::Ctrl, wasCtrl);
    return "";
}

std::string ChooseMenuItem(const std::string& item) {
    const std::vector<MenuItem>* items = CurrentPopupMenu();
    if (items == nullptr)
        return "no pop-up menu is open";
    char* end = nullptr;
    const long id = std::strtol(item.c_str(), &end, 10);
    const bool byId = !item.empty() && end != nullptr && *end == '\0';
    for (const MenuItem& m : *items) {
        if (m.id == 0 || (byId ? m.id != id : m.text != item))
            continue;
        if (!m.enabled)
            return "menu item \"" + m.text + "\" is disabled";
        detail::EndPopupMenu(m.id);
        return {};
    }
    return "the pop-up menu has no item \"" + item + "\"";
}

std::string DismissMenu() {
    if (!detail::EndPopupMenu(0))
        return "no pop-up menu is open";
    return {};
}

std::string Shown(WindowId control) {
    switch (GetClass(control)) {
    case WindowClass::CheckBox:
    case WindowClass::RadioButton:
        return IsChecked(control) ? "1" : "0";
    case WindowClass::Trackbar:
    case WindowClass::UpDown:
        return std::to_string(GetRange(control).position);
    case WindowClass::ComboBox:
    case WindowClass::ListBox:
    case WindowClass::DragListBox: {
        int s = GetSelection(control);
        auto items = GetItems(control);
        return s >= 0 && s < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(s)]
                                                            : "";
    }
    default:
        return GetText(control);
    }
}

} // namespace user
} // namespace platform
