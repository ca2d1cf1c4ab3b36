#include <gtest/gtest.h>

#include "app/script.hpp"

namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> words;
};

TEST(SplitWords, BlanksTextsAndComments) {
    const SplitCase cases[] = {
        {"", {}},
        {"   # only a comment", {}},
        {"send \"Host Tool\" \"Host Reselect\"", {"send", "Host Tool", "Host Reselect"}},
        {"text 1003 \"a \\\"b\\\"\\nc\" # note", {"text", "1003", "a \"b\"\nc"}},
        {"key\tctrl+a\r", {"key", "ctrl+a"}},
        {"expect 5 \"\"", {"expect", "5", ""}},
        {"answer text \"# not a comment\"", {"answer", "text", "# not a comment"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words;
        std::string error;
        ASSERT_TRUE(app::SplitWords(c.line, words, error)) << c.line;
        EXPECT_EQ(words, c.words) << c.line;
    }
}

TEST(SplitWords, UnterminatedTextIsAnError) {
    std::vector<std::string> words;
    std::string error;
    EXPECT_FALSE(app::SplitWords("text 5 \"open", words, error));
    EXPECT_EQ(error, "unterminated text");
}

} // namespace
