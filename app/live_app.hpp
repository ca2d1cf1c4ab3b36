// live_app.hpp - "vertigon apply live-circle": the live-object panel driven
// as a user drives it (fields set by their controls, then "適用").
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/host.hpp"

namespace app {

// True for a feature this command handles ("live-circle").
bool IsLiveFeature(const std::string& feature);

// Opens the panel of the feature's kind for the selection of `document`,
// sets each FIELD=VALUE by its control (live update off) and presses
// "適用"; the host then generates the new live objects. An empty text on
// success, else the reason.
std::string ApplyLiveObject(hostapp::Host& host, hostapp::doc::Document& document,
                            const std::string& feature,
                            const std::vector<std::pair<std::string, std::string>>& settings);

// "vertigon apply live-circle IN -o OUT [--select ID]... [--set FIELD=VALUE]...";
// VALUE as the panel shows it (percent, degrees, points; 0 or 1 for check
// boxes). Returns the exit status.
int LiveApplyCommand(hostapp::Host& host, const std::vector<std::string>& args);

} // namespace app
