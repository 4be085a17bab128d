#include "foundation/crypto/base64.h"

#include <cstring>

namespace {

const char c_alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Value of a base64 character, 64 for '=', -1 for anything else.
int ValueOf(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    if (c == '=')
        return 64;
    return -1;
}

}  // namespace

void Base64Encode(unsigned int length, const unsigned char* in, char* out)
{
    unsigned int i = 0;
    for (; i + 3 <= length; i += 3) {
        unsigned int v = (in[i] << 16) | (in[i + 1] << 8) | in[i + 2];
        *out++ = c_alphabet[(v >> 18) & 63];
        *out++ = c_alphabet[(v >> 12) & 63];
        *out++ = c_alphabet[(v >> 6) & 63];
        *out++ = c_alphabet[v & 63];
    }
    unsigned int rest = length - i;
    if (rest) {
        unsigned int v = in[i] << 16;
        if (rest == 2)
            v |= in[i + 1] << 8;
        *out++ = c_alphabet[(v >> 18) & 63];
        *out++ = c_alphabet[(v >> 12) & 63];
        *out++ = rest == 2 ? c_alphabet[(v >> 6) & 63] : '=';
        *out++ = '=';
    }
    *out = 0;
}

unsigned int Base64DecodeBound(const char* text) { return static_cast<unsigned int>(strlen(text) / 4 * 3); }

int Base64Decode(unsigned char* out, const char* text)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    if (p[0] == '+' && p[1] == ' ')
        p += 2;
    int count = 0;
    while (p[0] != 0 && p[0] != '\r') {
        int v[4];
        for (int k = 0; k < 4; ++k) {
            // A NUL ends the group early and is refused here, so p never passes it.
            v[k] = ValueOf(p[k]);
            if (v[k] < 0)
                return -1;
        }
        p += 4;
        // '=' only in the last two places, and a padded third place needs a padded fourth.
        if (v[0] == 64 || v[1] == 64 || (v[2] == 64 && v[3] != 64))
            return -1;
        out[count++] = static_cast<unsigned char>((v[0] << 2) | (v[1] >> 4));
        if (v[2] == 64)
            return count;
        out[count++] = static_cast<unsigned char>((v[1] << 4) | (v[2] >> 2));
        if (v[3] == 64)
            return count;
        out[count++] = static_cast<unsigned char>((v[2] << 6) | v[3]);
    }
    return count;
}
