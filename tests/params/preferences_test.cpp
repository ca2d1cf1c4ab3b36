// The host's preferences store and its suite.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "host/api/vtg_preferences_suite.h"
#include "host/host.hpp"
#include "host/preferences.hpp"

namespace {

namespace fs = std::filesystem;

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vtg_prefs_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            old_ = old;
        ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
        hostapp::Preferences::instance().reload();
        ASSERT_EQ(host_.broker().acquire(kPreferencesSuiteName, kPreferencesSuiteVersion,
                                         reinterpret_cast<const void**>(&prefs_)),
                  kNoErr);
    }
    void TearDown() override {
        if (old_)
            ::setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        hostapp::Preferences::instance().reload();
        fs::remove_all(dir_);
    }
    hostapp::Host host_;
    const PreferencesSuite* prefs_ = nullptr;
    fs::path dir_;
    std::optional<std::string> old_;
};

TEST_F(PreferencesTest, ValuesPersistAcrossSessions) {
    const char* prefix = "__QrLw_VERTiGON4PG_v46_PrefsPrefix__";
    int32_t flag = 7;
    EXPECT_EQ(prefs_->GetBoolean("confirm", "key", &flag), kNotFoundErr);
    EXPECT_EQ(flag, 7);
    ASSERT_EQ(prefs_->PutBoolean("confirm", "_QrLw_VERTiGON6_ExpandAppearanceConfirm_", 5), kNoErr);
    VtgPoint where{120.5, -40};
    ASSERT_EQ(prefs_->PutPoint(prefix, "Location", &where), kNoErr);
    EXPECT_EQ(hostapp::Preferences::filePath(), dir_.string() + "/vertigon/preferences.txt");
    EXPECT_TRUE(fs::exists(hostapp::Preferences::filePath()));

    hostapp::Preferences::instance().reload(); // a new session reads the file
    ASSERT_EQ(prefs_->GetBoolean("confirm", "_QrLw_VERTiGON6_ExpandAppearanceConfirm_", &flag),
              kNoErr);
    EXPECT_EQ(flag, 1);
    VtgPoint back{0, 0};
    ASSERT_EQ(prefs_->GetPoint(prefix, "Location", &back), kNoErr);
    EXPECT_EQ(back.x, 120.5);
    EXPECT_EQ(back.y, -40);
    EXPECT_EQ(prefs_->GetPoint("other", "Location", &back), kNotFoundErr);
}

TEST_F(PreferencesTest, BadArgumentsAndDamagedFiles) {
    VtgPoint p{1, 2};
    int32_t v = 0;
    EXPECT_EQ(prefs_->PutBoolean(nullptr, "k", 1), kBadParameterErr);
    EXPECT_EQ(prefs_->PutBoolean("s", "", 1), kBadParameterErr);
    EXPECT_EQ(prefs_->PutBoolean("s", "a\tb", 1), kBadParameterErr);
    EXPECT_EQ(prefs_->PutPoint("s", "k\n", &p), kBadParameterErr);
    EXPECT_EQ(prefs_->GetBoolean("s", "k", nullptr), kBadParameterErr);
    VtgPoint nan{std::numeric_limits<double>::quiet_NaN(), 0};
    EXPECT_EQ(prefs_->PutPoint("s", "k", &nan), kBadParameterErr);

    fs::create_directories(dir_ / "vertigon");
    std::ofstream(dir_ / "vertigon" / "preferences.txt")
        << "garbage line\nbool\ts\tk\t1\r\npoint\ts\tp\tx\t2\nbool\ts\tbad\t9\npoint\ts\tq\t3\t4";
    hostapp::Preferences::instance().reload();
    EXPECT_EQ(prefs_->GetBoolean("s", "k", &v), kNoErr);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(prefs_->GetPoint("s", "p", &p), kNotFoundErr);
    EXPECT_EQ(prefs_->GetBoolean("s", "bad", &v), kNotFoundErr);
    ASSERT_EQ(prefs_->GetPoint("s", "q", &p), kNoErr);
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, 4);
}

// Another process writes the file between two of this session's changes:
// nothing either wrote is lost, and a change that changes nothing does not
// rewrite the file.
TEST_F(PreferencesTest, ChangesMergeWithAnotherProcesssWrites) {
    ASSERT_EQ(prefs_->PutBoolean("s", "mine", 1), kNoErr);
    const std::string path = hostapp::Preferences::filePath();
    std::ofstream(path, std::ios::app) << "bool\ts\ttheirs\t1\n";
    VtgPoint where{3, 4};
    ASSERT_EQ(prefs_->PutPoint("s", "place", &where), kNoErr);

    hostapp::Preferences::instance().reload();
    int32_t v = 0;
    EXPECT_EQ(prefs_->GetBoolean("s", "mine", &v), kNoErr);
    EXPECT_EQ(prefs_->GetBoolean("s", "theirs", &v), kNoErr);
    EXPECT_EQ(prefs_->GetPoint("s", "place", &where), kNoErr);

    const auto stamp = fs::last_write_time(path);
    const fs::file_time_type old = stamp - std::chrono::hours(1);
    fs::last_write_time(path, old);
    ASSERT_EQ(prefs_->PutBoolean("s", "mine", 1), kNoErr);
    EXPECT_EQ(fs::last_write_time(path), old);
}

} // namespace
