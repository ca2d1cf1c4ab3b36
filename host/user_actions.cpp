// The user's actions on the host's menus and toolbox, turned into the
// messages a host sends.
#include "host/host.hpp"

#include <cmath>

#include "platform/window.hpp"

namespace hostapp {

ErrorCode Host::chooseFlyoutItem(const std::string& identifier, int32_t item) {
    PanelHandleOpaque* panel = panels_.find(identifier);
    if (panel == nullptr || panel->flyout == nullptr)
        return kNotFoundErr;
    if (item < 1 || static_cast<std::size_t>(item) > panel->flyout->items.size() ||
        !panel->flyout->items[static_cast<std::size_t>(item - 1)].enabled)
        return kBadParameterErr;
    if (panel->flyoutProc != nullptr)
        panel->flyoutProc(panel, item, panel->flyoutData);
    return kNoErr;
}

ErrorCode Host::resizePanel(const std::string& identifier, double width, double height) {
    PanelHandleOpaque* panel = panels_.find(identifier);
    if (panel == nullptr)
        return kNotFoundErr;
    if (!std::isfinite(width) || !std::isfinite(height))
        return kBadParameterErr;
    // A limit of 0 is no limit.
    auto limit = [](double v, double low, double high) {
        if (high > 0 && v > high)
            v = high;
        return v < low ? low : v;
    };
    panel->width = limit(width, panel->minWidth, panel->maxWidth);
    panel->height = limit(height, panel->minHeight, panel->maxHeight);
    if (panel->window != 0) {
        platform::Rect r = platform::GetRect(panel->window);
        r.right = r.left + static_cast<int>(std::lround(panel->width * panels_.scale));
        r.bottom = r.top + static_cast<int>(std::lround(panel->height * panels_.scale));
        platform::SetRect(panel->window, r);
    }
    if (panel->resizeProc != nullptr)
        panel->resizeProc(panel, panel->width, panel->height, panel->resizeData);
    return kNoErr;
}

ErrorCode Host::updateMenus() {
    ErrorCode first = kNoErr;
    for (const auto& item : registry_.menuItems) {
        if (item->options != 0)
            continue; // separators
        MenuMessage message{};
        message.menuItem = item.get();
        ErrorCode err = send(kCallerMenu, kSelectorUpdate, &message);
        if (first == kNoErr)
            first = err;
    }
    return first;
}

ErrorCode Host::chooseMenu(const std::string& key) {
    MenuItemHandleOpaque* item = registry_.findMenuItem(key);
    if (item == nullptr || item->subMenu != nullptr)
        return kNotFoundErr;
    updateMenus();
    if (!item->enabled)
        return kBadParameterErr;
    MenuMessage message{};
    message.menuItem = item;
    return send(kCallerMenu, kSelectorGo, &message);
}

ErrorCode Host::selectTool(const std::string& title) {
    ToolHandleOpaque* tool = registry_.findTool(title);
    if (tool == nullptr)
        return kNotFoundErr;
    if (registry_.currentTool != nullptr && registry_.currentTool != tool) {
        ToolMessage message{};
        message.tool = registry_.currentTool;
        send(kCallerTool, kSelectorDeselect, &message);
    }
    registry_.currentTool = tool;
    ToolMessage message{};
    message.tool = tool;
    return send(kCallerTool, kSelectorSelect, &message);
}

ErrorCode Host::toolMouse(const char* selector, VtgPoint point, uint32_t modifiers) {
    if (registry_.currentTool == nullptr)
        return kBadParameterErr;
    ToolMessage message{};
    message.tool = registry_.currentTool;
    message.cursor = point;
    message.modifiers = modifiers;
    return send(kCallerTool, selector, &message);
}

} // namespace hostapp
