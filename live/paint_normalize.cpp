// Paint normalisation and the stroke-to-fill colour blend.
#include "live/paint_normalize.hpp"

#include <algorithm>
#include <cmath>

#include "core/suite_set.hpp"
#include "host/api/vtg_document_suite.h"
#include "host/api/vtg_path_suite.h"

namespace vtg {

namespace {

constexpr VtgMatrix kIdentityMatrix{1, 0, 0, 1, 0, 0};
// The stroke a path without a usable one gets.
constexpr double kDefaultStrokeWidth = 10.0;

VtgColor MakeColour(int32_t kind, double c0, double c1 = 0, double c2 = 0, double c3 = 0) {
    VtgColor c{};
    c.kind = kind;
    c.c[0] = c0;
    c.c[1] = c1;
    c.c[2] = c2;
    c.c[3] = c3;
    c.paintMatrix = kIdentityMatrix;
    return c;
}

// White (or black) of a kind; a spot colour keeps its ink and takes `tint`.
void SetExtremeOf(int32_t kind, const VtgColor& like, VtgColor& into, bool white) {
    switch (kind) {
    case kVtgColorGray:
        into = MakeColour(kVtgColorGray, white ? 0.0 : 1.0);
        break;
    case kVtgColorProcess:
        into = MakeColour(kVtgColorProcess, 0, 0, 0, white ? 0.0 : 1.0);
        break;
    case kVtgColorRGB: {
        const double v = white ? 1.0 : 0.0;
        into = MakeColour(kVtgColorRGB, v, v, v);
        break;
    }
    case kVtgColorSpot:
        into = like;
        into.kind = kVtgColorSpot;
        into.tint = white ? 1.0 : 0.0;
        break;
    default:
        into = MakeColour(kind, 0);
        break;
    }
}

bool Unusable(int32_t kind) {
    return kind == kVtgColorPattern || kind == kVtgColorGradient || kind == kVtgColorNone;
}

int32_t DocumentColourModel() {
    int32_t model = kVtgColorModelUnknown;
    if (sDocument == nullptr || sDocument->GetColorModel(&model) != kNoErr)
        return kVtgColorModelUnknown;
    return model;
}

// The spot colour's own process equivalent with its tint applied, as the
// host's suite computes it.
VtgColor SpotEquivalent(const VtgColor& spot) {
    const bool rgb = spot.spotKind == kVtgColorRGB;
    VtgColor out = MakeColour(rgb ? kVtgColorRGB : kVtgColorProcess, 0);
    const double tint = std::isfinite(spot.tint) ? std::clamp(spot.tint, 0.0, 1.0) : 0.0;
    const double keep = 1 - tint;
    for (int i = 0; i < 4; ++i)
        out.c[i] = rgb ? 1 - (1 - spot.c[i]) * keep : spot.c[i] * keep;
    if (rgb)
        out.c[3] = 0;
    return out;
}

// The blend of two colours of the same kind that is not spot. With a
// density, it stands for the stroke's darkness, or with `inverted` for the
// fill's (and the stroke keeps its own).
void BlendSameKind(VtgColor& s, const VtgColor& f, double weight, double density, bool inverted) {
    const double r = 1 - weight;
    const bool dense = density >= 0;
    const bool fillSide = dense && inverted, strokeSide = dense && !inverted;
    switch (s.kind) {
    case kVtgColorGray:
        s.c[0] = r * (fillSide ? density : f.c[0]) + weight * (strokeSide ? density : s.c[0]);
        break;
    case kVtgColorProcess:
        for (int i = 0; i < 3; ++i)
            s.c[i] = r * f.c[i] + weight * s.c[i];
        s.c[3] = std::min(1.0, r * (fillSide ? density : f.c[3]) +
                                   weight * (strokeSide ? density : s.c[3]));
        break;
    case kVtgColorRGB:
        for (int i = 0; i < 3; ++i)
            s.c[i] = r * (fillSide ? 1 - density : f.c[i]) +
                     weight * (strokeSide ? 1 - density : s.c[i]);
        break;
    default:
        break;
    }
}

} // namespace

bool IsPlainColour(int32_t kind) {
    return kind == kVtgColorGray || kind == kVtgColorProcess || kind == kVtgColorSpot ||
           kind == kVtgColorRGB;
}

void SetWhiteOf(int32_t kind, const VtgColor& like, VtgColor& into) {
    SetExtremeOf(kind, like, into, true);
}

void SetBlackOf(int32_t kind, const VtgColor& like, VtgColor& into) {
    SetExtremeOf(kind, like, into, false);
}

bool NormalizeStyle(VtgPathStyle& style, bool roundedJoins, int32_t colorModel) {
    VtgFillStyle& fill = style.fill;
    VtgStrokeStyle& stroke = style.stroke;
    bool changed = false;
    // Pattern, gradient and none cannot be graded: they count as off.
    if (fill.on != 0 && Unusable(fill.color.kind)) {
        fill.on = 0;
        changed = true;
    }
    if (stroke.on != 0 && Unusable(stroke.color.kind)) {
        stroke.on = 0;
        changed = true;
    }
    const bool fillOn = fill.on != 0, strokeOn = stroke.on != 0;
    const bool fillPlain = fillOn && IsPlainColour(fill.color.kind);
    const bool strokePlain = strokeOn && IsPlainColour(stroke.color.kind);
    if (fillPlain && strokePlain) {
        // Already a plain pair.
    } else if (fillPlain && !strokeOn) {
        // The fill's colour becomes the stroke; the fill turns white.
        stroke.on = 1;
        stroke.color = fill.color;
        stroke.overprint = fill.overprint;
        SetWhiteOf(fill.color.kind, fill.color, fill.color);
        changed = true;
    } else if (!fillOn && strokeOn) {
        fill.on = 1;
        SetWhiteOf(stroke.color.kind, stroke.color, fill.color);
        changed = true;
    } else if (fillOn && !fillPlain && !strokeOn) {
        stroke.on = 1;
        stroke.width = kDefaultStrokeWidth;
        SetBlackOf(fill.color.kind, fill.color, stroke.color);
        changed = true;
    } else {
        // Nothing usable: the document's white fill and black stroke.
        switch (colorModel) {
        case kVtgColorModelGray:
            fill.color = MakeColour(kVtgColorGray, 0);
            stroke.color = MakeColour(kVtgColorGray, 1);
            break;
        case kVtgColorModelRGB:
            fill.color = MakeColour(kVtgColorRGB, 1, 1, 1);
            stroke.color = MakeColour(kVtgColorRGB, 0, 0, 0);
            break;
        default:
            fill.color = MakeColour(kVtgColorProcess, 0, 0, 0, 0);
            stroke.color = MakeColour(kVtgColorProcess, 0, 0, 0, 1);
            break;
        }
        fill.on = stroke.on = 1;
        stroke.width = kDefaultStrokeWidth;
        changed = true;
    }
    if (roundedJoins) {
        stroke.cap = kVtgCapRound;
        stroke.join = kVtgJoinRound;
        changed = true;
    }
    return changed;
}

ErrorCode NormalizePaint(ArtHandle path, bool roundedJoins) {
    if (sPath == nullptr)
        return kSuiteNotFoundErr;
    VtgPathStyle style{};
    if (ErrorCode err = sPath->GetPathStyle(path, &style))
        return err;
    if (!NormalizeStyle(style, roundedJoins, DocumentColourModel()))
        return kNoErr;
    return sPath->SetPathStyle(path, &style);
}

bool ProcessEquivalent(const VtgColor& colour, VtgColor& process) {
    if (!IsPlainColour(colour.kind))
        return false;
    if (colour.kind != kVtgColorSpot) {
        process = colour;
        return true;
    }
    if (sPaintStyle != nullptr) {
        VtgColor out{};
        if (sPaintStyle->SpotToProcess(&colour, &out) != kNoErr || out.kind == kVtgColorSpot)
            return false;
        process = out;
        return true;
    }
    process = SpotEquivalent(colour);
    return true;
}

void BlendColour(VtgStrokeStyle& stroke, VtgFillStyle& fill, double weight, double density,
                 bool inverted) {
    if (stroke.color.kind != fill.color.kind)
        return;
    stroke.overprint = 0;
    if (stroke.color.kind != kVtgColorSpot) {
        BlendSameKind(stroke.color, fill.color, weight, density, inverted);
        return;
    }
    // Spot inks blend as their process equivalents, which replace them.
    VtgColor s{}, f{};
    if (!ProcessEquivalent(stroke.color, s) || !ProcessEquivalent(fill.color, f))
        return;
    stroke.color = s;
    fill.color = f;
    if (s.kind == f.kind)
        BlendSameKind(stroke.color, fill.color, weight, density, inverted);
}

} // namespace vtg
