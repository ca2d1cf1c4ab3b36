// tool_drag.hpp - the machinery every tool's press-drag-release shares: the
// selection collected at mouse-down, the throttle, revert and reapply, the
// brush circle, the trace step tables and copies, the add-anchor click and
// the "Tool Send Data" notification.
#pragma once

#include <cstdint>
#include <functional>

#include "core/plugin_globals.hpp"
#include "geometry/path_model.hpp"
#include "host/api/vtg_base.h"
#include "host/api/vtg_messages.h"

namespace vtg {

inline constexpr const char* kTraceBufferName = "g buffer for trace";
inline constexpr const char* kTraceGrowName = "g buffer2 for trace";

// Cursor ids shared by the tools.
inline constexpr int32_t kCursorCentre = 16050;
inline constexpr int32_t kCursorAddAnchor = 16510;

// The drag state in the globals.
ToolDragState& Drag();

// Collects the selected groups, compound paths, paths and plug-in art into
// the drag state (entry 0 of the list is their container) with the bounds
// of the paths among them. "!sel" (list freed) when nothing is selected.
ErrorCode CollectSelectedPaths();

// Starts a gesture at the press: the fresh flag, the press, anchor and
// previous points, the time, amounts 0, no buffers.
void BeginGesture(const ToolMessage& message);

// True while the fresh flag is on and the event is less than 30 timestamp
// units after the press and has moved at most 2 points in x and in y from
// the previous point: such an event is ignored.
bool Throttled(const ToolMessage& message, VtgPoint moved);

// Reverts the changes of the host's current undo transaction.
ErrorCode RevertStep();

// The drag's segment buffer ("g buffer for segments"), made on first need.
ErrorCode EnsureDragSegments();

// Lends the drag's segment buffer to the shared deformation driver for one
// call, so that it does not take a buffer of its own for every path.
class LendSegments {
public:
    explicit LendSegments(PathSegment* segments) : saved_(gEffectSegments) {
        gEffectSegments = segments;
    }
    ~LendSegments() { gEffectSegments = saved_; }
    LendSegments(const LendSegments&) = delete;
    LendSegments& operator=(const LendSegments&) = delete;

private:
    PathSegment* saved_;
};

// True when the control points of `art` all lie outside `box` (top above
// bottom): no point of its curves is inside, so a deformation that moves
// only points inside the box can leave it alone. False when the bounds
// cannot be read.
bool ArtMissesBox(ArtHandle art, const VtgRect& box);

// Frees the trace buffer, the segment buffer and the selection list, and
// forgets the brush circle.
void EndGesture();

// Draws the brush circle (a closed four-anchor path on top of the current
// layer) and keeps it in the drag state; DisposeBrushCircle deletes it.
ErrorCode DrawBrushCircle(VtgPoint centre, double radius);
// The same with radii rx across and ry up (the Lens tool's lens area).
ErrorCode DrawBrushEllipse(VtgPoint centre, double rx, double ry);
void DisposeBrushCircle();

// The warning shown when the user turns trace on, and the question asked
// before trace copies are made (true only for "yes").
void WarnTraceEnabled();
bool ConfirmTrace();

// The add-anchor click at `point`: a hit on a path's curve gets an anchor
// there, the shape unchanged. Nothing happens off any path.
ErrorCode InsertAnchorAtHit(VtgPoint point);

// Sends "Tool Send Data" when the drag changed a value the view shows.
void SendToolDataIfAsked();

// --- trace --------------------------------------------------------------------
// The easing of the trace modes: 0 constant speed, 1 accelerating,
// 2 decelerating.
double TraceEase(int curve, double b);
// The step count of a record's steps field: not finite or below 1 gives 1,
// above 4000 gives 4000.
int32_t TraceSteps(double steps);

// Appends a point to the drag's trace buffer (501 points first, growing by
// 100). -108 when the host has no memory.
ErrorCode AppendTracePoint(VtgPoint point);

// The unit the trace copies are made of: with fewer than two entries there
// is none (null). A new group is made when several selected art share the
// container; otherwise entry 1 itself.
ErrorCode ChooseCopyUnit(ArtHandle* unit);

// Places copies of the trace: each above the one before (the first above
// the unit), or, with Ctrl, in a new layer above all that becomes current.
class TracePlacer {
public:
    TracePlacer(ArtHandle unit, bool ownLayers)
        : unit_(unit), previous_(unit), ownLayers_(ownLayers) {}
    // Duplicates the unit into its place; `inUnitLayer` keeps this copy in
    // the unit's layer even with Ctrl.
    ErrorCode Copy(ArtHandle* copy, bool inUnitLayer = false);

private:
    ArtHandle unit_, previous_;
    bool ownLayers_;
};

// Walks the art tree `source` and its copy `target` side by side as the
// tools' trace does: groups and compound paths child by child, plug-in art
// through its edit group; calls `path` with the copy of every path that is
// selected in the source. Stops at the first error.
ErrorCode ForEachSelectedPath(ArtHandle source, ArtHandle target,
                              const std::function<ErrorCode(ArtHandle)>& path);

} // namespace vtg
