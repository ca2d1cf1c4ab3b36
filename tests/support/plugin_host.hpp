// plugin_host.hpp - a host with the plug-in linked in, for tests that drive
// the plug-in through its messages.
#pragma once

#include <gtest/gtest.h>

#include "core/plugin_main.hpp"
#include "host/host.hpp"

namespace vtgtest {

class PluginHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = std::make_unique<hostapp::Host>();
        host_->user().setEcho(false);
        host_->attach(&PluginMain, std::string(BinFolder()) + "/vertigon_plugin.so");
    }
    void TearDown() override {
        if (host_->started())
            host_->shutdown();
        host_.reset();
    }

    static const char* BinFolder() {
        const char* dir = std::getenv("VTG_BIN_DIR");
        return dir != nullptr ? dir : ".";
    }

    hostapp::Host& host() { return *host_; }

    std::unique_ptr<hostapp::Host> host_;
};

} // namespace vtgtest
