// The live-object commands of the program.
#include "app/live_app.hpp"
#include "app/apply_options.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <span>

#include "app/effects_app.hpp"
#include "host/code_text.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "platform/input.hpp"
#include "platform/window.hpp"

namespace app {

namespace {

constexpr const char* kLivePanel = "__QrLw_VERTiGON4PG_v46_PrefsPrefix__";

// How a user sets a panel field: typing into an edit (a number, a whole
// number, or a length with an optional unit), toggling a check box, clicking
// one of a group of radio buttons (first id + value) or choosing an item of
// a combo box.
struct LiveField {
    enum class Way { Number, Integer, Distance, Check, Radio, Combo };
    const char* field;
    Way way;
    int control;
    int count;         // radio buttons or combo items
    const char* range; // what an edit takes, as the panel shows it
    const char* needs; // the setting that enables the control, or null
};

using W = LiveField::Way;

const LiveField kCircleFields[] = {
    {"copies", W::Integer, 1688, 0, "2 .. 32767", nullptr},
    {"heightRatio", W::Number, 1705, 0, "1 .. 20000 (%)", nullptr},
    {"reverseOrder", W::Check, 1571, 0, nullptr, nullptr},
    {"keepAngle", W::Check, 1690, 0, nullptr, nullptr},
    {"offsetH", W::Number, 1700, 0, "-18000 .. 18000 (pt)", nullptr},
    {"offsetV", W::Number, 1702, 0, "-18000 .. 18000 (pt)", nullptr},
    {"showCentre", W::Check, 1704, 0, nullptr, nullptr},
    {"randomOn", W::Check, 1593, 0, nullptr, nullptr},
    {"anchorRadialOn", W::Check, 1576, 0, nullptr, "randomOn=1"},
    {"anchorRadial", W::Number, 1574, 0, "0 .. 4000 (%)", "randomOn=1 anchorRadialOn=1"},
    {"anchorAngleOn", W::Check, 1577, 0, nullptr, "randomOn=1"},
    {"anchorAngle", W::Number, 1578, 0, "0 .. 360 (°)", "randomOn=1 anchorAngleOn=1"},
    {"inRadialOn", W::Check, 1580, 0, nullptr, "randomOn=1"},
    {"inRadial", W::Number, 1581, 0, "0 .. 4000 (%)", "randomOn=1 inRadialOn=1"},
    {"inAngleOn", W::Check, 1583, 0, nullptr, "randomOn=1"},
    {"inAngle", W::Number, 1584, 0, "0 .. 360 (°)", "randomOn=1 inAngleOn=1"},
    {"outRadialOn", W::Check, 1586, 0, nullptr, "randomOn=1"},
    {"outRadial", W::Number, 1587, 0, "0 .. 4000 (%)", "randomOn=1 outRadialOn=1"},
    {"outAngleOn", W::Check, 1589, 0, nullptr, "randomOn=1"},
    {"outAngle", W::Number, 1590, 0, "0 .. 360 (°)", "randomOn=1 outAngleOn=1"},
    {"randomOrder", W::Check, 1592, 0, nullptr, "randomOn=1"},
    {"referencePoint", W::Radio, 1691, 9, nullptr, nullptr},
};

const LiveField kBorderFields[] = {
    {"style", W::Radio, 1571, 2, nullptr, nullptr},
    {"mergeOverlaps", W::Check, 1950, 0, nullptr, "style=1"},
    {"autoLineStyle", W::Check, 1847, 0, nullptr, nullptr},
    {"gradeCurve", W::Number, 1573, 0, "-100 .. 100 (%)", nullptr},
    {"invertGrade", W::Check, 1579, 0, nullptr, nullptr},
    {"stepMode", W::Combo, 1580, 4, nullptr, nullptr},
    {"stepCount", W::Integer, 1582, 0, "1 .. 32767", "stepMode=3"},
    {"eccentricity", W::Number, 1584, 0, "0 .. 20000 (%)", nullptr},
    {"eccentricAngle", W::Number, 1586, 0, "-180 .. 180 (°)", nullptr},
    {"shadowOn", W::Check, 1589, 0, nullptr, nullptr},
    {"shadowDensity", W::Number, 1591, 0, "0 .. 100 (%)", "shadowOn=1"},
    {"shadowOffset", W::Distance, 1594, 0, "0 .. 20000 pt", "shadowOn=1"},
    {"lightAngle", W::Number, 1597, 0, "-180 .. 180 (°)", "shadowOn=1"},
};

const LiveField kGalaxyFields[] = {
    {"arms", W::Integer, 1492, 0, "1 .. 32767", nullptr},
    {"directionJitter", W::Number, 1494, 0, "0 .. 360 (°)", nullptr},
    {"elements", W::Integer, 1500, 0, "1 .. 32767", nullptr},
    {"kinkJitter", W::Number, 1502, 0, "0 .. 36000 (°)", nullptr},
    {"twist", W::Number, 1504, 0, "-36000 .. 36000 (°)", nullptr},
    {"twistJitter", W::Number, 1506, 0, "0 .. 36000 (°)", nullptr},
    {"keepAngle", W::Check, 1508, 0, nullptr, nullptr},
    {"centreRadius", W::Distance, 1498, 0, "-16383 .. 16383 pt", nullptr},
    {"radiusJitter", W::Distance, 1496, 0, "0 .. 16383 pt", nullptr},
    {"showCentre", W::Check, 1509, 0, nullptr, nullptr},
    {"spread", W::Distance, 1510, 0, "-16383 .. 16383 pt", nullptr},
    {"spreadJitter", W::Distance, 1512, 0, "0 .. 16383 pt", nullptr},
    {"tipSize", W::Number, 1514, 0, "-20000 .. 20000 (%)", nullptr},
    {"sizeJitter", W::Number, 1516, 0, "0 .. 20000 (%)", nullptr},
    {"stacking", W::Radio, 1518, 2, nullptr, nullptr},
};

const LiveField kExplosionFields[] = {
    {"pieces", W::Integer, 1479, 0, "1 .. 32767", nullptr},
    {"directionJitter", W::Number, 1481, 0, "0 .. 360 (°)", nullptr},
    {"keepAngle", W::Check, 1521, 0, nullptr, nullptr},
    {"centreRadius", W::Distance, 1486, 0, "-16383 .. 16383 pt", nullptr},
    {"spread", W::Distance, 1488, 0, "-16383 .. 16383 pt", nullptr},
    {"showCentre", W::Check, 1522, 0, nullptr, nullptr},
    {"spacing", W::Radio, 1483, 3, nullptr, nullptr},
    {"tipSize", W::Number, 1490, 0, "-20000 .. 20000 (%)", nullptr},
    {"fadeMode", W::Radio, 1843, 3, nullptr, nullptr},
    {"opacity", W::Number, 1841, 0, "0 .. 100 (%)", nullptr},
};

const LiveField kCutoutFields[] = {
    {"shade", W::Number, 1642, 0, "0 .. 100 (%)", nullptr},
    {"offset", W::Distance, 1644, 0, "0 .. 16383 pt", nullptr},
    {"lightAngle", W::Number, 1647, 0, "-180 .. 180 (°)", nullptr},
    {"steps", W::Integer, 1649, 0, "1 .. 32767", nullptr},
};

const LiveField kShadowFields[] = {
    {"shade", W::Number, 1632, 0, "0 .. 100 (%)", nullptr},
    {"offset", W::Distance, 1634, 0, "0 .. 16383 pt", nullptr},
    {"lightAngle", W::Number, 1637, 0, "-180 .. 180 (°)", nullptr},
    {"transparency", W::Number, 1639, 0, "0 .. 100 (%)", nullptr},
};

const LiveField kEmbossFields[] = {
    {"embossStyle", W::Combo, 1660, 3, nullptr, nullptr},
    {"contrast", W::Number, 1651, 0, "0 .. 100 (%)", nullptr},
    {"offset", W::Distance, 1653, 0, "0 .. 16383 pt", nullptr},
    {"lightAngle", W::Number, 1656, 0, "-180 .. 180 (°)", nullptr},
    {"reverse", W::Check, 1661, 0, nullptr, nullptr},
    {"steps", W::Integer, 1658, 0, "1 .. 32767", nullptr},
};

const LiveField kGenerationFields[] = {
    {"count", W::Integer, 1673, 0, "2 .. 32767", nullptr},
    {"feedMode", W::Combo, 1672, 2, nullptr, nullptr},
    {"distance", W::Number, 1675, 0, "-20000 .. 20000 (%)", "feedMode=0"},
    {"feedDistance", W::Distance, 1677, 0, "-16383 .. 16383 pt", "feedMode=1"},
    {"rate", W::Number, 1679, 0, "-20000 .. 20000 (%)", nullptr},
    {"direction", W::Number, 1682, 0, "-180 .. 180 (°)", nullptr},
    {"directionChange", W::Number, 1684, 0, "-36000 .. 36000 (°)", nullptr},
    {"stacking", W::Radio, 1686, 2, nullptr, nullptr},
};

const LiveField kReflectionsFields[] = {
    {"axisStyle", W::Combo, 1662, 4, nullptr, nullptr},
    {"offsetH", W::Distance, 1663, 0, "-16383 .. 16383 pt", "axisStyle=1, 2 or 3"},
    {"offsetV", W::Distance, 1665, 0, "-16383 .. 16383 pt", "axisStyle=0, 2 or 3"},
    {"axisCount", W::Integer, 1667, 0, "1 .. 32767", "axisStyle=3"},
};

const LiveField k3DPathFields[] = {
    {"variant", W::Combo, 1832, 12, nullptr, nullptr},
    {"param1", W::Number, 1441, 0, "by variant (see the help page)", "a variant that uses it"},
    {"param2", W::Number, 1445, 0, "by variant (see the help page)", "a variant that uses it"},
    {"param3", W::Number, 1449, 0, "by variant (see the help page)", "a variant that uses it"},
    {"param4", W::Number, 1453, 0, "by variant (see the help page)", "a variant that uses it"},
    {"perspective", W::Number, 1457, 0, "0 .. 100 (%)", nullptr},
    {"transformed", W::Radio, 1434, 2, nullptr, "variant=1 .. 11"},
    {"preX", W::Number, 1437, 0, "-360 .. 360 (°)", nullptr},
    {"preY", W::Number, 1460, 0, "-360 .. 360 (°)", nullptr},
    {"preZ", W::Number, 1463, 0, "-360 .. 360 (°)", nullptr},
    {"postX", W::Number, 1466, 0, "-360 .. 360 (°)", "variant=1 .. 11"},
    {"postY", W::Number, 1469, 0, "-360 .. 360 (°)", "variant=1 .. 11"},
    {"postZ", W::Number, 1472, 0, "-360 .. 360 (°)", "variant=1 .. 11"},
    {"centreH", W::Number, 1475, 0, "-20000 .. 20000 (%)", nullptr},
    {"centreV", W::Number, 1477, 0, "-20000 .. 20000 (%)", nullptr},
};

const LiveField kNeonFields[] = {
    {"mergeOverlaps", W::Check, 1949, 0, nullptr, nullptr},
    {"autoLineStyle", W::Check, 1846, 0, nullptr, nullptr},
    {"trackCount", W::Integer, 1601, 0, "1 .. 32767", nullptr},
    {"gradeCurve", W::Number, 1600, 0, "-100 .. 100 (%)", nullptr},
    {"contrast", W::Number, 1609, 0, "0 .. 20000 (%)", nullptr},
    {"stepMode", W::Combo, 1612, 4, nullptr, nullptr},
    {"stepCount", W::Integer, 1614, 0, "2 .. 32767", "stepMode=3"},
    {"eccentricity", W::Number, 1616, 0, "0 .. 20000 (%)", nullptr},
    {"eccentricAngle", W::Number, 1619, 0, "-180 .. 180 (°)", nullptr},
    {"glowOn", W::Check, 1632, 0, nullptr, nullptr},
    {"glowWidth", W::Number, 1848, 0, "0 .. 20000 (%)", nullptr},
    {"glowCurve", W::Number, 1850, 0, "-100 .. 100 (%)", nullptr},
    {"glowContrast", W::Number, 1853, 0, "0 .. 100 (%)", nullptr},
    {"shadowOn", W::Check, 1621, 0, nullptr, nullptr},
    {"shadowDensity", W::Number, 1623, 0, "0 .. 100 (%)", "shadowOn=1"},
    {"shadowInvert", W::Check, 1608, 0, nullptr, nullptr},
    {"shadowOffset", W::Distance, 1626, 0, "0 .. 16383 pt", "shadowOn=1"},
    {"lightAngle", W::Number, 1630, 0, "-180 .. 180 (°)", "shadowOn=1"},
};

const LiveField kFrameFields[] = {
    {"hCount", W::Integer, 1548, 0, "1 .. 32767", nullptr},
    {"vCount", W::Integer, 1549, 0, "1 .. 32767", nullptr},
    {"reverseOrder", W::Check, 1571, 0, nullptr, nullptr},
    {"keepAngle", W::Check, 1563, 0, nullptr, nullptr},
    {"feedMode", W::Combo, 1550, 2, nullptr, nullptr},
    {"sideFeed", W::Number, 1553, 0, "0 .. 20000 (%)", "feedMode=0"},
    {"cornerFeed", W::Number, 1555, 0, "0 .. 20000 (%)", "feedMode=0"},
    {"sideDistance", W::Distance, 1554, 0, "0 .. 16383 pt", "feedMode=1"},
    {"cornerDistance", W::Distance, 1556, 0, "0 .. 16383 pt", "feedMode=1"},
    {"cornerOffset", W::Number, 1561, 0, "-100 .. 100 (%)", nullptr},
    {"placeCorners", W::Check, 1564, 0, nullptr, "cornerOffset=0"},
    {"direction", W::Radio, 1569, 2, nullptr, nullptr},
    {"randomOn", W::Check, 1593, 0, nullptr, nullptr},
    {"anchorHOn", W::Check, 1576, 0, nullptr, "randomOn=1"},
    {"anchorH", W::Number, 1574, 0, "0 .. 100 (%)", "randomOn=1 anchorHOn=1"},
    {"anchorVOn", W::Check, 1577, 0, nullptr, "randomOn=1"},
    {"anchorV", W::Number, 1578, 0, "0 .. 100 (%)", "randomOn=1 anchorVOn=1"},
    {"inHOn", W::Check, 1580, 0, nullptr, "randomOn=1"},
    {"inH", W::Number, 1581, 0, "0 .. 100 (%)", "randomOn=1 inHOn=1"},
    {"inVOn", W::Check, 1583, 0, nullptr, "randomOn=1"},
    {"inV", W::Number, 1584, 0, "0 .. 100 (%)", "randomOn=1 inVOn=1"},
    {"outHOn", W::Check, 1586, 0, nullptr, "randomOn=1"},
    {"outH", W::Number, 1587, 0, "0 .. 100 (%)", "randomOn=1 outHOn=1"},
    {"outVOn", W::Check, 1589, 0, nullptr, "randomOn=1"},
    {"outV", W::Number, 1590, 0, "0 .. 100 (%)", "randomOn=1 outVOn=1"},
    {"randomOrder", W::Check, 1592, 0, nullptr, "randomOn=1"},
};

// One live-object kind the command drives: its feature name, the menu item
// that opens its panel, the panel's dialog and the fields.
struct LiveKind {
    const char* feature;
    const char* menuKey;
    int dialog;
    std::span<const LiveField> fields;
};

const LiveKind kLiveKinds[] = {
    {"live-circle", "VERTiGON6_05", 670, kCircleFields},
    {"live-border", "VERTiGON6_13", 663, kBorderFields},
    {"live-galaxy", "VERTiGON6_04", 660, kGalaxyFields},
    {"live-explosion", "VERTiGON6_01", 659, kExplosionFields},
    {"live-cutout", "VERTiGON6_03", 666, kCutoutFields},
    {"live-shadow", "VERTiGON6_07", 665, kShadowFields},
    {"live-emboss", "VERTiGON6_02", 667, kEmbossFields},
    {"live-generation", "VERTiGON6_06", 669, kGenerationFields},
    {"live-reflections", "VERTiGON6_14", 668, kReflectionsFields},
    {"live-3dpath", "VERTiGON6_00", 658, k3DPathFields},
    {"live-neon", "VERTiGON6_11", 664, kNeonFields},
    {"live-frame", "VERTiGON6_12", 662, kFrameFields},
};

const LiveKind* FindKind(const std::string& feature) {
    for (const LiveKind& k : kLiveKinds)
        if (feature == k.feature)
            return &k;
    return nullptr;
}

// "live-circle, live-border".
std::string KindNames(const char* separator) {
    std::string names;
    for (const LiveKind& k : kLiveKinds)
        names += (names.empty() ? "" : separator) + std::string(k.feature);
    return names;
}

int Fail(const std::string& reason) {
    std::fprintf(stderr, "vertigon: %s\n", reason.c_str());
    return 1;
}

// The view the panel shows: the panel window's first child.
platform::WindowId PanelView(hostapp::Host& host) {
    PanelHandleOpaque* panel = host.panels().find(kLivePanel);
    if (panel == nullptr || panel->window == 0)
        return 0;
    std::vector<platform::WindowId> children = platform::GetChildren(panel->window);
    return children.empty() ? 0 : children.front();
}

// The value as a whole number.
bool WholeNumber(const std::string& value, long& n) {
    char* end = nullptr;
    errno = 0;
    n = std::strtol(value.c_str(), &end, 10);
    return !value.empty() && *end == '\0' && errno == 0;
}

// A number typed into a field: the panel limits it to the field's range, an
// infinity or an overflow ("1e400") to the nearer limit; NaN is refused.
bool TypedNumber(const std::string& value, bool whole) {
    char* end = nullptr;
    const double v = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || std::isnan(v))
        return false;
    return !whole || std::isinf(v) || v == std::trunc(v);
}

// A number, and for a length an optional unit after it ("12", "1.5 mm").
bool NumberText(const std::string& value, bool unit) {
    char* end = nullptr;
    const double v = std::strtod(value.c_str(), &end);
    if (value.empty() || end == value.c_str() || std::isnan(v))
        return false;
    std::string rest = end;
    while (!rest.empty() && rest.front() == ' ')
        rest.erase(rest.begin());
    if (rest.empty())
        return true;
    static const char* const kUnits[] = {"pt",   "mm", "cm", "in", "inch", "\"", "pc",
                                         "pica", "px", "ft", "yd", "m",    "q",  "h"};
    std::string lower;
    for (char c : rest)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return unit && std::find(std::begin(kUnits), std::end(kUnits), lower) != std::end(kUnits);
}

// What a field takes, for the error text.
std::string Takes(const LiveField& f) {
    switch (f.way) {
    case W::Number:
        return std::string("a number, ") + f.range;
    case W::Integer:
        return std::string("a whole number, ") + f.range;
    case W::Distance:
        return std::string("a length (a number of points, or with a unit: mm, cm, in, ...), ") +
               f.range;
    case W::Check:
        return "0 or 1";
    case W::Radio:
    case W::Combo:
        return "0 .. " + std::to_string(f.count - 1);
    }
    return {};
}

// Checks a value before any gesture; an empty text when the field takes it.
std::string CheckValue(const LiveField& f, const std::string& value) {
    long n = 0;
    bool ok = false;
    switch (f.way) {
    case W::Number:
        ok = NumberText(value, false);
        break;
    case W::Distance:
        ok = NumberText(value, true);
        break;
    case W::Integer:
        ok = TypedNumber(value, true);
        break;
    case W::Check:
        ok = value == "0" || value == "1";
        break;
    case W::Radio:
    case W::Combo:
        ok = WholeNumber(value, n) && n >= 0 && n < f.count;
        break;
    }
    if (ok)
        return {};
    return std::string(f.field) + " takes " + Takes(f) + ", not \"" + value + "\"";
}

// One gesture on the panel's view: an empty text on success.
std::string Set(platform::WindowId view, const LiveField& f, const std::string& value) {
    long n = 0;
    WholeNumber(value, n);
    const int id = f.way == W::Radio ? f.control + static_cast<int>(n) : f.control;
    platform::WindowId control = platform::GetItem(view, id);
    if (control == 0)
        return std::string("the panel has no control for ") + f.field;
    if (f.way == W::Check && platform::IsChecked(control) == (value == "1"))
        return {}; // already so: nothing to click
    if (!platform::IsEnabled(control))
        return std::string(f.field) + " cannot be set: its control is disabled" +
               (f.needs != nullptr ? std::string(" (it needs ") + f.needs + ")" : std::string());
    std::string why;
    switch (f.way) {
    case W::Number:
    case W::Integer:
    case W::Distance:
        why = platform::user::Type(control, value);
        break;
    case W::Check:
    case W::Radio:
        why = platform::user::Click(control);
        break;
    case W::Combo:
        why = platform::user::Choose(control, static_cast<int>(n));
        break;
    }
    return why.empty() ? why : std::string(f.field) + ": " + why;
}

// The order in which a user sets the fields: combo boxes first (a choice
// there may reset the others, as 3D Path's variant does), then radio
// buttons, check boxes and numbers, so that a setting enables its controls
// before they are typed into (the given order is kept within each group).
int Stage(const LiveField& f) {
    switch (f.way) {
    case W::Combo:
        return -1;
    case W::Radio:
        return 0;
    case W::Check:
        return 1;
    default:
        return 2;
    }
}

} // namespace

