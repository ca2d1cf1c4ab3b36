// Live Reflections' panel. The offsets and the axis count go through the
// value links (parse, clamp, store, show again); a typed axis count is
// stored when its edit validates, as the offsets are. Every stored change
// runs the live update.
#include "live/reflections/reflections_ctrlr.hpp"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "platform/window.hpp"

namespace vtg {

namespace {

constexpr double kMaxOffset = 16383;

const char* const kStyleNames[] = {"水平軸", "垂直軸", "水平垂直軸", "放射軸"};

int32_t DocumentRuler() {
    const int32_t ruler = gGlobals != nullptr ? gGlobals->rulerUnits : kRulerPoints;
    return ruler >= kRulerInches && ruler <= kRulerQ ? ruler : kRulerPoints;
}

} // namespace

ReflectionsPGParams& ReflectionsPGViewController::params() const {
    return static_cast<ReflectionsPGCtrlr&>(ctrlr_).params();
}

void ReflectionsPGViewController::OnInitView() {
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    platform::SetItems(item(kStyle),
                       std::vector<std::string>(std::begin(kStyleNames), std::end(kStyleNames)));
    // Spins carry no limit of their own: the edit's clamping is the only one.
    for (int spin : {kOffsetHSpin, kOffsetVSpin, kCountSpin}) {
        platform::SetRange(item(spin), INT_MIN, INT_MAX);
        platform::SetAcceleration(item(spin), {{0, 1}});
    }
    lastScrollCode = platform::kScrollEnd;
    Link();
}

void ReflectionsPGViewController::Link() {
    ReflectionsPGParams& p = params();
    linkedRuler_ = DocumentRuler();
    linker_ = ValueLinker(dialog_);
    auto add = [&](LinkedValue::Kind kind, int edit, int spin, double low, double high,
                   double* target) {
        LinkedValue v = vtg::Link(kind, edit, spin, 0, low, high, 1, target);
        v.ruler = linkedRuler_;
        linker_.Add(v);
    };
    using K = LinkedValue::Kind;
    add(K::Distance, kOffsetHEdit, kOffsetHSpin, -kMaxOffset, kMaxOffset, &p.offsetH);
    add(K::Distance, kOffsetVEdit, kOffsetVSpin, -kMaxOffset, kMaxOffset, &p.offsetV);
    add(K::Integer, kCountEdit, kCountSpin, 1, 32767, &count_);
    linker_.SetOnChange(&OnLinkedChange, this);
}

void ReflectionsPGViewController::OnLinkedChange(void* self) {
    auto* view = static_cast<ReflectionsPGViewController*>(self);
    view->params().axisCount = static_cast<int32_t>(view->count_);
    view->ctrlr_.ValueChanged();
}

void ReflectionsPGViewController::EnableGroups() {
    const int32_t style = params().axisStyle;
    const bool known = style >= 0 && style <= 3;
    const bool h = known && style != 0, v = known && style != 1, n = style == 3;
    auto enable = [&](int id, bool on) { platform::Enable(platform::GetItem(dialog_, id), on); };
    for (int id : {kOffsetHEdit, kOffsetHSpin, kOffsetHLabel})
        enable(id, h);
    for (int id : {kOffsetVEdit, kOffsetVSpin, kOffsetVLabel})
        enable(id, v);
    for (int id : {kCountEdit, kCountSpin, kCountLabel})
        enable(id, n);
}

void ReflectionsPGViewController::Refresh(int reason) {
    PGViewController::Refresh(reason);
    ReflectionsPGParams& p = params();
    // A record read from a document may hold any count; the panel shows the
    // count within its range (the record keeps its own until edited).
    count_ = std::clamp<double>(p.axisCount, 1, 32767);
    if (linkedRuler_ != DocumentRuler())
        Link();
    linker_.ShowAll();
    platform::SetSelection(platform::GetItem(dialog_, kStyle),
                           p.axisStyle >= 0 && p.axisStyle <= 3 ? p.axisStyle : -1);
    EnableGroups();
}

bool ReflectionsPGViewController::OnViewMessage(std::uint32_t code, platform::Param wparam,
                                                platform::Param lparam, platform::Param& result) {
    if (code == platform::kMsgCommand || code == platform::kMsgNotify) {
        // A ruler change reaches the links before the next typed length.
        if (linkedRuler_ != DocumentRuler()) {
            Link();
            linker_.ShowAll();
        }
        if (linker_.Handle(code, wparam, lparam)) {
            result = 0;
            return true;
        }
    }
    return PGViewController::OnViewMessage(code, wparam, lparam, result);
}

bool ReflectionsPGViewController::OnKindCommand(int id, int notify) {
    if (id != kStyle)
        return false;
    if (notify != platform::kNotifySelChange)
        return true;
    const int chosen = platform::GetSelection(platform::GetItem(dialog_, id));
    if (chosen < 0 || chosen > 3)
        return true;
    params().axisStyle = chosen;
    EnableGroups();
    ctrlr_.ValueChanged();
    return true;
}

} // namespace vtg
