// Live Circle's panel: every edit is parsed, clamped, stored and shown
// again; with live update on the selected circles follow.
#include "live/circle/circle_ctrlr.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>

#include "platform/window.hpp"

namespace vtg {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

enum Ids {
    kCopies = 1688,
    kHeight = 1705,
    kReverse = 1571,
    kKeepAngle = 1690,
    kFirstReference = 1691,
    kOffsetH = 1700,
    kOffsetV = 1702,
    kShowCentre = 1704,
    kRandom = 1593,
    kRandomOrder = 1592,
    kNewSeed = 1948,
};

// One amount of the random group: its check box, edit and spin.
struct RandomRow {
    int check, edit, spin;
    int32_t CirclePGParams::*flag;
    double CirclePGParams::*amount;
    bool angle;
};
const RandomRow kRows[] = {
    {1576, 1574, 1573, &CirclePGParams::anchorRadialOn, &CirclePGParams::anchorRadial, false},
    {1577, 1578, 1579, &CirclePGParams::anchorAngleOn, &CirclePGParams::anchorAngle, true},
    {1580, 1581, 1582, &CirclePGParams::inRadialOn, &CirclePGParams::inRadial, false},
    {1583, 1584, 1585, &CirclePGParams::inAngleOn, &CirclePGParams::inAngle, true},
    {1586, 1587, 1588, &CirclePGParams::outRadialOn, &CirclePGParams::outRadial, false},
    {1589, 1590, 1591, &CirclePGParams::outAngleOn, &CirclePGParams::outAngle, true},
};

std::string Show(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The number an edit holds (an infinity or overflow is kept for the clamp);
// false for text that is not one and for NaN.
bool Parse(const std::string& text, double& value) {
    const char* end = nullptr;
    return ParseTypedNumber(text.c_str(), value, &end) && !text.empty() && *end == '\0';
}

double Clamp(double v, double low, double high) {
    return v < low ? low : (v > high ? high : v);
}

} // namespace

void CirclePGViewController::LinkOffsets() {
    CirclePGParams& p = static_cast<CirclePGCtrlr&>(ctrlr_).params();
    const int32_t ruler =
        gGlobals != nullptr && gGlobals->rulerUnits > 0 ? gGlobals->rulerUnits : kRulerPoints;
    offsets_.SetDialog(dialog_);
    offsets_.SetOnChange([](void* c) { static_cast<PGCtrlr*>(c)->ValueChanged(); }, &ctrlr_);
    auto distance = [&](int edit, int spin, double& target) {
        LinkedValue v = Link(LinkedValue::Kind::Distance, edit, spin, 0, -18000, 18000, 1, &target);
        v.ruler = ruler;
        return v;
    };
    offsetH_ = distance(kOffsetH, kOffsetH + 1, p.offsetH);
    offsetV_ = distance(kOffsetV, kOffsetV + 1, p.offsetV);
}

void CirclePGViewController::Refresh(int reason) {
    PGViewController::Refresh(reason);
    const CirclePGParams& p = static_cast<CirclePGCtrlr&>(ctrlr_).params();
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    platform::SetText(item(kCopies), std::to_string(p.copies));
    platform::SetText(item(kHeight), Show(p.heightRatio * 100, 3));
    // The ruler units may have changed since the last refresh.
    LinkOffsets();
    SetControlDistance(p.offsetH, 4, item(kOffsetH), offsetH_.ruler);
    SetControlDistance(p.offsetV, 4, item(kOffsetV), offsetV_.ruler);
    platform::SetChecked(item(kReverse), p.reverseOrder != 0);
    platform::SetChecked(item(kKeepAngle), p.keepAngle != 0);
    platform::SetChecked(item(kShowCentre), p.showCentre != 0);
    platform::SetChecked(item(kRandom), p.randomOn != 0);
    platform::SetChecked(item(kRandomOrder), p.randomOrder != 0);
    for (int n = 0; n < 9; ++n)
        platform::SetChecked(item(kFirstReference + n), p.referencePoint == n);
    for (const RandomRow& r : kRows) {
        platform::SetChecked(item(r.check), p.*r.flag != 0);
        platform::SetText(item(r.edit),
                          r.angle ? Show(p.*r.amount / kDeg, 3) : Show(p.*r.amount * 100, 3));
    }
    EnableRandomGroup();
}

void CirclePGViewController::EnableRandomGroup() {
    const CirclePGParams& p = static_cast<CirclePGCtrlr&>(ctrlr_).params();
    const bool on = p.randomOn != 0;
    auto enable = [&](int id, bool e) { platform::Enable(platform::GetItem(dialog_, id), e); };
    for (const RandomRow& r : kRows) {
        enable(r.check, on);
        enable(r.edit, on && p.*r.flag != 0);
        enable(r.spin, on && p.*r.flag != 0);
    }
    enable(kRandomOrder, on);
    enable(kNewSeed, on);
}

bool CirclePGViewController::OnKindSpin(int id, int delta) {
    // Each spin steps the edit beside it by one, then validates it as typed.
    if (id == offsetH_.spin || id == offsetV_.spin) {
        offsets_.SpinClicked(id == offsetH_.spin ? offsetH_ : offsetV_, delta);
        return true;
    }
    static const int kSpins[][2] = {{1689, kCopies}, {1706, kHeight}, {1573, 1574}, {1579, 1578},
                                    {1582, 1581},    {1585, 1584},    {1588, 1587}, {1591, 1590}};
    for (const auto& [spin, edit] : kSpins) {
        if (id != spin)
            continue;
        platform::WindowId field = platform::GetItem(dialog_, edit);
        double v = 0;
        if (!Parse(platform::GetText(field), v))
            v = 0;
        platform::SetText(field, Show(v + delta, 4));
        return OnKindCommand(edit, platform::kNotifyEditChange);
    }
    return false;
}

bool CirclePGViewController::OnKindCommand(int id, int notify) {
    auto& c = static_cast<CirclePGCtrlr&>(ctrlr_);
    CirclePGParams& p = c.params();
    auto item = [&](int i) { return platform::GetItem(dialog_, i); };
    auto checked = [&](int i) { return platform::IsChecked(item(i)) ? 1 : 0; };
    // An edit: parse, clamp, store, show again.
    auto edit = [&](double low, double high, int decimals, double& shown) {
        double v = 0;
        if (notify != platform::kNotifyEditChange || !Parse(platform::GetText(item(id)), v))
            return false;
        shown = Clamp(v, low, high);
        platform::SetText(item(id), Show(shown, decimals));
        return true;
    };
    double v = 0;
    switch (id) {
    case kCopies:
        if (!edit(2, 32767, 0, v))
            return true;
        p.copies = static_cast<int32_t>(std::lround(v));
        break;
    case kHeight:
        if (!edit(1, 20000, 3, v))
            return true;
        p.heightRatio = v / 100;
        break;
    case kOffsetH:
    case kOffsetV:
        // A length in any unit; the linker stores points and updates.
        if (notify == platform::kNotifyEditChange)
            offsets_.EditChanged(id == kOffsetH ? offsetH_ : offsetV_);
        return true;
    case kReverse:
        p.reverseOrder = checked(id);
        break;
    case kKeepAngle:
        p.keepAngle = checked(id);
        break;
    case kShowCentre:
        p.showCentre = checked(id);
        break;
    case kRandom:
        p.randomOn = checked(id);
        EnableRandomGroup();
        break;
    case kRandomOrder:
        p.randomOrder = checked(id);
        break;
    case kNewSeed:
        // Each selected circle draws a seed of its own on this write.
        p.seedFixed = 0;
        c.ValueChanged();
        p.seedFixed = 1;
        return true;
    default:
        if (id >= kFirstReference && id < kFirstReference + 9) {
            p.referencePoint = id - kFirstReference;
            break;
        }
        for (const RandomRow& r : kRows) {
            if (id == r.check) {
                p.*r.flag = checked(id);
                EnableRandomGroup();
                c.ValueChanged();
                return true;
            }
            if (id == r.edit) {
                if (!(r.angle ? edit(0, 360, 3, v) : edit(0, 4000, 3, v)))
                    return true;
                p.*r.amount = r.angle ? v * kDeg : v / 100;
                c.ValueChanged();
                return true;
            }
        }
        return false;
    }
    c.ValueChanged();
    return true;
}

} // namespace vtg
