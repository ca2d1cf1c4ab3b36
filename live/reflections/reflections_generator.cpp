// Live Reflections' generator: every image is a duplicate placed below the
// ones before it and moved about the mirror centre in quarter-turn steps.
#include "live/reflections/reflections_generator.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_math_suite.h"
#include "live/live_copies.hpp"

namespace vtg {

namespace {

constexpr double kPi = std::numbers::pi;

// One step about `pm`: translate(-pm), rotate(angle), scale(sx, sy),
// translate(+pm).
ErrorCode Step(ArtHandle art, VtgPoint pm, double angle, double sx, double sy) {
    VtgMatrix m{};
    sMath->IdentityMatrix(&m);
    sMath->ConcatTranslate(&m, -pm.x, -pm.y);
    sMath->ConcatRotate(&m, angle);
    sMath->ConcatScale(&m, sx, sy);
    sMath->ConcatTranslate(&m, pm.x, pm.y);
    return sArt->TransformArt(art, &m, 1, kVtgTransformAll);
}

// A duplicate of `art` at the bottom of `group`, moved by a quarter turn and
// then a quarter turn with the scale (sx, sy): a mirror for one flipped
// axis, a half turn for none.
ErrorCode Image(ArtHandle group, ArtHandle art, VtgPoint pm, double sx, double sy,
                ArtHandle* made = nullptr) {
    ArtHandle copy = nullptr;
    if (ErrorCode err = sArt->DuplicateArt(art, kVtgPlaceInsideOnBottom, group, &copy))
        return err;
    if (made != nullptr)
        *made = copy;
    if (ErrorCode err = Step(copy, pm, kPi / 2, 1, 1))
        return err;
    return Step(copy, pm, kPi / 2, sx, sy);
}

// A duplicate of `art` at the bottom of `group` turned by `angle` about
// `pm`; near a multiple of pi in two turns, the first of 0.1 rad.
ErrorCode Turned(ArtHandle group, ArtHandle art, VtgPoint pm, double angle) {
    ArtHandle copy = nullptr;
    if (ErrorCode err = sArt->DuplicateArt(art, kVtgPlaceInsideOnBottom, group, &copy))
        return err;
    if (!NearMultipleOfPi(angle))
        return Step(copy, pm, angle, 1, 1);
    if (ErrorCode err = Step(copy, pm, 0.1, 1, 1))
        return err;
    return Step(copy, pm, angle - 0.1, 1, 1);
}

ErrorCode UpdateOps(ArtHandle edit, ArtHandle result, const void* record) {
    return UpdateReflections(edit, result, *static_cast<const ReflectionsPGParams*>(record));
}

// The images of the source: two per radial axis in style 3 (-1 for a stored
// count beyond the panel's range), four with both axes, else two.
std::int64_t CountOps(const void* record) {
    const auto& p = *static_cast<const ReflectionsPGParams*>(record);
    if (p.axisStyle == 3)
        return p.axisCount > kMaxPanelCount
                   ? -1
                   : 2 * static_cast<std::int64_t>(std::max(p.axisCount, 0));
    return p.axisStyle == 2 ? 4 : 2;
}

const LiveKindOps kReflectionsOps{nullptr, nullptr, UpdateOps, nullptr, CountOps};

} // namespace

ErrorCode ReflectionsCentre(ArtHandle source, const ReflectionsPGParams& p, VtgPoint& centre) {
    VtgRect box{};
    if (ErrorCode err = sArt->GetArtBounds(source, nullptr, kVtgBoundsControlPoints, &box))
        return err;
    centre = {box.left - p.offsetH, box.bottom - p.offsetV};
    return kNoErr;
}

ErrorCode GenerateReflections(ArtHandle group, ArtHandle source, const ReflectionsPGParams& p) {
    if (sArt == nullptr || sMath == nullptr)
        return kSuiteNotFoundErr;
    VtgPoint pm{};
    if (ErrorCode err = ReflectionsCentre(source, p, pm))
        return err;
    if (p.axisStyle == 1 || p.axisStyle == 2)
        if (ErrorCode err = Image(group, source, pm, 1, -1))
            return err;
    if (p.axisStyle == 0 || p.axisStyle == 2)
        if (ErrorCode err = Image(group, source, pm, -1, 1))
            return err;
    if (p.axisStyle == 2)
        if (ErrorCode err = Image(group, source, pm, 1, 1))
            return err;
    return kNoErr;
}

ErrorCode GenerateRadialReflections(ArtHandle group, ArtHandle source,
                                    const ReflectionsPGParams& p) {
    if (sArt == nullptr || sMath == nullptr)
        return kSuiteNotFoundErr;
    if (p.axisCount <= 0)
        return kNoErr;
    VtgPoint pm{};
    if (ErrorCode err = ReflectionsCentre(source, p, pm))
        return err;
    ArtHandle mirror = nullptr;
    if (ErrorCode err = Image(group, source, pm, 1, -1, &mirror))
        return err;
    const double e = 2 * kPi / p.axisCount;
    for (int32_t i = 1; i < p.axisCount; ++i) {
        const double angle = i * e;
        if (ErrorCode err = Turned(group, source, pm, angle))
            return err;
        if (ErrorCode err = Turned(group, mirror, pm, angle))
            return err;
    }
    return kNoErr;
}

ErrorCode UpdateReflections(ArtHandle edit, ArtHandle result, const ReflectionsPGParams& p) {
    if (sArt == nullptr || sMath == nullptr)
        return kSuiteNotFoundErr;
    ArtHandle group = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, result, &group))
        return err;
    // Only the first source is reflected; the later ones are not used.
    ArtHandle first = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(edit, &first))
        return err;
    if (first == nullptr)
        return kNoErr;
    ArtHandle source = nullptr;
    if (ErrorCode err = sArt->DuplicateArt(first, kVtgPlaceInsideOnTop, group, &source))
        return err;
    // The source image stays in the result, in plain paths.
    if (ErrorCode err = ConvertToPaths(source))
        return err;
    if (p.axisStyle >= 0 && p.axisStyle <= 2)
        return GenerateReflections(group, source, p);
    if (p.axisStyle == 3)
        return GenerateRadialReflections(group, source, p);
    return kNoErr; // another style leaves the source image alone
}

const LiveKindOps& ReflectionsKindOps() {
    return kReflectionsOps;
}

} // namespace vtg
