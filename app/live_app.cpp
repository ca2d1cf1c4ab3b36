// The live-object commands of the program.
#include "app/live_app.hpp"
#include "app/apply_options.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/effects_app.hpp"
#include "host/code_text.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "platform/input.hpp"
#include "platform/window.hpp"

namespace app {

namespace {

constexpr const char* kLivePanel = "__QrLw_VERTiGON4PG_v46_PrefsPrefix__";

// A panel field and the control a user sets it with.
struct LiveField {
    const char* field;
    int control;
    bool check; // a check box (VALUE 0 or 1), else an edit
};
const LiveField kCircleFields[] = {
    {"copies", 1688, false},        {"heightRatio", 1705, false},  {"reverseOrder", 1571, true},
    {"keepAngle", 1690, true},      {"offsetH", 1700, false},      {"offsetV", 1702, false},
    {"showCentre", 1704, true},     {"randomOn", 1593, true},      {"anchorRadialOn", 1576, true},
    {"anchorRadial", 1574, false},  {"anchorAngleOn", 1577, true}, {"anchorAngle", 1578, false},
    {"inRadialOn", 1580, true},     {"inRadial", 1581, false},     {"inAngleOn", 1583, true},
    {"inAngle", 1584, false},       {"outRadialOn", 1586, true},   {"outRadial", 1587, false},
    {"outAngleOn", 1589, true},     {"outAngle", 1590, false},     {"randomOrder", 1592, true},
    {"referencePoint", 1691, false}};

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

// One gesture: an empty text on success.
std::string Set(platform::WindowId view, const LiveField& f, const std::string& value) {
    if (std::strcmp(f.field, "referencePoint") == 0) {
        char* end = nullptr;
        const long n = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || n < 0 || n > 8)
            return "referencePoint takes 0 .. 8";
        return platform::user::Click(platform::GetItem(view, f.control + static_cast<int>(n)));
    }
    platform::WindowId control = platform::GetItem(view, f.control);
    if (control == 0)
        return std::string("the panel has no control for ") + f.field;
    if (!f.check)
        return platform::user::Type(control, value);
    if (value != "0" && value != "1")
        return std::string(f.field) + " takes 0 or 1";
    if (platform::IsChecked(control) != (value == "1"))
        return platform::user::Click(control);
    return {};
}

} // namespace

bool IsLiveFeature(const std::string& feature) {
    return feature == "live-circle";
}

std::string ApplyLiveObject(hostapp::Host& host, hostapp::doc::Document& document,
                            const std::string& feature,
                            const std::vector<std::pair<std::string, std::string>>& settings) {
    if (!IsLiveFeature(feature))
        return "\"" + feature + "\" is not a live object (live-circle)";
    std::vector<std::pair<const LiveField*, std::string>> steps;
    for (const auto& [name, value] : settings) {
        const LiveField* f = nullptr;
        for (const LiveField& c : kCircleFields)
            if (name == c.field)
                f = &c;
        if (f == nullptr)
            return feature + " has no field \"" + name + "\"";
        steps.emplace_back(f, value);
    }
    host.notify("Host Art Selection Changed Notifier", nullptr);
    // The panel opens (or comes to the front) for the kind.
    PanelHandleOpaque* panel = host.panels().find(kLivePanel);
    if (panel == nullptr || !panel->shown || PanelView(host) == 0)
        if (ErrorCode err = host.chooseMenu("VERTiGON6_05"))
            return "the panel did not open (" + hostapp::FormatCode(err) + ")";
    platform::WindowId view = PanelView(host);
    if (view == 0)
        return "the live-object panel shows no view";
    // Live update off: the values only take effect with Apply.
    platform::WindowId live = platform::GetItem(view, 1418);
    if (platform::IsChecked(live))
        platform::user::Click(live);
    for (const auto& [f, value] : steps)
        if (std::string why = Set(view, *f, value); !why.empty())
            return why;
    if (std::string why = platform::user::Click(platform::GetItem(view, 1421)); !why.empty())
        return why;
    if (ErrorCode err = hostapp::UpdateChangedPluginArt(host, document))
        return "the live object failed (" + hostapp::FormatCode(err) + ")";
    return {};
}

int LiveApplyCommand(hostapp::Host& host, const std::vector<std::string>& args) {
    const char* usage = "usage: vertigon apply live-circle IN.svg -o OUT.svg [--select ID]... "
                        "[--set FIELD=VALUE]...";
    if (args.size() < 4 || args[2] != "-o" || !IsLiveFeature(args[0]))
        return Fail(usage);
    const std::string in = args[1], out = args[3];
    ApplyOptions options;
    if (std::string why = ParseApplyOptions(args, 4, options); !why.empty())
        return Fail(why == "usage" ? std::string(usage) : why);
    const std::vector<std::string>& ids = options.ids;
    const std::vector<std::pair<std::string, std::string>>& settings = options.settings;
    hostapp::doc::Document* d = nullptr;
    hostapp::svg::SvgError error;
    if (!hostapp::svg::ReadSvgFile(host.docs(), in, d, error))
        return Fail(error.message);
    host.notify("Host Document Opened Notifier", nullptr);
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
