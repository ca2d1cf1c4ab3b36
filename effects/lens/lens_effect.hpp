// lens_effect.hpp - the Lens geometry: the lens area over an art's bounds,
// the fisheye, magnifier and twirl mappings, and the lens driver shared with
// the Lens tool.
#pragma once

#include <cstdint>

#include "geometry/deform_driver.hpp"
#include "params/effect_params.hpp"

namespace vtg {

enum LensKind : int32_t { kLensFisheye = 0, kLensMagnifier = 1, kLensTwirl = 2, kLensTone = 3 };

// The lens area: its centre and size; the rectangle is centre ± size / 2.
struct LensArea {
    VtgPoint centre{0, 0};
    VtgPoint size{0, 0}; // width, height
    VtgPoint Corner() const { return {centre.x + size.x / 2, centre.y - size.y / 2}; }
    VtgRect Rect() const {
        return {centre.x - size.x / 2, centre.y + size.y / 2, centre.x + size.x / 2,
                centre.y - size.y / 2};
    }
};

// PlaceLens on explicit bounds: the centre moved by centerRatio, the size
// from the bounds (lensShape 0) or their diagonal (lensShape 1).
LensArea PlaceLensOn(const VtgRect& bounds, const LensEffectParams& params);
// PlaceLens on an art's control-point bounds; false when they cannot be read.
bool PlaceLens(const LensEffectParams& params, ArtHandle art, LensArea& out);

// The mappings: 0, or kOutsideArea for a point on or outside the rim (left
// where it is). A lens of zero width or height moves nothing.
ErrorCode FisheyeConvex(const LensArea& lens, double amount, VtgPoint p, VtgPoint* out);
ErrorCode FisheyeConcave(const LensArea& lens, double amount, VtgPoint p, VtgPoint* out);
ErrorCode Magnify(const LensArea& lens, double amount, VtgPoint p, VtgPoint* out);
ErrorCode Twirl(const LensArea& lens, double angle, VtgPoint p, VtgPoint* out);
ErrorCode TwirlCycles(const LensArea& lens, double angle, int32_t cycle, VtgPoint p, VtgPoint* out);

// The lens as a deformation of the shared driver.
class LensVariant : public DeformVariant {
public:
    LensVariant(const LensArea& lens, int32_t kind, double fishEye, double lupe, double twirl,
                int32_t cycle);
    ErrorCode Map(VtgPoint point, VtgPoint* mapped) override;
    bool IsIdentity() const override;
    double Tolerance(double e) const override;
    bool ReplaceRetractedHandles(const VtgPoint piece[4]) const override;
    bool SplitArea(VtgRect* area) const override;
    ErrorCode Fit(PathSegment& first, PathSegment& second, bool splitAllowed) override;

private:
    LensArea lens_;
    int32_t kind_;
    double fishEye_, lupe_, twirl_;
    int32_t cycle_;
};

// The lens driver: a neutral amount, the tone lens and a degenerate lens
// leave the path unchanged.
ErrorCode LensPath(ArtHandle path, const LensArea& lens, int32_t kind, double fishEye, double lupe,
                   double twirl, int32_t cycle);

// Runs the Lens record over `art` as its Go Live does; `placed` (may be
// null) receives the lens area.
ErrorCode ApplyLens(const LensEffectParams& params, ArtHandle art, LensArea* placed = nullptr);

} // namespace vtg
