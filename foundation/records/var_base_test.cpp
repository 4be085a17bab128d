#include "foundation/records/var_base.h"

#include "tests/support/hex.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Reads hex through a record; returns the result and the record's image after it.
template <class TRecord>
int ReadHex(TRecord& record, const char* hex, t_heap& heap)
{
    t_bytes in = FromHex(hex);
    in.reserve(1);  // a real (non-null) pointer even for no bytes
    return record.Deserialize(in.data(), static_cast<uint32_t>(in.size()), &heap);
}

template <class TRecord>
std::string Image(TRecord& record)
{
    int size = record.Serialize(nullptr);
    t_bytes out(size > 0 ? size : 0);
    EXPECT_EQ(size, record.Serialize(out.data()));
    return ToHex(out);
}

TEST(VarBaseTest, ReadsAndRewritesSimpleRecords)
{
    struct {
        const char* in;
        int result;
        const char* image;  // written back, when the read succeeded
    } const bytes[] =
        {
            {"03000000616263ff", 7, "03000000616263"},  // trailing bytes are not consumed
            {"00000000", 4, "00000000"},
            {"04000000616263", -1, nullptr},  // count beyond the input
            {"030000", -1, nullptr},          // no room for the count
            {"", -1, nullptr},
            {"ffffffff00", -1, nullptr},
        },
            words[] =
                {
                    {"0800000001000000ffffffff", 12, "0800000001000000ffffffff"},
                    {"060000000100000002", -1, nullptr},  // byte count 6: not whole elements
                    {"0c0000000100000002000000", -1, nullptr},
                },
            texts[] = {
                {"040000004100e4001122", 8, "040000004100e400"},
                {"00000000", 4, "00000000"},
                {"030000004100e400", -1, nullptr},  // odd byte count
                {"060000004100e400", -1, nullptr},
                {"02", -1, nullptr},
            };
    t_heap heap(0x1000);
    for (const auto& c : bytes) {
        VarSimpleDynArray<unsigned char> r;
        EXPECT_EQ(c.result, ReadHex(r, c.in, heap)) << c.in;
        if (c.image) {
            EXPECT_EQ(c.image, Image(r)) << c.in;
        }
    }
    for (const auto& c : words) {
        VarSimpleDynArray<unsigned int> r;
        EXPECT_EQ(c.result, ReadHex(r, c.in, heap)) << c.in;
        if (c.image) {
            EXPECT_EQ(c.image, Image(r)) << c.in;
            EXPECT_EQ(2u, r.Count());
            EXPECT_EQ(0xffffffffu, r.Data()[1]);
        }
    }
    for (const auto& c : texts) {
        VarStringW r;
        EXPECT_EQ(c.result, ReadHex(r, c.in, heap)) << c.in;
        if (c.image) {
            EXPECT_EQ(c.image, Image(r)) << c.in;
        }
    }
}

TEST(VarBaseTest, TextValues)
{
    t_heap heap(0x1000);
    VarStringW s;
    ASSERT_EQ(8, ReadHex(s, "040000004100e400", heap));
    uint32_t count = 9;
    EXPECT_STREQ(L"A\u00e4", s.Get(&count));
    EXPECT_EQ(2u, count);

    // Byte count 0 reads as an empty text, not null.
    ASSERT_EQ(4, ReadHex(s, "00000000", heap));
    ASSERT_NE(nullptr, s.Get(&count));
    EXPECT_EQ(0u, count);

    // Null: written as an empty text.
    s.Clear();
    EXPECT_EQ(nullptr, s.Get(&count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ("00000000", Image(s));

    // Only the text up to a zero unit is written.
    const wchar_t embedded[] = L"ab\0cd";
    s.Set(embedded, nullptr);
    EXPECT_EQ(embedded, s.Get(nullptr));  // borrowed without an arena
    EXPECT_EQ("0400000061006200", Image(s));

    wchar_t source[] = L"皮肤";
    s.Set(source, &heap);
    EXPECT_NE(source, s.Get(nullptr));  // copied into the arena
    source[0] = L'x';
    EXPECT_STREQ(L"皮肤", s.Get(nullptr));
}

TEST(VarBaseTest, ArraysCopyOrBorrow)
{
    t_heap heap(0x1000);
    unsigned int values[] = {7, 8, 9};
    VarSimpleDynArray<unsigned int> a;
    ASSERT_TRUE(a.Assign(values, 3, &heap));
    EXPECT_NE(values, a.Data());
    values[0] = 0;
    EXPECT_EQ("0c000000070000000800000009000000", Image(a));
    ASSERT_TRUE(a.Assign(values, 3, nullptr));
    EXPECT_EQ(values, a.Data());

    VarSimpleDynArray<unsigned char> empty;
    EXPECT_EQ("00000000", Image(empty));
    ASSERT_TRUE(empty.Assign(nullptr, 5, &heap));  // no bytes: written as none
    EXPECT_EQ("00000000", Image(empty));
}

TEST(VarBaseTest, NoArenaOrInputReadsNothing)
{
    t_heap heap(0x1000);
    const unsigned char in[] = {0, 0, 0, 0};
    VarStringW s;
    VarSimpleDynArray<unsigned char> b;
    VarSimpleDynArray<unsigned int> w;
    VarBase* records[] = {&s, &b, &w};
    for (VarBase* r : records) {
        EXPECT_EQ(0, r->Deserialize(in, 4, nullptr));
        EXPECT_EQ(0, r->Deserialize(nullptr, 4, &heap));
    }
}

}  // namespace
