#include "platform/window.hpp"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>

#include "platform/draw.hpp"
#include "platform/html_view.hpp"
#include "platform/input.hpp"
#include "platform/resources.hpp"

namespace platform {
namespace {

struct Window {
    WindowId id = 0;
    WindowClass cls = WindowClass::Static;
    WindowId parent = 0;
    std::vector<WindowId> children;
    int controlId = 0;
    std::string text;
    Rect rect;
    std::uint32_t style = 0;
    bool enabled = true;
    bool shown = true;
    bool checked = false;
    bool pressed = false;
    std::optional<Rect> region;
    RangeState range;
    std::vector<std::pair<int, int>> acceleration;
    std::vector<std::string> items;
    std::vector<bool> selected;
    int selection = -1;
    int image = -1;
    std::string tooltip;
    std::vector<WindowHandler*> handlers; // oldest first
    std::unique_ptr<DrawContext> paint;
    int templateId = 0;
    bool modalEnded = false;
    int modalResult = 0;
};

struct System {
    std::map<WindowId, std::unique_ptr<Window>> windows;
    WindowId nextId = 1;
    WindowId focus = 0;
    WindowId capture = 0;
    std::deque<QueuedMessage> queue;
    std::vector<std::pair<int, RetrievalHook>> hooks; // oldest first
    int nextHook = 1;
    std::map<std::string, WindowId> names;
    std::vector<WindowId> modal; // innermost last
    std::string modalError;
};

System& Sys() {
    static System system;
    return system;
}

Window* Find(WindowId id) {
    auto& w = Sys().windows;
    auto it = w.find(id);
    return it == w.end() ? nullptr : it->second.get();
}

struct ClassEntry {
    WindowClass cls;
    const char* name;
};
const ClassEntry kClasses[] = {
    {WindowClass::TopLevel, "toplevel"},
    {WindowClass::Dialog, "dialog"},
    {WindowClass::Edit, "edit"},
    {WindowClass::PushButton, "button"},
    {WindowClass::CheckBox, "checkbox"},
    {WindowClass::RadioButton, "radio"},
    {WindowClass::BitmapButton, "bitmapbutton"},
    {WindowClass::Static, "static"},
    {WindowClass::ComboBox, "combobox"},
    {WindowClass::ListBox, "listbox"},
    {WindowClass::DragListBox, "draglistbox"},
    {WindowClass::Trackbar, "trackbar"},
    {WindowClass::UpDown, "spin"},
    {WindowClass::OwnerDrawStatic, "ownerstatic"},
    {WindowClass::HtmlView, "htmlview"},
};

bool IsButton(WindowClass c) {
    return c == WindowClass::PushButton || c == WindowClass::CheckBox ||
           c == WindowClass::RadioButton || c == WindowClass::BitmapButton;
}

Param Dispatch(WindowId id, std::size_t below, std::uint32_t code, Param wparam, Param lparam) {
    // Handlers from the newest down; `below` counts those to skip. The list
    // is taken once, since a handler may detach itself (or others) while it
    // handles a message; a handler detached meanwhile is not called.
    Window* w = Find(id);
    if (w == nullptr)
        return 0;
    std::vector<WindowHandler*> handlers = w->handlers;
    for (std::size_t i = below; i < handlers.size(); ++i) {
        WindowHandler* h = handlers[handlers.size() - 1 - i];
        w = Find(id);
        if (w == nullptr)
            return 0;
        if (std::find(w->handlers.begin(), w->handlers.end(), h) == w->handlers.end())
            continue;
        Param result = 0;
        if (h->OnMessage(id, code, wparam, lparam, result))
            return result;
    }
    return DefaultProcessing(id, code, wparam, lparam);
}

void DefaultPaint(Window& w, DrawContext& dc) {
    Rect r{0, 0, w.rect.width(), w.rect.height()};
    Color text = w.enabled ? Rgb(0, 0, 0) : Rgb(160, 160, 160);
    switch (w.cls) {
    case WindowClass::TopLevel:
    case WindowClass::Dialog:
        dc.FillRect(r, Rgb(240, 240, 240));
        break;
    case WindowClass::PushButton:
        dc.FillRect(r, w.checked ? Rgb(220, 220, 220) : Rgb(232, 232, 232));
        dc.DrawEdge(r, w.pressed || w.checked);
        dc.Text(r, w.text, text, true);
        break;
    case WindowClass::BitmapButton:
        dc.DrawEdge(r, w.pressed);
        break;
    case WindowClass::CheckBox:
    case WindowClass::RadioButton: {
        int s = std::min(13, r.height());
        Rect box{0, (r.height() - s) / 2, s, (r.height() - s) / 2 + s};
        dc.SelectPen(1, text);
        dc.SelectBrush(Rgb(255, 255, 255));
        if (w.cls == WindowClass::CheckBox) {
            dc.FillRect(box, Rgb(255, 255, 255));
            dc.FrameRect(box, text);
        } else {
            dc.Ellipse(box);
        }
        if (w.checked)
            dc.FillRect({box.left + 3, box.top + 3, box.right - 3, box.bottom - 3}, text);
        dc.Text({s + 2, 0, r.right, r.bottom}, w.text, text);
        break;
    }
    case WindowClass::Edit:
        dc.FillRect(r, w.enabled ? Rgb(255, 255, 255) : Rgb(240, 240, 240));
        dc.FrameRect(r, Rgb(122, 122, 122));
        dc.Text(r, w.text, text);
        break;
    case WindowClass::Static:
        if (w.style & kStyleSeparator)
            dc.Line({r.width() / 2, 0}, {r.width() / 2, r.height()});
        else if (!(w.style & kStylePlaceholder))
            dc.Text(r, w.text, text);
        break;
    case WindowClass::ComboBox:
        dc.FillRect(r, Rgb(255, 255, 255));
        dc.FrameRect(r, Rgb(122, 122, 122));
        if (w.selection >= 0 && w.selection < static_cast<int>(w.items.size()))
            dc.Text(r, w.items[static_cast<std::size_t>(w.selection)], text);
        break;
    case WindowClass::ListBox:
    case WindowClass::DragListBox: {
        dc.FillRect(r, Rgb(255, 255, 255));
        dc.FrameRect(r, Rgb(122, 122, 122));
        for (std::size_t i = 0; i < w.items.size(); ++i) {
            Rect row{1, 1 + 16 * static_cast<int>(i), r.right - 1, 17 + 16 * static_cast<int>(i)};
            if (row.bottom > r.bottom)
                break;
            bool sel =
                (i < w.selected.size() && w.selected[i]) || static_cast<int>(i) == w.selection;
            if (sel)
                dc.FillRect(row, Rgb(204, 232, 255));
            dc.Text(row, w.items[i], text);
        }
        break;
    }
    case WindowClass::Trackbar: {
        int mid = r.height() / 2;
        dc.FillRect({4, mid - 2, r.right - 4, mid + 2}, Rgb(214, 214, 214));
        int span = std::max(1, w.range.maximum - w.range.minimum);
        int x = 4 + (r.width() - 8) * (w.range.position - w.range.minimum) / span;
        dc.FillRect({x - 3, 2, x + 3, r.bottom - 2}, w.enabled ? Rgb(0, 120, 215) : text);
        break;
    }
    case WindowClass::UpDown:
        dc.DrawEdge({0, 0, r.right, r.bottom / 2}, false);
        dc.DrawEdge({0, r.bottom / 2, r.right, r.bottom}, false);
        break;
    case WindowClass::HtmlView:
        dc.FillRect(r, Rgb(255, 255, 255));
        dc.FrameRect(r, Rgb(160, 160, 160));
        dc.Text({0, 0, r.right, 20}, HtmlCurrentPage(w.id), Rgb(0, 0, 160));
        break;
    case WindowClass::OwnerDrawStatic:
        break;
    }
}

void SetFocusInternal(WindowId to) {
    System& s = Sys();
    WindowId from = s.focus;
    if (from == to)
        return;
    s.focus = to;
    if (from != 0 && Find(from) != nullptr) {
        SendMessage(from, kMsgKillFocus, static_cast<Param>(to), 0);
        Window* w = Find(from);
        if (w != nullptr && w->cls == WindowClass::Edit && w->parent != 0)
            SendMessage(w->parent, kMsgCommand, MakeParam(w->controlId, kNotifyEditKillFocus),
                        static_cast<Param>(from));
    }
    if (to != 0 && Find(to) != nullptr)
        SendMessage(to, kMsgSetFocus, static_cast<Param>(from), 0);
}

std::string SvgOf(WindowId id, int dx, int dy) {
    Window* w = Find(id);
    if (w == nullptr || !w->shown)
        return "";
    Redraw(id);
    w = Find(id);
    if (w == nullptr)
        return "";
    std::string out;
    std::string clip;
    if (w->region) {
        const Rect& e = *w->region;
        clip = "clip" + std::to_string(id);
        out += "<clipPath id=\"" + clip + "\"><ellipse cx=\"" +
               std::to_string(dx + (e.left + e.right) / 2.0) + "\" cy=\"" +
               std::to_string(dy + (e.top + e.bottom) / 2.0) + "\" rx=\"" +
               std::to_string(e.width() / 2.0) + "\" ry=\"" + std::to_string(e.height() / 2.0) +
               "\"/></clipPath>\n";
    }
    out += "<g data-id=\"" + std::to_string(w->controlId) + "\" data-class=\"" + ClassName(w->cls) +
           "\"" + (clip.empty() ? "" : " clip-path=\"url(#" + clip + ")\"") + ">\n";
    if (w->paint)
        out += OpsToSvg(*w->paint, dx, dy);
    out += "</g>\n";
    for (WindowId child : w->children) {
        Window* c = Find(child);
        if (c != nullptr)
            out += SvgOf(child, dx + c->rect.left, dy + c->rect.top);
    }
    return out;
}

} // namespace

const char* ClassName(WindowClass cls) {
    for (const ClassEntry& e : kClasses)
        if (e.cls == cls)
            return e.name;
    return nullptr;
}

std::optional<WindowClass> ClassFromName(const std::string& name) {
    for (const ClassEntry& e : kClasses)
        if (name == e.name)
            return e.cls;
    return std::nullopt;
}

void AttachHandler(WindowId window, WindowHandler* handler) {
    Window* w = Find(window);
    if (w != nullptr && handler != nullptr)
        w->handlers.push_back(handler);
}

void DetachHandler(WindowId window, WindowHandler* handler) {
    Window* w = Find(window);
    if (w == nullptr)
        return;
    auto& h = w->handlers;
    h.erase(std::remove(h.begin(), h.end(), handler), h.end());
}

Param CallNext(WindowId window, WindowHandler* after, std::uint32_t code, Param wparam,
               Param lparam) {
    Window* w = Find(window);
    if (w == nullptr)
        return 0;
    auto& h = w->handlers;
    auto it = std::find(h.begin(), h.end(), after);
    if (it == h.end())
        return DefaultProcessing(window, code, wparam, lparam);
    std::size_t below = static_cast<std::size_t>(h.end() - it); // `after` and those above it
    return Dispatch(window, below, code, wparam, lparam);
}

Param DefaultProcessing(WindowId window, std::uint32_t code, Param wparam, Param /*lparam*/) {
    Window* w = Find(window);
    if (w == nullptr)
        return 0;
    switch (code) {
    case kMsgSetButtonState:
        w->pressed = wparam != 0;
        Redraw(window);
        return 0;
    case kMsgSlideTo:
        // A standard slider: the thumb is dragged there and released.
        if (w->cls == WindowClass::Trackbar) {
            SetPosition(window, static_cast<int>(wparam));
            int pos = Find(window)->range.position;
            WindowId parent = Find(window)->parent;
            SendMessage(parent, kMsgHScroll, MakeParam(kScrollThumbTrack, pos),
                        static_cast<Param>(window));
            SendMessage(parent, kMsgHScroll, MakeParam(kScrollThumbPosition, pos),
                        static_cast<Param>(window));
            SendMessage(parent, kMsgHScroll, MakeParam(kScrollEnd, 0), static_cast<Param>(window));
        }
        return 0;
    case kMsgLButtonDown:
        if (w->cls == WindowClass::Edit || IsButton(w->cls))
            SetFocus(window);
        return 0;
    case kMsgDragBegin:
        w->selection = static_cast<int>(wparam);
        return 1;
    case kMsgDragDropped: {
        // The dragged item moves to the destination and stays selected.
        int from = w->selection;
        int to = static_cast<int>(wparam);
        int n = static_cast<int>(w->items.size());
        if (from >= 0 && from < n && to >= 0 && to < n && from != to) {
            std::string item = w->items[static_cast<std::size_t>(from)];
            w->items.erase(w->items.begin() + from);
            w->items.insert(w->items.begin() + to, item);
        }
        if (to >= 0 && to < n)
            w->selection = to;
        return 0;
    }
    default:
        return 0;
    }
}

WindowId CreateWindow(WindowClass cls, WindowId parent, int controlId, const std::string& text,
                      Rect rect, std::uint32_t style) {
    System& s = Sys();
    if (parent != 0 && Find(parent) == nullptr)
        return 0;
    auto w = std::make_unique<Window>();
    w->id = s.nextId++;
    w->cls = cls;
    w->parent = parent;
    w->controlId = controlId;
    w->text = text;
    w->rect = rect;
    w->style = style & ~(kStyleHidden | kStyleDisabled);
    w->shown = (style & kStyleHidden) == 0;
    w->enabled = (style & kStyleDisabled) == 0;
    if (parent != 0)
        w->style |= kStyleChild;
    if (cls == WindowClass::Trackbar)
        w->range = {0, 100, 0, 10, 1};
    if (cls == WindowClass::UpDown)
        w->range = {0, 100, 0, 1, 1};
    WindowId id = w->id;
    s.windows[id] = std::move(w);
    if (parent != 0)
        Find(parent)->children.push_back(id);
    SendMessage(id, kMsgCreate);
    return id;
}

void DestroyWindow(WindowId window) {
    Window* w = Find(window);
    if (w == nullptr)
        return;
    std::vector<WindowId> children = w->children;
    for (WindowId c : children)
        DestroyWindow(c);
    SendMessage(window, kMsgDestroy);
    System& s = Sys();
    w = Find(window);
    if (w == nullptr)
        return;
    if (Window* p = Find(w->parent)) {
        auto& c = p->children;
        c.erase(std::remove(c.begin(), c.end(), window), c.end());
    }
    if (s.focus == window)
        s.focus = 0;
    if (s.capture == window)
        s.capture = 0;
    for (auto it = s.names.begin(); it != s.names.end();)
        it = it->second == window ? s.names.erase(it) : std::next(it);
    // A modal dialog destroyed while its loop runs ends that loop (RunModal
    // finds it gone).
    std::erase_if(s.queue, [window](const QueuedMessage& m) { return m.window == window; });
    ForgetHtmlView(window);
    s.windows.erase(window);
}

bool IsWindow(WindowId window) {
    return Find(window) != nullptr;
}
std::size_t WindowCount() {
    return Sys().windows.size();
}

WindowClass GetClass(WindowId window) {
    Window* w = Find(window);
    return w ? w->cls : WindowClass::Static;
}
WindowId GetParent(WindowId window) {
    Window* w = Find(window);
    return w ? w->parent : 0;
}
std::vector<WindowId> GetChildren(WindowId window) {
    Window* w = Find(window);
    return w ? w->children : std::vector<WindowId>{};
}
int GetControlId(WindowId window) {
    Window* w = Find(window);
    return w ? w->controlId : 0;
}

WindowId GetItem(WindowId dialog, int controlId) {
    Window* w = Find(dialog);
    if (w == nullptr)
        return 0;
    for (WindowId c : w->children)
        if (Find(c)->controlId == controlId)
            return c;
    return 0;
}

WindowId FindDescendant(WindowId window, int controlId) {
    std::deque<WindowId> todo = {window};
    while (!todo.empty()) {
        Window* w = Find(todo.front());
        todo.pop_front();
        if (w == nullptr)
            continue;
        for (WindowId c : w->children) {
            if (Find(c)->controlId == controlId)
                return c;
            todo.push_back(c);
        }
    }
    return 0;
}

WindowId OwningDialog(WindowId window) {
    for (Window* w = Find(window); w != nullptr; w = Find(w->parent))
        if (w->cls == WindowClass::Dialog || w->cls == WindowClass::TopLevel)
            return w->id;
    return 0;
}

std::string GetText(WindowId window) {
    Window* w = Find(window);
    return w ? w->text : std::string();
}

void SetText(WindowId window, const std::string& text) {
    if (Window* w = Find(window))
        w->text = text;
}

bool IsEnabled(WindowId window) {
    Window* w = Find(window);
    return w != nullptr && w->enabled;
}

void Enable(WindowId window, bool enable) {
    Window* w = Find(window);
    if (w == nullptr)
        return;
    w->enabled = enable;
    SendMessage(window, kMsgEnable, enable ? 1 : 0);
}

bool IsVisible(WindowId window) {
    Window* w = Find(window);
    if (w == nullptr)
        return false;
    for (; w != nullptr; w = Find(w->parent))
        if (!w->shown)
            return false;
    return true;
}

bool IsShown(WindowId window) {
    Window* w = Find(window);
    return w != nullptr && w->shown;
}

void Show(WindowId window, bool show) {
    if (Window* w = Find(window))
        w->shown = show;
}

bool IsChecked(WindowId window) {
    Window* w = Find(window);
    return w != nullptr && w->checked;
}
void SetChecked(WindowId window, bool checked) {
    if (Window* w = Find(window))
        w->checked = checked;
}
bool IsPressed(WindowId window) {
    Window* w = Find(window);
    return w != nullptr && w->pressed;
}
void SetPressed(WindowId window, bool pressed) {
    SendMessage(window, kMsgSetButtonState, pressed ? 1 : 0);
}

std::uint32_t GetStyle(WindowId window) {
    Window* w = Find(window);
    return w ? w->style : 0;
}
void SetStyle(WindowId window, std::uint32_t style) {
    if (Window* w = Find(window))
        w->style = style;
}

Rect GetRect(WindowId window) {
    Window* w = Find(window);
    return w ? w->rect : Rect{};
}

Rect GetClientRect(WindowId window) {
    Window* w = Find(window);
    return w ? Rect{0, 0, w->rect.width(), w->rect.height()} : Rect{};
}

void SetRect(WindowId window, Rect rect) {
    Window* w = Find(window);
    if (w == nullptr)
        return;
    bool resized = rect.width() != w->rect.width() || rect.height() != w->rect.height();
    w->rect = rect;
    if (resized)
        SendMessage(window, kMsgSize, rect.width(), rect.height());
}

Rect RectIn(WindowId window, WindowId ancestor) {
    Window* w = Find(window);
    if (w == nullptr)
        return {};
    Rect r = w->rect;
    for (Window* p = Find(w->parent); p != nullptr && p->id != ancestor; p = Find(p->parent)) {
        r.left += p->rect.left;
        r.right += p->rect.left;
        r.top += p->rect.top;
        r.bottom += p->rect.top;
    }
    return r;
}

void SetEllipticRegion(WindowId window, std::optional<Rect> ellipse) {
    if (Window* w = Find(window))
        w->region = ellipse;
}
std::optional<Rect> GetEllipticRegion(WindowId window) {
    Window* w = Find(window);
    return w ? w->region : std::nullopt;
}

WindowId GetFocus() {
    return Sys().focus;
}
void SetFocus(WindowId window) {
    SetFocusInternal(Find(window) ? window : 0);
}
WindowId GetCapture() {
    return Sys().capture;
}
void SetCapture(WindowId window) {
    Sys().capture = Find(window) ? window : 0;
}
void ReleaseCapture() {
    Sys().capture = 0;
}

RangeState GetRange(WindowId window) {
    Window* w = Find(window);
    return w ? w->range : RangeState{};
}
void SetRange(WindowId window, int minimum, int maximum) {
    Window* w = Find(window);
    if (w == nullptr)
        return;
    w->range.minimum = minimum;
    w->range.maximum = std::max(minimum, maximum);
    w->range.position = std::clamp(w->range.position, w->range.minimum, w->range.maximum);
}
void SetPosition(WindowId window, int position) {
    if (Window* w = Find(window))
        w->range.position = std::clamp(position, w->range.minimum, w->range.maximum);
}
void SetPageSize(WindowId window, int page) {
    if (Window* w = Find(window))
        w->range.page = page;
}
void SetLineSize(WindowId window, int line) {
    if (Window* w = Find(window))
        w->range.line = line;
}
void SetAcceleration(WindowId window, std::vector<std::pair<int, int>> table) {
    if (Window* w = Find(window))
        w->acceleration = std::move(table);
}
std::vector<std::pair<int, int>> GetAcceleration(WindowId window) {
    Window* w = Find(window);
    return w ? w->acceleration : std::vector<std::pair<int, int>>{};
}

void ClearItems(WindowId window) {
    if (Window* w = Find(window)) {
        w->items.clear();
        w->selected.clear();
        w->selection = -1;
    }
}
int AddItem(WindowId window, const std::string& text) {
    Window* w = Find(window);
    if (w == nullptr)
        return -1;
    w->items.push_back(text);
    w->selected.push_back(false);
    return static_cast<int>(w->items.size()) - 1;
}
std::vector<std::string> GetItems(WindowId window) {
    Window* w = Find(window);
    return w ? w->items : std::vector<std::string>{};
}
void SetItems(WindowId window, std::vector<std::string> items) {
    ClearItems(window);
    for (const std::string& i : items)
        AddItem(window, i);
}
int GetSelection(WindowId window) {
    Window* w = Find(window);
    return w ? w->selection : -1;
}
void SetSelection(WindowId window, int index) {
    Window* w = Find(window);
    if (w == nullptr)
        return;
    w->selection = index >= 0 && index < static_cast<int>(w->items.size()) ? index : -1;
    if (!(w->style & kStyleMultiSelect)) {
        std::fill(w->selected.begin(), w->selected.end(), false);
        if (w->selection >= 0)
            w->selected[static_cast<std::size_t>(w->selection)] = true;
    }
}
std::vector<int> GetSelectedIndices(WindowId window) {
    std::vector<int> out;
    if (Window* w = Find(window))
        for (std::size_t i = 0; i < w->selected.size(); ++i)
            if (w->selected[i])
                out.push_back(static_cast<int>(i));
    return out;
}
void SetItemSelected(WindowId window, int index, bool selected) {
    Window* w = Find(window);
    if (w != nullptr && index >= 0 && index < static_cast<int>(w->selected.size()))
        w->selected[static_cast<std::size_t>(index)] = selected;
}

void SetImage(WindowId window, int imageId) {
    if (Window* w = Find(window))
        w->image = imageId;
}
int GetImage(WindowId window) {
    Window* w = Find(window);
    return w ? w->image : -1;
}
void SetTooltip(WindowId window, const std::string& text) {
    if (Window* w = Find(window))
        w->tooltip = text;
}
std::string GetTooltip(WindowId window) {
    Window* w = Find(window);
    return w ? w->tooltip : std::string();
}

Param SendMessage(WindowId window, std::uint32_t code, Param wparam, Param lparam) {
    if (Find(window) == nullptr)
        return 0;
    return Dispatch(window, 0, code, wparam, lparam);
}

bool PostMessage(WindowId window, std::uint32_t code, Param wparam, Param lparam) {
    if (Find(window) == nullptr)
        return false;
    Sys().queue.push_back({window, code, wparam, lparam});
    return true;
}

std::size_t QueuedCount() {
    return Sys().queue.size();
}

void Pump() {
    System& s = Sys();
    while (!s.queue.empty()) {
        QueuedMessage m = s.queue.front();
        s.queue.pop_front();
        // Newest hook first; a copy, since a hook may remove hooks.
        auto hooks = s.hooks;
        for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
            it->second(m);
        if (m.code == kMsgNull || Find(m.window) == nullptr)
            continue;
        WindowId modal = CurrentModalDialog();
        if (modal != 0 && TranslateDialogMessage(modal, m))
            continue;
        SendMessage(m.window, m.code, m.wparam, m.lparam);
    }
}

int AddRetrievalHook(RetrievalHook hook) {
    int id = Sys().nextHook++;
    Sys().hooks.emplace_back(id, std::move(hook));
    return id;
}

void RemoveRetrievalHook(int hookId) {
    auto& h = Sys().hooks;
    std::erase_if(h, [hookId](const auto& e) { return e.first == hookId; });
}

std::size_t RetrievalHookCount() {
    return Sys().hooks.size();
}

bool TranslateDialogMessage(WindowId dialog, const QueuedMessage& message) {
    if (Find(dialog) == nullptr)
        return false;
    QueuedMessage copy = message;
    if (SendMessage(dialog, kMsgPreTranslate, 0, reinterpret_cast<Param>(&copy)) != 0)
        return true;
    if (message.code != kMsgKeyDown || OwningDialog(message.window) != dialog)
        return false;
    // The dialog keys: Return clicks the default button (else 1), Escape 2.
    int id = 0;
    if (message.wparam == kKeyReturn) {
        id = 1;
        for (WindowId c : GetChildren(dialog))
            if (GetStyle(c) & kStyleDefault)
                id = GetControlId(c);
    } else if (message.wparam == kKeyEscape) {
        id = 2;
    } else {
        return false;
    }
    WindowId button = GetItem(dialog, id);
    if (button != 0 && !IsEnabled(button))
        return true;
    SendMessage(dialog, kMsgCommand, MakeParam(id, kNotifyClicked), static_cast<Param>(button));
    return true;
}

void Redraw(WindowId window) {
    Window* w = Find(window);
    if (w == nullptr)
        return;
    auto dc = std::make_unique<DrawContext>();
    DrawContext* raw = dc.get();
    SendMessage(window, kMsgPaint, 0, reinterpret_cast<Param>(raw));
    w = Find(window);
    if (w == nullptr)
        return;
    if (raw->empty() && (w->style & kStyleOwnerDraw) && w->parent != 0) {
        // Owner-drawn controls are painted by their parent's draw-item.
        DrawItemRecord item;
        item.control = window;
        item.id = w->controlId;
        item.state = (w->pressed ? kItemSelected : 0u) | (w->enabled ? 0u : kItemDisabled) |
                     (Sys().focus == window ? kItemFocus : 0u);
        item.rect = {0, 0, w->rect.width(), w->rect.height()};
        item.dc = raw;
        SendMessage(w->parent, kMsgDrawItem, w->controlId, reinterpret_cast<Param>(&item));
        w = Find(window);
        if (w == nullptr)
            return;
    }
    if (raw->empty() && !(w->style & kStyleOwnerDraw))
        DefaultPaint(*w, *raw);
    w->paint = std::move(dc);
}

const DrawContext* LastPaint(WindowId window) {
    Window* w = Find(window);
    return w ? w->paint.get() : nullptr;
}

std::string RenderSvg(WindowId window) {
    Window* w = Find(window);
    if (w == nullptr)
        return "";
    int width = w->rect.width(), height = w->rect.height();
    std::string body = SvgOf(window, 0, 0);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " +
           std::to_string(width) + " " + std::to_string(height) + "\">\n" + body + "</svg>\n";
}

void RegisterNamedWindow(const std::string& name, WindowId window) {
    if (Find(window) != nullptr)
        Sys().names[name] = window;
}
void UnregisterNamedWindow(const std::string& name) {
    Sys().names.erase(name);
}
WindowId FindNamedWindow(const std::string& name) {
    auto it = Sys().names.find(name);
    return it == Sys().names.end() || Find(it->second) == nullptr ? 0 : it->second;
}

WindowId HostMainWindow() {
    WindowId main = FindNamedWindow("main");
    if (main == 0) {
        main = CreateWindow(WindowClass::TopLevel, 0, 0, "VERTiGON", {0, 0, 1280, 800});
        RegisterNamedWindow("main", main);
    }
    return main;
}

WindowId CreateDialogFromTemplate(int templateId, WindowId parent, WindowHandler* handler,
                                  std::string* error) {
    std::string reason;
    auto t = LoadDialogTemplate(templateId, reason);
    if (!t) {
        if (error != nullptr)
            *error = reason;
        return 0;
    }
    WindowId dialog =
        CreateWindow(WindowClass::Dialog, parent, templateId, t->title, t->rect, t->style);
    if (dialog == 0) {
        if (error != nullptr)
            *error = "no parent window " + std::to_string(parent);
        return 0;
    }
    Find(dialog)->templateId = templateId;
    for (const ControlTemplate& c : t->controls) {
        WindowId control = CreateWindow(c.cls, dialog, c.id, c.text, c.rect, c.style);
        if (c.image >= 0)
            SetImage(control, c.image);
        if (!c.items.empty())
            SetItems(control, c.items);
    }
    AttachHandler(dialog, handler);
    SendMessage(dialog, kMsgInitDialog);
    return dialog;
}

int DialogTemplateId(WindowId dialog) {
    Window* w = Find(dialog);
    return w ? w->templateId : 0;
}

int RunModal(WindowId dialog) {
    System& s = Sys();
    Window* w = Find(dialog);
    if (w == nullptr)
        return kModalInputEnded;
    w->modalEnded = false;
    s.modal.push_back(dialog);
    int result = 0;
    for (;;) {
        Pump();
        w = Find(dialog);
        if (w == nullptr || w->modalEnded) {
            result = w ? w->modalResult : 0;
            break;
        }
        if (!NextUserInput()) {
            s.modalError = "the input ended while dialog " + std::to_string(w->controlId) + " \"" +
                           w->text + "\" was open";
            result = kModalInputEnded;
            break;
        }
    }
    std::erase(s.modal, dialog);
    return result;
}

void EndDialog(WindowId dialog, int result) {
    if (Window* w = Find(dialog)) {
        w->modalEnded = true;
        w->modalResult = result;
    }
}

WindowId CurrentModalDialog() {
    auto& m = Sys().modal;
    for (auto it = m.rbegin(); it != m.rend(); ++it)
        if (Find(*it) != nullptr && !Find(*it)->modalEnded)
            return *it;
    return 0;
}

std::string ModalError() {
    return Sys().modalError;
}
void ClearModalError() {
    Sys().modalError.clear();
}

namespace {

struct PopupState {
    bool open = false;
    const std::vector<MenuItem>* items = nullptr;
    WindowId owner = 0;
    Point at{0, 0};
    int chosen = 0;
    bool ended = false;
};

PopupState& Popup() {
    static PopupState state;
    return state;
}

} // namespace

int TrackPopupMenu(WindowId owner, const std::vector<MenuItem>& items, Point at) {
    PopupState& p = Popup();
    if (p.open || items.empty())
        return 0; // one pop-up menu at a time
    p = {true, &items, owner, at, 0, false};
    while (!p.ended)
        if (!NextUserInput())
            break;
    const int chosen = p.ended ? p.chosen : 0;
    p = {};
    return chosen;
}

const std::vector<MenuItem>* CurrentPopupMenu() {
    return Popup().open && !Popup().ended ? Popup().items : nullptr;
}

Point PopupMenuPosition() {
    return Popup().at;
}

WindowId PopupMenuOwner() {
    return Popup().owner;
}

namespace detail {

// The scripted user's answer to the open pop-up menu (input.cpp).
bool EndPopupMenu(int chosen) {
    PopupState& p = Popup();
    if (!p.open || p.ended)
        return false;
    p.chosen = chosen;
    p.ended = true;
    return true;
}

} // namespace detail

void ResetWindowSystem() {
    System& s = Sys();
    std::vector<WindowId> roots;
    for (auto& [id, w] : s.windows)
        if (w->parent == 0)
            roots.push_back(id);
    for (WindowId r : roots)
        DestroyWindow(r);
    s.queue.clear();
    s.hooks.clear();
    s.names.clear();
    s.modal.clear();
    s.modalError.clear();
    s.focus = s.capture = 0;
    ClearUserInput();
}

} // namespace platform
