#include <gtest/gtest.h>

#include <cstring>

#include "core/text_util.hpp"

namespace {

TEST(CopyText, CutsOnCharacterBoundariesAndTerminates) {
    struct Case {
        const char* text;
        std::size_t size;
        const char* expected;
        bool whole;
    } cases[] = {
        {"abc", 4, "abc", true},   {"abc", 3, "ab", false},
        {"あい", 7, "あい", true}, // 6 bytes fit in 7
        {"あい", 6, "あ", false},  // the second character would lose its last byte
        {"あい", 3, "", false},    {"", 1, "", true},
    };
    for (const Case& c : cases) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(vtg::CopyText(buffer, c.size, c.text), c.whole) << c.text << " " << c.size;
        EXPECT_STREQ(buffer, c.expected);
        EXPECT_EQ(buffer[c.size], '#');
    }
}

TEST(IsValidUtf8, AcceptsWholeSequencesOnly) {
    EXPECT_TRUE(vtg::IsValidUtf8("プリセット abc"));
    EXPECT_FALSE(vtg::IsValidUtf8(std::string("\xE3\x83", 2)));
    EXPECT_FALSE(vtg::IsValidUtf8("\xFF"));
}

} // namespace
