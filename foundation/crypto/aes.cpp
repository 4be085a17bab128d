#include "foundation/crypto/aes.h"

#include <array>
#include <cstring>

namespace {

constexpr uint8_t XTime(uint8_t x) { return static_cast<uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1b : 0)); }

constexpr uint8_t GfMul(uint8_t a, uint8_t b)
{
    uint8_t r = 0;
    while (b) {
        if (b & 1)
            r ^= a;
        a = XTime(a);
        b >>= 1;
    }
    return r;
}

// The S-box is the multiplicative inverse in GF(2^8) followed by the affine map.
constexpr std::array<uint8_t, 256> MakeSbox()
{
    std::array<uint8_t, 256> s{};
    for (int x = 0; x < 256; ++x) {
        uint8_t inv = 0;
        for (int y = 1; y < 256 && x != 0; ++y) {
            if (GfMul(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) == 1) {
                inv = static_cast<uint8_t>(y);
                break;
            }
        }
        uint8_t b = inv;
        uint8_t r = 0x63;
        for (int i = 0; i < 5; ++i) {
            r ^= b;
            b = static_cast<uint8_t>((b << 1) | (b >> 7));
        }
        s[x] = r;
    }
    return s;
}

constexpr std::array<uint8_t, 256> MakeInverse(const std::array<uint8_t, 256>& s)
{
    std::array<uint8_t, 256> inv{};
    for (int x = 0; x < 256; ++x)
        inv[s[x]] = static_cast<uint8_t>(x);
    return inv;
}

constexpr uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    return (uint32_t(b0) << 24) | (uint32_t(b1) << 16) | (uint32_t(b2) << 8) | uint32_t(b3);
}

constexpr uint32_t Rotr(uint32_t w, int n) { return n ? (w >> n) | (w << (32 - n)) : w; }

// Four tables, each the first rotated by 8 bits more than the one before.
struct t_tables {
    uint32_t t[4][256];
};

constexpr t_tables MakeEncTables(const std::array<uint8_t, 256>& s)
{
    t_tables r{};
    for (int x = 0; x < 256; ++x) {
        uint8_t v = s[x];
        uint32_t w = Word(GfMul(v, 2), v, v, GfMul(v, 3));
        for (int k = 0; k < 4; ++k)
            r.t[k][x] = Rotr(w, 8 * k);
    }
    return r;
}

constexpr t_tables MakeDecTables(const std::array<uint8_t, 256>& si)
{
    t_tables r{};
    for (int x = 0; x < 256; ++x) {
        uint8_t v = si[x];
        uint32_t w = Word(GfMul(v, 14), GfMul(v, 9), GfMul(v, 13), GfMul(v, 11));
        for (int k = 0; k < 4; ++k)
            r.t[k][x] = Rotr(w, 8 * k);
    }
    return r;
}

constexpr std::array<uint8_t, 256> c_sbox = MakeSbox();
constexpr std::array<uint8_t, 256> c_sboxInv = MakeInverse(c_sbox);
constexpr t_tables c_te = MakeEncTables(c_sbox);
constexpr t_tables c_td = MakeDecTables(c_sboxInv);
constexpr uint32_t c_rcon[10] = {0x01000000, 0x02000000, 0x04000000, 0x08000000, 0x10000000,
                                 0x20000000, 0x40000000, 0x80000000, 0x1b000000, 0x36000000};

static_assert(c_sbox[0] == 0x63 && c_sbox[1] == 0x7c && c_sbox[0x53] == 0xed, "S-box");

inline uint32_t Load(const unsigned char* p) { return Word(p[0], p[1], p[2], p[3]); }

inline void Store(unsigned char* p, uint32_t w)
{
    p[0] = static_cast<unsigned char>(w >> 24);
    p[1] = static_cast<unsigned char>(w >> 16);
    p[2] = static_cast<unsigned char>(w >> 8);
    p[3] = static_cast<unsigned char>(w);
}

inline uint32_t B(uint32_t w, int byteFromTop) { return (w >> (24 - 8 * byteFromTop)) & 0xff; }

inline uint32_t SubWord(uint32_t w) { return Word(c_sbox[B(w, 0)], c_sbox[B(w, 1)], c_sbox[B(w, 2)], c_sbox[B(w, 3)]); }

}  // namespace

int AesSetEncryptKey(const unsigned char* key, int bits, t_aesSchedule* schedule)
{
    if (!key || !schedule)
        return -1;
    if (bits != 128 && bits != 192 && bits != 256)
        return -2;
    const int nk = bits / 32;
    schedule->rounds = nk + 6;
    uint32_t* rk = schedule->roundKeys;
    const int words = 4 * (schedule->rounds + 1);
    for (int i = 0; i < nk; ++i)
        rk[i] = Load(key + 4 * i);
    for (int i = nk; i < words; ++i) {
        uint32_t t = rk[i - 1];
        if (i % nk == 0)
            t = SubWord(Rotr(t, 24)) ^ c_rcon[i / nk - 1];
        else if (nk > 6 && i % nk == 4)
            t = SubWord(t);
        rk[i] = rk[i - nk] ^ t;
    }
    return 0;
}

