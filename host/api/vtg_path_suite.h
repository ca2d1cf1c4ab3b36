/*
 * vtg_path_suite.h - the segments, closed flag and style of path art.
 *
 * A path is an array of PathSegment records. The cubic piece i runs
 * seg[i].anchor, seg[i].out, seg[i+1].in, seg[i+1].anchor; a closed path has
 * one more piece from the last segment back to segment 0. Segment indices
 * and counts are signed 16-bit values; a path holds at most kVtgMaxSegments.
 * Coordinates are document points, y axis up.
 *
 * Every operation takes path art (kVtgArtPath); other kinds give
 * kWrongArtKindErr, deleted art kDeadHandleErr.
 */
#ifndef VTG_API_PATH_SUITE_H
#define VTG_API_PATH_SUITE_H
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_base.h"
#include "host/api/vtg_paint_style_suite.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kPathSuiteName "Host Path Suite"
#define kPathSuiteVersion 1

#define kVtgMaxSegments 32767

/* One anchor of a path, in this exact layout. */
typedef struct PathSegment {
    VtgPoint anchor; /* the anchor point                                 */
    VtgPoint in;     /* control point of the curve arriving at the anchor */
    VtgPoint out;    /* control point of the curve leaving the anchor     */
    int32_t corner;  /* 1 when the anchor is a corner point, else 0       */
} PathSegment;

typedef struct PathSuite {
    /* GetPathSegmentCount: the number of segments (0 for a new path). */
    ErrorCode (*GetPathSegmentCount)(ArtHandle path, int16_t* count);
    /* SetPathSegmentCount: truncates or extends the path to `count` (0 ..
     * kVtgMaxSegments) segments. Segments added at the end copy the anchor of
     * the last one with retracted handles (or lie at 0, 0 on an empty path)
     * and are corners. Errors: kBadParameterErr for a count out of range. */
    ErrorCode (*SetPathSegmentCount)(ArtHandle path, int16_t count);
    /* GetPathSegments: copies segments start .. start+count-1 into
     * `segments` (room for count records, owned by the caller).
     * Errors: kBadParameterErr when the range is not inside the path. */
    ErrorCode (*GetPathSegments)(ArtHandle path, int16_t start, int16_t count,
                                 PathSegment* segments);
    /* SetPathSegments: writes `count` segments from `start`. Writing past
     * the end extends the path (start must be at most the current count), so
     * a longer result may be written before the count is set. A corner flag
     * other than 0 is stored as 1. Errors: kBadParameterErr (start beyond the
     * end, negative count, more than kVtgMaxSegments in all). */
    ErrorCode (*SetPathSegments)(ArtHandle path, int16_t start, int16_t count,
                                 const PathSegment* segments);
    /* GetPathClosed / SetPathClosed: the closed flag, 0 or 1. */
    ErrorCode (*GetPathClosed)(ArtHandle path, int32_t* closed);
    ErrorCode (*SetPathClosed)(ArtHandle path, int32_t closed);
    /* GetPathStyle / SetPathStyle: the path's paint style (also valid on a
     * compound path, kVtgArtBrushedPath and kVtgArtEnvelope art, whose style
     * their member paths share). SetPathStyle clamps widths to >= 0 and the
     * miter limit to >= 1; clip also sets the kVtgArtClipping attribute.
     * A gradient or pattern paint without a handle is one that the opened
     * file names and the host keeps as written; it stays so until set to
     * another paint.
     * Errors: kBadParameterErr (unknown colour kind, dash count > kVtgMaxDashes),
     * kDeadHandleErr (a gradient or pattern handle of another document). */
    ErrorCode (*GetPathStyle)(ArtHandle path, VtgPathStyle* style);
    ErrorCode (*SetPathStyle)(ArtHandle path, const VtgPathStyle* style);
} PathSuite;

#ifdef __cplusplus
}
#endif
#endif
