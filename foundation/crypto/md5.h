// MD5 digests of buffers and files.
#pragma once

#include <cstdint>

class t_errorChain;

// Running digest: chaining values, message length in bits (low, high), the
// pending 64-byte block and how many of its bytes are filled.
struct t_md5Context {
    uint32_t state[4];
    uint32_t bits[2];
    uint32_t block[16];
    uint32_t waiting;
};

void Md5Init(t_md5Context* ctx);
// Feeds length bytes; length 0 does nothing. Always 1.
int Md5Update(unsigned int length, t_md5Context* ctx, const unsigned char* bytes);
// Pads, writes the 16-byte digest and empties the pending block. Always 1.
int Md5Final(unsigned char out[16], t_md5Context* ctx);
// Digest of one buffer into out; a null out uses one process-wide buffer
// (not safe across threads). Returns the buffer written.
unsigned char* Md5Buffer(unsigned char* out, const void* bytes, unsigned int length);
// Digest of a whole file; on failure the chain gets "Hash文件失败".
bool Md5File(t_errorChain& errors, unsigned char out[16], const wchar_t* path);
