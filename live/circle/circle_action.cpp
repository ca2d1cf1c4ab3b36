// Live Circle's recordable action "VtG4_Circle_Action".
#include <iterator>
#include <numbers>

#include "live/live_actions.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

const char* const kReferenceItems[9] = {"左上",   "中央上", "右上",   "中央左", "中央",
                                        "中央右", "左下",   "中央下", "右下"};

constexpr auto P = ActionParam;

const VtgActionParam kParams[] = {
    P("cpNm", kVtgActionInteger, "配置数: "),
    P("revF", kVtgActionBoolean, "反転: "),
    P("kpAg", kVtgActionBoolean, "角度を保つ: "),
    P("oInd", kVtgActionEnum, "基準点: "),
    P("hOfs", kVtgActionReal, "水平オフセット: "),
    P("vOfs", kVtgActionReal, "垂直オフセット: "),
    P("crsH", kVtgActionBoolean, "中心点を表示: "),
    P("ovlR", kVtgActionReal, "偏平率: "),
    P("rnSF", kVtgActionBoolean, "ランダム: "),
    P("pRHF", kVtgActionBoolean, "ランダム・アンカー H: "),
    P("pRrH", kVtgActionReal, "アンカー H: "),
    P("pRVF", kVtgActionBoolean, "ランダム・アンカー V: "),
    P("pRrV", kVtgActionReal, "アンカー V: "),
    P("iRHF", kVtgActionBoolean, "ランダム・in ハンドル H: "),
    P("iRrH", kVtgActionReal, "in ハンドル H: "),
    P("iRVF", kVtgActionBoolean, "ランダム・in ハンドル V: "),
    P("iRrV", kVtgActionReal, "in ハンドル V: "),
    P("oRHF", kVtgActionBoolean, "ランダム・out ハンドル H: "),
    P("oRrH", kVtgActionReal, "out ハンドル H: "),
    P("oRVF", kVtgActionBoolean, "ランダム・out ハンドル V: "),
    P("oRrV", kVtgActionReal, "out ハンドル V: "),
    P("odRF", kVtgActionBoolean, "ランダム・重ね順:"),
    P("rRnd", kVtgActionBoolean, "ランダムを再現: "),
};

// One randomised point: its two flags and two amounts, with their keys.
struct RandomKeys {
    uint32_t radialFlag, angleFlag, radial, angle;
    int32_t CirclePGParams::*radialOn;
    int32_t CirclePGParams::*angleOn;
    double CirclePGParams::*radialAmount;
    double CirclePGParams::*angleAmount;
};
const RandomKeys kRandom[] = {
    {ActionKey("pRHF"), ActionKey("pRVF"), ActionKey("pRrH"), ActionKey("pRrV"),
     &CirclePGParams::anchorRadialOn, &CirclePGParams::anchorAngleOn, &CirclePGParams::anchorRadial,
     &CirclePGParams::anchorAngle},
    {ActionKey("iRHF"), ActionKey("iRVF"), ActionKey("iRrH"), ActionKey("iRrV"),
     &CirclePGParams::inRadialOn, &CirclePGParams::inAngleOn, &CirclePGParams::inRadial,
     &CirclePGParams::inAngle},
    {ActionKey("oRHF"), ActionKey("oRVF"), ActionKey("oRrH"), ActionKey("oRrV"),
     &CirclePGParams::outRadialOn, &CirclePGParams::outAngleOn, &CirclePGParams::outRadial,
     &CirclePGParams::outAngle},
};

void Record(ActionWriter& out, const void* record) {
    const auto& p = *static_cast<const CirclePGParams*>(record);
    out.Integer(ActionKey("cpNm"), p.copies);
    out.Boolean(ActionKey("revF"), p.reverseOrder);
    out.Boolean(ActionKey("kpAg"), p.keepAngle);
    const int32_t ref = p.referencePoint >= 0 && p.referencePoint < 9 ? p.referencePoint : 0;
    out.Enum(ActionKey("oInd"), kReferenceItems[ref], p.referencePoint);
    out.Real(ActionKey("hOfs"), kUnitDistance, p.offsetH);
    out.Real(ActionKey("vOfs"), kUnitDistance, p.offsetV);
    out.Boolean(ActionKey("crsH"), p.showCentre);
    out.Real(ActionKey("ovlR"), kUnitPercent, p.heightRatio * 100);
    out.Boolean(ActionKey("rnSF"), p.randomOn);
    if (p.randomOn == 0)
        return;
    // The angular amounts go in degrees under the percent unit, as stored
    // actions have always had them.
    for (const RandomKeys& r : kRandom) {
        out.Boolean(r.radialFlag, p.*r.radialOn);
        out.Boolean(r.angleFlag, p.*r.angleOn);
        out.Real(r.radial, kUnitPercent, p.*r.radialAmount * 100);
        out.Real(r.angle, kUnitPercent, p.*r.angleAmount / kDeg);
    }
    out.Boolean(ActionKey("odRF"), p.randomOrder);
}

ErrorCode Play(const ActionReader& in, void* record) {
    auto& p = *static_cast<CirclePGParams*>(record);
    if (ErrorCode err = in.Integer(ActionKey("cpNm"), p.copies))
        return err;
    if (ErrorCode err = in.Boolean(ActionKey("revF"), p.reverseOrder))
        return err;
    if (ErrorCode err = in.Boolean(ActionKey("kpAg"), p.keepAngle))
        return err;
    if (ErrorCode err = in.Enum(ActionKey("oInd"), p.referencePoint))
        return err;
    if (p.referencePoint < 0 || p.referencePoint > 8)
        return kBadParameterErr; // a damaged block: there are nine reference points
    if (ErrorCode err = in.Real(ActionKey("hOfs"), p.offsetH))
        return err;
    if (ErrorCode err = in.Real(ActionKey("vOfs"), p.offsetV))
        return err;
    if (ErrorCode err = in.Boolean(ActionKey("crsH"), p.showCentre))
        return err;
    double ratio = 0;
    if (ErrorCode err = in.Real(ActionKey("ovlR"), ratio))
        return err;
    p.heightRatio = ratio / 100;
    if (in.Boolean(ActionKey("rnSF"), p.randomOn) != kNoErr)
        p.randomOn = 0;
    if (p.randomOn != 0) {
        // A missing flag is off; a missing amount is 10 (per cent or degrees).
        for (const RandomKeys& r : kRandom) {
            double radial = 10, angle = 10;
            if (in.Boolean(r.radialFlag, p.*r.radialOn) != kNoErr)
                p.*r.radialOn = 0;
            if (in.Boolean(r.angleFlag, p.*r.angleOn) != kNoErr)
                p.*r.angleOn = 0;
            if (in.Real(r.radial, radial) != kNoErr)
                radial = 10;
            if (in.Real(r.angle, angle) != kNoErr)
                angle = 10;
            p.*r.radialAmount = radial / 100;
            p.*r.angleAmount = angle * kDeg;
        }
        if (in.Boolean(ActionKey("odRF"), p.randomOrder) != kNoErr)
            p.randomOrder = 0;
    }
    p.seedFixed = 1;
    return kNoErr;
}

} // namespace

const LiveAction kCircleAction{kKindCircle,       3,       "VtG4_Circle_Action",
                               "ライブ サークル", kParams, std::size(kParams),
                               &Record,           &Play};

} // namespace vtg
