#include "foundation/crypto/aes.h"

#include "tests/support/hex.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A known-answer vector: key size, key and expected ciphertext in hex.
struct t_vector {
    int bits;
    const char* key;
    const char* cipher;
};

// Both schedules of a vector's key.
void MakeSchedules(const t_vector& v, t_aesSchedule* enc, t_aesSchedule* dec)
{
    const t_bytes key = FromHex(v.key);
    ASSERT_EQ(0, AesSetEncryptKey(key.data(), v.bits, enc));
    ASSERT_EQ(0, AesSetDecryptKey(v.bits, key.data(), dec));
}

TEST(AesTest, BlockMatchesFips197AppendixC)
{
    const t_vector cases[] = {
        {128, "000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {192, "000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {256, "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", "8ea2b7ca516745bfeafc49904b496089"},
    };
    const t_bytes plain = FromHex("00112233445566778899aabbccddeeff");
    for (const auto& c : cases) {
        t_aesSchedule enc, dec;
        ASSERT_NO_FATAL_FAILURE(MakeSchedules(c, &enc, &dec));
        EXPECT_EQ(c.bits / 32 + 6, enc.rounds);
        unsigned char block[16];
        AesEncryptBlock(plain.data(), block, &enc);
        EXPECT_EQ(c.cipher, ToHex(block, 16)) << c.bits;
        AesDecryptBlock(block, block, &dec);  // in place
        EXPECT_EQ(ToHex(plain), ToHex(block, 16)) << c.bits;
    }
}

TEST(AesTest, KeySetupRefusals)
{
    unsigned char key[32] = {};
    t_aesSchedule s;
    EXPECT_EQ(-2, AesSetEncryptKey(key, 160, &s));
    EXPECT_EQ(-2, AesSetDecryptKey(0, key, &s));
    EXPECT_EQ(-1, AesSetEncryptKey(nullptr, 128, &s));
    EXPECT_EQ(-1, AesSetDecryptKey(128, key, nullptr));
}

// SP 800-38A F.2.1 to F.2.6: four blocks under each key size.
TEST(AesTest, CbcMatchesSp800_38a)
{
    const t_vector cases[] = {
        {128, "2b7e151628aed2a6abf7158809cf4f3c",
         "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
         "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7"},
        {192, "8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b",
         "4f021db243bc633d7178183a9fa071e8b4d9ada9ad7dedf4e5e738763f69145a"
         "571b242012fb7ae07fa9baac3df102e008b0e27988598881d920a9e64f5615cd"},
        {256, "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4",
         "f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d"
         "39f23369a9d9bacfa530e26304231461b2eb05e2c39be9fcda6c19078c6a9d1b"},
    };
    const t_bytes plain = FromHex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
                                  "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
    const t_bytes iv0 = FromHex("000102030405060708090a0b0c0d0e0f");
    for (const auto& c : cases) {
        t_aesSchedule enc, dec;
        ASSERT_NO_FATAL_FAILURE(MakeSchedules(c, &enc, &dec));

        // Encrypt in two calls: the IV carries the chain from the first into the second.
        t_bytes out(64);
        t_bytes iv = iv0;
        ASSERT_TRUE(AesCbc(plain.data(), out.data(), 16, &enc, iv.data(), c_aesEncrypt));
        ASSERT_TRUE(AesCbc(plain.data() + 16, out.data() + 16, 48, &enc, iv.data(), c_aesEncrypt));
        EXPECT_EQ(c.cipher, ToHex(out)) << c.bits;
        EXPECT_EQ(ToHex(out.data() + 48, 16), ToHex(iv)) << "IV holds the last block";

        // Decrypt in place.
        iv = iv0;
        ASSERT_TRUE(AesCbc(out.data(), out.data(), 64, &dec, iv.data(), c_aesDecrypt));
        EXPECT_EQ(ToHex(plain), ToHex(out)) << c.bits;
    }
}

TEST(AesTest, CbcRefusesPartialBlocksWithoutWriting)
{
    unsigned char key[16] = {1, 2, 3};
    t_aesSchedule enc, dec;
    AesSetEncryptKey(key, 128, &enc);
    AesSetDecryptKey(128, key, &dec);
    for (int direction : {c_aesDecrypt, c_aesEncrypt}) {
        for (unsigned length : {1u, 15u, 17u, 33u}) {
            // The output holds exactly `length` bytes followed by a guard.
            t_bytes in(length, 0x5a);
            t_bytes out(length + 32, 0xee);
            unsigned char iv[16] = {};
            EXPECT_FALSE(AesCbc(in.data(), out.data(), length, direction == c_aesEncrypt ? &enc : &dec, iv, direction))
                << length;
            EXPECT_EQ(t_bytes(length + 32, 0xee), out) << "nothing written, length " << length;
        }
    }
}

TEST(AesTest, Pkcs7PadAndUnpad)
{
    unsigned char out[48];
    const t_bytes in(16, 0x41);
    unsigned capacity = sizeof out;
    ASSERT_TRUE(Pkcs7Pad(&capacity, out, in.data(), 16));
    EXPECT_EQ(32u, capacity);
    EXPECT_EQ(t_bytes(16, 16), t_bytes(out + 16, out + 32));

    capacity = 15;
    EXPECT_FALSE(Pkcs7Pad(&capacity, out, in.data(), 5));
    EXPECT_EQ(16u, capacity);
    capacity = 48;
    EXPECT_FALSE(Pkcs7Pad(&capacity, nullptr, in.data(), 5));

    struct {
        const char* hex;
        bool ok;
        unsigned length;
    } const cases[] = {
        {"41414141414141414141414141414101", true, 15},
        {"10101010101010101010101010101010", true, 0},
        {"41414141414141414141414141020303", false, 0},  // one pad byte wrong
        {"41414141414141414141414141414100", false, 0},  // final byte 0
        {"11111111111111111111111111111111", false, 0},  // final byte 17
        {"414141414141414141414141414101", false, 0},    // not a whole block
        {"", false, 0},
    };
    for (const auto& c : cases) {
        t_bytes b = FromHex(c.hex);
        unsigned length = 99;
        EXPECT_EQ(c.ok, Pkcs7Unpad(static_cast<unsigned>(b.size()), b.data(), &length)) << c.hex;
        EXPECT_EQ(c.length, length) << c.hex;
    }
}

}  // namespace
