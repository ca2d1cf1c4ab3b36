// shapes.hpp - steps on the copies the stacking kinds build: the walk over
// the painted shapes of a copy, moving a copy, and the union of a source's
// shapes before copies are made of it.
#pragma once

#include <cstdint>

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_base.h"

namespace vtg {

// Copies the style of a compound path into its member paths, so that they
// stay the one shape the host paints.
ErrorCode SyncMembers(ArtHandle compound);

// Runs `each` on every painted shape of `art`: each path, and each compound
// path as one shape (its members then take its style). Groups are
// descended; other art is left alone.
template <typename F> ErrorCode ForEachShape(ArtHandle art, F&& each) {
    int32_t kind = 0;
    if (ErrorCode err = sArt->GetArtKind(art, &kind))
        return err;
    if (kind == kVtgArtPath)
        return each(art);
    if (kind == kVtgArtCompoundPath) {
        if (ErrorCode err = each(art))
            return err;
        return SyncMembers(art);
    }
    if (kind != kVtgArtGroup)
        return kNoErr;
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
        return err;
    while (child != nullptr) {
        if (ErrorCode err = ForEachShape(child, each))
            return err;
        if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
            return err;
    }
    return kNoErr;
}

// Moves `art` by (dx, dy) with its paint; nothing for a zero move.
ErrorCode TranslateArt(ArtHandle art, double dx, double dy);

// Unites the shapes inside `group` with the host's pathfinder (the group
// then holds their united outline). Always succeeds: without the host's
// pathfinder, or when it fails, the shapes stay as they are.
ErrorCode UniteShapes(ArtHandle group);

// The united copy of `source` on top of `group`: a group X holding a group
// Y with the united copy. `x` is set as soon as X exists, so that the
// caller deletes it on every path (it only serves as the source of copies).
ErrorCode MakeUnitedCopy(ArtHandle group, ArtHandle source, ArtHandle& x);

// Adds the segments of every path below `art` to `count` (other art that
// is not a container counts 1); stops counting once `count` passes `limit`.
ErrorCode CountSegments(ArtHandle art, std::int64_t limit, std::int64_t& count);

} // namespace vtg
