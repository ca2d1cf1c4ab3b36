// craft_tool.hpp - the Craft tool: a soft round brush that bends the path
// geometry itself (push, sweep, scale, rotate) and fits new curves.
#pragma once

#include "geometry/deform_driver.hpp"
#include "params/tool_params.hpp"
#include "tools/brush_tool.hpp"

namespace vtg {

inline constexpr int32_t kCursorCraft = 16054;
inline constexpr int32_t kCursorCraftDragging = 16055;

// The brush as a deformation of the shared driver: points inside the brush
// move by their weight, pieces that cross the brush box are split there, and
// the fit refines where the brush bends the curve.
class CraftVariant : public DeformVariant {
public:
    explicit CraftVariant(const Brush& brush) : brush_(brush) {}
    ErrorCode Map(VtgPoint point, VtgPoint* mapped) override;
    bool IsIdentity() const override;
    bool SplitArea(VtgRect* area) const override;
    ErrorCode Fit(PathSegment& first, PathSegment& second, bool splitAllowed) override;

private:
    Brush brush_;
};

// The Craft deformation of one host path.
ErrorCode CraftPath(ArtHandle path, const Brush& brush);

class CraftToolCtrlr : public BrushToolCtrlr {
public:
    static constexpr int kDialog = 651;
    CraftToolCtrlr(PanelHandle panel, FlyoutHandle flyout) : BrushToolCtrlr(4, panel, flyout) {}
    CraftToolParams& params() const { return *static_cast<CraftToolParams*>(record()); }
    BrushFields Fields() const override;

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<ToolViewController> MakeView() override;
    int32_t ToolCursor() const override { return kCursorCraft; }
    int32_t DraggingCursor() const override { return kCursorCraftDragging; }
    double ScaleRate() const override { return 0.05; }
    ErrorCode ApplyToSelection(const Brush& brush, bool* processed) override;
    ErrorCode ApplyToCopy(const Brush& brush, ArtHandle source, ArtHandle target,
                          bool temporaryGroup) override;
};

} // namespace vtg
