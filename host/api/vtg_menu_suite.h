/* vtg_menu_suite.h - the host's menus. */
#ifndef VTG_API_MENU_SUITE_H
#define VTG_API_MENU_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kMenuSuiteName "Host Menu Suite"
#define kMenuSuiteVersion 1

/* Host menu groups a plug-in may place its own groups next to. */
#define kWindowUtilitiesMenuGroup "Window Utilities"

/* Menu item options. */
#define kMenuItemSeparator 0x1 /* the item is a separator line */

typedef struct MenuSuite {
    /* Adds a menu group `name` placed next to the host's group `nearGroup`.
     * Errors: kBadParameterErr (unknown near group, empty or duplicate name). */
    ErrorCode (*AddMenuGroup)(PluginRef plugin, const char* name, const char* nearGroup,
                              MenuGroupHandle* group);
    /* Adds an item at the end of the group named `groupName`. `key` names the
     * item uniquely in the plug-in; `text` is what the menu shows (UTF-8).
     * Choosing it sends "Host Menu"/"Host Go" with the handle; before the menu
     * opens the host sends "Host Menu"/"Host Update" for each item.
     * Errors: kBadParameterErr (unknown group, duplicate key). */
    ErrorCode (*AddMenuItem)(PluginRef plugin, const char* key, const char* groupName,
                             const char* text, int32_t options, MenuItemHandle* item);
    /* Turns an item into a sub-menu holding the new group `groupName`. */
    ErrorCode (*MakeSubMenu)(MenuItemHandle item, const char* groupName, MenuGroupHandle* group);
    /* Check mark and enabled state of an item. */
    ErrorCode (*CheckItem)(MenuItemHandle item, int32_t checked);
    ErrorCode (*EnableItem)(MenuItemHandle item, int32_t enabled);
    /* The key of an item, copied to buffer. kBufferTooSmallErr when cut. */
    ErrorCode (*GetItemKey)(MenuItemHandle item, char* buffer, size_t size);
} MenuSuite;

#ifdef __cplusplus
}
#endif
#endif
