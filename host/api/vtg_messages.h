/*
 * vtg_messages.h - callers, selectors and message records.
 *
 * The host calls PluginMain(caller, selector, message). The caller names the
 * host subsystem, the selector what it asks; both are compared exactly and
 * case-sensitively. `message` points to one of the records below, chosen by
 * the caller; each starts with a MessageHeader. Fields are read-only for the
 * plug-in unless marked "out".
 */
#ifndef VTG_API_MESSAGES_H
#define VTG_API_MESSAGES_H

#include "host/api/vtg_base.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- callers ------------------------------------------------------------ */
#define kCallerBaseAccess "Base Access"
#define kCallerBaseInterface "Base Interface"
#define kCallerBaseCache "Base Cache"
#define kCallerBaseProperties "Base Properties"
#define kCallerNotifier "Host Notifier"
#define kCallerActionManager "Action Manager"
#define kCallerMenu "Host Menu"
#define kCallerFilter "Host Filter"
#define kCallerPluginGroup "Host Plugin Group"
#define kCallerFileFormat "Host File Format"
#define kCallerTool "Host Tool"
#define kCallerLiveEffect "Host Live Effect"
#define kCallerTimer "Host Timer"
#define kCallerClipboard "Host Clipboard"
#define kCallerWorkspace "Workspace Manager"
#define kCallerAnnotation "Host Annotation"

/* ---- selectors ---------------------------------------------------------- */
#define kSelectorUnload "Unload"
#define kSelectorReload "Reload"
#define kSelectorAbout "About"
#define kSelectorStartup "Startup"
#define kSelectorShutdown "Shutdown"
#define kSelectorPurge "Plug-in Purge"
#define kSelectorAcquire "Acquire"
#define kSelectorRelease "Release"
#define kSelectorNotify "Host Notify"
#define kSelectorDoAction "Do Action"
#define kSelectorGo "Host Go"
#define kSelectorUpdate "Host Update"
#define kSelectorGetParameters "Host Get Parameters"
#define kSelectorNotifyEdits "Host Notify Edits"
#define kSelectorCheck "Host Check"
#define kSelectorFileFormatUpdate "Host Update H140"
#define kSelectorEditOptions "Host Edit Options"
#define kSelectorTrackCursor "Host Track Cursor"
#define kSelectorMouseDown "Host Mouse Down"
#define kSelectorMouseDrag "Host Mouse Drag"
#define kSelectorMouseUp "Host Mouse Up"
#define kSelectorSelect "Host Select"
#define kSelectorDeselect "Host Deselect"
#define kSelectorReselect "Host Reselect"
#define kSelectorDecreaseDiameter "Host Decrease Diameter"
#define kSelectorIncreaseDiameter "Host Increase Diameter"
#define kSelectorEffectEditParameters "Host Live Effect Edit Parameters"
#define kSelectorEffectGoLive "Host Live Effect Go Live"
#define kSelectorEffectInterpolate "Host Live Effect Interpolate Parameters"
#define kSelectorEffectInputType "Host Live Effect Input Type"
#define kSelectorEffectScaleParameters "Host Live Effect Scale Parameters"
#define kSelectorEffectConvertColorSpace "Host Live Effect Convert Color Space"
#define kSelectorEffectAdjustColors "Host Live Effect Adjust Colors"
#define kSelectorEffectHandleMerge "Host Live Effect Handle Merge"
#define kSelectorCanCopy "Host Can Copy"
#define kSelectorClone "Host Clone"
#define kSelectorDispose "Host Dispose"
#define kSelectorWriteWorkspace "Write Workspace"
#define kSelectorRestoreWorkspace "Restore Workspace"
#define kSelectorDefaultWorkspace "Default Workspace"
#define kSelectorDraw "Host Draw"
#define kSelectorInvalidate "Host Invalidate"

/* ---- notifier types ----------------------------------------------------- */
#define kNotifyAppStarted "Host Application Started Notifier"
#define kNotifyAppShutdown "Host Application Shutdown Notifier"
#define kNotifyColorModelChanged "Host Document Color Model Changed Notifier"
#define kNotifyRulerUnitChanged "Host Document Ruler Unit Changed Notifier"
#define kNotifySelectionChanged "Host Art Selection Changed Notifier"
#define kNotifyDocumentOpened "Host Document Opened Notifier"
#define kNotifyDocumentClosed "Host Document Closed Notifier"
#define kNotifyDocumentChanged "Host Document Changed Notifier"
#define kNotifySymbolSetChanged "Host Art Symbol Set Detailed Change Notifier"

/* ---- records ------------------------------------------------------------ */

/* "Base Interface", "Base Access", "Base Cache", "Base Properties" and every
 * caller without its own record: the header alone. */
typedef struct BasicMessage {
    MessageHeader d;
} BasicMessage;

