// The gesture the Perspective Warp and Multi-wave tools share.
#include "tools/axis_tool.hpp"

#include <cmath>
#include <numbers>

#include "core/suite_set.hpp"
#include "geometry/path_model.hpp"
#include "tools/tool_drag.hpp"

namespace vtg {

namespace {

bool IsPath(ArtHandle art) {
    int32_t kind = 0;
    return sArt->GetArtKind(art, &kind) == kNoErr && kind == kVtgArtPath;
}

} // namespace

int32_t AxisToolCtrlr::CursorFor(uint32_t modifiers) const {
    return TypeCursor() + ((modifiers & kModifierAlt) != 0 ? 1 : 0);
}

ErrorCode AxisToolCtrlr::MouseDown(const ToolMessage& message) {
    if (ErrorCode err = CollectSelectedPaths())
        return err;
    ToolDragState& d = Drag();
    if (d.segments != nullptr)
        FreeBlock(d.segments);
    d.segments = nullptr;
    if (d.trace != nullptr)
        sMemory->FreeBlock(d.trace);
    d.trace = nullptr;
    d.traceCapacity = 0;
    BeginGesture(message);
    return kNoErr;
}

ErrorCode AxisToolCtrlr::DeformSelection(VtgPoint control, int32_t axis) {
    ToolDragState& d = Drag();
    const WaveGeometry geometry{d.bounds, d.downPoint, control};
    LendSegments lend(d.segments);
    for (int32_t i = 1; i < d.selectionCount; ++i)
        if (IsPath(d.selection[i]))
            if (ErrorCode err = Deform(d.selection[i], geometry, axis))
                return err;
    return kNoErr;
}

ErrorCode AxisToolCtrlr::MouseDrag(const ToolMessage& message) {
    ToolDragState& d = Drag();
    if (d.selection == nullptr)
        return kNoErr;
    if (d.fresh == 0)
        if (ErrorCode err = RevertStep())
            return err;
    VtgPoint p = message.cursor;
    const int32_t axis = (message.modifiers & kModifierAlt) != 0 ? 1 : 0;
    if ((message.modifiers & kModifierShift) != 0) {
        if (axis == 1)
            p.y = (d.bounds.top + d.bounds.bottom) / 2;
        else
            p.x = (d.bounds.left + d.bounds.right) / 2;
    }
    d.current = p;
    gGlobals->toolCursorId = TypeCursor() + axis;
    sTool->SetToolCursor(message.tool, gGlobals->toolCursorId);
    if (Throttled(message, p))
        return kNoErr;
    const AxisTrace trace = TraceSettings();
    if (trace.on && trace.mode == 0 &&
        (std::fabs(p.x - d.lastRecorded.x) > trace.interval ||
         std::fabs(p.y - d.lastRecorded.y) > trace.interval)) {
        if (SpecialType() && d.traceCount == 0)
            if (ErrorCode err = AppendTracePoint(d.downPoint))
                return err;
        if (ErrorCode err = AppendTracePoint(p))
            return err;
        d.lastRecorded = p;
    }
    if (ErrorCode err = EnsureDragSegments())
        return err;
    ErrorCode err = DeformSelection(p, axis);
    d.axis = axis;
    d.fresh = 0;
    return err;
}

std::vector<VtgPoint> AxisToolCtrlr::TracePoints() const {
    const ToolDragState& d = Drag();
    const AxisTrace t = TraceSettings();
    const VtgPoint p = d.current, p0 = d.downPoint;
    std::vector<VtgPoint> q;
    if (t.mode == 0) {
        for (int32_t i = 0; i < d.traceCount && d.trace != nullptr; ++i)
            q.push_back(d.trace[i]);
        q.push_back(p);
        return q;
    }
    const int32_t n = TraceSteps(t.steps);
    if (CycleMode() && t.mode == 1) {
        // One period in n + 1 equal steps along the moving axis.
        const double w = d.bounds.right - d.bounds.left, h = d.bounds.top - d.bounds.bottom;
        const double cycle = Cycle();
        const bool special = SpecialType();
        double o = 0, m = 0;
        if (d.axis == 0) {
            o = special ? w / std::numbers::pi / cycle : w / cycle;
            m = special ? w / 2 + p.x + o : d.bounds.right + p.x;
        } else {
            o = special ? h / std::numbers::pi / cycle : h / cycle;
            m = special ? h / 2 + p.y + o : d.bounds.bottom + p.y;
        }
        q.push_back(p);
        VtgPoint c = p;
        for (int32_t j = 1; j <= n + 1; ++j) {
            double& along = d.axis == 0 ? c.x : c.y;
            along = along < m ? along + o / (n + 1) : along - o + o / (n + 1);
            q.push_back(c);
        }
        return q;
    }
    int curve = 0;
    bool roundTrip = false;
    if (!StepMode(t.mode, curve, roundTrip))
        return q;
    q.push_back(d.axis == 0 ? VtgPoint{p.x, p0.y} : VtgPoint{p0.x, p.y});
    for (int32_t j = 1; j <= n; ++j) {
        VtgPoint next{};
        if (curve == 0) {
            // Constant speed: one n-th of the drag added per step.
            next = q.back();
            if (d.axis == 0)
                next.y += (p.y - p0.y) / n;
            else
                next.x += (p.x - p0.x) / n;
        } else {
            const double f = TraceEase(curve, static_cast<double>(j) / n);
            next = d.axis == 0 ? VtgPoint{p.x, p0.y + (p.y - p0.y) * f}
                               : VtgPoint{p0.x + (p.x - p0.x) * f, p.y};
        }
        q.push_back(next);
    }
    return q;
}

ErrorCode AxisToolCtrlr::Trace(uint32_t modifiers) {
    ToolDragState& d = Drag();
    const AxisTrace t = TraceSettings();
    const std::vector<VtgPoint> q = TracePoints();
    if (q.empty())
        return kNoErr;
    ArtHandle unit = nullptr;
    if (ErrorCode err = ChooseCopyUnit(&unit))
        return err;
    if (unit == nullptr)
        return kNoErr;
    const bool cycle = CycleMode() && t.mode == 1;
    const bool special = SpecialType() && !cycle;
    int curve = 0;
    bool roundTrip = false;
    const bool stepped = t.mode != 0 && !cycle && StepMode(t.mode, curve, roundTrip);
    const std::size_t first = t.mode == 0 || special ? 0 : 1;
    TracePlacer place(unit, (modifiers & kModifierCtrl) != 0);
    const VtgPoint saved = d.current;
    bool firstCopy = true;
    auto copyAt = [&](VtgPoint control) -> ErrorCode {
        ArtHandle copy = nullptr;
        if (ErrorCode err = place.Copy(&copy, firstCopy && (special || cycle)))
            return err;
        firstCopy = false;
        const WaveGeometry geometry{d.bounds, d.downPoint, control};
        LendSegments lend(d.segments);
        return ForEachSelectedPath(unit, copy,
                                   [&](ArtHandle path) { return Deform(path, geometry, d.axis); });
    };
    ErrorCode err = kNoErr;
    for (std::size_t j = first; j < q.size() && err == kNoErr; ++j)
        err = copyAt(q[j]);
    if (stepped && roundTrip && err == kNoErr) {
        for (std::size_t j = q.size() - 1; j-- > first && err == kNoErr;)
            err = copyAt(q[j]);
        if (err == kNoErr && !special) {
            ArtHandle back = nullptr;
            err = place.Copy(&back);
        }
    }
    d.current = saved;
    // Types that change the art at the press keep only their copies.
    if (err == kNoErr && (special || cycle))
        err = sArt->DeleteArt(unit);
    return err;
}

ErrorCode AxisToolCtrlr::MouseUp(const ToolMessage& message) {
    ToolDragState& d = Drag();
    ErrorCode err = kNoErr;
    const bool moved =
        std::fabs(d.current.x - d.downPoint.x) > 1 || std::fabs(d.current.y - d.downPoint.y) > 1;
    if (d.selection != nullptr && d.fresh == 0 && d.segments != nullptr && moved) {
        if ((message.modifiers & kModifierCancel) != 0) {
            err = RevertStep();
        } else if (TraceSettings().on && d.selectionCount >= 2 && ConfirmTrace()) {
            err = RevertStep();
            if (err == kNoErr)
                err = Trace(message.modifiers);
        }
    }
    EndGesture();
    return err;
}

} // namespace vtg
