// Live Cutout's and Live Shadow's recordable actions "VtG4_Cutout_Action"
// and "VtG4_DropShadow_Action".
#include <iterator>
#include <numbers>

#include "live/live_actions.hpp"
#include "params/live_params.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

constexpr auto P = ActionParam;

const VtgActionParam kCutoutParams[] = {
    P("shad", kVtgActionReal, "シェード: "),
    P("ofst", kVtgActionReal, "オフセット: "),
    P("angl", kVtgActionReal, "光源の方向: "),
    P("step", kVtgActionInteger, "ステップ数: "),
};

const VtgActionParam kShadowParams[] = {
    P("dnst", kVtgActionReal, "シェード: "),
    P("ofst", kVtgActionReal, "オフセット: "),
    P("angl", kVtgActionReal, "光源の方向: "),
    P("tpcy", kVtgActionReal, "透過率: "),
};

void RecordCutout(ActionWriter& out, const void* record) {
    const auto& p = *static_cast<const CutoutPGParams*>(record);
    out.Real(ActionKey("shad"), kUnitPercent, p.shade * 100);
    out.Real(ActionKey("ofst"), kUnitDistance, p.offset);
    out.Real(ActionKey("angl"), kUnitAngle, p.lightAngle / kDeg);
    out.Integer(ActionKey("step"), p.steps);
}

ErrorCode PlayCutout(const ActionReader& in, void* record) {
    auto& p = *static_cast<CutoutPGParams*>(record);
    double value = 0;
    if (ErrorCode err = in.Real(ActionKey("shad"), value))
        return err;
    p.shade = value / 100;
    if (ErrorCode err = in.Real(ActionKey("ofst"), p.offset))
        return err;
    if (ErrorCode err = in.Real(ActionKey("angl"), value))
        return err;
    p.lightAngle = value * kDeg;
    return in.Integer(ActionKey("step"), p.steps);
}

void RecordShadow(ActionWriter& out, const void* record) {
    const auto& p = *static_cast<const ShadowPGParams*>(record);
    out.Real(ActionKey("dnst"), kUnitPercent, p.shade * 100);
    out.Real(ActionKey("ofst"), kUnitDistance, p.offset);
    out.Real(ActionKey("angl"), kUnitAngle, p.lightAngle / kDeg);
    out.Real(ActionKey("tpcy"), kUnitPercent, p.transparency * 100);
}

ErrorCode PlayShadow(const ActionReader& in, void* record) {
    auto& p = *static_cast<ShadowPGParams*>(record);
    double value = 0;
    if (ErrorCode err = in.Real(ActionKey("dnst"), value))
        return err;
    p.shade = value / 100;
    if (ErrorCode err = in.Real(ActionKey("ofst"), p.offset))
        return err;
    if (ErrorCode err = in.Real(ActionKey("angl"), value))
        return err;
    p.lightAngle = value * kDeg;
    if (ErrorCode err = in.Real(ActionKey("tpcy"), value))
        return err;
    p.transparency = value / 100;
    return kNoErr;
}

} // namespace

const LiveAction kCutoutAction{kKindCutout,          4,
                               "VtG4_Cutout_Action", "ライブ カットアウト",
                               kCutoutParams,        std::size(kCutoutParams),
                               &RecordCutout,        &PlayCutout};

const LiveAction kShadowAction{kKindShadow,
                               12,
                               "VtG4_DropShadow_Action",
                               "ライブ シャドウ",
                               kShadowParams,
                               std::size(kShadowParams),
                               &RecordShadow,
                               &PlayShadow};

} // namespace vtg
