// broom_tool.hpp - the Broom tool: a soft round brush that moves each whole
// path rigidly by the weight its centre gets, so that a cloud of small
// objects can be pushed, swept, spread or swirled.
#pragma once

#include "params/tool_params.hpp"
#include "tools/brush_tool.hpp"

namespace vtg {

inline constexpr int32_t kCursorBroom = 16068;

// The Broom move on plain segments: every point moves by where the brush
// takes `c` minus c. False when c is outside the brush (nothing moves) or
// the path has fewer than 2 segments.
bool BroomSegments(PathSegment* s, int32_t n, VtgPoint c, const Brush& brush);

// The Broom move of one host path about `c`.
ErrorCode BroomPath(ArtHandle path, VtgPoint c, const Brush& brush);

class BroomToolCtrlr : public BrushToolCtrlr {
public:
    static constexpr int kDialog = 653;
    BroomToolCtrlr(PanelHandle panel, FlyoutHandle flyout) : BrushToolCtrlr(6, panel, flyout) {}
    BroomToolParams& params() const { return *static_cast<BroomToolParams*>(record()); }
    BrushFields Fields() const override;

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<ToolViewController> MakeView() override;
    int32_t ToolCursor() const override { return kCursorBroom; }
    int32_t DraggingCursor() const override { return kCursorBroom; }
    double ScaleRate() const override { return 0.025; }
    ErrorCode ApplyToSelection(const Brush& brush, bool* processed) override;
    ErrorCode ApplyToCopy(const Brush& brush, ArtHandle source, ArtHandle target,
                          bool temporaryGroup) override;

private:
    ErrorCode BroomArtTree(const Brush& brush, ArtHandle source, ArtHandle target,
                           const VtgPoint* centre, bool top, bool temporaryGroup);
};

} // namespace vtg
