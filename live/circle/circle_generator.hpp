// circle_generator.hpp - Live Circle: copies of each source object arranged
// around a centre point, optionally randomised in polar coordinates.
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "live/live_copies.hpp"
#include "params/live_params.hpp"

namespace vtg {

// Fills `group` with the copies of `source`. Host errors stop the
// generation and are returned; copies made so far stay. A list of copies
// that cannot be allocated gives kOutOfMemoryErr.
ErrorCode GenerateCircle(ArtHandle group, ArtHandle source, const CirclePGParams& record);

// The copies one source makes, or -1 for a count beyond the panel's range.
std::int64_t CircleCopies(const CirclePGParams& record);

// The seed a live object gets when the panel's record is written into it:
// the record's own seed when seedFixed is set, else a fresh one from the
// accumulator; seedFixed is set in either case.
void ChooseCircleSeed(CirclePGParams& record);

} // namespace vtg
