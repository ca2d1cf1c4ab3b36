// Live Generation's generator: duplicate the source once per copy and move
// each copy by its scale, turn and offset about the source's centre.
#include "live/generation/generation_generator.hpp"

#include <cmath>

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_document_suite.h"
#include "host/api/vtg_math_suite.h"
#include "host/api/vtg_memory_suite.h"
#include "live/live_copies.hpp"

namespace vtg {

namespace {

// Whether `m` takes every point of `box` to finite coordinates (the corners
// bound what an affine map does to the points inside).
bool StaysFinite(const VtgMatrix& m, const VtgRect& box) {
    for (double x : {box.left, box.right})
        for (double y : {box.bottom, box.top})
            if (!std::isfinite(m.a * x + m.c * y + m.tx) ||
                !std::isfinite(m.b * x + m.d * y + m.ty))
                return false;
    return true;
}

// translate(-pc), rotate(angle), scale(g, g), translate(x, y), translate(+pc);
// an angle at a multiple of pi is reached in two turns, the first of 0.1 rad.
VtgMatrix CopyMatrix(const GenerationPlacement& at, VtgPoint pc) {
    VtgMatrix m{};
    sMath->IdentityMatrix(&m);
    double angle = at.angle;
    if (NearMultipleOfPi(angle)) {
        sMath->ConcatTranslate(&m, -pc.x, -pc.y);
        sMath->ConcatRotate(&m, 0.1);
        sMath->ConcatTranslate(&m, pc.x, pc.y);
        angle -= 0.1;
    }
    sMath->ConcatTranslate(&m, -pc.x, -pc.y);
    sMath->ConcatRotate(&m, angle);
    sMath->ConcatScale(&m, at.scale, at.scale);
    sMath->ConcatTranslate(&m, at.x, at.y);
    sMath->ConcatTranslate(&m, pc.x, pc.y);
    return m;
}

ErrorCode GenerateOps(ArtHandle group, ArtHandle source, const void* record) {
    return GenerateGeneration(group, source, *static_cast<const GenerationPGParams*>(record));
}

// The copies of one source; -1 for a stored count beyond the panel's range.
std::int64_t CountOps(const void* record) {
    const int32_t count = static_cast<const GenerationPGParams*>(record)->count;
    return count > kMaxPanelCount ? -1 : (count > 0 ? count : 0);
}

const LiveKindOps kGenerationOps{GenerateOps, nullptr, nullptr, nullptr, CountOps};

} // namespace

void NextGenerationPlacement(GenerationPlacement& at, const GenerationPGParams& p, double c) {
    if (p.directionChange != 0)
        at.angle += p.directionChange;
    double r = c;
    if (p.rate != 1) {
        const double next = at.scale * p.rate;
        r = (at.scale + next) * c * 0.5;
        at.scale = next;
    }
    at.x += std::cos(at.angle + p.direction) * r;
    at.y += std::sin(at.angle + p.direction) * r;
}

ErrorCode GenerateGeneration(ArtHandle group, ArtHandle source, const GenerationPGParams& p) {
    if (sArt == nullptr || sMath == nullptr)
        return kSuiteNotFoundErr;
    VtgRect box{};
    if (ErrorCode err = sArt->GetArtBounds(source, nullptr, kVtgBoundsControlPoints, &box))
        return err;
    const VtgPoint pc{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    const double c = p.feedMode == 0 ? p.distance * (box.right - box.left) : p.distance;
    const int32_t place = p.stacking == 1 ? kVtgPlaceInsideOnBottom : kVtgPlaceInsideOnTop;
    GenerationPlacement at;
    for (int32_t i = 0; i < p.count; ++i) {
        const VtgMatrix m = CopyMatrix(at, pc);
        if (!StaysFinite(m, box))
            break; // the chain has grown past what a number can hold
        ArtHandle copy = nullptr;
        if (ErrorCode err = sArt->DuplicateArt(source, place, group, &copy))
            return err;
        if (ErrorCode err = sArt->TransformArt(copy, &m, 1, kVtgTransformAll))
            return err;
        NextGenerationPlacement(at, p, c);
    }
    return kNoErr;
}

bool GenerationReferenceLength(double& length) {
    if (sArt == nullptr || sDocument == nullptr || sMemory == nullptr)
        return false;
    ArtHandle* list = nullptr;
    int32_t count = 0;
    if (sDocument->GetSelectedArt(&list, &count) != kNoErr)
        return false;
    // Entry 0 of the list is never a source of its own (the walks of every
    // kind start at entry 1).
    bool found = false, ok = true;
    VtgRect all{};
    for (int32_t i = 1; i < count && ok; ++i) {
        int32_t kind = 0;
        if (sArt->GetArtKind(list[i], &kind) != kNoErr) {
            ok = false;
            break;
        }
        if (kind == kVtgArtGroup || kind == kVtgArtPlugin)
            continue;
        VtgRect r{};
        if (sArt->GetArtBounds(list[i], nullptr, kVtgBoundsControlPoints, &r) != kNoErr) {
            ok = false;
            break;
        }
        if (!found)
            all = r;
        else {
            all.left = std::fmin(all.left, r.left);
            all.right = std::fmax(all.right, r.right);
            all.top = std::fmax(all.top, r.top);
            all.bottom = std::fmin(all.bottom, r.bottom);
        }
        found = true;
    }
    if (list != nullptr)
        sMemory->FreeBlock(list);
    const double width = all.right - all.left;
    if (!ok || !found || !(width > 0) || !std::isfinite(width))
        return false;
    length = width;
    return true;
}

const LiveKindOps& GenerationKindOps() {
    return kGenerationOps;
}

} // namespace vtg
