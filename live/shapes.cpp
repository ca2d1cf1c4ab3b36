// The shape steps shared by the stacking kinds.
#include "live/shapes.hpp"

#include "host/api/vtg_path_suite.h"
#include "host/api/vtg_pathfinder_suite.h"

namespace vtg {

ErrorCode SyncMembers(ArtHandle compound) {
    VtgPathStyle style{};
    if (ErrorCode err = sPath->GetPathStyle(compound, &style))
        return err;
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(compound, &child))
        return err;
    while (child != nullptr) {
        int32_t kind = 0;
        if (ErrorCode err = sArt->GetArtKind(child, &kind))
            return err;
        if (kind == kVtgArtPath)
            if (ErrorCode err = sPath->SetPathStyle(child, &style))
                return err;
        if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
            return err;
    }
    return kNoErr;
}

ErrorCode TranslateArt(ArtHandle art, double dx, double dy) {
    if (dx == 0 && dy == 0)
        return kNoErr;
    const VtgMatrix m{1, 0, 0, 1, dx, dy};
    return sArt->TransformArt(art, &m, 1, kVtgTransformAll);
}

ErrorCode UniteShapes(ArtHandle group) {
    if (sPathfinder == nullptr)
        return kNoErr; // without the host's pathfinder the parts stay as they are
    const VtgPathfinderOptions options{10.0, 0x50000, 0.5, 1, {0.25, 1.0, 0.4, 1.0, 0.05}};
    // The host's result does not matter: the parts stay when it fails.
    static_cast<void>(sPathfinder->Unite(&group, 1, &options));
    return kNoErr;
}

ErrorCode MakeUnitedCopy(ArtHandle group, ArtHandle source, ArtHandle& x) {
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, group, &x))
        return err;
    ArtHandle empty = nullptr, y = nullptr, copy = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtPath, kVtgPlaceInsideOnTop, x, &empty))
        return err;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, x, &y))
        return err;
    if (ErrorCode err = sArt->DuplicateArt(source, kVtgPlaceInsideOnTop, y, &copy))
        return err;
    UniteShapes(y);
    return sArt->DeleteArt(empty);
}

ErrorCode CountSegments(ArtHandle art, std::int64_t limit, std::int64_t& count) {
    int32_t kind = 0;
    if (ErrorCode err = sArt->GetArtKind(art, &kind))
        return err;
    if (kind == kVtgArtPath) {
        int16_t n = 0;
        if (ErrorCode err = sPath->GetPathSegmentCount(art, &n))
            return err;
        count += n;
        return kNoErr;
    }
    if (kind != kVtgArtGroup && kind != kVtgArtCompoundPath) {
        count += 1;
        return kNoErr;
    }
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
        return err;
    while (child != nullptr && count <= limit) {
        if (ErrorCode err = CountSegments(child, limit, count))
            return err;
        if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
            return err;
    }
    return kNoErr;
}

} // namespace vtg
