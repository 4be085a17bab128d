#include "foundation/crypto/md5.h"

#include "foundation/core/error_chain.h"
#include "tests/support/temp_folder.h"
#include "tests/support/hex.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

std::string Digest(const t_bytes& data)
{
    unsigned char out[16];
    Md5Buffer(out, data.data(), static_cast<unsigned>(data.size()));
    return ToHex(out, 16);
}

TEST(Md5Test, MatchesRfc1321Suite)
{
    struct {
        const char* text;
        const char* digest;
    } const cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.digest, Digest(FromText(c.text))) << c.text;
}

TEST(Md5Test, PiecewiseUpdatesEqualOneShot)
{
    // Lengths around the 56- and 64-byte padding boundaries, fed in uneven pieces.
    for (unsigned length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000u}) {
        t_bytes data(length);
        for (unsigned i = 0; i < length; ++i)
            data[i] = static_cast<unsigned char>(i * 7 + 3);
        t_md5Context ctx;
        Md5Init(&ctx);
        for (unsigned pos = 0, step = 1; pos < length; pos += step, step = step * 2 + 1)
            Md5Update(std::min(step, length - pos), &ctx, data.data() + pos);
        unsigned char out[16];
        Md5Final(out, &ctx);
        EXPECT_EQ(Digest(data), ToHex(out, 16)) << length;
    }
}

TEST(Md5Test, NullOutUsesSharedBuffer)
{
    unsigned char* shared = Md5Buffer(nullptr, "abc", 3);
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ("900150983cd24fb0d6963f7d28e17f72", ToHex(shared, 16));
    EXPECT_EQ(shared, Md5Buffer(nullptr, "", 0));
}

TEST(Md5Test, FileDigests)
{
    unsigned char out[16];
    {
        // md5sum of the fixture on the host: 65bdd3d67d5a19f95339f85c765df123.
        t_errorChain errors;
        std::wstring path = std::wstring(KAVREL_SOURCE_DIR) + L"\\foundation\\crypto\\testdata\\cbc_plain.txt";
        ASSERT_TRUE(Md5File(errors, out, path.c_str()));
        EXPECT_EQ("65bdd3d67d5a19f95339f85c765df123", ToHex(out, 16));
    }
    {
        t_tempFolder dir(L"md5_empty");
        const std::wstring empty = dir / L"empty.bin";
        ASSERT_TRUE(WriteRaw(empty, ""));
        t_errorChain errors;
        ASSERT_TRUE(Md5File(errors, out, empty.c_str()));
        EXPECT_EQ("d41d8cd98f00b204e9800998ecf8427e", ToHex(out, 16));
    }
    {
        // Larger than one 1 MiB read piece, with a partial last piece.
        t_bytes big(3 * 1048576 + 123);
        for (size_t i = 0; i < big.size(); ++i)
            big[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
        t_tempFolder dir(L"md5_big");
        const std::wstring file = dir / L"big.bin";
        ASSERT_TRUE(WriteRaw(file, big.data(), big.size()));
        t_errorChain errors;
        ASSERT_TRUE(Md5File(errors, out, file.c_str()));
        EXPECT_EQ(Digest(big), ToHex(out, 16));
    }
}

TEST(Md5Test, MissingFileFails)
{
    t_errorChain errors;
    unsigned char out[16];
    EXPECT_FALSE(Md5File(errors, out, L"Z:\\nonexistent\\kavrel_md5_missing.bin"));
    EXPECT_TRUE(errors.IsFailed());
    const t_errorLine* last = errors.FirstLine();
    ASSERT_NE(nullptr, last);
    while (last->next)
        last = last->next;
    EXPECT_STREQ(L"Hash文件失败", last->text.c_str());
}

}  // namespace
