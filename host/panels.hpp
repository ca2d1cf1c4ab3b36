// panels.hpp - the host's floating panels and their flyout menus.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/api/vtg_panel_suite.h"

struct FlyoutHandleOpaque {
    struct Item {
        std::string text;
        int32_t options = 0;
        bool enabled = true;
        bool checked = false;
    };
    std::vector<Item> items; // item n is items[n - 1]
};

struct PanelHandleOpaque {
    PluginRef plugin = nullptr;
    std::string identifier, title;
    int32_t state = 0;
    double width = 0, height = 0; // panel units
    double minWidth = 0, minHeight = 0, preferredWidth = 0, preferredHeight = 0, maxWidth = 0,
           maxHeight = 0;
    FlyoutHandleOpaque* flyout = nullptr;
    int32_t lightIcon = 0, darkIcon = 0;
    bool shown = false;
    VtgPoint position{}; // panel units
    uint32_t window = 0; // platform window, created when first shown
    PanelFlyoutProc flyoutProc = nullptr;
    void* flyoutData = nullptr;
    PanelResizeProc resizeProc = nullptr;
    void* resizeData = nullptr;
};

namespace hostapp {

struct Panels {
    std::vector<std::unique_ptr<FlyoutHandleOpaque>> flyouts;
    std::vector<std::unique_ptr<PanelHandleOpaque>> panels;
    // Pixels per panel unit, and the screen in pixels; tests set others.
    double scale = 1.0;
    int32_t screenWidth = 1920, screenHeight = 1080;
    // Where the host puts a panel window before the plug-in positions it.
    int32_t originX = 40, originY = 60;

    PanelHandleOpaque* find(const std::string& identifier) const;
    bool owns(const PanelHandleOpaque* panel) const;
    bool owns(const FlyoutHandleOpaque* flyout) const;
};

} // namespace hostapp
