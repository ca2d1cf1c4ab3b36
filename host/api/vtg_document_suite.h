/*
 * vtg_document_suite.h - the current document: selection, units, colour
 * model, layers, redraw and views.
 *
 * Every operation works on the current (front-most) document; with no
 * document open it returns kNoDocumentErr ("DOC?"), which callers treat as a
 * state, not as a failure to report.
 */
#ifndef VTG_API_DOCUMENT_SUITE_H
#define VTG_API_DOCUMENT_SUITE_H
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kDocumentSuiteName "Host Document Suite"
#define kDocumentSuiteVersion 1

/* Ruler units (codes of GetRulerUnits). */
#define kVtgUnitInches 1
#define kVtgUnitCentimeters 2
#define kVtgUnitPoints 3
#define kVtgUnitPicas 4
#define kVtgUnitMillimeters 5
#define kVtgUnitPixels 6
#define kVtgUnitFeet 7
#define kVtgUnitFeetInches 8
#define kVtgUnitYards 9
#define kVtgUnitMeters 10
#define kVtgUnitQ 11 /* Japanese Q (0.25 mm) */

/* Colour models (GetColorModel). */
#define kVtgColorModelGray 0
#define kVtgColorModelRGB 1
#define kVtgColorModelCMYK 2
#define kVtgColorModelUnknown 3

/* View style bits. */
#define kVtgViewOutline 1
#define kVtgViewPreview 2

/* A point of a view in whole pixels, y axis down. */
typedef struct VtgViewPoint {
    int32_t h, v;
} VtgViewPoint;

/* One condition of GetMatchingArt: art of `kind` whose attributes masked by
 * `attrMask` equal `attrValue`. */
typedef struct VtgArtMatch {
    int32_t kind;
    int32_t attrMask;
    int32_t attrValue;
} VtgArtMatch;

/* The block name of the lists GetSelectedArt and GetMatchingArt return. */
#define kVtgArtListBlockName "Host Art List"

typedef struct DocumentSuite {
    /* GetDocument: the current document. Errors: kNoDocumentErr. */
    ErrorCode (*GetDocument)(DocumentHandle* document);
    /* GetPageSize: the page width and height in points. */
    ErrorCode (*GetPageSize)(double* width, double* height);

    /* GetSelectedArt: the selection as a list of art handles.
     *   entry 0      - the container: the innermost group that holds every
     *                  selected art (a layer group when they lie on several
     *                  layers: the layer group of the first one);
     *   entries 1..  - every selected art in document order (front to back,
     *                  depth first), each container followed by its
     *                  selected descendants.
     * Art inside plug-in art (its edit and result groups) is not listed.
     * With nothing selected *count is 0 and *list null. Otherwise *list is a
     * memory block (name kVtgArtListBlockName) of *count handles that the
     * caller frees with the memory suite's FreeBlock.
     * Errors: kNoDocumentErr, kOutOfMemoryErr (nothing is returned). */
    ErrorCode (*GetSelectedArt)(ArtHandle** list, int32_t* count);
    /* GetMatchingArt: every art of the document, in document order, that
     * meets one of the `matchCount` conditions; no container entry. Art inside
     * plug-in art is not visited. Ownership and errors as GetSelectedArt. */
    ErrorCode (*GetMatchingArt)(const VtgArtMatch* matches, int32_t matchCount, ArtHandle** list,
                                int32_t* count);
    /* SelectNone: deselects all art. */
    ErrorCode (*SelectNone)(void);

    /* GetRulerUnits: a kVtgUnit... code. */
    ErrorCode (*GetRulerUnits)(int32_t* units);
    /* GetColorModel: a kVtgColorModel... code. */
    ErrorCode (*GetColorModel)(int32_t* model);

    /* --- layers: ordered from the front-most (index 0) ------------------- */
    ErrorCode (*CountLayers)(int32_t* count);
    /* GetNthLayer: kBadParameterErr out of range. */
    ErrorCode (*GetNthLayer)(int32_t index, LayerHandle* layer);
    ErrorCode (*GetCurrentLayer)(LayerHandle* layer);
    /* SetCurrentLayer: kDeadHandleErr for a layer of another document. */
    ErrorCode (*SetCurrentLayer)(LayerHandle layer);
    /* InsertLayer: a new empty, visible, unlocked layer at `paintOrder`
     * (kVtgPlaceAbove, kVtgPlaceBelow relative to `reference`;
     * kVtgPlaceAboveAll in front of every layer). It is not made current. */
    ErrorCode (*InsertLayer)(LayerHandle reference, int32_t paintOrder, LayerHandle* layer);
    /* GetLayerGroup: the layer's own root group. */
    ErrorCode (*GetLayerGroup)(LayerHandle layer, ArtHandle* group);
    /* GetFirstArtOfLayer: the front-most art of the layer, or null. */
    ErrorCode (*GetFirstArtOfLayer)(LayerHandle layer, ArtHandle* art);
    /* GetLayerName: copied into buffer as GetArtName does. */
    ErrorCode (*GetLayerName)(LayerHandle layer, char* buffer, size_t size);
    ErrorCode (*SetLayerName)(LayerHandle layer, const char* name);
    /* GetLayerColor: the layer's colour as three 16-bit components. */
    ErrorCode (*GetLayerColor)(LayerHandle layer, uint16_t* red, uint16_t* green, uint16_t* blue);
    /* GetLayerFlags / SetLayerFlags: visible and locked, 0 or 1. */
    ErrorCode (*GetLayerFlags)(LayerHandle layer, int32_t* visible, int32_t* locked);
    ErrorCode (*SetLayerFlags)(LayerHandle layer, int32_t visible, int32_t locked);

    /* Redraw: asks the host to draw the document again. */
    ErrorCode (*Redraw)(void);

    /* --- views ------------------------------------------------------------
     * A view shows the document at a zoom factor; its origin (pixel 0, 0) is
     * a document point at its top-left corner. */
    ErrorCode (*GetFrontView)(ViewHandle* view);
    /* GetViewBounds: the document rectangle the view shows. */
    ErrorCode (*GetViewBounds)(ViewHandle view, VtgRect* bounds);
    /* DocumentToView: a document point to whole view pixels (rounded to the
     * nearest), y down. ViewToDocument is its inverse for pixel centres. */
    ErrorCode (*DocumentToView)(ViewHandle view, const VtgPoint* point, VtgViewPoint* out);
    ErrorCode (*ViewToDocument)(ViewHandle view, const VtgViewPoint* point, VtgPoint* out);
    ErrorCode (*GetViewZoom)(ViewHandle view, double* zoom);
    /* Guide display, edge display (selection edges) and style bits
     * (kVtgViewOutline, kVtgViewPreview) of a view. */
    ErrorCode (*GetGuideDisplay)(ViewHandle view, int32_t* shown);
    ErrorCode (*SetGuideDisplay)(ViewHandle view, int32_t shown);
    ErrorCode (*GetEdgeDisplay)(ViewHandle view, int32_t* shown);
    ErrorCode (*SetEdgeDisplay)(ViewHandle view, int32_t shown);
    ErrorCode (*GetViewStyle)(ViewHandle view, int32_t* style);
    ErrorCode (*SetViewStyle)(ViewHandle view, int32_t style);
} DocumentSuite;

#ifdef __cplusplus
}
#endif
#endif