bool IsLiveFeature(const std::string& feature) {
    return FindKind(feature) != nullptr;
}

std::string LiveFeatureNames() {
    return KindNames(", ");
}

std::string ApplyLiveObject(hostapp::Host& host, hostapp::doc::Document& document,
                            const std::string& feature,
                            const std::vector<std::pair<std::string, std::string>>& settings,
                            bool reset) {
    const LiveKind* kind = FindKind(feature);
    if (kind == nullptr)
        return "\"" + feature + "\" is not a live object (" + KindNames(", ") + ")";
    std::vector<std::pair<const LiveField*, std::string>> steps;
    for (const auto& [name, value] : settings) {
        const LiveField* f = nullptr;
        for (const LiveField& c : kind->fields)
            if (name == c.field)
                f = &c;
        if (f == nullptr) {
            std::string names;
            for (const LiveField& c : kind->fields)
                names += (names.empty() ? "" : " ") + std::string(c.field);
            return feature + " has no field \"" + name + "\" (its fields: " + names + ")";
        }
        if (std::string why = CheckValue(*f, value); !why.empty())
            return why;
        steps.emplace_back(f, value);
    }
    std::stable_sort(steps.begin(), steps.end(), [](const auto& a, const auto& b) {
        return Stage(*a.first) < Stage(*b.first);
    });
    // The panel reads the selection; one it could not read leaves its
    // buttons as they were, which is no answer.
    if (ErrorCode err = host.notify("Host Art Selection Changed Notifier", nullptr))
        return "the panel could not read the selection: " + hostapp::DescribeCode(err);
    // The panel opens for the kind, or switches to it from another kind.
    PanelHandleOpaque* panel = host.panels().find(kLivePanel);
    platform::WindowId view = PanelView(host);
    if (panel == nullptr || !panel->shown || view == 0 ||
        platform::DialogTemplateId(view) != kind->dialog)
        if (ErrorCode err = host.chooseMenu(kind->menuKey))
            return "the panel did not open: " + hostapp::DescribeCode(err);
    view = PanelView(host);
    if (view == 0 || platform::DialogTemplateId(view) != kind->dialog)
        return "the live-object panel does not show " + feature;
    // Live update off: the values only take effect with Apply.
    platform::WindowId live = platform::GetItem(view, 1418);
    if (platform::IsChecked(live))
        platform::user::Click(live);
    // "初期設定" of the panel's flyout menu: the kind's built-in values.
    if (reset)
        if (ErrorCode err = host.chooseFlyoutItem(kLivePanel, 1))
            return "the panel's defaults did not load: " + hostapp::DescribeCode(err);
    for (const auto& [f, value] : steps)
        if (std::string why = Set(view, *f, value); !why.empty())
            return why;
    // The button's failure shows as an error alert, which the user reads.
    const std::size_t errors = host.user().errorAlerts();
    if (std::string why = platform::user::Click(platform::GetItem(view, 1421)); !why.empty())
        return why;
    if (host.user().errorAlerts() != errors) {
        std::string text = host.user().lastAlert().value_or("");
        std::replace(text.begin(), text.end(), '\n', ' ');
        return "the live objects were not made: " + text;
    }
    if (ErrorCode err = hostapp::UpdateChangedPluginArt(host, document))
        return "the live object failed: " + hostapp::DescribeCode(err);
    if (std::vector<std::string> failed = hostapp::FailedRegenerations(host, document);
        !failed.empty())
        return failed.front();
    return {};
}

