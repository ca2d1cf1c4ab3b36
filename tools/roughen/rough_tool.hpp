// rough_tool.hpp - the Roughen tool: a brush that cuts the paths near the
// press point into finer pieces (horizontal drag) and displaces their
// anchors at random (vertical drag); Alt drags the brush radius.
#pragma once

#include "params/tool_params.hpp"
#include "tools/tool_ctrlr.hpp"

namespace vtg {

inline constexpr int32_t kCursorRoughen = 16056;

class RoughToolViewController : public ToolViewController {
public:
    using ToolViewController::ToolViewController;
    void Refresh(int reason) override;

protected:
    bool OnToolCommand(int id, int notify) override;
    bool OnToolSpin(int id, int delta) override;

private:
    void EnableTrace();
};

class RoughToolCtrlr : public ToolCtrlr {
public:
    static constexpr int kDialog = 652;
    RoughToolCtrlr(PanelHandle panel, FlyoutHandle flyout) : ToolCtrlr(5, panel, flyout) {}
    RoughToolParams& params() const { return *static_cast<RoughToolParams*>(record()); }

    std::string LabelText() const override;
    int32_t CursorFor(uint32_t modifiers) const override;
    ErrorCode MouseDown(const ToolMessage& message) override;
    ErrorCode MouseDrag(const ToolMessage& message) override;
    ErrorCode MouseUp(const ToolMessage& message) override;

protected:
    int DialogId() const override { return kDialog; }
    std::unique_ptr<ToolViewController> MakeView() override {
        return std::make_unique<RoughToolViewController>(*this);
    }

private:
    ErrorCode Trace(uint32_t modifiers);
};

// The brush: its centre, radius and shape, and the drag's amounts.
struct RoughBrush {
    VtgPoint centre{0, 0};
    double radius = 100;
    int16_t shape = 0;
    double detail = 0;    // D
    double amplitude = 0; // A
};

// Roughens the n segments of `source` into `work` (kSegmentBufferCapacity
// segments) with the host's random generator as it stands. *resultCount
// gets the result's count, or -1 when the path stays as it is (no amounts,
// fewer than 2 segments, the working copy above 31 997 anchors).
ErrorCode RoughenSegments(const RoughBrush& brush, const PathSegment* source, int32_t n,
                          bool closed, PathSegment* work, int32_t* resultCount);

// Roughens one host path in place, working in `work`.
ErrorCode RoughenPath(ArtHandle path, const RoughBrush& brush, PathSegment* work);

} // namespace vtg
