#include "geometry/effect_walk.hpp"

#include "core/suite_set.hpp"
#include "geometry/deform_driver.hpp"

namespace vtg {
namespace {

bool IsContainer(int32_t kind) {
    return kind == kVtgArtGroup || kind == kVtgArtCompoundPath;
}

// Runs the action on one path with the effect buffer held. A buffer the walk
// allocated is freed again after the path; one held by a caller stays.
ErrorCode RunOnPath(ArtHandle path, PathAction action, void* context, WalkPolicy policy) {
    PathSegment* own = nullptr;
    if (policy.segmentBuffer && gEffectSegments == nullptr) {
        ErrorCode err = AllocateSegmentArray(kSegmentBufferCapacity, kEffectSegmentsName, &own);
        if (err != kNoErr)
            return err;
        gEffectSegments = own;
    }
    int32_t kind = 0;
    ErrorCode err = sArt->GetArtKind(path, &kind);
    if (err == kNoErr && kind == kVtgArtPath)
        err = action(path, context);
    if (own != nullptr) {
        FreeBlock(own);
        gEffectSegments = nullptr;
    }
    return err == kTooManySegments && !policy.stopOnTooMany ? kNoErr : err;
}

ErrorCode WalkChain(ArtHandle first, PathAction action, void* context, WalkPolicy policy) {
    ErrorCode err = kNoErr;
    for (ArtHandle art = first; art != nullptr;) {
        int32_t kind = 0;
        if ((err = sArt->GetArtKind(art, &kind)) != kNoErr)
            return err;
        if (IsContainer(kind))
            err = ForEachEffectPath(art, action, context, policy);
        else if (kind == kVtgArtPath)
            err = RunOnPath(art, action, context, policy);
        if (err != kNoErr)
            return err;
        if ((err = sArt->GetArtNextSibling(art, &art)) != kNoErr)
            return err;
    }
    return kNoErr;
}

ErrorCode DeformAction(ArtHandle path, void* context) {
    return DeformPath(path, *static_cast<DeformVariant*>(context));
}

} // namespace

ErrorCode ForEachEffectPath(ArtHandle art, PathAction action, void* context, WalkPolicy policy) {
    if (sArt == nullptr || action == nullptr)
        return kBadParameterErr;
    int32_t kind = 0;
    ErrorCode err = sArt->GetArtKind(art, &kind);
    if (err != kNoErr)
        return err;
    if (IsContainer(kind)) {
        ArtHandle child = nullptr;
        if ((err = sArt->GetArtFirstChild(art, &child)) != kNoErr || child == nullptr)
            return err;
        return WalkChain(child, action, context, policy);
    }
    // A path given on its own is transformed alone: its following siblings
    // are not part of the effect's input.
    if (kind == kVtgArtPath)
        return RunOnPath(art, action, context, policy);
    return kNoErr;
}

ErrorCode ForEachEffectPath(ArtHandle art, DeformVariant& variant) {
    return ForEachEffectPath(art, &DeformAction, &variant);
}

} // namespace vtg
