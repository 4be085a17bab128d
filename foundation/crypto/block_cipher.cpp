#include "foundation/crypto/block_cipher.h"

#include "foundation/crypto/random_bytes.h"

#include <cstring>

t_blockCipher::t_blockCipher() : m_key(), m_ready(false), m_randomFirstBlock(true)
{
    memset(&m_encrypt, 0, sizeof m_encrypt);
    memset(&m_decrypt, 0, sizeof m_decrypt);
}

bool t_blockCipher::Init(const t_blockCipherKey& key)
{
    m_key = key;
    m_randomFirstBlock = true;
    m_ready = AesSetEncryptKey(key.key, static_cast<int>(key.bits), &m_encrypt) == 0 &&
              AesSetDecryptKey(static_cast<int>(key.bits), key.key, &m_decrypt) == 0;
    return m_ready;
}

bool t_blockCipher::Encrypt(unsigned int* outLength, unsigned int inLength, unsigned char* out,
                            const unsigned char* in) const
{
    if (!m_ready || !outLength || !out || (!in && inLength) || inLength > 0xFFFFFFFFu - 32)
        return false;
    unsigned char iv[16];
    memcpy(iv, m_key.iv, 16);
    unsigned int start = 0;
    if (m_randomFirstBlock)
        start = 16;
    // Pad in place in the output (memmove inside copes with in == out), then
    // encipher the random block and the data as one chain.
    unsigned int padded = inLength + 16;
    if (!Pkcs7Pad(&padded, out + start, in, inLength))
        return false;
    if (m_randomFirstBlock) {
        RandomBytes(out, 16);
        AesCbc(out, out, 16, &m_encrypt, iv, c_aesEncrypt);
    }
    AesCbc(out + start, out + start, padded, &m_encrypt, iv, c_aesEncrypt);
    *outLength = start + padded;
    return true;
}

bool t_blockCipher::Decrypt(unsigned int inLength, unsigned int* outLength, const unsigned char* in,
                            unsigned char* out) const
{
    if (outLength)
        *outLength = 0;
    if (!m_ready || !outLength || !in || !out || inLength % 16 != 0)
        return false;
    unsigned int start = m_randomFirstBlock ? 16 : 0;
    if (inLength <= start)
        return false;
    unsigned char iv[16];
    memcpy(iv, m_key.iv, 16);
    // The first block only advances the chain: its ciphertext is the data's IV.
    if (start)
        memcpy(iv, in, 16);
    unsigned int data = inLength - start;
    AesCbc(in + start, out, data, &m_decrypt, iv, c_aesDecrypt);
    return Pkcs7Unpad(data, out, outLength);
}
