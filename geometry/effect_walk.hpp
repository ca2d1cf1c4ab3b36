// effect_walk.hpp - the walk every live effect uses over its input art: the
// effect's path transform runs on every path below the art, nested at any
// depth in groups and compound paths; all other art is left untouched.
#pragma once

#include "geometry/path_model.hpp"

namespace vtg {

class DeformVariant;

// The effect's path transform. Returns 0 or an error; kTooManySegments
// ("SEGM") leaves that path as it was.
using PathAction = ErrorCode (*)(ArtHandle path, void* context);

// How the walk treats its effect.
struct WalkPolicy {
    // "SEGM" ends the walk and is returned, instead of skipping the path.
    bool stopOnTooMany = false;
    // The action works in gEffectSegments (an effect with working arrays of
    // its own does not).
    bool segmentBuffer = true;
};

// Walks `art`: a group or compound path is walked through its children in
// order; a path is transformed alone (never its following siblings); any
// other kind is left alone. While a path is transformed, gEffectSegments
// holds a 32 000-segment buffer (allocated here when none is held, and freed
// again after that path) unless the policy says the action needs none. An
// error other than "SEGM" ends the walk; "SEGM" as the policy says.
ErrorCode ForEachEffectPath(ArtHandle art, PathAction action, void* context,
                            WalkPolicy policy = {});

// The same walk with the shared driver: every path is deformed by `variant`.
ErrorCode ForEachEffectPath(ArtHandle art, DeformVariant& variant);

} // namespace vtg
