// The Craft tool: its deformation on the shared driver, its gesture on the
// brush base and its options view.
#include "tools/craft/craft_tool.hpp"

#include <algorithm>
#include <cmath>

#include "core/suite_set.hpp"
#include "geometry/curve_ops.hpp"
#include "geometry/fit_common.hpp"
#include "tools/tool_drag.hpp"

namespace vtg {

namespace {

constexpr BrushControls kControls{
    1040, 1045, 1047, 1050, 0, TraceControls{1044, 1046, 1053, 1048, 1051, 1054, 1049, 1052}};

} // namespace

ErrorCode CraftVariant::Map(VtgPoint p, VtgPoint* out) {
    double w = 0;
    if (!BrushWeight(brush_, p, &w)) {
        *out = p;
        return kOutsideArea;
    }
    *out = BrushMove(brush_, p, w);
    return kNoErr;
}

bool CraftVariant::IsIdentity() const {
    const VtgPoint v = brush_.Displacement();
    return (v.x == 0 && v.y == 0) || !(brush_.radius > 0) || !std::isfinite(v.x) ||
           !std::isfinite(v.y);
}

bool CraftVariant::SplitArea(VtgRect* area) const {
    // The box of the brush around the point the weight is measured from.
    const VtgPoint r = brush_.Reference();
    *area = {r.x - brush_.radius, r.y + brush_.radius, r.x + brush_.radius, r.y - brush_.radius};
    return true;
}

ErrorCode CraftVariant::Fit(PathSegment& first, PathSegment& second, bool splitAllowed) {
    VtgPoint p[4] = {first.anchor, first.out, second.in, second.anchor};
    const VtgPoint v = brush_.Displacement();
    if ((v.x == 0 && v.y == 0) || brush_.radius == 0)
        return kFitAccepted;
    const double chord = fit::Dist(p[0], p[3]);
    const double e = std::min(1.0, chord / 100);
    const double m = std::clamp(std::max(std::fabs(v.x), std::fabs(v.y)) * chord / 100, 0.01, 1.0);
    // A straight piece gets handles at the chord's thirds at the ends that
    // lie in the brush, so that the bend has something to bend.
    if (fit::Same(p[1], p[0]) && fit::Same(p[2], p[3])) {
        const VtgPoint r = brush_.Reference();
        const VtgPoint a = p[0], b = p[3];
        if (fit::Dist(a, r) < brush_.radius)
            p[1] = {a.x + (b.x - a.x) / 3, a.y + (b.y - a.y) / 3};
        if (fit::Dist(b, r) < brush_.radius)
            p[2] = {b.x + (a.x - b.x) / 3, b.y + (a.y - b.y) / 3};
    }
    auto map = [&](VtgPoint in, VtgPoint* mapped, int* outside) -> ErrorCode {
        const ErrorCode r = Map(in, mapped);
        if (r == kOutsideArea) {
            *mapped = in;
            ++*outside;
            return kNoErr;
        }
        return r;
    };
    VtgPoint q[4]{}, nearStart{}, nearEnd{}, atThird{}, atTwoThirds{};
    int startOut = 0, endOut = 0, middleOut = 0;
    ErrorCode err;
    if ((err = map(p[0], &q[0], &startOut)) != kNoErr ||
        (err = map(fit::Eval(p, fit::kNearStart), &nearStart, &startOut)) != kNoErr ||
        (err = map(p[1], &q[1], &startOut)) != kNoErr ||
        (err = map(p[3], &q[3], &endOut)) != kNoErr ||
        (err = map(fit::Eval(p, fit::kNearEnd), &nearEnd, &endOut)) != kNoErr ||
        (err = map(p[2], &q[2], &endOut)) != kNoErr)
        return err;
    const bool startAllOut = startOut == 3, endAllOut = endOut == 3;
    const VtgPoint outHandle = startAllOut ? p[1] : fit::EndHandle(q[0], q[1], nearStart);
    const VtgPoint inHandle = endAllOut ? p[2] : fit::EndHandle(q[3], q[2], nearEnd);
    if ((err = map(fit::Eval(p, fit::kThird), &atThird, &middleOut)) != kNoErr ||
        (err = map(fit::Eval(p, fit::kTwoThirds), &atTwoThirds, &middleOut)) != kNoErr)
        return err;
    if (!(startAllOut && endAllOut)) {
        const bool tiny = fit::Dist(q[0], q[3]) < e && fit::Dist(q[0], outHandle) < e &&
                          fit::Dist(q[3], inHandle) < e;
        const VtgPoint fitted[4] = {q[0], outHandle, inHandle, q[3]};
        if (!tiny && splitAllowed && chord >= e && fit::Strays(fitted, atThird, atTwoThirds, m))
            return kFitSplitNeeded;
    } else if (splitAllowed && middleOut < 2) {
        return kFitSplitNeeded;
    }
    first.anchor = q[0];
    first.out = outHandle;
    second.in = inHandle;
    second.anchor = q[3];
    if (!startAllOut)
        first.corner = 1;
    if (!endAllOut)
        second.corner = 1;
    return kFitAccepted;
}

ErrorCode CraftPath(ArtHandle path, const Brush& brush) {
    CraftVariant variant(brush);
    if (variant.IsIdentity())
        return kNoErr;
    return DeformPath(path, variant);
}

BrushFields CraftToolCtrlr::Fields() const {
    CraftToolParams& p = params();
    return {&p.brushMode, &p.resistance, &p.radius,        &p.trace,
            &p.traceMode, &p.interval,   &p.angleInterval, &p.steps};
}

std::unique_ptr<ToolViewController> CraftToolCtrlr::MakeView() {
    return std::make_unique<BrushToolViewController>(*this, kControls, nullptr);
}

ErrorCode CraftToolCtrlr::ApplyToSelection(const Brush& brush, bool* processed) {
    const ToolDragState& d = Drag();
    LendSegments lend(d.segments);
    VtgRect box{};
    CraftVariant(brush).SplitArea(&box);
    for (int32_t i = 1; i < d.selectionCount; ++i) {
        int32_t kind = 0;
        if (sArt->GetArtKind(d.selection[i], &kind) != kNoErr || kind != kVtgArtPath)
            continue;
        *processed = true;
        // A path wholly outside the brush keeps its geometry anyway.
        if (ArtMissesBox(d.selection[i], box))
            continue;
        if (ErrorCode err = CraftPath(d.selection[i], brush))
            return err;
    }
    return kNoErr;
}

ErrorCode CraftToolCtrlr::ApplyToCopy(const Brush& brush, ArtHandle source, ArtHandle target,
                                      bool) {
    LendSegments lend(Drag().segments);
    return ForEachSelectedPath(source, target,
                               [&](ArtHandle path) { return CraftPath(path, brush); });
}

} // namespace vtg
