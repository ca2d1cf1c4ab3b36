// frame_generator.hpp - Live Frame: copies of each source laid around a
// rectangle like the pieces of a picture frame, side by side and turned at
// the corners, clockwise or counter-clockwise, optionally randomised
// horizontally and vertically and restacked.
#pragma once

#include <cstdint>
#include <vector>

#include "host/api/vtg_base.h"
#include "live/live_object.hpp"
#include "params/live_params.hpp"

namespace vtg {

// One copy of the walk: its offset from the source's place and its turn
// about the source's centre (a half turn goes as two quarter turns).
struct FramePlace {
    double x = 0, y = 0;
    double angle = 0; // radians
    bool corner = false;
};

// The places of the copies around the frame, in walk order, for a source
// `width` x `height` (corner copies only when they are placed).
std::vector<FramePlace> FramePlaces(const FramePGParams& record, double width, double height);

// Fills `group` with the copies of `source`. Host errors stop the
// generation and are returned; copies made so far stay. A list of copies
// that cannot be allocated gives kOutOfMemoryErr.
ErrorCode GenerateFrame(ArtHandle group, ArtHandle source, const FramePGParams& record);

// The copies one source makes, or -1 for a count beyond the panel's range.
std::int64_t FrameCopies(const FramePGParams& record);

// Frame's part of the live-object operations.
const LiveKindOps& FrameKindOps();

} // namespace vtg
