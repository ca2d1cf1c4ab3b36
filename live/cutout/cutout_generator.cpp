// Live Cutout's and Live Shadow's generators.
#include "live/cutout/cutout_generator.hpp"

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

ErrorCode Duplicate(ArtHandle source, int32_t order, ArtHandle reference, ArtHandle& copy) {
    return sArt->DuplicateArt(source, order, reference, &copy);
}

ErrorCode KindOf(ArtHandle art, int32_t& kind) {
    return sArt->GetArtKind(art, &kind);
}

bool Shape(int32_t kind) {
    return kind == kVtgArtPath || kind == kVtgArtCompoundPath || kind == kVtgArtPointText;
}

// The source's paint for a cutout: no stroke, and a fill (white of the
// document's colour model when it had none).
ErrorCode CutoutPaint(ArtHandle art) {
    return ForEachPainted(art, [](ArtHandle a, int32_t kind) -> ErrorCode {
        if (kind != kVtgArtPath && kind != kVtgArtCompoundPath)
            return kNoErr;
        VtgPathStyle style{};
        if (ErrorCode err = sPath->GetPathStyle(a, &style))
            return err;
        style.stroke.on = 0;
        if (style.fill.on == 0) {
            style.fill.on = 1;
            style.fill.color = DocumentWhite();
            style.fill.overprint = 0;
        }
        return sPath->SetPathStyle(a, &style);
    });
}

// The clipping path of a cutout from `source` (a path, compound path or
// point text) at the bottom of `into`: no fill, no stroke, clipping on.
ErrorCode CutoutClip(ArtHandle into, ArtHandle source, int32_t kind) {
    ArtHandle clip = nullptr;
    if (ErrorCode err = Duplicate(source, kVtgPlaceInsideOnBottom, into, clip))
        return err;
    if (ErrorCode err = ShadeStep(clip, 0, false, true, -1))
        return err;
    if (kind == kVtgArtPointText)
        return sArt->SetArtAttributes(clip, kVtgArtClipping, 1);
    return kNoErr;
}

ErrorCode CutoutOne(ArtHandle q, ArtHandle a, int32_t kind, const CutoutPGParams& p) {
    if (ErrorCode err = CutoutPaint(a))
        return err;
    ArtHandle k = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnBottom, q, &k))
        return err;
    const LightShift d = LightVector(p.offset, p.lightAngle);
    // A stored count beyond the panel's range is read as its limit; none or
    // fewer makes no shade copies.
    const int32_t n = std::min(p.steps, kMaxCutoutSteps);
    const double w0 = 2 * (std::isfinite(p.offset) ? p.offset : 0.0);
    ArtHandle copy = nullptr;
    for (int32_t i = 0; i < n; ++i) {
        if (ErrorCode err = Duplicate(a, kVtgPlaceInsideOnTop, k, copy))
            return err;
        const double w = w0 * (1 - static_cast<double>(i) / n);
        if (ErrorCode err = ShadeStep(copy, w, i > 0, false, CutoutDarkening(p.shade, i, n)))
            return err;
        if (ErrorCode err = MoveArt(copy, -d.x, -d.y))
            return err;
    }
    if (ErrorCode err = Duplicate(a, kVtgPlaceInsideOnTop, k, copy))
        return err;
    if (ErrorCode err = MoveArt(copy, -d.x, -d.y))
        return err;
    if (ErrorCode err = CutoutClip(k, a, kind))
        return err;
    return sArt->SetArtAttributes(k, kVtgArtClipping, 1);
}

ErrorCode Cutout(ArtHandle q, ArtHandle a, const CutoutPGParams& p) {
    int32_t kind = 0;
    if (ErrorCode err = KindOf(a, kind))
        return err;
    if (kind == kVtgArtGroup) {
        ArtHandle g = nullptr;
        if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnBottom, q, &g))
            return err;
        ArtHandle child = nullptr;
        if (ErrorCode err = sArt->GetArtFirstChild(a, &child))
            return err;
        while (child != nullptr) {
            if (ErrorCode err = Cutout(g, child, p))
                return err;
            if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
                return err;
        }
        return kNoErr;
    }
    return Shape(kind) ? CutoutOne(q, a, kind, p) : kNoErr;
}

