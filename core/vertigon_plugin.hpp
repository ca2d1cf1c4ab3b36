// vertigon_plugin.hpp - the main plug-in object.
//
// It wraps the base dispatcher in an exception guard and serves the callers
// the base does not know. The features register themselves and receive their
// messages from here as they are built.
#pragma once

#include "core/plugin.hpp"

namespace vtg {

class VERTiGON4Plugin : public Plugin {
public:
    explicit VERTiGON4Plugin(PluginRef plugin);
    ~VERTiGON4Plugin() override;

    ErrorCode OnStartup(BasicMessage* message) override;
    ErrorCode OnShutdown(BasicMessage* message) override;
    ErrorCode Message(const char* caller, const char* selector, void* message) override;
};

} // namespace vtg
