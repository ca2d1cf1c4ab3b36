// path3d_object.hpp - Live 3D Path as a live-object kind: its regeneration
// (the converted copy of the first source transformed in place) and its
// Apply, which makes one object from the whole selection.
#pragma once

#include "host/api/vtg_base.h"
#include "live/live_object.hpp"
#include "params/live_params.hpp"

namespace vtg {

// The kind's regeneration from `editArt` into the emptied `resultArt`.
ErrorCode Update3DPath(ArtHandle editArt, ArtHandle resultArt, const _3DTFilterParams& record);

// Apply's walk: every accepted entry of the selection goes into one new
// group (tagged as the plug-in's work group) that becomes the source of one
// new 3D Path object. A stop (another kind's live object, nothing taken, a
// host failure) reverts the whole operation; always success.
ErrorCode Make3DPath(const _3DTFilterParams& record);

// True while a tool drag shows its preview: regeneration waits.
bool Path3DRegenerationPaused();

// 3D Path's part of the live-object operations.
const LiveKindOps& Path3DKindOps();

} // namespace vtg
