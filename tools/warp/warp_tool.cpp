// The Perspective Warp tool: the effect's drivers with the drag's geometry,
// and the options view.
#include "tools/warp/warp_tool.hpp"

#include "effects/warp/warp_effect.hpp"
#include "tools/tool_drag.hpp"
#include "ui/text_helpers.hpp"

namespace vtg {

namespace {

constexpr int32_t kCursors[kWarpStyles] = {16100, 16110, 16120, 16200, 16210, 16220, 16500, 16300,
                                           16310, 16320, 16400, 16410, 16420, 16600, 16700, 16800,
                                           16810, 16820, 16900, 16910, 16920, 17000};

enum Ids {
    kPerspective = 1304,
    kMargin = 1307,
    kMarginSpin = 1310,
};

constexpr TraceControls kTrace{1305, 1306, 1313, 1308, 1311, 1314, 1309, 1312};

// The button of each type: 1282 .. 1299, then 1230 .. 1233.
int TypeButton(int type) {
    return type < 18 ? 1282 + type : 1230 + (type - 18);
}

int TypeOfButton(int id) {
    if (id >= 1282 && id <= 1299)
        return id - 1282;
    if (id >= 1230 && id <= 1233)
        return 18 + (id - 1230);
    return -1;
}

} // namespace

int32_t WarpTypeCursor(int32_t type) {
    return type >= 0 && type < kWarpStyles ? kCursors[type] : kCursors[0];
}

AxisTrace WarpToolCtrlr::TraceSettings() const {
    const WarpToolParams& p = params();
    return {p.trace != 0, p.traceMode, p.interval, p.steps};
}

bool WarpToolCtrlr::StepMode(int mode, int& curve, bool& roundTrip) const {
    if (mode < 1 || mode > 6)
        return false;
    curve = (mode - 1) % 3;
    roundTrip = mode >= 4;
    return true;
}

ErrorCode WarpToolCtrlr::Deform(ArtHandle path, const WaveGeometry& geometry, int32_t axis) {
    const WarpToolParams& p = params();
    return axis == 1 ? WarpVertical(path, geometry, p.type, p.margin, p.perspective)
                     : WarpHorizontal(path, geometry, p.type, p.margin, p.perspective);
}

// --- the view ------------------------------------------------------------------------

void WarpToolViewController::Refresh(int) {
    const WarpToolParams& p = static_cast<WarpToolCtrlr&>(ctrlr_).params();
    for (int type = 0; type < kWarpStyles; ++type)
        platform::SetPressed(item(TypeButton(type)), type == p.type);
    platform::SetChecked(item(kPerspective), p.perspective != 0);
    platform::SetText(item(kMargin), FormatNumber(p.margin * 100, 3));
    ShowTrace(kTrace, Trace());
    ApplyRules();
}

void WarpToolViewController::ApplyRules() {
    const WarpToolParams& p = static_cast<WarpToolCtrlr&>(ctrlr_).params();
    platform::Enable(item(kPerspective), p.type != 13 && p.type != 21);
    ApplyTraceRules(kTrace, p.trace != 0, p.traceMode == 0);
}

TraceFields WarpToolViewController::Trace() const {
    WarpToolParams& p = static_cast<WarpToolCtrlr&>(ctrlr_).params();
    return {&p.trace, &p.traceMode, &p.interval, &p.steps, 7};
}

bool WarpToolViewController::OnToolSpin(int id, int delta) {
    if (id == kMarginSpin)
        StepEdit(kMargin, delta);
    else
        return OnTraceSpin(kTrace, id, delta);
    return true;
}

bool WarpToolViewController::OnToolCommand(int id, int notify) {
    WarpToolParams& p = static_cast<WarpToolCtrlr&>(ctrlr_).params();
    if (const int type = TypeOfButton(id); type >= 0) {
        p.type = static_cast<int16_t>(type);
        for (int t = 0; t < kWarpStyles; ++t)
            platform::SetPressed(item(TypeButton(t)), t == type);
        ApplyRules();
        return true;
    }
    double v = 0;
    switch (id) {
    case kPerspective:
        p.perspective = platform::IsChecked(item(kPerspective)) ? 1 : 0;
        return true;
    case kMargin:
        if (notify == platform::kNotifyEditChange && ReadNumber(kMargin, 0, 4000, 3, v))
            p.margin = v / 100;
        return true;
    default:
        return OnTraceCommand(kTrace, Trace(), id, notify);
    }
}

} // namespace vtg
