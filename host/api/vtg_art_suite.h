/*
 * vtg_art_suite.h - art objects: kinds, the art tree, attributes, bounds
 * and transforms.
 *
 * A document holds layers; each layer owns one root group (a "layer
 * group") whose descendants are the layer's art. Children of a container
 * are ordered from the front-most (the first child) to the back-most (the
 * last child); the next sibling of an art lies behind it.
 *
 * Every ArtHandle stays detectable after its art is deleted: any later use
 * gives kDeadHandleErr. Handles are never reused during the host's life.
 * An operation that fails changes nothing.
 */
#ifndef VTG_API_ART_SUITE_H
#define VTG_API_ART_SUITE_H
#include "host/api/vtg_base.h"
#include "host/api/vtg_math_suite.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kArtSuiteName "Host Art Suite"
#define kArtSuiteVersion 1

/* --- art kinds ------------------------------------------------------------
 * The numbers are part of the interface and of the document format. */
#define kVtgArtGroup 1        /* ordered children; may be a clipping group        */
#define kVtgArtPath 2         /* one Bezier path (vtg_path_suite.h)                */
#define kVtgArtCompoundPath 3 /* paths painted as one shape; holes by even-odd     */
/* Point text: a single line of text placed at a point, without a frame. Like a
 * path it may act as a clipping path and as a cut-out shape; features that
 * need whole text frames refuse it. */
#define kVtgArtPointText 4
#define kVtgArtPlaced 5         /* a linked image or file, placed by a matrix       */
#define kVtgArtRaster 6         /* embedded pixels, placed by a matrix              */
#define kVtgArtSymbolInstance 7 /* an instance of a symbol definition, by a matrix */
/* Brushed path: a path drawn with a brush along it. It has a fill and a stroke
 * style and is selected by the tools like a path, but its segments are the
 * brush's spine and are not offered by the path suite. */
#define kVtgArtBrushedPath 8
/* Envelope: art held inside a distorting envelope shape. Only its fill colour
 * is reachable through the paint style; its content is not walked. */
#define kVtgArtEnvelope 9
#define kVtgArtPlugin 10    /* plug-in art: a live object with edit and result groups */
#define kVtgArtMesh 11      /* a gradient mesh                                         */
#define kVtgArtTextFrame 12 /* a text frame (area text)                             */
/* Foreign art: a part of an opened document that this host does not model. It
 * is kept and written back unchanged; it cannot be created. */
#define kVtgArtForeign 13

/* --- paint orders: where new, duplicated or moved art goes ------------------
 * relative to a reference art. */
#define kVtgPlaceAbove 1          /* in front of the reference, same container    */
#define kVtgPlaceBelow 2          /* behind the reference, same container         */
#define kVtgPlaceInsideOnTop 3    /* first (front-most) child of the reference    */
#define kVtgPlaceInsideOnBottom 4 /* last (back-most) child of the reference    */
/* In front of everything: first child of the reference's layer group, or of
 * the current layer's group when the reference is null. */
#define kVtgPlaceAboveAll 5

/* --- attribute bits --------------------------------------------------------*/
#define kVtgArtSelected 0x01 /* selected; selecting a container selects its subtree */
#define kVtgArtLocked 0x02   /* locked: not selectable by the user                 */
#define kVtgArtHidden 0x04   /* hidden: not drawn, kept                            */
/* Read only: a container whose every descendant is selected (for a leaf art the
 * same as kVtgArtSelected). Ignored by SetArtAttributes. */
#define kVtgArtFullySelected 0x08
#define kVtgArtGuide 0x10 /* a path drawn as a guide, never printed            */
/* On a group: a clipping group (its front-most path clips the rest). On a path
 * or compound path: the path is a clipping path. */
#define kVtgArtClipping 0x20

/* --- bounds options ---------------------------------------------------------*/
/* Visible bounds: the control box of the geometry, widened by half the stroke
 * width of stroked paths. */
#define kVtgBoundsVisible 0
/* The exact box of the curves (their extreme points). */
#define kVtgBoundsGeometry 1
/* The box of every anchor and control point. */
#define kVtgBoundsControlPoints 2

/* --- transform options (bits) ------------------------------------------------*/
#define kVtgTransformObjects 0x001        /* anchors, handles, placement matrices   */
#define kVtgTransformFillGradients 0x002  /* the matrix of a gradient fill          */
#define kVtgTransformFillPatterns 0x004   /* the matrix of a pattern fill           */
#define kVtgTransformStrokePatterns 0x008 /* the matrix of a pattern stroke        */
/* Stroke widths and dash lengths are multiplied by the lineScale argument;
 * without this bit they are unchanged whatever lineScale says. */
#define kVtgTransformLineWidths 0x010
#define kVtgTransformStrokeGradients 0x400 /* the matrix of a gradient stroke      */
/* The usual placement: the object with its fill and stroke gradients and
 * patterns, stroke weights unchanged (0x40F). */
#define kVtgTransformAll 0x40F

/* The art handle is of another kind than the operation needs. */
#define kWrongArtKindErr VTG_FOURCC('K', 'I', 'N', 'D')
/* The reference lies inside the moved art, or the place cannot hold the art
 * (a layer group cannot be moved, deleted or duplicated; a compound path
 * holds paths only). */
#define kCannotPlaceErr VTG_FOURCC('P', 'L', 'C', '?')

