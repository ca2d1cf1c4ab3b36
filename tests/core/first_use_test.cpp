// First use: the preset folder, the global settings and the effects'
// preset files appear on the first menu command; a failed first use is
// tried again by the next message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/error_codes.hpp"
#include "support/plugin_host.hpp"

namespace {

namespace fs = std::filesystem;
using vtg::FourCC;

class FirstUse : public vtgtest::PluginHostTest {
protected:
    void SetUp() override {
        profile_ = fs::temp_directory_path() /
                   ("vtg-first-use-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(profile_);
        fs::create_directories(profile_);
        ::setenv("USERPROFILE", profile_.c_str(), 1);
        PluginHostTest::SetUp();
    }
    void TearDown() override {
        PluginHostTest::TearDown();
        fs::remove_all(profile_);
        ::unsetenv("USERPROFILE");
    }
    fs::path folder() const { return profile_ / "VERTiGON6 User Settings"; }
    fs::path profile_;
};

TEST_F(FirstUse, FirstMenuCommandPreparesThePresets) {
    ASSERT_EQ(host().startup(), kNoErr);
    EXPECT_FALSE(fs::exists(folder())) << "start-up touches no file";
    EXPECT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    for (const char* file :
         {"VERTiGON6_PST_Prefs.txt", "VERTiGON4_PST_Fractalize.txt", "VERTiGON5_PST_WarpEffect.txt",
          "VERTiGON5_PST_WaveEffect.txt", "VERTiGON5_PST_LensEffect.txt"})
        EXPECT_TRUE(fs::exists(folder() / file)) << file;
}

TEST_F(FirstUse, The3DRotateToolDoesNotInitialise) {
    ASSERT_EQ(host().startup(), kNoErr);
    EXPECT_EQ(host().selectTool("VERTiGON6: Live 3D回転 ツール"), kNoErr);
    EXPECT_FALSE(fs::exists(folder()));
    EXPECT_EQ(host().selectTool("VERTiGON6: ラフ ツール"), kNoErr);
    EXPECT_TRUE(fs::exists(folder() / "VERTiGON6_PST_Prefs.txt"));
}

TEST_F(FirstUse, AFailedFirstUseIsTriedAgain) {
    ASSERT_EQ(host().startup(), kNoErr);
    // A profile "folder" that is a file: the preset folder cannot be made.
    fs::path blocker = profile_ / "not-a-folder";
    std::ofstream(blocker) << "x";
    ::setenv("USERPROFILE", blocker.c_str(), 1);
    EXPECT_EQ(host().chooseMenu("VERTiGON6_05"), FourCC("EPN "));
    ::setenv("USERPROFILE", profile_.c_str(), 1);
    EXPECT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    EXPECT_TRUE(fs::exists(folder() / "VERTiGON6_PST_Prefs.txt"));
}

TEST_F(FirstUse, ShutdownAfterUseLeavesNoBlock) {
    ASSERT_EQ(host().startup(), kNoErr);
    EXPECT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    host().shutdown();
    EXPECT_EQ(host().memory().total().blocks, 0);
}

} // namespace