/* "Host Notifier" / "Host Notify". `data` depends on the notifier type: a
 * NUL-terminated text for a plug-in's own notifier, otherwise null unless the
 * type's documentation says otherwise. */
typedef struct NotifierMessage {
    MessageHeader d;
    NotifierHandle notifier; /* the registered notifier addressed */
    const char* type;        /* its notifier type                  */
    const void* data;        /* notification data, may be null     */
} NotifierMessage;

/* "Host Menu" / "Host Go", "Host Update". */
typedef struct MenuMessage {
    MessageHeader d;
    MenuItemHandle menuItem; /* the item chosen or to be updated */
} MenuMessage;

/* "Host Filter" / "Host Get Parameters", "Host Go". */
typedef struct FilterMessage {
    MessageHeader d;
    FilterHandle filter;
} FilterMessage;

/* "Host Plugin Group" / "Host Notify Edits", "Host Update" and others. */
typedef struct PluginGroupMessage {
    MessageHeader d;
    PluginGroupHandle group; /* the registered group addressed           */
    ArtHandle art;           /* the plug-in art concerned, may be null   */
} PluginGroupMessage;

/* Modifier bits of ToolMessage.modifiers. */
#define kModifierCancel 0x0002u /* set on a mouse-up that cancels the drag */
#define kModifierCtrl 0x0100u
#define kModifierShift 0x0200u
#define kModifierAlt 0x0800u

/* "Host Tool" / every selector. Cursor and event fields are meaningful for
 * "Host Track Cursor" and the three mouse selectors. */
typedef struct ToolMessage {
    MessageHeader d;
    ToolHandle tool;    /* the registered tool addressed          */
    VtgPoint cursor;    /* pointer position in document points    */
    int32_t timestamp;  /* event time in milliseconds             */
    uint32_t modifiers; /* kModifier... bits                      */
} ToolMessage;

/* "Host Annotation" / "Host Draw", "Host Invalidate". */
typedef struct AnnotationMessage {
    MessageHeader d;
    AnnotatorHandle annotator;
    DrawerHandle drawer; /* "Host Draw" only; null otherwise */
} AnnotationMessage;

/* "Action Manager" / "Do Action". */
typedef struct DoActionMessage {
    MessageHeader d;
    ActionHandle action;
    const void* userData;    /* the user data given at registration     */
    ValueBlockHandle values; /* the recorded values (action suite); the host owns them */
    int32_t showDialog;      /* 1 when the host asks for the dialog     */
} DoActionMessage;

/* "Host Live Effect" / "Host Live Effect Edit Parameters". The dialog edits
 * `parameters`; to preview, the plug-in asks the host (live effect suite)
 * with `preview`, and the host runs "Go Live" on a preview copy. */
typedef struct LiveEffectEditMessage {
    MessageHeader d;
    LiveEffectHandle effect;
    DictionaryHandle parameters; /* in and out                               */
    int32_t isNewInstance;       /* 1 when the effect is being added         */
    void* preview;               /* the preview context, handed back as is   */
} LiveEffectEditMessage;

/* "Host Live Effect" / "Host Live Effect Go Live": apply the effect to `art`
 * (a copy of the source art, changed in place). */
typedef struct LiveEffectGoMessage {
    MessageHeader d;
    LiveEffectHandle effect;
    DictionaryHandle parameters;
    ArtHandle art;
} LiveEffectGoMessage;

/* "Host Live Effect" / "Host Live Effect Interpolate Parameters": write into
 * `output` the parameters a fraction `fraction` of the way between `start`
 * and `end`. */
typedef struct LiveEffectInterpolateMessage {
    MessageHeader d;
    LiveEffectHandle effect;
    DictionaryHandle start, end, output;
    double fraction;
} LiveEffectInterpolateMessage;

/* "Host Live Effect" / "Host Live Effect Scale Parameters": the art is being
 * scaled by `scale`; set `scaled` (out) to 1 when the parameters were. */
typedef struct LiveEffectScaleMessage {
    MessageHeader d;
    LiveEffectHandle effect;
    DictionaryHandle parameters;
    double scale;
    int32_t scaled;
} LiveEffectScaleMessage;

/* Large enough for any record above; the host zero-fills a bare message of
 * this size so that a plug-in reading caller-specific fields of a message
 * sent without them sees nulls. */
typedef union AnyMessage {
    BasicMessage basic;
    NotifierMessage notifier;
    MenuMessage menu;
    FilterMessage filter;
    PluginGroupMessage group;
    ToolMessage tool;
    AnnotationMessage annotation;
    DoActionMessage action;
    LiveEffectEditMessage effectEdit;
    LiveEffectGoMessage effectGo;
    LiveEffectInterpolateMessage effectInterpolate;
    LiveEffectScaleMessage effectScale;
    unsigned char reserve[256];
} AnyMessage;

#ifdef __cplusplus
}
#endif

#endif /* VTG_API_MESSAGES_H */
