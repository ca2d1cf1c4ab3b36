// menus.hpp - the plug-in's menu tree and the routing of its items.
#pragma once

#include "core/plugin_globals.hpp"
#include "host/api/vtg_base.h"

namespace vtg {

// The menu texts of the fifteen live-object kinds, in kind order.
extern const char* const kLiveObjectMenuNames[kLiveObjectKindCount];

// Adds the group "QuorlowSoftwareDev_Plugins_Gr_Name" next to "Window
// Utilities", its sub-menu "VERTiGON6_Gr" and the items in it; the handles
// go to the globals.
ErrorCode RegisterMenus(PluginRef plugin);

// What a chosen menu item asks for.
struct MenuCommand {
    enum Kind { None, ShowPanel, LiveObject, Preferences, Help } kind = None;
    LiveObjectKind liveObject = kNoKind; // LiveObject only
};
MenuCommand IdentifyMenuItem(MenuItemHandle item);

} // namespace vtg
