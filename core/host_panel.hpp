// host_panel.hpp - creating and destroying the three shared host panels,
// with their flyout menus and remembered positions.
#pragma once

#include "host/api/vtg_base.h"
#include "host/api/vtg_panel_suite.h"

namespace vtg {

inline constexpr const char* kToolPanelPrefix = "__QrLw_VERTiGON4Tool_v46_PrefsPrefix__";
inline constexpr const char* kLivePanelPrefix = "__QrLw_VERTiGON4PG_v46_PrefsPrefix__";
inline constexpr const char* kHelpPanelPrefix = "__QrLw_VERTiGON4Help_v46_PrefsPrefix__";

// Flyout items.
inline constexpr int kFlyoutDefaults = 1;    // "初期設定"
inline constexpr int kFlyoutEditPresets = 3; // "プリセットを編集..."
inline constexpr int kFlyoutAbout = 6;       // "このプラグインについて..."
inline constexpr int kFlyoutFirstPreset = 7; // user presets from here on

// Creates the flyout (with the preset items when asked) and the panel
// titled "VERTiGON6", positions it from its "Location" preference or the
// cascade, and leaves it hidden.
ErrorCode CreateHostPanel(PluginRef plugin, PanelHandle* panel, FlyoutHandle* flyout,
                          bool presetItems, const char* prefix);
// Saves the panel's position under its prefix and destroys panel and
// flyout; both handles become null.
ErrorCode DestroyHostPanel(PanelHandle* panel, FlyoutHandle* flyout, const char* prefix);
// The next cascade position in pixels.
VtgPoint DefaultPanelPosition();

// The process-wide placement state (tests reset it).
struct PanelPlacement {
    bool measured = false;
    int32_t originX = 0, originY = 0; // the first panel's window, pixels
    double scale = 1.0;               // pixels per panel unit
    int32_t cascade = 0;
};
PanelPlacement& CurrentPanelPlacement();

} // namespace vtg
