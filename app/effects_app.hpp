// effects_app.hpp - the program's live-effect commands: the effects by
// their feature names, their fields as a user sets them in the dialog, and
// "vertigon apply" / "vertigon update".
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/host.hpp"

namespace app {

// The registered name of an effect feature ("effect-lens" or "lens" give
// "VERTiGON5_Lens"); empty when unknown.
std::string EffectName(const std::string& feature);
// The internal name of a filter feature ("filter-fractalize" or
// "fractalize"); empty when unknown.
std::string FilterName(const std::string& feature);

// Queues the user's gestures in the open effect dialog that set each
// FIELD=VALUE (VALUE as the dialog shows it: percent, degrees), choices
// first, then OK. A field the dialog has no control for, a bad value or a
// gesture that fails presses Cancel instead; `error` (kept alive by the
// caller until the dialog ends) receives the reason.
// With `reset` the dialog's "リセット" is pressed first, so that unset
// fields take the default setting instead of the last used one.
bool QueueEffectSettings(const std::string& feature,
                         const std::vector<std::pair<std::string, std::string>>& settings,
                         std::string& error, std::string& problem, bool reset = false);

// Selects the art with these ids (all top-level art when none); false with
// a reason for an unknown id.
bool SelectByIds(hostapp::doc::Document& document, const std::vector<std::string>& ids,
                 std::string& reason);

// "vertigon apply FEATURE IN -o OUT [--select ID]... [--set FIELD=VALUE]...";
// "vertigon update IN -o OUT". Return the exit status.
int ApplyCommand(hostapp::Host& host, const std::vector<std::string>& args);
int UpdateCommand(hostapp::Host& host, const std::vector<std::string>& args);

} // namespace app
