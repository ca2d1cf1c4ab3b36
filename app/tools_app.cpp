#include "app/tools_app.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/effects_app.hpp"
#include "host/code_text.hpp"
#include "host/doc/art.hpp"
#include "host/effects/live_effects.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "platform/input.hpp"
#include "platform/window.hpp"

namespace app {
namespace {

constexpr const char* kToolPanel = "__QrLw_VERTiGON4Tool_v46_PrefsPrefix__";

// How a user sets a tool field: a click on one of a row of buttons, a
// toggle of a check box, a choice in a combo box or typing into an edit.
struct ToolField {
    const char* field;
    enum class Way { Choose, Toggle, Combo, Type } way;
    std::vector<int> ids; // Choose: one id per value; otherwise the control
};
using W = ToolField::Way;

std::vector<int> Range(int first, int count) {
    std::vector<int> ids;
    for (int i = 0; i < count; ++i)
        ids.push_back(first + i);
    return ids;
}

std::vector<int> WarpTypeButtons() {
    std::vector<int> ids = Range(1282, 18);
    for (int id : Range(1230, 4))
        ids.push_back(id);
    return ids;
}

const std::map<std::string, std::vector<ToolField>>& ToolFields() {
    static const std::map<std::string, std::vector<ToolField>> fields = {
        {"roughen",
         {{"shape", W::Choose, {1274, 1275}},
          {"radius", W::Type, {1272}},
          {"trace", W::Toggle, {1269}},
          {"traceMode", W::Combo, {1271}},
          {"steps", W::Type, {1273}},
          {"changeRandom", W::Toggle, {1270}}}},
        {"lens",
         {{"lensKind", W::Choose, Range(1062, 4)},
          {"fishEyeAmount", W::Type, {1071}},
          {"lupeAmount", W::Type, {1072}},
          {"twirlAmount", W::Type, {1077}},
          {"twirlCycle", W::Type, {1078}},
          {"opticalH", W::Type, {1073}},
          {"opticalV", W::Type, {1074}},
          {"group", W::Toggle, {1066}},
          {"width", W::Type, {1069}},
          {"height", W::Type, {1070}},
          {"trace", W::Toggle, {1067}},
          {"traceMode", W::Combo, {1068}},
          {"interval", W::Type, {1075}},
          {"steps", W::Type, {1076}}}},
        {"craft",
         {{"brushMode", W::Choose, Range(1040, 4)},
          {"resistance", W::Combo, {1045}},
          {"radius", W::Type, {1047}},
          {"trace", W::Toggle, {1044}},
          {"traceMode", W::Combo, {1046}},
          {"interval", W::Type, {1048}},
          {"steps", W::Type, {1049}}}},
        {"broom",
         {{"brushMode", W::Choose, Range(1023, 4)},
          {"resistance", W::Combo, {1029}},
          {"radius", W::Type, {1031}},
          {"group", W::Toggle, {1027}},
          {"trace", W::Toggle, {1028}},
          {"traceMode", W::Combo, {1030}},
          {"interval", W::Type, {1032}},
          {"steps", W::Type, {1033}}}},
        {"warp",
         {{"type", W::Choose, WarpTypeButtons()},
          {"margin", W::Type, {1307}},
          {"perspective", W::Toggle, {1304}},
          {"trace", W::Toggle, {1305}},
          {"traceMode", W::Combo, {1306}},
          {"interval", W::Type, {1308}},
          {"steps", W::Type, {1309}}}},
        {"wave",
         {{"style", W::Choose, Range(1315, 5)},
          {"cycle", W::Type, {1322}},
          {"trace", W::Toggle, {1320}},
          {"traceMode", W::Combo, {1321}},
          {"interval", W::Type, {1323}},
          {"steps", W::Type, {1324}}}},
    };
    return fields;
}

bool Integer(const std::string& text, int& value) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end == nullptr || *end != '\0' || v < -1000000 || v > 1000000)
        return false;
    value = static_cast<int>(v);
    return true;
}

