// registry.hpp - what plug-ins registered with the host: menus, filters,
// live effects, tools and annotators. Records are never freed while the
// host lives, so every handle stays comparable by identity.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/api/vtg_annotator_suite.h"
#include "host/api/vtg_base.h"
#include "host/plugin_groups.hpp"

struct MenuGroupHandleOpaque {
    PluginRef plugin = nullptr;
    std::string name;
    std::string nearGroup;                  // the group it was placed next to
    MenuItemHandleOpaque* parent = nullptr; // the item it is a sub-menu of
};

struct MenuItemHandleOpaque {
    PluginRef plugin = nullptr;
    std::string key;
    std::string group;
    std::string text;
    int32_t options = 0;
    bool checked = false;
    bool enabled = true;
    MenuGroupHandleOpaque* subMenu = nullptr;
};

struct FilterHandleOpaque {
    PluginRef plugin = nullptr;
    std::string category, title, name;
    void* token = nullptr;
};

struct LiveEffectHandleOpaque {
    PluginRef plugin = nullptr;
    std::string name, title;
    int32_t majorVersion = 0, minorVersion = 0, inputKinds = 0, styleFlags = 0;
    std::string menuCategory, menuTitle; // empty until its menu item is added
};

struct ToolHandleOpaque {
    PluginRef plugin = nullptr;
    std::string title, tooltip;
    int32_t darkIconId = 0, lightIconId = 0;
    int32_t group = 0, set = 0, options = 0;
    int32_t cursorId = 0;
    // The picture the host shows for cursorId: the SVG behind "CURS_<id>",
    // empty when the resources have none.
    std::string cursorImage;
};

struct AnnotatorHandleOpaque {
    PluginRef plugin = nullptr;
    std::string name;
    bool active = false;
};

namespace hostapp {

struct Registry {
    std::vector<std::unique_ptr<MenuGroupHandleOpaque>> menuGroups;
    std::vector<std::unique_ptr<MenuItemHandleOpaque>> menuItems;
    std::vector<std::unique_ptr<FilterHandleOpaque>> filters;
    std::vector<std::unique_ptr<LiveEffectHandleOpaque>> liveEffects;
    std::vector<std::unique_ptr<ToolHandleOpaque>> tools;
    std::vector<std::unique_ptr<AnnotatorHandleOpaque>> annotators;
    std::vector<std::unique_ptr<PluginGroupHandleOpaque>> pluginGroups;
    ToolHandleOpaque* currentTool = nullptr;
    FilterHandleOpaque* lastFilter = nullptr; // the last filter run with success
    std::vector<VtgViewRect> invalidated;     // view rectangles asked to redraw

    MenuGroupHandleOpaque* findMenuGroup(const std::string& name) const;
    MenuItemHandleOpaque* findMenuItem(const std::string& key) const;
    ToolHandleOpaque* findTool(const std::string& title) const;
    FilterHandleOpaque* findFilter(const std::string& name) const;
    LiveEffectHandleOpaque* findLiveEffect(const std::string& name) const;

    // Host menu groups that plug-in groups may be placed next to.
    static bool IsHostMenuGroup(const std::string& name);
};

} // namespace hostapp
