// Live Border's recordable action "VtG4_Border_Action".
#include <cstdlib>
#include <iterator>
#include <numbers>

#include "live/live_actions.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

const char* const kStyleItems[2] = {"外側", "内側"};
// The "step" text of the automatic modes 0 .. 2.
const char* const kAutoStepTexts[3] = {"自動（高密度）", "自動（中密度）", "自動（低密度）"};

constexpr auto P = ActionParam;

const VtgActionParam kParams[] = {
    P("styl", kVtgActionEnum, "スタイル: "),
    P("uCpF", kVtgActionEnum, "テキストやグループ内の重なりを結合する: "),
    P("atSS", kVtgActionBoolean, "自動線スタイル: "),
    P("brgt", kVtgActionReal, "階調カーブ: "),
    P("brtR", kVtgActionBoolean, "階調の反転: "),
    P("stSy", kVtgActionEnum, ""),
    P("step", kVtgActionString, "ステップ数: "),
    P("ofst", kVtgActionReal, "偏心量: "),
    P("angl", kVtgActionReal, "偏心方向: "),
    P("shdF", kVtgActionBoolean, "シャドウ: "),
    P("shdw", kVtgActionReal, "- 濃度: "),
    P("shOf", kVtgActionReal, "- オフセット: "),
    P("shAg", kVtgActionReal, "- 光源の方向: "),
};

void Record(ActionWriter& out, const void* record) {
    const auto& p = *static_cast<const BorderPGParams*>(record);
    out.Enum(ActionKey("styl"), kStyleItems[p.style == 1 ? 1 : 0], p.style);
    if (p.style == 1)
        out.Boolean(ActionKey("uCpF"), p.mergeOverlaps);
    out.Boolean(ActionKey("atSS"), p.autoLineStyle);
    out.Real(ActionKey("brgt"), kUnitPercent, p.gradeCurve * 100);
    out.Boolean(ActionKey("brtR"), p.invertGrade);
    out.Enum(ActionKey("stSy"), "", p.stepMode);
    if (p.stepMode == 3)
        out.String(ActionKey("step"), std::to_string(p.stepCount).c_str());
    else
        out.String(ActionKey("step"),
                   kAutoStepTexts[p.stepMode >= 0 && p.stepMode < 3 ? p.stepMode : 1]);
    out.Real(ActionKey("ofst"), kUnitPercent, p.eccentricity * 100);
    out.Real(ActionKey("angl"), kUnitAngle, p.eccentricAngle / kDeg);
    out.Boolean(ActionKey("shdF"), p.shadowOn);
    if (p.shadowOn == 0)
        return;
    out.Real(ActionKey("shdw"), kUnitPercent, p.shadowDensity * 100);
    out.Real(ActionKey("shOf"), kUnitDistance, p.shadowOffset);
    out.Real(ActionKey("shAg"), kUnitAngle, p.lightAngle / kDeg);
}

// The "step" text as a count: decimal digits, 1 .. 32767.
ErrorCode ParseStepCount(const std::string& text, int32_t& count) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end == nullptr || *end != '\0')
        return kBadParameterErr;
    count = n < 1 ? 1 : (n > 32767 ? 32767 : static_cast<int32_t>(n));
    return kNoErr;
}

ErrorCode Play(const ActionReader& in, void* record) {
    auto& p = *static_cast<BorderPGParams*>(record);
    if (ErrorCode err = in.Enum(ActionKey("styl"), p.style))
        return err;
    if (p.style != 0 && p.style != 1)
        return kBadParameterErr; // a damaged block: there are two styles
    if (p.style == 1) {
        // Recorded as a boolean, declared as an enumeration: either reads.
        if (in.Boolean(ActionKey("uCpF"), p.mergeOverlaps) != kNoErr &&
            in.Enum(ActionKey("uCpF"), p.mergeOverlaps) != kNoErr)
            p.mergeOverlaps = 0;
    }
    if (in.Boolean(ActionKey("atSS"), p.autoLineStyle) != kNoErr)
        p.autoLineStyle = 1;
    double curve = 0;
    if (ErrorCode err = in.Real(ActionKey("brgt"), curve))
        return err;
    p.gradeCurve = curve / 100;
    if (ErrorCode err = in.Boolean(ActionKey("brtR"), p.invertGrade))
        return err;
    int32_t mode = p.stepMode;
    if (in.Enum(ActionKey("stSy"), mode) == kNoErr && mode >= 0 && mode <= 3)
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
    double value = 0;
    if (ErrorCode err = in.Real(ActionKey("ofst"), value))
        return err;
    p.eccentricity = value / 100;
    if (ErrorCode err = in.Real(ActionKey("angl"), value))
        return err;
    p.eccentricAngle = value * kDeg;
    if (ErrorCode err = in.Boolean(ActionKey("shdF"), p.shadowOn))
        return err;
    if (p.shadowOn != 0) {
        if (ErrorCode err = in.Real(ActionKey("shdw"), value))
            return err;
        p.shadowDensity = value / 100;
        if (ErrorCode err = in.Real(ActionKey("shOf"), p.shadowOffset))
            return err;
        if (ErrorCode err = in.Real(ActionKey("shAg"), value))
            return err;
        p.lightAngle = value * kDeg;
    }
    return kNoErr;
}

} // namespace

// The title is the one stored actions have always shown.
const LiveAction kBorderAction{kKindBorder,       2,       "VtG4_Border_Action",
                               "ライブ ボーター", kParams, std::size(kParams),
                               &Record,           &Play};

} // namespace vtg
