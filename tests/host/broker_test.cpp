#include <gtest/gtest.h>

#include "host/host.hpp"
#include "host/suites/suites.hpp"

namespace {

TEST(SuiteBroker, NameAndVersionMustBothMatch) {
    hostapp::SuiteBroker broker;
    static const int table = 0;
    broker.publish("Host User Suite", 21, &table);
    const void* suite = &table;
    EXPECT_EQ(broker.acquire("Host User Suite", 20, &suite), kSuiteNotFoundErr);
    EXPECT_EQ(suite, nullptr);
    EXPECT_EQ(broker.acquire("Host Nothing Suite", 1, &suite), kSuiteNotFoundErr);
    EXPECT_EQ(broker.acquire("Host User Suite", 21, &suite), kNoErr);
    EXPECT_EQ(suite, &table);
    EXPECT_EQ(broker.outstanding(), 1);
    EXPECT_EQ(broker.release("Host User Suite", 21), kNoErr);
    EXPECT_EQ(broker.release("Host User Suite", 21), kNotAcquiredErr);
    EXPECT_EQ(broker.acquire(nullptr, 1, &suite), kBadParameterErr);
}

TEST(CopyOut, CutsOnCharacterBoundary) {
    char buffer[5];
    EXPECT_EQ(hostapp::CopyOut("ab", buffer, sizeof buffer), kNoErr);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(hostapp::CopyOut("aあい", buffer, sizeof buffer), kBufferTooSmallErr);
    EXPECT_STREQ(buffer, "aあ");
    EXPECT_EQ(hostapp::CopyOut("x", buffer, 0), kBufferTooSmallErr);
}

} // namespace
