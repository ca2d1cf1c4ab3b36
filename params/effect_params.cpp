// The live effects' defaults, key tables and reader rules.
#include "params/effect_params.hpp"

#include <numbers>

#include "params/key_table.hpp"
#include "params/preset_text.hpp"

namespace vtg {
namespace {

// --- Multi-wave ------------------------------------------------------------------

using PW = WaveEffectParams;
const KeyField kWaveKeys[] = {
    VTG_KEY(PW, "A", Int, style, None, "0 .. 4"),
    VTG_KEY(PW, "B", Int, orientation, None, "0, 1"),
    VTG_KEY(PW, "C", Double, cycle, None, "0 .. 4000"),
    VTG_KEY(PW, "D", Double, bendRatio, Percent, "-200 .. 200 % (edit -20000 .. 20000 %)"),
    VTG_KEY(PW, "E", Double, centerRatio, Percent, "-100 .. 100 % (edit -20000 .. 20000 %)"),
};

void DefaultsWave(void* block) {
    PW& p = As<PW>(block);
    p.style = 0;
    p.orientation = 0;
    p.cycle = 1;
    p.bendRatio = 0.5;
    p.centerRatio = 0;
}

// The default record keeps the chosen style (key "A").
void ReadSkippingStyleForDefault(std::string_view record, void* block, int n,
                                 const PresetType& type) {
    RecordReader r(record, block, type);
    if (n == kRecordDefault)
        r.ReadRest({"A"});
    else
        r.ReadRest();
}

void ReadWave(std::string_view record, void* block, int n) {
    ReadSkippingStyleForDefault(record, block, n, kWaveEffectType);
}

// --- Lens ------------------------------------------------------------------------

using PL = LensEffectParams;
const KeyField kLensKeys[] = {
    VTG_KEY(PL, "A", Int, lensKind, None, "0 .. 3"),
    VTG_KEY(PL, "B", Double, fishEyeAmount, Percent, "-100 .. 100 %"),
    VTG_KEY(PL, "C", Double, lupeAmount, Percent, "100 .. 20000 % (slider 100 .. 400 %)"),
    VTG_KEY(PL, "D", Double, twirlAmount, Degrees, "-36000 .. 36000 deg (slider -720 .. 720)"),
    VTG_KEY(PL, "E", Int, twirlCycle, None, "1 .. 4000"),
    VTG_KEY(PL, "F", Point, opticalAmount, Percent, "0 .. 100 % each"),
    VTG_KEY(PL, "G", Bool, group_f, None, ""),
    VTG_KEY(PL, "H", Point, centerRatio, Percent, "-20000 .. 20000 % each (slider -100 .. 100)"),
    VTG_KEY(PL, "I", Point, sizeRatio, Percent, "1 .. 20000 % each (slider 1 .. 200)"),
    VTG_KEY(PL, "J", Int, lensShape, None, "0, 1"),
};

void DefaultsLens(void* block) {
    PL& p = As<PL>(block);
    p.lensKind = 0;
    p.fishEyeAmount = 1;
    p.lupeAmount = 2;
    p.twirlAmount = std::numbers::pi;
    p.twirlCycle = 1;
    p.opticalAmount = VtgPoint{0.1, 0.1};
    p.group_f = 1;
    p.lensShape = 0;
    p.centerRatio = VtgPoint{0, 0};
    p.sizeRatio = VtgPoint{1, 1};
}

void ReadLens(std::string_view record, void* block, int n) {
    ReadSkippingStyleForDefault(record, block, n, kLensEffectType);
}

// --- Perspective warp ------------------------------------------------------------

using PP = WarpEffectParams;
const KeyField kWarpKeys[] = {
    VTG_KEY(PP, "A", Int, style, None, "0 .. 21"),
    VTG_KEY(PP, "B", Int, orientation, None, "0, 1"),
    VTG_KEY(PP, "C", Double, marginRatio, Percent, "0 .. 20000 %"),
    VTG_KEY(PP, "D", Double, bendRatio, Percent, "-20000 .. 20000 % (slider -200 .. 200)"),
    VTG_KEY(PP, "E", Double, centerRatio, Percent, "-20000 .. 20000 % (slider -100 .. 100)"),
    VTG_KEY(PP, "F", Bool, perspective_f, None, ""),
};

void DefaultsWarp(void* block) {
    PP& p = As<PP>(block);
    p.style = 0;
    p.orientation = 0;
    p.marginRatio = 0.05;
    p.bendRatio = 0.5;
    p.centerRatio = 0;
    p.perspective_f = 1;
}

void ReadWarp(std::string_view record, void* block, int n) {
    RecordReader r(record, block, kWarpEffectType);
    if (n == kRecordDefault)
        r.ReadRest({"A"});
    else
        r.ReadRest();
    if (!r.Found("F") || n == kRecordDefault)
        r.Set("F", 1);
}

// --- Fractalize ------------------------------------------------------------------

using PFr = FractalizeParams;
const KeyField kFractalizeKeys[] = {
    VTG_KEY(PFr, "A", UInt32, generator, None, "1 .. 14"),
    VTG_KEY(PFr, "B", Double, genHeight, None, "-20000 .. 20000 %"),
    VTG_KEY(PFr, "C", UInt32, level, None, "1 .. 14"),
    VTG_KEY(PFr, "D", Double, density, None, "0 .. 144 per inch"),
    VTG_KEY(PFr, "E", Double, uneven, None, "0 .. 4000 %"),
    VTG_KEY(PFr, "F", UInt32, unevenUnit, None, "0, 1"),
    VTG_KEY(PFr, "G", Bool, reverseH, None, ""),
    VTG_KEY(PFr, "H", Bool, reverseV, None, ""),
    VTG_KEY(PFr, "I", Bool, unevenGen_f, None, ""),
    VTG_KEY(PFr, "K", Int, seed, None, "31-bit seed"),
    VTG_KEY(PFr, "L", Double, gapSpaceRatio, None, "0 .. 100 %"),
    VTG_KEY(PFr, "M", Double, shiftGapRatio, None, "0 .. 100 %"),
    VTG_KEY(PFr, "N", Bool, uneven_f, None, ""),
    VTG_KEY(PFr, "O", Bool, constantSize, None, ""),
};

void DefaultsFractalize(void* block) {
    PFr& p = As<PFr>(block);
    p.generator = 0;
    p.reverseH = p.reverseV = 0;
    p.genHeight = 100;
    p.level = 1;
    p.density = 5;
    p.uneven_f = 0;
    p.uneven = 0;
    p.unevenGen_f = 1;
    p.unevenUnit = 0;
    p.constantSize = 0;
    p.gapSpaceRatio = p.shiftGapRatio = 0;
    p.seed = NewSeed();
}

void ReadFractalize(std::string_view record, void* block, int n) {
    PFr& p = As<PFr>(block);
    if (n == kRecordDefault) {
        DefaultsFractalize(block);
        return;
    }
    RecordReader r(record, block, kFractalizeType);
    r.ReadRest();
    for (const char* key : {"G", "H", "I", "L", "M", "O"})
        r.SetIfMissing(key, 0);
    if (!r.Found("K"))
        p.seed = NewSeed();
    // Records older than the switch: unevenness was on whenever it was set.
    r.SetIfMissing("N", p.uneven != 0 ? 1 : 0);
}

} // namespace

const PresetType kWaveEffectType = {"effect-multiwave",
                                    "Multi-wave effect",
                                    "WaveEffectParams",
                                    "VERTiGON5_PST_WaveEffect.txt",
                                    sizeof(WaveEffectParams),
                                    kWaveKeys,
                                    &DefaultsWave,
                                    &ReadWave,
                                    nullptr,
                                    -1};
const PresetType kLensEffectType = {"effect-lens",
                                    "Lens effect",
                                    "LensEffectParams",
                                    "VERTiGON5_PST_LensEffect.txt",
                                    sizeof(LensEffectParams),
                                    kLensKeys,
                                    &DefaultsLens,
                                    &ReadLens,
                                    nullptr,
                                    -1};
const PresetType kWarpEffectType = {"effect-warp",
                                    "Perspective Warp effect",
                                    "WarpEffectParams",
                                    "VERTiGON5_PST_WarpEffect.txt",
                                    sizeof(WarpEffectParams),
                                    kWarpKeys,
                                    &DefaultsWarp,
                                    &ReadWarp,
                                    nullptr,
                                    -1};
const PresetType kFractalizeType = {"effect-fractalize",
                                    "Fractalize effect and filter",
                                    "FractalizeParams",
                                    "VERTiGON4_PST_Fractalize.txt",
                                    sizeof(FractalizeParams),
                                    kFractalizeKeys,
                                    &DefaultsFractalize,
                                    &ReadFractalize,
                                    nullptr,
                                    -1};

} // namespace vtg
