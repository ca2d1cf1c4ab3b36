#include "app/apply_options.hpp"

namespace app {

std::string ParseApplyOptions(const std::vector<std::string>& args, std::size_t from,
                              ApplyOptions& options) {
    for (std::size_t i = from; i < args.size(); ++i) {
        if (args[i] == "--select" && i + 1 < args.size()) {
            options.ids.push_back(args[++i]);
        } else if (args[i] == "--set" && i + 1 < args.size()) {
            const std::string& s = args[++i];
            const std::size_t eq = s.find('=');
            if (eq == std::string::npos || eq == 0)
                return "apply: --set takes FIELD=VALUE, not \"" + s + "\"";
            options.settings.emplace_back(s.substr(0, eq), s.substr(eq + 1));
        } else {
            return "usage";
        }
    }
    return {};
}

} // namespace app
