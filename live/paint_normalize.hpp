// paint_normalize.hpp - the paint a graded band is built from: every path
// gets a plain fill and a plain stroke, and stroke colours are blended
// towards the fill colour. Shared by the kinds that grade a stroke.
#pragma once

#include <cstdint>

#include "host/api/vtg_base.h"
#include "host/api/vtg_paint_style_suite.h"

namespace vtg {

// Gray, process, spot and RGB are plain; pattern, gradient, none and any
// kind this plug-in does not know are not.
bool IsPlainColour(int32_t kind);

// The white and the black of a colour's kind (a spot colour keeps its ink
// with tint 1 or 0). For a kind that is not plain only the kind is set.
void SetWhiteOf(int32_t kind, const VtgColor& like, VtgColor& into);
void SetBlackOf(int32_t kind, const VtgColor& like, VtgColor& into);

// The normalisation of one style: fills and strokes of pattern, gradient
// or none are switched off, then the pair is completed so that both are on
// (a lone plain fill moves to the stroke and the fill turns white, a lone
// stroke gets a white fill, a lone fill that is not plain gets a 10-point
// black stroke, anything else takes the document's white fill and 10-point
// black stroke for `colorModel`). With `roundedJoins` the stroke's cap and
// join become round. True when the style changed or must be written.
bool NormalizeStyle(VtgPathStyle& style, bool roundedJoins, int32_t colorModel);

// NormalizeStyle on the style of a path (or compound path), with the
// document's colour model; writes the style back when it changed.
ErrorCode NormalizePaint(ArtHandle path, bool roundedJoins);

// The process equivalent of a spot colour with its tint applied, through
// the host's paint-style suite when it is there, else from the colour's own
// equivalent. Other plain colours come back as they are. False for
// pattern, gradient, none and unknown kinds.
bool ProcessEquivalent(const VtgColor& colour, VtgColor& process);

// Blends the stroke colour towards the fill colour with the weight `weight`
// of the stroke (1 keeps the stroke colour, 0 gives the fill colour). A
// `density` of 0 or more takes the place of the stroke's darkness (gray,
// the process black, RGB as 1 - density). Only colours of the same kind
// blend, and then the stroke's overprint is switched off; spot colours are
// turned into their process equivalents first (fill and stroke both) and
// blend as those. The fill is changed by that conversion only. With
// `inverted` a density takes the place of the fill's darkness instead, and
// the stroke keeps its own value as the other term.
void BlendColour(VtgStrokeStyle& stroke, VtgFillStyle& fill, double weight, double density,
                 bool inverted = false);

} // namespace vtg
