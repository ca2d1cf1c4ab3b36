// The Multi-wave tool: the effect's drivers with the drag's geometry, and
// the options view.
#include "tools/wave/wave_tool.hpp"

#include "effects/wave/wave_effect.hpp"
#include "tools/tool_drag.hpp"
#include "ui/text_helpers.hpp"

namespace vtg {

namespace {

constexpr int kStyles = 5;

enum Ids {
    kFirstStyle = 1315,
    kCycle = 1322,
    kCycleSpin = 1325,
};

constexpr TraceControls kTrace{1320, 1321, 1328, 1323, 1326, 1329, 1324, 1327};

} // namespace

int32_t WaveStyleCursor(int32_t style) {
    return 17010 + 10 * (style >= 0 && style < kStyles ? style : 0);
}

AxisTrace WaveToolCtrlr::TraceSettings() const {
    const WaveToolParams& p = params();
    return {p.trace != 0, p.traceMode, p.interval, p.steps};
}

bool WaveToolCtrlr::StepMode(int mode, int& curve, bool& roundTrip) const {
    if (mode < 2 || mode > 7)
        return false;
    curve = (mode - 2) % 3;
    roundTrip = mode >= 5;
    return true;
}

ErrorCode WaveToolCtrlr::Deform(ArtHandle path, const WaveGeometry& geometry, int32_t axis) {
    const WaveToolParams& p = params();
    return axis == 1 ? WaveVertical(path, geometry, p.style, p.cycle)
                     : WaveHorizontal(path, geometry, p.style, p.cycle);
}

// --- the view ------------------------------------------------------------------------

void WaveToolViewController::Refresh(int) {
    const WaveToolParams& p = static_cast<WaveToolCtrlr&>(ctrlr_).params();
    for (int style = 0; style < kStyles; ++style)
        platform::SetPressed(item(kFirstStyle + style), style == p.style);
    platform::SetText(item(kCycle), FormatNumber(p.cycle, 3));
    ShowTrace(kTrace, Trace());
    ApplyRules();
}

void WaveToolViewController::ApplyRules() {
    const WaveToolParams& p = static_cast<WaveToolCtrlr&>(ctrlr_).params();
    ApplyTraceRules(kTrace, p.trace != 0, p.traceMode == 0);
}

TraceFields WaveToolViewController::Trace() const {
    WaveToolParams& p = static_cast<WaveToolCtrlr&>(ctrlr_).params();
    return {&p.trace, &p.traceMode, &p.interval, &p.steps, 8};
}

bool WaveToolViewController::OnToolSpin(int id, int delta) {
    if (id == kCycleSpin)
        StepEdit(kCycle, delta);
    else
        return OnTraceSpin(kTrace, id, delta);
    return true;
}

bool WaveToolViewController::OnToolCommand(int id, int notify) {
    WaveToolParams& p = static_cast<WaveToolCtrlr&>(ctrlr_).params();
    if (id >= kFirstStyle && id < kFirstStyle + kStyles) {
        p.style = static_cast<int16_t>(id - kFirstStyle);
        for (int s = 0; s < kStyles; ++s)
            platform::SetPressed(item(kFirstStyle + s), s == p.style);
        return true;
    }
    switch (id) {
    case kCycle:
        if (notify == platform::kNotifyEditChange)
            ReadNumber(kCycle, 0.1, 4000, 3, p.cycle);
        return true;
    default:
        return OnTraceCommand(kTrace, Trace(), id, notify);
    }
}

} // namespace vtg
