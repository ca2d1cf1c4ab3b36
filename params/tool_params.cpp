// The tools' defaults, key tables and reader rules.
#include "params/tool_params.hpp"

#include <initializer_list>
#include <numbers>

#include "params/key_table.hpp"
#include "params/preset_text.hpp"

namespace vtg {
namespace {

constexpr double kDefaultSteps = 4.0;

// The common reader of the tools: for the default record, key "A" (the
// tool's mode) may keep its current value, and the steps (the last key)
// become 4 after reading.
RecordReader ReadTool(std::string_view record, void* block, int n, const PresetType& type,
                      bool keepModeForDefault) {
    RecordReader r(record, block, type);
    if (n == kRecordDefault && keepModeForDefault)
        r.ReadRest({"A"});
    else
        r.ReadRest();
    return r;
}

void SetDefaultSteps(RecordReader& r, int n, const char* stepsKey) {
    if (n == kRecordDefault)
        r.Set(stepsKey, kDefaultSteps);
}

// --- Warp ----------------------------------------------------------------------

using TW = WarpToolParams;
const KeyField kWarpKeys[] = {
    VTG_KEY(TW, "A", Int16, type, None, "0 .. 21"),
    VTG_KEY(TW, "B", Double, margin, Percent, "0 .. 4000 %"),
    VTG_KEY(TW, "C", Bool, perspective, None, ""),
    VTG_KEY(TW, "D", Bool, trace, None, ""),
    VTG_KEY(TW, "E", Int16, traceMode, None, "0 .. 6"),
    VTG_KEY(TW, "F", Double, interval, None, "1 .. 4000 pt"),
    VTG_KEY(TW, "G", Double, steps, None, "1 .. 4000"),
};

void DefaultsWarp(void* block) {
    TW& p = As<TW>(block);
    p.type = 0;
    p.margin = 0.05;
    p.perspective = 1;
    p.trace = 0;
    p.traceMode = 1;
    p.interval = 10;
    p.steps = kDefaultSteps;
}

void ReadWarp(std::string_view record, void* block, int n) {
    RecordReader r = ReadTool(record, block, n, kWarpToolType, true);
    if (!r.Found("C") || n == kRecordDefault)
        r.Set("C", 1);
    SetDefaultSteps(r, n, "G");
}

// --- Wave ----------------------------------------------------------------------

using TV = WaveToolParams;
const KeyField kWaveKeys[] = {
    VTG_KEY(TV, "A", Int16, style, None, "0 .. 4"),
    VTG_KEY(TV, "B", Double, cycle, None, "0.1 .. 4000"),
    VTG_KEY(TV, "C", Bool, trace, None, ""),
    VTG_KEY(TV, "D", Int16, traceMode, None, "0 .. 7"),
    VTG_KEY(TV, "E", Double, interval, None, "1 .. 4000 pt"),
    VTG_KEY(TV, "F", Double, steps, None, "1 .. 4000"),
};

void DefaultsWave(void* block) {
    TV& p = As<TV>(block);
    p.style = 0;
    p.cycle = 1;
    p.trace = 0;
    p.traceMode = 1;
    p.interval = 10;
    p.steps = kDefaultSteps;
}

void ReadWave(std::string_view record, void* block, int n) {
    RecordReader r = ReadTool(record, block, n, kWaveToolType, true);
    SetDefaultSteps(r, n, "F");
}

// --- Lens ----------------------------------------------------------------------

using TL = LensToolParams;
const KeyField kLensKeys[] = {
    VTG_KEY(TL, "A", Int16, lensKind, None, "0 .. 3"),
    VTG_KEY(TL, "B", Double, fishEyeAmount, Percent, "-100 .. 100 %"),
    VTG_KEY(TL, "C", Double, lupeAmount, Percent, "100 .. 20000 %"),
    VTG_KEY(TL, "D", Double, twirlAmount, Degrees, "-36000 .. 36000 deg"),
    VTG_KEY(TL, "E", Int16, twirlCycle, None, "1 .. 4000"),
    VTG_KEY(TL, "F", Point, opticalAmount, Percent, "0 .. 100 % each"),
    VTG_KEY(TL, "G", Bool, group_f, None, ""),
    VTG_KEY(TL, "H", Point, lensSize, None, "1 .. 16383 pt each"),
    VTG_KEY(TL, "I", Bool, trace, None, ""),
    VTG_KEY(TL, "J", Int16, traceMode, None, "0 .. 6"),
    VTG_KEY(TL, "K", Double, interval, None, "1 .. 4000 pt"),
    VTG_KEY(TL, "L", Double, steps, None, "1 .. 4000"),
};

void DefaultsLens(void* block) {
    TL& p = As<TL>(block);
    p.lensKind = 0;
    p.fishEyeAmount = 1.0;
    p.lupeAmount = 2.0;
    p.twirlAmount = std::numbers::pi;
    p.twirlCycle = 1;
    p.opticalAmount = VtgPoint{0.1, 0.1};
    p.group_f = 1;
    p.lensSize = VtgPoint{100, 100};
    p.trace = 0;
    p.traceMode = 1;
    p.interval = 10;
    p.steps = kDefaultSteps;
}

void ReadLens(std::string_view record, void* block, int n) {
    RecordReader r = ReadTool(record, block, n, kLensToolType, true);
    SetDefaultSteps(r, n, "L");
}

// --- Craft and Broom -------------------------------------------------------------

using TC = CraftToolParams;
const KeyField kCraftKeys[] = {
    VTG_KEY(TC, "A", Int16, brushMode, None, "0 .. 3"),
    VTG_KEY(TC, "B", Int16, resistance, None, "0 .. 4"),
    VTG_KEY(TC, "C", Double, radius, None, "1 .. 16383 pt"),
    VTG_KEY(TC, "D", Bool, trace, None, ""),
    VTG_KEY(TC, "E", Int16, traceMode, None, "0 .. 6"),
    VTG_KEY(TC, "F", Double, interval, None, "1 .. 4000 pt"),
    VTG_KEY(TC, "G", Double, angleInterval, Degrees, "not shown"),
    VTG_KEY(TC, "H", Double, steps, None, "1 .. 4000"),
};

void DefaultsCraft(void* block) {
    TC& p = As<TC>(block);
    p.brushMode = 0;
    p.resistance = 2;
    p.radius = 100;
    p.trace = 0;
    p.traceMode = 1;
    p.interval = 10;
    p.angleInterval = Deg(30);
    p.steps = kDefaultSteps;
}

// The sweep mode (1) traces by the drag only: its trace mode is 0.
constexpr int16_t kSweepMode = 1;

void ReadCraft(std::string_view record, void* block, int n) {
    RecordReader r = ReadTool(record, block, n, kCraftToolType, true);
    TC& p = As<TC>(block);
    if (p.brushMode == kSweepMode)
        p.traceMode = 0;
    SetDefaultSteps(r, n, "H");
}

using TB = BroomToolParams;
const KeyField kBroomKeys[] = {
    VTG_KEY(TB, "A", Int16, brushMode, None, "0 .. 3"),
    VTG_KEY(TB, "B", Int16, resistance, None, "0 .. 4"),
    VTG_KEY(TB, "C", Double, radius, None, "1 .. 16383 pt"),
    VTG_KEY(TB, "D", Bool, group_f, None, ""),
    VTG_KEY(TB, "E", Bool, trace, None, ""),
    VTG_KEY(TB, "F", Int16, traceMode, None, "0 .. 6"),
    VTG_KEY(TB, "G", Double, interval, None, "1 .. 4000 pt"),
    VTG_KEY(TB, "H", Double, angleInterval, Degrees, "not shown"),
    VTG_KEY(TB, "I", Double, steps, None, "1 .. 4000"),
};

void DefaultsBroom(void* block) {
    TB& p = As<TB>(block);
    p.brushMode = 0;
    p.resistance = 2;
    p.radius = 100;
    p.group_f = 1;
    p.trace = 0;
    p.traceMode = 1;
    p.interval = 10;
    p.angleInterval = Deg(30);
    p.steps = kDefaultSteps;
}

void ReadBroom(std::string_view record, void* block, int n) {
    RecordReader r = ReadTool(record, block, n, kBroomToolType, true);
    TB& p = As<TB>(block);
    if (p.brushMode == kSweepMode)
        p.traceMode = 0;
    SetDefaultSteps(r, n, "I");
}

// --- Roughen -------------------------------------------------------------------

using TR = RoughToolParams;
const KeyField kRoughKeys[] = {
    VTG_KEY(TR, "A", Int16, shape, None, "0, 1"),
    VTG_KEY(TR, "B", Double, radius, None, "1 .. 16383 pt"),
    VTG_KEY(TR, "D", Bool, trace, None, ""),
    VTG_KEY(TR, "E", Int16, traceMode, None, "0 .. 5"),
    VTG_KEY(TR, "F", Double, steps, None, "1 .. 4000"),
    VTG_KEY(TR, "G", Bool, changeRandom, None, ""),
};

void DefaultsRough(void* block) {
    TR& p = As<TR>(block);
    p.shape = 0;
    p.radius = 100;
    p.trace = 0;
    p.traceMode = 0;
    p.steps = kDefaultSteps;
    p.changeRandom = 0;
}

void ReadRough(std::string_view record, void* block, int n) {
    RecordReader r = ReadTool(record, block, n, kRoughToolType, false);
    SetDefaultSteps(r, n, "F");
}

} // namespace

const PresetType kWarpToolType = {"warp",
                                  "Perspective Warp tool",
                                  "WarpToolParams",
                                  "VERTiGON4_PST_WarpTool.txt",
                                  sizeof(WarpToolParams),
                                  kWarpKeys,
                                  &DefaultsWarp,
                                  &ReadWarp,
                                  nullptr,
                                  -1};
const PresetType kWaveToolType = {"wave",
                                  "Multi-wave tool",
                                  "WaveToolParams",
                                  "VERTiGON4_PST_WaveTool.txt",
                                  sizeof(WaveToolParams),
                                  kWaveKeys,
                                  &DefaultsWave,
                                  &ReadWave,
                                  nullptr,
                                  -1};
const PresetType kLensToolType = {"lens",
                                  "Lens tool",
                                  "LensToolParams",
                                  "VERTiGON4_PST_LensTool.txt",
                                  sizeof(LensToolParams),
                                  kLensKeys,
                                  &DefaultsLens,
                                  &ReadLens,
                                  nullptr,
                                  -1};
const PresetType kCraftToolType = {"craft",
                                   "Craft tool",
                                   "CraftToolParams",
                                   "VERTiGON4_PST_CraftTool.txt",
                                   sizeof(CraftToolParams),
                                   kCraftKeys,
                                   &DefaultsCraft,
                                   &ReadCraft,
                                   nullptr,
                                   -1};
const PresetType kRoughToolType = {"roughen",
                                   "Roughen tool",
                                   "RoughToolParams",
                                   "VERTiGON4_PST_RoughTool.txt",
                                   sizeof(RoughToolParams),
                                   kRoughKeys,
                                   &DefaultsRough,
                                   &ReadRough,
                                   nullptr,
                                   -1};
const PresetType kBroomToolType = {"broom",
                                   "Broom tool",
                                   "BroomToolParams",
                                   "VERTiGON4_PST_BroomTool.txt",
                                   sizeof(BroomToolParams),
                                   kBroomKeys,
                                   &DefaultsBroom,
                                   &ReadBroom,
                                   nullptr,
                                   -1};

} // namespace vtg
