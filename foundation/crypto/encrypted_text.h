// The encrypted text form: a whole narrow text as one base64 line of
// AES-256-CBC ciphertext under the fixed text key, with a random first block.
#pragma once

#include "foundation/crypto/block_cipher.h"

// Both schedules of the text key and the random-first-block flag.
struct t_encryptedTextContext {
    t_blockCipher cipher;
};

// The fixed 256-bit text key and text IV; the packed skin container enciphers
// under the same record.
const t_blockCipherKey& TextCipherKey();

// Builds both schedules from the text key; random first block on.
t_encryptedTextContext* EncryptedTextInit(t_encryptedTextContext* ctx);
// New NUL-terminated base64 text of (length / 16 * 16 + 34) / 3 * 4 characters,
// or null; the caller frees it with free().
char* EncryptedTextEncode(const t_encryptedTextContext* ctx, const char* text, unsigned int length);
// New NUL-terminated plaintext, or null for a text that is not a well-formed
// encoding; the caller frees it with free().
char* EncryptedTextDecode(const char* text, const t_encryptedTextContext* ctx);
