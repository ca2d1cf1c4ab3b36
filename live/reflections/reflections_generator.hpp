// reflections_generator.hpp - Live Reflections: the source with its mirror
// images across a horizontal axis, a vertical axis, both, or several axes
// through one centre like a kaleidoscope.
#pragma once

#include "host/api/vtg_base.h"
#include "live/live_object.hpp"
#include "params/live_params.hpp"

namespace vtg {

// The mirror centre of the source image `source`: the bottom-left corner of
// its box moved left by offsetH and down by offsetV.
ErrorCode ReflectionsCentre(ArtHandle source, const ReflectionsPGParams& record, VtgPoint& centre);

// Styles 0 to 2: the mirror across the vertical axis (1, 2), across the
// horizontal axis (0, 2) and the half-turned image (2), each a duplicate of
// `source` at the bottom of `group`.
ErrorCode GenerateReflections(ArtHandle group, ArtHandle source, const ReflectionsPGParams& record);
// Style 3: axisCount images of the source and as many mirror images, turned
// by equal shares of a full turn about the centre.
ErrorCode GenerateRadialReflections(ArtHandle group, ArtHandle source,
                                    const ReflectionsPGParams& record);

// The update: the first child of `editArt` alone, converted to paths as the
// source image at the top of a new group in the emptied `resultArt`, then
// its images by the style.
ErrorCode UpdateReflections(ArtHandle editArt, ArtHandle resultArt,
                            const ReflectionsPGParams& record);

// Live Reflections' part of the live-object operations.
const LiveKindOps& ReflectionsKindOps();

} // namespace vtg