int Fail(const std::string& reason) {
    std::fprintf(stderr, "vertigon: %s\n", reason.c_str());
    return 1;
}

} // namespace

const std::map<std::string, std::string>& ToolTitles() {
    static const std::map<std::string, std::string> titles = {
        {"warp", "VERTiGON6: 遠近法ワープ ツール"},   {"wave", "VERTiGON6: マルチウェーブ ツール"},
        {"lens", "VERTiGON6: レンズ ツール"},         {"craft", "VERTiGON6: クラフト ツール"},
        {"roughen", "VERTiGON6: ラフ ツール"},        {"broom", "VERTiGON6: ほうき ツール"},
        {"3drotate", "VERTiGON6: Live 3D回転 ツール"}};
    return titles;
}

bool ParsePoint(const std::string& text, VtgPoint& point) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    const std::string xs = text.substr(0, comma), ys = text.substr(comma + 1);
    char* end1 = nullptr;
    char* end2 = nullptr;
    point.x = std::strtod(xs.c_str(), &end1);
    point.y = std::strtod(ys.c_str(), &end2);
    return !xs.empty() && !ys.empty() && *end1 == '\0' && *end2 == '\0' && std::isfinite(point.x) &&
           std::isfinite(point.y);
}

bool SetToolFields(const std::string& tool,
                   const std::vector<std::pair<std::string, std::string>>& settings,
                   std::string& reason) {
    auto table = ToolFields().find(tool);
    if (table == ToolFields().end()) {
        if (!settings.empty()) {
            reason = "the tool \"" + tool + "\" has no options to set";
            return false;
        }
        return true;
    }
    const platform::WindowId panel = platform::FindNamedWindow(kToolPanel);
    for (const auto& [name, value] : settings) {
        const ToolField* field = nullptr;
        for (const ToolField& f : table->second)
            if (name == f.field)
                field = &f;
        if (field == nullptr) {
            reason = "the " + tool + " tool has no field \"" + name + "\"";
            return false;
        }
        auto control = [&](int id) { return panel != 0 ? platform::FindDescendant(panel, id) : 0; };
        std::string problem;
        int n = 0;
        switch (field->way) {
        case W::Choose:
            if (!Integer(value, n) || n < 0 || n >= static_cast<int>(field->ids.size())) {
                reason = name + ": a number from 0 to " + std::to_string(field->ids.size() - 1);
                return false;
            }
            problem = platform::user::Click(control(field->ids[static_cast<std::size_t>(n)]));
            break;
        case W::Toggle:
            if (value != "0" && value != "1") {
                reason = name + ": 0 or 1";
                return false;
            }
            if (platform::IsChecked(control(field->ids[0])) != (value == "1"))
                problem = platform::user::Click(control(field->ids[0]));
            break;
        case W::Combo:
            if (!Integer(value, n)) {
                reason = name + ": an item number";
                return false;
            }
            problem = platform::user::Choose(control(field->ids[0]), n);
            break;
        case W::Type:
            problem = platform::user::Type(control(field->ids[0]), value);
            break;
        }
        if (!problem.empty()) {
            reason = name + ": " + problem;
            return false;
        }
    }
    return true;
}

ErrorCode RunToolGesture(hostapp::Host& host, const std::vector<VtgPoint>& path,
                         uint32_t modifiers) {
    if (path.empty())
        return kBadParameterErr;
    ErrorCode err = host.toolMouse(kSelectorMouseDown, path.front(), modifiers);
    if (err != kNoErr)
        return err;
    for (std::size_t i = 1; i < path.size(); ++i)
        if ((err = host.toolMouse(kSelectorMouseDrag, path[i], modifiers)) != kNoErr)
            break;
    ErrorCode up = host.toolMouse(kSelectorMouseUp, path.back(), modifiers);
    return err != kNoErr ? err : up;
}

