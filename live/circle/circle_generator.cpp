// Live Circle's generator: duplicate, randomise and transform each copy,
// then order the stack and draw the centre mark.
#include "live/circle/circle_generator.hpp"

#include <cmath>
#include <cstdint>
#include <numbers>

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_document_suite.h"
#include "host/api/vtg_math_suite.h"
#include "host/api/vtg_path_suite.h"

namespace vtg {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr const char* kCopyListBlock = "Circle Copies";

double Random() {
    return LiveRandom();
}

// Moves `p` in polar coordinates about `c`: the distance by a share of
// itself, the angle by a share of `angle`. False when the point lies on the
// centre or the result has no length (the point then stays).
bool Displace(VtgPoint& p, VtgPoint c, bool radialOn, double radial, bool angleOn, double angle,
              double r1, double r2) {
    const double dx = p.x - c.x, dy = p.y - c.y;
    double d = std::hypot(dx, dy);
    double t = std::atan2(dy, dx);
    if (radialOn)
        d = d + (r1 - 0.5) * radial * d;
    if (angleOn)
        t = t + (r2 - 0.5) * angle;
    if (!(d > 0))
        return false;
    p = {c.x + d * std::cos(t), c.y + d * std::sin(t)};
    return true;
}

ErrorCode RandomisePath(ArtHandle path, VtgPoint c, const CirclePGParams& p) {
    int16_t count = 0;
    if (ErrorCode err = sPath->GetPathSegmentCount(path, &count))
        return err;
    for (int16_t i = 0; i < count; ++i) {
        PathSegment s{};
        if (ErrorCode err = sPath->GetPathSegments(path, i, 1, &s))
            return err;
        const double r1 = Random(), r2 = Random();
        if (p.anchorRadialOn != 0 || p.anchorAngleOn != 0) {
            VtgPoint a = s.anchor;
            if (Displace(a, c, p.anchorRadialOn != 0, p.anchorRadial, p.anchorAngleOn != 0,
                         p.anchorAngle, r1, r2)) {
                const double mx = a.x - s.anchor.x, my = a.y - s.anchor.y;
                s.anchor = a;
                s.in = {s.in.x + mx, s.in.y + my};
                s.out = {s.out.x + mx, s.out.y + my};
            }
        }
        const double r3 = Random(), r4 = Random();
        if (p.inRadialOn != 0 || p.inAngleOn != 0)
            Displace(s.in, c, p.inRadialOn != 0, p.inRadial, p.inAngleOn != 0, p.inAngle, r3, r4);
        const double r5 = Random(), r6 = Random();
        if (p.outRadialOn != 0 || p.outAngleOn != 0)
            Displace(s.out, c, p.outRadialOn != 0, p.outRadial, p.outAngleOn != 0, p.outAngle, r5,
                     r6);
        if (ErrorCode err = sPath->SetPathSegments(path, i, 1, &s))
            return err;
    }
    return kNoErr;
}

ErrorCode Randomise(ArtHandle art, VtgPoint c, const CirclePGParams& p) {
    int32_t kind = 0;
    if (ErrorCode err = sArt->GetArtKind(art, &kind))
        return err;
    if (kind == kVtgArtPath)
        return RandomisePath(art, c, p);
    if (kind != kVtgArtGroup && kind != kVtgArtCompoundPath)
        return kNoErr;
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
        return err;
    while (child != nullptr) {
        if (ErrorCode err = Randomise(child, c, p))
            return err;
        if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
            return err;
    }
    return kNoErr;
}

VtgMatrix CopyMatrix(double a, VtgPoint ps, VtgPoint pc, const CirclePGParams& p) {
    VtgMatrix m{};
    sMath->IdentityMatrix(&m);
    if (p.keepAngle != 0) {
        sMath->ConcatTranslate(&m, -ps.x, -ps.y);
        sMath->ConcatRotate(&m, -a);
        sMath->ConcatTranslate(&m, ps.x - pc.x, ps.y - pc.y);
        sMath->ConcatRotate(&m, a);
        sMath->ConcatScale(&m, 1, p.heightRatio);
        sMath->ConcatTranslate(&m, pc.x, pc.y);
    } else if (NearMultipleOfPi(a)) {
        // A rotation by a multiple of pi in one matrix can leave a mirror
        // the host folds into a flip; two steps keep it a rotation.
        RotateAbout(m, pc, 0.1, 1, 1);
        RotateAbout(m, pc, a - 0.1, 1, p.heightRatio);
    } else {
        RotateAbout(m, pc, a, 1, p.heightRatio);
    }
    return m;
}

VtgPoint RingCentre(const VtgRect& box, const CirclePGParams& p) {
    const double cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    const double xs[3] = {box.left, cx, box.right};
    const double ys[3] = {box.top, cy, box.bottom};
    // An out-of-range stored reference point is read as the nearest one.
    int r = p.referencePoint < 0 ? 0 : (p.referencePoint > 8 ? 8 : p.referencePoint);
    return {xs[r % 3] + p.offsetH, ys[r / 3] + p.offsetV};
}

} // namespace

void ChooseCircleSeed(CirclePGParams& record) {
    ChooseLiveSeed(record.seedFixed, record.seed);
}

std::int64_t CircleCopies(const CirclePGParams& record) {
    if (record.copies > kMaxPanelCount)
        return -1;
    return record.copies > 0 ? record.copies : 0;
}

ErrorCode GenerateCircle(ArtHandle group, ArtHandle source, const CirclePGParams& p) {
    if (sArt == nullptr || sMath == nullptr || sPath == nullptr || sMemory == nullptr ||
        sDocument == nullptr)
        return kSuiteNotFoundErr;
    if (ErrorCode err = SeedLiveRandom(p.seed))
        return err;
    VtgRect box{};
    if (ErrorCode err = sArt->GetArtBounds(source, nullptr, kVtgBoundsControlPoints, &box))
        return err;
    const VtgPoint ps{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    const VtgPoint pc = RingCentre(box, p);
    const int32_t copies = p.copies > 0 ? p.copies : 0;
    CopyList list;
    if (ErrorCode err = list.Allocate(kCopyListBlock, copies))
        return err;
    const bool randomise =
        p.randomOn != 0 && (p.anchorRadialOn != 0 || p.anchorAngleOn != 0 || p.inRadialOn != 0 ||
                            p.inAngleOn != 0 || p.outRadialOn != 0 || p.outAngleOn != 0);
    ErrorCode err = kNoErr;
    double a = 0;
    const double step = 2 * kPi / (copies > 0 ? copies : 1);
    for (int32_t i = 0; i < copies && err == kNoErr; ++i, a += step) {
        ArtHandle copy = nullptr;
        err = sArt->DuplicateArt(source, kVtgPlaceInsideOnBottom, group, &copy);
        if (err != kNoErr)
            break;
        list.Add(copy);
        if (randomise && (err = Randomise(copy, pc, p)) != kNoErr)
            break;
        const VtgMatrix m = CopyMatrix(a, ps, pc, p);
        err = sArt->TransformArt(copy, &m, 1, kVtgTransformAll);
    }
    if (err == kNoErr)
        err = list.Stack(group, p.randomOn != 0 && p.randomOrder != 0, p.reverseOrder != 0);
    if (err == kNoErr && p.showCentre != 0)
        err = DrawCentreMark(group, pc);
    return err;
}

} // namespace vtg