// The clipping path of the seen-through shadow: a copy of the source at the
// top of `h`; a group's paths join one compound path.
ErrorCode CopyPathsInto(ArtHandle art, ArtHandle into) {
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
        return err;
    while (child != nullptr) {
        int32_t kind = 0;
        if (ErrorCode err = KindOf(child, kind))
            return err;
        ArtHandle copy = nullptr;
        if (kind == kVtgArtPath) {
            if (ErrorCode err = Duplicate(child, kVtgPlaceInsideOnBottom, into, copy))
                return err;
        } else if (kind == kVtgArtGroup || kind == kVtgArtCompoundPath) {
            if (ErrorCode err = CopyPathsInto(child, into))
                return err;
        }
        if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
            return err;
    }
    return kNoErr;
}

ErrorCode ShadowClip(ArtHandle h, ArtHandle source, int32_t kind) {
    ArtHandle clip = nullptr;
    if (kind == kVtgArtGroup) {
        if (ErrorCode err = sArt->NewArt(kVtgArtCompoundPath, kVtgPlaceInsideOnTop, h, &clip))
            return err;
        if (ErrorCode err = CopyPathsInto(source, clip))
            return err;
    } else if (Shape(kind)) {
        if (ErrorCode err = Duplicate(source, kVtgPlaceInsideOnTop, h, clip))
            return err;
    } else {
        return kNoErr;
    }
    if (ErrorCode err = ShadowPaint(clip, 0, 0, 2))
        return err;
    if (kind == kVtgArtPointText)
        return sArt->SetArtAttributes(clip, kVtgArtClipping, 1);
    return kNoErr;
}

double Fraction(double v) {
    return std::isfinite(v) ? v : 0.0;
}

// Cutout's and Shadow's update: the first source alone, converted to paths.
template <typename Record, typename Build>
ErrorCode Update(ArtHandle editArt, ArtHandle resultArt, const Record& p, Build build) {
    if (!Suites())
        return kSuiteNotFoundErr;
    ArtHandle first = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(editArt, &first))
        return err;
    if (first == nullptr)
        return kNoErr;
    ArtHandle group = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, resultArt, &group))
        return err;
    ArtHandle source = nullptr;
    if (ErrorCode err = Duplicate(first, kVtgPlaceInsideOnTop, group, source))
        return err;
    if (ErrorCode err = ConvertToPaths(source)) {
        sArt->DeleteArt(source);
        return err;
    }
    const ErrorCode err = build(group, source, p);
    const ErrorCode deleted = sArt->DeleteArt(source);
    return err != kNoErr ? err : deleted;
}

ErrorCode UpdateCutoutOps(ArtHandle editArt, ArtHandle resultArt, const void* record) {
    return Update(editArt, resultArt, *static_cast<const CutoutPGParams*>(record), BuildCutout);
}

ErrorCode UpdateShadowOps(ArtHandle editArt, ArtHandle resultArt, const void* record) {
    return Update(editArt, resultArt, *static_cast<const ShadowPGParams*>(record), BuildShadow);
}

// True in `found` when point text lies anywhere below `art`.
ErrorCode HoldsPointText(ArtHandle art, bool& found) {
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
        return err;
    while (child != nullptr && !found) {
        int32_t kind = 0;
        if (ErrorCode err = KindOf(child, kind))
            return err;
        if (kind == kVtgArtPointText)
            found = true;
        else if (kind == kVtgArtGroup || kind == kVtgArtCompoundPath)
            if (ErrorCode err = HoldsPointText(child, found))
                return err;
        if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
            return err;
    }
    return kNoErr;
}

// Shadow's Apply leaves a selected group that holds point text.
ErrorCode RefineShadowApply(ArtHandle source, int32_t artKind, bool& skip) {
    skip = false;
    return artKind == kVtgArtGroup ? HoldsPointText(source, skip) : kNoErr;
}

const LiveKindOps kCutoutOps{.update = UpdateCutoutOps};
const LiveKindOps kShadowOps{.update = UpdateShadowOps, .refineApply = RefineShadowApply};

} // namespace

double CutoutDarkening(double shade, int32_t i, int32_t n) {
    const double s = Fraction(shade);
    const double step = n < 2 ? s : s / n;
    return s - i * step;
}

