// live_copies.hpp - what the kinds that arrange copies of their source share:
// the host's seeded random numbers and the seed a live object gets when the
// panel's record is written into it, the two-step rotation near multiples of
// pi, the centre mark, the list of copies with its stacking, and the bound on
// the size of a result.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/api/vtg_base.h"
#include "host/api/vtg_math_suite.h"

namespace vtg {

// A result beyond the bounds below (a damaged preset, recording or file).
inline constexpr ErrorCode kResultTooLargeErr = 0x42494721; // "BIG!"
// The largest count a panel allows, and the most segments one source's
// copies may hold in all.
inline constexpr int32_t kMaxPanelCount = 32767;
inline constexpr std::int64_t kMaxResultSegments = 4000000;

// Whether `copies` copies of each source in `edit` stay within
// kMaxResultSegments: kResultTooLargeErr when not (nothing is made then),
// host errors as they come.
ErrorCode CheckResultSize(ArtHandle edit, std::int64_t copies);

// One uniform number in [0, 1) from the host's seeded generator (0 when the
// host has none to give).
double LiveRandom();

// Seeds the host's generator with `base` + `offset`, wrapping in 32 bits as
// two's-complement arithmetic does (a seed near 2^31 plus an arm index).
ErrorCode SeedLiveRandom(int32_t base, int64_t offset = 0);

// True when `a` lies within 0.001 rad of a multiple of pi (the rotation
// there goes in two steps).
bool NearMultipleOfPi(double a);

// Appends translate(-c), rotate(a), scale(sx, sy), translate(+c) to `m`.
void RotateAbout(VtgMatrix& m, VtgPoint c, double a, double sx = 1, double sy = 1);

// One draw of the seed accumulator: adds trunc(random x 10000) to
// `accumulator` (wrapping, two's complement) and returns
// ((tick AND 0x7FFFFFFF) + accumulator) AND 0x7FFFFFFF.
int32_t NextAccumulatedSeed(int32_t& accumulator, uint32_t tick, double random);
// The process-wide accumulator every kind draws from (tests preset it).
int32_t& LiveSeedAccumulator();
// The seed a live object gets when the panel's record is written into it:
// the record's own seed when `seedFixed` is set, else a fresh one from the
// accumulator; `seedFixed` is set in either case.
void ChooseLiveSeed(int32_t& seedFixed, int32_t& seed);

// The centre mark at `c`: a locked group on top of `group` holding two
// 16-point guide paths crossing at `c`; the front view shows guides.
ErrorCode DrawCentreMark(ArtHandle group, VtgPoint c);

// The handles of the copies a generation made, in a named host block taken
// for the generation and freed with the list.
class CopyList {
public:
    CopyList() = default;
    ~CopyList();
    CopyList(const CopyList&) = delete;
    CopyList& operator=(const CopyList&) = delete;
    // Room for `count` handles (none for 0 or less). The size is computed in
    // 64 bits; a count that cannot be held or allocated gives
    // kOutOfMemoryErr and nothing is taken.
    ErrorCode Allocate(const char* name, std::int64_t count);
    // Appends a handle; false when the list is full (nothing is written).
    bool Add(ArtHandle art);
    int32_t size() const { return size_; }
    ArtHandle operator[](int32_t i) const { return list_[i]; }

    // The stacking after the copies were made: when `shuffle`, entry j is
    // swapped with entry trunc(random x 2147483647) mod n for j = 0 .. n - 1
    // and every entry is moved, in list order, to the bottom of `group`;
    // then, when `reverse`, every entry is moved, in list order, to its top.
    ErrorCode Stack(ArtHandle group, bool shuffle, bool reverse);

private:
    ArtHandle* list_ = nullptr;
    int32_t size_ = 0, capacity_ = 0;
};

} // namespace vtg
