#include "foundation/crypto/block_cipher.h"

#include "tests/support/hex.h"

#include <gtest/gtest.h>

namespace {

// The fixtures were made on the host with
//   openssl enc -aes-128-cbc -K 000102030405060708090a0b0c0d0e0f
//       -iv 0f0e0d0c0b0a09080706050403020100 -in cbc_plain.txt -out cbc_aes128.bin
//   openssl enc -aes-256-cbc -K 603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4
//       -iv 000102030405060708090a0b0c0d0e0f -in cbc_plain.txt -out cbc_aes256.bin
// (openssl pads with PKCS#7 by default; the plaintext is 88 bytes).
struct t_fixture {
    const wchar_t* file;
    unsigned bits;
    const char* key;
    const char* iv;
};
const t_fixture c_fixtures[] = {
    {L"cbc_aes128.bin", 128, "000102030405060708090a0b0c0d0e0f", "0f0e0d0c0b0a09080706050403020100"},
    {L"cbc_aes256.bin", 256, "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4",
     "000102030405060708090a0b0c0d0e0f"},
};

std::wstring Fixture(const wchar_t* name) { return std::wstring(L"foundation\\crypto\\testdata\\") + name; }

// Cipher initialised from hex key and IV; the key bytes live in the holder.
struct t_cipherHolder {
    t_bytes key;
    t_blockCipher cipher;
    bool ok;
    t_cipherHolder(unsigned bits, const char* keyHex, const char* ivHex) : key(FromHex(keyHex))
    {
        t_blockCipherKey record;
        record.bits = bits;
        t_bytes iv = FromHex(ivHex);
        std::copy(iv.begin(), iv.end(), record.iv);
        record.key = key.data();
        ok = cipher.Init(record);
    }
};

TEST(BlockCipherTest, AgreesWithOpensslFixtures)
{
    const t_bytes plain = LoadFixture(Fixture(L"cbc_plain.txt"));
    ASSERT_EQ(88u, plain.size());
    for (const auto& f : c_fixtures) {
        const t_bytes cipherText = LoadFixture(Fixture(f.file));
        ASSERT_EQ(96u, cipherText.size());
        t_cipherHolder h(f.bits, f.key, f.iv);
        ASSERT_TRUE(h.ok);
        h.cipher.SetRandomFirstBlock(false);

        t_bytes out(cipherText.size());
        unsigned length = 0;
        ASSERT_TRUE(h.cipher.Decrypt(96, &length, cipherText.data(), out.data())) << f.bits;
        EXPECT_EQ(plain, t_bytes(out.begin(), out.begin() + length)) << f.bits;

        // Without the random block enciphering is deterministic and gives openssl's bytes.
        t_bytes enc(plain.size() + 32);
        ASSERT_TRUE(h.cipher.Encrypt(&length, 88, enc.data(), plain.data()));
        EXPECT_EQ(96u, length);
        EXPECT_EQ(ToHex(cipherText), ToHex(enc.data(), length)) << f.bits;
    }
}

TEST(BlockCipherTest, RoundTripsWithRandomFirstBlock)
{
    t_cipherHolder h(256, c_fixtures[1].key, c_fixtures[1].iv);
    ASSERT_TRUE(h.ok);
    ASSERT_TRUE(h.cipher.RandomFirstBlock());
    for (unsigned n : {0u, 1u, 15u, 16u, 17u, 100u}) {
        t_bytes plain(n);
        for (unsigned i = 0; i < n; ++i)
            plain[i] = static_cast<unsigned char>(i * 31);
        t_bytes a(n + 32), b(n + 32);
        unsigned la = 0, lb = 0;
        ASSERT_TRUE(h.cipher.Encrypt(&la, n, a.data(), plain.data()));
        ASSERT_TRUE(h.cipher.Encrypt(&lb, n, b.data(), plain.data()));
        EXPECT_EQ((n / 16 + 1) * 16 + 16, la);
        EXPECT_NE(ToHex(a.data(), la), ToHex(b.data(), lb)) << "fresh first block, n " << n;

        // Deciphered in place: the plaintext lands ahead of its ciphertext.
        unsigned out = 0;
        ASSERT_TRUE(h.cipher.Decrypt(la, &out, a.data(), a.data())) << n;
        EXPECT_EQ(plain, t_bytes(a.begin(), a.begin() + out));
    }
}

TEST(BlockCipherTest, EnciphersInPlace)
{
    t_cipherHolder h(128, c_fixtures[0].key, c_fixtures[0].iv);
    for (bool random : {false, true}) {
        h.cipher.SetRandomFirstBlock(random);
        const t_bytes plain = FromText("in place, thirty-seven bytes of text");
        t_bytes buf(plain.size() + 32);
        std::copy(plain.begin(), plain.end(), buf.begin());
        unsigned length = 0, out = 0;
        ASSERT_TRUE(h.cipher.Encrypt(&length, static_cast<unsigned>(plain.size()), buf.data(), buf.data()));
        ASSERT_TRUE(h.cipher.Decrypt(length, &out, buf.data(), buf.data()));
        EXPECT_EQ(plain, t_bytes(buf.begin(), buf.begin() + out)) << random;
    }
}

TEST(BlockCipherTest, DecryptRefusesMalformedInput)
{
    t_cipherHolder h(128, c_fixtures[0].key, c_fixtures[0].iv);
    t_bytes cipherText = LoadFixture(Fixture(c_fixtures[0].file));
    ASSERT_EQ(96u, cipherText.size());
    t_bytes out(128);
    unsigned length = 7;

    // Random-first-block mode: one block is only the random block, no data.
    EXPECT_FALSE(h.cipher.Decrypt(16, &length, cipherText.data(), out.data()));
    EXPECT_EQ(0u, length);
    EXPECT_FALSE(h.cipher.Decrypt(95, &length, cipherText.data(), out.data()));
    EXPECT_FALSE(h.cipher.Decrypt(96, &length, nullptr, out.data()));

    h.cipher.SetRandomFirstBlock(false);
    EXPECT_FALSE(h.cipher.Decrypt(0, &length, cipherText.data(), out.data()));
    // The plaintext ends in eight bytes of 08; flipping bit 4 of the previous
    // ciphertext block's last byte turns the final pad byte into 0x18.
    cipherText[79] ^= 0x10;
    EXPECT_FALSE(h.cipher.Decrypt(96, &length, cipherText.data(), out.data()));
}

TEST(BlockCipherTest, UnsupportedKeyRefusesEverything)
{
    t_cipherHolder h(160, "000102030405060708090a0b0c0d0e0f10111213", "00000000000000000000000000000000");
    EXPECT_FALSE(h.ok);
    unsigned char out[64];
    unsigned length = 0;
    EXPECT_FALSE(h.cipher.Encrypt(&length, 4, out, reinterpret_cast<const unsigned char*>("text")));
}

}  // namespace
