// The optional paint style suite: the document's current paint, the default
// style of new art, spot colours and gradients.
#include <algorithm>
#include <cmath>

#include "host/api/vtg_paint_style_suite.h"
#include "host/host.hpp"
#include "host/suites/doc_helpers.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

ErrorCode GetCurrentPaint(VtgFillStyle* fill, VtgStrokeStyle* stroke) {
    doc::Document* d = nullptr;
    if (ErrorCode e = docsuite::CurrentDoc(d))
        return e;
    if (fill != nullptr)
        *fill = d->currentFill;
    if (stroke != nullptr)
        *stroke = d->currentStroke;
    return kNoErr;
}

ErrorCode SetCurrentPaint(const VtgFillStyle* fill, const VtgStrokeStyle* stroke) {
    doc::Document* d = nullptr;
    if (ErrorCode e = docsuite::CurrentDoc(d))
        return e;
    if (fill != nullptr)
        d->currentFill = *fill;
    if (stroke != nullptr)
        d->currentStroke = *stroke;
    return kNoErr;
}

ErrorCode GetDefaultPathStyle(VtgPathStyle* style) {
    doc::Document* d = nullptr;
    if (style == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = docsuite::CurrentDoc(d))
        return e;
    *style = d->defaultStyle;
    return kNoErr;
}

ErrorCode SpotToProcess(const VtgColor* color, VtgColor* process) {
    if (color == nullptr || process == nullptr)
        return kBadParameterErr;
    switch (color->kind) {
    case kVtgColorGray:
    case kVtgColorProcess:
    case kVtgColorRGB:
        *process = *color;
        return kNoErr;
    case kVtgColorSpot: {
        VtgColor out{};
        out.kind = color->spotKind == kVtgColorRGB ? kVtgColorRGB : kVtgColorProcess;
        out.paintMatrix = doc::kIdentity;
        const double keep = 1 - std::clamp(color->tint, 0.0, 1.0);
        for (int i = 0; i < 4; ++i)
            out.c[i] = out.kind == kVtgColorRGB ? 1 - (1 - color->c[i]) * keep : color->c[i] * keep;
        if (out.kind == kVtgColorRGB)
            out.c[3] = 0;
        *process = out;
        return kNoErr;
    }
    default:
        return kNotPlainColorErr;
    }
}

ErrorCode GetGradient(GradientHandle gradient, int32_t* type, char* name, size_t nameSize,
                      int32_t* stopCount) {
    doc::GradientNode* g = nullptr;
    if (docsuite::Store() == nullptr)
        return kNoDocumentErr;
    if (ErrorCode e = docsuite::Store()->gradient(gradient, g))
        return e;
    if (type != nullptr)
        *type = g->type;
    if (stopCount != nullptr)
        *stopCount = static_cast<int32_t>(g->stops.size());
    return name != nullptr ? CopyOut(g->name, name, nameSize) : kNoErr;
}

ErrorCode GetGradientStop(GradientHandle gradient, int32_t index, VtgGradientStop* stop) {
    doc::GradientNode* g = nullptr;
    if (stop == nullptr || docsuite::Store() == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = docsuite::Store()->gradient(gradient, g))
        return e;
    if (index < 0 || static_cast<size_t>(index) >= g->stops.size())
        return kBadParameterErr;
    *stop = g->stops[static_cast<size_t>(index)];
    return kNoErr;
}

ErrorCode NewGradient(int32_t type, const char* name, const VtgGradientStop* stops, int32_t count,
                      GradientHandle* gradient) {
    doc::Document* d = nullptr;
    if (gradient == nullptr || stops == nullptr || count < 2 || count > kVtgMaxGradientStops ||
        (type != kVtgGradientLinear && type != kVtgGradientRadial))
        return kBadParameterErr;
    if (ErrorCode e = docsuite::CurrentDoc(d))
        return e;
    doc::GradientNode* g = docsuite::Store()->newGradient(*d);
    g->type = type;
    g->name = name != nullptr ? name : "";
    g->stops.assign(stops, stops + count);
    *gradient = doc::DocStore::handle(g);
    return kNoErr;
}

