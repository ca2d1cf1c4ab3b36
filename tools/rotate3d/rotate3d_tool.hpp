// rotate3d_tool.hpp - the 3D rotate tool: dragging turns the selected Live
// 3D Path object in space (or moves its centre with Alt). The drag shows the
// transformed outlines, a crosshair through the centre and a label; the
// release stores the new values in the object and regenerates it once.
#pragma once

#include <string>

#include "geometry/path_model.hpp"
#include "live/path3d/path3d_transform.hpp"
#include "tools/tool_ctrlr.hpp"

namespace vtg {

inline constexpr int32_t kCursor3DRotate = 17060;

class Rotate3DToolCtrlr : public ToolCtrlr {
public:
    Rotate3DToolCtrlr() : ToolCtrlr(kTool3DRotate, nullptr, nullptr) {}
    ~Rotate3DToolCtrlr() override;

    std::string LabelText() const override;
    int32_t CursorFor(uint32_t modifiers) const override;
    ErrorCode MouseDown(const ToolMessage& message) override;
    ErrorCode MouseDrag(const ToolMessage& message) override;
    ErrorCode MouseUp(const ToolMessage& message) override;
    bool DrawAnnotation(DrawerHandle drawer, VtgViewRect& covered) override;

protected:
    int DialogId() const override { return 0; }
    std::unique_ptr<ToolViewController> MakeView() override { return nullptr; }
};

// The gesture's pieces, for tests and the benchmark.
namespace rotate3d {
// Reads `object` into the 3D Path block and captures its converted source.
ErrorCode Prepare(ArtHandle object);
// One rotation step by the halved pointer movement (dx, dy) in view pixels
// with `modifiers`, then the transform of the captured paths.
ErrorCode RotateStep(double dx, double dy, uint32_t modifiers);
// The captured paths and the context of the gesture.
const PathSet& Paths();
const ThreeDContext& Context();
// Frees the captured paths.
void Release();
} // namespace rotate3d

} // namespace vtg
