/*
 * vtg_action_suite.h - recordable actions: registration, the host's
 * recording state, value blocks and recorded events.
 *
 * A plug-in registers each action it can replay once, at start-up. While
 * the user records, the plug-in records one event per operation: a value
 * block with the operation's parameters under four-character keys. To
 * replay, the host sends "Action Manager"/"Do Action" to the plug-in that
 * registered the action, with the user data given at registration and the
 * recorded block (DoActionMessage).
 */
#ifndef VTG_API_ACTION_SUITE_H
#define VTG_API_ACTION_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kActionSuiteName "Host Action Suite"
#define kActionSuiteVersion 1

/* Value types of a parameter description and of a stored value. */
#define kVtgActionInteger 0 /* 32-bit signed integer ("long")               */
#define kVtgActionBoolean 1 /* 0 or 1                                       */
#define kVtgActionEnum 2    /* an index with the item's text                */
#define kVtgActionReal 3    /* a double with a unit ("#Pxl", "#Prc", "#Ang", or "" for none) */
#define kVtgActionString 4  /* UTF-8 text                                   */

/* A key that the block does not hold, or holds with another type. */
#define kActionKeyMissingErr VTG_FOURCC('!', 'K', 'e', 'y')

/* One entry of a parameter description: what the host shows for a key of
 * a recorded event. */
typedef struct VtgActionParam {
    uint32_t key;      /* four-character key, VTG_FOURCC order               */
    int32_t type;      /* kVtgAction...                                      */
    const char* label; /* UTF-8; may be empty, not null                     */
} VtgActionParam;

#define kVtgUnitSize 8 /* room for a unit text with its terminator          */

typedef struct ActionSuite {
    /* RegisterAction: `name` is unique among the host's actions; `title` is
     * what the user sees; `userData` comes back in every "Do Action" of it.
     * The host copies the names and the description. Errors:
     * kBadParameterErr (null argument, count < 0, a name already taken). */
    ErrorCode (*RegisterAction)(PluginRef plugin, const char* name, const char* title,
                                int32_t version, const void* userData, const VtgActionParam* params,
                                int32_t count, ActionHandle* action);
    /* InRecordMode: 1 while the user records actions, else 0. */
    ErrorCode (*InRecordMode)(int32_t* recording);

    /* NewValueBlock: an empty block the caller owns until DisposeValueBlock
     * or until it is handed to RecordEvent (which copies it). */
    ErrorCode (*NewValueBlock)(ValueBlockHandle* block);
    ErrorCode (*DisposeValueBlock)(ValueBlockHandle block);

    /* Put...: stores a value under `key`, replacing one stored earlier. The
     * texts are copied. Errors: kBadParameterErr (null block or text). */
    ErrorCode (*PutInteger)(ValueBlockHandle block, uint32_t key, int32_t value);
    ErrorCode (*PutBoolean)(ValueBlockHandle block, uint32_t key, int32_t value);
    ErrorCode (*PutEnum)(ValueBlockHandle block, uint32_t key, const char* text, int32_t index);
    ErrorCode (*PutReal)(ValueBlockHandle block, uint32_t key, const char* unit, double value);
    ErrorCode (*PutString)(ValueBlockHandle block, uint32_t key, const char* text);

    /* Get...: reads a value stored under `key` with the same type. Errors:
     * kActionKeyMissingErr (no such key, or another type), kBadParameterErr
     * (null argument). GetEnum copies the item text into `text` when it is
     * not null; GetString and GetEnum return kBufferTooSmallErr when the
     * text was cut (on a character boundary). */
    ErrorCode (*GetInteger)(ValueBlockHandle block, uint32_t key, int32_t* value);
    ErrorCode (*GetBoolean)(ValueBlockHandle block, uint32_t key, int32_t* value);
    ErrorCode (*GetEnum)(ValueBlockHandle block, uint32_t key, int32_t* index, char* text,
                         size_t size);
    /* GetReal: the value and, when `unit` is not null, its unit text
     * (kVtgUnitSize bytes). An integer stored under the key is read as a
     * real with an empty unit. */
    ErrorCode (*GetReal)(ValueBlockHandle block, uint32_t key, double* value, char* unit);
    ErrorCode (*GetString)(ValueBlockHandle block, uint32_t key, char* text, size_t size);

    /* RecordEvent: appends an event of the action `name` with a copy of
     * `block` to the recording. Without recording it does nothing and
     * succeeds. Errors: kNotFoundErr (no action of that name). */
    ErrorCode (*RecordEvent)(const char* name, ValueBlockHandle block);
} ActionSuite;

#ifdef __cplusplus
}
#endif
#endif
