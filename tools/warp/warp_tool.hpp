// warp_tool.hpp - the Perspective Warp tool: the warp effect's envelope,
// bent by the drag from the press point.
#pragma once

#include "params/tool_params.hpp"
#include "tools/axis_tool.hpp"

namespace vtg {

// The cursor of each warp type; the id + 1 is its Alt variant.
int32_t WarpTypeCursor(int32_t type);

class WarpToolViewController : public ToolViewController {
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

class WarpToolCtrlr : public AxisToolCtrlr {
public:
    static constexpr int kDialog = 101;
    WarpToolCtrlr(PanelHandle panel, FlyoutHandle flyout) : AxisToolCtrlr(0, panel, flyout) {}
    WarpToolParams& params() const { return *static_cast<WarpToolParams*>(record()); }

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<ToolViewController> MakeView() override {
        return std::make_unique<WarpToolViewController>(*this);
    }
    int32_t TypeCursor() const override { return WarpTypeCursor(params().type); }
    bool SpecialType() const override { return params().type == 6 || params().type == 14; }
    AxisTrace TraceSettings() const override;
    bool StepMode(int mode, int& curve, bool& roundTrip) const override;
    ErrorCode Deform(ArtHandle path, const WaveGeometry& geometry, int32_t axis) override;
};

} // namespace vtg