ErrorCode ShadeStep(ArtHandle art, double width, bool roundJoins, bool clip, double s) {
    if (!Suites())
        return kSuiteNotFoundErr;
    return ForEachPainted(art, [&](ArtHandle a, int32_t kind) -> ErrorCode {
        VtgPathStyle style{};
        if (ErrorCode err = sPath->GetPathStyle(a, &style))
            return err;
        if (kind == kVtgArtBrushedPath || kind == kVtgArtEnvelope) {
            if (style.fill.on == 0)
                return kNoErr;
            DarkenColour(style.fill.color, s);
            style.fill.overprint = 0;
            return sPath->SetPathStyle(a, &style);
        }
        if (clip)
            style.fill.on = 0;
        style.clip = clip ? 1 : 0;
        if (width != 0) {
            style.stroke.on = 1;
            style.stroke.color = style.fill.color;
            style.stroke.overprint = 0;
            style.stroke.width = std::isfinite(width) ? std::fabs(width) : 0.0;
            style.stroke.dashCount = 0;
            style.stroke.dashOffset = 0;
            style.stroke.cap = kVtgCapButt;
            style.stroke.join = roundJoins ? kVtgJoinRound : kVtgJoinMiter;
            style.stroke.miterLimit = 4;
        } else {
            style.stroke.on = 0;
        }
        if (style.fill.on != 0) {
            DarkenColour(style.fill.color, s);
            style.fill.overprint = 0;
        }
        if (style.stroke.on != 0) {
            DarkenColour(style.stroke.color, s);
            style.stroke.overprint = 0;
        }
        return sPath->SetPathStyle(a, &style);
    });
}

ErrorCode ShadowPaint(ArtHandle art, double shade, double transparency, int mode) {
    if (!Suites())
        return kSuiteNotFoundErr;
    return ForEachPainted(art, [&](ArtHandle a, int32_t) -> ErrorCode {
        VtgPathStyle style{};
        if (ErrorCode err = sPath->GetPathStyle(a, &style))
            return err;
        if (mode == 2) {
            style.clip = 1;
            style.fill.on = 0;
            return sPath->SetPathStyle(a, &style);
        }
        const VtgColor fillBefore = style.fill.color;
        if (style.fill.on != 0) {
            ShadeColour(style.fill.color, shade, transparency, mode);
            style.fill.overprint = 0;
        }
        if (style.stroke.on != 0) {
            if (mode == 0)
                ShadeColour(style.stroke.color, shade, transparency, 0);
            else
                BlendWithFill(style.stroke.color, fillBefore, shade, transparency);
            style.stroke.overprint = 0;
        }
        return sPath->SetPathStyle(a, &style);
    });
}

ErrorCode BuildCutout(ArtHandle group, ArtHandle source, const CutoutPGParams& p) {
    if (!Suites())
        return kSuiteNotFoundErr;
    return Cutout(group, source, p);
}

ErrorCode BuildShadow(ArtHandle g, ArtHandle a, const ShadowPGParams& p) {
    if (!Suites())
        return kSuiteNotFoundErr;
    int32_t kind = 0;
    if (ErrorCode err = KindOf(a, kind))
        return err;
    const LightShift d = LightVector(p.offset, p.lightAngle);
    const double shade = Fraction(p.shade), transparency = Fraction(p.transparency);
    ArtHandle copy = nullptr;
    if (kind == kVtgArtGroup || Shape(kind)) {
        if (ErrorCode err = Duplicate(a, kVtgPlaceInsideOnBottom, g, copy))
            return err;
        if (ErrorCode err = ShadowPaint(copy, shade, transparency, 0))
            return err;
        if (ErrorCode err = MoveArt(copy, -d.x, -d.y))
            return err;
    }
    if (ErrorCode err = Duplicate(a, kVtgPlaceInsideOnTop, g, copy))
        return err;
    if (!(shade > 0 && transparency > 0))
        return kNoErr;
    ArtHandle h = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, g, &h))
        return err;
    if (ErrorCode err = Duplicate(a, kVtgPlaceInsideOnBottom, h, copy))
        return err;
    if (ErrorCode err = ShadowPaint(copy, shade, transparency, 1))
        return err;
    if (ErrorCode err = MoveArt(copy, -d.x, -d.y))
        return err;
    if (ErrorCode err = ShadowClip(h, a, kind))
        return err;
    return sArt->SetArtAttributes(h, kVtgArtClipping, 1);
}

const LiveKindOps& CutoutKindOps() {
    return kCutoutOps;
}

const LiveKindOps& ShadowKindOps() {
    return kShadowOps;
}

} // namespace vtg
