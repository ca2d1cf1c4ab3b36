/*
 * vtg_base.h - the foundation of the host's plug-in interface.
 *
 * A plug-in is a shared library that exports one C function, PluginMain.
 * The host calls it with a caller string (the host subsystem that sends),
 * a selector string (what it wants) and a message record. Every message
 * record starts with a MessageHeader; the caller-specific records that
 * follow it are declared in vtg_messages.h.
 *
 * Everything the plug-in may ask of the host is offered as a suite: a
 * struct of function pointers acquired by name and version through the
 * BasicSuite found in every message. Each suite has its own header in this
 * folder. All strings are UTF-8 and NUL-terminated. Unless an operation
 * says otherwise, the host owns what it returns and the caller owns what it
 * passes in.
 */
#ifndef VTG_API_BASE_H
#define VTG_API_BASE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/*
 * ErrorCode: the result of every host operation and of PluginMain.
 * 0 is success. Small negative numbers are host errors; every other value
 * is a four-character code with its first character in the most
 * significant byte ("SEGM" is 0x5345474D).
 */
typedef int32_t ErrorCode;

#define VTG_FOURCC(a, b, c, d)                                                                     \
    ((ErrorCode)(((uint32_t)(uint8_t)(a) << 24) | ((uint32_t)(uint8_t)(b) << 16) |                 \
                 ((uint32_t)(uint8_t)(c) << 8) | (uint32_t)(uint8_t)(d)))

/* Error codes the host itself returns. */
#define kNoErr ((ErrorCode)0)
#define kOutOfMemoryErr ((ErrorCode)-108)                 /* a block could not be allocated */
#define kBadParameterErr VTG_FOURCC('P', 'A', 'R', 'M')   /* null or out-of-range argument  */
#define kSuiteNotFoundErr VTG_FOURCC('S', '!', 'F', 'd')  /* no suite of that name/version  */
#define kNotAcquiredErr VTG_FOURCC('!', 'A', 'c', 'q')    /* release of a suite not held    */
#define kDeadHandleErr VTG_FOURCC('D', 'E', 'A', 'D')     /* handle of a deleted object     */
#define kNoDocumentErr VTG_FOURCC('D', 'O', 'C', '?')     /* no document is open            */
#define kBufferTooSmallErr VTG_FOURCC('B', 'U', 'F', '<') /* text did not fit; it was cut   */
#define kCancelledErr VTG_FOURCC('S', 'T', 'O', 'P')      /* the user cancelled             */
#define kNotFoundErr VTG_FOURCC('!', 'F', 'N', 'D')       /* no such entry                  */

/*
 * Opaque handles. The host creates them and compares them by identity; a
 * plug-in never looks inside. A handle of an object that was deleted stays
 * detectable: passing it gives kDeadHandleErr, never undefined behaviour.
 */
#define VTG_DECLARE_HANDLE(name) typedef struct name##Opaque* name
VTG_DECLARE_HANDLE(PluginRef);         /* the host's handle of one loaded plug-in   */
VTG_DECLARE_HANDLE(AccessRef);         /* residency reference (access suite)        */
VTG_DECLARE_HANDLE(NotifierHandle);    /* a registered notifier                     */
VTG_DECLARE_HANDLE(ContextHandle);     /* a pushed application context              */
VTG_DECLARE_HANDLE(MenuItemHandle);    /* a registered menu item                    */
VTG_DECLARE_HANDLE(MenuGroupHandle);   /* a registered menu group                   */
VTG_DECLARE_HANDLE(ToolHandle);        /* a registered tool                         */
VTG_DECLARE_HANDLE(FilterHandle);      /* a registered filter                       */
VTG_DECLARE_HANDLE(LiveEffectHandle);  /* a registered live effect                  */
VTG_DECLARE_HANDLE(PluginGroupHandle); /* a registered plug-in group (live object)  */
VTG_DECLARE_HANDLE(AnnotatorHandle);   /* a registered annotator                    */
VTG_DECLARE_HANDLE(ActionHandle);      /* a registered recordable action            */
VTG_DECLARE_HANDLE(ValueBlockHandle);  /* the recorded values of one action event   */
VTG_DECLARE_HANDLE(ArtHandle);         /* one art object of a document              */
VTG_DECLARE_HANDLE(DrawerHandle);      /* the drawing port of an annotation message */
VTG_DECLARE_HANDLE(DocumentHandle);    /* an open document                          */
VTG_DECLARE_HANDLE(LayerHandle);       /* one layer of a document                   */
VTG_DECLARE_HANDLE(ViewHandle);        /* a view (window) onto a document           */
VTG_DECLARE_HANDLE(DictionaryHandle);  /* a dictionary of typed entries             */
VTG_DECLARE_HANDLE(GradientHandle);    /* a gradient definition of a document       */
VTG_DECLARE_HANDLE(PatternHandle);     /* a pattern definition of a document        */
VTG_DECLARE_HANDLE(SymbolHandle);      /* a symbol definition of a document         */

/*
 * The suite broker, found in every message.
 *
 * AcquireSuite: looks up the suite `name` at exactly `version` and stores a
 *   pointer to its function table in *suite. The table stays valid until the
 *   matching ReleaseSuite. Errors: kBadParameterErr for a null argument,
 *   kSuiteNotFoundErr when the host has no such name or version (then
 *   *suite is set to null).
 * ReleaseSuite: gives back one acquisition of `name` at `version`.
 *   Errors: kNotAcquiredErr when the suite was not held.
 */
typedef struct BasicSuite {
    ErrorCode (*AcquireSuite)(const char* name, int32_t version, const void** suite);
    ErrorCode (*ReleaseSuite)(const char* name, int32_t version);
} BasicSuite;

/*
 * The three fields every message record starts with.
 *  plugin  - the host's handle of this plug-in; passed back on every call
 *            that registers something.
 *  globals - a pointer-sized slot the host keeps between calls for the
 *            plug-in; whatever the plug-in leaves here comes back in the
 *            next message.
 *  basic   - the suite broker.
 */
typedef struct MessageHeader {
    PluginRef plugin;
    void* globals;
    const BasicSuite* basic;
} MessageHeader;

/* A point in document points, y axis up. */
typedef struct VtgPoint {
    double x, y;
} VtgPoint;

/* A rectangle in document points: left, top, right, bottom with top > bottom. */
typedef struct VtgRect {
    double left, top, right, bottom;
} VtgRect;

/* The one entry point of a plug-in library. */
typedef ErrorCode (*PluginMainProc)(const char* caller, const char* selector, void* message);

#if defined(__GNUC__)
#define VTG_EXPORT __attribute__((visibility("default")))
#else
#define VTG_EXPORT
#endif

#ifdef __cplusplus
}
#endif

#endif /* VTG_API_BASE_H */
