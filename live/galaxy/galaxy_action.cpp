// Live Galaxy's recordable action "VtG4_Galaxy_Action".
#include <iterator>
#include <numbers>

#include "live/live_actions.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

const char* const kStackingItems[2] = {"上積み", "下積み"};

constexpr auto P = ActionParam;

const VtgActionParam kParams[] = {
    P("cpNm", kVtgActionInteger, "枝の数: "),
    P("rAng", kVtgActionReal, "方向のゆれ: "),
    P("sgNm", kVtgActionInteger, "枝の要素数: "),
    P("segR", kVtgActionReal, "枝のよれ: "),
    P("sAng", kVtgActionReal, "枝のひねり角: "),
    P("sAgR", kVtgActionReal, "ひねり角のゆれ: "),
    P("kpAg", kVtgActionBoolean, "角度を保つ: "),
    P("mnRd", kVtgActionReal, "中心部の半径: "),
    P("nRdR", kVtgActionReal, "半径のゆれ: "),
    P("crsH", kVtgActionBoolean, "中心点を表示: "),
    P("mxRd", kVtgActionReal, "広がり: "),
    P("xRdR", kVtgActionReal, "広がりのゆれ: "),
    P("pers", kVtgActionReal, "先端のサイズ: "),
    P("rSiz", kVtgActionReal, "サイズのゆれ: "),
    P("styl", kVtgActionEnum, "重ね方: "),
    P("rRnd", kVtgActionBoolean, "ランダムを再現: "),
    P("seed", kVtgActionInteger, ""),
};

void Record(ActionWriter& out, const void* record) {
    const auto& p = *static_cast<const GalaxyPGParams*>(record);
    out.Integer(ActionKey("cpNm"), p.arms);
    out.Real(ActionKey("rAng"), kUnitAngle, p.directionJitter / kDeg);
    out.Integer(ActionKey("sgNm"), p.elements);
    out.Real(ActionKey("segR"), kUnitAngle, p.kinkJitter / kDeg);
    out.Real(ActionKey("sAng"), kUnitAngle, p.twist / kDeg);
    out.Real(ActionKey("sAgR"), kUnitAngle, p.twistJitter / kDeg);
    out.Boolean(ActionKey("kpAg"), p.keepAngle);
    out.Real(ActionKey("mnRd"), kUnitDistance, p.centreRadius);
    out.Real(ActionKey("nRdR"), kUnitDistance, p.radiusJitter);
    out.Boolean(ActionKey("crsH"), p.showCentre);
    out.Real(ActionKey("mxRd"), kUnitDistance, p.spread);
    out.Real(ActionKey("xRdR"), kUnitDistance, p.spreadJitter);
    out.Real(ActionKey("pers"), kUnitPercent, p.tipSize * 100);
    out.Real(ActionKey("rSiz"), kUnitPercent, p.sizeJitter * 100);
    const int32_t stacking = p.stacking == 1 ? 1 : 0;
    out.Enum(ActionKey("styl"), kStackingItems[stacking], stacking);
    out.Integer(ActionKey("seed"), p.seed);
}

ErrorCode Play(const ActionReader& in, void* record) {
    auto& p = *static_cast<GalaxyPGParams*>(record);
    auto real = [&](const char(&key)[5], double& field, double scale) {
        double v = 0;
        if (ErrorCode err = in.Real(ActionKey(key), v))
            return err;
        field = v * scale;
        return kNoErr;
    };
    if (ErrorCode err = in.Integer(ActionKey("cpNm"), p.arms))
        return err;
    if (ErrorCode err = real("rAng", p.directionJitter, kDeg))
        return err;
    if (ErrorCode err = in.Integer(ActionKey("sgNm"), p.elements))
        return err;
    if (ErrorCode err = real("segR", p.kinkJitter, kDeg))
        return err;
    if (ErrorCode err = real("sAng", p.twist, kDeg))
        return err;
    if (ErrorCode err = real("sAgR", p.twistJitter, kDeg))
        return err;
    if (ErrorCode err = in.Boolean(ActionKey("kpAg"), p.keepAngle))
        return err;
    if (ErrorCode err = real("mnRd", p.centreRadius, 1))
        return err;
    if (ErrorCode err = real("nRdR", p.radiusJitter, 1))
        return err;
    if (ErrorCode err = in.Boolean(ActionKey("crsH"), p.showCentre))
        return err;
    if (ErrorCode err = real("mxRd", p.spread, 1))
        return err;
    if (ErrorCode err = real("xRdR", p.spreadJitter, 1))
        return err;
    if (ErrorCode err = real("pers", p.tipSize, 0.01))
        return err;
    if (ErrorCode err = real("rSiz", p.sizeJitter, 0.01))
        return err;
    if (ErrorCode err = in.Enum(ActionKey("styl"), p.stacking))
        return err;
    if (p.stacking < 0 || p.stacking > 1)
        return kBadParameterErr; // a damaged block: there are two ways to stack
    // The recorded seed reproduces the recorded randomisation.
    p.seedFixed = 1;
    return in.Integer(ActionKey("seed"), p.seed);
}

} // namespace

const LiveAction kGalaxyAction{
    kKindGalaxy, 8,    "VtG4_Galaxy_Action", "ライブ ギャラクシー", kParams, std::size(kParams),
    &Record,     &Play};

} // namespace vtg
