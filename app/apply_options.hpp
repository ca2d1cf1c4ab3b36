// apply_options.hpp - the options of "vertigon apply": --select ID and
// --set FIELD=VALUE, in the order given.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace app {

struct ApplyOptions {
    std::vector<std::string> ids;                              // --select
    std::vector<std::pair<std::string, std::string>> settings; // --set, in order
};

// Reads the options from args[from] on. Returns an empty text on success;
// "usage" for a word that is not an option, else the reason.
std::string ParseApplyOptions(const std::vector<std::string>& args, std::size_t from,
                              ApplyOptions& options);

} // namespace app
