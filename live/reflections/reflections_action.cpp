// Live Reflections' recordable action "VtG4_Reflections_Action".
#include <iterator>

#include "live/live_actions.hpp"

namespace vtg {

namespace {

const char* const kStyleItems[4] = {"水平軸", "垂直軸", "水平垂直軸", "放射軸"};

constexpr auto P = ActionParam;

const VtgActionParam kParams[] = {
    P("axSt", kVtgActionEnum, "対称の中心: "),
    P("hOfs", kVtgActionReal, "水平オフセット: "),
    P("vOfs", kVtgActionReal, "垂直オフセット: "),
    P("axNm", kVtgActionInteger, "軸の数: "),
};

void Record(ActionWriter& out, const void* record) {
    const auto& p = *static_cast<const ReflectionsPGParams*>(record);
    const int32_t style = p.axisStyle >= 0 && p.axisStyle < 4 ? p.axisStyle : 0;
    out.Enum(ActionKey("axSt"), kStyleItems[style], p.axisStyle);
    // The offset of an axis the style does not have goes as 0.
    out.Real(ActionKey("hOfs"), kUnitDistance, p.axisStyle == 0 ? 0 : p.offsetH);
    out.Real(ActionKey("vOfs"), kUnitDistance, p.axisStyle == 1 ? 0 : p.offsetV);
    out.Integer(ActionKey("axNm"), p.axisStyle == 3 ? p.axisCount : (p.axisStyle == 2 ? 2 : 1));
}

ErrorCode Play(const ActionReader& in, void* record) {
    auto& p = *static_cast<ReflectionsPGParams*>(record);
    if (ErrorCode err = in.Enum(ActionKey("axSt"), p.axisStyle))
        return err;
    if (p.axisStyle != 0)
        if (ErrorCode err = in.Real(ActionKey("hOfs"), p.offsetH))
            return err;
    if (p.axisStyle != 1)
        if (ErrorCode err = in.Real(ActionKey("vOfs"), p.offsetV))
            return err;
    if (p.axisStyle == 3)
        if (ErrorCode err = in.Integer(ActionKey("axNm"), p.axisCount))
            return err;
    return kNoErr;
}

} // namespace

const LiveAction kReflectionsAction{kKindReflections,
                                    11,
                                    "VtG4_Reflections_Action",
                                    "ライブ リフレクション",
                                    kParams,
                                    std::size(kParams),
                                    &Record,
                                    &Play};

} // namespace vtg
