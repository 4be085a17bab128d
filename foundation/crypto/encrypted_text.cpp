#include "foundation/crypto/encrypted_text.h"

#include "foundation/crypto/base64.h"

#include <cstdlib>
#include <cstring>

namespace {

// Any fixed values serve, as long as every reader and writer shares them.
const unsigned char c_textKey[32] = {0x4b, 0x61, 0x76, 0x72, 0x65, 0x6c, 0x2d, 0x74, 0x65, 0x78, 0x74,
                                     0x2d, 0x6b, 0x65, 0x79, 0x21, 0x93, 0x1d, 0x5e, 0xa7, 0x0c, 0xf2,
                                     0x68, 0x3b, 0xd4, 0x81, 0x2f, 0x56, 0xe9, 0x07, 0xbc, 0x4a};

const t_blockCipherKey c_textKeyRecord = {
    256, {0x71, 0x3e, 0xa5, 0x0b, 0xc8, 0x94, 0x2d, 0x6f, 0x10, 0xe7, 0x5a, 0x83, 0x39, 0xd2, 0x4c, 0xb6}, c_textKey};

}  // namespace

const t_blockCipherKey& TextCipherKey() { return c_textKeyRecord; }

t_encryptedTextContext* EncryptedTextInit(t_encryptedTextContext* ctx)
{
    ctx->cipher.Init(c_textKeyRecord);
    return ctx;
}

char* EncryptedTextEncode(const t_encryptedTextContext* ctx, const char* text, unsigned int length)
{
    if (!ctx || (!text && length) || length > 0x3FFFFFFF)
        return nullptr;
    unsigned char* cipher = static_cast<unsigned char*>(malloc(length + 32));
    if (!cipher)
        return nullptr;
    unsigned int total = 0;
    char* out = nullptr;
    if (ctx->cipher.Encrypt(&total, length, cipher, reinterpret_cast<const unsigned char*>(text))) {
        out = static_cast<char*>(malloc((total + 2) / 3 * 4 + 1));
        if (out)
            Base64Encode(total, cipher, out);
    }
    free(cipher);
    return out;
}

char* EncryptedTextDecode(const char* text, const t_encryptedTextContext* ctx)
{
    if (!text || !ctx)
        return nullptr;
    const size_t length = strlen(text);
    if (length < 4 || length > 0x7FFFFFFF)
        return nullptr;
    // The exact count a well-formed text decodes to; anything else is refused.
    size_t expected = length / 4 * 3;
    if (text[length - 1] == '=')
        --expected;
    if (text[length - 2] == '=')
        --expected;

    unsigned char* plain = static_cast<unsigned char*>(malloc(length / 4 * 3 + 1));
    if (!plain)
        return nullptr;
    int decoded = Base64Decode(plain, text);
    unsigned int unpadded = 0;
    // Deciphering in place: the plaintext lands before the ciphertext it came from.
    if (decoded < 0 || static_cast<size_t>(decoded) != expected ||
        !ctx->cipher.Decrypt(static_cast<unsigned int>(decoded), &unpadded, plain, plain)) {
        free(plain);
        return nullptr;
    }
    plain[unpadded] = 0;
    return reinterpret_cast<char*>(plain);
}
