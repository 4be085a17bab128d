#include "foundation/crypto/encrypted_text.h"

#include "foundation/crypto/base64.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct t_freeDeleter {
    void operator()(char* p) const { free(p); }
};
typedef std::unique_ptr<char, t_freeDeleter> t_cText;

TEST(EncryptedTextTest, RoundTripsWithFreshRandomBlock)
{
    t_encryptedTextContext ctx;
    EncryptedTextInit(&ctx);
    const std::string texts[] = {"", "a", "[General]\r\nName=\xc6\xa4\xb7\xf4\r\n", std::string(16, 'x'),
                                 std::string(1000, 'y')};
    for (const std::string& text : texts) {
        t_cText a(EncryptedTextEncode(&ctx, text.data(), static_cast<unsigned>(text.size())));
        t_cText b(EncryptedTextEncode(&ctx, text.data(), static_cast<unsigned>(text.size())));
        ASSERT_TRUE(a && b);
        unsigned p = (text.size() / 16 + 1) * 16;
        EXPECT_EQ((p + 18) / 3 * 4, strlen(a.get())) << text.size();
        EXPECT_STRNE(a.get(), b.get()) << "random first block";
        for (const t_cText* enc : {&a, &b}) {
            t_cText plain(EncryptedTextDecode(enc->get(), &ctx));
            ASSERT_TRUE(plain);
            EXPECT_EQ(text, std::string(plain.get()));
        }
    }
}

TEST(EncryptedTextTest, DecodeRefusesDamagedText)
{
    t_encryptedTextContext ctx;
    EncryptedTextInit(&ctx);
    t_cText good(EncryptedTextEncode(&ctx, "key=value", 9));
    ASSERT_TRUE(good);
    const std::string g = good.get();  // 32 ciphertext bytes: 44 characters ending "="

    // Sixteen bytes only: the random block and no data.
    unsigned char block[16] = {};
    char oneBlock[25];
    Base64Encode(16, block, oneBlock);

    // The random block is the data block's IV: flipping bit 4 of its last byte
    // turns the pad byte 07 into 17.
    unsigned char bytes[33];
    ASSERT_EQ(32, Base64Decode(bytes, g.c_str()));
    bytes[15] ^= 0x10;
    char tampered[45];
    Base64Encode(32, bytes, tampered);

    const std::string cases[] = {
        "",
        "abc",
        oneBlock,
        g.substr(0, g.size() - 4),  // cut by a group: the count no longer matches
        g + "\r\n",                 // trailing line end changes the expected count
        "!" + g.substr(1),          // outside the alphabet
        tampered,
    };
    for (const std::string& text : cases)
        EXPECT_FALSE(t_cText(EncryptedTextDecode(text.c_str(), &ctx))) << text;
}

}  // namespace
