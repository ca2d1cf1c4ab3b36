// axis_tool.hpp - what the Perspective Warp and Multi-wave tools share: the
// drag supplies the effect's geometry (the selection bounds, the press as
// base point, the pointer as control point), Alt picks the axis, Shift pins
// the pointer to the centre line, and a trace leaves copies along the drag.
#pragma once

#include <vector>

#include "effects/wave/wave_effect.hpp"
#include "tools/tool_ctrlr.hpp"

namespace vtg {

// The trace settings of a record, as the shared gesture reads them.
struct AxisTrace {
    bool on = false;
    int mode = 0;
    double interval = 10;
    double steps = 4;
};

class AxisToolCtrlr : public ToolCtrlr {
public:
    using ToolCtrlr::ToolCtrlr;

    int32_t CursorFor(uint32_t modifiers) const override;
    ErrorCode MouseDown(const ToolMessage& message) override;
    ErrorCode MouseDrag(const ToolMessage& message) override;
    ErrorCode MouseUp(const ToolMessage& message) override;

    // The control points of the trace copies, built at release from the
    // press, the final pointer and the recorded points.
    std::vector<VtgPoint> TracePoints() const;

protected:
    // The cursor of the current type or style (without Alt).
    virtual int32_t TypeCursor() const = 0;
    // Types that deform the art already at the press point.
    virtual bool SpecialType() const = 0;
    virtual AxisTrace TraceSettings() const = 0;
    // Wave only: the "one cycle" mode and what it needs.
    virtual bool CycleMode() const { return false; }
    virtual double Cycle() const { return 1; }
    // Modes that step an eased amount: the curve (0 constant, 1 accelerating,
    // 2 decelerating) and whether they go and come back; false for the others.
    virtual bool StepMode(int mode, int& curve, bool& roundTrip) const = 0;
    // Deforms one path by the tool's driver of `axis`.
    virtual ErrorCode Deform(ArtHandle path, const WaveGeometry& geometry, int32_t axis) = 0;

private:
    ErrorCode DeformSelection(VtgPoint control, int32_t axis);
    ErrorCode Trace(uint32_t modifiers);
};

} // namespace vtg
