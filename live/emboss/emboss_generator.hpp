// emboss_generator.hpp - Live Emboss: the source raised from the page.
// Behind an unchanged copy of the source lie lightened copies shifted
// towards the light (the highlight) and darkened copies shifted away from
// it (the shade), in steps whose shift and contrast grow step by step.
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "live/live_object.hpp"
#include "params/live_params.hpp"

namespace vtg {

// The most steps an emboss makes, whatever a stored count says.
inline constexpr int32_t kMaxEmbossSteps = 32767;

// Adjusts the colours of every painted object of a copy by x (x < 0
// lighter, x > 0 darker); paths lose their clipping flag.
ErrorCode AdjustCopy(ArtHandle art, double x);

// The emboss of `source` (a converted copy) into `group`: groups are
// mirrored, each path or compound path gets its steps, and its unchanged
// copy lies directly above the container.
ErrorCode BuildEmboss(ArtHandle group, ArtHandle source, const EmbossPGParams& record);

const LiveKindOps& EmbossKindOps();

} // namespace vtg
