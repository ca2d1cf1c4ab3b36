/* vtg_annotator_suite.h - drawing over the document view. */
#ifndef VTG_API_ANNOTATOR_SUITE_H
#define VTG_API_ANNOTATOR_SUITE_H
#include "host/api/vtg_base.h"
#include "host/api/vtg_document_suite.h"
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

    /* Drawing on the port of a "Host Draw" message, in view pixels. */
    /* MeasureText: the box the text takes when drawn with its baseline's
     * left end at `at`. */
    ErrorCode (*MeasureText)(DrawerHandle drawer, const char* text, const VtgViewPoint* at,
                             VtgViewRect* rect);
    /* SetDrawColor: the colour of the following fills and texts, 16 bits a
     * channel. */
    ErrorCode (*SetDrawColor)(DrawerHandle drawer, uint16_t red, uint16_t green, uint16_t blue);
    ErrorCode (*FillRect)(DrawerHandle drawer, const VtgViewRect* rect);
    ErrorCode (*DrawText)(DrawerHandle drawer, const char* text, const VtgViewPoint* at);
    /* SetLineWidth: the width of the following lines, in pixels. */
    ErrorCode (*SetLineWidth)(DrawerHandle drawer, double width);
    /* DrawBezierPath: strokes one path: points[0] is the first anchor, then
     * each piece adds its out handle, in handle and end anchor (count =
     * 1 + 3 * pieces). Errors: kBadParameterErr for a null pointer or a
     * count that is not 1 + 3n. */
    ErrorCode (*DrawBezierPath)(DrawerHandle drawer, const VtgViewPoint* points, int32_t count);
} AnnotatorSuite;

#ifdef __cplusplus
}
#endif
#endif
