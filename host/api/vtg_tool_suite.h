/* vtg_tool_suite.h - tools in the host's toolbox. */
#ifndef VTG_API_TOOL_SUITE_H
#define VTG_API_TOOL_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kToolSuiteName "Host Tool Suite"
#define kToolSuiteVersion 1

/* Placement of a new tool: a new group or set, or beside a tool. */
#define kToolNewGroup (-1)
#define kToolNewSet (-1)

typedef struct ToolDefinition {
    const char* title; /* the tool's name, also its tooltip           */
    const char* tooltip;
    int32_t darkIconId; /* icon resource ids                            */
    int32_t lightIconId;
    int32_t group;   /* a group number, or kToolNewGroup             */
    int32_t set;     /* a set number within the group, or kToolNewSet */
    int32_t options; /* host tool options                            */
} ToolDefinition;

/* Parts of a path a hit test can meet (VtgHitRecord.part). */
#define kVtgHitNone 0    /* nothing within reach                          */
#define kVtgHitAnchor 1  /* an anchor point                               */
#define kVtgHitSegment 3 /* the curve between two anchors                 */

/* What lies under a document point: the front-most visible, unlocked path
 * whose curve passes within 3 view pixels of it. */
typedef struct VtgHitRecord {
    ArtHandle art;   /* the path, null when nothing was hit                   */
    int32_t part;    /* kVtgHit...                                            */
    int32_t segment; /* the anchor the piece starts at (the anchor hit)       */
    double t;        /* curve parameter within that piece (0 for an anchor)   */
    VtgPoint point;  /* the point of the curve nearest the probe               */
} VtgHitRecord;

typedef struct ToolSuite {
    /* Adds a tool. Errors: kBadParameterErr (unknown group or set,
     * duplicate title). */
    ErrorCode (*AddTool)(PluginRef plugin, const ToolDefinition* definition, ToolHandle* tool);
    /* The group and set numbers of the tool titled `title`.
     * kNotFoundErr when there is none. */
    ErrorCode (*GetToolPlace)(const char* title, int32_t* group, int32_t* set);
    /* The tool the user is working with; null when it is not a plug-in's. */
    ErrorCode (*GetCurrentTool)(ToolHandle* tool);
    /* Shows the cursor resource `cursorId` while the tool is over a document. */
    ErrorCode (*SetToolCursor)(ToolHandle tool, int32_t cursorId);
    /* HitTest: what lies under `point` in the current document (see
     * VtgHitRecord); a miss is success with part kVtgHitNone.
     * Errors: kNoDocumentErr, kBadParameterErr. */
    ErrorCode (*HitTest)(const VtgPoint* point, VtgHitRecord* hit);
} ToolSuite;

#ifdef __cplusplus
}
#endif
#endif
