#include "graphics/text/font.h"

#include <cstdlib>
#include <cwchar>

#include "foundation/core/exe_path.h"
#include "foundation/win/security.h"
#include "graphics/text/freetype.h"
#include "graphics/text/ui_cache.h"

namespace {

const BYTE c_clearTypeQuality = CLEARTYPE_QUALITY;

bool StartsWithNoCase(const wchar_t* text, const wchar_t* prefix)
{
    return _wcsnicmp(text, prefix, wcslen(prefix)) == 0;
}

// Some host programs render GDI text badly on Windows 8 and later.
bool IsSmoothTextHost()
{
    if (!IsWin8OrLater())
        return false;
    t_str exe;
    if (!GetExePath(exe))
        return false;
    const wchar_t* name = wcsrchr(exe.c_str(), L'\\');
    return _wcsicmp(name ? name + 1 : exe.c_str(), L"QQ.exe") == 0;
}

// Big-endian fields of the name table.
unsigned ReadU16(const unsigned char* p) { return (static_cast<unsigned>(p[0]) << 8) | p[1]; }

// The name-table slot of a record, or -1 for the records that are not read.
int NameSlot(unsigned platform, unsigned encoding, unsigned language)
{
    if (platform == 3 && encoding == 1) {
        if (language == 1033)
            return t_trueTypeNames::c_english;
        if (language == 2052)
            return t_trueTypeNames::c_simplified;
        if (language == 1028)
            return t_trueTypeNames::c_traditional;
    }
    if (platform == 1 && encoding == 0 && language == 0)
        return t_trueTypeNames::c_english;
    if (platform == 1 && encoding == 2 && language == 19)
        return t_trueTypeNames::c_traditional;
    return -1;
}

const DWORD c_nameTableTag = 0x656D616E;  // "name" as GetFontData takes it

// Reads the name ID 4 records of the font selected into dc into the slots they belong to.
void ReadFullNames(HDC dc, t_trueTypeNames& names)
{
    unsigned char header[6];
    if (GetFontData(dc, c_nameTableTag, 0, header, sizeof(header)) != sizeof(header))
        return;
    const unsigned count = ReadU16(header + 2);
    const unsigned stringOffset = ReadU16(header + 4);
    for (unsigned i = 0; i < count; ++i) {
        unsigned char record[12];
        if (GetFontData(dc, c_nameTableTag, 6 + 12 * i, record, sizeof(record)) != sizeof(record))
            return;
        if (ReadU16(record + 6) != 4)
            continue;
        const unsigned platform = ReadU16(record), encoding = ReadU16(record + 2);
        const int slot = NameSlot(platform, encoding, ReadU16(record + 4));
        if (slot < 0)
            continue;
        const unsigned length = ReadU16(record + 8);
        const unsigned offset = stringOffset + ReadU16(record + 10);
        wchar_t* out = names.names[slot];
        unsigned char text[520];
        if (platform == 3) {
            if (length > 519 || GetFontData(dc, c_nameTableTag, offset, text, length) != length)
                continue;
            const unsigned chars = length / 2;
            for (unsigned c = 0; c < chars; ++c)
                out[c] = static_cast<wchar_t>(ReadU16(text + 2 * c));
            out[chars] = 0;
        } else {
            if (length >= 260 || GetFontData(dc, c_nameTableTag, offset, text, length) != length)
                continue;
            const int chars = length ? MultiByteToWideChar(950, 0, reinterpret_cast<const char*>(text), length, out,
                                                           t_trueTypeNames::c_capacity - 1)
                                     : 0;
            out[chars > 0 ? chars : 0] = 0;
        }
    }
}

}  // namespace

bool NeedsAlphaFix(const wchar_t* face) { return face && wcscmp(face, L"宋体-PUA") == 0; }

bool IsGdiOnlyFamily(const wchar_t* englishName, LONG logFontHeight)
{
    if (!englishName)
        return false;
    if ((StartsWithNoCase(englishName, L"simsun") || StartsWithNoCase(englishName, L"nsimsun")) && logFontHeight >= -18)
        return true;
    return StartsWithNoCase(englishName, L"mingliu") || StartsWithNoCase(englishName, L"pmingliu");
}

void GetTrueTypeNames(HFONT font, wchar_t (&faceName)[LF_FACESIZE], t_trueTypeNames& names)
{
    for (auto& name : names.names)
        name[0] = 0;
    if (font) {
        if (HDC dc = CreateCompatibleDC(nullptr)) {
            HGDIOBJ old = SelectObject(dc, font);
            ReadFullNames(dc, names);
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        const wchar_t* traditional = names.names[t_trueTypeNames::c_traditional];
        if (!names.names[t_trueTypeNames::c_simplified][0] && traditional[0])
            lstrcpynW(faceName, traditional, LF_FACESIZE);
        if (wcscmp(names.names[t_trueTypeNames::c_simplified], faceName) == 0 ||
            wcscmp(names.names[t_trueTypeNames::c_english], faceName) == 0)
            return;
    }
    lstrcpynW(names.names[t_trueTypeNames::c_english], faceName, t_trueTypeNames::c_capacity);
    lstrcpynW(names.names[t_trueTypeNames::c_simplified], faceName, t_trueTypeNames::c_capacity);
    if (!font)
        lstrcpynW(names.names[t_trueTypeNames::c_traditional], faceName, t_trueTypeNames::c_capacity);
}

bool t_font::Create(LOGFONTW& logFont, t_font*& out, bool smoothing)
{
    out = static_cast<t_font*>(calloc(1, sizeof(t_font)));
    if (!out)
        return false;
    if (CreateIndirect(logFont, out, smoothing))
        return true;
    free(out);
    out = nullptr;
    return false;
}

bool t_font::CreateIndirect(LOGFONTW& logFont, t_font* font, bool smoothing)
{
    if (!font)
        return false;
    bool wantFreeType = true;
    if (wcsncmp(logFont.lfFaceName, L"汉仪", 2) == 0 || IsSmoothTextHost() || smoothing)
        logFont.lfQuality = c_clearTypeQuality;
    else {
        logFont.lfQuality = DEFAULT_QUALITY;
        wantFreeType = false;
    }

    font->kind = t_fontKind::gdi;
    font->ftFont = nullptr;
    font->hfont = CreateFontIndirectW(&logFont);
    font->needsAlphaFix = font->hfont ? NeedsAlphaFix(logFont.lfFaceName) : 1;
    if (!wantFreeType)
        return font->hfont != nullptr;

    t_trueTypeNames names;
    GetTrueTypeNames(font->hfont, logFont.lfFaceName, names);
    if (IsGdiOnlyFamily(names.names[t_trueTypeNames::c_english], logFont.lfHeight))
        return true;
    // FreeType serves only once the program started it.
    if (t_freetype::Exists()) {
        if (t_ftFont* ftFont = t_freetype::Instance()->CreateFont(logFont, &names)) {
            font->ftFont = ftFont;
            font->kind = t_fontKind::freeType;
        }
    }
    return true;
}

void t_font::Destroy(t_font* font)
{
    if (!font)
        return;
    if (font->kind == t_fontKind::freeType && font->ftFont && t_freetype::Exists())
        t_freetype::Instance()->ReleaseFont(font->ftFont);
    if (font->hfont) {
        // A new font may get the same handle: its widths must not come from this one.
        t_uiCache::RemoveFont(font->hfont);
        DeleteObject(font->hfont);
    }
    font->hfont = nullptr;
    font->ftFont = nullptr;
    font->kind = t_fontKind::gdi;
}

void t_font::Release(t_font* font)
{
    Destroy(font);
    free(font);
}
