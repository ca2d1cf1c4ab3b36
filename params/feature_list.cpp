#include "params/feature_list.hpp"

#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>

#include "params/effect_params.hpp"
#include "params/live_params.hpp"
#include "params/tool_params.hpp"

namespace vtg {
namespace {

const char* TypeName(ValueType t) {
    switch (t) {
    case ValueType::Int16:
        return "Int16";
    case ValueType::Int:
        return "Int";
    case ValueType::UInt32:
        return "UInt32";
    case ValueType::Bool:
        return "Bool";
    case ValueType::Double:
        return "Double";
    case ValueType::Point:
        return "Point";
    case ValueType::ColorSpec:
        return "ColorSpec";
    }
    return "";
}

// A held value in the unit its panel shows.
std::string Shown(double v, Unit unit) {
    char text[64];
    if (unit == Unit::Percent)
        std::snprintf(text, sizeof text, "%g %%", v * 100);
    else if (unit == Unit::Degrees)
        std::snprintf(text, sizeof text, "%g deg", v * 180 / std::numbers::pi);
    else
        std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::string DefaultText(const KeyField& f, const char* block) {
    const char* p = block + f.offset;
    if (std::strcmp(f.name, "seed") == 0)
        return "a new seed";
    switch (f.type) {
    case ValueType::Int16: {
        int16_t v;
        std::memcpy(&v, p, sizeof v);
        return std::to_string(v);
    }
    case ValueType::Int:
    case ValueType::Bool: {
        int32_t v;
        std::memcpy(&v, p, sizeof v);
        return std::to_string(v);
    }
    case ValueType::UInt32: {
        uint32_t v;
        std::memcpy(&v, p, sizeof v);
        return std::to_string(v);
    }
    case ValueType::Double: {
        double v;
        std::memcpy(&v, p, sizeof v);
        return Shown(v, f.unit);
    }
    case ValueType::Point: {
        VtgPoint v;
        std::memcpy(&v, p, sizeof v);
        return "(" + Shown(v.x, f.unit) + ", " + Shown(v.y, f.unit) + ")";
    }
    case ValueType::ColorSpec:
        return "white of the document's colour model";
    }
    return "";
}

std::string Pad(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text + " ";
}

} // namespace

std::string FeatureListing(const PresetType& type, const char* feature) {
    std::unique_ptr<std::max_align_t[]> storage(
        new std::max_align_t[type.blockSize / sizeof(std::max_align_t) + 1]());
    InitParamBlock(type, storage.get());
    const char* block = reinterpret_cast<const char*>(storage.get());

    std::string out = feature != nullptr ? feature : type.feature;
    out += "  ";
    out += type.title;
    out += "  (block \"";
    out += type.blockName;
    out += "\", preset file \"";
    out += &type == &k3DPathType ? "VERTiGON4_PST_3D<variant>.txt" : type.presetFile;
    out += "\")\n";
    out += "  " + Pad("field", 22) + Pad("key", 4) + Pad("type", 9) + Pad("panel range", 44) +
           "default\n";
    for (const KeyField& f : type.keys) {
        out += "  " + Pad(f.name, 22) + Pad(f.key != nullptr ? f.key : "-", 4) +
               Pad(TypeName(f.type), 9) + Pad(*f.range != '\0' ? f.range : "-", 44) +
               DefaultText(f, block) + "\n";
    }
    if (&type == &k3DPathType) {
        out += "  defaults by variant (param1 .. param4; preRotation; postRotation; perspective; "
               "centreRatio):\n";
        for (int i = 0; i < k3DVariantCount; ++i) {
            const ThreeDVariant& v = k3DVariants[i];
            char line[256];
            std::snprintf(line, sizeof line,
                          "    %2d %s: %g, %g, %g, %g; %g, %g, %g; %g, %g, %g; %g; %g, %g\n", i,
                          v.displayName, v.params[0], v.params[1], v.params[2], v.params[3],
                          v.preRotation[0], v.preRotation[1], v.preRotation[2], v.postRotation[0],
                          v.postRotation[1], v.postRotation[2], v.perspective, v.centreRatio.x,
                          v.centreRatio.y);
            out += line;
        }
    }
    return out;
}

std::string AllFeaturesListing() {
    std::string out;
    for (const PresetType* type : AllPresetTypes()) {
        if (!out.empty())
            out += "\n";
        out += FeatureListing(*type);
        if (type == &kFractalizeType)
            out += "\n" + FeatureListing(*type, "filter-fractalize");
        if (type == &kBroomToolType)
            out += "\n3drotate  Live 3D Rotate tool  (no block of its own: it turns the "
                   "preRotation, postRotation and centreRatio of the live-3dpath block)\n";
    }
    return out;
}

} // namespace vtg
