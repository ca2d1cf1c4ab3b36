// platform_fixture.hpp - a clean window system per test, with a resources
// folder of the test's own when it writes templates.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/input.hpp"
#include "platform/resources.hpp"
#include "platform/system.hpp"
#include "platform/window.hpp"

namespace vtgtest {

// Destroys every window when it goes: declared after a test's handlers, it
// runs before they are gone.
struct WindowsGuard {
    WindowsGuard() = default;
    WindowsGuard(const WindowsGuard&) = delete;
    WindowsGuard& operator=(const WindowsGuard&) = delete;
    ~WindowsGuard() { platform::ResetWindowSystem(); }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { platform::ResetWindowSystem(); }
    void TearDown() override {
        platform::ResetWindowSystem();
        platform::ReleaseAllKeys();
        platform::SetResourceFolder("");
        if (!folder_.empty())
            std::filesystem::remove_all(folder_);
    }
    // Writes resources/dialogs/ID.dlg into a folder of this test and reads
    // resources from there.
    void WriteTemplate(int id, const std::string& text) {
        if (folder_.empty()) {
            folder_ = std::filesystem::temp_directory_path() /
                      ("vtg_res_" + std::to_string(::getpid()) + "_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
            std::filesystem::create_directories(folder_ / "dialogs");
            platform::SetResourceFolder(folder_.string());
        }
        std::ofstream(folder_ / "dialogs" / (std::to_string(id) + ".dlg")) << text;
    }
    std::filesystem::path folder_;
};

} // namespace vtgtest