ErrorCode CopyGradient(GradientHandle source, const VtgGradientStop* stops, int32_t count,
                       GradientHandle* gradient) {
    doc::GradientNode* from = nullptr;
    if (gradient == nullptr || stops == nullptr || count < 2 || count > kVtgMaxGradientStops)
        return kBadParameterErr;
    if (docsuite::Store() == nullptr)
        return kNoDocumentErr;
    if (ErrorCode e = docsuite::Store()->gradient(source, from))
        return e;
    doc::GradientNode* g = docsuite::Store()->newGradient(*from->document);
    g->type = from->type;
    g->name = from->name;
    g->focus = from->focus;
    g->spread = from->spread;
    g->stops.assign(stops, stops + count);
    *gradient = doc::DocStore::handle(g);
    return kNoErr;
}

ErrorCode GetGradientShape(GradientHandle gradient, VtgPoint* focus, int32_t* spread) {
    doc::GradientNode* g = nullptr;
    if (docsuite::Store() == nullptr)
        return kNoDocumentErr;
    if (ErrorCode e = docsuite::Store()->gradient(gradient, g))
        return e;
    if (focus != nullptr)
        *focus = g->focus;
    if (spread != nullptr)
        *spread = g->spread;
    return kNoErr;
}

// A plain colour in the kind of a colour model: gray, process or RGB.
VtgColor InModel(const VtgColor& in, int32_t model) {
    VtgColor c{};
    SpotToProcess(&in, &c);
    double rgb[3] = {0, 0, 0};
    switch (c.kind) {
    case kVtgColorGray:
        rgb[0] = rgb[1] = rgb[2] = 1 - c.c[0];
        break;
    case kVtgColorProcess:
        for (int i = 0; i < 3; ++i)
            rgb[i] = (1 - c.c[i]) * (1 - c.c[3]);
        break;
    case kVtgColorRGB:
        for (int i = 0; i < 3; ++i)
            rgb[i] = c.c[i];
        break;
    default:
        break;
    }
    const int32_t want = model == kVtgColorModelGray   ? kVtgColorGray
                         : model == kVtgColorModelCMYK ? kVtgColorProcess
                                                       : kVtgColorRGB;
    if (c.kind == want)
        return c;
    VtgColor out{};
    out.kind = want;
    out.paintMatrix = doc::kIdentity;
    if (want == kVtgColorGray) {
        out.c[0] = 1 - (0.3 * rgb[0] + 0.59 * rgb[1] + 0.11 * rgb[2]);
    } else if (want == kVtgColorRGB) {
        for (int i = 0; i < 3; ++i)
            out.c[i] = rgb[i];
    } else if (c.kind == kVtgColorGray) {
        out.c[3] = c.c[0]; // gray is black ink
    } else {
        const double k = 1 - std::max({rgb[0], rgb[1], rgb[2]});
        for (int i = 0; i < 3; ++i)
            out.c[i] = k < 1 ? (1 - rgb[i] - k) / (1 - k) : 0;
        out.c[3] = k;
    }
    for (double& v : out.c)
        v = std::clamp(v, 0.0, 1.0);
    return out;
}

ErrorCode PickColor(const char* title, int32_t colorModel, VtgColor* color) {
    Host* host = Host::current();
    if (color == nullptr || host == nullptr ||
        (colorModel != kVtgColorModelGray && colorModel != kVtgColorModelRGB &&
         colorModel != kVtgColorModelCMYK))
        return kBadParameterErr;
    UserAgent& user = host->user();
    user.alert(title != nullptr && *title != '\0' ? title : "Colour");
    // The picker's default button is Cancel: without an answer nothing changes.
    if (user.pending() == 0)
        return kCancelledErr;
    const Answer a = *user.take();
    VtgColor picked = *color;
    switch (a.kind) {
    case Answer::Kind::Color:
        if (!ParseColorText(a.text, picked))
            return kCancelledErr;
        break;
    case Answer::Kind::Ok:
    case Answer::Kind::Yes:
        if (color->kind == kVtgColorGradient || color->kind == kVtgColorPattern ||
            color->kind == kVtgColorNone) {
            picked = VtgColor{};
            picked.kind = kVtgColorGray;
            picked.paintMatrix = doc::kIdentity;
        }
        break;
    default:
        return kCancelledErr;
    }
    *color = InModel(picked, colorModel);
    return kNoErr;
}

const PaintStyleSuite kPaintStyle = {
    &GetCurrentPaint, &SetCurrentPaint, &GetDefaultPathStyle, &SpotToProcess,    &GetGradient,
    &GetGradientStop, &NewGradient,     &CopyGradient,        &GetGradientShape, &PickColor};

} // namespace

void PublishPaintStyleSuite(SuiteBroker& broker) {
    broker.publish(kPaintStyleSuiteName, kPaintStyleSuiteVersion, &kPaintStyle);
}

} // namespace hostapp
