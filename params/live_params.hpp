// live_params.hpp - the parameter blocks of the fifteen live-object kinds.
//
// Booleans are 32-bit 0 or 1; angles are held in radians (the 3D Path in
// degrees); percentages are held as fractions.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/api/vtg_base.h"
#include "params/param_types.hpp"

namespace vtg {

// LiveObjectKind: the index of a live-object kind, -1 none.
enum LiveObjectKindIndex : int16_t {
    kKind3DPath = 0,
    kKindExplosion = 1,
    kKindEmboss = 2,
    kKindCutout = 3,
    kKindGalaxy = 4,
    kKindCircle = 5,
    kKindGeneration = 6,
    kKindShadow = 7,
    kKindSymbolPath = 8,
    kKindTiling = 9,
    kKindTrail = 10,
    kKindNeon = 11,
    kKindFrame = 12,
    kKindBorder = 13,
    kKindReflections = 14,
    kLiveObjectKindCount = 15,
};

struct _3DTFilterParams {
    ParamHeader header;
    int16_t variant; // 0 .. 11; -1 before the panel chose one
    double param1, param2, param3, param4;
    double preRotation[3];  // x, y, z in degrees
    double postRotation[3]; // X, Y, Z in degrees
    double perspective;     // percent 0 .. 100
    int16_t transformed;
    int32_t reservedFlag;
    VtgPoint centreRatio; // h, v as fractions of the width and height
};

struct BorderPGParams {
    ParamHeader header;
    int32_t mergeOverlaps;
    double gradeCurve;
    int32_t invertGrade;
    int32_t stepMode;
    int32_t autoLineStyle;
    int32_t stepCount;
    double eccentricity;
    double eccentricAngle;
    int32_t style;
    int32_t shadowOn;
    double shadowDensity;
    double shadowOffset;
    double lightAngle;
};

struct CirclePGParams {
    ParamHeader header;
    int32_t copies;
    int32_t keepAngle;
    int32_t referencePoint;
    double offsetH, offsetV;
    int32_t showCentre;
    double heightRatio;
    int32_t reverseOrder;
    int32_t anchorRadialOn, anchorAngleOn;
    double anchorRadial, anchorAngle;
    int32_t inRadialOn, inAngleOn;
    double inRadial, inAngle;
    int32_t outRadialOn, outAngleOn;
    double outRadial, outAngle;
    int32_t randomOrder;
    int32_t seedFixed;
    int32_t seed;
    int32_t randomOn;
};

struct CutoutPGParams {
    ParamHeader header;
    double shade;
    double offset;
    double lightAngle;
    int32_t steps;
};

struct EmbossPGParams {
    ParamHeader header;
    int32_t embossStyle;
    double contrast;
    double offset;
    double lightAngle;
    int32_t reverse;
    int32_t steps;
};

struct ExplosionPGParams {
    ParamHeader header;
    int32_t pieces;
    int32_t keepAngle;
    double directionJitter;
    double centreRadius;
    double spread;
    int32_t spacing;
    int32_t showCentre;
    double tipSize;
    int32_t fadeMode;
    double opacity;
    int32_t seedFixed;
    int32_t seed;
};

struct FramePGParams {
    ParamHeader header;
    int32_t hCount, vCount;
    int32_t keepAngle;
    int32_t feedMode;
    double sideFeed, cornerFeed;
    double cornerOffset;
    int32_t placeCorners;
    int32_t direction;
    int32_t legacyOrder;
    int32_t reverseOrder;
    int32_t anchorHOn, anchorVOn;
    double anchorH, anchorV;
    int32_t inHOn, inVOn;
    double inH, inV;
    int32_t outHOn, outVOn;
    double outH, outV;
    int32_t randomOrder;
    int32_t seedFixed;
    int32_t seed;
    int32_t randomOn;
};

struct GalaxyPGParams {
    ParamHeader header;
    int32_t arms;
    double directionJitter;
    int32_t keepAngle;
    int32_t elements;
    double kinkJitter;
    double twist, twistJitter;
    double centreRadius, radiusJitter;
    double spread, spreadJitter;
    int32_t showCentre;
    double sizeJitter;
    double tipSize;
    int32_t stacking;
    int32_t seedFixed;
    int32_t seed;
};

struct GenerationPGParams {
    ParamHeader header;
    int32_t count;
    int32_t feedMode;
    double distance;
    double rate;
    double direction;
    double directionChange;
    int32_t stacking;
};

inline constexpr int kJitterRows = 11;
inline constexpr int kColourJitterChannels = 8;

struct MetaBrushPGParams {
    ParamHeader header;
    int16_t directionMode;
    int16_t stackingMode;
    int32_t pathTransparent;
    int16_t fadeMode;
    int16_t fadeSteps;
    int32_t fadeOpacity;
    int32_t fadeToColour;
    ColorSpec fadeColour;
    int16_t instanceCount;
    double spacing;
    int32_t evenSpacing;
    int32_t expandInstances;
    int16_t endAdjust;
    int32_t sizeByStroke;
    double referenceWidth;
    double size;
    double angle;
    int32_t scaleStrokes;
    VtgPoint jitterSpacing;
    VtgPoint jitterSize;
    VtgPoint jitterShear;
    double jitterAngle;
    VtgPoint jitterDistortion;
    int16_t jitterSource[kJitterRows];
    int32_t jitterRandom[kJitterRows];
    int32_t jitterPlusMinus[kJitterRows];
    int32_t jitterInvert[kJitterRows];
    double directionShift;
    uint32_t periodCount;
    double randomness;
    int32_t reproduceRandom;
    int32_t seed;
    int16_t separateSizes;
    int16_t colourModel;
    int32_t fillJitter;
    int32_t strokeJitter;
    double colourJitter[kColourJitterChannels];
};

struct NeonPGParams {
    ParamHeader header;
    int32_t mergeOverlaps;
    int32_t trackCount;
    double gradeCurve;
    double contrast;
    int32_t stepMode;
    int32_t autoLineStyle;
    int32_t stepCount;
    double eccentricity;
    double eccentricAngle;
    int32_t glowOn;
    double glowWidth;
    double glowCurve;
    double glowContrast;
    int32_t shadowOn;
    double shadowDensity;
    int32_t shadowInvert;
    double shadowOffset;
    double lightAngle;
};

struct ReflectionsPGParams {
    ParamHeader header;
    int32_t axisStyle;
    double offsetH, offsetV;
    int32_t axisCount;
};

struct ShadowPGParams {
    ParamHeader header;
    double shade;
    double offset;
    double lightAngle;
    double transparency;
};

struct TilingPGParams {
    ParamHeader header;
    int32_t columns, rows;
    double offset;
    int32_t offsetDirection;
    int32_t cumulative;
    int32_t spacingMode;
    double spacingH, spacingV;
    int32_t offsetOn;
    int32_t randomScaleOn;
    double randomScaleMin, randomScaleMax;
    int32_t reproduceRandom;
    int32_t seed;
    int32_t jitterOffsetHOn;
    double jitterOffsetH;
    int32_t jitterOffsetVOn;
    double jitterOffsetV;
    int32_t jitterSizeHOn;
    double jitterSizeH;
    int32_t jitterSizeVOn;
    double jitterSizeV;
    int32_t jitterAngleOn;
    double jitterAngle;
    int32_t overlapH, overlapV;
    int32_t scaleHOn, scaleVOn, rotateHOn, rotateVOn;
    double scaleH, scaleV;
    double rotateH, rotateV;
    int32_t resizeSpacing;
    int32_t checkerboard;
    int32_t mask;
};

struct TrailPGParams {
    ParamHeader header;
    int32_t stacking;
    double startDensity;
    int32_t steps;
    int32_t spacing;
    int32_t fillTarget, strokeTarget;
    ColorSpec fillColour, strokeColour;
    double endDensity;
    double endOpacity;
    double rotation;
    VtgPoint endScale;
    double centreAngle, centreDistance;
    double tailAngle, tailDistance;
    VtgPoint centreOffset;
    VtgPoint tailOffset;
    int32_t showCentre;
};

// --- 3D Path variants --------------------------------------------------------
inline constexpr int k3DVariantCount = 12;
struct ThreeDVariant {
    const char* displayName;
    const char* presetFile;
    double params[4];
    double preRotation[3];
    double postRotation[3];
    double perspective;
    VtgPoint centreRatio;
};
extern const ThreeDVariant k3DVariants[k3DVariantCount];
// The variant whose preset file is `presetFile`, or -1.
int ThreeDVariantOfFile(std::string_view presetFile);
// Sets the built-in values of `variant` (0 when out of range): parameters,
// rotations, perspective, centre, `transformed` (0 for variant 0, else 1)
// and a cleared reservedFlag.
void Set3DVariantDefaults(_3DTFilterParams& p, int variant);

// Per live-object kind: the preset type (indexed by LiveObjectKind).
extern const PresetType* const kLiveObjectTypes[kLiveObjectKindCount];

extern const PresetType k3DPathType, kBorderType, kCircleType, kCutoutType, kEmbossType,
    kExplosionType, kFrameType, kGalaxyType, kGenerationType, kSymbolPathType, kNeonType,
    kReflectionsType, kShadowType, kTilingType, kTrailType;

} // namespace vtg
