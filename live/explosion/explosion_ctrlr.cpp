// Live Explosion's panel. The numbers go through the value links; the
// check boxes, the two groups of choices and the new-seed button are
// handled here.
#include "live/explosion/explosion_ctrlr.hpp"

#include <algorithm>
#include <numbers>

#include "platform/window.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

} // namespace

ExplosionPGParams& ExplosionPGViewController::params() const {
    return static_cast<ExplosionPGCtrlr&>(ctrlr_).params();
}

void ExplosionPGViewController::AddLinks() {
    ExplosionPGParams& p = params();
    using K = LinkedValue::Kind;
    AddLink(K::Integer, kPieces, kPieces + 1, 0, 1, 32767, 1, &pieces_);
    AddLink(K::Number, kDirectionJitter, kDirectionJitter + 1, 0, 0, 360, kDeg, &p.directionJitter);
    AddLink(K::Distance, kCentreRadius, kCentreRadius + 1, 0, -16383, 16383, 1, &p.centreRadius);
    AddLink(K::Distance, kSpread, kSpread + 1, 0, -16383, 16383, 1, &p.spread);
    AddLink(K::Number, kTipSize, kTipSize + 1, 0, -20000, 20000, 0.01, &p.tipSize);
    AddLink(K::Number, kOpacity, kOpacity + 1, 0, 0, 100, 0.01, &p.opacity);
}

void ExplosionPGViewController::OnLinkedValue() {
    params().pieces = static_cast<int32_t>(pieces_);
}

void ExplosionPGViewController::Refresh(int reason) {
    ExplosionPGParams& p = params();
    // A record read from a document may hold any count; the panel holds
    // and shows it within its range.
    p.pieces = std::clamp(p.pieces, 1, 32767);
    pieces_ = p.pieces;
    LinkedPGViewController::Refresh(reason);
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    platform::SetChecked(item(kKeepAngle), p.keepAngle != 0);
    platform::SetChecked(item(kShowCentre), p.showCentre != 0);
    for (int n = 0; n < 3; ++n) {
        platform::SetChecked(item(kFirstSpacing + n), p.spacing == n);
        platform::SetChecked(item(kFirstFade + n), p.fadeMode == n);
    }
    platform::SetChecked(item(kReproduce), p.seedFixed != 0);
    platform::Show(item(kReproduce), false);
}

bool ExplosionPGViewController::OnKindCommand(int id, int notify) {
    ExplosionPGParams& p = params();
    const int32_t checked = platform::IsChecked(platform::GetItem(dialog_, id)) ? 1 : 0;
    if ((id >= kFirstSpacing && id < kFirstSpacing + 3) ||
        (id >= kFirstFade && id < kFirstFade + 3)) {
        if (notify != platform::kNotifyClicked)
            return true;
        if (id < kFirstFade)
            p.spacing = id - kFirstSpacing;
        else
            p.fadeMode = id - kFirstFade;
        ctrlr_.ValueChanged();
        return true;
    }
    switch (id) {
    case kKeepAngle:
        p.keepAngle = checked;
        break;
    case kShowCentre:
        p.showCentre = checked;
        break;
    case kReproduce:
        p.seedFixed = checked;
        break;
    case kNewSeed:
        // Each selected explosion draws a seed of its own on this write.
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
