#include "ui/value_link.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vtg {

int32_t lastScrollCode = platform::kScrollEnd;

namespace {

int RoundToInt(double v) {
    if (!std::isfinite(v))
        return 0;
    v = std::clamp(v, static_cast<double>(std::numeric_limits<int>::min()),
                   static_cast<double>(std::numeric_limits<int>::max()));
    return static_cast<int>(std::lround(v)); // half away from zero
}

} // namespace

void ValueLinker::Show(const LinkedValue& v, double shown) {
    platform::WindowId edit = item(v.edit);
    switch (v.kind) {
    case LinkedValue::Kind::Number:
        SetControlNumber(shown, 3, edit);
        break;
    case LinkedValue::Kind::Integer:
        SetControlInteger(static_cast<long>(RoundToInt(shown)), edit);
        break;
    case LinkedValue::Kind::Distance:
        SetControlDistance(shown, 4, edit, v.ruler);
        break;
    }
    if (v.moveSlider && v.slider != 0)
        platform::SetPosition(item(v.slider), RoundToInt(shown));
}

void ValueLinker::ShowAll() {
    for (const LinkedValue& v : values_)
        if (v.target != nullptr)
            Show(v, *v.target / v.scale);
}

void ValueLinker::EditChanged(const LinkedValue& v) {
    platform::WindowId edit = item(v.edit);
    std::string text = GetControlText(edit);
    double shown = 0.0;
    if (v.kind == LinkedValue::Kind::Distance) {
        std::string display;
        double points = v.target != nullptr ? *v.target : 0.0;
        if (ParseDistance(text.c_str(), v.minimum, v.maximum, 4, display, points, v.ruler) !=
            kNoErr) {
            // Not a length: the value stays as it was and shows again.
            if (v.target != nullptr)
                Show(v, *v.target / v.scale);
            return;
        }
        shown = points;
    } else if (!ParseTypedNumber(text.c_str(), shown)) {
        // NaN is no value: the field shows the stored one again.
        if (v.target != nullptr)
            Show(v, *v.target / v.scale);
        return;
    } else if (v.kind == LinkedValue::Kind::Integer) {
        shown = std::trunc(shown); // "12.7" is 12, as the integer conversion reads it
    }
    shown = std::clamp(shown, v.minimum, v.maximum);
    if (v.target != nullptr)
        *v.target = shown * v.scale;
    Show(v, shown);
    if (onChange_ != nullptr)
        onChange_(context_);
}

void ValueLinker::SpinClicked(const LinkedValue& v, int delta) {
    platform::WindowId edit = item(v.edit);
    double number = std::strtod(GetControlText(edit).c_str(), nullptr);
    if (!std::isfinite(number))
        number = 0.0;
    number += delta * v.spinStep;
    // The new number is handled as if typed (a distance in the ruler unit).
    SetControlText(edit, FormatNumber(number, 6).c_str());
    EditChanged(v);
}

void ValueLinker::Scrolled(const LinkedValue& v, int code, int position) {
    lastScrollCode = code;
    platform::WindowId slider = item(v.slider);
    platform::RangeState r = platform::GetRange(slider);
    int pos = r.position;
    switch (code) {
    case platform::kScrollPageLeft:
        pos = std::max(r.minimum, r.position - r.page);
        break;
    case platform::kScrollPageRight:
        pos = std::min(r.maximum, r.position + r.page);
        break;
    case platform::kScrollThumbTrack:
    case platform::kScrollThumbPosition:
        pos = position;
        break;
    default:
        return; // the end of a gesture only records its code
    }
    platform::SetPosition(slider, pos);
    SetControlNumber(pos, 3, item(v.edit));
    EditChanged(v);
}

bool ValueLinker::Handle(std::uint32_t code, platform::Param wparam, platform::Param lparam) {
    for (const LinkedValue& v : values_) {
        if (code == platform::kMsgCommand && v.edit != 0 && platform::LowWord(wparam) == v.edit &&
            platform::HighWord(wparam) == platform::kNotifyEditChange) {
            EditChanged(v);
            return true;
        }
        if (code == platform::kMsgNotify && v.spin != 0 && static_cast<int>(wparam) == v.spin) {
            auto* n = reinterpret_cast<const platform::NotifyRecord*>(lparam);
            if (n != nullptr && n->code == platform::kNotifySpinDelta)
                SpinClicked(v, n->delta);
            return true;
        }
        if (code == platform::kMsgHScroll && v.slider != 0 &&
            static_cast<platform::WindowId>(lparam) == item(v.slider)) {
            Scrolled(v, platform::LowWord(wparam), platform::HighWord(wparam));
            return true;
        }
    }
    return false;
}

} // namespace vtg
