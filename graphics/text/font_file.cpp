#include "graphics/text/font_file.h"

#include <cstdlib>
#include <cstring>

#include "foundation/core/singleton.h"
#include "foundation/crypto/encrypted_text.h"
#include "foundation/files/file.h"

t_fontFileCipher::t_fontFileCipher()
{
    m_cipher.Init(TextCipherKey());
    m_cipher.SetRandomFirstBlock(true);
}

t_fontFileCipher* t_fontFileCipher::Instance() { return ImmSingleton<t_fontFileCipher>::Instance("t_fontFileCipher"); }

int DecodeFontFile(const unsigned char* data, uint32_t& size, unsigned char*& out)
{
    out = nullptr;
    if (!data || size < c_fontFileHeaderBytes)
        return -1;
    unsigned char* plain = nullptr;
    uint32_t plainSize = 0;
    if (memcmp(data, c_fontFileMagic, sizeof(c_fontFileMagic)) == 0) {
        const uint32_t cipherSize = size - c_fontFileHeaderBytes;
        t_fontFileCipher* cipher = t_fontFileCipher::Instance();
        if (!cipher || cipherSize == 0 || cipherSize % 16 != 0)
            return -1;
        plain = static_cast<unsigned char*>(malloc(cipherSize));
        if (!plain)
            return -1;
        if (!cipher->Cipher().Decrypt(cipherSize, &plainSize, data + c_fontFileHeaderBytes, plain) ||
            plainSize > cipherSize) {
            free(plain);
            return -1;
        }
    } else {
        plain = static_cast<unsigned char*>(malloc(size));
        if (!plain)
            return -1;
        memcpy(plain, data, size);
        plainSize = size;
    }
    if (plainSize >= c_fontFileHeaderBytes && memcmp(plain, c_fontFileMagic, sizeof(c_fontFileMagic)) == 0) {
        plainSize -= c_fontFileHeaderBytes;
        memmove(plain, plain + c_fontFileHeaderBytes, plainSize);
    }
    out = plain;
    size = plainSize;
    return 0;
}

bool LoadFontFile(t_errorChain& errors, const wchar_t* path, t_fontFileData& out)
{
    out = t_fontFileData();
    t_errorChain readErrors;
    t_fileRead file;
    bool ok = file.Open(readErrors, path);
    unsigned char* raw = nullptr;
    uint32_t size = ok ? file.Length() : 0;
    if (ok && size >= c_fontFileHeaderBytes) {
        raw = static_cast<unsigned char*>(malloc(size));
        ok = raw && file.Read(readErrors, raw, size) && DecodeFontFile(raw, size, out.bytes) == 0;
        out.size = ok ? size : 0;
    } else
        ok = false;
    free(raw);
    if (!ok)
        errors.AddText(L"字体文件导入失败");
    return ok;
}
