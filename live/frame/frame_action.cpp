// Live Frame's recordable action "VtG4_Frame_Action".
#include <iterator>

#include "live/live_actions.hpp"

namespace vtg {

namespace {

const char* const kDirectionItems[2] = {"時計回り", "反時計回り"};

constexpr auto P = ActionParam;

// "revF" is recorded and read but, as stored actions have it, not declared.
const VtgActionParam kParams[] = {
    P("hCpy", kVtgActionInteger, "水平サイド配置数: "),
    P("vCpy", kVtgActionInteger, "垂直サイド配置数: "),
    P("kpAg", kVtgActionBoolean, "角度を保つ: "),
    P("mvSt", kVtgActionInteger, ""),
    P("move", kVtgActionReal, "送り量（サイド）: "),
    P("cMov", kVtgActionReal, "送り量（コーナー）: "),
    P("styl", kVtgActionReal, "コーナーオフセット: "),
    P("cnAr", kVtgActionBoolean, "コーナーに配置: "),
    P("rund", kVtgActionEnum, "回り方: "),
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
};

// One randomised point: its two flags and two amounts, with their keys.
struct RandomKeys {
    uint32_t hFlag, vFlag, h, v;
    int32_t FramePGParams::*hOn;
    int32_t FramePGParams::*vOn;
    double FramePGParams::*hAmount;
    double FramePGParams::*vAmount;
};
const RandomKeys kRandom[] = {
    {ActionKey("pRHF"), ActionKey("pRVF"), ActionKey("pRrH"), ActionKey("pRrV"),
     &FramePGParams::anchorHOn, &FramePGParams::anchorVOn, &FramePGParams::anchorH,
     &FramePGParams::anchorV},
    {ActionKey("iRHF"), ActionKey("iRVF"), ActionKey("iRrH"), ActionKey("iRrV"),
     &FramePGParams::inHOn, &FramePGParams::inVOn, &FramePGParams::inH, &FramePGParams::inV},
    {ActionKey("oRHF"), ActionKey("oRVF"), ActionKey("oRrH"), ActionKey("oRrV"),
     &FramePGParams::outHOn, &FramePGParams::outVOn, &FramePGParams::outH, &FramePGParams::outV},
};

void Record(ActionWriter& out, const void* record) {
    const auto& p = *static_cast<const FramePGParams*>(record);
    out.Integer(ActionKey("hCpy"), p.hCount);
    out.Integer(ActionKey("vCpy"), p.vCount);
    out.Boolean(ActionKey("revF"), p.reverseOrder);
    out.Boolean(ActionKey("kpAg"), p.keepAngle);
    out.Integer(ActionKey("mvSt"), p.feedMode);
    // Relative feeds go in percent, distances in points.
    const bool relative = p.feedMode == 0;
    out.Real(ActionKey("move"), relative ? kUnitPercent : kUnitDistance,
             relative ? p.sideFeed * 100 : p.sideFeed);
    out.Real(ActionKey("cMov"), relative ? kUnitPercent : kUnitDistance,
             relative ? p.cornerFeed * 100 : p.cornerFeed);
    out.Real(ActionKey("styl"), kUnitPercent, p.cornerOffset * 100);
    out.Boolean(ActionKey("cnAr"), p.placeCorners);
    const int32_t direction = p.direction != 0 ? 1 : 0;
    out.Enum(ActionKey("rund"), kDirectionItems[direction], direction);
    out.Boolean(ActionKey("rnSF"), p.randomOn);
    if (p.randomOn == 0)
        return;
    for (const RandomKeys& r : kRandom) {
        out.Boolean(r.hFlag, p.*r.hOn);
        out.Boolean(r.vFlag, p.*r.vOn);
        out.Real(r.h, kUnitPercent, p.*r.hAmount * 100);
        out.Real(r.v, kUnitPercent, p.*r.vAmount * 100);
    }
    out.Boolean(ActionKey("odRF"), p.randomOrder);
}

ErrorCode Play(const ActionReader& in, void* record) {
    auto& p = *static_cast<FramePGParams*>(record);
    if (ErrorCode err = in.Integer(ActionKey("hCpy"), p.hCount))
        return err;
    if (ErrorCode err = in.Integer(ActionKey("vCpy"), p.vCount))
        return err;
    if (ErrorCode err = in.Boolean(ActionKey("revF"), p.reverseOrder))
        return err;
    if (ErrorCode err = in.Boolean(ActionKey("kpAg"), p.keepAngle))
        return err;
    if (ErrorCode err = in.Integer(ActionKey("mvSt"), p.feedMode))
        return err;
    if (p.feedMode < 0 || p.feedMode > 1)
        return kBadParameterErr; // a damaged block: there are two feed modes
    const double scale = p.feedMode == 0 ? 0.01 : 1;
    double side = 0, corner = 0, offset = 0;
    if (ErrorCode err = in.Real(ActionKey("move"), side))
        return err;
    if (ErrorCode err = in.Real(ActionKey("cMov"), corner))
        return err;
    if (ErrorCode err = in.Real(ActionKey("styl"), offset))
        return err;
    p.sideFeed = side * scale;
    p.cornerFeed = corner * scale;
    p.cornerOffset = offset / 100;
    if (ErrorCode err = in.Boolean(ActionKey("cnAr"), p.placeCorners))
        return err;
    if (ErrorCode err = in.Enum(ActionKey("rund"), p.direction))
        return err;
    if (p.direction < 0 || p.direction > 1)
        return kBadParameterErr;
    if (in.Boolean(ActionKey("rnSF"), p.randomOn) != kNoErr)
        p.randomOn = 0;
    if (p.randomOn != 0) {
        // A missing flag is off; a missing amount is 10 %.
        for (const RandomKeys& r : kRandom) {
            double h = 10, v = 10;
            if (in.Boolean(r.hFlag, p.*r.hOn) != kNoErr)
                p.*r.hOn = 0;
            if (in.Boolean(r.vFlag, p.*r.vOn) != kNoErr)
                p.*r.vOn = 0;
            if (in.Real(r.h, h) != kNoErr)
                h = 10;
            if (in.Real(r.v, v) != kNoErr)
                v = 10;
            p.*r.hAmount = h / 100;
            p.*r.vAmount = v / 100;
        }
        if (in.Boolean(ActionKey("odRF"), p.randomOrder) != kNoErr)
            p.randomOrder = 0;
    }
    p.seedFixed = 1;
    return kNoErr;
}

} // namespace

const LiveAction kFrameAction{kKindFrame,        7,       "VtG4_Frame_Action",
                              "ライブ フレーム", kParams, std::size(kParams),
                              &Record,           &Play};

} // namespace vtg
