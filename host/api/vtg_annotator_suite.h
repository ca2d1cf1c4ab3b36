/* vtg_annotator_suite.h - drawing over the document view. */
#ifndef VTG_API_ANNOTATOR_SUITE_H
#define VTG_API_ANNOTATOR_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kAnnotatorSuiteName "Host Annotator Suite"
#define kAnnotatorSuiteVersion 1

/* A rectangle in whole view pixels, y down. */
typedef struct VtgViewRect {
    int32_t left, top, right, bottom;
} VtgViewRect;

typedef struct AnnotatorSuite {
    /* Registers an annotator. While active, the host sends
     * "Host Annotation"/"Host Draw" whenever it redraws a view. */
    ErrorCode (*AddAnnotator)(PluginRef plugin, const char* name, AnnotatorHandle* annotator);
    ErrorCode (*SetAnnotatorActive)(AnnotatorHandle annotator, int32_t active);
    ErrorCode (*IsAnnotatorActive)(AnnotatorHandle annotator, int32_t* active);
    /* Asks every view to redraw `rect` (view pixels). */
    ErrorCode (*InvalidateRect)(const VtgViewRect* rect);
} AnnotatorSuite;

#ifdef __cplusplus
}
#endif
#endif
