#include "foundation/crypto/base64.h"

#include "tests/support/hex.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Encode(const std::string& in)
{
    std::string out((in.size() + 2) / 3 * 4 + 1, '#');
    Base64Encode(static_cast<unsigned>(in.size()), reinterpret_cast<const unsigned char*>(in.data()), &out[0]);
    EXPECT_EQ('\0', out.back());
    out.pop_back();
    return out;
}

// Decodes into a buffer of exactly the advertised bound, followed by a guard.
int Decode(const char* text, std::string* out)
{
    unsigned bound = Base64DecodeBound(text);
    std::string buf(bound + 8, '#');
    int n = Base64Decode(reinterpret_cast<unsigned char*>(&buf[0]), text);
    EXPECT_EQ(std::string(8, '#'), buf.substr(bound)) << text;
    if (n >= 0)
        *out = buf.substr(0, n);
    return n;
}

// RFC 4648 section 10.
TEST(Base64Test, Rfc4648Vectors)
{
    struct {
        const char* plain;
        const char* encoded;
    } const cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.encoded, Encode(c.plain)) << c.plain;
        std::string decoded = "unset";
        EXPECT_EQ(static_cast<int>(strlen(c.plain)), Decode(c.encoded, &decoded)) << c.encoded;
        EXPECT_EQ(c.plain, decoded);
    }
}

TEST(Base64Test, AllByteValuesRoundTrip)
{
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    std::string encoded = Encode(all);
    EXPECT_NE(std::string::npos, encoded.find('+'));
    EXPECT_NE(std::string::npos, encoded.find('/'));
    std::string decoded;
    EXPECT_EQ(256, Decode(encoded.c_str(), &decoded));
    EXPECT_EQ(all, decoded);
}

TEST(Base64Test, DecodeStopsAndRefuses)
{
    struct {
        const char* text;
        int result;
        const char* decoded;
    } const cases[] = {
        {"+ Zm9v", 3, "foo"},         // leading "+ " skipped
        {"\rZm9v", 0, ""},            // CR first: nothing
        {"Zm9v\r\nZm9v", 3, "foo"},   // a group starting with CR ends decoding
        {"Zg==Zm9v", 1, "f"},         // nothing after a padded group is read
        {"Zm9", -1, nullptr},         // incomplete group
        {"Zm9v!A==", -1, nullptr},    // character outside the alphabet
        {"Zm\xc3\xa9", -1, nullptr},  // byte above 0x7f
        {"Z=9v", -1, nullptr},        // '=' in the second place
        {"Zg=v", -1, nullptr},        // padded third place, unpadded fourth
        {"Zm 9v", -1, nullptr},       // blank inside
    };
    for (const auto& c : cases) {
        std::string decoded;
        EXPECT_EQ(c.result, Decode(c.text, &decoded)) << c.text;
        if (c.decoded) {
            EXPECT_EQ(c.decoded, decoded) << c.text;
        }
    }
}

}  // namespace
