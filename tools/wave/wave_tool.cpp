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
    kTraceCheck = 1320,
    kTraceMode = 1321,
    kIntervalLabel = 1328,
    kInterval = 1323,
    kIntervalSpin = 1326,
    kStepsLabel = 1329,
    kSteps = 1324,
    kStepsSpin = 1327,
};

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
    platform::SetChecked(item(kTraceCheck), p.trace != 0);
    platform::SetSelection(item(kTraceMode), p.traceMode);
    ShowLength(kInterval, p.interval);
    platform::SetText(item(kSteps), std::to_string(TraceSteps(p.steps)));
    ApplyRules();
}

void WaveToolViewController::ApplyRules() {
    const WaveToolParams& p = static_cast<WaveToolCtrlr&>(ctrlr_).params();
    const bool interval = p.traceMode == 0, on = p.trace != 0;
    for (int id : {kIntervalLabel, kInterval, kIntervalSpin}) {
        platform::Show(item(id), interval);
        platform::Enable(item(id), on);
    }
    for (int id : {kStepsLabel, kSteps, kStepsSpin}) {
        platform::Show(item(id), !interval);
        platform::Enable(item(id), on);
    }
    platform::Enable(item(kTraceMode), on);
}

bool WaveToolViewController::OnToolSpin(int id, int delta) {
    if (id == kCycleSpin)
        StepEdit(kCycle, delta);
    else if (id == kIntervalSpin)
        StepEdit(kInterval, delta);
    else if (id == kStepsSpin)
        StepEdit(kSteps, delta);
    else
        return false;
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
    case kTraceCheck:
        p.trace = platform::IsChecked(item(kTraceCheck)) ? 1 : 0;
        if (p.trace != 0)
            TraceTurnedOn();
        ApplyRules();
        return true;
    case kTraceMode:
        if (notify == platform::kNotifySelChange) {
            const int mode = platform::GetSelection(item(kTraceMode));
            if (mode >= 0 && mode <= 7)
                p.traceMode = static_cast<int16_t>(mode);
            ApplyRules();
        }
        return true;
    case kInterval:
        if (notify == platform::kNotifyEditChange)
            ReadLength(kInterval, 1, 4000, p.interval);
        return true;
    case kSteps:
        if (notify == platform::kNotifyEditChange)
            ReadInteger(kSteps, 1, 4000, p.steps);
        return true;
    default:
        return false;
    }
}

} // namespace vtg
