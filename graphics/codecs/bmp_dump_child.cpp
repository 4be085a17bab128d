// Decodes bitmap files with our BMP decoder and writes what came out, for host-side peer
// checks against an independent decoder.
//   bmp_dump_child <output folder> <file>...
// For each file <name>.bmp it writes <output folder>\<name>.dump:
//   "OK\n", width and height (u32 each, little-endian), then the DIB's 32-bit pixels
//   bottom row first; or "FAIL\n" and the error lines in UTF-8, one a line.
// Exit code 2 for bad arguments or an unreadable input, else 0.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "graphics/codecs/bmp_decoder.h"
#include "tests/support/temp_folder.h"

namespace {

std::string Utf8(const wchar_t* text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string bytes(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &bytes[0], n, nullptr, nullptr);
    bytes.resize(size_t(n - 1));
    return bytes;
}

std::string Dump(const std::string& bytes)
{
    t_errorChain errors;
    t_memInput input(bytes.data(), bytes.size());
    HBITMAP bitmap = nullptr;
    t_pictureHeader header;
    if (!DecodeBmp(errors, input, bitmap, header)) {
        std::string out = "FAIL\n";
        for (const t_errorLine* line = errors.FirstLine(); line; line = line->next)
            out += Utf8(line->text.c_str()) + "\n";
        return out;
    }
    std::string out = "OK\n";
    const uint32_t size[2] = {uint32_t(header.biWidth), uint32_t(header.biHeight)};
    out.append(reinterpret_cast<const char*>(size), sizeof(size));
    const void* bits = BitmapPixelsOf(bitmap);
    if (bits)
        out.append(static_cast<const char*>(bits), size_t(size[0]) * size[1] * 4);
    DeleteObject(bitmap);
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const std::wstring folder = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::string bytes;
        if (!ReadRaw(argv[i], bytes)) {
            fwprintf(stderr, L"cannot read %ls\n", argv[i]);
            return 2;
        }
        std::wstring name = argv[i];
        const size_t slash = name.find_last_of(L"\\/");
        if (slash != std::wstring::npos)
            name = name.substr(slash + 1);
        const size_t dot = name.rfind(L'.');
        if (dot != std::wstring::npos)
            name = name.substr(0, dot);
        const std::string dump = Dump(bytes);
        FILE* f = _wfopen((folder + L"\\" + name + L".dump").c_str(), L"wb");
        if (!f || fwrite(dump.data(), 1, dump.size(), f) != dump.size())
            return 2;
        fclose(f);
    }
    return 0;
}
