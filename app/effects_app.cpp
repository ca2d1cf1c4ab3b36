#include "app/effects_app.hpp"
#include "app/apply_options.hpp"
#include "app/live_app.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "host/code_text.hpp"
#include "host/doc/art.hpp"
#include "host/effects/live_effects.hpp"
#include "host/filters/filters.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "platform/input.hpp"
#include "platform/window.hpp"

namespace app {
namespace {

// How a user sets a field: a click on one of a row of buttons (first id +
// value), a toggle of a check box, or typing into an edit.
struct FieldControl {
    const char* field;
    enum class Way { Choose, Toggle, Type, Pick } way; // Pick: list position = value - 1
    int id;
    int count; // choices
};

using W = FieldControl::Way;
const FieldControl kWave[] = {
    {"style", W::Choose, 1763, 5},     {"orientation", W::Choose, 1768, 2},
    {"cycle", W::Type, 1770, 0},       {"bendRatio", W::Type, 1772, 0},
    {"centerRatio", W::Type, 1775, 0},
};
const FieldControl kWarp[] = {
    {"style", W::Choose, 1730, 22},        {"orientation", W::Choose, 1752, 2},
    {"perspective_f", W::Toggle, 1754, 0}, {"marginRatio", W::Type, 1755, 0},
    {"bendRatio", W::Type, 1757, 0},       {"centerRatio", W::Type, 1760, 0},
};
const FieldControl kLens[] = {
    {"lensKind", W::Choose, 1780, 3},      {"lensShape", W::Choose, 1822, 2},
    {"group_f", W::Toggle, 1802, 0},       {"showArea", W::Toggle, 1818, 0},
    {"fishEyeAmount", W::Type, 1785, 0},   {"lupeAmount", W::Type, 1788, 0},
    {"twirlAmount", W::Type, 1791, 0},     {"twirlCycle", W::Type, 1794, 0},
    {"opticalAmount.h", W::Type, 1797, 0}, {"opticalAmount.v", W::Type, 1800, 0},
    {"centerRatio.h", W::Type, 1803, 0},   {"centerRatio.v", W::Type, 1806, 0},
    {"sizeRatio.h", W::Type, 1809, 0},     {"sizeRatio.v", W::Type, 1812, 0},
};

const FieldControl kFractalize[] = {
    {"generator", W::Pick, 1422, 14},     {"level", W::Pick, 1425, 14},
    {"reverseH", W::Toggle, 1824, 0},     {"reverseV", W::Toggle, 1825, 0},
    {"constantSize", W::Toggle, 1917, 0}, {"uneven_f", W::Toggle, 1918, 0},
    {"unevenGen_f", W::Toggle, 1923, 0},  {"density", W::Type, 1426, 0},
    {"genHeight", W::Type, 1423, 0},      {"gapSpaceRatio", W::Type, 1914, 0},
    {"shiftGapRatio", W::Type, 1919, 0},  {"uneven", W::Type, 1428, 0},
};

struct EffectFeature {
    const char* feature;
    const char* shortName;
    const char* name;
    const FieldControl* fields;
    size_t count;
    bool filter = false; // a filter of the filter menu, `name` its internal name
};

const EffectFeature kFeatures[] = {
    {"effect-multiwave", "multiwave", "VERTiGON5_Wave", kWave, std::size(kWave)},
    {"effect-warp", "warp", "VERTiGON5_Warp", kWarp, std::size(kWarp)},
    {"effect-lens", "lens", "VERTiGON5_Lens", kLens, std::size(kLens)},
    {"effect-fractalize", "fractalize", "VERTiGON4", kFractalize, std::size(kFractalize)},
    {"filter-fractalize", "fractalize", "QrLw Fractalize Filter", kFractalize,
     std::size(kFractalize), true},
};

const EffectFeature* FindFeature(const std::string& word, bool filter = false) {
    for (const EffectFeature& f : kFeatures)
        if (f.filter == filter && (word == f.feature || word == f.shortName || word == f.name))
            return &f;
    return nullptr;
}

// A number typed into a field; an infinity or overflow ("1e400") is kept for
// the dialog to limit, NaN is not a number.
bool Number(const std::string& text, double& v) {
    char* end = nullptr;
    v = std::strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == '\0' && !std::isnan(v);
}

int Fail(const std::string& reason) {
    std::fprintf(stderr, "vertigon: %s\n", reason.c_str());
    return 1;
}

// Runs one gesture in the open dialog; an empty text on success.
std::string Gesture(const FieldControl& c, const std::string& value) {
    platform::WindowId dialog = platform::CurrentModalDialog();
    if (dialog == 0)
        return "no effect dialog is open";
    double v = 0;
    if (c.way != W::Type && (!Number(value, v) || !std::isfinite(v) || v != std::trunc(v)))
        return std::string(c.field) + ": \"" + value + "\" is not a whole number";
    switch (c.way) {
    case W::Choose:
        if (v < 0 || v >= c.count)
            return std::string(c.field) + ": " + value + " is not one of 0 .. " +
                   std::to_string(c.count - 1);
        return platform::user::Click(platform::GetItem(dialog, c.id + static_cast<int>(v)));
    case W::Pick:
        if (v < 1 || v > c.count)
            return std::string(c.field) + ": " + value + " is not one of 1 .. " +
                   std::to_string(c.count);
        return platform::user::Choose(platform::GetItem(dialog, c.id), static_cast<int>(v) - 1);
    case W::Toggle: {
        platform::WindowId box = platform::GetItem(dialog, c.id);
        if ((platform::user::Shown(box) == "1") != (v != 0))
            return platform::user::Click(box);
        return {};
    }
    case W::Type:
        if (!Number(value, v))
            return std::string(c.field) + ": \"" + value + "\" is not a number";
        return platform::user::Type(platform::GetItem(dialog, c.id), value);
    }
    return {};
}

} // namespace

std::string EffectName(const std::string& feature) {
    const EffectFeature* f = FindFeature(feature);
    return f != nullptr ? f->name : "";
}

std::string FilterName(const std::string& feature) {
    const EffectFeature* f = FindFeature(feature, true);
    return f != nullptr ? f->name : "";
}

bool QueueEffectSettings(const std::string& feature,
                         const std::vector<std::pair<std::string, std::string>>& settings,
                         std::string& error, std::string& problem, bool reset) {
    const EffectFeature* f = FindFeature(feature);
    if (f == nullptr)
        f = FindFeature(feature, true);
    if (f == nullptr) {
        error = "unknown effect \"" + feature + "\"";
        return false;
    }
    std::vector<std::pair<const FieldControl*, std::string>> steps;
    for (int pass = 0; pass < 2; ++pass)
        for (const auto& [field, value] : settings) {
            const FieldControl* c = nullptr;
            for (size_t i = 0; i < f->count; ++i)
                if (field == f->fields[i].field)
                    c = &f->fields[i];
            if (c == nullptr) {
                error = feature + " has no field \"" + field + "\"";
                return false;
            }
            // Choices first: they decide which rows the dialog shows.
            if ((c->way == W::Type) == (pass == 1))
                steps.emplace_back(c, value);
        }
    problem.clear();
    if (reset)
        platform::QueueUserInput([&problem] {
            platform::WindowId dialog = platform::CurrentModalDialog();
            problem = dialog != 0 ? platform::user::Click(platform::GetItem(dialog, 1821))
                                  : "no effect dialog is open";
        });
    for (const auto& [c, value] : steps)
        platform::QueueUserInput([c = c, value = value, &problem] {
            if (problem.empty())
                problem = Gesture(*c, value);
        });
    platform::QueueUserInput([&problem] {
        platform::WindowId dialog = platform::CurrentModalDialog();
        if (dialog != 0)
            platform::user::Click(platform::GetItem(dialog, problem.empty() ? 1 : 2));
    });
    return true;
}

bool SelectByIds(hostapp::doc::Document& d, const std::vector<std::string>& ids,
                 std::string& reason) {
    std::vector<hostapp::doc::ArtNode*> chosen;
    for (hostapp::doc::LayerNode* l : d.layers) {
        if (!ids.empty())
            break;
        for (hostapp::doc::ArtNode* a : l->group->s.children)
            if ((a->s.attributes & (kVtgArtLocked | kVtgArtHidden)) == 0)
                chosen.push_back(a);
    }
    for (const std::string& id : ids) {
        hostapp::doc::ArtNode* found = nullptr;
        for (hostapp::doc::LayerNode* l : d.layers)
            hostapp::doc::Walk(l->group, false, [&](hostapp::doc::ArtNode* a) {
                if (found == nullptr && a->s.name == id && a->layer == nullptr)
                    found = a;
                return found == nullptr;
            });
        if (found == nullptr) {
            reason = "no art with id \"" + id + "\"";
            return false;
        }
        chosen.push_back(found);
    }
    hostapp::doc::Commit(d);
    hostapp::doc::SelectNone(d);
    for (hostapp::doc::ArtNode* a : chosen)
        hostapp::doc::SetAttributes(a, kVtgArtSelected, true);
    d.pending = {};
    return true;
}

int ApplyCommand(hostapp::Host& host, const std::vector<std::string>& args) {
    const char* usage =
        "usage: vertigon apply FEATURE IN.svg -o OUT.svg [--select ID]... [--set FIELD=VALUE]...";
    if (args.size() < 4 || args[2] != "-o")
        return Fail(usage);
    const std::string feature = args[0], in = args[1], out = args[3];
    const bool filter = feature.rfind("filter-", 0) == 0;
    const std::string name = filter ? FilterName(feature) : EffectName(feature);
    if (name.empty())
        return Fail("apply: \"" + feature +
                    "\" is not a feature to apply (effect-multiwave, effect-lens, "
                    "effect-warp, effect-fractalize, filter-fractalize, " +
                    LiveFeatureNames() + ")");
    ApplyOptions options;
    if (std::string why = ParseApplyOptions(args, 4, options); !why.empty())
        return Fail(why == "usage" ? std::string(usage) : why);
    const std::vector<std::string>& ids = options.ids;
    const std::vector<std::pair<std::string, std::string>>& settings = options.settings;
    hostapp::doc::Document* d = nullptr;
    hostapp::svg::SvgError error;
    if (!hostapp::svg::ReadSvgFile(host.docs(), in, d, error))
        return Fail(error.message);
    if (ErrorCode err = host.notify("Host Document Opened Notifier", nullptr))
        return Fail("apply: the plug-in failed on opening " + in + ": " +
                    hostapp::DescribeCode(err));
    if (ErrorCode err = hostapp::effects::RenderDocument(host, *d))
        return Fail("apply: an effect of the document failed: " + hostapp::DescribeCode(err));
    if (std::vector<std::string> failed = hostapp::FailedRegenerations(host, *d); !failed.empty())
        return Fail("apply: " + failed.front());
    std::string reason;
    if (!SelectByIds(*d, ids, reason))
        return Fail("apply: " + reason);
    auto problem = std::make_unique<std::string>();
    if (!QueueEffectSettings(feature, settings, reason, *problem))
        return Fail("apply: " + reason);
    ErrorCode result =
        filter ? hostapp::filters::RunFilter(host, hostapp::filters::FindFilter(host, name))
               : hostapp::effects::AddEffect(host, name);
    platform::ClearUserInput();
    const char* what = filter ? "filter" : "effect";
    if (!problem->empty())
        return Fail("apply: " + *problem);
    if (result == hostapp::effects::kNoSelectionErr)
        return Fail(std::string("apply: nothing to apply the ") + what + " to");
    if (result != kNoErr)
        return Fail(std::string("apply: the ") + what +
                    " failed: " + hostapp::DescribeCode(result));
    // Effects of the filtered paths follow their new source.
    if (filter)
        if (ErrorCode err = hostapp::effects::RenderDocument(host, *d))
            return Fail("apply: an effect of the document failed: " + hostapp::DescribeCode(err));
    if (!hostapp::svg::WriteSvgFile(*d, out, error))
        return Fail(error.message);
    return 0;
}

int UpdateCommand(hostapp::Host& host, const std::vector<std::string>& args) {
    std::vector<std::string> files;
    bool keepGoing = false;
    for (const std::string& a : args)
        if (a == "--keep-going")
            keepGoing = true;
        else
            files.push_back(a);
    if (files.size() != 3 || files[1] != "-o")
        return Fail("usage: vertigon update IN.svg -o OUT.svg [--keep-going]");
    hostapp::doc::Document* d = nullptr;
    hostapp::svg::SvgError error;
    if (!hostapp::svg::ReadSvgFile(host.docs(), files[0], d, error))
        return Fail(error.message);
    // Every live object and effect is made again; one that fails keeps its
    // last result and is reported, and the others still regenerate.
    std::vector<std::string> failed;
    if (ErrorCode err = host.notify("Host Document Opened Notifier", nullptr))
        failed.push_back("the plug-in failed on opening the document: " +
                         hostapp::DescribeCode(err));
    for (std::string& line : hostapp::effects::RenderDocumentFailures(host, *d))
        failed.push_back(std::move(line));
    for (std::string& line : hostapp::FailedRegenerations(host, *d))
        failed.push_back(std::move(line));
    for (const std::string& line : failed)
        std::fprintf(stderr, "vertigon: update: %s\n", line.c_str());
    if (!failed.empty() && !keepGoing)
        return Fail("update: nothing written (--keep-going writes the rest)");
    if (!hostapp::svg::WriteSvgFile(*d, files[2], error))
        return Fail(error.message);
    return failed.empty() ? 0 : 1;
}

} // namespace app
