// Live Emboss's recordable action "VtG4_Emboss_Action".
#include <iterator>
#include <numbers>

#include "live/live_actions.hpp"
#include "params/live_params.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

const char* const kStyleItems[3] = {"通常", "明部のみ", "暗部のみ"};

constexpr auto P = ActionParam;

const VtgActionParam kParams[] = {
    P("emSt", kVtgActionEnum, "スタイル: "),   P("cntr", kVtgActionReal, "コントラスト: "),
    P("ofst", kVtgActionReal, "オフセット: "), P("angl", kVtgActionReal, "光源の方向: "),
    P("rvrs", kVtgActionBoolean, "反転: "),    P("step", kVtgActionInteger, "ステップ数: "),
};

void Record(ActionWriter& out, const void* record) {
    const auto& p = *static_cast<const EmbossPGParams*>(record);
    const int32_t style = p.embossStyle >= 0 && p.embossStyle <= 2 ? p.embossStyle : 0;
    out.Enum(ActionKey("emSt"), kStyleItems[style], style);
    out.Real(ActionKey("cntr"), kUnitPercent, p.contrast * 100);
    out.Real(ActionKey("ofst"), kUnitDistance, p.offset);
    out.Real(ActionKey("angl"), kUnitAngle, p.lightAngle / kDeg);
    out.Boolean(ActionKey("rvrs"), p.reverse);
    out.Integer(ActionKey("step"), p.steps);
}

ErrorCode Play(const ActionReader& in, void* record) {
    auto& p = *static_cast<EmbossPGParams*>(record);
    if (ErrorCode err = in.Enum(ActionKey("emSt"), p.embossStyle))
        return err;
    if (p.embossStyle < 0 || p.embossStyle > 2)
        return kBadParameterErr; // a damaged block: there are three styles
    double value = 0;
    if (ErrorCode err = in.Real(ActionKey("cntr"), value))
        return err;
    p.contrast = value / 100;
    if (ErrorCode err = in.Real(ActionKey("ofst"), p.offset))
        return err;
    if (ErrorCode err = in.Real(ActionKey("angl"), value))
        return err;
    p.lightAngle = value * kDeg;
    if (ErrorCode err = in.Boolean(ActionKey("rvrs"), p.reverse))
        return err;
    return in.Integer(ActionKey("step"), p.steps);
}

} // namespace

const LiveAction kEmbossAction{kKindEmboss,       5,       "VtG4_Emboss_Action",
                               "ライブ エンボス", kParams, std::size(kParams),
                               &Record,           &Play};

} // namespace vtg
