// brush_tool.hpp - what the Craft and Broom tools share: a round brush with
// a weight that falls off towards the rim, four modes (push, sweep, scale,
// rotate), the Alt-drag of the radius, the Shift axis lock, the trace and
// the options view.
#pragma once

#include <vector>

#include "tools/tool_ctrlr.hpp"

namespace vtg {

enum BrushMode : int16_t { kBrushPush = 0, kBrushSweep = 1, kBrushScale = 2, kBrushRotate = 3 };

inline constexpr double kMinBrushRadius = 1, kMaxBrushRadius = 16383;

// The brush as one drag step applies it.
struct Brush {
    int16_t mode = kBrushPush;
    double radius = 100;
    int exponent = 1;                                   // max(1, resistance)
    VtgPoint down{0, 0}, previous{0, 0}, current{0, 0}; // D, P, T
    double scale = 0;                                   // s
    double turn = 0;                                    // phi, radians

    // The point the weight is measured from: T in the sweep, D otherwise.
    VtgPoint Reference() const { return mode == kBrushSweep ? current : down; }
    // What the drag moves by: T - D, T - P, (s, 0) or (phi, 0).
    VtgPoint Displacement() const;
};

// The weight of q: false when q is on or outside the rim; otherwise *w is
// |1 - d / radius| to the exponent (d the distance from the reference).
bool BrushWeight(const Brush& brush, VtgPoint q, double* w);
// Where q goes with weight w in the brush's mode.
VtgPoint BrushMove(const Brush& brush, VtgPoint q, double w);

// The turn from p to t about a, brought into -pi .. pi; 0 when either
// point is a.
double TurnAbout(VtgPoint a, VtgPoint p, VtgPoint t);

// The record fields both tools share (the Broom record has group_f between).
struct BrushFields {
    int16_t* brushMode;
    int16_t* resistance;
    double* radius;
    int32_t* trace;
    int16_t* traceMode;
    double* interval;
    double* angleInterval;
    double* steps;
};

class BrushToolCtrlr : public ToolCtrlr {
public:
    using ToolCtrlr::ToolCtrlr;

    std::string LabelText() const override;
    int32_t CursorFor(uint32_t modifiers) const override;
    ErrorCode MouseDown(const ToolMessage& message) override;
    ErrorCode MouseDrag(const ToolMessage& message) override;
    ErrorCode MouseUp(const ToolMessage& message) override;

    virtual BrushFields Fields() const = 0;
    // The brush of the drag as it stands.
    Brush CurrentBrush() const;

    // One entry of the trace table: T and P (push, sweep), or the value
    // (scale, rotate) in t.x; `kept` for the sweep.
    struct TraceEntry {
        VtgPoint t{0, 0}, p{0, 0};
        bool kept = true;
    };
    // The trace table at release (`release` the pointer of the mouse-up).
    std::vector<TraceEntry> TraceTable(VtgPoint release) const;

protected:
    virtual int32_t ToolCursor() const = 0;
    virtual int32_t DraggingCursor() const = 0;
    // The change of s per point of upward drag.
    virtual double ScaleRate() const = 0;
    // Applies the brush to the selection list; *processed when a path was.
    virtual ErrorCode ApplyToSelection(const Brush& brush, bool* processed) = 0;
    // Applies the brush to the selected paths of the copy `target` of
    // `source` (trace copies).
    virtual ErrorCode ApplyToCopy(const Brush& brush, ArtHandle source, ArtHandle target,
                                  bool temporaryGroup) = 0;

private:
    ErrorCode Trace(VtgPoint release, uint32_t modifiers);
    // Gesture values the drag state has no room for.
    int32_t axisLock_ = 0; // 0 none, 1 x fixed, 2 y fixed
    double lastAngle_ = 0;
};

// The options view of both tools.
struct BrushControls {
    int firstMode; // four picture buttons
    int resistance, radius, radiusSpin;
    int group; // 0: none
    TraceControls trace;
};

class BrushToolViewController : public ToolViewController {
public:
    BrushToolViewController(BrushToolCtrlr& ctrlr, const BrushControls& controls, int32_t* group)
        : ToolViewController(ctrlr), c_(controls), group_(group) {}
    void Refresh(int reason) override;

protected:
    bool OnToolCommand(int id, int notify) override;
    bool OnToolSpin(int id, int delta) override;
    void ApplyRules() override;

private:
    BrushFields Fields() const { return static_cast<BrushToolCtrlr&>(ctrlr_).Fields(); }
    TraceFields Trace() const;
    BrushControls c_;
    int32_t* group_;
};

} // namespace vtg
