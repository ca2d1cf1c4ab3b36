// What the kinds that arrange copies of their source share.
#include "live/live_copies.hpp"

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
constexpr double kMarkHalf = 8.0;
// The list is indexed by int32; a larger count cannot be held.
constexpr std::int64_t kMaxListEntries = 0x7FFFFFFF / static_cast<std::int64_t>(sizeof(ArtHandle));

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

} // namespace

ErrorCode CheckResultSize(ArtHandle edit, std::int64_t copies) {
    if (sArt == nullptr || sPath == nullptr)
        return kSuiteNotFoundErr;
    if (copies <= 0)
        return kNoErr;
    if (copies > kMaxResultSegments)
        return kResultTooLargeErr;
    const std::int64_t limit = kMaxResultSegments / copies;
    std::int64_t segments = 0;
    if (ErrorCode err = CountSegments(edit, limit, segments))
        return err;
    return segments > limit ? kResultTooLargeErr : kNoErr;
}

double LiveRandom() {
    double r = 0;
    if (sMath == nullptr || sMath->RandomUniform(&r) != kNoErr)
        return 0;
    return r;
}

ErrorCode SeedLiveRandom(int32_t base, int64_t offset) {
    if (sMath == nullptr)
        return kSuiteNotFoundErr;
    // Unsigned: the sum wraps with the bits of the two's-complement sum.
    const uint32_t seed = static_cast<uint32_t>(base) + static_cast<uint32_t>(offset);
    return sMath->SeedRandom(static_cast<int32_t>(seed));
}

bool NearMultipleOfPi(double a) {
    double r = std::fabs(a);
    if (!std::isfinite(r))
        return false;
    r = std::fmod(r, kPi) - kPi; // |a| less pi until the result is negative
    return r > -0.001 || r + kPi < 0.001;
}

void RotateAbout(VtgMatrix& m, VtgPoint c, double a, double sx, double sy) {
    sMath->ConcatTranslate(&m, -c.x, -c.y);
    sMath->ConcatRotate(&m, a);
    sMath->ConcatScale(&m, sx, sy);
    sMath->ConcatTranslate(&m, c.x, c.y);
}

int32_t& LiveSeedAccumulator() {
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

void ChooseLiveSeed(int32_t& seedFixed, int32_t& seed) {
    if (seedFixed == 0)
        seed = NextAccumulatedSeed(LiveSeedAccumulator(), platform::TickCount(), LiveRandom());
    seedFixed = 1;
}

ErrorCode DrawCentreMark(ArtHandle group, VtgPoint c) {
    if (sArt == nullptr || sPath == nullptr || sDocument == nullptr)
        return kSuiteNotFoundErr;
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

CopyList::~CopyList() {
    if (list_ != nullptr)
        sMemory->FreeBlock(list_);
}

ErrorCode CopyList::Allocate(const char* name, std::int64_t count) {
    if (count <= 0)
        return kNoErr;
    if (sMemory == nullptr)
        return kSuiteNotFoundErr;
    // The size in 64 bits: a stored count can never wrap it.
    if (count > kMaxListEntries)
        return kOutOfMemoryErr;
    const std::int64_t bytes = count * static_cast<std::int64_t>(sizeof(ArtHandle));
    void* block = nullptr;
    if (sMemory->AllocateBlock(name, static_cast<size_t>(bytes), &block) != kNoErr ||
        block == nullptr)
        return kOutOfMemoryErr;
    list_ = static_cast<ArtHandle*>(block);
    capacity_ = static_cast<int32_t>(count);
    return kNoErr;
}

bool CopyList::Add(ArtHandle art) {
    if (size_ >= capacity_)
        return false;
    list_[size_++] = art;
    return true;
}

ErrorCode CopyList::Stack(ArtHandle group, bool shuffle, bool reverse) {
    if (shuffle && size_ > 0) {
        for (int32_t j = 0; j < size_; ++j) {
            const auto k = static_cast<int32_t>(
                static_cast<int64_t>(std::trunc(LiveRandom() * 2147483647.0)) % size_);
            ArtHandle t = list_[j];
            list_[j] = list_[k];
            list_[k] = t;
        }
        for (int32_t j = 0; j < size_; ++j)
            if (ErrorCode err = sArt->MoveArt(list_[j], kVtgPlaceInsideOnBottom, group))
                return err;
    }
    if (reverse)
        for (int32_t j = 0; j < size_; ++j)
            if (ErrorCode err = sArt->MoveArt(list_[j], kVtgPlaceInsideOnTop, group))
                return err;
    return kNoErr;
}

} // namespace vtg