int DragCommand(hostapp::Host& host, const std::vector<std::string>& args) {
    const char* usage = "usage: vertigon drag TOOL IN.svg -o OUT.svg --path X,Y X,Y... "
                        "[--hold alt,shift,ctrl] [--select ID]... [--set FIELD=VALUE]...";
    if (args.size() < 4 || args[2] != "-o")
        return Fail(usage);
    const std::string& tool = args[0];
    auto title = ToolTitles().find(tool);
    if (title == ToolTitles().end())
        return Fail("drag: unknown tool \"" + tool +
                    "\" (warp wave lens craft roughen broom 3drotate)");
    std::vector<VtgPoint> path;
    std::vector<std::string> ids;
    std::vector<std::pair<std::string, std::string>> settings;
    uint32_t modifiers = 0;
    for (std::size_t i = 4; i < args.size(); ++i) {
        if (args[i] == "--path") {
            VtgPoint p{};
            while (i + 1 < args.size() && ParsePoint(args[i + 1], p)) {
                path.push_back(p);
                ++i;
            }
        } else if (args[i] == "--hold" && i + 1 < args.size()) {
            std::string keys = args[++i] + ",";
            for (std::size_t at = 0, comma; (comma = keys.find(',', at)) != std::string::npos;
                 at = comma + 1) {
                const std::string key = keys.substr(at, comma - at);
                if (key == "alt")
                    modifiers |= kModifierAlt;
                else if (key == "shift")
                    modifiers |= kModifierShift;
                else if (key == "ctrl")
                    modifiers |= kModifierCtrl;
                else
                    return Fail("drag: --hold takes alt, shift and ctrl, not \"" + key + "\"");
            }
        } else if (args[i] == "--select" && i + 1 < args.size()) {
            ids.push_back(args[++i]);
        } else if (args[i] == "--set" && i + 1 < args.size()) {
            const std::string& s = args[++i];
            const std::size_t eq = s.find('=');
            if (eq == std::string::npos || eq == 0)
                return Fail("drag: --set takes FIELD=VALUE");
            settings.emplace_back(s.substr(0, eq), s.substr(eq + 1));
        } else {
            return Fail(usage);
        }
    }
    if (path.empty())
        return Fail("drag: --path needs at least one point X,Y");
    hostapp::doc::Document* d = nullptr;
    hostapp::svg::SvgError error;
    if (!hostapp::svg::ReadSvgFile(host.docs(), args[1], d, error))
        return Fail(error.message);
    host.notify("Host Document Opened Notifier", nullptr);
    hostapp::effects::RenderDocument(host, *d);
    std::string reason;
    if (!SelectByIds(*d, ids, reason))
        return Fail("drag: " + reason);
    host.notify("Host Art Selection Changed Notifier", nullptr);
    if (ErrorCode err = host.selectTool(title->second); err != kNoErr)
        return Fail("drag: selecting the tool failed: " + hostapp::FormatCode(err));
    if (!SetToolFields(tool, settings, reason))
        return Fail("drag: " + reason);
    // A trace asks before it makes copies: the user says yes.
    host.user().queue({hostapp::Answer::Kind::Yes, {}});
    ErrorCode err = RunToolGesture(host, path, modifiers);
    if (err != kNoErr && err != kCancelledErr)
        return Fail("drag: the tool answered " + hostapp::FormatCode(err));
    // A result that could not be made is never saved as if it were.
    std::vector<std::string> failed = hostapp::effects::RenderDocumentFailures(host, *d);
    for (std::string& line : hostapp::FailedRegenerations(host, *d))
        failed.push_back(std::move(line));
    if (!failed.empty())
        return Fail("drag: " + failed.front());
    if (!hostapp::svg::WriteSvgFile(*d, args[3], error))
        return Fail(error.message);
    return 0;
}

} // namespace app
