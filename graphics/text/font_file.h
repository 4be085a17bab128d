// Private font files (".vxfont"): a plain TrueType file, or one enciphered behind the
// 12-byte "VXFT" header under the shared key record.
#pragma once

#include <cstdint>

#include "foundation/core/error_chain.h"
#include "foundation/crypto/block_cipher.h"

// The process-wide cipher of private font files (managed singleton "t_fontFileCipher").
class t_fontFileCipher {
public:
    t_fontFileCipher();
    static t_fontFileCipher* Instance();
    const t_blockCipher& Cipher() const { return m_cipher; }

private:
    t_blockCipher m_cipher;
};

// Plain font bytes from malloc; the owner frees them.
struct t_fontFileData {
    unsigned char* bytes = nullptr;
    uint32_t size = 0;
};

static const char c_fontFileMagic[4] = {'V', 'X', 'F', 'T'};
static const uint32_t c_fontFileHeaderBytes = 12;

// Reads and decodes a private font file; "字体文件导入失败" on failure.
bool LoadFontFile(t_errorChain& errors, const wchar_t* path, t_fontFileData& out);
// Plain bytes of a file image of `size` bytes into a new malloc buffer; size becomes theirs.
// 0, or -1 for a refused or undecipherable image (out stays null).
int DecodeFontFile(const unsigned char* data, uint32_t& size, unsigned char*& out);
