// The Roughen tool: its geometry, its gesture and its options view.
#include "tools/roughen/rough_tool.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/suite_set.hpp"
#include "geometry/curve_ops.hpp"
#include "params/param_types.hpp"
#include "tools/tool_drag.hpp"

namespace vtg {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kMinRadius = 1, kMaxRadius = 16383;

enum Ids {
    kPolyline = 1274,
    kCurve = 1275,
    kRadius = 1272,
    kRadiusSpin = 1276,
    kTraceCheck = 1269,
    kTraceMode = 1271,
    kStepsLabel = 1278,
    kSteps = 1273,
    kStepsSpin = 1277,
    kChangeRandom = 1270,
};

bool Same(VtgPoint a, VtgPoint b) {
    return a.x == b.x && a.y == b.y;
}

double Angle(VtgPoint from, VtgPoint to) {
    return std::atan2(to.y - from.y, to.x - from.x); // 0 for a zero vector
}

double Distance(VtgPoint a, VtgPoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

VtgPoint Polar(VtgPoint from, double length, double angle) {
    return {from.x + length * std::cos(angle), from.y + length * std::sin(angle)};
}

bool InBox(VtgPoint p, const VtgRect& box) {
    return p.x >= box.left && p.x <= box.right && p.y >= box.bottom && p.y <= box.top;
}

double Uniform() {
    double u = 0;
    if (sMath->RandomUniform(&u) != kNoErr)
        u = 0.5;
    return u;
}

// The direction an anchor is pushed along: across its handles.
double PushDirection(const PathSegment& s) {
    if (Same(s.in, s.anchor)) {
        double k = Angle(s.anchor, s.out) + kPi / 2;
        return k > kPi ? k - 2 * kPi : k;
    }
    if (!Same(s.out, s.anchor))
        return (Angle(s.anchor, s.out) + Angle(s.anchor, s.in)) / 2;
    double k = Angle(s.anchor, s.in) - kPi / 2;
    return k < -kPi ? k + 2 * kPi : k;
}

} // namespace

ErrorCode RoughenSegments(const RoughBrush& brush, const PathSegment* source, int32_t n,
                          bool closed, PathSegment* work, int32_t* resultCount) {
    *resultCount = -1;
    if (brush.detail == 0 && brush.amplitude == 0)
        return kNoErr;
    if (n < 2 || n > kMaxWrittenSegments)
        return kNoErr;
    const VtgPoint q = brush.centre;
    const double r = brush.radius;
    const VtgRect box{q.x - r, q.y + r, q.x + r, q.y - r};
    // A path whose control points all lie on one side of the brush box has
    // no curve inside it: nothing would be cut, refined or moved.
    VtgRect hull{source[0].anchor.x, source[0].anchor.y, source[0].anchor.x, source[0].anchor.y};
    for (int32_t i = 0; i < n; ++i)
        for (const VtgPoint& p : {source[i].anchor, source[i].in, source[i].out}) {
            hull.left = std::min(hull.left, p.x);
            hull.right = std::max(hull.right, p.x);
            hull.bottom = std::min(hull.bottom, p.y);
            hull.top = std::max(hull.top, p.y);
        }
    if (hull.right < box.left || hull.left > box.right || hull.top < box.bottom ||
        hull.bottom > box.top)
        return kNoErr;
    std::copy(source, source + n, work);
    // A closed path's closing piece is worked on as a last piece that ends
    // at a copy of the first anchor.
    int last = n - 1;
    if (closed)
        work[++last] = source[0];
    const double d = std::fabs(brush.detail);
    const double longest = std::max(1.0, d != 0 ? 72 / d : 0.0);
    for (int i = 0; i < last; ++i) {
        // Entry cut: a piece that crosses the brush box with both ends
        // outside it is split where it runs inside.
        if (!InBox(work[i].anchor, box) && !InBox(work[i + 1].anchor, box) && last + 1 < 31998) {
            double t = 0;
            const VtgBezier piece = PieceOf(work[i], work[i + 1]);
            if (FindInsideParameter(piece, box, &t) && t > 0 && t < 1 &&
                SplitSegmentAt(piece, work, i, last + 1, t))
                ++last;
        }
        // Refinement near the brush centre, halving until short enough.
        while (brush.detail != 0 &&
               (Distance(work[i].anchor, q) < r || Distance(work[i + 1].anchor, q) < r)) {
            PathSegment& a = work[i];
            PathSegment& b = work[i + 1];
            const double c = Distance(a.anchor, b.anchor);
            const VtgPoint p1 = a.out;
            if (Same(a.out, a.anchor))
                a.out = Polar(a.anchor, c / 3, Angle(a.anchor, b.in));
            if (Same(b.in, b.anchor))
                b.in = Polar(b.anchor, c / 3, Angle(b.anchor, p1));
            if (c > longest && last + 1 < 31999) {
                SplitSegmentHalf(work, i, last + 1);
                ++last;
                continue;
            }
            break;
        }
        if (last + 1 > 31997)
            return kNoErr; // too many anchors: the path stays as it was
    }
    if (closed) {
        work[0].in = work[last].in;
        --last;
    }
    const int count = last + 1;
    // Displacement of every anchor strictly inside the brush. Without an
    // amplitude nothing moves, and the handles stay too, so that a pure
    // horizontal drag keeps curves as they were.
    for (int i = 0; i < count && brush.amplitude != 0; ++i) {
        PathSegment& s = work[i];
        if (!(Distance(s.anchor, q) < r))
            continue;
        const double u = Uniform();
        double k = PushDirection(s);
        const double m = (u - 0.5) * std::fabs(brush.amplitude);
        if (m < 0)
            k = k > 0 ? k - kPi : k + kPi;
        const double dx = std::fabs(m) * std::cos(k), dy = std::fabs(m) * std::sin(k);
        s.anchor.x += dx;
        s.anchor.y += dy;
        if (brush.shape == 0) {
            s.in = s.out = s.anchor;
            s.corner = 1;
        } else {
            s.in.x += dx;
            s.in.y += dy;
            s.out.x += dx;
            s.out.y += dy;
        }
    }
    *resultCount = count;
    return kNoErr;
}

ErrorCode RoughenPath(ArtHandle path, const RoughBrush& brush, PathSegment* work) {
    if (brush.detail == 0 && brush.amplitude == 0)
        return kNoErr;
    int16_t count = 0;
    if (ErrorCode err = sPath->GetPathSegmentCount(path, &count))
        return err;
    if (count < 2)
        return kNoErr;
    int32_t closed = 0;
    if (ErrorCode err = sPath->GetPathClosed(path, &closed))
        return err;
    PathSegment* source = nullptr;
    if (ErrorCode err = AllocateSegmentArray(count, kDriverSourceName, &source))
        return err;
    int32_t result = -1;
    ErrorCode err = sPath->GetPathSegments(path, 0, count, source);
    if (err == kNoErr)
        err = RoughenSegments(brush, source, count, closed != 0, work, &result);
    if (err == kNoErr && result >= 0) {
        const auto n = static_cast<int16_t>(result);
        err = sPath->SetPathSegments(path, 0, n, work);
        if (err == kNoErr)
            err = sPath->SetPathSegmentCount(path, n);
        if (err == kNoErr)
            err = sArt->SetArtAttributes(path, kVtgArtSelected, 8);
    }
    FreeBlock(source);
    return err;
}

// --- the controller ------------------------------------------------------------------

std::string RoughToolCtrlr::LabelText() const {
    return FormatLabelNumber(params().radius);
}

int32_t RoughToolCtrlr::CursorFor(uint32_t modifiers) const {
    if ((modifiers & kModifierAlt) == 0)
        return kCursorRoughen;
    return (modifiers & kModifierShift) != 0 ? kCursorAddAnchor : kCursorCentre;
}

ErrorCode RoughToolCtrlr::MouseDown(const ToolMessage& message) {
    if (gGlobals->toolCursorId == kCursorAddAnchor)
        return InsertAnchorAtHit(message.cursor);
    if (ErrorCode err = CollectSelectedPaths())
        return err;
    // Buffers of an earlier gesture that ended without its release.
    ToolDragState& d = Drag();
    if (d.segments != nullptr)
        FreeBlock(d.segments);
    d.segments = nullptr;
    if (ErrorCode err = DrawBrushCircle(message.cursor, params().radius))
        return err;
    BeginGesture(message);
    return kNoErr;
}

ErrorCode RoughToolCtrlr::MouseDrag(const ToolMessage& message) {
    ToolDragState& d = Drag();
    RoughToolParams& p = params();
    if (gGlobals->toolCursorId == kCursorCentre) {
        // Radius drag: the circle follows the new radius.
        if (d.selection == nullptr)
            return kNoErr; // the press found nothing selected
        d.radiusDrag = 0;
        double radius = std::hypot(message.cursor.x - d.anchor.x, message.cursor.y - d.anchor.y);
        p.radius = std::clamp(std::isfinite(radius) ? radius : kMinRadius, kMinRadius, kMaxRadius);
        if (d.fresh != 0)
            DisposeBrushCircle();
        else if (ErrorCode err = RevertStep())
            return err;
        if (ErrorCode err = DrawBrushCircle(d.anchor, p.radius))
            return err;
        d.radiusDrag = 1;
        d.sendData = 1;
        gGlobals->annotationActive = 1;
        d.fresh = 0;
        d.previous = message.cursor;
        return kNoErr;
    }
    d.radiusDrag = 0;
    if (d.selection == nullptr)
        return kNoErr;
    if (d.fresh == 0) {
        if (ErrorCode err = RevertStep())
            return err;
    } else {
        DisposeBrushCircle();
    }
    if (ErrorCode err = DrawBrushCircle(d.anchor, p.radius))
        return err;
    d.current = message.cursor;
    if (Throttled(message, message.cursor))
        return kNoErr;
    gGlobals->toolCursorId = kCursorRoughen;
    sTool->SetToolCursor(message.tool, kCursorRoughen);
    d.amounts[0] += 0.1 * (d.current.x - d.previous.x);
    d.amounts[1] += 0.5 * (d.current.y - d.previous.y);
    if ((message.modifiers & kModifierShift) != 0)
        d.seed = NewSeed();
    sMath->SeedRandom(d.seed);
    if (ErrorCode err = EnsureDragSegments())
        return err;
    RoughBrush brush{d.downPoint, p.radius, p.shape, d.amounts[0], d.amounts[1]};
    for (int32_t i = 1; i < d.selectionCount; ++i) {
        int32_t kind = 0;
        if (sArt->GetArtKind(d.selection[i], &kind) != kNoErr || kind != kVtgArtPath)
            continue;
        if (ErrorCode err = RoughenPath(d.selection[i], brush, d.segments))
            return err;
    }
    d.fresh = 0;
    d.previous = d.current;
    return kNoErr;
}

ErrorCode RoughToolCtrlr::MouseUp(const ToolMessage& message) {
    ToolDragState& d = Drag();
    gGlobals->toolCursorId = CursorFor(message.modifiers);
    ErrorCode err = kNoErr;
    const bool radiusDrag = d.radiusDrag != 0;
    if (radiusDrag)
        err = RevertStep();
    else
        DisposeBrushCircle();
    if (err == kNoErr && (message.modifiers & kModifierCancel) != 0) {
        err = RevertStep();
    } else if (err == kNoErr && !radiusDrag && params().trace != 0 && d.segments != nullptr &&
               d.selectionCount >= 2 && ConfirmTrace()) {
        err = RevertStep();
        if (err == kNoErr)
            err = Trace(message.modifiers);
    }
    SendToolDataIfAsked();
    EndGesture();
    d.radiusDrag = 0;
    sTool->SetToolCursor(message.tool, gGlobals->toolCursorId);
    return err;
}

ErrorCode RoughToolCtrlr::Trace(uint32_t modifiers) {
    ToolDragState& d = Drag();
    const RoughToolParams& p = params();
    const int32_t n = TraceSteps(p.steps);
    const double amplitude = d.amounts[1];
    void* block = nullptr;
    if (ErrorCode err = sMemory->AllocateBlock(
            kTraceBufferName, sizeof(double) * (static_cast<std::size_t>(n) + 1), &block))
        return err;
    auto* q = static_cast<double*>(block);
    const int curve = p.traceMode % 3;
    q[0] = 0;
    for (int32_t j = 1; j <= n; ++j)
        q[j] = curve == 0 ? q[j - 1] + amplitude / n
                          : TraceEase(curve, static_cast<double>(j) / n) * amplitude;
    ArtHandle unit = nullptr;
    ErrorCode err = ChooseCopyUnit(&unit);
    if (err == kNoErr && unit != nullptr) {
        TracePlacer place(unit, (modifiers & kModifierCtrl) != 0);
        auto step = [&](int32_t j, bool reseed) -> ErrorCode {
            ArtHandle copy = nullptr;
            if (ErrorCode e = place.Copy(&copy))
                return e;
            if (reseed)
                sMath->SeedRandom(d.seed);
            RoughBrush brush{d.downPoint, p.radius, p.shape, d.amounts[0], q[j]};
            return ForEachSelectedPath(
                unit, copy, [&](ArtHandle path) { return RoughenPath(path, brush, d.segments); });
        };
        for (int32_t j = 1; j <= n && err == kNoErr; ++j)
            err = step(j, p.changeRandom == 0 || j == n);
        if (p.traceMode >= 3) {
            for (int32_t j = n - 1; j >= 1 && err == kNoErr; --j)
                err = step(j, p.changeRandom == 0);
            ArtHandle back = nullptr;
            if (err == kNoErr)
                err = place.Copy(&back);
        }
    }
    d.amounts[1] = amplitude;
    sMemory->FreeBlock(block);
    return err;
}

// --- the view ------------------------------------------------------------------------

void RoughToolViewController::Refresh(int) {
    const RoughToolParams& p = static_cast<RoughToolCtrlr&>(ctrlr_).params();
    platform::SetChecked(item(kPolyline), p.shape == 0);
    platform::SetChecked(item(kCurve), p.shape == 1);
    ShowLength(kRadius, p.radius);
    platform::SetChecked(item(kTraceCheck), p.trace != 0);
    platform::SetSelection(item(kTraceMode), p.traceMode);
    platform::SetText(item(kSteps), std::to_string(TraceSteps(p.steps)));
    platform::SetChecked(item(kChangeRandom), p.changeRandom != 0);
    EnableTrace();
}

void RoughToolViewController::EnableTrace() {
    const bool on = static_cast<RoughToolCtrlr&>(ctrlr_).params().trace != 0;
    for (int id : {kTraceMode, kStepsLabel, kSteps, kStepsSpin, kChangeRandom})
        platform::Enable(item(id), on);
}

bool RoughToolViewController::OnToolSpin(int id, int delta) {
    if (id == kRadiusSpin)
        StepEdit(kRadius, delta);
    else if (id == kStepsSpin)
        StepEdit(kSteps, delta);
    else
        return false;
    return true;
}

bool RoughToolViewController::OnToolCommand(int id, int notify) {
    RoughToolParams& p = static_cast<RoughToolCtrlr&>(ctrlr_).params();
    switch (id) {
    case kPolyline:
    case kCurve:
        p.shape = static_cast<int16_t>(id == kCurve ? 1 : 0);
        return true;
    case kRadius:
        if (notify == platform::kNotifyEditChange)
            ReadLength(kRadius, kMinRadius, kMaxRadius, p.radius);
        return true;
    case kTraceCheck:
        p.trace = platform::IsChecked(item(kTraceCheck)) ? 1 : 0;
        if (p.trace != 0)
            TraceTurnedOn();
        EnableTrace();
        return true;
    case kTraceMode:
        if (notify == platform::kNotifySelChange) {
            const int mode = platform::GetSelection(item(kTraceMode));
            if (mode >= 0 && mode <= 5)
                p.traceMode = static_cast<int16_t>(mode);
        }
        return true;
    case kSteps:
        if (notify == platform::kNotifyEditChange)
            ReadInteger(kSteps, 1, 4000, p.steps);
        return true;
    case kChangeRandom:
        p.changeRandom = platform::IsChecked(item(kChangeRandom)) ? 1 : 0;
        return true;
    default:
        return false;
    }
}

} // namespace vtg
