// warp_effect.hpp - the Perspective Warp geometry: 22 envelope shapes across
// an art's bounds with an optional horizontal perspective compression, as
// point mappings and the two path drivers shared with the Warp tool.
#pragma once

#include <cstdint>

#include "effects/wave/wave_effect.hpp"
#include "params/effect_params.hpp"

namespace vtg {

inline constexpr int32_t kWarpStyles = 22;

// The anchor kind of each style for the bend preparation.
int32_t WarpAnchor(int32_t style);

// The warp of one orientation as a deformation of the shared driver.
class WarpVariant : public DeformVariant {
public:
    WarpVariant(const WaveGeometry& geometry, int32_t style, double marginRatio, bool perspective,
                bool vertical);

    // True when the style and sign of the bend leave the path alone.
    bool Skipped() const { return skipped_; }
    ErrorCode Map(VtgPoint point, VtgPoint* mapped) override;
    bool IsIdentity() const override;
    double Tolerance(double e) const override;
    ErrorCode Fit(PathSegment& first, PathSegment& second, bool splitAllowed) override;

private:
    enum class Profile {
        CircularPinch,
        EllipticBulge,
        CosinePinch,
        CosineBulge,
        StraightPinch,
        StraightPeak,
        Shear
    };
    double Vertical(double u, double s) const;

    int32_t style_;
    bool perspective_, vertical_;
    bool skipped_ = false, scaling_ = true;
    Profile profile_ = Profile::CircularPinch;
    double x0_ = 0, y0_ = 0, k_ = 0, kh_ = 0, v_ = 0, r_ = 0;
    // Per-warp constants of Map: whether the perspective applies, its
    // strength, the profile's factor and radius under it, and k * v.
    bool compress_ = false;
    double pk_ = 0, pc_ = 1, pr_ = 0, kv_ = 0;
};

ErrorCode WarpHorizontal(ArtHandle path, const WaveGeometry& geometry, int32_t style,
                         double marginRatio, int32_t perspective);
ErrorCode WarpVertical(ArtHandle path, const WaveGeometry& geometry, int32_t style,
                       double marginRatio, int32_t perspective);

// Runs the Perspective Warp record over `art` as its Go Live does.
ErrorCode ApplyWarp(const WarpEffectParams& params, ArtHandle art);

} // namespace vtg