int AesSetDecryptKey(int bits, const unsigned char* key, t_aesSchedule* schedule)
{
    int result = AesSetEncryptKey(key, bits, schedule);
    if (result != 0)
        return result;
    uint32_t* rk = schedule->roundKeys;
    const int rounds = schedule->rounds;
    for (int i = 0, j = 4 * rounds; i < j; i += 4, j -= 4) {
        for (int k = 0; k < 4; ++k) {
            uint32_t t = rk[i + k];
            rk[i + k] = rk[j + k];
            rk[j + k] = t;
        }
    }
    // InvMixColumns of a word: the decryption tables applied to S(word) cancel the S-box.
    for (int i = 4; i < 4 * rounds; ++i) {
        uint32_t w = rk[i];
        rk[i] = c_td.t[0][c_sbox[B(w, 0)]] ^ c_td.t[1][c_sbox[B(w, 1)]] ^ c_td.t[2][c_sbox[B(w, 2)]] ^
                c_td.t[3][c_sbox[B(w, 3)]];
    }
    return 0;
}

namespace {

// The rounds of either direction: the decryption tables and inverse S-box take the
// columns in the opposite order, which is a column step of 3 instead of 1.
template <int step>
inline void Rounds(const unsigned char in[16], unsigned char out[16], const t_aesSchedule* schedule,
                   const t_tables& tables, const std::array<uint8_t, 256>& box)
{
    const uint32_t* rk = schedule->roundKeys;
    uint32_t s[4], t[4];
    for (int k = 0; k < 4; ++k)
        s[k] = Load(in + 4 * k) ^ rk[k];
    for (int r = 1; r < schedule->rounds; ++r) {
        rk += 4;
        for (int k = 0; k < 4; ++k)
            t[k] = tables.t[0][B(s[k], 0)] ^ tables.t[1][B(s[(k + step) & 3], 1)] ^
                   tables.t[2][B(s[(k + 2 * step) & 3], 2)] ^ tables.t[3][B(s[(k + 3 * step) & 3], 3)] ^ rk[k];
        memcpy(s, t, sizeof s);
    }
    rk += 4;
    for (int k = 0; k < 4; ++k)
        Store(out + 4 * k, Word(box[B(s[k], 0)], box[B(s[(k + step) & 3], 1)], box[B(s[(k + 2 * step) & 3], 2)],
                                box[B(s[(k + 3 * step) & 3], 3)]) ^
                               rk[k]);
}

}  // namespace

void AesEncryptBlock(const unsigned char in[16], unsigned char out[16], const t_aesSchedule* schedule)
{
    Rounds<1>(in, out, schedule, c_te, c_sbox);
}

void AesDecryptBlock(const unsigned char in[16], unsigned char out[16], const t_aesSchedule* schedule)
{
    Rounds<3>(in, out, schedule, c_td, c_sboxInv);
}

bool AesCbc(const unsigned char* in, unsigned char* out, unsigned int length, const t_aesSchedule* schedule,
            unsigned char iv[16], int direction)
{
    if (length % 16 != 0)
        return false;
    unsigned char block[16];
    for (unsigned int pos = 0; pos < length; pos += 16) {
        if (direction == c_aesEncrypt) {
            for (int k = 0; k < 16; ++k)
                block[k] = in[pos + k] ^ iv[k];
            AesEncryptBlock(block, out + pos, schedule);
            memcpy(iv, out + pos, 16);
        } else {
            // Keep the ciphertext: out may overwrite it.
            unsigned char cipher[16];
            memcpy(cipher, in + pos, 16);
            AesDecryptBlock(cipher, block, schedule);
            for (int k = 0; k < 16; ++k)
                out[pos + k] = block[k] ^ iv[k];
            memcpy(iv, cipher, 16);
        }
    }
    return true;
}

bool Pkcs7Pad(unsigned int* capacity, unsigned char* out, const unsigned char* in, unsigned int length)
{
    if (!capacity || !out || length > 0xFFFFFFFFu - 16)
        return false;
    unsigned int padded = (length / 16 + 1) * 16;
    unsigned int available = *capacity;
    *capacity = padded;
    if (available < padded)
        return false;
    if (length)
        memmove(out, in, length);
    memset(out + length, static_cast<int>(padded - length), padded - length);
    return true;
}

bool Pkcs7Unpad(unsigned int length, const unsigned char* bytes, unsigned int* outLength)
{
    *outLength = 0;
    if (!bytes || length < 16 || length % 16 != 0)
        return false;
    unsigned int p = bytes[length - 1];
    if (p < 1 || p > 16)
        return false;
    for (unsigned int k = 2; k <= p; ++k)
        if (bytes[length - k] != p)
            return false;
    *outLength = length - p;
    return true;
}
