// shade_colour.hpp - darkening, lightening and shading of plain colours, and
// the walk over the painted art of a copy. Shared by the kinds that light a
// shape from a direction (Cutout, Shadow, Emboss).
#pragma once

#include <cmath>
#include <cstdint>

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_paint_style_suite.h"
#include "host/api/vtg_path_suite.h"

namespace vtg {

// Darkens a colour by s (s > 0 darker, s < 0 lighter): gray and the process
// black take (1 + s) x value, plus s when s > 0; cyan, magenta and yellow
// (1 + s) x value; RGB (1 - s) x value, plus -s when s < 0. A spot colour
// becomes its process equivalent first. Results lie in [0, 1]; the paint's
// overprint flag is cleared by the caller. Other kinds are unchanged.
void DarkenColour(VtgColor& colour, double s);

// As DarkenColour, except that gray takes (1 + x) x value alone: a white gray
// stays white at any amount.
void AdjustColour(VtgColor& colour, double x);

// The shadow's shade of a colour with darkness a and transparency b: mode 0
// the shadow behind the source, mode 1 the shadow seen through it.
void ShadeColour(VtgColor& colour, double a, double b, int mode);

// The stroke of the seen-through shadow: blended with the fill as it was
// before shading, with weight a x b for the stroke, when both are of one
// kind (spot colours through their process equivalents, both).
void BlendWithFill(VtgColor& stroke, VtgColor fill, double a, double b);

// The light vector of a shift `offset` from the direction `angle`; a value
// that is not finite counts as 0.
struct LightShift {
    double x = 0, y = 0;
};
LightShift LightVector(double offset, double angle);

// The white of the document's colour model: gray 0, RGB 1, 1, 1, or
// process 0, 0, 0, 0 (also when the host cannot tell).
VtgColor DocumentWhite();

// Moves art by (dx, dy) with its gradients and patterns.
ErrorCode MoveArt(ArtHandle art, double dx, double dy);

// Calls each(art, kind) for every painted object of `art`: paths, compound
// paths as one shape (their member paths then take its style), brushed
// paths and envelopes. Groups are descended; other art is left alone.
template <typename F> ErrorCode ForEachPainted(ArtHandle art, F&& each) {
    int32_t kind = 0;
    if (ErrorCode err = sArt->GetArtKind(art, &kind))
        return err;
    if (kind == kVtgArtPath || kind == kVtgArtBrushedPath || kind == kVtgArtEnvelope)
        return each(art, kind);
    if (kind == kVtgArtCompoundPath) {
        if (ErrorCode err = each(art, kind))
            return err;
        VtgPathStyle style{};
        if (ErrorCode err = sPath->GetPathStyle(art, &style))
            return err;
        ArtHandle child = nullptr;
        if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
            return err;
        while (child != nullptr) {
            int32_t k = 0;
            if (ErrorCode err = sArt->GetArtKind(child, &k))
                return err;
            if (k == kVtgArtPath)
                if (ErrorCode err = sPath->SetPathStyle(child, &style))
                    return err;
            if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
                return err;
        }
        return kNoErr;
    }
    if (kind != kVtgArtGroup)
        return kNoErr;
    ArtHandle child = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(art, &child))
        return err;
    while (child != nullptr) {
        if (ErrorCode err = ForEachPainted(child, each))
            return err;
        if (ErrorCode err = sArt->GetArtNextSibling(child, &child))
            return err;
    }
    return kNoErr;
}

} // namespace vtg
