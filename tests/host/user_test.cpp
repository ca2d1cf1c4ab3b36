#include <gtest/gtest.h>

#include "host/api/vtg_user_suite.h"
#include "host/host.hpp"

namespace {

class UserSuiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_.user().setEcho(false);
        ASSERT_EQ(host_.broker().acquire(kUserSuiteName, kUserSuiteVersion,
                                         reinterpret_cast<const void**>(&user_)),
                  kNoErr);
    }
    hostapp::Host host_;
    const UserSuite* user_ = nullptr;
};

TEST_F(UserSuiteTest, QuestionsTakeQueuedAnswersElseTheDefault) {
    int32_t answer = -1;
    ASSERT_EQ(user_->YesNoAlert("上書きしますか？", &answer), kNoErr);
    EXPECT_EQ(answer, 1) << "default button";
    host_.user().queue({hostapp::Answer::Kind::No, {}});
    user_->YesNoAlert("again?", &answer);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(host_.user().alerts().size(), 2u);
    EXPECT_EQ(host_.user().lastAlert(), "again?");
}

TEST_F(UserSuiteTest, NamePromptAndFolderChooser) {
    char name[8];
    host_.user().queue({hostapp::Answer::Kind::Text, "新しいプリセット"});
    ASSERT_EQ(user_->PromptName("名前", "", name, sizeof name), kNoErr);
    EXPECT_STREQ(name, "新し") << "cut on a character boundary";
    host_.user().queue({hostapp::Answer::Kind::Cancel, {}});
    EXPECT_EQ(user_->PromptName("名前", "x", name, sizeof name), kCancelledErr);

    char folder[8];
    EXPECT_EQ(user_->ChooseFolder("フォルダ", folder, sizeof folder), kCancelledErr);
    host_.user().queue({hostapp::Answer::Kind::Folder, "/tmp/a/"});
    EXPECT_EQ(user_->ChooseFolder("フォルダ", folder, sizeof folder), kNoErr);
    EXPECT_STREQ(folder, "/tmp/a");
    host_.user().queue({hostapp::Answer::Kind::Folder, "/a/very/long/path"});
    EXPECT_EQ(user_->ChooseFolder("フォルダ", folder, sizeof folder), kBufferTooSmallErr);
    EXPECT_STREQ(folder, "");
}

TEST(EscapeAlertText, NewLinesBecomeBackslashN) {
    EXPECT_EQ(hostapp::EscapeAlertText("a\nb\r\nc"), "a\\nb\\nc");
}

} // namespace