typedef struct ArtSuite {
    /* NewArt: creates an empty art of `kind` (kVtgArtGroup, kVtgArtPath,
     * kVtgArtCompoundPath, kVtgArtPlugin, kVtgArtTextFrame, kVtgArtPointText,
     * kVtgArtPlaced, kVtgArtRaster, kVtgArtSymbolInstance, kVtgArtMesh,
     * kVtgArtBrushedPath, kVtgArtEnvelope) at `paintOrder` relative to
     * `reference` (null: the current layer's group with kVtgPlaceInsideOnTop,
     * kVtgPlaceInsideOnBottom or kVtgPlaceAboveAll). A new path has no segments
     * and the document's default style; a new plug-in art gets an empty edit
     * group and an empty result group. *art is owned by the document.
     * Errors: kNoDocumentErr, kBadParameterErr (unknown kind or order, null
     * out pointer), kDeadHandleErr (reference), kCannotPlaceErr (inside order
     * with a reference that is not a container; above or below a layer group). */
    ErrorCode (*NewArt)(int32_t kind, int32_t paintOrder, ArtHandle reference, ArtHandle* art);
    /* DuplicateArt: a deep copy of `art` (children, segments, styles,
     * dictionary, tags, plug-in data, name) placed as NewArt places. The copy
     * is not selected. Errors: as NewArt, and kCannotPlaceErr for a layer
     * group or a reference inside `art`. */
    ErrorCode (*DuplicateArt)(ArtHandle art, int32_t paintOrder, ArtHandle reference,
                              ArtHandle* copy);
    /* MoveArt: moves `art` (with its subtree) to `paintOrder` relative to
     * `reference`. Errors: as DuplicateArt. */
    ErrorCode (*MoveArt)(ArtHandle art, int32_t paintOrder, ArtHandle reference);
    /* DeleteArt: deletes `art` and its subtree; every handle of them is dead
     * from now on (undo and revert bring them back alive).
     * Errors: kDeadHandleErr, kCannotPlaceErr (a layer group). */
    ErrorCode (*DeleteArt)(ArtHandle art);

    /* GetArtKind: one of the kVtgArt... numbers. Errors: kDeadHandleErr. */
    ErrorCode (*GetArtKind)(ArtHandle art, int32_t* kind);
    /* GetArtParent: the container of `art`; null for a layer group. The edit
     * and result groups of plug-in art have the plug-in art as parent. */
    ErrorCode (*GetArtParent)(ArtHandle art, ArtHandle* parent);
    /* GetArtFirstChild: the front-most child of a group or compound path, or
     * null (no children, or a kind without children; plug-in art shows no
     * children here: use the plug-in group suite). */
    ErrorCode (*GetArtFirstChild)(ArtHandle art, ArtHandle* child);
    /* GetArtNextSibling: the art behind `art` in its container, or null. */
    ErrorCode (*GetArtNextSibling)(ArtHandle art, ArtHandle* sibling);
    /* GetArtPriorSibling: the art in front of `art` in its container, or null. */
    ErrorCode (*GetArtPriorSibling)(ArtHandle art, ArtHandle* sibling);
    /* GetArtLayer: the layer that holds `art`. Errors: kDeadHandleErr. */
    ErrorCode (*GetArtLayer)(ArtHandle art, LayerHandle* layer);
    /* IsLayerGroup: *isLayerGroup = 1 when `art` is a layer's own root group. */
    ErrorCode (*IsLayerGroup)(ArtHandle art, int32_t* isLayerGroup);
    /* IsValidArt: *valid = 1 for a living art, 0 for a dead or unknown
     * handle. Never fails (kBadParameterErr only for a null out pointer). */
    ErrorCode (*IsValidArt)(ArtHandle art, int32_t* valid);

    /* GetArtAttributes: *attributes = the attribute bits of `art` masked by
     * `mask` (kVtgArt... bits above). */
    ErrorCode (*GetArtAttributes)(ArtHandle art, int32_t mask, int32_t* attributes);
    /* SetArtAttributes: a non-zero `value` sets every bit of `mask`, zero
     * clears them. Selecting or deselecting a container does the same to its
     * subtree; locking deselects. kVtgArtFullySelected is ignored. */
    ErrorCode (*SetArtAttributes)(ArtHandle art, int32_t mask, int32_t value);

    /* GetArtName: the art's name (its id in the document file), copied into
     * buffer (size bytes, cut on a character boundary, always terminated).
     * An unnamed art gives an empty text. kBufferTooSmallErr when cut. */
    ErrorCode (*GetArtName)(ArtHandle art, char* buffer, size_t size);
    /* SetArtName: sets the name; an empty text removes it. */
    ErrorCode (*SetArtName)(ArtHandle art, const char* name);

    /* GetArtBounds: the bounds of `art` and its subtree after `matrix`
     * (null: identity) under `options` (kVtgBounds...). Hidden art and guides
     * are left out. Art without points gives {0, 0, 0, 0}.
     * Errors: kDeadHandleErr, kBadParameterErr (unknown option). */
    ErrorCode (*GetArtBounds)(ArtHandle art, const VtgMatrix* matrix, int32_t options,
                              VtgRect* bounds);
    /* TransformArt: applies `matrix` to `art` and its subtree as `options`
     * (kVtgTransform... bits) say; `lineScale` multiplies stroke widths only
     * with kVtgTransformLineWidths. Plug-in art transforms its edit and result
     * groups. Errors: kDeadHandleErr, kBadParameterErr (null matrix). */
    ErrorCode (*TransformArt)(ArtHandle art, const VtgMatrix* matrix, double lineScale,
                              int32_t options);

    /* GetArtOpacity / SetArtOpacity: the art's own opacity factor, 0 to 1
     * (SetArtOpacity clamps). */
    ErrorCode (*GetArtOpacity)(ArtHandle art, double* opacity);
    ErrorCode (*SetArtOpacity)(ArtHandle art, double opacity);
} ArtSuite;

#ifdef __cplusplus
}
#endif
#endif
