/*
 * vtg_paint_style_suite.h - colours and path styles, and the optional
 * "Host Paint Style Suite" 10 (the document's current paint, default style
 * of new art, spot colours, gradients).
 *
 * The records VtgColor and VtgPathStyle are also used by the path suite,
 * which reads and writes the style of one path.
 */
#ifndef VTG_API_PAINT_STYLE_SUITE_H
#define VTG_API_PAINT_STYLE_SUITE_H
#include "host/api/vtg_base.h"
#include "host/api/vtg_math_suite.h"
#include "host/api/vtg_optional_suites.h"
#ifdef __cplusplus
extern "C" {
#endif

/* --- colour kinds (numbers are part of the interface) -------------------- */
#define kVtgColorGray 0    /* c[0] = ink amount: 0 white, 1 black               */
#define kVtgColorProcess 1 /* four-colour process: c[0..3] = cyan, magenta, yellow, black, 0..1 */
#define kVtgColorPattern 2 /* `pattern` with `paintMatrix`                    */
/* Spot (custom) colour: `spotName`, `tint` (0 the full colour, 1 white) and
 * its process equivalent: `spotKind` (kVtgColorProcess or kVtgColorRGB) with
 * components c[0..3]. */
#define kVtgColorSpot 3
#define kVtgColorGradient 4 /* `gradient` with `paintMatrix`                   */
#define kVtgColorRGB 5      /* three-colour: c[0..2] = red, green, blue, 0..1  */
#define kVtgColorNone 6     /* no paint                                        */

#define kVtgSpotNameSize 64

typedef struct VtgColor {
    int32_t kind;     /* kVtgColor... */
    double c[4];      /* components as the kind says; unused ones are 0 */
    double tint;      /* spot only */
    int32_t spotKind; /* spot only: kind of the process equivalent in c[] */
    char spotName[kVtgSpotNameSize];
    GradientHandle gradient; /* gradient only */
    PatternHandle pattern;   /* pattern only */
    VtgMatrix paintMatrix;   /* gradient and pattern: their placement */
} VtgColor;

#define kVtgCapButt 0
#define kVtgCapRound 1
#define kVtgCapSquare 2
#define kVtgJoinMiter 0
#define kVtgJoinRound 1
#define kVtgJoinBevel 2
#define kVtgMaxDashes 6

typedef struct VtgFillStyle {
    int32_t on; /* 0 or 1 */
    VtgColor color;
    int32_t overprint; /* 0 or 1 */
    int32_t evenOdd;   /* 1: even-odd fill rule, 0: non-zero */
} VtgFillStyle;

typedef struct VtgStrokeStyle {
    int32_t on; /* 0 or 1 */
    VtgColor color;
    int32_t overprint;
    double width;      /* points, >= 0 */
    int32_t cap;       /* kVtgCap... */
    int32_t join;      /* kVtgJoin... */
    double miterLimit; /* >= 1 */
    int32_t dashCount; /* 0 (solid) .. kVtgMaxDashes */
    double dash[kVtgMaxDashes];
    double dashOffset;
} VtgStrokeStyle;

/* The style of a path: fill, stroke and the clipping flag (the same bit as
 * kVtgArtClipping of the art suite). */
typedef struct VtgPathStyle {
    VtgFillStyle fill;
    VtgStrokeStyle stroke;
    int32_t clip; /* 0 or 1 */
} VtgPathStyle;

/* Gradients. A gradient holds its stops in gradient space: a linear one
 * runs from (0, 0) (offset 0) to (1, 0) (offset 1), its colour constant
 * along y; a radial one fills the unit circle about (0, 0), offset 0 at its
 * focus and 1 on the circle. A gradient paint (VtgColor kind
 * kVtgColorGradient) places it in the document with `paintMatrix`, gradient
 * space to document space; the art suite's TransformArt moves it with the
 * art (kVtgTransformFillGradients, kVtgTransformStrokeGradients). A
 * document owns its gradients and never changes one: new stops make a new
 * gradient. */
#define kVtgGradientLinear 0
#define kVtgGradientRadial 1
#define kVtgGradientNameSize 64
/* What a gradient paints beyond its ends (as a file's spread method). */
#define kVtgSpreadPad 0
#define kVtgSpreadReflect 1
#define kVtgSpreadRepeat 2
#define kVtgMaxGradientStops 64

typedef struct VtgGradientStop {
    double offset;   /* 0..1 along the gradient */
    double midpoint; /* 0..1 between this stop and the next; 0.5 even */
    VtgColor color;  /* gray, process, RGB or spot */
    double opacity;  /* 0..1 */
} VtgGradientStop;

/* A colour that is not a plain colour (gradient, pattern or none) where a
 * plain one is needed. */
#define kNotPlainColorErr VTG_FOURCC('!', 'C', 'l', 'r')

typedef struct PaintStyleSuite {
    /* GetCurrentPaint: the document's current fill and stroke paint (what
     * new art drawn by the user would take). Errors: kNoDocumentErr. */
    ErrorCode (*GetCurrentPaint)(VtgFillStyle* fill, VtgStrokeStyle* stroke);
    ErrorCode (*SetCurrentPaint)(const VtgFillStyle* fill, const VtgStrokeStyle* stroke);
    /* GetDefaultPathStyle: the style NewArt gives a new path. */
    ErrorCode (*GetDefaultPathStyle)(VtgPathStyle* style);
    /* SpotToProcess: the process equivalent of a spot colour with its tint
     * applied (component * (1 - tint)); other plain colours come back as they
     * are. Errors: kNotPlainColorErr for gradient, pattern or none. */
    ErrorCode (*SpotToProcess)(const VtgColor* color, VtgColor* process);

    /* GetGradient: the type, name (copied into name, nameSize bytes, cut on a
     * character boundary) and stop count of a gradient. Errors:
     * kDeadHandleErr, kBufferTooSmallErr (name cut; the rest filled). */
    ErrorCode (*GetGradient)(GradientHandle gradient, int32_t* type, char* name, size_t nameSize,
                             int32_t* stopCount);
    /* GetGradientStop: stop `index` (0 .. count-1). kBadParameterErr out of range. */
    ErrorCode (*GetGradientStop)(GradientHandle gradient, int32_t index, VtgGradientStop* stop);
    /* NewGradient: a new gradient of the current document from `count`
     * (2 .. kVtgMaxGradientStops) stops; the document owns it. */
    ErrorCode (*NewGradient)(int32_t type, const char* name, const VtgGradientStop* stops,
                             int32_t count, GradientHandle* gradient);

    /* --- since version 11 ---------------------------------------------- */
    /* CopyGradient: a new gradient like `source` (type, name, focus and
     * spread) with `count` (2 .. kVtgMaxGradientStops) other stops. Errors:
     * kDeadHandleErr, kBadParameterErr. */
    ErrorCode (*CopyGradient)(GradientHandle source, const VtgGradientStop* stops, int32_t count,
                              GradientHandle* gradient);
    /* GetGradientShape: a radial gradient's focus in its unit circle ((0, 0)
     * for linear ones) and its spread (kVtgSpread...). Either may be null. */
    ErrorCode (*GetGradientShape)(GradientHandle gradient, VtgPoint* focus, int32_t* spread);
    /* PickColor: the host's colour picker, opened on *color, `title` its
     * caption. `colorModel` (kVtgColorModel...) is the kind of colour the
     * picker offers: an accepted colour comes back in *color as gray,
     * process or RGB of that model. kCancelledErr when the user cancels
     * (*color unchanged); kBadParameterErr for a null colour or an unknown
     * model. */
    ErrorCode (*PickColor)(const char* title, int32_t colorModel, VtgColor* color);
} PaintStyleSuite;

#ifdef __cplusplus
}
#endif
#endif
