// Script commands that act on the host's menus and toolbox.
#include <cstdio>
#include <cstdlib>
#include <map>

#include "app/script.hpp"
#include "app/tools_app.hpp"
#include "host/code_text.hpp"
#include "platform/system.hpp"

namespace app {

namespace {

// The script's panel names and the identifiers the plug-in creates them under.
const std::map<std::string, std::string> kPanelIdentifiers = {
    {"live", "__QrLw_VERTiGON4PG_v46_PrefsPrefix__"},
    {"tool", "__QrLw_VERTiGON4Tool_v46_PrefsPrefix__"},
    {"help", "__QrLw_VERTiGON4Help_v46_PrefsPrefix__"}};

bool ParseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == '\0';
}

// A failure the plug-in reported; cancelling is not one.
bool Succeeded(ErrorCode err, std::string& reason) {
    if (err == kNoErr || err == kCancelledErr)
        return true;
    reason = "the plug-in answered " + hostapp::FormatCode(err);
    return false;
}

// The modifier bits of the keys the script holds down.
uint32_t HeldModifiers() {
    uint32_t bits = 0;
    if (platform::IsKeyDown(platform::Modifier::Ctrl))
        bits |= kModifierCtrl;
    if (platform::IsKeyDown(platform::Modifier::Shift))
        bits |= kModifierShift;
    if (platform::IsKeyDown(platform::Modifier::Alt))
        bits |= kModifierAlt;
    return bits;
}

} // namespace

std::string PanelWindowName(const std::string& name) {
    auto it = kPanelIdentifiers.find(name);
    return it != kPanelIdentifiers.end() ? it->second : name;
}

bool ScriptRunner::executeHost(const std::vector<std::string>& w, std::string& reason, bool& ok) {
    const std::string& command = w[0];
    if (command == "menu") {
        if (w.size() != 2) {
            reason = "usage: menu KEY";
            return (ok = false), true;
        }
        ErrorCode err = host_.chooseMenu(w[1]);
        if (err == kNotFoundErr) {
            reason = "no menu item with the key \"" + w[1] + "\"";
            return (ok = false), true;
        }
        ok = Succeeded(err, reason);
        return true;
    }
    if (command == "flyout") {
        auto it = w.size() == 3 ? kPanelIdentifiers.find(w[1]) : kPanelIdentifiers.end();
        double item = 0;
        if (it == kPanelIdentifiers.end() || !ParseNumber(w[2], item)) {
            reason = "usage: flyout live | tool | help N";
            return (ok = false), true;
        }
        ErrorCode err = host_.chooseFlyoutItem(it->second, static_cast<int32_t>(item));
        if (err == kNotFoundErr)
            reason = "panel \"" + w[1] + "\" is not open";
        else if (err == kBadParameterErr)
            reason = "the flyout menu has no enabled item " + w[2];
        ok = err == kNoErr;
        return true;
    }
    if (command == "resize") {
        auto it = w.size() == 4 ? kPanelIdentifiers.find(w[1]) : kPanelIdentifiers.end();
        double width = 0, height = 0;
        if (it == kPanelIdentifiers.end() || !ParseNumber(w[2], width) ||
            !ParseNumber(w[3], height)) {
            reason = "usage: resize live | tool | help WIDTH HEIGHT";
            return (ok = false), true;
        }
        ErrorCode err = host_.resizePanel(it->second, width, height);
        if (err == kNotFoundErr)
            reason = "panel \"" + w[1] + "\" is not open";
        ok = Succeeded(err, reason);
        return true;
    }
    if (command == "tool") {
        auto it = w.size() == 2 ? ToolTitles().find(w[1]) : ToolTitles().end();
        if (it == ToolTitles().end()) {
            reason = "usage: tool warp|wave|lens|craft|roughen|broom|3drotate";
            return (ok = false), true;
        }
        ok = Succeeded(host_.selectTool(it->second), reason);
        return true;
    }
    if (command == "down" || command == "drag" || command == "up") {
        VtgPoint p{};
        if (w.size() != 3 || !ParseNumber(w[1], p.x) || !ParseNumber(w[2], p.y)) {
            reason = "usage: " + command + " X Y";
            return (ok = false), true;
        }
        const char* selector = command == "down"   ? kSelectorMouseDown
                               : command == "drag" ? kSelectorMouseDrag
                                                   : kSelectorMouseUp;
        ErrorCode err = host_.toolMouse(selector, p, HeldModifiers());
        if (err == kBadParameterErr) {
            reason = "no tool is selected";
            return (ok = false), true;
        }
        ok = Succeeded(err, reason);
        return true;
    }
    return false;
}

} // namespace app
