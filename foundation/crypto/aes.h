// AES block cipher (128-, 192- and 256-bit keys), CBC chaining and PKCS#7 padding.
#pragma once

#include <cstdint>

// Round keys followed by the number of rounds (10, 12 or 14).
struct t_aesSchedule {
    uint32_t roundKeys[60];
    int rounds;
};

// 0 on success; -1 when key or schedule is null; -2 for a bit count other
// than 128, 192 or 256.
int AesSetEncryptKey(const unsigned char* key, int bits, t_aesSchedule* schedule);
// The encryption schedule in reverse round order with InvMixColumns applied
// to the inner round keys (equivalent inverse cipher); same results.
int AesSetDecryptKey(int bits, const unsigned char* key, t_aesSchedule* schedule);

// One 16-byte block; in and out may be the same buffer.
void AesEncryptBlock(const unsigned char in[16], unsigned char out[16], const t_aesSchedule* schedule);
void AesDecryptBlock(const unsigned char in[16], unsigned char out[16], const t_aesSchedule* schedule);

enum {
    c_aesDecrypt = 0,
    c_aesEncrypt = 1
};

// CBC over length bytes (direction 1 encrypt, 0 decrypt); in and out may be the
// same buffer. iv is updated to the last ciphertext block, so consecutive calls
// continue one chain. A length that is not a multiple of 16 is refused (false,
// nothing written): a partial block would be written past the caller's buffer.
bool AesCbc(const unsigned char* in, unsigned char* out, unsigned int length, const t_aesSchedule* schedule,
            unsigned char iv[16], int direction);

// Writes length bytes plus 1..16 padding bytes of value (padded - length) to out;
// the padded length (length / 16 + 1) * 16 is written back to capacity. False
// when out is null or the capacity is smaller.
bool Pkcs7Pad(unsigned int* capacity, unsigned char* out, const unsigned char* in, unsigned int length);
// Checks the padding of a block-aligned buffer: on success out length is the
// length without padding; otherwise out length 0 and false.
bool Pkcs7Unpad(unsigned int length, const unsigned char* bytes, unsigned int* outLength);
