// Script commands on live effects: "effect FEATURE" adds an effect to the
// selection and "edit-effect [FEATURE]" edits the selection's effect; the
// effect's dialog reads the lines that follow, up to its OK or Cancel.
#include "app/effects_app.hpp"
#include "app/script.hpp"
#include "host/code_text.hpp"
#include "host/effects/live_effects.hpp"
#include "host/filters/filters.hpp"

#include <cstdio>

namespace app {

bool ScriptRunner::executeEffects(const std::vector<std::string>& w, std::string& reason,
                                  bool& ok) {
    const std::string& command = w[0];
    if (command == "filter")
        return executeFilter(w, reason, ok);
    if (command != "effect" && command != "edit-effect")
        return false;
    ok = false;
    const bool add = command == "effect";
    if ((add && w.size() != 2) || (!add && w.size() > 2)) {
        reason = add ? "usage: effect multiwave | lens | warp | fractalize"
                     : "usage: edit-effect [multiwave | lens | warp | fractalize]";
        return true;
    }
    std::string name;
    if (w.size() == 2) {
        name = EffectName(w[1]);
        if (name.empty()) {
            reason = command + ": unknown effect \"" + w[1] + "\"";
            return true;
        }
    }
    if (!host_.started()) {
        reason = command + ": the plug-in is not running";
        return true;
    }
    ErrorCode result =
        add ? hostapp::effects::AddEffect(host_, name) : hostapp::effects::EditEffect(host_, name);
    if (result == hostapp::effects::kNoSelectionErr) {
        reason =
            add ? "effect: nothing is selected" : "edit-effect: no selected art has that effect";
        return true;
    }
    // Cancel ("STOP") is the user's choice, not a failure of the script.
    if (result != kNoErr && result != 0x53544F50) {
        reason = command + ": " + hostapp::FormatCode(result);
        return true;
    }
    ok = true;
    return true;
}

// "filter NAME" runs a filter of the filter menu with its dialog (which reads
// the lines that follow); "filter again" runs the last one again without it;
// "filter menu" prints the filter menu.
bool ScriptRunner::executeFilter(const std::vector<std::string>& w, std::string& reason, bool& ok) {
    ok = false;
    if (w.size() != 2) {
        reason = "usage: filter fractalize | again | menu";
        return true;
    }
    if (!host_.started()) {
        reason = "filter: the plug-in is not running";
        return true;
    }
    if (w[1] == "menu") {
        for (const std::string& line : hostapp::filters::FilterMenu(host_))
            std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        ok = true;
        return true;
    }
    FilterHandleOpaque* filter = nullptr;
    if (w[1] == "again") {
        filter = hostapp::filters::LastFilter(host_);
        if (filter == nullptr) {
            reason = "filter again: no filter has run yet";
            return true;
        }
    } else {
        const std::string name = FilterName(w[1]);
        filter = hostapp::filters::FindFilter(host_, name.empty() ? w[1] : name);
        if (filter == nullptr) {
            reason = "filter: unknown filter \"" + w[1] + "\"";
            return true;
        }
    }
    ErrorCode result = hostapp::filters::RunFilter(host_, filter, w[1] != "again");
    if (result == hostapp::effects::kNoSelectionErr) {
        reason = "filter: no path is selected";
        return true;
    }
    if (result == kNoDocumentErr) {
        reason = "filter: no document is open";
        return true;
    }
    // Cancel ("STOP") is the user's choice, not a failure of the script.
    if (result != kNoErr && result != 0x53544F50) {
        reason = "filter: " + hostapp::FormatCode(result);
        return true;
    }
    ok = true;
    return true;
}

} // namespace app
