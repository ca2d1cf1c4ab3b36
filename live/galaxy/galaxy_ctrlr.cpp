// Live Galaxy's panel. The numbers go through the value links; the check
// boxes, the stacking and the new-seed button are handled here.
#include "live/galaxy/galaxy_ctrlr.hpp"

#include <algorithm>
#include <numbers>

#include "platform/window.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

} // namespace

GalaxyPGParams& GalaxyPGViewController::params() const {
    return static_cast<GalaxyPGCtrlr&>(ctrlr_).params();
}

void GalaxyPGViewController::AddLinks() {
    GalaxyPGParams& p = params();
    using K = LinkedValue::Kind;
    AddLink(K::Integer, kArms, kArms + 1, 0, 1, 32767, 1, &arms_);
    AddLink(K::Number, kDirectionJitter, kDirectionJitter + 1, 0, 0, 360, kDeg, &p.directionJitter);
    AddLink(K::Integer, kElements, kElements + 1, 0, 1, 32767, 1, &elements_);
    AddLink(K::Number, kKinkJitter, kKinkJitter + 1, 0, 0, 36000, kDeg, &p.kinkJitter);
    AddLink(K::Number, kTwist, kTwist + 1, 0, -36000, 36000, kDeg, &p.twist);
    AddLink(K::Number, kTwistJitter, kTwistJitter + 1, 0, 0, 36000, kDeg, &p.twistJitter);
    AddLink(K::Distance, kCentreRadius, kCentreRadius + 1, 0, -16383, 16383, 1, &p.centreRadius);
    AddLink(K::Distance, kRadiusJitter, kRadiusJitter + 1, 0, 0, 16383, 1, &p.radiusJitter);
    AddLink(K::Distance, kSpread, kSpread + 1, 0, -16383, 16383, 1, &p.spread);
    AddLink(K::Distance, kSpreadJitter, kSpreadJitter + 1, 0, 0, 16383, 1, &p.spreadJitter);
    AddLink(K::Number, kTipSize, kTipSize + 1, 0, -20000, 20000, 0.01, &p.tipSize);
    AddLink(K::Number, kSizeJitter, kSizeJitter + 1, 0, 0, 20000, 0.01, &p.sizeJitter);
}

void GalaxyPGViewController::OnLinkedValue() {
    GalaxyPGParams& p = params();
    p.arms = static_cast<int32_t>(arms_);
    p.elements = static_cast<int32_t>(elements_);
}

void GalaxyPGViewController::Refresh(int reason) {
    GalaxyPGParams& p = params();
    // A record read from a document may hold any count; the panel holds
    // and shows the counts within their range.
    p.arms = std::clamp(p.arms, 1, 32767);
    p.elements = std::clamp(p.elements, 1, 32767);
    arms_ = p.arms;
    elements_ = p.elements;
    LinkedPGViewController::Refresh(reason);
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    platform::SetChecked(item(kKeepAngle), p.keepAngle != 0);
    platform::SetChecked(item(kShowCentre), p.showCentre != 0);
    platform::SetChecked(item(kStackOnTop), p.stacking != 1);
    platform::SetChecked(item(kStackBelow), p.stacking == 1);
    platform::SetChecked(item(kReproduce), p.seedFixed != 0);
    platform::Show(item(kReproduce), false);
}

bool GalaxyPGViewController::OnKindCommand(int id, int notify) {
    GalaxyPGParams& p = params();
    const int32_t checked = platform::IsChecked(platform::GetItem(dialog_, id)) ? 1 : 0;
    switch (id) {
    case kKeepAngle:
        p.keepAngle = checked;
        break;
    case kShowCentre:
        p.showCentre = checked;
        break;
    case kStackOnTop:
    case kStackBelow:
        if (notify != platform::kNotifyClicked)
            return true;
        p.stacking = id == kStackBelow ? 1 : 0;
        break;
    case kReproduce:
        p.seedFixed = checked;
        break;
    case kNewSeed:
        // Each selected galaxy draws a seed of its own on this write.
        p.seedFixed = 0;
        ctrlr_.ValueChanged();
        p.seedFixed = 1;
        return true;
    default:
        return false;
    }
    ctrlr_.ValueChanged();
    return true;
}

} // namespace vtg
