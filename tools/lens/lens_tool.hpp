// lens_tool.hpp - the Lens tool: an elliptical lens dragged over the
// selected paths (the Lens effect's fisheye, magnifier and twirl, and the
// tone lens that shrinks whole paths); Alt-drag sizes the lens.
#pragma once

#include "effects/lens/lens_effect.hpp"
#include "params/tool_params.hpp"
#include "tools/tool_ctrlr.hpp"

namespace vtg {

inline constexpr int32_t kCursorLens = 16057;

// The tone lens on plain segments: every point p becomes
// c + (sx (p.x - c.x), sy (p.y - c.y)), where the scale falls from
// `optical` for a centre c at the lens centre to 1 at the rim (the lens
// ellipse stretched to a circle of radius width / 2). False when nothing
// changes: c on or outside the rim, optical (1, 1), a lens of zero or not
// finite size.
bool ToneLensSegments(PathSegment* s, int32_t n, VtgPoint c, const LensArea& lens,
                      VtgPoint optical);

// The tone lens on one host path about `c` (null: none, the path stays).
ErrorCode ToneLensPath(ArtHandle path, const VtgPoint* c, const LensArea& lens, VtgPoint optical);

// The lens is neutral: fisheye 0, magnifier 1, twirl 0, or a lens of zero
// or not finite size (a tone lens of any other size is never neutral).
bool LensNeutral(const LensToolParams& p);

class LensToolViewController : public ToolViewController {
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

class LensToolCtrlr : public ToolCtrlr {
public:
    static constexpr int kDialog = 650;
    LensToolCtrlr(PanelHandle panel, FlyoutHandle flyout) : ToolCtrlr(2, panel, flyout) {}
    LensToolParams& params() const { return *static_cast<LensToolParams*>(record()); }

    std::string LabelText() const override;
    int32_t CursorFor(uint32_t modifiers) const override;
    ErrorCode MouseDown(const ToolMessage& message) override;
    ErrorCode MouseDrag(const ToolMessage& message) override;
    ErrorCode MouseUp(const ToolMessage& message) override;

    // The lens as it stands in the drag: the drag's centre and the size.
    LensArea Lens() const;

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<ToolViewController> MakeView() override {
        return std::make_unique<LensToolViewController>(*this);
    }

private:
    ErrorCode DrawLensArea(VtgPoint centre);
    ErrorCode ApplyToSelection();
    // The lens on every selected path of the copy `target` of `source`.
    ErrorCode LensArtTree(ArtHandle source, ArtHandle target, bool temporaryGroup);
    ErrorCode ToneLensArtTree(ArtHandle source, ArtHandle target, const VtgPoint* centre, bool top,
                              bool temporaryGroup);
    ErrorCode Trace(uint32_t modifiers);
};

} // namespace vtg
