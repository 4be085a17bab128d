#include "foundation/crypto/md5.h"

#include "foundation/core/error_chain.h"
#include "foundation/files/file.h"

#include <cstdlib>
#include <cstring>

namespace {

inline uint32_t Rotl(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// Per-step shift amounts and sine constants of RFC 1321.
const int c_shift[64] = {7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 5,  9,  14, 20, 5,  9,
                         14, 20, 5,  9,  14, 20, 5,  9,  14, 20, 4,  11, 16, 23, 4,  11, 16, 23, 4,  11, 16, 23,
                         4,  11, 16, 23, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21};

const uint32_t c_sine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

// One 64-byte block; the words are little-endian, as the target stores them.
void Transform(uint32_t state[4], const uint32_t x[16])
{
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        uint32_t f;
        int g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) & 15;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) & 15;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) & 15;
        }
        uint32_t t = d;
        d = c;
        c = b;
        b = b + Rotl(a + f + c_sine[i] + x[g], c_shift[i]);
        a = t;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

unsigned char g_sharedDigest[16];

}  // namespace

void Md5Init(t_md5Context* ctx)
{
    ctx->state[0] = 0x67452301;
    ctx->state[1] = 0xefcdab89;
    ctx->state[2] = 0x98badcfe;
    ctx->state[3] = 0x10325476;
    ctx->bits[0] = ctx->bits[1] = 0;
    ctx->waiting = 0;
}

int Md5Update(unsigned int length, t_md5Context* ctx, const unsigned char* bytes)
{
    if (length == 0)
        return 1;
    uint32_t low = ctx->bits[0] + (length << 3);
    if (low < ctx->bits[0])
        ++ctx->bits[1];
    ctx->bits[0] = low;
    ctx->bits[1] += length >> 29;

    unsigned char* block = reinterpret_cast<unsigned char*>(ctx->block);
    while (length > 0) {
        unsigned int take = 64 - ctx->waiting;
        if (take > length)
            take = length;
        memcpy(block + ctx->waiting, bytes, take);
        ctx->waiting += take;
        bytes += take;
        length -= take;
        if (ctx->waiting == 64) {
            Transform(ctx->state, ctx->block);
            ctx->waiting = 0;
        }
    }
    return 1;
}

int Md5Final(unsigned char out[16], t_md5Context* ctx)
{
    unsigned char* block = reinterpret_cast<unsigned char*>(ctx->block);
    uint32_t bits[2] = {ctx->bits[0], ctx->bits[1]};
    // 0x80, zeros up to 56 mod 64, then the bit length.
    block[ctx->waiting++] = 0x80;
    if (ctx->waiting > 56) {
        memset(block + ctx->waiting, 0, 64 - ctx->waiting);
        Transform(ctx->state, ctx->block);
        ctx->waiting = 0;
    }
    memset(block + ctx->waiting, 0, 56 - ctx->waiting);
    ctx->block[14] = bits[0];
    ctx->block[15] = bits[1];
    Transform(ctx->state, ctx->block);
    ctx->waiting = 0;
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k)
            out[4 * i + k] = static_cast<unsigned char>(ctx->state[i] >> (8 * k));
    return 1;
}

unsigned char* Md5Buffer(unsigned char* out, const void* bytes, unsigned int length)
{
    if (!out)
        out = g_sharedDigest;
    t_md5Context ctx;
    Md5Init(&ctx);
    Md5Update(length, &ctx, static_cast<const unsigned char*>(bytes));
    Md5Final(out, &ctx);
    return out;
}

bool Md5File(t_errorChain& errors, unsigned char out[16], const wchar_t* path)
{
    static const wchar_t c_failed[] = L"Hash文件失败";
    static const unsigned int c_piece = 1048576;

    t_fileRead file;
    if (!file.Open(errors, path))
        return errors.Fail(c_failed);
    unsigned char* buffer = static_cast<unsigned char*>(malloc(c_piece));
    if (!buffer)
        return errors.Fail(c_failed);

    t_md5Context ctx;
    Md5Init(&ctx);
    // Read up to the size taken at opening; an empty file needs no read.
    unsigned int left = file.Length();
    while (left > 0) {
        unsigned int piece = left < c_piece ? left : c_piece;
        if (!file.Read(errors, buffer, piece)) {
            free(buffer);
            errors.AddText(c_failed);
            return false;
        }
        Md5Update(piece, &ctx, buffer);
        left -= piece;
    }
    free(buffer);
    Md5Final(out, &ctx);
    return true;
}
