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
#include "host/api/vtg_memory_suite.h"
#include "host/api/vtg_path_suite.h"
#include "platform/system.hpp"

namespace vtg {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr const char* kCopyListBlock = "Circle Copies";
constexpr double kMarkHalf = 8.0;
// The copy list is indexed by int32; a larger count cannot be held.
constexpr std::int64_t kMaxCopies = 0x7FFFFFFF / static_cast<std::int64_t>(sizeof(ArtHandle));

double Random() {
    double r = 0;
    if (sMath->RandomUniform(&r) != kNoErr)
        return 0;
    return r;
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

// translate(-c), rotate(a), scale(sx, sy), translate(+c), appended to m.
void RotateAbout(VtgMatrix& m, VtgPoint c, double a, double sx, double sy) {
    sMath->ConcatTranslate(&m, -c.x, -c.y);
    sMath->ConcatRotate(&m, a);
    sMath->ConcatScale(&m, sx, sy);
    sMath->ConcatTranslate(&m, c.x, c.y);
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

ErrorCode NewMarkPath(ArtHandle mark, const VtgPoint (&points)[3]) {
    ArtHandle path = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtPath, kVtgPlaceInsideOnTop, mark, &path))
        return err;
    PathSegment segments[3];
    for (int i = 0; i < 3; ++i)
        segments[i] = {points[i], points[i], points[i], 1};
    if (ErrorCode err = sPath->SetPathSegments(path, 0, 3, segments))
        return err;
    return sArt->SetArtAttributes(path, kVtgArtGuide, 1);
}

ErrorCode DrawCentreMark(ArtHandle group, VtgPoint c) {
    ViewHandle view = nullptr;
    if (sDocument->GetFrontView(&view) == kNoErr && view != nullptr) {
        int32_t shown = 1;
        if (sDocument->GetGuideDisplay(view, &shown) == kNoErr && shown == 0)
            if (ErrorCode err = sDocument->SetGuideDisplay(view, 1))
                return err;
    }
    ArtHandle mark = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, group, &mark))
        return err;
    const VtgPoint horizontal[3] = {{c.x - kMarkHalf, c.y}, c, {c.x + kMarkHalf, c.y}};
    if (ErrorCode err = NewMarkPath(mark, horizontal))
        return err;
    const VtgPoint vertical[3] = {{c.x, c.y - kMarkHalf}, c, {c.x, c.y + kMarkHalf}};
    if (ErrorCode err = NewMarkPath(mark, vertical))
        return err;
    return sArt->SetArtAttributes(mark, kVtgArtLocked, 1);
}

VtgPoint RingCentre(const VtgRect& box, const CirclePGParams& p) {
    const double cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    const double xs[3] = {box.left, cx, box.right};
    const double ys[3] = {box.top, cy, box.bottom};
    // An out-of-range stored reference point is read as the nearest one.
    int r = p.referencePoint < 0 ? 0 : (p.referencePoint > 8 ? 8 : p.referencePoint);
    return {xs[r % 3] + p.offsetH, ys[r / 3] + p.offsetV};
}

// The copies after the loop: shuffled, then reversed, as the record says.
ErrorCode OrderCopies(ArtHandle group, ArtHandle* list, int32_t made, int32_t copies,
                      const CirclePGParams& p) {
    if (p.randomOn != 0 && p.randomOrder != 0 && made == copies) {
        for (int32_t j = 0; j < copies; ++j) {
            const auto k = static_cast<int32_t>(
                static_cast<int64_t>(std::trunc(Random() * 2147483647.0)) % copies);
            ArtHandle t = list[j];
            list[j] = list[k];
            list[k] = t;
        }
        for (int32_t j = 0; j < copies; ++j)
            if (ErrorCode err = sArt->MoveArt(list[j], kVtgPlaceInsideOnBottom, group))
                return err;
    }
    if (p.reverseOrder != 0)
        for (int32_t j = 0; j < made; ++j)
            if (ErrorCode err = sArt->MoveArt(list[j], kVtgPlaceInsideOnTop, group))
                return err;
    return kNoErr;
}

} // namespace

bool NearMultipleOfPi(double a) {
    double r = std::fabs(a);
    if (!std::isfinite(r))
        return false;
    r = std::fmod(r, kPi) - kPi; // |a| less pi until the result is negative
    return r > -0.001 || r + kPi < 0.001;
}

