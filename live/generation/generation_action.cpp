// Live Generation's recordable action "VtG4_Generation_Action".
#include <iterator>
#include <numbers>

#include "live/live_actions.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

const char* const kStackingItems[2] = {"上積み", "下積み"};

constexpr auto P = ActionParam;

const VtgActionParam kParams[] = {
    P("cpyN", kVtgActionInteger, "数量: "), P("mvSt", kVtgActionInteger, ""),
    P("move", kVtgActionReal, "送り量: "),  P("sizR", kVtgActionReal, "変化率: "),
    P("angl", kVtgActionReal, "方向: "),    P("rotR", kVtgActionReal, "方向変化量: "),
    P("styl", kVtgActionEnum, "重ね方: "),
};

void Record(ActionWriter& out, const void* record) {
    const auto& p = *static_cast<const GenerationPGParams*>(record);
    out.Integer(ActionKey("cpyN"), p.count);
    out.Integer(ActionKey("mvSt"), p.feedMode);
    if (p.feedMode == 0)
        out.Real(ActionKey("move"), kUnitPercent, p.distance * 100);
    else
        out.Real(ActionKey("move"), kUnitDistance, p.distance);
    out.Real(ActionKey("sizR"), kUnitPercent, p.rate * 100);
    out.Real(ActionKey("angl"), kUnitAngle, p.direction / kDeg);
    out.Real(ActionKey("rotR"), kUnitAngle, p.directionChange / kDeg);
    out.Enum(ActionKey("styl"), kStackingItems[p.stacking == 1 ? 1 : 0], p.stacking);
}

ErrorCode Play(const ActionReader& in, void* record) {
    auto& p = *static_cast<GenerationPGParams*>(record);
    if (ErrorCode err = in.Integer(ActionKey("cpyN"), p.count))
        return err;
    if (ErrorCode err = in.Integer(ActionKey("mvSt"), p.feedMode))
        return err;
    double v = 0;
    if (ErrorCode err = in.Real(ActionKey("move"), v))
        return err;
    p.distance = p.feedMode == 0 ? v / 100 : v;
    if (ErrorCode err = in.Real(ActionKey("sizR"), v))
        return err;
    p.rate = v / 100;
    if (ErrorCode err = in.Real(ActionKey("angl"), v))
        return err;
    p.direction = v * kDeg;
    if (ErrorCode err = in.Real(ActionKey("rotR"), v))
        return err;
    p.directionChange = v * kDeg;
    return in.Enum(ActionKey("styl"), p.stacking);
}

} // namespace

const LiveAction kGenerationAction{kKindGeneration,
                                   9,
                                   "VtG4_Generation_Action",
                                   "ライブ ジェネレーション",
                                   kParams,
                                   std::size(kParams),
                                   &Record,
                                   &Play};

} // namespace vtg
