// Live Border's generator: measure and normalise the source copy, stack the
// graded step copies outside or inside the shape, and clip the inside band
// by the source's outline.
#include "live/border/border_generator.hpp"

#include <algorithm>
#include <cmath>

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_path_suite.h"
#include "live/live_object.hpp"
#include "live/paint_normalize.hpp"
#include "live/shapes.hpp"

namespace vtg {

namespace {

constexpr int32_t kGivenSteps = 3;

bool Suites() {
    return sArt != nullptr && sPath != nullptr;
}

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

// A stored mode out of range is read as the nearest one.
int32_t ModeOf(const BorderPGParams& p) {
    return std::clamp(p.stepMode, 0, kGivenSteps);
}

// The given count within what the panel accepts.
int32_t GivenStepsOf(const BorderPGParams& p) {
    return std::clamp(p.stepCount, 1, kMaxBorderSteps);
}

// The colour grade of the band: d runs by 1/n per step, from 0 up, or
// inverted from 1 - 1/n down, and stays within [0, 1].
class Grade {
public:
    Grade(int32_t n, bool invert, double curve) : curve_(Finite(curve)) {
        const double t = n > 0 ? n : 1;
        d_ = invert ? 1 - 1 / t : 0;
        step_ = invert ? -1 / t : 1 / t;
    }
    double weight() const { return BorderGradeWeight(d_, curve_); }
    void advance() { d_ = std::clamp(d_ + step_, 0.0, 1.0); }

private:
    double curve_;
    double d_ = 0, step_ = 0;
};

// A displacement of the copies.
struct Shift {
    double x = 0, y = 0;
};
// The displacement of length `amount` in the direction `angle`.
Shift Polar(double amount, double angle) {
    return {amount * std::cos(angle), amount * std::sin(angle)};
}

// The step count of the band, or 0 when nothing is to be built.
ErrorCode StepsOf(ArtHandle shape, const BorderPGParams& p, int32_t& n, double& widest) {
    const int32_t mode = ModeOf(p);
    BorderMeasure m;
    if (ErrorCode err = MeasureBorder(shape, mode, p.autoLineStyle != 0, m))
        return err;
    widest = m.widest;
    if (mode == kGivenSteps)
        n = GivenStepsOf(p);
    else
        n = m.steps == 0 || m.widest == 0 ? 0 : m.steps;
    return kNoErr;
}

ErrorCode Duplicate(ArtHandle source, int32_t order, ArtHandle group, ArtHandle& copy) {
    return sArt->DuplicateArt(source, order, group, &copy);
}

ErrorCode InsideSteps(ArtHandle group, ArtHandle shape, const BorderPGParams& p) {
    int32_t n = 0;
    double widest = 0;
    if (ErrorCode err = StepsOf(shape, p, n, widest))
        return err;
    if (n == 0)
        return kNoErr;
    const double e = Finite(p.eccentricity);
    const bool eccentric = e != 0;
    Shift v, inc;
    if (eccentric) {
        v = Polar(e * widest, Finite(p.eccentricAngle));
        if (n > 1)
            v = {v.x / n, v.y / n};
        inc = v;
    }
    const bool shadow = p.shadowOn != 0;
    const double h = Finite(p.shadowOffset);
    const Shift s = h != 0 ? Polar(h, Finite(p.lightAngle)) : Shift{};
    const double density = shadow ? p.shadowDensity : -1;
    Grade grade(n, p.invertGrade != 0, p.gradeCurve);
    double k = 1.0 / n;
    for (int32_t i = 0; i < n; ++i) {
        const double weight = grade.weight();
        const int32_t fillMode = i == n - 1 ? 1 : 0;
        ArtHandle copy = nullptr;
        if (shadow) {
            if (ErrorCode err = Duplicate(shape, kVtgPlaceInsideOnBottom, group, copy))
                return err;
            if (ErrorCode err = StyleStep(copy, k, weight, fillMode, false, -1))
                return err;
            if (eccentric)
                if (ErrorCode err = TranslateArt(copy, v.x, v.y))
                    return err;
        }
        if (ErrorCode err = Duplicate(shape, kVtgPlaceInsideOnBottom, group, copy))
            return err;
        if (ErrorCode err = StyleStep(copy, k, weight, fillMode, false, density))
            return err;
        // Inside, the shadow copies move towards the light.
        Shift move = shadow ? s : Shift{};
        if (eccentric)
            move = {move.x + v.x, move.y + v.y};
        if (ErrorCode err = TranslateArt(copy, move.x, move.y))
            return err;
        if (eccentric)
            v = {v.x + inc.x, v.y + inc.y};
        grade.advance();
        k += 1.0 / n;
    }
    return kNoErr;
}

// Duplicates every path below `art` (groups and compound paths descended)
// to the bottom of the compound path `into`.
ErrorCode CopyPathsInto(ArtHandle art, ArtHandle into) {
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
        return err;
    while (child != nullptr) {
        int32_t kind = 0;
        if (ErrorCode err = sArt->GetArtKind(child, &kind))
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

// True in `found` when art of kind 4 (point text) lies anywhere below `art`.
ErrorCode HoldsPointText(ArtHandle art, bool& found) {
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
        return err;
    while (child != nullptr && !found) {
        int32_t kind = 0;
        if (ErrorCode err = sArt->GetArtKind(child, &kind))
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

ErrorCode UpdateBorderOps(ArtHandle editArt, ArtHandle resultArt, const void* record) {
    return UpdateBorder(editArt, resultArt, *static_cast<const BorderPGParams*>(record));
}

// Apply leaves a selected group that holds point text.
ErrorCode RefineBorderApply(ArtHandle source, int32_t artKind, bool& skip) {
    skip = false;
    if (artKind != kVtgArtGroup)
        return kNoErr;
    return HoldsPointText(source, skip);
}

const LiveKindOps kBorderOps{.update = UpdateBorderOps, .refineApply = RefineBorderApply};

} // namespace

int32_t BorderStepsForWidth(double width, int32_t stepMode) {
    const double w = std::isfinite(width) && width > 0 ? width : 0.0;
    double c = 0;
    switch (stepMode) {
    case 0:
        c = w < 3 ? 6 : 2 * std::floor(w);
        break;
    case 1:
        c = w < 3 ? 3 : std::floor(w);
        break;
    case 2:
        c = w < 3 ? 2 : std::floor(w / 2 + 0.5);
        break;
    default:
        return 0;
    }
    return static_cast<int32_t>(std::min<double>(c, kMaxBorderSteps));
}

ErrorCode MeasureBorder(ArtHandle art, int32_t stepMode, bool roundedJoins, BorderMeasure& m) {
    if (!Suites())
        return kSuiteNotFoundErr;
    return ForEachShape(art, [&](ArtHandle path) -> ErrorCode {
        if (ErrorCode err = NormalizePaint(path, roundedJoins))
            return err;
        VtgPathStyle style{};
        if (ErrorCode err = sPath->GetPathStyle(path, &style))
            return err;
        if (style.stroke.on == 0)
            return kNoErr;
        const double w = std::isfinite(style.stroke.width) ? std::max(0.0, style.stroke.width) : 0;
        m.steps = std::max(m.steps, BorderStepsForWidth(w, stepMode));
        m.widest = std::max(m.widest, w);
        return kNoErr;
    });
}

double BorderGradeWeight(double d, double g) {
    if (g < 0)
        return (1 + g) * (1 - d) - g * std::sqrt(1 - d * d);
    if (g > 0)
        return g * (1 - std::sqrt(1 - (d - 1) * (d - 1))) + (1 - g) * (1 - d);
    return 1 - d;
}

std::vector<double> BorderGradeWeights(int32_t n, double curve, bool invert) {
    std::vector<double> out;
    Grade grade(n, invert, curve);
    for (int32_t i = 0; i < n; ++i) {
        out.push_back(grade.weight());
        grade.advance();
    }
    return out;
}

ErrorCode StyleStep(ArtHandle art, double k, double weight, int32_t fillMode, bool clip,
                    double density) {
    if (!Suites())
        return kSuiteNotFoundErr;
    return ForEachShape(art, [&](ArtHandle path) -> ErrorCode {
        VtgPathStyle style{};
        if (ErrorCode err = sPath->GetPathStyle(path, &style))
            return err;
        style.fill.on = style.fill.on != 0 && fillMode != 0 ? 1 : 0;
        style.clip = clip ? 1 : 0;
        if (k != 0) {
            if (k < 1)
                style.stroke.width *= k;
            if (weight < 1 || density >= 0)
                BlendColour(style.stroke, style.fill, weight, density);
        } else {
            style.stroke.on = 0;
        }
        if (style.fill.on != 0 && fillMode == 2) {
            style.fill.color = style.stroke.color;
            style.fill.overprint = style.stroke.overprint;
        }
        return sPath->SetPathStyle(path, &style);
    });
}

ErrorCode BuildBorderOutside(ArtHandle group, ArtHandle source, const BorderPGParams& p) {
    if (!Suites())
        return kSuiteNotFoundErr;
    int32_t n = 0;
    double widest = 0;
    if (ErrorCode err = StepsOf(source, p, n, widest))
        return err;
    if (n == 0)
        return kNoErr;
    const double e = Finite(p.eccentricity);
    const bool eccentric = e != 0;
    Shift v, dec;
    if (eccentric) {
        v = Polar(e * widest, Finite(p.eccentricAngle));
        dec = {v.x / n, v.y / n};
    }
    const bool shadow = p.shadowOn != 0;
    const double h = Finite(p.shadowOffset);
    const Shift s = h != 0 ? Polar(h, Finite(p.lightAngle)) : Shift{};
    const double density = shadow ? p.shadowDensity : -1;
    Grade grade(n, p.invertGrade != 0, p.gradeCurve);
    double k = 1;
    ArtHandle copy = nullptr;
    for (int32_t i = 0; i < n; ++i) {
        const double weight = grade.weight();
        if (ErrorCode err = Duplicate(source, kVtgPlaceInsideOnTop, group, copy))
            return err;
        if (ErrorCode err = StyleStep(copy, k, weight, 2, false, density))
            return err;
        // Outside, the shadow copies move away from the light.
        Shift move = shadow ? Shift{-s.x, -s.y} : Shift{};
        if (eccentric) {
            move = {move.x + v.x, move.y + v.y};
            v = {v.x - dec.x, v.y - dec.y};
        }
        if (ErrorCode err = TranslateArt(copy, move.x, move.y))
            return err;
        if (shadow) {
            if (ErrorCode err = Duplicate(source, kVtgPlaceInsideOnTop, group, copy))
                return err;
            if (ErrorCode err = StyleStep(copy, k, weight, 2, false, -1))
                return err;
            if (eccentric)
                if (ErrorCode err = TranslateArt(copy, v.x, v.y))
                    return err;
        }
        grade.advance();
        k -= 1.0 / n;
    }
    // The source's own fill, without stroke, on top of the band.
    if (ErrorCode err = Duplicate(source, kVtgPlaceInsideOnTop, group, copy))
        return err;
    return StyleStep(copy, 0, 0, 1, false, -1);
}

ErrorCode BuildBorderInside(ArtHandle group, ArtHandle source, const BorderPGParams& p) {
    if (!Suites())
        return kSuiteNotFoundErr;
    ArtHandle x = nullptr;
    ErrorCode err = kNoErr;
    if (p.mergeOverlaps != 0)
        err = MakeUnitedCopy(group, source, x);
    if (err == kNoErr)
        err = InsideSteps(group, x != nullptr ? x : source, p);
    // The united shapes only served as the source of the copies.
    if (x != nullptr) {
        const ErrorCode deleted = sArt->DeleteArt(x);
        if (err == kNoErr)
            err = deleted;
    }
    return err;
}

ErrorCode BuildBorderClip(ArtHandle result, ArtHandle group, ArtHandle source) {
    if (!Suites())
        return kSuiteNotFoundErr;
    ArtHandle z = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, result, &z))
        return err;
    int32_t kind = 0;
    if (ErrorCode err = sArt->GetArtKind(source, &kind))
        return err;
    ArtHandle clip = nullptr;
    if (kind == kVtgArtGroup) {
        // A compound path holds paths only: the group's paths make it.
        if (ErrorCode err = sArt->NewArt(kVtgArtCompoundPath, kVtgPlaceInsideOnTop, z, &clip))
            return err;
        if (ErrorCode err = CopyPathsInto(source, clip))
            return err;
    } else if (kind == kVtgArtPath || kind == kVtgArtCompoundPath || kind == kVtgArtPointText) {
        if (ErrorCode err = Duplicate(source, kVtgPlaceInsideOnBottom, z, clip))
            return err;
    }
    if (clip != nullptr) {
        if (ErrorCode err = StyleStep(clip, 0, 0, 0, true, -1))
            return err;
        if (kind == kVtgArtPointText)
            if (ErrorCode err = sArt->SetArtAttributes(clip, kVtgArtClipping, 1))
                return err;
    }
    if (ErrorCode err = sArt->MoveArt(group, kVtgPlaceInsideOnBottom, z))
        return err;
    return sArt->SetArtAttributes(z, kVtgArtClipping, 1);
}

ErrorCode UpdateBorder(ArtHandle editArt, ArtHandle resultArt, const BorderPGParams& p) {
    if (!Suites())
        return kSuiteNotFoundErr;
    ArtHandle first = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(editArt, &first))
        return err;
    if (first == nullptr)
        return kNoErr; // nothing to build from: the result stays empty
    ArtHandle group = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, resultArt, &group))
        return err;
    // The band is built from the copy at the top of the group, in plain paths
    // (text as outlines).
    ArtHandle source = nullptr;
    if (ErrorCode err = Duplicate(first, kVtgPlaceInsideOnTop, group, source))
        return err;
    if (ErrorCode err = ConvertToPaths(source)) {
        sArt->DeleteArt(source);
        return err;
    }
    const bool inside = p.style == 1;
    ErrorCode err =
        inside ? BuildBorderInside(group, source, p) : BuildBorderOutside(group, source, p);
    if (err == kNoErr && inside)
        err = BuildBorderClip(resultArt, group, source);
    const ErrorCode deleted = sArt->DeleteArt(source);
    return err != kNoErr ? err : deleted;
}

const LiveKindOps& BorderKindOps() {
    return kBorderOps;
}

} // namespace vtg
