// Live Neon's recordable action "VtG4_Neon_Action".
#include <cstdlib>
#include <iterator>
#include <numbers>
#include <string>

#include "live/live_actions.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// The "step" text of the automatic modes 0 .. 2.
const char* const kAutoStepTexts[3] = {"自動（高密度）", "自動（中密度）", "自動（低密度）"};

constexpr auto P = ActionParam;

const VtgActionParam kParams[] = {
    P("uCpF", kVtgActionInteger, "テキストやグループ内の重なりを結合する: "),
    P("atSS", kVtgActionBoolean, "自動線スタイル: "),
    P("trck", kVtgActionInteger, "トラック数: "),
    P("brgt", kVtgActionReal, "階調カーブ: "),
    P("cntr", kVtgActionReal, "コントラスト: "),
    P("stSy", kVtgActionEnum, ""),
    P("step", kVtgActionString, "ステップ数: "),
    P("ofst", kVtgActionReal, "偏心量: "),
    P("angl", kVtgActionReal, "偏心方向: "),
    P("lusF", kVtgActionBoolean, "発光: "),
    P("lusR", kVtgActionReal, "- 幅: "),
    P("lusB", kVtgActionReal, "- 階調カーブ: "),
    P("lusC", kVtgActionReal, "- コントラスト: "),
    P("shdF", kVtgActionBoolean, "シャドウ: "),
    P("shdw", kVtgActionReal, "- 濃度: "),
    P("shRF", kVtgActionBoolean, "- 階調の反転: "),
    P("shOf", kVtgActionReal, "- オフセット: "),
    P("shAg", kVtgActionReal, "- 光源の方向: "),
};

void Record(ActionWriter& out, const void* record) {
    const auto& p = *static_cast<const NeonPGParams*>(record);
    out.Boolean(ActionKey("uCpF"), p.mergeOverlaps);
    out.Boolean(ActionKey("atSS"), p.autoLineStyle);
    out.Integer(ActionKey("trck"), p.trackCount);
    out.Real(ActionKey("brgt"), kUnitPercent, p.gradeCurve * 100);
    out.Real(ActionKey("cntr"), kUnitPercent, p.contrast * 100);
    out.Enum(ActionKey("stSy"), "", p.stepMode);
    if (p.stepMode == 3)
        out.String(ActionKey("step"), std::to_string(p.stepCount).c_str());
    else
        out.String(ActionKey("step"),
                   kAutoStepTexts[p.stepMode >= 0 && p.stepMode < 3 ? p.stepMode : 1]);
    out.Real(ActionKey("ofst"), kUnitPercent, p.eccentricity * 100);
    out.Real(ActionKey("angl"), kUnitAngle, p.eccentricAngle / kDeg);
    out.Boolean(ActionKey("lusF"), p.glowOn);
    if (p.glowOn != 0) {
        out.Real(ActionKey("lusR"), kUnitPercent, p.glowWidth * 100);
        out.Real(ActionKey("lusB"), kUnitPercent, p.glowCurve * 100);
        out.Real(ActionKey("lusC"), kUnitPercent, p.glowContrast * 100);
    }
    out.Boolean(ActionKey("shdF"), p.shadowOn);
    if (p.shadowOn == 0)
        return;
    out.Real(ActionKey("shdw"), kUnitPercent, p.shadowDensity * 100);
    out.Boolean(ActionKey("shRF"), p.shadowInvert);
    out.Real(ActionKey("shOf"), kUnitDistance, p.shadowOffset);
    out.Real(ActionKey("shAg"), kUnitAngle, p.lightAngle / kDeg);
}

// The "step" text as a count: decimal digits, 2 .. 32767.
ErrorCode ParseStepCount(const std::string& text, int32_t& count) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end == nullptr || *end != '\0')
        return kBadParameterErr;
    count = n < 2 ? 2 : (n > 32767 ? 32767 : static_cast<int32_t>(n));
    return kNoErr;
}

// A percentage read into a fraction; `fallback` (a fraction) when missing.
void OptionalPercent(const ActionReader& in, uint32_t key, double& field, double fallback) {
    double value = 0;
    field = in.Real(key, value) == kNoErr ? value / 100 : fallback;
}

ErrorCode Play(const ActionReader& in, void* record) {
    auto& p = *static_cast<NeonPGParams*>(record);
    // Recorded as a boolean, declared as an integer: either reads.
    if (in.Boolean(ActionKey("uCpF"), p.mergeOverlaps) != kNoErr &&
        in.Integer(ActionKey("uCpF"), p.mergeOverlaps) != kNoErr)
        p.mergeOverlaps = 0;
    if (in.Boolean(ActionKey("atSS"), p.autoLineStyle) != kNoErr)
        p.autoLineStyle = 1;
    int32_t tracks = 1;
    if (ErrorCode err = in.Integer(ActionKey("trck"), tracks))
        return err;
    p.trackCount = tracks < 1 ? 1 : (tracks > 32767 ? 32767 : tracks);
    double value = 0;
    if (ErrorCode err = in.Real(ActionKey("brgt"), value))
        return err;
    p.gradeCurve = value / 100;
    if (ErrorCode err = in.Real(ActionKey("cntr"), value))
        return err;
    p.contrast = value / 100;
    int32_t mode = p.stepMode;
    if (ErrorCode err = in.Enum(ActionKey("stSy"), mode))
        return err;
    if (mode < 0 || mode > 3)
        return kBadParameterErr; // a damaged block: there are four modes
    p.stepMode = mode;
    if (p.stepMode == 3) {
        std::string text;
        if (ErrorCode err = in.String(ActionKey("step"), text))
            return err;
        if (ErrorCode err = ParseStepCount(text, p.stepCount))
            return err;
    } else {
        p.stepCount = 3;
    }
    if (ErrorCode err = in.Real(ActionKey("ofst"), value))
        return err;
    p.eccentricity = value / 100;
    if (ErrorCode err = in.Real(ActionKey("angl"), value))
        return err;
    p.eccentricAngle = value * kDeg;
    if (in.Boolean(ActionKey("lusF"), p.glowOn) != kNoErr)
        p.glowOn = 0;
    if (p.glowOn != 0) {
        OptionalPercent(in, ActionKey("lusR"), p.glowWidth, 0.5);
        OptionalPercent(in, ActionKey("lusB"), p.glowCurve, 0);
        OptionalPercent(in, ActionKey("lusC"), p.glowContrast, 0.5);
    }
    if (ErrorCode err = in.Boolean(ActionKey("shdF"), p.shadowOn))
        return err;
    if (p.shadowOn != 0) {
        if (ErrorCode err = in.Real(ActionKey("shdw"), value))
            return err;
        p.shadowDensity = value / 100;
        if (ErrorCode err = in.Boolean(ActionKey("shRF"), p.shadowInvert))
            return err;
        if (ErrorCode err = in.Real(ActionKey("shOf"), p.shadowOffset))
            return err;
        if (ErrorCode err = in.Real(ActionKey("shAg"), value))
            return err;
        p.lightAngle = value * kDeg;
    }
    return kNoErr;
}

} // namespace

const LiveAction kNeonAction{kKindNeon,       10,      "VtG4_Neon_Action",
                             "ライブ ネオン", kParams, std::size(kParams),
                             &Record,         &Play};

} // namespace vtg
