// Whole-buffer AES-CBC with PKCS#7 padding under a stored key record.
#pragma once

#include "foundation/crypto/aes.h"

// Key record shared by every user of t_blockCipher.
struct t_blockCipherKey {
    unsigned int bits;         // 128, 192 or 256
    unsigned char iv[16];      // CBC initialisation vector
    const unsigned char* key;  // bits / 8 bytes
};

// Read-only after Init: every call chains from a copy of the stored IV, so one
// context may serve several threads.
class t_blockCipher {
public:
    t_blockCipher();

    // Builds both schedules from the record and copies it; the random first
    // block is switched on. False when the record's key is missing or its bit
    // count unsupported (every later Encrypt and Decrypt then fails).
    bool Init(const t_blockCipherKey& key);
    // With the random first block, 16 random bytes are enciphered ahead of the
    // data (they serve as the effective IV) and dropped again when deciphering.
    void SetRandomFirstBlock(bool on) { m_randomFirstBlock = on; }
    bool RandomFirstBlock() const { return m_randomFirstBlock; }

    // Pads and enciphers inLength bytes; out needs inLength + 32 bytes. The
    // output length is (inLength / 16 + 1) * 16, plus 16 with the random block.
    bool Encrypt(unsigned int* outLength, unsigned int inLength, unsigned char* out, const unsigned char* in) const;
    // Deciphers inLength bytes (a multiple of 16, above 16 with the random
    // block) and removes the padding; out needs room for the data blocks
    // (inLength, less 16 with the random block) and may be the input buffer.
    bool Decrypt(unsigned int inLength, unsigned int* outLength, const unsigned char* in, unsigned char* out) const;

private:
    t_aesSchedule m_encrypt;
    t_aesSchedule m_decrypt;
    t_blockCipherKey m_key;
    bool m_ready;
    bool m_randomFirstBlock;
};
