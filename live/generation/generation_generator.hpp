// generation_generator.hpp - Live Generation: a chain of copies of each
// source object, each a fixed factor smaller or larger than the one before,
// turned a little further and pushed on by a step that turns with it.
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "live/live_object.hpp"
#include "params/live_params.hpp"

namespace vtg {

// Fills `group` with the chain of copies of `source`. Host errors stop the
// chain and are returned; copies made so far stay. A count of 0 or less
// makes nothing. The chain ends at the first copy whose placement is no
// longer a finite number (a scale grown past the largest double).
ErrorCode GenerateGeneration(ArtHandle group, ArtHandle source, const GenerationPGParams& record);

// The matrix of copy `i` is built from its scale g, turn theta and offset
// (x, y) about the source's centre; Placement gives them for the copies in
// order, as the generator walks them.
struct GenerationPlacement {
    double scale = 1, angle = 0, x = 0, y = 0;
};
// Steps `at` from one copy to the next under `record` with step length `c`.
void NextGenerationPlacement(GenerationPlacement& at, const GenerationPGParams& record, double c);

// The reference length of the spacing-mode switch: the width of the union
// of the boxes of the selected art (groups and live objects skipped).
// False when there is no such art, the union has no width, or a host call
// fails; nothing is converted then.
bool GenerationReferenceLength(double& length);

// Live Generation's part of the live-object operations.
const LiveKindOps& GenerationKindOps();

} // namespace vtg
