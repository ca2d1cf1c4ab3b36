// Live Explosion's recordable action "VtG4_Explosion_Action".
#include <iterator>
#include <numbers>

#include "live/live_actions.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

const char* const kSpacingItems[3] = {"減速", "等速", "加速"};
const char* const kFadeItems[3] = {"内側へ", "外側へ", "ランダム"};

constexpr auto P = ActionParam;

const VtgActionParam kParams[] = {
    P("cpNm", kVtgActionInteger, "数量: "),
    P("rAng", kVtgActionReal, "放射角のゆれ: "),
    P("kpAg", kVtgActionBoolean, "角度を保つ: "),
    P("rdus", kVtgActionReal, "中心部の半径: "),
    P("rRng", kVtgActionReal, "広がり: "),
    P("stKd", kVtgActionEnum, "間隔: "),
    P("crsH", kVtgActionBoolean, "中心点を表示: "),
    P("pers", kVtgActionReal, "先端のサイズ: "),
    P("trpS", kVtgActionEnum, "透明化: "),
    P("opaq", kVtgActionReal, "- 不透明度: "),
    P("rRnd", kVtgActionBoolean, "ランダムを再現: "),
    P("seed", kVtgActionInteger, ""),
};

void Record(ActionWriter& out, const void* record) {
    const auto& p = *static_cast<const ExplosionPGParams*>(record);
    out.Integer(ActionKey("cpNm"), p.pieces);
    out.Real(ActionKey("rAng"), kUnitAngle, p.directionJitter / kDeg);
    out.Boolean(ActionKey("kpAg"), p.keepAngle);
    out.Real(ActionKey("rdus"), kUnitDistance, p.centreRadius);
    out.Real(ActionKey("rRng"), kUnitDistance, p.spread);
    out.Boolean(ActionKey("crsH"), p.showCentre);
    const int32_t spacing = p.spacing >= 0 && p.spacing < 3 ? p.spacing : 1;
    out.Enum(ActionKey("stKd"), kSpacingItems[spacing], spacing);
    out.Real(ActionKey("pers"), kUnitPercent, p.tipSize * 100);
    const int32_t fade = p.fadeMode >= 0 && p.fadeMode < 3 ? p.fadeMode : 0;
    out.Enum(ActionKey("trpS"), kFadeItems[fade], fade);
    out.Real(ActionKey("opaq"), kUnitPercent, p.opacity * 100);
    out.Integer(ActionKey("seed"), p.seed);
}

ErrorCode Play(const ActionReader& in, void* record) {
    auto& p = *static_cast<ExplosionPGParams*>(record);
    auto real = [&](const char(&key)[5], double& field, double scale) {
        double v = 0;
        if (ErrorCode err = in.Real(ActionKey(key), v))
            return err;
        field = v * scale;
        return kNoErr;
    };
    if (ErrorCode err = in.Integer(ActionKey("cpNm"), p.pieces))
        return err;
    if (ErrorCode err = real("rAng", p.directionJitter, kDeg))
        return err;
    if (ErrorCode err = in.Boolean(ActionKey("kpAg"), p.keepAngle))
        return err;
    if (ErrorCode err = real("rdus", p.centreRadius, 1))
        return err;
    if (ErrorCode err = real("rRng", p.spread, 1))
        return err;
    if (ErrorCode err = in.Boolean(ActionKey("crsH"), p.showCentre))
        return err;
    if (ErrorCode err = in.Enum(ActionKey("stKd"), p.spacing))
        return err;
    if (p.spacing < 0 || p.spacing > 2)
        return kBadParameterErr; // a damaged block: there are three spacings
    if (ErrorCode err = real("pers", p.tipSize, 0.01))
        return err;
    // The fading came later: a recording without it fades inwards to 0 %.
    if (in.Enum(ActionKey("trpS"), p.fadeMode) != kNoErr)
        p.fadeMode = 0;
    if (p.fadeMode < 0 || p.fadeMode > 2)
        return kBadParameterErr;
    if (real("opaq", p.opacity, 0.01) != kNoErr)
        p.opacity = 0;
    // The recorded seed reproduces the recorded randomisation.
    p.seedFixed = 1;
    return in.Integer(ActionKey("seed"), p.seed);
}

} // namespace

const LiveAction kExplosionAction{kKindExplosion,
                                  6,
                                  "VtG4_Explosion_Action",
                                  "ライブ エクスプロージョン",
                                  kParams,
                                  std::size(kParams),
                                  &Record,
                                  &Play};

} // namespace vtg
