// Darkening, lightening and shading of plain colours.
#include "live/shade_colour.hpp"

#include <algorithm>

#include "host/api/vtg_document_suite.h"
#include "live/paint_normalize.hpp"

namespace vtg {

namespace {

double Unit(double v) {
    return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0;
}

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

// A spot colour becomes its process equivalent; other colours stay.
void ToProcess(VtgColor& colour) {
    if (colour.kind != kVtgColorSpot)
        return;
    VtgColor process{};
    if (ProcessEquivalent(colour, process))
        colour = process;
}

// Darken or adjust: `grayAdds` tells whether gray adds s when s > 0.
void Darken(VtgColor& c, double s, bool grayAdds) {
    s = Finite(s);
    ToProcess(c);
    const double more = s > 0 ? s : 0;
    switch (c.kind) {
    case kVtgColorGray:
        c.c[0] = Unit((1 + s) * c.c[0] + (grayAdds ? more : 0));
        break;
    case kVtgColorProcess:
        for (int i = 0; i < 3; ++i)
            c.c[i] = Unit((1 + s) * c.c[i]);
        c.c[3] = Unit((1 + s) * c.c[3] + more);
        break;
    case kVtgColorRGB:
        for (int i = 0; i < 3; ++i)
            c.c[i] = Unit((1 - s) * c.c[i] + (s < 0 ? -s : 0));
        break;
    default:
        break;
    }
}

} // namespace

void DarkenColour(VtgColor& colour, double s) {
    Darken(colour, s, true);
}

void AdjustColour(VtgColor& colour, double x) {
    Darken(colour, x, false);
}

void ShadeColour(VtgColor& c, double a, double b, int mode) {
    a = Finite(a);
    b = Finite(b);
    const double m = mode == 0 ? a : a * b + 1;
    const double k = mode == 0 ? (1 - b) * a : (1 - b) * a * b * 0.5;
    const double more = k > 0 ? k : 0;
    ToProcess(c);
    switch (c.kind) {
    case kVtgColorGray:
        c.c[0] = Unit(m * c.c[0] + more);
        break;
    case kVtgColorProcess:
        for (int i = 0; i < 3; ++i)
            c.c[i] = Unit(m * c.c[i]);
        c.c[3] = Unit(m * c.c[3] + more);
        break;
    case kVtgColorRGB: {
        const double d = mode == 0 ? 1 - a : -a * b;
        for (int i = 0; i < 3; ++i)
            c.c[i] = Unit((1 - c.c[i]) * d + c.c[i] - more);
        break;
    }
    default:
        break;
    }
}

void BlendWithFill(VtgColor& stroke, VtgColor fill, double a, double b) {
    a = Finite(a);
    b = Finite(b);
    if (stroke.kind == kVtgColorSpot && fill.kind == kVtgColorSpot) {
        ToProcess(stroke);
        ToProcess(fill);
    }
    if (stroke.kind != fill.kind)
        return;
    const double w = a * b;
    const double k = (1 - b) * a * b * 0.5;
    const double more = k > 0 ? k : 0;
    const auto mix = [&](int i) { return (1 - w) * fill.c[i] + w * stroke.c[i]; };
    switch (stroke.kind) {
    case kVtgColorGray:
        stroke.c[0] = Unit(mix(0) + more);
        break;
    case kVtgColorProcess:
        for (int i = 0; i < 3; ++i)
            stroke.c[i] = Unit(mix(i));
        stroke.c[3] = Unit(mix(3) + more);
        break;
    case kVtgColorRGB:
        for (int i = 0; i < 3; ++i)
            stroke.c[i] = Unit(mix(i) - more);
        break;
    default:
        break;
    }
}

LightShift LightVector(double offset, double angle) {
    offset = Finite(offset);
    angle = Finite(angle);
    return {offset * std::cos(angle), offset * std::sin(angle)};
}

VtgColor DocumentWhite() {
    int32_t model = kVtgColorModelUnknown;
    if (sDocument == nullptr || sDocument->GetColorModel(&model) != kNoErr)
        model = kVtgColorModelUnknown;
    VtgColor c{};
    c.paintMatrix = {1, 0, 0, 1, 0, 0};
    if (model == kVtgColorModelGray) {
        c.kind = kVtgColorGray;
    } else if (model == kVtgColorModelRGB) {
        c.kind = kVtgColorRGB;
        c.c[0] = c.c[1] = c.c[2] = 1;
    } else {
        c.kind = kVtgColorProcess;
    }
    return c;
}

ErrorCode MoveArt(ArtHandle art, double dx, double dy) {
    if (dx == 0 && dy == 0)
        return kNoErr;
    const VtgMatrix m{1, 0, 0, 1, dx, dy};
    return sArt->TransformArt(art, &m, 1, kVtgTransformAll);
}

} // namespace vtg
