// art_paths.hpp - gathering the paths below a piece of art, copying their
// geometry out of the host, writing results back and re-stacking them by
// depth. Used by the objects that transform many paths together.
#pragma once

#include <cstdint>

#include "geometry/path_model.hpp"

namespace vtg {

// Gathers the paths below `root` (the root itself when it is a path), depth
// first in the host's child order, through groups and compound paths; other
// kinds are skipped. Fills `list` (owned by the caller afterwards), the path
// count, the segment total and the union of the paths' bounds (identity
// matrix, control-point bounds). kNoSelection ("!sel") when no path is found;
// on any failure nothing stays allocated.
ErrorCode CollectPaths(ArtHandle root, ArtList& list, int32_t* pathCount, int32_t* segmentTotal,
                       VtgRect* bounds);

// Reads the segments of the first set.pathCount listed paths into the set
// (source copy and working copy). A set that still holds arrays has them
// freed first. -108 or a host error; on failure nothing stays allocated.
ErrorCode CapturePaths(const ArtList& list, PathSet& set);

// Frees every segment array and both PathInfo arrays, and clears the set.
void ReleasePaths(PathSet& set);

// Writes each working copy into its host path from segment 0 and then sets
// the path's count, which truncates surplus old segments.
ErrorCode WriteBackPaths(const ArtList& list, const PathSet& set);

// Re-stacks the transformed paths inside `group` by the depth of their
// working copies: deepest first, so the largest depth ends up on top. Paths
// in a nested container move with it, keyed by their largest depth.
// kPathOnOtherLayer ("sPsL") when a path is on another layer than the group;
// the stacking order is then left as it was.
ErrorCode RestorePaintOrder(ArtHandle group, const ArtList& list, const PathSet& set);

} // namespace vtg
