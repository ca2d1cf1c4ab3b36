// The brush gesture and options view the Craft and Broom tools share.
#include "tools/brush_tool.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/suite_set.hpp"
#include "tools/tool_drag.hpp"

namespace vtg {

namespace {

constexpr double kPi = std::numbers::pi;

bool Same(VtgPoint a, VtgPoint b) {
    return a.x == b.x && a.y == b.y;
}

bool MovedFrom(VtgPoint a, VtgPoint b, double by) {
    return std::fabs(a.x - b.x) > by || std::fabs(a.y - b.y) > by;
}

} // namespace

VtgPoint Brush::Displacement() const {
    switch (mode) {
    case kBrushPush:
        return {current.x - down.x, current.y - down.y};
    case kBrushSweep:
        return {current.x - previous.x, current.y - previous.y};
    case kBrushScale:
        return {scale, 0};
    default:
        return {turn, 0};
    }
}

bool BrushWeight(const Brush& brush, VtgPoint q, double* w) {
    const VtgPoint r = brush.Reference();
    const double dx = q.x - r.x, dy = q.y - r.y;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (!(d < brush.radius))
        return false;
    const double base = std::fabs(1 - d / brush.radius);
    double v = base;
    for (int i = 1; i < brush.exponent; ++i)
        v *= base;
    *w = v;
    return true;
}

VtgPoint BrushMove(const Brush& b, VtgPoint q, double w) {
    const VtgPoint r = b.Reference();
    switch (b.mode) {
    case kBrushPush:
        return {q.x + w * (b.current.x - b.down.x), q.y + w * (b.current.y - b.down.y)};
    case kBrushSweep:
        return {q.x + w * (b.current.x - b.previous.x), q.y + w * (b.current.y - b.previous.y)};
    case kBrushScale: {
        const double k = std::max(0.0, 1 + w * b.scale);
        return {r.x + k * (q.x - r.x), r.y + k * (q.y - r.y)};
    }
    default: {
        const double a = w * b.turn, c = std::cos(a), s = std::sin(a);
        const double x = q.x - r.x, y = q.y - r.y;
        return {r.x + c * x - s * y, r.y + s * x + c * y};
    }
    }
}

double TurnAbout(VtgPoint a, VtgPoint p, VtgPoint t) {
    if (Same(t, a) || Same(p, a))
        return 0;
    double turn = std::atan2(t.y - a.y, t.x - a.x) - std::atan2(p.y - a.y, p.x - a.x);
    if (turn > kPi)
        turn -= 2 * kPi;
    else if (turn < -kPi)
        turn += 2 * kPi;
    return turn;
}

// --- the gesture ---------------------------------------------------------------------

std::string BrushToolCtrlr::LabelText() const {
    return FormatLabelNumber(*Fields().radius);
}

int32_t BrushToolCtrlr::CursorFor(uint32_t modifiers) const {
    if ((modifiers & kModifierAlt) == 0)
        return ToolCursor();
    return (modifiers & kModifierShift) != 0 ? kCursorAddAnchor : kCursorCentre;
}

Brush BrushToolCtrlr::CurrentBrush() const {
    const ToolDragState& d = Drag();
    const BrushFields f = Fields();
    Brush b;
    b.mode = static_cast<int16_t>(std::clamp<int>(*f.brushMode, 0, 3));
    b.radius = *f.radius;
    b.exponent = std::clamp<int>(*f.resistance, 1, 4);
    b.down = d.downPoint;
    b.previous = d.previous;
    b.current = d.current;
    b.scale = d.amounts[0];
    b.turn = d.amounts[1];
    return b;
}

ErrorCode BrushToolCtrlr::MouseDown(const ToolMessage& message) {
    // What an earlier gesture left when its release never came.
    EndGesture();
    const int32_t cursor = gGlobals->toolCursorId;
    if (cursor == kCursorAddAnchor)
        return InsertAnchorAtHit(message.cursor);
    axisLock_ = 0;
    lastAngle_ = 0;
    if (cursor == kCursorCentre) {
        // A radius drag follows: nothing is collected, no circle yet.
        BeginGesture(message);
        return kNoErr;
    }
    if (ErrorCode err = CollectSelectedPaths())
        return err;
    if (ErrorCode err = DrawBrushCircle(message.cursor, *Fields().radius)) {
        EndGesture();
        return err;
    }
    BeginGesture(message);
    return kNoErr;
}

ErrorCode BrushToolCtrlr::MouseDrag(const ToolMessage& message) {
    ToolDragState& d = Drag();
    const BrushFields f = Fields();
    d.radiusDrag = 0;
    if (gGlobals->toolCursorId == kCursorCentre) {
        const double r = std::hypot(message.cursor.x - d.anchor.x, message.cursor.y - d.anchor.y);
        *f.radius =
            std::clamp(std::isfinite(r) ? r : kMinBrushRadius, kMinBrushRadius, kMaxBrushRadius);
        if (d.fresh != 0)
            DisposeBrushCircle();
        else if (ErrorCode err = RevertStep())
            return err;
        d.brushCircle = nullptr;
        if (ErrorCode err = DrawBrushCircle(d.anchor, *f.radius))
            return err;
        d.radiusDrag = 1;
        d.sendData = 1;
        gGlobals->annotationActive = 1;
        d.fresh = 0;
        d.current = d.previous = message.cursor;
        return kNoErr;
    }
    if (d.selection == nullptr)
        return kNoErr;
    const bool sweep = *f.brushMode == kBrushSweep;
    if (!sweep && d.fresh == 0) {
        if (ErrorCode err = RevertStep())
            return err;
        d.brushCircle = nullptr; // the revert took it
    }
    if (sweep || d.fresh != 0)
        DisposeBrushCircle();
    if (ErrorCode err = DrawBrushCircle(sweep ? message.cursor : d.anchor, *f.radius))
        return err;
    VtgPoint t = message.cursor;
    if (Throttled(message, t))
        return kNoErr;
    if ((message.modifiers & kModifierShift) != 0) {
        if (axisLock_ == 0)
            axisLock_ = std::fabs(t.x - d.previous.x) > std::fabs(t.y - d.previous.y) ? 2 : 1;
        if (axisLock_ == 2)
            t.y = d.previous.y;
        else
            t.x = d.previous.x;
    } else {
        axisLock_ = 0;
    }
    d.current = t;
    gGlobals->toolCursorId = DraggingCursor();
    sTool->SetToolCursor(message.tool, gGlobals->toolCursorId);
    if (*f.brushMode == kBrushScale)
        d.amounts[0] += (t.y - d.previous.y) * ScaleRate();
    else if (*f.brushMode == kBrushRotate)
        d.amounts[1] += TurnAbout(d.anchor, d.previous, t);
    if (*f.trace != 0 && (*f.traceMode == 0 || sweep)) {
        const bool moved = MovedFrom(t, d.lastRecorded, *f.interval);
        ErrorCode err = kNoErr;
        switch (*f.brushMode) {
        case kBrushPush:
        case kBrushScale:
            if (moved) {
                err = AppendTracePoint(*f.brushMode == kBrushPush ? t : VtgPoint{d.amounts[0], 0});
                d.lastRecorded = t;
            }
            break;
        case kBrushSweep:
            // Every event, three points: T, P and the kept flag.
            if ((err = AppendTracePoint(t)) == kNoErr &&
                (err = AppendTracePoint(d.previous)) == kNoErr)
                err = AppendTracePoint({moved ? 1.0 : 0.0, 0});
            if (moved)
                d.lastRecorded = t;
            break;
        default:
            if (std::fabs(d.amounts[1] - lastAngle_) >= *f.angleInterval) {
                err = AppendTracePoint({d.amounts[1], 0});
                lastAngle_ = d.amounts[1];
                d.lastRecorded = t;
            }
            break;
        }
        if (err != kNoErr)
            return err;
    }
    if (ErrorCode err = EnsureDragSegments())
        return err;
    bool processed = false;
    ErrorCode err = ApplyToSelection(CurrentBrush(), &processed);
    d.fresh = 0;
    d.previous = d.current;
    if (!processed && d.segments != nullptr) {
        FreeBlock(d.segments);
        d.segments = nullptr;
    }
    return err;
}

ErrorCode BrushToolCtrlr::MouseUp(const ToolMessage& message) {
    ToolDragState& d = Drag();
    const BrushFields f = Fields();
    gGlobals->toolCursorId = CursorFor(message.modifiers);
    ErrorCode err = kNoErr;
    const bool radiusDrag = d.radiusDrag != 0;
    if (radiusDrag)
        err = RevertStep();
    else
        DisposeBrushCircle();
    d.brushCircle = nullptr;
    if (err == kNoErr && MovedFrom(message.cursor, d.downPoint, 1)) {
        if ((message.modifiers & kModifierCancel) != 0) {
            err = RevertStep();
        } else if (d.fresh == 0 && !radiusDrag && d.segments != nullptr && *f.trace != 0 &&
                   d.selection != nullptr && ConfirmTrace()) {
            err = RevertStep();
            if (err == kNoErr)
                err = Trace(message.cursor, message.modifiers);
        }
    }
    SendToolDataIfAsked();
    EndGesture();
    d.radiusDrag = 0;
    sTool->SetToolCursor(message.tool, gGlobals->toolCursorId);
    return err;
}

std::vector<BrushToolCtrlr::TraceEntry> BrushToolCtrlr::TraceTable(VtgPoint release) const {
    const ToolDragState& d = Drag();
    const BrushFields f = Fields();
    const int16_t mode = *f.brushMode;
    std::vector<TraceEntry> q;
    if (*f.traceMode == 0 || mode == kBrushSweep) {
        const int stride = mode == kBrushSweep ? 3 : 1;
        for (int32_t i = 0; i + stride <= d.traceCount && d.trace != nullptr; i += stride) {
            TraceEntry e;
            e.t = d.trace[i];
            if (mode == kBrushSweep) {
                e.p = d.trace[i + 1];
                e.kept = d.trace[i + 2].x != 0;
            }
            q.push_back(e);
        }
        TraceEntry last;
        switch (mode) {
        case kBrushPush:
            last.t = d.current;
            break;
        case kBrushSweep:
            last.t = d.current;
            last.p = d.previous;
            break;
        case kBrushScale:
            last.t = {d.amounts[0] + (release.y - d.previous.y) * ScaleRate(), 0};
            break;
        default:
            last.t = {d.amounts[1] + TurnAbout(d.anchor, d.previous, release), 0};
            break;
        }
        q.push_back(last);
        return q;
    }
    const int32_t n = TraceSteps(*f.steps);
    const int curve = (*f.traceMode - 1) % 3;
    // The full value: the point T for push, s or phi in x otherwise.
    const VtgPoint zero = mode == kBrushPush ? d.downPoint : VtgPoint{0, 0};
    const VtgPoint full = mode == kBrushPush    ? d.current
                          : mode == kBrushScale ? VtgPoint{d.amounts[0], 0}
                                                : VtgPoint{d.amounts[1], 0};
    q.push_back({zero, {}, true});
    for (int32_t j = 1; j <= n; ++j) {
        TraceEntry e;
        if (curve == 0) {
            e.t = {q.back().t.x + (full.x - zero.x) / n, q.back().t.y + (full.y - zero.y) / n};
        } else {
            const double k = TraceEase(curve, static_cast<double>(j) / n);
            e.t = {zero.x + k * (full.x - zero.x), zero.y + k * (full.y - zero.y)};
        }
        q.push_back(e);
    }
    return q;
}

ErrorCode BrushToolCtrlr::Trace(VtgPoint release, uint32_t modifiers) {
    ToolDragState& d = Drag();
    const BrushFields f = Fields();
    const std::vector<TraceEntry> q = TraceTable(release);
    const bool sweep = *f.brushMode == kBrushSweep;
    const bool stepped = *f.traceMode != 0 && !sweep;
    const bool roundTrip = stepped && *f.traceMode >= 4;
    ArtHandle unit = nullptr;
    if (ErrorCode err = ChooseCopyUnit(&unit))
        return err;
    if (unit == nullptr)
        return kNoErr;
    const bool temporaryGroup = unit != d.selection[1];
    const bool ownLayers = (modifiers & kModifierCtrl) != 0;
    TracePlacer place(unit, ownLayers);
    const Brush saved = CurrentBrush();
    ArtHandle previousCopy = nullptr;
    bool previousKept = true;
    auto copyAt = [&](const TraceEntry& e) -> ErrorCode {
        Brush b = saved;
        switch (b.mode) {
        case kBrushPush:
            b.current = e.t;
            break;
        case kBrushSweep:
            b.current = e.t;
            b.previous = e.p;
            break;
        case kBrushScale:
            b.scale = e.t.x;
            break;
        default:
            b.turn = e.t.x;
            break;
        }
        ArtHandle copy = nullptr;
        if (sweep && previousCopy != nullptr) {
            // The sweep accumulates: each copy starts from the one before.
            // Copies that will not be kept stay in the layer of the one
            // before, so that deleting them leaves no empty layer behind.
            if (ownLayers && e.kept) {
                LayerHandle current = nullptr, layer = nullptr;
                if (ErrorCode err = sDocument->GetCurrentLayer(&current))
                    return err;
                if (ErrorCode err = sDocument->InsertLayer(current, kVtgPlaceAboveAll, &layer))
                    return err;
                if (ErrorCode err = sDocument->SetCurrentLayer(layer))
                    return err;
                if (ErrorCode err =
                        sArt->DuplicateArt(previousCopy, kVtgPlaceAboveAll, nullptr, &copy))
                    return err;
            } else if (ErrorCode err =
                           sArt->DuplicateArt(previousCopy, kVtgPlaceAbove, previousCopy, &copy)) {
                return err;
            }
        } else if (ErrorCode err = place.Copy(&copy, sweep && !e.kept)) {
            return err;
        }
        if (ErrorCode err = ApplyToCopy(b, unit, copy, temporaryGroup))
            return err;
        if (sweep && previousCopy != nullptr && !previousKept)
            if (ErrorCode err = sArt->DeleteArt(previousCopy))
                return err;
        previousCopy = copy;
        previousKept = e.kept;
        return kNoErr;
    };
    ErrorCode err = kNoErr;
    const std::size_t first = stepped ? 1 : 0;
    for (std::size_t j = first; j < q.size() && err == kNoErr; ++j)
        err = copyAt(q[j]);
    if (roundTrip && err == kNoErr) {
        for (std::size_t j = q.size() - 1; j-- > 1 && err == kNoErr;)
            err = copyAt(q[j]);
        ArtHandle back = nullptr;
        if (err == kNoErr)
            err = place.Copy(&back);
    }
    return err;
}

// --- the view ------------------------------------------------------------------------

TraceFields BrushToolViewController::Trace() const {
    const BrushFields f = Fields();
    return {f.trace, f.traceMode, f.interval, f.steps, 7};
}

void BrushToolViewController::Refresh(int) {
    const BrushFields f = Fields();
    platform::SetSelection(item(c_.resistance), std::clamp<int>(*f.resistance, 0, 4));
    ShowLength(c_.radius, *f.radius);
    if (c_.group != 0 && group_ != nullptr)
        platform::SetChecked(item(c_.group), *group_ != 0);
    ShowTrace(c_.trace, Trace());
    ApplyRules();
}

void BrushToolViewController::ApplyRules() {
    const BrushFields f = Fields();
    for (int m = 0; m < 4; ++m)
        platform::SetPressed(item(c_.firstMode + m), m == *f.brushMode);
    const bool sweep = *f.brushMode == kBrushSweep;
    ApplyTraceRules(c_.trace, *f.trace != 0, *f.traceMode == 0 || sweep, !sweep);
}

bool BrushToolViewController::OnToolSpin(int id, int delta) {
    if (id == c_.radiusSpin) {
        StepEdit(c_.radius, delta);
        return true;
    }
    return OnTraceSpin(c_.trace, id, delta);
}

bool BrushToolViewController::OnToolCommand(int id, int notify) {
    const BrushFields f = Fields();
    if (id >= c_.firstMode && id < c_.firstMode + 4) {
        *f.brushMode = static_cast<int16_t>(id - c_.firstMode);
        // The sweep records along the drag.
        if (*f.brushMode == kBrushSweep) {
            *f.traceMode = 0;
            platform::SetSelection(item(c_.trace.mode), 0);
        }
        ApplyRules();
        return true;
    }
    if (id == c_.resistance) {
        if (notify == platform::kNotifySelChange) {
            const int r = platform::GetSelection(item(c_.resistance));
            if (r >= 0 && r <= 4)
                *f.resistance = static_cast<int16_t>(r);
        }
        return true;
    }
    if (id == c_.radius) {
        if (notify == platform::kNotifyEditChange)
            ReadLength(c_.radius, kMinBrushRadius, kMaxBrushRadius, *f.radius);
        return true;
    }
    if (c_.group != 0 && id == c_.group) {
        if (group_ != nullptr)
            *group_ = platform::IsChecked(item(c_.group)) ? 1 : 0;
        return true;
    }
    return OnTraceCommand(c_.trace, Trace(), id, notify);
}

} // namespace vtg
