/* vtg_panel_suite.h - floating panels of the host that hold a plug-in's
 * view, with a flyout menu. */
#ifndef VTG_API_PANEL_SUITE_H
#define VTG_API_PANEL_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kPanelSuiteName "Host Panel Suite"
#define kPanelSuiteVersion 1

VTG_DECLARE_HANDLE(PanelHandle);
VTG_DECLARE_HANDLE(FlyoutHandle);

/* Called when the user chooses flyout item `item` (numbered from 1). */
typedef void (*PanelFlyoutProc)(PanelHandle panel, int32_t item, void* data);
/* Called after the user resized the panel; sizes in panel units. */
typedef void (*PanelResizeProc)(PanelHandle panel, double width, double height, void* data);

/* Flyout item options. */
#define kFlyoutSeparator 0x1

typedef struct PanelSuite {
    /* --- flyout menus --- */
    ErrorCode (*NewFlyout)(FlyoutHandle* flyout);
    ErrorCode (*DisposeFlyout)(FlyoutHandle flyout);
    /* Appends an item; its number is its position from 1. */
    ErrorCode (*AppendFlyoutItem)(FlyoutHandle flyout, const char* text, int32_t options);
    /* Inserts an item before the item numbered `before` (count + 1: at the
     * end); the items from there on are renumbered. */
    ErrorCode (*InsertFlyoutItem)(FlyoutHandle flyout, int32_t before, const char* text,
                                  int32_t options);
    ErrorCode (*RemoveFlyoutItem)(FlyoutHandle flyout, int32_t item);
    ErrorCode (*CountFlyoutItems)(FlyoutHandle flyout, int32_t* count);
    ErrorCode (*EnableFlyoutItem)(FlyoutHandle flyout, int32_t item, int32_t enabled);
    ErrorCode (*CheckFlyoutItem)(FlyoutHandle flyout, int32_t item, int32_t checked);

    /* --- panels --- */
    /* Creates a hidden panel. `identifier` names it among the host's panels
     * (unique; a plug-in's preference prefix serves); `state` is the host's
     * initial docking state; the size is in panel units. The panel's
     * window exists once the panel has been shown. Errors: kBadParameterErr
     * (duplicate identifier, null argument). */
    ErrorCode (*NewPanel)(PluginRef plugin, const char* identifier, const char* title,
                          int32_t state, double width, double height, FlyoutHandle flyout,
                          PanelHandle* panel);
    ErrorCode (*DisposePanel)(PanelHandle panel);
    ErrorCode (*SetPanelTitle)(PanelHandle panel, const char* title);
    ErrorCode (*GetPanelTitle)(PanelHandle panel, char* buffer, size_t size);
    /* Icons of the collapsed panel: light and dark theme resource ids. */
    ErrorCode (*SetPanelIcons)(PanelHandle panel, int32_t lightIconId, int32_t darkIconId);
    ErrorCode (*ShowPanel)(PanelHandle panel, int32_t show);
    ErrorCode (*IsPanelShown)(PanelHandle panel, int32_t* shown);
    /* Position of the panel's top-left corner in panel units, counted from
     * where the host shows a new panel. */
    ErrorCode (*SetPanelPosition)(PanelHandle panel, const VtgPoint* position);
    ErrorCode (*GetPanelSize)(PanelHandle panel, double* width, double* height);
    ErrorCode (*SetPanelSize)(PanelHandle panel, double width, double height);
    /* Smallest, preferred and largest sizes in panel units. */
    ErrorCode (*SetPanelSizeLimits)(PanelHandle panel, double minWidth, double minHeight,
                                    double preferredWidth, double preferredHeight, double maxWidth,
                                    double maxHeight);
    /* The panel's window (a platform window id; 0 until it exists) and its
     * rectangle on the screen in pixels (left, top, right, bottom, y down). */
    ErrorCode (*GetPanelWindow)(PanelHandle panel, uint32_t* window);
    ErrorCode (*GetPanelWindowRect)(PanelHandle panel, int32_t rect[4]);
    ErrorCode (*SetPanelFlyoutProc)(PanelHandle panel, PanelFlyoutProc proc, void* data);
    ErrorCode (*SetPanelResizeProc)(PanelHandle panel, PanelResizeProc proc, void* data);
    /* The size of the whole screen in pixels. */
    ErrorCode (*GetScreenSize)(int32_t* width, int32_t* height);
} PanelSuite;

#ifdef __cplusplus
}
#endif
#endif
