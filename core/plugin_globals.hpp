// plugin_globals.hpp - the one global state block of the plug-in
// ("VERTiGON4Globals", a host memory block reachable through gGlobals).
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "params/effect_params.hpp"
#include "params/live_params.hpp"
#include "params/live_storage.hpp"
#include "tools/tool_drag_state.hpp"

namespace vtg {

// Live-object kinds; -1 means none.
using LiveObjectKind = int16_t;
inline constexpr LiveObjectKind kNoKind = -1;

// Tool indexes; 3 and 7 are not used, -1 means none.
inline constexpr int16_t kNoTool = -1;
inline constexpr int16_t kTool3DRotate = 8;
inline constexpr int kToolSlots = 9;

// The four live effects, in registration order.
enum EffectIndex { kEffectFractalize = 0, kEffectWarp = 1, kEffectWave = 2, kEffectLens = 3 };
inline constexpr int kEffects = 4;

// Menu items kept in the globals.
inline constexpr int kPreferencesMenuItem = 0;

// Action indexes run from 2 (Border) to 12 (Shadow); 0 is the filter's.
inline constexpr int kActionSlots = 13;

inline constexpr std::size_t kScratchBufferSize = 0x20001;
inline constexpr std::size_t kPresetFolderSize = 300;

// The Live 3D Path panel's copy of `transformed` and the 3D rotate tool's
// gesture state.
struct ThreeDGlobals {
    int16_t panelTransformed; // the panel's "変換前 / 変換後" choice, 0 or 1
    int32_t dragging;         // the gesture found a 3D Path object
    ArtHandle object;         // the object being turned, null for none
    uint16_t outline[3];      // the outlines' colour
    int32_t centreLabel;      // the label shows the centre, not the angles
};

struct PluginGlobals {
    int32_t hostMajor, hostMinor, hostRevision;
    int32_t initialised;

    int16_t currentTool;
    ToolHandle tools[kToolSlots];
    int32_t toolCursorId;

    LiveObjectKind currentKind;
    LiveObjectKind panelKind;

    PluginGroupHandle groups[kLiveObjectKindCount];
    PluginGroupHandle olderGroupsMac[kOlderSlots];
    PluginGroupHandle olderGroupsWin[kOlderSlots];

    FilterHandle filter;
    LiveEffectHandle effects[kEffects];
    int32_t effectCount;
    MenuItemHandle liveObjectItems[kLiveObjectKindCount];
    MenuItemHandle showPanelItem;
    MenuItemHandle preferencesItem;
    MenuItemHandle helpItem;
    NotifierHandle selectionChangedNotifier;
    AnnotatorHandle annotator;
    int32_t annotationActive;
    void* cursorResource;

    // The four effects' settings, in EffectIndex order.
    FractalizeParams fractalizeParams;
    WarpEffectParams warpParams;
    WaveEffectParams waveParams;
    LensEffectParams lensParams;

    void* liveObjectParams[kLiveObjectKindCount]; // the kinds' ParamBlocks
    void* toolParams;                             // the current tool's ParamBlock
    char* scratch;                                // "Buffer", kScratchBufferSize bytes

    char presetFolder[kPresetFolderSize]; // UTF-8, ends in the separator
    int32_t presetHeaderVersion;

    int32_t rulerUnits;

    // The tools' drag state.
    ToolDragState drag;

    // Each live-object action's own index; the word's address is the
    // action's user data, so "Do Action" finds the kind through it.
    int16_t actionIndexes[kActionSlots];

    ThreeDGlobals threeD;
};

// The globals block, null outside start-up .. shut-down.
extern PluginGlobals* gGlobals;

} // namespace vtg
