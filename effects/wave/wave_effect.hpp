// wave_effect.hpp - the Multi-wave geometry: the wave's preparation from an
// art's bounds, its point mappings and its two path drivers (one per
// orientation), shared by the Multi-wave effect and the Wave tool.
#pragma once

#include <cstdint>

#include "geometry/deform_driver.hpp"
#include "params/effect_params.hpp"

namespace vtg {

// Where a bend is anchored: 0 the centre line, 1 the bottom (left) edge,
// 2 the top (right) edge.
enum WaveAnchor : int32_t { kAnchorCentre = 0, kAnchorLow = 1, kAnchorHigh = 2 };

// The wave geometry the mappings read: the art's bounds, a point on the
// anchor line and the point displaced from it by the amplitude. The effects
// compute it from the art; the tools set it from the mouse.
struct WaveGeometry {
    VtgRect bounds{0, 0, 0, 0};
    VtgPoint basePoint{0, 0};
    VtgPoint controlPoint{0, 0};
};

// The geometry of a bend across `bounds`: the effective extents (very flat
// objects get 5 % of the other side), the centre line moved by centerRatio
// and the anchor line displaced by bendRatio.
WaveGeometry PrepareBend(const VtgRect& bounds, int32_t orientation, int32_t anchor,
                         double bendRatio, double centerRatio);

// PrepareWave: the geometry of a Multi-wave record on `art` (control-point
// bounds). Style values above 4 leave `out` unchanged and return false.
bool PrepareWave(const WaveEffectParams& params, ArtHandle art, WaveGeometry& out);

// The wave as a deformation of the shared driver, for one orientation.
class WaveVariant : public DeformVariant {
public:
    // `compressed`: style 4 maps a path that was already compressed along the
    // wave by 1 / (cycle * pi).
    WaveVariant(const WaveGeometry& geometry, int32_t style, double cycle, bool vertical);

    ErrorCode Map(VtgPoint point, VtgPoint* mapped) override;
    bool IsIdentity() const override;
    double Tolerance(double e) const override;
    ErrorCode Fit(PathSegment& first, PathSegment& second, bool splitAllowed) override;

    // The compression style 4 applies before mapping: factor along the wave
    // and its centre.
    double CompressionFactor() const;
    VtgPoint Centre() const { return {cx_, cy_}; }
    bool vertical() const { return vertical_; }
    int32_t style() const { return style_; }

private:
    int32_t style_;
    double cycle_;
    bool vertical_;
    double k_ = 0, along0_ = 0, across0_ = 0, a_ = 0, v_ = 0;
    double cx_ = 0, cy_ = 0, controlAlong_ = 0, centreAlong_ = 0;
    // Per-wave constants of Map: pi * cycle, k * v and style 4's phase.
    double piCycle_ = 0, kv_ = 0, phase_ = 0;
};

// The two drivers: every path keeps its geometry when the wave is the
// identity (no bend, cycle 0 or a zero extent), when it has fewer than 2
// segments or more than the 32 000 segments of the source copy.
ErrorCode WaveHorizontal(ArtHandle path, const WaveGeometry& geometry, int32_t style, double cycle);
ErrorCode WaveVertical(ArtHandle path, const WaveGeometry& geometry, int32_t style, double cycle);

// Runs the Multi-wave record over `art` as its Go Live does; 0 or an error.
ErrorCode ApplyWave(const WaveEffectParams& params, ArtHandle art);

} // namespace vtg