int32_t& CircleSeedAccumulator() {
    static int32_t accumulator = 0;
    return accumulator;
}

int32_t NextAccumulatedSeed(int32_t& accumulator, uint32_t tick, double random) {
    // Unsigned arithmetic: the sum wraps instead of overflowing, with the
    // same bits as the signed sum on two's-complement machines.
    const double step = std::trunc(random * 10000.0);
    const auto add = static_cast<uint32_t>(static_cast<int32_t>(std::isfinite(step) ? step : 0));
    const uint32_t acc = static_cast<uint32_t>(accumulator) + add;
    accumulator = static_cast<int32_t>(acc);
    return static_cast<int32_t>(((tick & 0x7FFFFFFFu) + acc) & 0x7FFFFFFFu);
}

void ChooseCircleSeed(CirclePGParams& record) {
    if (record.seedFixed == 0)
        record.seed = NextAccumulatedSeed(CircleSeedAccumulator(), platform::TickCount(), Random());
    record.seedFixed = 1;
}

namespace {

// Adds the segments of the paths in `art` to `count`, stopping once it
// passes `limit`.
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
    ArtHandle child = nullptr;
    if (kind != kVtgArtGroup && kind != kVtgArtCompoundPath) {
        count += 1; // text and other art: at least one piece each
        return kNoErr;
    }
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

} // namespace

ErrorCode CheckCircleSize(ArtHandle edit, const CirclePGParams& p) {
    if (sArt == nullptr || sPath == nullptr)
        return kSuiteNotFoundErr;
    if (p.copies <= 0)
        return kNoErr;
    if (p.copies > kMaxCircleCopies)
        return kResultTooLargeErr;
    const std::int64_t limit = kMaxCircleResultSegments / p.copies;
    std::int64_t segments = 0;
    if (ErrorCode err = CountSegments(edit, limit, segments))
        return err;
    return segments > limit ? kResultTooLargeErr : kNoErr;
}

ErrorCode GenerateCircle(ArtHandle group, ArtHandle source, const CirclePGParams& p) {
    if (sArt == nullptr || sMath == nullptr || sPath == nullptr || sMemory == nullptr ||
        sDocument == nullptr)
        return kSuiteNotFoundErr;
    if (ErrorCode err = sMath->SeedRandom(p.seed))
        return err;
    VtgRect box{};
    if (ErrorCode err = sArt->GetArtBounds(source, nullptr, kVtgBoundsControlPoints, &box))
        return err;
    const VtgPoint ps{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    const VtgPoint pc = RingCentre(box, p);
    const int32_t copies = p.copies > 0 ? p.copies : 0;
    ArtHandle* list = nullptr;
    if (copies > 0) {
        // The size in 64 bits: a stored count can never wrap it.
        const std::int64_t bytes = static_cast<std::int64_t>(copies) * sizeof(ArtHandle);
        void* block = nullptr;
        if (copies > kMaxCopies ||
            sMemory->AllocateBlock(kCopyListBlock, static_cast<size_t>(bytes), &block) != kNoErr)
            return kOutOfMemoryErr;
        list = static_cast<ArtHandle*>(block);
    }
    const bool randomise =
        p.randomOn != 0 && (p.anchorRadialOn != 0 || p.anchorAngleOn != 0 || p.inRadialOn != 0 ||
                            p.inAngleOn != 0 || p.outRadialOn != 0 || p.outAngleOn != 0);
    ErrorCode err = kNoErr;
    int32_t made = 0;
    double a = 0;
    const double step = 2 * kPi / (copies > 0 ? copies : 1);
    for (int32_t i = 0; i < copies && err == kNoErr; ++i, a += step) {
        ArtHandle copy = nullptr;
        err = sArt->DuplicateArt(source, kVtgPlaceInsideOnBottom, group, &copy);
        if (err != kNoErr)
            break;
        list[made++] = copy;
        if (randomise && (err = Randomise(copy, pc, p)) != kNoErr)
            break;
        const VtgMatrix m = CopyMatrix(a, ps, pc, p);
        err = sArt->TransformArt(copy, &m, 1, kVtgTransformAll);
    }
    if (err == kNoErr)
        err = OrderCopies(group, list, made, copies, p);
    if (err == kNoErr && p.showCentre != 0)
        err = DrawCentreMark(group, pc);
    if (list != nullptr)
        sMemory->FreeBlock(list);
    return err;
}

} // namespace vtg
