// The script commands that address windows: the addressed panel or modal
// dialog, user gestures on its controls, modifier keys, queued answers,
// printing and checking what controls show, and pictures.
#include <cstdio>
#include <cstdlib>

#include "app/script.hpp"
#include "platform/file_write.hpp"
#include "platform/input.hpp"
#include "platform/system.hpp"
#include "platform/window.hpp"

namespace app {
namespace {

bool ParseNumber(const std::string& word, int& value) {
    if (word.empty())
        return false;
    char* end = nullptr;
    long v = std::strtol(word.c_str(), &end, 10);
    if (*end != '\0' || v < -2147483647L - 1 || v > 2147483647L)
        return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace

bool ScriptRunner::executeUi(const std::vector<std::string>& w, std::string& reason, bool& ok) {
    const std::string& command = w[0];
    static const char* const kCommands[] = {"panel",   "text",         "click",     "spin",
                                            "slide",   "choose",       "key",       "hold",
                                            "answer",  "print",        "expect",    "expect-alert",
                                            "picture", "double-click", "drag-item", "popup"};
    bool mine = false;
    for (const char* c : kCommands)
        mine = mine || command == c;
    if (!mine)
        return false;
    ok = false;
    auto usage = [&](const char* text) {
        reason = std::string("usage: ") + text;
        return true;
    };

    // The window that commands address: an open modal dialog first.
    auto addressed = [&]() -> platform::WindowId {
        if (platform::WindowId modal = platform::CurrentModalDialog())
            return modal;
        if (!panel_.empty())
            return platform::FindNamedWindow(panel_);
        return 0;
    };
    auto control = [&](const std::string& word, platform::WindowId& out) {
        int id = 0;
        if (!ParseNumber(word, id)) {
            reason = "bad control id \"" + word + "\"";
            return false;
        }
        platform::WindowId target = addressed();
        if (target == 0) {
            reason = panel_.empty() ? "no panel or dialog is addressed"
                                    : "the addressed panel is not open";
            return false;
        }
        out = platform::FindDescendant(target, id);
        if (out == 0) {
            reason = "no control " + word + " in the addressed window";
            return false;
        }
        return true;
    };
    auto gesture = [&](const std::string& result) {
        if (!result.empty())
            reason = result;
        ok = result.empty();
        return true;
    };

    if (command == "panel") {
        if (w.size() != 2)
            return usage("panel live | tool | help");
        // Panels are registered under their host identifiers.
        std::string name = PanelWindowName(w[1]);
        if (platform::FindNamedWindow(name) == 0) {
            reason = "panel \"" + w[1] + "\" is not open";
            return true;
        }
        panel_ = name;
        ok = true;
        return true;
    }
    if (command == "text") {
        platform::WindowId c = 0;
        if (w.size() != 3)
            return usage("text ID \"TEXT\"");
        if (!control(w[1], c))
            return true;
        return gesture(platform::user::Type(c, w[2]));
    }
    if (command == "click") {
        platform::WindowId c = 0;
        if (w.size() != 2)
            return usage("click ID");
        if (!control(w[1], c))
            return true;
        return gesture(platform::user::Click(c));
    }
    // The open pop-up menu: an item by its text or command id, or none.
    if (command == "popup") {
        if (w.size() != 2)
            return usage("popup \"ITEM\" | ID | dismiss");
        return gesture(w[1] == "dismiss" ? platform::user::DismissMenu()
                                         : platform::user::ChooseMenuItem(w[1]));
    }
    if (command == "spin") {
        platform::WindowId c = 0;
        if (w.size() != 3 || (w[2] != "up" && w[2] != "down"))
            return usage("spin ID up | down");
        if (!control(w[1], c))
            return true;
        return gesture(platform::user::Spin(c, w[2] == "up" ? 1 : -1));
    }
    if (command == "slide" || command == "choose") {
        platform::WindowId c = 0;
        int value = 0;
        if (w.size() != 3 || !ParseNumber(w[2], value))
            return usage(command == "slide" ? "slide ID POS" : "choose ID INDEX");
        if (!control(w[1], c))
            return true;
        return gesture(command == "slide" ? platform::user::Slide(c, value)
                                          : platform::user::Choose(c, value));
    }
    if (command == "double-click") {
        platform::WindowId c = 0;
        int index = 0;
        if (w.size() != 3 || !ParseNumber(w[2], index))
            return usage("double-click ID INDEX");
        if (!control(w[1], c))
            return true;
        return gesture(platform::user::DoubleClickItem(c, index));
    }
    if (command == "drag-item") {
        platform::WindowId c = 0;
        int from = 0, to = 0;
        if (w.size() != 4 || !ParseNumber(w[2], from) || !ParseNumber(w[3], to))
            return usage("drag-item ID FROM TO");
        if (!control(w[1], c))
            return true;
        return gesture(platform::user::DragItem(c, from, to));
    }
    if (command == "key") {
        if (w.size() != 2)
            return usage("key return | escape | CHAR");
        platform::WindowId target = addressed();
        if (target == 0) {
            reason = "no panel or dialog is addressed";
            return true;
        }
        // The focused control receives the key when it lies in the addressed window.
        platform::WindowId focus = platform::GetFocus();
        for (platform::WindowId f = focus; f != 0; f = platform::GetParent(f))
            if (f == target) {
                target = focus;
                break;
            }
        return gesture(platform::user::Key(target, w[1]));
    }
    if (command == "hold") {
        bool alt = false, ctrl = false, shift = false;
        for (std::size_t i = 1; i < w.size(); ++i) {
            if (w[i] == "alt")
                alt = true;
            else if (w[i] == "ctrl")
                ctrl = true;
            else if (w[i] == "shift")
                shift = true;
            else
                return usage("hold [alt] [ctrl] [shift]");
        }
        platform::SetKeyDown(platform::Modifier::Alt, alt);
        platform::SetKeyDown(platform::Modifier::Ctrl, ctrl);
        platform::SetKeyDown(platform::Modifier::Shift, shift);
        ok = true;
        return true;
    }
    if (command == "answer") {
        using Kind = hostapp::Answer::Kind;
        hostapp::Answer a;
        if (w.size() == 2 && w[1] == "yes")
            a.kind = Kind::Yes;
        else if (w.size() == 2 && w[1] == "no")
            a.kind = Kind::No;
        else if (w.size() == 2 && (w[1] == "yes-always" || w[1] == "no-always")) {
            a.kind = w[1] == "yes-always" ? Kind::Yes : Kind::No;
            a.always = true; // "don't show again" ticked
        } else if (w.size() == 2 && w[1] == "ok")
            a.kind = Kind::Ok;
        else if (w.size() == 2 && w[1] == "cancel")
            a.kind = Kind::Cancel;
        else if (w.size() == 3 && (w[1] == "text" || w[1] == "folder")) {
            a.kind = w[1] == "text" ? Kind::Text : Kind::Folder;
            a.text = w[2];
        } else if (VtgColor c{};
                   w.size() == 3 && w[1] == "color" && hostapp::ParseColorText(w[2], c)) {
            a.kind = Kind::Color; // the colour picker's answer
            a.text = w[2];
        } else
            return usage("answer yes | no | yes-always | no-always | ok | cancel | text \"TEXT\" | "
                         "folder PATH | color \"gray K | rgb R G B | cmyk C M Y K | #rrggbb\"");
        host_.user().queue(a);
        ok = true;
        return true;
    }
    if (command == "print" || command == "expect") {
        platform::WindowId c = 0;
        if ((command == "print" && w.size() != 2) || (command == "expect" && w.size() != 3))
            return usage(command == "print" ? "print ID" : "expect ID \"TEXT\"");
        if (!control(w[1], c))
            return true;
        std::string shown = platform::user::Shown(c);
        if (command == "print") {
            std::printf("%s: %s\n", w[1].c_str(), shown.c_str());
            std::fflush(stdout);
        } else if (shown != w[2]) {
            reason = "control " + w[1] + " shows \"" + shown + "\", not \"" + w[2] + "\"";
            return true;
        }
        ok = true;
        return true;
    }
    if (command == "expect-alert") {
        if (w.size() != 2)
            return usage("expect-alert \"TEXT\"");
        auto last = host_.user().lastAlert();
        if (!last || *last != w[1]) {
            reason = "the last alert is " +
                     (last ? "\"" + hostapp::EscapeAlertText(*last) + "\"" : std::string("none")) +
                     ", not \"" + hostapp::EscapeAlertText(w[1]) + "\"";
            return true;
        }
        ok = true;
        return true;
    }
    if (command == "picture") {
        if (w.size() != 3)
            return usage("picture panel | dialog | annotator | ID PATH");
        platform::WindowId target = 0;
        if (w[1] == "annotator") {
            // What the annotator drew during the last tool gesture.
            ok = host_.writeAnnotationPicture(w[2]);
            if (!ok)
                reason = "cannot write \"" + w[2] + "\"";
            return true;
        }
        if (w[1] == "panel") {
            target = panel_.empty() ? 0 : platform::FindNamedWindow(panel_);
            if (target == 0) {
                reason = "no panel is addressed";
                return true;
            }
        } else if (w[1] == "dialog") {
            target = platform::CurrentModalDialog();
            if (target == 0) {
                reason = "no dialog is open";
                return true;
            }
        } else if (!control(w[1], target)) {
            return true;
        }
        const std::string why = platform::WriteWholeFile(w[2], platform::RenderSvg(target));
        if (!why.empty()) {
            reason = "picture: " + why;
            return true;
        }
        ok = true;
        return true;
    }
    return false;
}

} // namespace app
