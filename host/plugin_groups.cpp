#include "host/plugin_groups.hpp"

#include <memory>
#include <vector>

#include "host/host.hpp"

namespace hostapp {
namespace {

// The registrations belong to the host that took them.
std::vector<std::unique_ptr<PluginGroupHandleOpaque>>& Groups(const Host* host) {
    return const_cast<Host*>(host)->registry().pluginGroups;
}

} // namespace

PluginGroupHandleOpaque* AddPluginGroup(const Host* host, PluginRef plugin, const std::string& name,
                                        int32_t major, int32_t minor,
                                        const std::string& description, int32_t options) {
    auto group = std::make_unique<PluginGroupHandleOpaque>();
    group->plugin = plugin;
    group->host = host;
    group->name = name;
    group->description = description;
    group->dataMajor = major;
    group->dataMinor = minor;
    group->options = options;
    Groups(host).push_back(std::move(group));
    return Groups(host).back().get();
}

PluginGroupHandleOpaque* FindPluginGroup(const Host* host, const std::string& name) {
    if (host == nullptr)
        return nullptr;
    auto& groups = Groups(host);
    for (auto it = groups.rbegin(); it != groups.rend(); ++it)
        if ((*it)->host == host && (*it)->name == name)
            return it->get();
    return nullptr;
}

bool IsPluginGroup(const Host* host, const PluginGroupHandleOpaque* group) {
    if (host == nullptr)
        return false;
    for (const auto& g : Groups(host))
        if (g.get() == group)
            return true;
    return false;
}

} // namespace hostapp
