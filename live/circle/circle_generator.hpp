// circle_generator.hpp - Live Circle: copies of each source object arranged
// around a centre point, optionally randomised in polar coordinates.
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "params/live_params.hpp"

namespace vtg {

// Fills `group` with the copies of `source`. Host errors stop the
// generation and are returned; copies made so far stay. A list of copies
// that cannot be allocated gives kOutOfMemoryErr.
ErrorCode GenerateCircle(ArtHandle group, ArtHandle source, const CirclePGParams& record);

// The largest count the panel allows, and the most segments a result may
// hold (copies times the segments of the source art).
inline constexpr int32_t kMaxCircleCopies = 32767;
inline constexpr std::int64_t kMaxCircleResultSegments = 4000000;
// A result beyond those bounds.
inline constexpr ErrorCode kResultTooLargeErr = 0x42494721; // "BIG!"

// Whether the copies of the art in `edit` can be made within the bounds
// above: kResultTooLargeErr when not (nothing is made then), host errors
// as they come.
ErrorCode CheckCircleSize(ArtHandle edit, const CirclePGParams& record);

// True when `a` lies within 0.001 rad of a multiple of pi (the rotation
// there goes in two steps).
bool NearMultipleOfPi(double a);

// The seed a live object gets when the panel's record is written into it:
// the record's own seed when seedFixed is set, else a fresh one from the
// accumulator; seedFixed is set in either case.
void ChooseCircleSeed(CirclePGParams& record);

// One draw of the seed accumulator: adds trunc(random x 10000) to
// `accumulator` (wrapping, two's complement) and returns
// ((tick AND 0x7FFFFFFF) + accumulator) AND 0x7FFFFFFF.
int32_t NextAccumulatedSeed(int32_t& accumulator, uint32_t tick, double random);

// The process-wide accumulator (tests preset it).
int32_t& CircleSeedAccumulator();

} // namespace vtg
