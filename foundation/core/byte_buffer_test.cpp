#include "foundation/core/byte_buffer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ByteBufferTest, GrowthAndInlineStore)
{
    struct {
        uint32_t request;
        uint32_t capacity;
        bool inPlace;
    } const steps[] = {
        {0, 0, true},          {10, 16, true},         // (2 x 0 + 16)
        {16, 16, true},                                // enough already
        {17, 48, true},                                // (2 x 16 + 16)
        {200, 200, true},                              // the request beats 112; block 204 bytes still inline
        {266, 416, false},                             // proposal 416: block 420 bytes leaves the inline store
        {40000, 40000, false}, {40001, 40001, false},  // 80016 masked with 0xfff0 is 14480: the request decides
    };
    t_byteBuffer buf;
    EXPECT_TRUE(buf.IsInPlace());
    EXPECT_EQ(0u, buf.Capacity());
    for (const auto& s : steps) {
        ASSERT_TRUE(buf.Reserve(s.request)) << s.request;
        EXPECT_EQ(s.capacity, buf.Capacity()) << s.request;
        EXPECT_EQ(s.inPlace, buf.IsInPlace()) << s.request;
    }
    buf.Free();
    EXPECT_TRUE(buf.IsInPlace());
    EXPECT_EQ(0u, buf.Capacity());
}

TEST(ByteBufferTest, ContentSurvivesLeavingTheInlineStore)
{
    t_byteBuffer buf;
    unsigned char* p = buf.ReserveAt(4, 8);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(buf.Data() + 8, p);
    memcpy(buf.Data(), "0123456789ab", 12);
    p = buf.ReserveAt(300, 12);
    ASSERT_NE(nullptr, p);
    EXPECT_FALSE(buf.IsInPlace());
    EXPECT_EQ(0, memcmp(buf.Data(), "0123456789ab", 12));
    memset(p, 'z', 300);
    ASSERT_TRUE(buf.Reserve(100000));
    EXPECT_EQ(0, memcmp(buf.Data(), "0123456789ab", 12));
    EXPECT_EQ('z', buf.Data()[311]);
    EXPECT_EQ(nullptr, buf.ReserveAt(0xFFFFFFF0u, 0x20));
}

}  // namespace
