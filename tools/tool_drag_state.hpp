// tool_drag_state.hpp - the one drag state the tools share; it lives in the
// globals and is valid from a mouse-down to its mouse-up.
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "host/api/vtg_path_suite.h"

namespace vtg {

struct ToolDragState {
    // The selection collected at mouse-down: a host list whose entry 0 is
    // the container of the rest; null when nothing was collected.
    ArtHandle* selection;
    int32_t selectionCount;
    VtgRect bounds; // of the paths among the selection

    ArtHandle brushCircle; // the brush preview path, null when none
    int32_t radiusDrag;    // the last step changed the brush radius

    VtgPoint downPoint; // the press point
    VtgPoint anchor;    // the press point or the centre of a radius drag
    VtgPoint previous;  // the point of the last processed event
    VtgPoint current;   // the pointer (after the tool's pinning rules)
    int32_t downTime;   // the press event's timestamp
    int32_t fresh;      // no step applied since the press
    uint32_t modifiers; // of the last event

    PathSegment* segments; // "g buffer for segments", from the first step on

    double amounts[2]; // accumulated per tool (Roughen: detail, amplitude)
    int32_t seed;      // 31-bit; survives gestures
    int32_t sendData;  // the options view shows a value the drag changed
    int32_t axis;      // Warp and Wave: 1 when the last step followed Alt

    // Trace points recorded during the drag ("g buffer for trace").
    VtgPoint* trace;
    int32_t traceCapacity;
    int32_t traceCount;
    VtgPoint lastRecorded;
};

} // namespace vtg
