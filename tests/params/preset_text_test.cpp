// The preset text: every type's round trip and the reader rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "params/effect_params.hpp"
#include "params/feature_list.hpp"
#include "params/global_params.hpp"
#include "params/live_params.hpp"
#include "params/preset_text.hpp"
#include "params/tool_params.hpp"
#include "platform/system.hpp"

namespace vtg {
namespace {

// A zeroed block of a type with its preset file in the header.
struct Block {
    explicit Block(const PresetType& t, bool defaults = true) : type(t), bytes(t.blockSize + 16) {
        if (defaults)
            InitParamBlock(t, data());
        else
            SetHeaderText(header().presetFile, t.presetFile);
    }
    void* data() { return bytes.data(); }
    ParamHeader& header() { return *reinterpret_cast<ParamHeader*>(bytes.data()); }
    template <typename T> T& as() { return *reinterpret_cast<T*>(bytes.data()); }
    const PresetType& type;
    std::vector<std::max_align_t> bytes;
};

// Gives every stored field a value unlike its default.
void Perturb(Block& b) {
    int i = 0;
    char* base = reinterpret_cast<char*>(b.data());
    for (const KeyField& f : b.type.keys) {
        ++i;
        if (f.key == nullptr)
            continue;
        char* field = base + f.offset;
        switch (f.type) {
        case ValueType::Int16: {
            int16_t v = static_cast<int16_t>(-100 - i);
            std::memcpy(field, &v, sizeof v);
            break;
        }
        case ValueType::Int: {
            int32_t v = 100000 + i;
            std::memcpy(field, &v, sizeof v);
            break;
        }
        case ValueType::UInt32: {
            uint32_t v = 4000000000u + static_cast<uint32_t>(i);
            std::memcpy(field, &v, sizeof v);
            break;
        }
        case ValueType::Bool: {
            int32_t v;
            std::memcpy(&v, field, sizeof v);
            v = v != 0 ? 0 : 1;
            std::memcpy(field, &v, sizeof v);
            break;
        }
        case ValueType::Double: {
            double v = -1234.25 + i * 0.5;
            std::memcpy(field, &v, sizeof v);
            break;
        }
        case ValueType::Point: {
            VtgPoint v{i + 0.125, -i - 0.375};
            std::memcpy(field, &v, sizeof v);
            break;
        }
        case ValueType::ColorSpec: {
            ColorSpec v{1, {0.25, 0.5, 0.75, i * 0.0625}};
            std::memcpy(field, &v, sizeof v);
            break;
        }
        }
    }
}

std::size_t ValueSize(ValueType t) {
    switch (t) {
    case ValueType::Int16:
        return 2;
    case ValueType::Int:
    case ValueType::UInt32:
    case ValueType::Bool:
        return 4;
    case ValueType::Double:
        return 8;
    case ValueType::Point:
        return 16;
    case ValueType::ColorSpec:
        return sizeof(ColorSpec);
    }
    return 0;
}

void ExpectSameFields(Block& a, Block& b, bool liveObject) {
    const char* pa = reinterpret_cast<const char*>(a.data());
    const char* pb = reinterpret_cast<const char*>(b.data());
    for (const KeyField& f : a.type.keys) {
        if (f.key == nullptr ||
            (!liveObject && a.type.liveKind == kKindSymbolPath && std::strcmp(f.key, "M") == 0))
            continue;
        if (f.type == ValueType::ColorSpec) {
            ColorSpec ca, cb;
            std::memcpy(&ca, pa + f.offset, sizeof ca);
            std::memcpy(&cb, pb + f.offset, sizeof cb);
            EXPECT_EQ(ca.kind, cb.kind) << f.name;
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(ca.c[i], cb.c[i]) << f.name;
            continue;
        }
        EXPECT_EQ(std::memcmp(pa + f.offset, pb + f.offset, ValueSize(f.type)), 0)
            << a.type.feature << " key " << f.key << " (" << f.name << ")";
    }
}

TEST(PresetText, EveryTypeRoundTripsEveryField) {
    for (const PresetType* type : AllPresetTypes()) {
        SCOPED_TRACE(type->feature);
        Block written(*type);
        Perturb(written);
        if (type == &k3DPathType) {
            // The record of a preset file belongs to its variant's file.
            written.as<_3DTFilterParams>().variant = 3;
            SetHeaderText(written.header().presetFile, "VERTiGON4_PST_3DScrew.txt");
        }
        SetHeaderText(written.header().presetName, "名前 1");
        std::string text;
        WritePresetRecord(text, written.data(), true);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.rfind("$\t名前 1\r\n", 0), 0u);

        Block read(*type, false);
        SetHeaderText(read.header().presetFile, written.header().presetFile);
        ASSERT_TRUE(ReadPresetRecord(text, read.data(), 0));
        ExpectSameFields(written, read, false);

        if (type->liveKind >= 0) {
            WriteLiveObjectRecord(text, written.data(), type->liveKind);
            EXPECT_EQ(text.rfind("$\t\r\n", 0), 0u);
            Block live(*type, false);
            ASSERT_TRUE(ReadLiveObjectRecord(text, live.data(), type->liveKind));
            ExpectSameFields(written, live, true);
        }
    }
}

TEST(PresetText, WriterFormatsAndKeyOrder) {
    Block b(kLensToolType);
    auto& p = b.as<LensToolParams>();
    p.lensKind = -3;
    p.fishEyeAmount = 0.1234567;
    p.opticalAmount = {1.5, -2};
    std::string text;
    WritePresetRecord(text, b.data(), false);
    EXPECT_EQ(text, "$\t\r\nA\t-3\r\nB\t0.123457\r\nC\t2.000000\r\nD\t3.141593\r\nE\t1\r\n"
                    "F\t1.500000,-2.000000\r\nG\t1\r\nH\t100.000000,100.000000\r\nI\t0\r\n"
                    "J\t1\r\nK\t10.000000\r\nL\t4.000000\r\n");
    Block f(kFractalizeType);
    f.as<FractalizeParams>().generator = 4294967295u;
    WritePresetRecord(text, f.data(), false);
    EXPECT_NE(text.find("A\t4294967295\r\n"), std::string::npos);
}

TEST(PresetText, ReadParamFieldLineRules) {
    struct Case {
        const char* record;
        const char* key;
        bool found;
        double value; // read as Double; unchanged field stays 7
    };
    const Case cases[] = {
        {"$\tn\r\nA\t1.5\r\nB\t2\r\n", "B", true, 2},
        {"$\tn\nA\t1.5\nB\t2\n", "B", true, 2},                 // LF-only lines
        {"$\tn\r\nA\t1\r\n$\tnext\r\nB\t3\r\n", "B", false, 7}, // key of the next record
        {"$\tn\r\nA\t1\r\nA\t9\r\n", "A", true, 1},             // the first line wins
        {"$\tn\r\nBB\t5\r\nB\t6", "B", true, 6},                // last line without line end
        {"$\tn\r\nB", "B", false, 7},                           // key without TAB at the end
        {"$\tn\r\nB\t", "B", true, 7},                          // empty value converts to nothing
        {"$\tn\r\nB\t  12abc\r\n", "B", true, 12},              // formatted-input rules
        {"", "B", false, 7},
        {"$", "B", false, 7},
        {"$\tB\t4\r\n", "B", false, 7}, // the header line has an empty key
    };
    for (const Case& c : cases) {
        double v = 7;
        EXPECT_EQ(ReadParamField(c.record, c.key, ValueType::Double, &v), c.found) << c.record;
        EXPECT_EQ(v, c.value) << c.record;
    }
    std::string longKey = "$\t\r\n" + std::string(300, 'K') + "\t1\r\n";
    double v = 7;
    EXPECT_FALSE(ReadParamField(longKey, std::string(300, 'K').c_str(), ValueType::Double, &v));
}

TEST(PresetText, BoolAndIntegerValues) {
    struct Case {
        const char* value;
        int32_t expected;
    };
    const Case bools[] = {{"0", 0}, {"01", 1}, {"", 1}, {"1", 1}, {"00", 1}, {"x", 1}, {"-0", 1}};
    for (const Case& c : bools) {
        std::string record = std::string("$\t\r\nA\t") + c.value + "\r\n";
        int32_t field = 5;
        ASSERT_TRUE(ReadParamField(record, "A", ValueType::Bool, &field));
        EXPECT_EQ(field, c.expected) << '"' << c.value << '"';
    }
    int16_t s = 0;
    ReadParamField("$\t\r\nA\t70000\r\n", "A", ValueType::Int16, &s);
    EXPECT_EQ(s, static_cast<int16_t>(70000 & 0xFFFF));
    uint32_t u = 0;
    ReadParamField("$\t\r\nA\t-1\r\n", "A", ValueType::UInt32, &u);
    EXPECT_EQ(u, 0xFFFFFFFFu);
    VtgPoint p{9, 9};
    ReadParamField("$\t\r\nA\t1.5\r\n", "A", ValueType::Point, &p);
    EXPECT_EQ(p.x, 1.5);
    EXPECT_EQ(p.y, 9) << "a missing second number leaves y";
}

TEST(PresetText, ColorSpecKinds) {
    std::string text;
    ColorSpec c{5, {0.1, 0.2, 0.3, 0.9}};
    WriteParamField(text, "G", ValueType::ColorSpec, &c);
    EXPECT_EQ(text, "G\t5,0.100000,0.200000,0.300000,0.000000\r\n");
    ColorSpec back{0, {7, 7, 7, 7}};
    ReadParamField("$\t\r\n" + text, "G", ValueType::ColorSpec, &back);
    EXPECT_EQ(back.kind, 5);
    EXPECT_DOUBLE_EQ(back.c[2], 0.3);
    EXPECT_EQ(back.c[3], 0.0);

    ColorSpec six{6, {0.5, 0.5, 0.5, 0.5}};
    text.clear();
    WriteParamField(text, "G", ValueType::ColorSpec, &six);
    EXPECT_EQ(text, "G\t6,0.000000,0.000000,0.000000,0.000000\r\n");
    ColorSpec keep{0, {1, 2, 3, 4}};
    ReadParamField("$\t\r\n" + text, "G", ValueType::ColorSpec, &keep);
    EXPECT_EQ(keep.kind, 6);
    EXPECT_EQ(keep.c[0], 1);
    EXPECT_EQ(keep.c[3], 4);

    ColorSpec gray{0, {0.25, 9, 9, 9}};
    text.clear();
    WriteParamField(text, "G", ValueType::ColorSpec, &gray);
    EXPECT_EQ(text, "G\t0,0.250000,0.000000,0.000000,0.000000\r\n");

    // The kind is widened from 16 bits: no bytes of an earlier -1 remain.
    ColorSpec wide{-1, {0, 0, 0, 0}};
    ReadParamField("$\t\r\nG\t1,0.1,0.2,0.3,0.4\r\n", "G", ValueType::ColorSpec, &wide);
    EXPECT_EQ(wide.kind, 1);
    EXPECT_DOUBLE_EQ(wide.c[3], 0.4);
    ReadParamField("$\t\r\nG\t-1,0,0,0,0\r\n", "G", ValueType::ColorSpec, &wide);
    EXPECT_EQ(wide.kind, -1);
}

TEST(PresetText, ThreeDPathWriterAndReader) {
    Block b(k3DPathType);
    auto& p = b.as<_3DTFilterParams>();
    p.variant = 8;
    Set3DVariantDefaults(p, 8);
    std::string text;
    // The header names the Rotate file: a preset-file record is refused...
    WritePresetRecord(text, b.data(), true);
    EXPECT_TRUE(text.empty());
    // ...but live-object data always carries the fields.
    WriteLiveObjectRecord(text, b.data(), kKind3DPath);
    EXPECT_EQ(text.find("\r\nB\t"), std::string::npos);
    Block back(k3DPathType, false);
    ASSERT_TRUE(ReadLiveObjectRecord(text, back.data(), kKind3DPath));
    ExpectSameFields(b, back, true);
    EXPECT_EQ(back.as<_3DTFilterParams>().variant, 8);
    EXPECT_EQ(back.as<_3DTFilterParams>().param1, 360);

    p.variant = -1;
    WriteLiveObjectRecord(text, b.data(), kKind3DPath);
    EXPECT_NE(text.find("A\t-1\r\n"), std::string::npos);

    // A "B" line is ignored; record -2 takes the current variant's defaults.
    Block d(k3DPathType);
    SetHeaderText(d.header().presetName, "Default Setting");
    ASSERT_TRUE(ReadPresetRecord("$\tx\r\nB\t5\r\nC\t99\r\n", d.data(), 0));
    EXPECT_EQ(d.as<_3DTFilterParams>().param1, 99);
    CurrentPresetContext().current3DVariant = 11;
    d.as<_3DTFilterParams>().reservedFlag = 1;
    ASSERT_TRUE(ReadPresetRecord("$\tx\r\nC\t99\r\n", d.data(), kRecordDefault));
    EXPECT_EQ(d.as<_3DTFilterParams>().variant, 11);
    EXPECT_EQ(d.as<_3DTFilterParams>().param1, 360);
    EXPECT_EQ(d.as<_3DTFilterParams>().transformed, 1);
    EXPECT_EQ(d.as<_3DTFilterParams>().reservedFlag, 0);
    EXPECT_STREQ(d.header().presetName, "");
    CurrentPresetContext().current3DVariant = 40;
    ASSERT_TRUE(ReadPresetRecord("", d.data(), kRecordDefault));
    EXPECT_EQ(d.as<_3DTFilterParams>().variant, 0);
    EXPECT_EQ(d.as<_3DTFilterParams>().transformed, 0);
    CurrentPresetContext().current3DVariant = 0;
}

bool TestWhite(ColorSpec* c) {
    *c = ColorSpec{5, {1, 1, 1, 0}};
    return true;
}

// One reader rule per row: the record, the record number and what the
// block must hold afterwards.
TEST(PresetText, ReaderRules) {
    platform::SetTickSource([] { return 0x80001234u; });
    CurrentPresetContext().documentWhite = &TestWhite;

    { // Border: "L" missing gives 1, "M" missing 0; record -2 forces both.
        Block b(kBorderType);
        b.as<BorderPGParams>().autoLineStyle = 0;
        b.as<BorderPGParams>().mergeOverlaps = 1;
        ReadPresetRecord("$\tx\r\nA\t0.5\r\n", b.data(), 0);
        EXPECT_EQ(b.as<BorderPGParams>().autoLineStyle, 1);
        EXPECT_EQ(b.as<BorderPGParams>().mergeOverlaps, 0);
        ReadPresetRecord("$\tx\r\nL\t0\r\nM\t1\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(b.as<BorderPGParams>().autoLineStyle, 1);
        EXPECT_EQ(b.as<BorderPGParams>().mergeOverlaps, 0);
        ReadPresetRecord("$\tx\r\nL\t0\r\nM\t1\r\n", b.data(), -1);
        EXPECT_EQ(b.as<BorderPGParams>().autoLineStyle, 0);
        EXPECT_EQ(b.as<BorderPGParams>().mergeOverlaps, 1);
    }
    { // Circle: missing keys and the seed; -2 is not read.
        Block b(kCircleType);
        auto& p = b.as<CirclePGParams>();
        p.anchorRadialOn = 1;
        p.anchorRadial = 3;
        p.anchorAngle = 3;
        p.seedFixed = 0;
        p.copies = 5;
        ReadPresetRecord("$\tx\r\nB\t1\r\n", b.data(), 0);
        EXPECT_EQ(p.copies, 5) << "A missing leaves the field";
        EXPECT_EQ(p.anchorRadialOn, 0);
        EXPECT_DOUBLE_EQ(p.anchorRadial, 0.1);
        EXPECT_DOUBLE_EQ(p.anchorAngle, 5 * std::numbers::pi / 180);
        EXPECT_EQ(p.seed, -1);
        EXPECT_EQ(p.seedFixed, 1);
        ReadPresetRecord("$\tx\r\nA\t99\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(p.copies, 12);
        EXPECT_EQ(p.seed, 0x1234);
    }
    { // Explosion: "K", "L" missing give 0; -2 gives defaults.
        Block b(kExplosionType);
        auto& p = b.as<ExplosionPGParams>();
        p.fadeMode = 2;
        p.opacity = 0.5;
        ReadPresetRecord("$\tx\r\nJ\t77\r\n", b.data(), 0);
        EXPECT_EQ(p.fadeMode, 0);
        EXPECT_EQ(p.opacity, 0);
        EXPECT_EQ(p.seed, 77);
        ReadPresetRecord("$\tx\r\nA\t3\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(p.pieces, 200);
    }
    { // Frame: "J" 0 (older order) turns "Z" on; missing values.
        Block b(kFrameType);
        auto& p = b.as<FramePGParams>();
        ReadPresetRecord("$\tx\r\nJ\t0\r\nZ\t0\r\n", b.data(), 0);
        EXPECT_EQ(p.reverseOrder, 1);
        ReadPresetRecord("$\tx\r\nZ\t0\r\n", b.data(), 0);
        EXPECT_EQ(p.legacyOrder, 1);
        EXPECT_EQ(p.reverseOrder, 0);
        EXPECT_DOUBLE_EQ(p.outV, 0.1);
        EXPECT_EQ(p.seed, -1);
    }
    { // Galaxy: only the seed rule; -2 reads the record.
        Block b(kGalaxyType);
        ReadPresetRecord("$\tx\r\nA\t3\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(b.as<GalaxyPGParams>().arms, 3);
        EXPECT_EQ(b.as<GalaxyPGParams>().seed, -1);
    }
    { // Generation: record -2's distance follows its feed mode.
        Block b(kGenerationType);
        ReadPresetRecord("$\tx\r\nB\t1\r\nC\t5\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(b.as<GenerationPGParams>().distance, 30.0);
        ReadPresetRecord("$\tx\r\nB\t0\r\nC\t5\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(b.as<GenerationPGParams>().distance, 1.0);
        ReadPresetRecord("$\tx\r\nB\t1\r\nC\t5\r\n", b.data(), 0);
        EXPECT_EQ(b.as<GenerationPGParams>().distance, 5.0);
    }
    { // Symbol Path: "M" and "S4" missing give -1, "f3" 0, "f4" 1.
        Block b(kSymbolPathType);
        auto& p = b.as<MetaBrushPGParams>();
        p.fadeToColour = 0;
        ReadPresetRecord("$\tx\r\nA\t2\r\n", b.data(), 0);
        EXPECT_EQ(p.instanceCount, -1);
        EXPECT_EQ(p.seed, -1);
        EXPECT_EQ(p.fadeOpacity, 0);
        EXPECT_EQ(p.fadeToColour, 1);
        EXPECT_EQ(p.directionMode, 2);
        ReadPresetRecord("$\tx\r\nA\t2\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(p.directionMode, 0);
        EXPECT_EQ(p.fadeColour.kind, 5) << "the document's white";
        EXPECT_EQ(p.jitterRandom[8], 1);
        EXPECT_EQ(p.jitterPlusMinus[0], 1);
        std::string text;
        WritePresetRecord(text, b.data(), true);
        EXPECT_EQ(text.find("\r\nM\t"), std::string::npos) << "never in a preset file";
        WriteLiveObjectRecord(text, b.data(), kKindSymbolPath);
        EXPECT_NE(text.find("\r\nM\t0\r\n"), std::string::npos);
    }
    { // Neon: -2 reads nothing; missing values.
        Block b(kNeonType);
        auto& p = b.as<NeonPGParams>();
        ReadPresetRecord("$\tx\r\nA\t4\r\n", b.data(), 0);
        EXPECT_EQ(p.trackCount, 4);
        EXPECT_EQ(p.glowOn, 0);
        EXPECT_EQ(p.glowWidth, 0.5);
        ReadPresetRecord("$\tx\r\nA\t4\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(p.trackCount, 1);
        EXPECT_EQ(p.glowOn, 1);
    }
    { // Tiling: older layout without "L", "F2" copied, -2 zero spacing.
        Block b(kTilingType);
        auto& p = b.as<TilingPGParams>();
        ReadPresetRecord("$\tx\r\nC\t0\r\nD\t1.25\r\nE\t1.5\r\nF\t1\r\nG\t2\r\nI\t0\r\n", b.data(),
                         0);
        EXPECT_EQ(p.spacingH, 0.25);
        EXPECT_EQ(p.spacingV, 0.5);
        EXPECT_EQ(p.overlapV, 1);
        EXPECT_EQ(p.scaleHOn, 1);
        EXPECT_EQ(p.rotateHOn, 0);
        EXPECT_EQ(p.randomScaleMax, 1.5);
        ReadPresetRecord("$\tx\r\nC\t1\r\nD\t3\r\nE\t4\r\nL\t1\r\n", b.data(), 0);
        EXPECT_EQ(p.spacingH, 3);
        EXPECT_EQ(p.checkerboard, 1);
        ReadPresetRecord("$\tx\r\nC\t1\r\nD\t3\r\nE\t4\r\nL\t1\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(p.spacingH, 0);
        EXPECT_EQ(p.spacingV, 0);
    }
    { // Trail: "H" missing gives both colours the document's white.
        Block b(kTrailType);
        auto& p = b.as<TrailPGParams>();
        p.fillColour = ColorSpec{1, {1, 1, 1, 1}};
        p.endOpacity = 0.2;
        p.showCentre = 0;
        ReadPresetRecord("$\tx\r\nG\t1,0.5,0.5,0.5,0.5\r\n", b.data(), 0);
        EXPECT_EQ(p.fillColour.kind, 5);
        EXPECT_EQ(p.strokeColour.kind, 5);
        EXPECT_EQ(p.endOpacity, 1.0);
        EXPECT_EQ(p.showCentre, 1);
    }
    { // Fractalize: a new seed and "N" from "E" when missing.
        Block b(kFractalizeType);
        auto& p = b.as<FractalizeParams>();
        ReadPresetRecord("$\tx\r\nE\t12\r\nG\t1\r\n", b.data(), 0);
        EXPECT_EQ(p.seed, 0x1234);
        EXPECT_EQ(p.uneven_f, 1);
        EXPECT_EQ(p.reverseH, 1);
        EXPECT_EQ(p.unevenGen_f, 0);
        ReadPresetRecord("$\tx\r\nB\t50\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(p.genHeight, 100);
        EXPECT_EQ(p.unevenGen_f, 1);
    }
    { // Effects: -2 keeps "A"; Warp "F" missing or -2 gives 1.
        Block b(kWarpEffectType);
        auto& p = b.as<WarpEffectParams>();
        p.style = 7;
        ReadPresetRecord("$\tx\r\nA\t3\r\nF\t0\r\nC\t0.5\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(p.style, 7);
        EXPECT_EQ(p.perspective_f, 1);
        EXPECT_EQ(p.marginRatio, 0.5);
        ReadPresetRecord("$\tx\r\nA\t3\r\nF\t0\r\n", b.data(), 0);
        EXPECT_EQ(p.style, 3);
        EXPECT_EQ(p.perspective_f, 0);
        Block w(kWaveEffectType);
        w.as<WaveEffectParams>().style = 2;
        ReadPresetRecord("$\tx\r\nA\t4\r\n", w.data(), kRecordDefault);
        EXPECT_EQ(w.as<WaveEffectParams>().style, 2);
    }
    { // Tools: -2 keeps the mode and sets the steps to 4.
        Block b(kWarpToolType);
        auto& p = b.as<WarpToolParams>();
        p.type = 9;
        ReadPresetRecord("$\tx\r\nA\t2\r\nC\t0\r\nG\t99\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(p.type, 9);
        EXPECT_EQ(p.perspective, 1);
        EXPECT_EQ(p.steps, 4.0);
        ReadPresetRecord("$\tx\r\nA\t2\r\nG\t99\r\n", b.data(), 0);
        EXPECT_EQ(p.type, 2);
        EXPECT_EQ(p.perspective, 1) << "missing C";
        EXPECT_EQ(p.steps, 99);
        Block c(kCraftToolType);
        ReadPresetRecord("$\tx\r\nA\t1\r\nE\t5\r\n", c.data(), 0);
        EXPECT_EQ(c.as<CraftToolParams>().traceMode, 0) << "the sweep mode traces by the drag";
        Block br(kBroomToolType);
        ReadPresetRecord("$\tx\r\nA\t1\r\nF\t5\r\nI\t9\r\n", br.data(), kRecordDefault);
        EXPECT_EQ(br.as<BroomToolParams>().brushMode, 0);
        EXPECT_EQ(br.as<BroomToolParams>().traceMode, 5);
        EXPECT_EQ(br.as<BroomToolParams>().steps, 4.0);
        Block r(kRoughToolType);
        ReadPresetRecord("$\tx\r\nA\t1\r\nF\t9\r\n", r.data(), kRecordDefault);
        EXPECT_EQ(r.as<RoughToolParams>().shape, 1) << "Roughen reads every key";
        EXPECT_EQ(r.as<RoughToolParams>().steps, 4.0);
    }
    { // Global settings: missing or -2 give 0.
        Block b(kPrefsType);
        ReadPresetRecord("$\tx\r\nA\t1\r\nB\t1\r\n", b.data(), 0);
        EXPECT_EQ(b.as<PrefsParams>().flagA, 1);
        EXPECT_EQ(b.as<PrefsParams>().flagC, 0);
        ReadPresetRecord("$\tx\r\nA\t1\r\n", b.data(), kRecordDefault);
        EXPECT_EQ(b.as<PrefsParams>().flagA, 0);
    }
    CurrentPresetContext().documentWhite = nullptr;
    platform::SetTickSource({});
}

TEST(PresetText, UnknownTypesAndKinds) {
    std::vector<std::max_align_t> raw(sizeof(ParamHeader) / sizeof(std::max_align_t) + 1);
    auto& header = *reinterpret_cast<ParamHeader*>(raw.data());
    SetHeaderText(header.presetFile, "VERTiGON4_PST_TrailTool.txt");
    std::string text = "stale";
    WritePresetRecord(text, raw.data(), true);
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(ReadPresetRecord("$\t\r\nA\t1\r\n", raw.data(), 0));
    WriteLiveObjectRecord(text, raw.data(), -1);
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(ReadLiveObjectRecord("$\t\r\n", raw.data(), 15));
}

TEST(PresetText, TablesAreConsistent) {
    for (const PresetType* type : AllPresetTypes()) {
        SCOPED_TRACE(type->feature);
        EXPECT_EQ(FindPresetType(type->presetFile), type);
        EXPECT_EQ(PresetTypeOfFeature(type->feature), type);
        for (std::size_t i = 0; i < type->keys.size(); ++i) {
            const KeyField& f = type->keys[i];
            EXPECT_LE(f.offset + ValueSize(f.type), type->blockSize) << f.name;
            EXPECT_GE(f.offset, sizeof(ParamHeader)) << f.name;
            for (std::size_t j = i + 1; j < type->keys.size() && f.key != nullptr; ++j)
                if (type->keys[j].key != nullptr) {
                    EXPECT_STRNE(f.key, type->keys[j].key);
                }
        }
    }
    for (int k = 0; k < kLiveObjectKindCount; ++k)
        EXPECT_EQ(PresetTypeOfKind(k)->liveKind, k);
    EXPECT_EQ(FindPresetType("VERTiGON4_PST_3DCylinder.txt"), &k3DPathType);
}

} // namespace
} // namespace vtg

namespace vtg {
namespace {

TEST(FeatureListing, NamesEveryFeatureAndToolOfTheCommandLine) {
    std::string text = AllFeaturesListing();
    for (const char* name : {"live-3dpath",
                             "live-explosion",
                             "live-emboss",
                             "live-cutout",
                             "live-galaxy",
                             "live-circle",
                             "live-generation",
                             "live-shadow",
                             "live-symbolpath",
                             "live-tiling",
                             "live-trail",
                             "live-neon",
                             "live-frame",
                             "live-border",
                             "live-reflections",
                             "effect-multiwave",
                             "effect-lens",
                             "effect-warp",
                             "effect-fractalize",
                             "filter-fractalize",
                             "warp",
                             "wave",
                             "lens",
                             "craft",
                             "roughen",
                             "broom",
                             "3drotate"}) {
        std::string head = std::string(name) + "  ";
        EXPECT_TRUE(text.rfind(head, 0) == 0 || text.find("\n" + head) != std::string::npos)
            << name;
    }
    // Defaults are shown in the panel's unit.
    std::string circle = FeatureListing(kCircleType);
    EXPECT_NE(circle.find("anchorAngle"), std::string::npos);
    EXPECT_NE(circle.find("5 deg"), std::string::npos);
    EXPECT_NE(FeatureListing(kTilingType).find("150 %"), std::string::npos);
}

// Presets and stored records may hold "nan" or "inf": a number that is not
// finite becomes the field's nearest valid value (an infinity the end of
// the panel range on its side, NaN the default), so that no geometry is
// made from it.
TEST(PresetText, NonFiniteNumbersBecomeValidValues) {
    Block defaults(kCircleType);
    const CirclePGParams& d = defaults.as<CirclePGParams>();
    struct Case {
        const char* line;
        double CirclePGParams::*field;
        double expected;
    };
    const Case cases[] = {
        {"D\tnan\r\n", &CirclePGParams::offsetH, d.offsetH},
        {"D\t-nan\r\n", &CirclePGParams::offsetH, d.offsetH},
        {"E\tinf\r\n", &CirclePGParams::offsetV, 18000},
        {"E\t-infinity\r\n", &CirclePGParams::offsetV, -18000},
        {"G\t-inf\r\n", &CirclePGParams::heightRatio, 0.01},
        {"K\tinf\r\n", &CirclePGParams::anchorAngle, 2 * std::numbers::pi},
        {"J\t1e999\r\n", &CirclePGParams::anchorRadial, 40},
    };
    for (const Case& c : cases) {
        for (bool live : {false, true}) {
            Block b(kCircleType);
            const std::string text = std::string("$\tx\r\n") + c.line;
            ASSERT_TRUE(live ? ReadLiveObjectRecord(text, b.data(), kKindCircle)
                             : ReadPresetRecord(text, b.data(), 0));
            EXPECT_DOUBLE_EQ(b.as<CirclePGParams>().*c.field, c.expected) << c.line;
        }
    }
    // Points: each coordinate on its own.
    Block lens(kLensEffectType);
    const VtgPoint initial = lens.as<LensEffectParams>().centerRatio;
    ASSERT_TRUE(ReadPresetRecord("$\tx\r\nH\tinf,nan\r\nI\t-inf,2\r\n", lens.data(), 0));
    EXPECT_DOUBLE_EQ(lens.as<LensEffectParams>().centerRatio.x, 200);
    EXPECT_DOUBLE_EQ(lens.as<LensEffectParams>().centerRatio.y, initial.y);
    EXPECT_DOUBLE_EQ(lens.as<LensEffectParams>().sizeRatio.x, 0.01);
    EXPECT_DOUBLE_EQ(lens.as<LensEffectParams>().sizeRatio.y, 2);
}

} // namespace
} // namespace vtg
