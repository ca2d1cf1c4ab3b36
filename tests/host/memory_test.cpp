#include <gtest/gtest.h>

#include "host/memory.hpp"

namespace {

TEST(Memory, AccountsPerNameAndFreesOnResize) {
    hostapp::Memory memory;
    void *a = nullptr, *b = nullptr;
    ASSERT_EQ(memory.allocate("Buffer", 100, &a), kNoErr);
    ASSERT_EQ(memory.allocate("ArtHandle", 8, &b), kNoErr);
    EXPECT_EQ(memory.usage("Buffer").bytes, 100u);
    EXPECT_EQ(memory.total().blocks, 2);

    void* grown = nullptr;
    ASSERT_EQ(memory.resize(b, 16, "+ArtHandle", &grown), kNoErr);
    EXPECT_EQ(memory.usage("ArtHandle").blocks, 0);
    EXPECT_EQ(memory.usage("+ArtHandle").bytes, 16u);
    EXPECT_EQ(static_cast<unsigned char*>(grown)[12], 0) << "new bytes are zero";

    EXPECT_EQ(memory.free(a), kNoErr);
    EXPECT_EQ(memory.free(grown), kNoErr);
    EXPECT_EQ(memory.total().blocks, 0);
    EXPECT_EQ(memory.free(nullptr), kNoErr);
}

TEST(Memory, ForeignBlocksAreRefused) {
    hostapp::Memory memory;
    int local = 0;
    void* out = nullptr;
    EXPECT_EQ(memory.free(&local), kBadParameterErr);
    EXPECT_EQ(memory.resize(&local, 4, "x", &out), kBadParameterErr);
}

TEST(Memory, FaultInjection) {
    hostapp::Memory memory;
    void* p = nullptr;
    memory.failNth(2);
    EXPECT_EQ(memory.allocate("one", 4, &p), kNoErr);
    memory.free(p);
    EXPECT_EQ(memory.allocate("two", 4, &p), kOutOfMemoryErr);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(memory.allocate("three", 4, &p), kNoErr);

    memory.failName("Buffer");
    void* q = nullptr;
    EXPECT_EQ(memory.allocate("Buffer", 4, &q), kOutOfMemoryErr);
    void* r = nullptr;
    EXPECT_EQ(memory.resize(p, 64, "Buffer", &r), kOutOfMemoryErr);
    EXPECT_EQ(memory.usage("three").blocks, 1) << "a failed resize keeps the old block";
    memory.clearFaults();
    EXPECT_EQ(memory.allocate("Buffer", 4, &q), kNoErr);
    memory.free(q);
    memory.free(p);
    EXPECT_EQ(memory.total().blocks, 0);
}

} // namespace
