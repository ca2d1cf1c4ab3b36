// Live Emboss's generator.
#include "live/emboss/emboss_generator.hpp"

#include <algorithm>
#include <cmath>

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_path_suite.h"
#include "live/shade_colour.hpp"

namespace vtg {

namespace {

bool Suites() {
    return sArt != nullptr && sPath != nullptr;
}

ErrorCode EmbossOne(ArtHandle q, ArtHandle a, const EmbossPGParams& p) {
    // A stored count beyond the panel's range is read as its nearest limit;
    // none or fewer makes only the unchanged copy.
    const int32_t n = std::min(p.steps, kMaxEmbossSteps);
    LightShift s = LightVector(p.offset, p.lightAngle);
    if (p.reverse != 0)
        s = {-s.x, -s.y};
    double c = std::isfinite(p.contrast) ? p.contrast : 0.0;
    if (n > 1) {
        c /= n;
        s = {s.x / n, s.y / n};
    }
    ArtHandle copy = nullptr;
    for (int32_t i = 1; i <= n; ++i) {
        const double t = i * c;
        if (p.embossStyle != 2) {
            if (ErrorCode err = sArt->DuplicateArt(a, kVtgPlaceInsideOnBottom, q, &copy))
                return err;
            if (ErrorCode err = AdjustCopy(copy, -t))
                return err;
            if (ErrorCode err = MoveArt(copy, i * s.x, i * s.y))
                return err;
        }
        if (p.embossStyle != 1) {
            if (ErrorCode err = sArt->DuplicateArt(a, kVtgPlaceInsideOnBottom, q, &copy))
                return err;
            if (ErrorCode err = AdjustCopy(copy, t))
                return err;
            if (ErrorCode err = MoveArt(copy, -i * s.x, -i * s.y))
                return err;
        }
    }
    return sArt->DuplicateArt(a, kVtgPlaceAbove, q, &copy);
}

ErrorCode Emboss(ArtHandle q, ArtHandle a, const EmbossPGParams& p) {
    int32_t kind = 0;
    if (ErrorCode err = sArt->GetArtKind(a, &kind))
        return err;
    if (kind == kVtgArtGroup) {
        ArtHandle g = nullptr;
        if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnBottom, q, &g))
            return err;
        ArtHandle child = nullptr;
        if (ErrorCode err = sArt->GetArtFirstChild(a, &child))
            return err;
        while (child != nullptr) {
            if (ErrorCode err = Emboss(g, child, p))
                return err;
            if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
                return err;
        }
        return kNoErr;
    }
    if (kind == kVtgArtPath || kind == kVtgArtCompoundPath || kind == kVtgArtPointText)
        return EmbossOne(q, a, p);
    return kNoErr;
}

ErrorCode UpdateEmbossOps(ArtHandle editArt, ArtHandle resultArt, const void* record) {
    if (!Suites())
        return kSuiteNotFoundErr;
    const auto& p = *static_cast<const EmbossPGParams*>(record);
    ArtHandle first = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(editArt, &first))
        return err;
    if (first == nullptr)
        return kNoErr;
    ArtHandle group = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, resultArt, &group))
        return err;
    ArtHandle source = nullptr;
    if (ErrorCode err = sArt->DuplicateArt(first, kVtgPlaceInsideOnTop, group, &source))
        return err;
    if (ErrorCode err = ConvertToPaths(source)) {
        sArt->DeleteArt(source);
        return err;
    }
    const ErrorCode err = BuildEmboss(group, source, p);
    const ErrorCode deleted = sArt->DeleteArt(source);
    return err != kNoErr ? err : deleted;
}

const LiveKindOps kEmbossOps{.update = UpdateEmbossOps, .keepLock = true};

} // namespace

ErrorCode AdjustCopy(ArtHandle art, double x) {
    if (!Suites())
        return kSuiteNotFoundErr;
    return ForEachPainted(art, [&](ArtHandle a, int32_t kind) -> ErrorCode {
        VtgPathStyle style{};
        if (ErrorCode err = sPath->GetPathStyle(a, &style))
            return err;
        if (kind == kVtgArtPath || kind == kVtgArtCompoundPath)
            style.clip = 0;
        if (style.fill.on != 0) {
            AdjustColour(style.fill.color, x);
            style.fill.overprint = 0;
        }
        if (style.stroke.on != 0) {
            AdjustColour(style.stroke.color, x);
            style.stroke.overprint = 0;
        }
        return sPath->SetPathStyle(a, &style);
    });
}

ErrorCode BuildEmboss(ArtHandle group, ArtHandle source, const EmbossPGParams& p) {
    if (!Suites())
        return kSuiteNotFoundErr;
    return Emboss(group, source, p);
}

const LiveKindOps& EmbossKindOps() {
    return kEmbossOps;
}

} // namespace vtg
