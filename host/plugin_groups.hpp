// plugin_groups.hpp - the plug-in groups registered with the host (kinds
// of plug-in art). Records live in the host's registry and are never freed
// while the host lives, so every handle stays comparable by identity.
#pragma once

#include <cstdint>
#include <string>

#include "host/api/vtg_base.h"

struct PluginGroupHandleOpaque {
    PluginRef plugin = nullptr;
    const void* host = nullptr; // the Host that took the registration
    std::string name;           // what documents store
    std::string description;
    std::string objectName;
    int32_t dataMajor = 0, dataMinor = 0;
    int32_t options = 0;
};

namespace hostapp {

class Host;

// Registers a group with `host`.
PluginGroupHandleOpaque* AddPluginGroup(const Host* host, PluginRef plugin, const std::string& name,
                                        int32_t major, int32_t minor,
                                        const std::string& description, int32_t options);
// The group registered last under `name` with `host`, or null.
PluginGroupHandleOpaque* FindPluginGroup(const Host* host, const std::string& name);
// True for a group registered with `host`.
bool IsPluginGroup(const Host* host, const PluginGroupHandleOpaque* group);

} // namespace hostapp
