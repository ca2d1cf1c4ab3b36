// The live-object kinds' defaults, key tables and reader rules.
#include "params/live_params.hpp"

#include <cmath>
#include <cstddef>
#include <cstring>

#include "params/key_table.hpp"
#include "params/preset_text.hpp"

namespace vtg {
namespace {

#define KF VTG_KEY
#define KE VTG_KEY_AT

// Types with a random seed: -1 when its key is missing, and the seed-fixed
// flag is always 1 after reading.
void ReadSeedFirst(RecordReader& r, const char* seedKey) {
    if (!r.Read(seedKey))
        r.Set(seedKey, -1);
}

// --- 3D Path -------------------------------------------------------------------

using P3 = _3DTFilterParams;
const KeyField k3DKeys[] = {
    KF(P3, "A", Int16, variant, None, "0 .. 11"),
    KF(P3, "C", Double, param1, None, "by variant"),
    KF(P3, "D", Double, param2, None, "by variant"),
    KF(P3, "E", Double, param3, None, "by variant"),
    KF(P3, "F", Double, param4, None, "by variant"),
    KE(P3, "G", Double, preRotation, 0, "preRotation.x", None, "-360 .. 360 deg"),
    KE(P3, "H", Double, preRotation, 1, "preRotation.y", None, "-360 .. 360 deg"),
    KE(P3, "I", Double, preRotation, 2, "preRotation.z", None, "-360 .. 360 deg"),
    KE(P3, "J", Double, postRotation, 0, "postRotation.X", None, "-360 .. 360 deg"),
    KE(P3, "K", Double, postRotation, 1, "postRotation.Y", None, "-360 .. 360 deg"),
    KE(P3, "L", Double, postRotation, 2, "postRotation.Z", None, "-360 .. 360 deg"),
    KF(P3, "M", Double, perspective, None, "0 .. 100 %"),
    KF(P3, "N", Int16, transformed, None, "0, 1"),
    KF(P3, "O", Bool, reservedFlag, None, ""),
    KF(P3, "P", Point, centreRatio, Percent, "-20000 .. 20000 % each"),
};

void Defaults3D(void* block) {
    Set3DVariantDefaults(As<P3>(block), 0);
}

void Read3D(std::string_view record, void* block, int n) {
    P3& p = As<P3>(block);
    if (n == kRecordDefault) {
        // The built-in values of the panel's current variant; nothing is read.
        int variant = CurrentPresetContext().current3DVariant;
        if (variant < 0 || variant >= k3DVariantCount)
            variant = 0;
        p.variant = static_cast<int16_t>(variant);
        Set3DVariantDefaults(p, variant);
        std::memset(p.header.presetName, 0, sizeof p.header.presetName);
        return;
    }
    RecordReader(record, block, k3DPathType).ReadRest();
}

void Write3D(std::string& text, const void* block, bool liveObject) {
    const P3& p = As<P3>(block);
    // A preset file holds only its own variant's records; live-object data
    // always carries the fields.
    if (!liveObject) {
        std::string_view file(p.header.presetFile, strnlen(p.header.presetFile, kPresetTextSize));
        if (p.variant < 0 || ThreeDVariantOfFile(file) != p.variant)
            return;
    }
    WriteAllFields(text, block, k3DPathType);
}

// --- Border --------------------------------------------------------------------

using PB = BorderPGParams;
const KeyField kBorderKeys[] = {
    KF(PB, "A", Double, gradeCurve, Percent, "-100 .. 100 %"),
    KF(PB, "B", Bool, invertGrade, None, ""),
    KF(PB, "C", Int, stepMode, None, "0 .. 3"),
    KF(PB, "D", Int, stepCount, None, "1 .. 32767"),
    KF(PB, "E", Double, eccentricity, Percent, "0 .. 20000 %"),
    KF(PB, "F", Double, eccentricAngle, Degrees, "-180 .. 180 deg"),
    KF(PB, "G", Int, style, None, "0, 1"),
    KF(PB, "H", Bool, shadowOn, None, ""),
    KF(PB, "I", Double, shadowDensity, Percent, "0 .. 100 %"),
    KF(PB, "J", Double, shadowOffset, None, "0 .. 20000 pt"),
    KF(PB, "K", Double, lightAngle, Degrees, "-180 .. 180 deg"),
    KF(PB, "L", Bool, autoLineStyle, None, ""),
    KF(PB, "M", Bool, mergeOverlaps, None, ""),
};

void DefaultsBorder(void* block) {
    PB& p = As<PB>(block);
    p.mergeOverlaps = 0;
    p.gradeCurve = 0;
    p.invertGrade = 0;
    p.stepMode = 1;
    p.autoLineStyle = 1;
    p.stepCount = 3;
    p.eccentricity = 0;
    p.eccentricAngle = Deg(-45);
    p.style = 0;
    p.shadowOn = 0;
    p.shadowDensity = 1.0;
    p.shadowOffset = 1.0;
    p.lightAngle = Deg(135);
}

void ReadBorder(std::string_view record, void* block, int n) {
    RecordReader r(record, block, kBorderType);
    r.ReadRest();
    if (!r.Found("L") || n == kRecordDefault)
        r.Set("L", 1);
    if (!r.Found("M") || n == kRecordDefault)
        r.Set("M", 0);
}

// --- Circle --------------------------------------------------------------------

using PC = CirclePGParams;
const KeyField kCircleKeys[] = {
    KF(PC, "A", Int, copies, None, "2 .. 32767"),
    KF(PC, "B", Bool, keepAngle, None, ""),
    KF(PC, "C", Int, referencePoint, None, "0 .. 8"),
    KF(PC, "D", Double, offsetH, None, "-18000 .. 18000 pt"),
    KF(PC, "E", Double, offsetV, None, "-18000 .. 18000 pt"),
    KF(PC, "F", Bool, showCentre, None, ""),
    KF(PC, "G", Double, heightRatio, Percent, "1 .. 20000 %"),
    KF(PC, "H", Bool, anchorRadialOn, None, ""),
    KF(PC, "I", Bool, anchorAngleOn, None, ""),
    KF(PC, "J", Double, anchorRadial, Percent, "0 .. 4000 %"),
    KF(PC, "K", Double, anchorAngle, Degrees, "0 .. 360 deg"),
    KF(PC, "L", Bool, inRadialOn, None, ""),
    KF(PC, "M", Bool, inAngleOn, None, ""),
    KF(PC, "N", Double, inRadial, Percent, "0 .. 4000 %"),
    KF(PC, "O", Double, inAngle, Degrees, "0 .. 360 deg"),
    KF(PC, "P", Bool, outRadialOn, None, ""),
    KF(PC, "Q", Bool, outAngleOn, None, ""),
    KF(PC, "R", Double, outRadial, Percent, "0 .. 4000 %"),
    KF(PC, "S", Double, outAngle, Degrees, "0 .. 360 deg"),
    KF(PC, "T", Bool, randomOrder, None, ""),
    KF(PC, "V", Int, seed, None, "31-bit seed"),
    KF(PC, "W", Bool, reverseOrder, None, ""),
    KF(PC, "X", Bool, randomOn, None, ""),
    KF(PC, nullptr, Int, seedFixed, None, "not stored"),
};

void DefaultsCircle(void* block) {
    PC& p = As<PC>(block);
    p.copies = 12;
    p.keepAngle = 0;
    p.referencePoint = 3;
    p.offsetH = -36;
    p.offsetV = 0;
    p.showCentre = 1;
    p.heightRatio = 1.0;
    p.reverseOrder = 0;
    p.anchorRadialOn = p.anchorAngleOn = 0;
    p.anchorRadial = 0.1;
    p.anchorAngle = Deg(5);
    p.inRadialOn = p.inAngleOn = 0;
    p.inRadial = 0.1;
    p.inAngle = Deg(5);
    p.outRadialOn = p.outAngleOn = 0;
    p.outRadial = 0.1;
    p.outAngle = Deg(5);
    p.randomOrder = 0;
    p.seedFixed = 1;
    p.seed = NewSeed();
    p.randomOn = 0;
}

void ReadCircle(std::string_view record, void* block, int n) {
    PC& p = As<PC>(block);
    if (n == kRecordDefault) {
        DefaultsCircle(block);
        return;
    }
    RecordReader r(record, block, kCircleType);
    ReadSeedFirst(r, "V");
    r.ReadRest();
    for (const char* key : {"H", "I", "L", "M", "P", "Q", "T", "W", "X"})
        r.SetIfMissing(key, 0);
    for (const char* key : {"J", "N", "R"})
        r.SetIfMissing(key, 0.1);
    for (const char* key : {"K", "O", "S"})
        r.SetIfMissing(key, Deg(5));
    p.seedFixed = 1;
}

// --- Cutout, Shadow, Emboss, Reflections, Generation ---------------------------

using PCu = CutoutPGParams;
const KeyField kCutoutKeys[] = {
    KF(PCu, "A", Double, shade, Percent, "0 .. 100 %"),
    KF(PCu, "B", Double, offset, None, "0 .. 16383 pt"),
    KF(PCu, "C", Double, lightAngle, Degrees, "-180 .. 180 deg"),
    KF(PCu, "D", Int, steps, None, "1 .. 32767"),
};

void DefaultsCutout(void* block) {
    PCu& p = As<PCu>(block);
    p.shade = 0.6667;
    p.offset = 5.0;
    p.lightAngle = Deg(135);
    p.steps = 5;
}

using PS = ShadowPGParams;
const KeyField kShadowKeys[] = {
    KF(PS, "A", Double, shade, Percent, "0 .. 100 %"),
    KF(PS, "B", Double, offset, None, "0 .. 16383 pt"),
    KF(PS, "C", Double, lightAngle, Degrees, "-180 .. 180 deg"),
    KF(PS, "D", Double, transparency, Percent, "0 .. 100 %"),
};

void DefaultsShadow(void* block) {
    PS& p = As<PS>(block);
    p.shade = 0.3333;
    p.offset = 10.0;
    p.lightAngle = Deg(135);
    p.transparency = 0;
}

using PE = EmbossPGParams;
const KeyField kEmbossKeys[] = {
    KF(PE, "A", Int, embossStyle, None, "0 .. 2"),
    KF(PE, "B", Double, contrast, Percent, "0 .. 100 %"),
    KF(PE, "C", Double, offset, None, "0 .. 16383 pt"),
    KF(PE, "D", Double, lightAngle, Degrees, "-180 .. 180 deg"),
    KF(PE, "E", Bool, reverse, None, ""),
    KF(PE, "F", Int, steps, None, "1 .. 32767"),
};

void DefaultsEmboss(void* block) {
    PE& p = As<PE>(block);
    p.embossStyle = 0;
    p.contrast = 0.6667;
    p.offset = 1.0;
    p.lightAngle = Deg(135);
    p.reverse = 0;
    p.steps = 1;
}

using PR = ReflectionsPGParams;
const KeyField kReflectionsKeys[] = {
    KF(PR, "A", Int, axisStyle, None, "0 .. 3"),
    KF(PR, "B", Double, offsetH, None, "-16383 .. 16383 pt"),
    KF(PR, "C", Double, offsetV, None, "-16383 .. 16383 pt"),
    KF(PR, "D", Int, axisCount, None, "1 .. 32767"),
};

void DefaultsReflections(void* block) {
    PR& p = As<PR>(block);
    p.axisStyle = 1;
    p.offsetH = p.offsetV = 0;
    p.axisCount = 3;
}

using PG = GenerationPGParams;
const KeyField kGenerationKeys[] = {
    KF(PG, "A", Int, count, None, "2 .. 32767"),
    KF(PG, "B", Int, feedMode, None, "0, 1"),
    KF(PG, "C", Double, distance, None, "-20000 .. 20000 % (mode 0), -16383 .. 16383 pt (mode 1)"),
    KF(PG, "D", Double, rate, Percent, "-20000 .. 20000 %"),
    KF(PG, "E", Double, direction, Degrees, "-180 .. 180 deg"),
    KF(PG, "F", Double, directionChange, Degrees, "-36000 .. 36000 deg"),
    KF(PG, "G", Int, stacking, None, "0, 1"),
};

void DefaultsGeneration(void* block) {
    PG& p = As<PG>(block);
    p.count = 20;
    p.feedMode = 0;
    p.distance = 1.0;
    p.rate = 0.9;
    p.direction = 0;
    p.directionChange = Deg(15);
    p.stacking = 0;
}

void ReadGeneration(std::string_view record, void* block, int n) {
    RecordReader r(record, block, kGenerationType);
    r.ReadRest();
    // The default record's distance follows the feed mode it holds.
    if (n == kRecordDefault)
        As<PG>(block).distance = As<PG>(block).feedMode != 0 ? 30.0 : 1.0;
}

// --- Explosion -----------------------------------------------------------------

using PX = ExplosionPGParams;
const KeyField kExplosionKeys[] = {
    KF(PX, "A", Int, pieces, None, "1 .. 32767"),
    KF(PX, "B", Bool, keepAngle, None, ""),
    KF(PX, "C", Double, directionJitter, Degrees, "0 .. 360 deg"),
    KF(PX, "D", Double, centreRadius, None, "-16383 .. 16383 pt"),
    KF(PX, "E", Double, spread, None, "-16383 .. 16383 pt"),
    KF(PX, "F", Int, spacing, None, "0 .. 2"),
    KF(PX, "G", Bool, showCentre, None, ""),
    KF(PX, "H", Double, tipSize, Percent, "-20000 .. 20000 %"),
    KF(PX, "J", Int, seed, None, "31-bit seed"),
    KF(PX, "K", Int, fadeMode, None, "0 .. 2"),
    KF(PX, "L", Double, opacity, Percent, "0 .. 100 %"),
    KF(PX, nullptr, Int, seedFixed, None, "not stored"),
};

void DefaultsExplosion(void* block) {
    PX& p = As<PX>(block);
    p.pieces = 200;
    p.keepAngle = 0;
    p.directionJitter = Deg(360);
    p.centreRadius = 30;
    p.spread = 150;
    p.spacing = 2;
    p.showCentre = 0;
    p.tipSize = 2.0;
    p.fadeMode = 0;
    p.opacity = 0;
    p.seedFixed = 1;
    p.seed = NewSeed();
}

void ReadExplosion(std::string_view record, void* block, int n) {
    if (n == kRecordDefault) {
        DefaultsExplosion(block);
        return;
    }
    RecordReader r(record, block, kExplosionType);
    ReadSeedFirst(r, "J");
    r.ReadRest();
    r.SetIfMissing("K", 0);
    r.SetIfMissing("L", 0);
    As<PX>(block).seedFixed = 1;
}

// --- Frame ---------------------------------------------------------------------

using PF = FramePGParams;
const KeyField kFrameKeys[] = {
    KF(PF, "A", Int, hCount, None, "1 .. 32767"),
    KF(PF, "B", Int, vCount, None, "1 .. 32767"),
    KF(PF, "C", Bool, keepAngle, None, ""),
    KF(PF, "D", Int, feedMode, None, "0, 1"),
    KF(PF, "E", Double, sideFeed, None, "0 .. 20000 % (mode 0), 0 .. 16383 pt (mode 1)"),
    KF(PF, "F", Double, cornerFeed, None, "as sideFeed"),
    KF(PF, "G", Double, cornerOffset, Percent, "-100 .. 100 %"),
    KF(PF, "H", Bool, placeCorners, None, ""),
    KF(PF, "I", Int, direction, None, "0, 1"),
    KF(PF, "J", Int, legacyOrder, None, ""),
    KF(PF, "K", Bool, anchorHOn, None, ""),
    KF(PF, "L", Bool, anchorVOn, None, ""),
    KF(PF, "M", Double, anchorH, Percent, "0 .. 100 %"),
    KF(PF, "N", Double, anchorV, Percent, "0 .. 100 %"),
    KF(PF, "O", Bool, inHOn, None, ""),
    KF(PF, "P", Bool, inVOn, None, ""),
    KF(PF, "Q", Double, inH, Percent, "0 .. 100 %"),
    KF(PF, "R", Double, inV, Percent, "0 .. 100 %"),
    KF(PF, "S", Bool, outHOn, None, ""),
    KF(PF, "T", Bool, outVOn, None, ""),
    KF(PF, "U", Double, outH, Percent, "0 .. 100 %"),
    KF(PF, "V", Double, outV, Percent, "0 .. 100 %"),
    KF(PF, "W", Bool, randomOrder, None, ""),
    KF(PF, "Y", Int, seed, None, "31-bit seed"),
    KF(PF, "Z", Bool, reverseOrder, None, ""),
    KF(PF, "a", Bool, randomOn, None, ""),
    KF(PF, nullptr, Int, seedFixed, None, "not stored"),
};

void DefaultsFrame(void* block) {
    PF& p = As<PF>(block);
    p.hCount = 12;
    p.vCount = 8;
    p.keepAngle = 0;
    p.feedMode = 0;
    p.sideFeed = p.cornerFeed = 1.0;
    p.cornerOffset = 0;
    p.placeCorners = 1;
    p.direction = 1;
    p.legacyOrder = 1;
    p.reverseOrder = 0;
    p.anchorHOn = p.anchorVOn = 0;
    p.anchorH = p.anchorV = 0.1;
    p.inHOn = p.inVOn = 0;
    p.inH = p.inV = 0.1;
    p.outHOn = p.outVOn = 0;
    p.outH = p.outV = 0.1;
    p.randomOrder = 0;
    p.seedFixed = 1;
    p.seed = NewSeed();
    p.randomOn = 0;
}

void ReadFrame(std::string_view record, void* block, int n) {
    PF& p = As<PF>(block);
    if (n == kRecordDefault) {
        DefaultsFrame(block);
        return;
    }
    RecordReader r(record, block, kFrameType);
    ReadSeedFirst(r, "Y");
    r.ReadRest();
    r.SetIfMissing("J", 1);
    for (const char* key : {"K", "L", "O", "P", "S", "T", "W", "Z", "a"})
        r.SetIfMissing(key, 0);
    for (const char* key : {"M", "N", "Q", "R", "U", "V"})
        r.SetIfMissing(key, 0.1);
    // Records of the older order kept the reversed stacking in "J".
    if (p.legacyOrder == 0)
        p.reverseOrder = 1;
    p.seedFixed = 1;
}

// --- Galaxy --------------------------------------------------------------------

using PGa = GalaxyPGParams;
const KeyField kGalaxyKeys[] = {
    KF(PGa, "A", Int, arms, None, "1 .. 32767"),
    KF(PGa, "B", Double, directionJitter, Degrees, "0 .. 360 deg"),
    KF(PGa, "C", Bool, keepAngle, None, ""),
    KF(PGa, "D", Int, elements, None, "1 .. 32767"),
    KF(PGa, "E", Double, kinkJitter, Degrees, "0 .. 36000 deg"),
    KF(PGa, "F", Double, twist, Degrees, "-36000 .. 36000 deg"),
    KF(PGa, "G", Double, twistJitter, Degrees, "0 .. 36000 deg"),
    KF(PGa, "H", Double, centreRadius, None, "-16383 .. 16383 pt"),
    KF(PGa, "I", Double, radiusJitter, None, "0 .. 16383 pt"),
    KF(PGa, "J", Double, spread, None, "-16383 .. 16383 pt"),
    KF(PGa, "K", Double, spreadJitter, None, "0 .. 16383 pt"),
    KF(PGa, "L", Bool, showCentre, None, ""),
    KF(PGa, "M", Double, sizeJitter, Percent, "0 .. 20000 %"),
    KF(PGa, "N", Double, tipSize, Percent, "-20000 .. 20000 %"),
    KF(PGa, "O", Int, stacking, None, "0, 1"),
    KF(PGa, "Q", Int, seed, None, "31-bit seed"),
    KF(PGa, nullptr, Int, seedFixed, None, "not stored"),
};

void DefaultsGalaxy(void* block) {
    PGa& p = As<PGa>(block);
    p.arms = 8;
    p.directionJitter = 0;
    p.keepAngle = 0;
    p.elements = 16;
    p.kinkJitter = 0;
    p.twist = Deg(90);
    p.twistJitter = 0;
    p.centreRadius = 50;
    p.radiusJitter = 0;
    p.spread = 150;
    p.spreadJitter = 0;
    p.showCentre = 1;
    p.sizeJitter = 0;
    p.tipSize = 0.1;
    p.stacking = 0;
    p.seedFixed = 1;
    p.seed = NewSeed();
}

void ReadGalaxy(std::string_view record, void* block, int) {
    RecordReader r(record, block, kGalaxyType);
    ReadSeedFirst(r, "Q");
    r.ReadRest();
    As<PGa>(block).seedFixed = 1;
}

// --- Symbol Path ---------------------------------------------------------------

using PM = MetaBrushPGParams;
#define KJ(key, vt, arr, i) KE(PM, key, vt, arr, i, #arr "[" #i "]", None, "")
const KeyField kSymbolPathKeys[] = {
    KF(PM, "A", Int16, directionMode, None, "0 .. 2"),
    KF(PM, "B", Int16, stackingMode, None, "0 .. 3"),
    KF(PM, "C", Bool, pathTransparent, None, ""),
    KF(PM, "D", Int16, fadeMode, None, "0 .. 2"),
    KF(PM, "E", Int16, fadeSteps, None, "1 .. 32767"),
    KF(PM, "F", ColorSpec, fadeColour, None, ""),
    KF(PM, "G", Double, spacing, Percent, "0 .. 20000 %"),
    KF(PM, "H", Bool, evenSpacing, None, ""),
    KF(PM, "I", Int16, endAdjust, None, "0 .. 2"),
    KF(PM, "J", Bool, sizeByStroke, None, ""),
    KF(PM, "K", Double, referenceWidth, None, "1 .. 1000 pt"),
    KF(PM, "L", Bool, expandInstances, None, ""),
    KF(PM, "M", Int16, instanceCount, None, "live-object data only"),
    KF(PM, "O", Double, size, Percent, "-20000 .. 20000 %"),
    KF(PM, "P", Double, angle, Degrees, "-180 .. 180 deg"),
    KF(PM, "Q", Bool, scaleStrokes, None, ""),
    KF(PM, "R", Point, jitterSpacing, Percent, "-20000 .. 20000 % each"),
    KF(PM, "S", Point, jitterSize, Percent, "-20000 .. 20000 % each"),
    KF(PM, "T", Point, jitterShear, Percent, "-20000 .. 20000 % each"),
    KF(PM, "U", Double, jitterAngle, Degrees, "-180 .. 180 deg"),
    KF(PM, "V", Point, jitterDistortion, Percent, "-20000 .. 20000 % each"),
    KJ("W", Int16, jitterSource, 0),
    KJ("X", Int16, jitterSource, 1),
    KJ("Y", Int16, jitterSource, 2),
    KJ("Z", Int16, jitterSource, 3),
    KJ("a", Int16, jitterSource, 4),
    KJ("b", Int16, jitterSource, 5),
    KJ("c", Int16, jitterSource, 6),
    KJ("d", Int16, jitterSource, 7),
    KJ("e", Int16, jitterSource, 8),
    KJ("f", Int16, jitterSource, 9),
    KJ("g", Int16, jitterSource, 10),
    KJ("h", Bool, jitterRandom, 0),
    KJ("i", Bool, jitterRandom, 1),
    KJ("j", Bool, jitterRandom, 2),
    KJ("k", Bool, jitterRandom, 3),
    KJ("l", Bool, jitterRandom, 4),
    KJ("m", Bool, jitterRandom, 5),
    KJ("n", Bool, jitterRandom, 6),
    KJ("o", Bool, jitterRandom, 7),
    KJ("p", Bool, jitterRandom, 8),
    KJ("q", Bool, jitterRandom, 9),
    KJ("r", Bool, jitterRandom, 10),
    KJ("s", Bool, jitterPlusMinus, 0),
    KJ("t", Bool, jitterPlusMinus, 1),
    KJ("u", Bool, jitterPlusMinus, 2),
    KJ("v", Bool, jitterPlusMinus, 3),
    KJ("w", Bool, jitterPlusMinus, 4),
    KJ("x", Bool, jitterPlusMinus, 5),
    KJ("y", Bool, jitterPlusMinus, 6),
    KJ("z", Bool, jitterPlusMinus, 7),
    KJ("A2", Bool, jitterPlusMinus, 8),
    KJ("B2", Bool, jitterPlusMinus, 9),
    KJ("C2", Bool, jitterPlusMinus, 10),
    KJ("D2", Bool, jitterInvert, 0),
    KJ("E2", Bool, jitterInvert, 1),
    KJ("F2", Bool, jitterInvert, 2),
    KJ("G2", Bool, jitterInvert, 3),
    KJ("H2", Bool, jitterInvert, 4),
    KJ("I2", Bool, jitterInvert, 5),
    KJ("J2", Bool, jitterInvert, 6),
    KJ("K2", Bool, jitterInvert, 7),
    KJ("L2", Bool, jitterInvert, 8),
    KJ("M2", Bool, jitterInvert, 9),
    KJ("N2", Bool, jitterInvert, 10),
    KF(PM, "O2", Double, directionShift, Degrees, "-180 .. 180 deg"),
    KF(PM, "Q2", UInt32, periodCount, None, "2 .. 32767"),
    KF(PM, "S2", Double, randomness, Percent, "0 .. 100 %"),
    KF(PM, "S4", Int, seed, None, "31-bit seed"),
    KF(PM, "T2", Int16, separateSizes, None, "0, 1"),
    KF(PM, "V2", Int16, colourModel, None, "0 .. 2"),
    KF(PM, "W2", Bool, fillJitter, None, ""),
    KF(PM, "X2", Bool, strokeJitter, None, ""),
    KE(PM, "Y2", Double, colourJitter, 0, "colourJitter[0]", Percent, "0 .. 100 %"),
    KE(PM, "Z2", Double, colourJitter, 1, "colourJitter[1]", Percent, "0 .. 100 %"),
    KE(PM, "a2", Double, colourJitter, 2, "colourJitter[2]", Percent, "0 .. 100 %"),
    KE(PM, "b2", Double, colourJitter, 3, "colourJitter[3]", Percent, "0 .. 100 %"),
    KE(PM, "c2", Double, colourJitter, 4, "colourJitter[4]", Percent, "0 .. 100 %"),
    KE(PM, "d2", Double, colourJitter, 5, "colourJitter[5]", Percent, "0 .. 100 %"),
    KE(PM, "e2", Double, colourJitter, 6, "colourJitter[6]", Percent, "0 .. 100 %"),
    KE(PM, "f2", Double, colourJitter, 7, "colourJitter[7]", Percent, "0 .. 100 %"),
    KF(PM, "f3", Bool, fadeOpacity, None, ""),
    KF(PM, "f4", Bool, fadeToColour, None, ""),
    KF(PM, nullptr, Int, reproduceRandom, None, "not stored"),
};
#undef KJ

void DefaultsSymbolPath(void* block) {
    PM& p = As<PM>(block);
    p.directionMode = 0;
    p.stackingMode = 0;
    p.pathTransparent = 0;
    p.fadeMode = 0;
    p.fadeSteps = 32;
    p.fadeOpacity = 1;
    p.fadeToColour = 0;
    SetDocumentWhite(p.fadeColour);
    p.instanceCount = 0;
    p.spacing = 1.0;
    p.evenSpacing = 0;
    p.expandInstances = 0;
    p.endAdjust = 1;
    p.sizeByStroke = 0;
    p.referenceWidth = 10.0;
    p.size = 1.0;
    p.angle = 0;
    p.scaleStrokes = 1;
    p.jitterSpacing = p.jitterSize = p.jitterShear = p.jitterDistortion = VtgPoint{0, 0};
    p.jitterAngle = 0;
    for (int i = 0; i < kJitterRows; ++i) {
        p.jitterSource[i] = 0;
        p.jitterRandom[i] = (i == 8 || i == 9) ? 1 : 0;
        p.jitterPlusMinus[i] = i == 0 ? 1 : 0;
        p.jitterInvert[i] = 0;
    }
    p.directionShift = 0;
    p.periodCount = 8;
    p.randomness = 1.0;
    p.reproduceRandom = 1;
    p.seed = NewSeed();
    p.separateSizes = 0;
    p.colourModel = 2;
    p.fillJitter = p.strokeJitter = 0;
    for (double& c : p.colourJitter)
        c = 0;
}

void ReadSymbolPath(std::string_view record, void* block, int n) {
    if (n == kRecordDefault) {
        DefaultsSymbolPath(block);
        return;
    }
    RecordReader r(record, block, kSymbolPathType);
    if (!r.Read("M"))
        r.Set("M", -1);
    ReadSeedFirst(r, "S4");
    r.ReadRest();
    r.SetIfMissing("f3", 0);
    r.SetIfMissing("f4", 1);
    As<PM>(block).reproduceRandom = 1;
}

void WriteSymbolPath(std::string& text, const void* block, bool liveObject) {
    // The instance count belongs to one object: preset files never carry it.
    if (liveObject)
        WriteAllFields(text, block, kSymbolPathType);
    else
        WriteAllFields(text, block, kSymbolPathType, {"M"});
}

// --- Neon ----------------------------------------------------------------------

using PN = NeonPGParams;
const KeyField kNeonKeys[] = {
    KF(PN, "A", Int, trackCount, None, "1 .. 32767"),
    KF(PN, "B", Double, gradeCurve, Percent, "-100 .. 100 %"),
    KF(PN, "C", Double, contrast, Percent, "0 .. 20000 %"),
    KF(PN, "D", Int, stepMode, None, "0 .. 3"),
    KF(PN, "E", Int, stepCount, None, "2 .. 32767"),
    KF(PN, "F", Double, eccentricity, Percent, "0 .. 20000 %"),
    KF(PN, "G", Double, eccentricAngle, Degrees, "-180 .. 180 deg"),
    KF(PN, "H", Bool, shadowOn, None, ""),
    KF(PN, "I", Double, shadowDensity, Percent, "0 .. 100 %"),
    KF(PN, "J", Bool, shadowInvert, None, ""),
    KF(PN, "K", Double, shadowOffset, None, "0 .. 16383 pt"),
    KF(PN, "L", Double, lightAngle, Degrees, "-180 .. 180 deg"),
    KF(PN, "M", Bool, autoLineStyle, None, ""),
    KF(PN, "N", Bool, glowOn, None, ""),
    KF(PN, "O", Double, glowWidth, Percent, "0 .. 20000 %"),
    KF(PN, "P", Double, glowCurve, Percent, "-100 .. 100 %"),
    KF(PN, "Q", Double, glowContrast, Percent, "0 .. 100 %"),
    KF(PN, "R", Bool, mergeOverlaps, None, ""),
};

void DefaultsNeon(void* block) {
    PN& p = As<PN>(block);
    p.mergeOverlaps = 0;
    p.trackCount = 1;
    p.gradeCurve = 0;
    p.contrast = 1.0;
    p.stepMode = 1;
    p.autoLineStyle = 1;
    p.stepCount = 3;
    p.eccentricity = 0;
    p.eccentricAngle = Deg(135);
    p.glowOn = 1;
    p.glowWidth = 0.5;
    p.glowCurve = 0;
    p.glowContrast = 0.5;
    p.shadowOn = 0;
    p.shadowDensity = 1.0;
    p.shadowInvert = 0;
    p.shadowOffset = 1.0;
    p.lightAngle = Deg(135);
}

void ReadNeon(std::string_view record, void* block, int n) {
    if (n == kRecordDefault) {
        DefaultsNeon(block);
        return;
    }
    RecordReader r(record, block, kNeonType);
    r.ReadRest();
    r.SetIfMissing("M", 1);
    r.SetIfMissing("N", 0);
    r.SetIfMissing("O", 0.5);
    r.SetIfMissing("P", 0);
    r.SetIfMissing("Q", 0.5);
    r.SetIfMissing("R", 0);
}

// --- Tiling --------------------------------------------------------------------

using PT = TilingPGParams;
const KeyField kTilingKeys[] = {
    KF(PT, "A", Int, columns, None, "1 .. 32767"),
    KF(PT, "B", Int, rows, None, "1 .. 32767"),
    KF(PT, "C", Int, spacingMode, None, "0, 1"),
    KF(PT, "D", Double, spacingH, None, "fraction (mode 0) or points (mode 1)"),
    KF(PT, "E", Double, spacingV, None, "fraction (mode 0) or points (mode 1)"),
    KF(PT, "F", Int, overlapH, None, "0, 1"),
    KF(PT, "F2", Int, overlapV, None, "0, 1"),
    KF(PT, "G", Double, scaleH, Percent, ""),
    KF(PT, "H", Double, scaleV, Percent, ""),
    KF(PT, "I", Double, rotateH, Degrees, ""),
    KF(PT, "J", Double, rotateV, Degrees, ""),
    KF(PT, "K", Bool, resizeSpacing, None, ""),
    KF(PT, "L", Bool, checkerboard, None, ""),
    KF(PT, "M", Double, offset, Percent, ""),
    KF(PT, "N", Int, offsetDirection, None, "0, 1"),
    KF(PT, "O", Bool, cumulative, None, ""),
    KF(PT, "P", Bool, jitterOffsetHOn, None, ""),
    KF(PT, "Q", Double, jitterOffsetH, Percent, "0 .. 100 %"),
    KF(PT, "R", Bool, jitterOffsetVOn, None, ""),
    KF(PT, "S", Double, jitterOffsetV, Percent, "0 .. 100 %"),
    KF(PT, "T", Bool, jitterAngleOn, None, ""),
    KF(PT, "U", Double, jitterAngle, Degrees, "0 .. 180 deg"),
    KF(PT, "V", Bool, jitterSizeHOn, None, ""),
    KF(PT, "W", Double, jitterSizeH, Percent, ""),
    KF(PT, "X", Bool, jitterSizeVOn, None, ""),
    KF(PT, "Y", Double, jitterSizeV, Percent, ""),
    KF(PT, "a", Bool, offsetOn, None, ""),
    KF(PT, "b", Bool, randomScaleOn, None, ""),
    KF(PT, "c", Double, randomScaleMin, Percent, ""),
    KF(PT, "d", Double, randomScaleMax, Percent, ""),
    KF(PT, "f", Int, seed, None, "31-bit seed"),
    KF(PT, "g", Bool, mask, None, ""),
    KF(PT, "h", Bool, scaleHOn, None, ""),
    KF(PT, "i", Bool, scaleVOn, None, ""),
    KF(PT, "j", Bool, rotateHOn, None, ""),
    KF(PT, "k", Bool, rotateVOn, None, ""),
    KF(PT, nullptr, Int, reproduceRandom, None, "not stored"),
};

void DefaultsTiling(void* block) {
    PT& p = As<PT>(block);
    p.columns = p.rows = 8;
    p.offset = 0.5;
    p.offsetDirection = 0;
    p.cumulative = 0;
    p.spacingMode = 0;
    p.spacingH = p.spacingV = 0;
    p.offsetOn = 0;
    p.randomScaleOn = 0;
    p.randomScaleMin = 0.5;
    p.randomScaleMax = 1.5;
    p.reproduceRandom = 1;
    p.seed = NewSeed();
    p.jitterOffsetHOn = p.jitterOffsetVOn = p.jitterSizeHOn = p.jitterSizeVOn = 0;
    p.jitterAngleOn = 0;
    p.jitterOffsetH = p.jitterOffsetV = p.jitterSizeH = p.jitterSizeV = p.jitterAngle = 0;
    p.overlapH = p.overlapV = 0;
    p.scaleHOn = p.scaleVOn = p.rotateHOn = p.rotateVOn = 0;
    p.scaleH = p.scaleV = 1.0;
    p.rotateH = p.rotateV = 0;
    p.resizeSpacing = 1;
    p.checkerboard = 0;
    p.mask = 0;
}

void ReadTiling(std::string_view record, void* block, int n) {
    PT& p = As<PT>(block);
    RecordReader r(record, block, kTilingType);
    ReadSeedFirst(r, "f");
    r.ReadRest();
    if (!r.Found("F2"))
        p.overlapV = p.overlapH;
    if (!r.Found("L")) {
        // The older layout stored the relative pitch, 1 + gap.
        p.checkerboard = 0;
        if (p.spacingMode == 0) {
            p.spacingH -= 1.0;
            p.spacingV -= 1.0;
        }
    }
    for (const char* key : {"M", "c"})
        r.SetIfMissing(key, 0.5);
    r.SetIfMissing("d", 1.5);
    for (const char* key :
         {"N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "a", "b", "g"})
        r.SetIfMissing(key, 0);
    r.SetIfMissing("h", p.scaleH != 0 ? 1 : 0);
    r.SetIfMissing("i", p.scaleV != 0 ? 1 : 0);
    r.SetIfMissing("j", p.rotateH != 0 ? 1 : 0);
    r.SetIfMissing("k", p.rotateV != 0 ? 1 : 0);
    if (n == kRecordDefault)
        p.spacingH = p.spacingV = 0;
    p.reproduceRandom = 1;
}

// --- Trail ---------------------------------------------------------------------

using PTr = TrailPGParams;
const KeyField kTrailKeys[] = {
    KF(PTr, "A", Int, stacking, None, "0, 1"),
    KF(PTr, "B", Double, startDensity, Percent, "0 .. 100 %"),
    KF(PTr, "C", Int, steps, None, "1 .. 32767"),
    KF(PTr, "D", Int, spacing, None, "0 .. 2"),
    KF(PTr, "E", Int, fillTarget, None, "0 .. 3"),
    KF(PTr, "F", Int, strokeTarget, None, "0 .. 3"),
    KF(PTr, "G", ColorSpec, fillColour, None, ""),
    KF(PTr, "H", ColorSpec, strokeColour, None, ""),
    KF(PTr, "I", Double, endDensity, Percent, "0 .. 100 %"),
    KF(PTr, "J", Double, rotation, Degrees, "-36000 .. 36000 deg"),
    KF(PTr, "K", Point, endScale, Percent, "-20000 .. 20000 % each"),
    KF(PTr, "L", Double, centreAngle, Degrees, "-180 .. 180 deg"),
    KF(PTr, "M", Double, centreDistance, None, "0 .. 16383 pt"),
    KF(PTr, "N", Double, tailAngle, Degrees, "-180 .. 180 deg"),
    KF(PTr, "O", Double, tailDistance, None, "0 .. 16383 pt"),
    KF(PTr, "P", Point, centreOffset, None, ""),
    KF(PTr, "Q", Point, tailOffset, None, ""),
    KF(PTr, "R", Double, endOpacity, Percent, "0 .. 100 %"),
    KF(PTr, "S", Bool, showCentre, None, ""),
};

void DefaultsTrail(void* block) {
    PTr& p = As<PTr>(block);
    p.stacking = 1;
    p.startDensity = 0.96;
    p.steps = 25;
    p.spacing = 0;
    p.fillTarget = p.strokeTarget = 2;
    SetDocumentWhite(p.fillColour);
    SetDocumentWhite(p.strokeColour);
    p.endDensity = 1.0;
    p.endOpacity = 1.0;
    p.rotation = 0;
    p.endScale = VtgPoint{1, 1};
    p.centreAngle = 0;
    p.centreDistance = 0;
    p.tailAngle = Deg(-45);
    p.tailDistance = 100;
    p.centreOffset = VtgPoint{0, 0};
    p.tailOffset = VtgPoint{100 * std::cos(Deg(-45)), 100 * std::sin(Deg(-45))};
    p.showCentre = 1;
}

void ReadTrail(std::string_view record, void* block, int) {
    PTr& p = As<PTr>(block);
    RecordReader r(record, block, kTrailType);
    r.ReadRest();
    if (!r.Found("H")) {
        SetDocumentWhite(p.fillColour);
        SetDocumentWhite(p.strokeColour);
    }
    r.SetIfMissing("R", 1.0);
    r.SetIfMissing("S", 1);
}

} // namespace

// --- the 3D variants -------------------------------------------------------------

const ThreeDVariant k3DVariants[k3DVariantCount] = {
    {"回転", "VERTiGON4_PST_3DRotate.txt", {0, 0, 0, 0}, {-70, 0, 0}, {0, 0, 0}, 35, {0.5, -0.5}},
    {"ツイスト", "VERTiGON4_PST_3DTwist.txt", {180, 0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 10, {0, 0}},
    {"扇形", "VERTiGON4_PST_3DArc.txt", {120, 0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 10, {0, -1.5}},
    {"スクリュー",
     "VERTiGON4_PST_3DScrew.txt",
     {720, 0, 100, 0},
     {0, 0, 0},
     {30, 0, 0},
     10,
     {0, 1.0}},
    {"スピン", "VERTiGON4_PST_3DTwirl.txt", {60, 1, 0, 0}, {0, 0, 0}, {0, 0, 0}, 10, {0, 0}},
    {"ウェーブ (水平垂直)",
     "VERTiGON4_PST_3DWaveHV.txt",
     {20, 1, 20, 1},
     {0, 0, 0},
     {0, 0, 0},
     10,
     {0, 0}},
    {"ウェーブ (前後)",
     "VERTiGON4_PST_3DWaveZ.txt",
     {20, 1, 20, 1},
     {0, 0, 0},
     {0, 0, 0},
     10,
     {0, 0}},
    {"ウェーブ (同心円)",
     "VERTiGON4_PST_3DWaveR.txt",
     {20, 1, 0, 0},
     {0, 0, 0},
     {0, 0, 0},
     10,
     {0, 0}},
    {"球面", "VERTiGON4_PST_3DSphere.txt", {360, 90, 90, 100}, {0, 0, 0}, {15, 0, 0}, 10, {0, 2.0}},
    {"輪環面",
     "VERTiGON4_PST_3DTorus.txt",
     {360, 360, 0, 100},
     {0, 0, 0},
     {45, 0, 0},
     10,
     {0.05, 2.0}},
    {"らせん環面",
     "VERTiGON4_PST_3DSpiral.txt",
     {720, 360, 0, 200},
     {0, 0, 0},
     {-45, 90, 45},
     10,
     {0.1, 1.0}},
    {"円筒／円錐面",
     "VERTiGON4_PST_3DCylinder.txt",
     {360, 100, 0, 0},
     {90, 0, 0},
     {0, -45, 0},
     10,
     {0, 0.5}},
};

int ThreeDVariantOfFile(std::string_view presetFile) {
    for (int i = 0; i < k3DVariantCount; ++i)
        if (presetFile == k3DVariants[i].presetFile)
            return i;
    return -1;
}

void Set3DVariantDefaults(_3DTFilterParams& p, int variant) {
    if (variant < 0 || variant >= k3DVariantCount)
        variant = 0;
    const ThreeDVariant& v = k3DVariants[variant];
    p.param1 = v.params[0];
    p.param2 = v.params[1];
    p.param3 = v.params[2];
    p.param4 = v.params[3];
    for (int i = 0; i < 3; ++i) {
        p.preRotation[i] = v.preRotation[i];
        p.postRotation[i] = v.postRotation[i];
    }
    p.perspective = v.perspective;
    p.centreRatio = v.centreRatio;
    p.transformed = variant == 0 ? 0 : 1;
    p.reservedFlag = 0;
}

const PresetType k3DPathType = {"live-3dpath",
                                "Live 3D Path",
                                "_3DTFilterParams",
                                "VERTiGON4_PST_3DRotate.txt",
                                sizeof(_3DTFilterParams),
                                k3DKeys,
                                &Defaults3D,
                                &Read3D,
                                &Write3D,
                                kKind3DPath};
const PresetType kBorderType = {"live-border",
                                "Live Border",
                                "BorderPGParams",
                                "VERTiGON4_PST_Border.txt",
                                sizeof(BorderPGParams),
                                kBorderKeys,
                                &DefaultsBorder,
                                &ReadBorder,
                                nullptr,
                                kKindBorder};
const PresetType kCircleType = {"live-circle",
                                "Live Circle",
                                "CirclePGParams",
                                "VERTiGON4_PST_Circle.txt",
                                sizeof(CirclePGParams),
                                kCircleKeys,
                                &DefaultsCircle,
                                &ReadCircle,
                                nullptr,
                                kKindCircle};
const PresetType kCutoutType = {"live-cutout",
                                "Live Cutout",
                                "CutoutPGParams",
                                "VERTiGON4_PST_Cutout.txt",
                                sizeof(CutoutPGParams),
                                kCutoutKeys,
                                &DefaultsCutout,
                                nullptr,
                                nullptr,
                                kKindCutout};
const PresetType kEmbossType = {"live-emboss",
                                "Live Emboss",
                                "EmbossPGParams",
                                "VERTiGON4_PST_Emboss.txt",
                                sizeof(EmbossPGParams),
                                kEmbossKeys,
                                &DefaultsEmboss,
                                nullptr,
                                nullptr,
                                kKindEmboss};
const PresetType kExplosionType = {"live-explosion",
                                   "Live Explosion",
                                   "ExplosionPGParams",
                                   "VERTiGON4_PST_Explosion.txt",
                                   sizeof(ExplosionPGParams),
                                   kExplosionKeys,
                                   &DefaultsExplosion,
                                   &ReadExplosion,
                                   nullptr,
                                   kKindExplosion};
const PresetType kFrameType = {"live-frame",
                               "Live Frame",
                               "FramePGParams",
                               "VERTiGON4_PST_Frame.txt",
                               sizeof(FramePGParams),
                               kFrameKeys,
                               &DefaultsFrame,
                               &ReadFrame,
                               nullptr,
                               kKindFrame};
const PresetType kGalaxyType = {"live-galaxy",
                                "Live Galaxy",
                                "GalaxyPGParams",
                                "VERTiGON4_PST_Galaxy.txt",
                                sizeof(GalaxyPGParams),
                                kGalaxyKeys,
                                &DefaultsGalaxy,
                                &ReadGalaxy,
                                nullptr,
                                kKindGalaxy};
const PresetType kGenerationType = {"live-generation",
                                    "Live Generation",
                                    "GenerationPGParams",
                                    "VERTiGON4_PST_Generation.txt",
                                    sizeof(GenerationPGParams),
                                    kGenerationKeys,
                                    &DefaultsGeneration,
                                    &ReadGeneration,
                                    nullptr,
                                    kKindGeneration};
const PresetType kSymbolPathType = {"live-symbolpath",         "Live Symbol Path",
                                    "MetaBrushPGParams",       "VERTiGON5_PST_SymbolPath.txt",
                                    sizeof(MetaBrushPGParams), kSymbolPathKeys,
                                    &DefaultsSymbolPath,       &ReadSymbolPath,
                                    &WriteSymbolPath,          kKindSymbolPath};
const PresetType kNeonType = {"live-neon",
                              "Live Neon",
                              "NeonPGParams",
                              "VERTiGON4_PST_Neon.txt",
                              sizeof(NeonPGParams),
                              kNeonKeys,
                              &DefaultsNeon,
                              &ReadNeon,
                              nullptr,
                              kKindNeon};
const PresetType kReflectionsType = {"live-reflections",
                                     "Live Reflections",
                                     "ReflectionsPGParams",
                                     "VERTiGON4_PST_Reflections.txt",
                                     sizeof(ReflectionsPGParams),
                                     kReflectionsKeys,
                                     &DefaultsReflections,
                                     nullptr,
                                     nullptr,
                                     kKindReflections};
const PresetType kShadowType = {"live-shadow",
                                "Live Shadow",
                                "ShadowPGParams",
                                "VERTiGON4_PST_Shadow.txt",
                                sizeof(ShadowPGParams),
                                kShadowKeys,
                                &DefaultsShadow,
                                nullptr,
                                nullptr,
                                kKindShadow};
const PresetType kTilingType = {"live-tiling",
                                "Live Tiling",
                                "TilingPGParams",
                                "VERTiGON4_PST_Tiling.txt",
                                sizeof(TilingPGParams),
                                kTilingKeys,
                                &DefaultsTiling,
                                &ReadTiling,
                                nullptr,
                                kKindTiling};
const PresetType kTrailType = {"live-trail",
                               "Live Trail",
                               "TrailPGParams",
                               "VERTiGON4_PST_Trail.txt",
                               sizeof(TrailPGParams),
                               kTrailKeys,
                               &DefaultsTrail,
                               &ReadTrail,
                               nullptr,
                               kKindTrail};

const PresetType* const kLiveObjectTypes[kLiveObjectKindCount] = {
    &k3DPathType, &kExplosionType,  &kEmbossType, &kCutoutType,     &kGalaxyType,
    &kCircleType, &kGenerationType, &kShadowType, &kSymbolPathType, &kTilingType,
    &kTrailType,  &kNeonType,       &kFrameType,  &kBorderType,     &kReflectionsType};

} // namespace vtg
