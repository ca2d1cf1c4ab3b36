// Script commands on live effects: "effect FEATURE" adds an effect to the
// selection and "edit-effect [FEATURE]" edits the selection's effect; the
// effect's dialog reads the lines that follow, up to its OK or Cancel.
#include "app/effects_app.hpp"
#include "app/script.hpp"
#include "host/code_text.hpp"
#include "host/effects/live_effects.hpp"

namespace app {

bool ScriptRunner::executeEffects(const std::vector<std::string>& w, std::string& reason,
                                  bool& ok) {
    const std::string& command = w[0];
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

} // namespace app
