#include "foundation/files/byte_stream.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(MemReader, ReadsWithinTheBlockAndStopsForGoodAtItsEnd)
{
    const uint8_t block[6] = {1, 2, 3, 4, 5, 6};
    t_memReader reader(block, 5);  // the sixth byte lies outside
    uint8_t b = 0;
    EXPECT_TRUE(reader.ReadByte(b));
    EXPECT_EQ(1, b);
    uint8_t out[8] = {};
    EXPECT_TRUE(reader.Read(4, out));  // exactly to the end
    EXPECT_EQ(5, out[3]);
    EXPECT_FALSE(reader.ReadByte(b));
    EXPECT_FALSE(reader.Read(0, out));
}

TEST(MemReader, OverlongCountsFailWithoutWrapping)
{
    const uint8_t block[4] = {9, 8, 7, 6};
    for (size_t count : {size_t(5), size_t(SIZE_MAX), SIZE_MAX - 1, size_t(0x80000000u)}) {
        t_memReader reader(block, sizeof(block));
        uint8_t b = 0;
        ASSERT_TRUE(reader.ReadByte(b));
        uint8_t out[4] = {};
        EXPECT_FALSE(reader.Read(count, out)) << count;
        EXPECT_EQ(0, out[0]);
        // The reader is spent: later reads fail too.
        EXPECT_FALSE(reader.ReadByte(b));
        EXPECT_FALSE(reader.Read(1, out));
    }
}

}  // namespace
