// wave_tool.hpp - the Multi-wave tool: the wave effect across the
// selection, its bend and phase set by the drag from the press point.
#pragma once

#include "params/tool_params.hpp"
#include "tools/axis_tool.hpp"

namespace vtg {

// The cursor of each wave style; the id + 1 is its Alt variant.
int32_t WaveStyleCursor(int32_t style);

class WaveToolViewController : public ToolViewController {
public:
    using ToolViewController::ToolViewController;
    void Refresh(int reason) override;

protected:
    bool OnToolCommand(int id, int notify) override;
    bool OnToolSpin(int id, int delta) override;
    void ApplyRules() override;

private:
    TraceFields Trace() const;
};

class WaveToolCtrlr : public AxisToolCtrlr {
public:
    static constexpr int kDialog = 649;
    WaveToolCtrlr(PanelHandle panel, FlyoutHandle flyout) : AxisToolCtrlr(1, panel, flyout) {}
    WaveToolParams& params() const { return *static_cast<WaveToolParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<ToolViewController> MakeView() override {
        return std::make_unique<WaveToolViewController>(*this);
    }
    int32_t TypeCursor() const override { return WaveStyleCursor(params().style); }
    bool SpecialType() const override { return params().style == 4; }
    AxisTrace TraceSettings() const override;
    bool CycleMode() const override { return true; }
    double Cycle() const override { return params().cycle; }
    bool StepMode(int mode, int& curve, bool& roundTrip) const override;
    ErrorCode Deform(ArtHandle path, const WaveGeometry& geometry, int32_t axis) override;
};

} // namespace vtg
