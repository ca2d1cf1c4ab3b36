#include "host/registry.hpp"

namespace hostapp {

namespace {
template <typename T, typename Pred>
T* FindIn(const std::vector<std::unique_ptr<T>>& v, Pred pred) {
    for (const auto& p : v)
        if (pred(*p))
            return p.get();
    return nullptr;
}
} // namespace

MenuGroupHandleOpaque* Registry::findMenuGroup(const std::string& name) const {
    return FindIn(menuGroups, [&](const auto& g) { return g.name == name; });
}

MenuItemHandleOpaque* Registry::findMenuItem(const std::string& key) const {
    return FindIn(menuItems, [&](const auto& i) { return i.key == key; });
}

ToolHandleOpaque* Registry::findTool(const std::string& title) const {
    return FindIn(tools, [&](const auto& t) { return t.title == title; });
}

FilterHandleOpaque* Registry::findFilter(const std::string& name) const {
    return FindIn(filters, [&](const auto& f) { return f.name == name; });
}

LiveEffectHandleOpaque* Registry::findLiveEffect(const std::string& name) const {
    return FindIn(liveEffects, [&](const auto& e) { return e.name == name; });
}

bool Registry::IsHostMenuGroup(const std::string& name) {
    return name == "Window Utilities";
}

} // namespace hostapp
