// The optional paint style suite: the document's current paint, the default
// style of new art, spot colours and gradients.
#include <algorithm>
#include <cmath>

#include "host/api/vtg_paint_style_suite.h"
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

const PaintStyleSuite kPaintStyle = {&GetCurrentPaint, &SetCurrentPaint, &GetDefaultPathStyle,
                                     &SpotToProcess,   &GetGradient,     &GetGradientStop,
                                     &NewGradient};

} // namespace

void PublishPaintStyleSuite(SuiteBroker& broker) {
    broker.publish(kPaintStyleSuiteName, kPaintStyleSuiteVersion, &kPaintStyle);
}

} // namespace hostapp
