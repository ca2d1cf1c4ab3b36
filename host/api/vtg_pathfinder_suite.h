/*
 * vtg_pathfinder_suite.h - the optional "Host Pathfinder Suite" 7: boolean
 * operations on the shapes of art.
 */
#ifndef VTG_API_PATHFINDER_SUITE_H
#define VTG_API_PATHFINDER_SUITE_H
#include "host/api/vtg_base.h"
#include "host/api/vtg_optional_suites.h"
#ifdef __cplusplus
extern "C" {
#endif

/* The union of these shapes could not be computed reliably. */
#define kPathfinderFailedErr VTG_FOURCC('P', 'F', '!', '!')

/* The option record of an operation (null: the defaults). This host reads
 * `precision` (points; how far a computed crossing of two curves may lie
 * from the true one; a value above 0.000001, or one that is not positive,
 * is taken as 0.000001: coarser ones miss crossings) and ignores the other values:
 * callers fill them with the values their callers always used. */
typedef struct VtgPathfinderOptions {
    double precision;
    int32_t flags;
    double ratio;
    int32_t steps;
    double more[5];
} VtgPathfinderOptions;

typedef struct PathfinderSuite {
    /* Unite: for each art of the list (a group, compound path or path),
     * replaces what it holds by the union of the filled areas of all the
     * paths inside it: a group then holds one path or compound path (the
     * style of its topmost path, curves kept as curves); a path or compound
     * path takes the united outline in place. Open paths take part as if
     * closed. Art that holds no path, or only paths without area, is left
     * as it is. The arts are done in order; an error stops there and leaves
     * the failing art unchanged. Errors: kBadParameterErr (null list,
     * count < 0, a null art, a coordinate that is not a finite number),
     * kDeadHandleErr, kPathfinderFailedErr (the union could not be computed
     * reliably). */
    ErrorCode (*Unite)(const ArtHandle* arts, int32_t count, const VtgPathfinderOptions* options);
} PathfinderSuite;

#ifdef __cplusplus
}
#endif
#endif
