// plugin_host.hpp - a host with the plug-in linked in, for tests that drive
// the plug-in through its messages.
#pragma once

#include <gtest/gtest.h>

#include "core/plugin_main.hpp"
#include "host/host.hpp"
#include "platform/resources.hpp"

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

    // The binaries' folder: VTG_BIN_DIR, else the build's own.
    static const char* BinFolder() {
        const char* dir = std::getenv("VTG_BIN_DIR");
        return dir != nullptr ? dir : VTG_TEST_BIN_DIR;
    }

    hostapp::Host& host() { return *host_; }

    std::unique_ptr<hostapp::Host> host_;
};

} // namespace vtgtest