int LiveApplyCommand(hostapp::Host& host, const std::vector<std::string>& args) {
    const std::string usage = "usage: vertigon apply " + KindNames("|") +
                              " IN.svg -o OUT.svg [--select ID]... [--set FIELD=VALUE]...";
    if (args.size() < 4 || args[2] != "-o" || !IsLiveFeature(args[0]))
        return Fail(usage);
    const std::string in = args[1], out = args[3];
    ApplyOptions options;
    if (std::string why = ParseApplyOptions(args, 4, options); !why.empty())
        return Fail(why == "usage" ? usage : why);
    const std::vector<std::string>& ids = options.ids;
    const std::vector<std::pair<std::string, std::string>>& settings = options.settings;
    hostapp::doc::Document* d = nullptr;
    hostapp::svg::SvgError error;
    if (!hostapp::svg::ReadSvgFile(host.docs(), in, d, error))
        return Fail(error.message);
    if (ErrorCode err = host.notify("Host Document Opened Notifier", nullptr))
        return Fail("apply: the plug-in failed on opening " + in + ": " +
                    hostapp::DescribeCode(err));
    if (std::vector<std::string> failed = hostapp::FailedRegenerations(host, *d); !failed.empty())
        return Fail("apply: " + failed.front());
    std::string reason;
    if (!SelectByIds(*d, ids, reason))
        return Fail("apply: " + reason);
    if (std::string why = ApplyLiveObject(host, *d, args[0], settings); !why.empty())
        return Fail("apply: " + why);
    if (!hostapp::svg::WriteSvgFile(*d, out, error))
        return Fail(error.message);
    return 0;
}

} // namespace app
