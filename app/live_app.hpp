// live_app.hpp - "vertigon apply live-circle|live-border": the live-object
// panel driven as a user drives it (fields set by their controls, then
// "適用").
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/host.hpp"

namespace app {

// True for a feature this command handles ("live-circle", "live-border").
bool IsLiveFeature(const std::string& feature);
// The features this command handles, "live-circle, live-border".
std::string LiveFeatureNames();

// Opens the panel of the feature's kind for the selection of `document`,
// sets each FIELD=VALUE by its control (live update off; with `reset` the
// panel first loads the kind's built-in values, else unset fields keep the
// panel's last values) and presses "適用"; the host then generates the new
// live objects. Choices are set first, then check boxes, then numbers. An
// empty text on success, else the reason (an unknown field or a value the
// field does not take is named).
std::string ApplyLiveObject(hostapp::Host& host, hostapp::doc::Document& document,
                            const std::string& feature,
                            const std::vector<std::pair<std::string, std::string>>& settings,
                            bool reset = false);

// "vertigon apply live-circle|live-border IN -o OUT [--select ID]...
// [--set FIELD=VALUE]..."; VALUE as the panel shows it (percent, degrees,
// points or a length with its unit; 0 or 1 for check boxes; the index for
// radio groups and combo boxes). Returns the exit status.
int LiveApplyCommand(hostapp::Host& host, const std::vector<std::string>& args);

} // namespace app
