#include "graphics/text/freetype.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include FT_LCD_FILTER_H

#include "foundation/core/singleton.h"
#include "graphics/paint/blend_over.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/text/font.h"
#include "graphics/text/system_fonts.h"

namespace {

std::atomic<bool> g_freetypeExists{false};

const wchar_t* const c_systemLinkKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink";
const DWORD c_systemLinkBytes = 520;
// Fallbacks tried before the font links.
const wchar_t* const c_leadingFallbacks[] = {L"NSimSun", L"SurSong"};

// The strings of the SimSun font links, each "file,face" (or a bare face). False when the
// value is missing, of another type or larger than its buffer.
bool ReadFontLinks(std::vector<std::wstring>& faces)
{
    wchar_t value[c_systemLinkBytes / 2 + 2] = {};
    DWORD type = 0, bytes = c_systemLinkBytes;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, c_systemLinkKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    const LONG status = RegQueryValueExW(key, L"SimSun", nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_MULTI_SZ)
        return false;
    const wchar_t* end = value + bytes / sizeof(wchar_t);
    for (const wchar_t* p = value; p < end && *p; p += wcslen(p) + 1) {
        const wchar_t* comma = wcschr(p, L',');
        faces.push_back(comma ? comma + 1 : p);
    }
    return true;
}

bool FileExists(const char* path)
{
    wchar_t wide[MAX_PATH];
    if (!FontPathToWide(path, wide))
        return false;
    const DWORD attributes = GetFileAttributesW(wide);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The font file of a LOGFONT: the system font list (for the face, then each name of the
// set), else face + ".ttf" in the Windows fonts folder, else face + ".vxfont" in the
// private folder.
bool FindFontFile(const LOGFONTW& logFont, const t_trueTypeNames* names, char (&path)[c_fontPathBytes], int& index,
                  bool& isPrivate)
{
    index = 0;
    isPrivate = false;
    if (FindSystemFontFile(logFont.lfFaceName, logFont, path, index))
        return true;
    if (names)
        for (const auto& name : names->names)
            if (name[0] && FindSystemFontFile(name, logFont, path, index))
                return true;
    index = 0;
    if (!FontFileFromName(path, logFont.lfFaceName))
        return false;
    if (FileExists(path))
        return true;
    wchar_t folder[MAX_PATH];
    GetPrivateFontsDir(folder);
    std::wstring privatePath(folder);
    privatePath += L"\\";
    privatePath += logFont.lfFaceName;
    privatePath += L".vxfont";
    isPrivate = true;
    return WideToFontPath(privatePath.c_str(), path);
}

int PixelSizeOf(const LOGFONTW& logFont) { return logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight; }

// Opens the face of a LOGFONT at its pixel size and raises the font's cell maxima.
bool OpenFontFace(t_freetype_fontmanager& manager, t_ftFont& font, const LOGFONTW& logFont,
                  const t_trueTypeNames* names, FT_Face& face)
{
    face = nullptr;
    const int pixelSize = PixelSizeOf(logFont);
    char path[c_fontPathBytes];
    int index = 0;
    bool isPrivate = false;
    if (pixelSize <= 0 || !FindFontFile(logFont, names, path, index, isPrivate) ||
        !manager.OpenFace(path, index, isPrivate, face))
        return false;
    if (SetFacePixelSize(face, pixelSize) != 0) {
        manager.ReleaseFace(face);
        face = nullptr;
        return false;
    }
    int width = pixelSize, height = pixelSize;
    if (const int unitsPerEm = face->units_per_EM) {
        const FT_Size_Metrics& metrics = face->size->metrics;
        width = static_cast<int>(static_cast<long long>(metrics.x_ppem) * face->max_advance_width * 2 / unitsPerEm);
        height = static_cast<int>(static_cast<long long>(metrics.y_ppem) * face->max_advance_height * 2 / unitsPerEm);
        if (height == 0)
            height = static_cast<int>(static_cast<long long>(metrics.y_ppem) * metrics.height * 2 / unitsPerEm);
    }
    font.maxAdvance = std::max(font.maxAdvance, width);
    font.maxHeight = std::max(font.maxHeight, height);
    return true;
}

// Code of a character in the face's charmap: Unicode when the face has it, else GB2312
// (the code page 936 bytes); false when the face has neither or the code does not convert.
bool SelectCharmapForCode(FT_Face face, FT_ULong& code)
{
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0)
        return true;
    for (int i = 0; i < face->num_charmaps; ++i) {
        if (face->charmaps[i]->encoding != FT_ENCODING_GB2312)
            continue;
        if (FT_Set_Charmap(face, face->charmaps[i]) != 0 || code > 0xFFFF)
            return false;
        const wchar_t wide = static_cast<wchar_t>(code);
        unsigned char bytes[2] = {};
        const int n = WideCharToMultiByte(936, 0, &wide, 1, reinterpret_cast<char*>(bytes), 2, nullptr, nullptr);
        code = n == 2 ? (bytes[0] << 8) | bytes[1] : 0;
        return true;
    }
    return false;
}

FT_UInt CharIndex(FT_Face face, FT_ULong code)
{
    return code && SelectCharmapForCode(face, code) ? FT_Get_Char_Index(face, code) : 0;
}

// Whether the face draws the character at the pixel size (its glyph then is cached).
bool FaceServes(t_freetype_fontmanager& manager, FT_Face face, FT_ULong code, int pixelSize, FT_UInt& index)
{
    index = CharIndex(face, code);
    return index != 0 && SetFacePixelSize(face, pixelSize) == 0 && manager.LoadGlyph(pixelSize, index, face) == 0;
}

// The face that draws a character: the main face, else the first fallback that has it
// (fallbacks are opened in order, each tried once). Null when none does.
FT_Face FindFaceForChar(t_freetype_fontmanager& manager, t_ftFont& font, FT_ULong code, FT_UInt& index)
{
    if (FaceServes(manager, font.face, code, font.pixelSize, index))
        return font.face;
    for (int i = 0; i < font.fallbackCount; ++i) {
        t_ftFallback& fallback = font.fallbacks[i];
        if (!fallback.face && i >= font.nextFallback) {
            font.nextFallback = i + 1;
            LOGFONTW logFont = font.logFont;
            // Font link names may be longer than the LOGFONT's field.
            lstrcpynW(logFont.lfFaceName, fallback.faceName, LF_FACESIZE);
            OpenFontFace(manager, font, logFont, nullptr, fallback.face);
        }
        if (fallback.face && FaceServes(manager, fallback.face, code, font.pixelSize, index))
            return fallback.face;
    }
    return nullptr;
}

int CeilPixels(FT_Pos v) { return static_cast<int>((v + 63) >> 6); }

// Whole-pixel advance of a glyph, with kerning against the next character in the same face.
int GlyphAdvance(const t_freetype_fontmanager::t_cachedGlyph& glyph, FT_Face face, FT_UInt index, FT_ULong next)
{
    const FT_Glyph_Metrics& m = glyph.metrics;
    const int ink = m.width ? CeilPixels(m.horiBearingX) + CeilPixels(m.width) : 0;
    const int advance = CeilPixels(m.horiAdvance);
    int result = ink && (advance == 0 || advance > ink) ? ink : advance;
    FT_Vector kerning;
    if (FT_Get_Kerning(face, index, CharIndex(face, next), FT_KERNING_DEFAULT, &kerning) == 0)
        result += static_cast<int>(kerning.x >> 6);
    return result;
}

// UTF-16 to code points; a lone surrogate is taken as it is.
void DecodeRun(const wchar_t* text, int length, std::vector<FT_ULong>& codes)
{
    codes.clear();
    if (length < 0)
        length = static_cast<int>(wcslen(text));
    codes.reserve(length);
    for (int i = 0; i < length; ++i) {
        const unsigned c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            codes.push_back(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u));
            ++i;
        } else
            codes.push_back(c);
    }
}

// One glyph placed in a run.
struct t_placedGlyph {
    const t_freetype_fontmanager::t_cachedGlyph* glyph;
    int x;  // pen position from the run's start
};

struct t_runLayout {
    int width = 0;
    int height = 0;
    int ascent = 0;
};

// Lays out a run: the glyphs with their pen positions (when asked), width, line height
// and ascent over the faces used. Characters that no face serves add nothing.
t_runLayout LayOutRun(t_freetype_fontmanager& manager, t_ftFont& font, const std::vector<FT_ULong>& codes,
                      std::vector<t_placedGlyph>* placed)
{
    t_runLayout layout;
    for (size_t i = 0; i < codes.size(); ++i) {
        FT_UInt index = 0;
        FT_Face face = FindFaceForChar(manager, font, codes[i], index);
        const t_freetype_fontmanager::t_cachedGlyph* glyph = nullptr;
        if (!face || manager.GetGlyph(face, index, font.pixelSize, glyph) != 0)
            continue;
        if (const int unitsPerEm = face->units_per_EM) {
            const FT_Size_Metrics& metrics = face->size->metrics;
            layout.height = std::max(layout.height, static_cast<int>(static_cast<long long>(metrics.y_ppem) *
                                                                     (face->ascender - face->descender) / unitsPerEm));
            layout.ascent = std::max(
                layout.ascent, static_cast<int>(static_cast<long long>(face->ascender) * metrics.x_ppem / unitsPerEm));
        }
        if (placed)
            placed->push_back(t_placedGlyph{glyph, layout.width});
        layout.width += GlyphAdvance(*glyph, face, index, i + 1 < codes.size() ? codes[i + 1] : 0);
    }
    return layout;
}

bool AllFacesOpen(const t_freetype_fontmanager& manager, const t_ftFont& font)
{
    if (!manager.IsFaceOpen(font.face))
        return false;
    for (int i = 0; i < font.fallbackCount; ++i)
        if (font.fallbacks[i].face && !manager.IsFaceOpen(font.fallbacks[i].face))
            return false;
    return true;
}

}  // namespace

namespace {

// The premultiplied pixel of the text colour at each coverage (-1 counts as black).
struct t_coverageColors {
    uint32_t pixel[256];

    explicit t_coverageColors(COLORREF color)
    {
        if (color == CLR_INVALID)
            color = 0;
        const unsigned red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
        pixel[0] = 0;
        for (unsigned c = 1; c < 256; ++c)
            pixel[c] = (blue * c / 255) | (green * c / 255) << 8 | (red * c / 255) << 16 | c << 24;
    }
};

// Top row of a glyph bitmap; a negative pitch means the rows flow upwards from the last one.
const unsigned char* TopRow(const FT_Bitmap& bitmap)
{
    return bitmap.pitch >= 0 ? bitmap.buffer : bitmap.buffer - bitmap.pitch * (static_cast<int>(bitmap.rows) - 1);
}

// Columns first..end of one glyph row as coloured pixels.
void GlyphRowPixels(const unsigned char* row, bool gray, int first, int end, const t_coverageColors& colors,
                    uint32_t* out)
{
    for (int j = first; j < end; ++j)
        out[j - first] = colors.pixel[gray ? row[j] : ((row[j >> 3] >> (7 - (j & 7))) & 1) * 255u];
}

bool IsDrawableGlyph(const FT_Bitmap& bitmap)
{
    return bitmap.width != 0 && bitmap.rows != 0 && bitmap.buffer &&
           (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY || bitmap.pixel_mode == FT_PIXEL_MODE_MONO);
}

// The glyph's top-left `columns` x `rows` blended at (x, y) into the target's pixels, cut to
// its clip box: the pixels RenderGlyphToArgb makes, blended as AlphaBlend would.
void BlendGlyph(const t_pixelTarget& target, int x, int y, const FT_Bitmap& bitmap, int columns, int rows,
                const t_coverageColors& colors, int alpha, std::vector<uint32_t>& line)
{
    const int left = x + target.offset.x, top = y + target.offset.y;
    const int first = std::max(0, static_cast<int>(target.clip.left) - left);
    const int end = std::min(columns, static_cast<int>(target.clip.right) - left);
    const int firstRow = std::max(0, static_cast<int>(target.clip.top) - top);
    const int endRow = std::min(rows, static_cast<int>(target.clip.bottom) - top);
    if (first >= end || firstRow >= endRow)
        return;
    line.resize(static_cast<size_t>(end - first));
    const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    const unsigned char* rowZero = TopRow(bitmap);
    for (int i = firstRow; i < endRow; ++i) {
        GlyphRowPixels(rowZero + static_cast<ptrdiff_t>(bitmap.pitch) * i, gray, first, end, colors, line.data());
        BlendRowOver(target.view.Row(top + i) + left + first, line.data(), end - first, alpha);
    }
}

}  // namespace

bool RenderGlyphToArgb(uint32_t* bits, int width, int height, const FT_Bitmap& bitmap, COLORREF color)
{
    if (!bits || width <= 0 || height <= 0)
        return false;
    memset(bits, 0, static_cast<size_t>(width) * height * sizeof(uint32_t));
    if (!IsDrawableGlyph(bitmap))
        return false;
    const t_coverageColors colors(color);
    const int rows = std::min(static_cast<int>(bitmap.rows), height);
    const int columns = std::min(static_cast<int>(bitmap.width), width);
    const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    const unsigned char* top = TopRow(bitmap);
    for (int i = 0; i < rows; ++i)
        GlyphRowPixels(top + static_cast<ptrdiff_t>(bitmap.pitch) * i, gray, 0, columns, colors,
                       bits + static_cast<size_t>(height - 1 - i) * width);
    return true;
}

t_freetype::t_freetype() : m_library(nullptr), m_lock(nullptr)
{
    g_freetypeExists = true;
    Init();
}

t_freetype::~t_freetype()
{
    Done();
    g_freetypeExists = false;
}

t_freetype* t_freetype::Instance() { return ImmSingleton_unmanaged<t_freetype>::Instance(); }

bool t_freetype::Exists() { return g_freetypeExists; }

void t_freetype::Delete() { ImmSingleton_unmanaged<t_freetype>::Delete(); }

bool t_freetype::Init()
{
    if (m_library)
        return true;
    if (!m_lock) {
        t_criticalSection* lock = new (std::nothrow) t_criticalSection();
        t_errorChain errors;
        if (!lock || !lock->Create(errors, c_fontManagerLockName)) {
            delete lock;
            return false;
        }
        m_lock = lock;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return false;
    // Only builds with subpixel rendering have the filter; grey rendering does not need it.
    FT_Library_SetLcdFilter(library, FT_LCD_FILTER_LEGACY);
    t_ftLibrary* record = new (std::nothrow) t_ftLibrary{library, nullptr};
    if (record)
        record->manager = new (std::nothrow) t_freetype_fontmanager(library, *m_lock);
    if (!record || !record->manager) {
        delete record;
        FT_Done_FreeType(library);
        return false;
    }
    m_library = record;
    return true;
}

void t_freetype::Done()
{
    if (m_library) {
        delete m_library->manager;
        FT_Done_FreeType(m_library->library);
        delete m_library;
        m_library = nullptr;
    }
    delete m_lock;
    m_lock = nullptr;
}

t_ftFont* t_freetype::CreateFont(const LOGFONTW& logFont, const t_trueTypeNames* names)
{
    if (!m_library)
        return nullptr;
    t_freetype_fontmanager& manager = *m_library->manager;
    t_freetype_fontmanager::t_locker locker(*m_lock);
    std::vector<std::wstring> links;
    if (!locker.IsHeld() || !ReadFontLinks(links))
        return nullptr;
    const int count = static_cast<int>(std::size(c_leadingFallbacks) + links.size());
    t_ftFont* font = static_cast<t_ftFont*>(calloc(1, sizeof(t_ftFont) + count * sizeof(t_ftFallback)));
    if (!font)
        return nullptr;
    font->library = m_library;
    font->pixelSize = PixelSizeOf(logFont);
    font->logFont = logFont;
    font->fallbackCount = count;
    font->fallbacks = reinterpret_cast<t_ftFallback*>(font + 1);
    for (int i = 0; i < count; ++i) {
        const wchar_t* name = i < static_cast<int>(std::size(c_leadingFallbacks))
                                  ? c_leadingFallbacks[i]
                                  : links[i - std::size(c_leadingFallbacks)].c_str();
        lstrcpynW(font->fallbacks[i].faceName, name, MAX_PATH);
    }
    if (!OpenFontFace(manager, *font, logFont, names, font->face)) {
        free(font);
        return nullptr;
    }
    return font;
}

void t_freetype::ReleaseFont(t_ftFont* font)
{
    if (!m_library || !font)
        return;
    t_freetype_fontmanager& manager = *m_library->manager;
    manager.ReleaseFace(font->face);
    for (int i = 0; i < font->fallbackCount; ++i)
        if (font->fallbacks[i].face)
            manager.ReleaseFace(font->fallbacks[i].face);
    free(font);
}

bool t_freetype::MeasureRun(const wchar_t* text, int length, t_ftFont* font, t_ftRunMetrics& metrics)
{
    if (!m_library || !font || !text)
        return false;
    t_freetype_fontmanager::t_locker locker(*m_lock);
    if (!locker.IsHeld() || !AllFacesOpen(*m_library->manager, *font))
        return false;
    std::vector<FT_ULong> codes;
    DecodeRun(text, length, codes);
    const t_runLayout layout = LayOutRun(*m_library->manager, *font, codes, nullptr);
    metrics = t_ftRunMetrics{layout.width, layout.height, layout.ascent};
    return true;
}

bool t_freetype::MeasureText(const wchar_t* text, int length, t_ftFont* font, SIZE& size)
{
    t_ftRunMetrics metrics;
    if (!MeasureRun(text, length, font, metrics))
        return false;
    size.cx = metrics.width;
    size.cy = metrics.height;
    return true;
}

bool t_freetype::DrawText(t_paintCtx& context, const wchar_t* text, int length, const RECT& rect, t_ftFont* font,
                          COLORREF color, UINT format, int alpha)
{
    if (!m_library || !font || !text)
        return false;
    t_freetype_fontmanager& manager = *m_library->manager;
    t_freetype_fontmanager::t_locker locker(*m_lock);
    if (!locker.IsHeld() || !AllFacesOpen(manager, *font))
        return false;
    std::vector<FT_ULong> codes;
    DecodeRun(text, length, codes);
    if (codes.empty())
        return true;
    std::vector<t_placedGlyph> placed;
    const t_runLayout layout = LayOutRun(manager, *font, codes, &placed);

    // Fallbacks opened while laying out may have raised the cell.
    const int cellWidth = std::max(font->pixelSize, font->maxAdvance), cellHeight = font->maxHeight;
    if (cellWidth <= 0 || cellHeight <= 0)
        return false;

    int x = rect.left, y = rect.top;
    if (format & DT_CENTER)
        x += (rect.right - rect.left - layout.width) / 2;
    else if (format & DT_RIGHT)
        x = rect.right - layout.width;
    if (format & DT_VCENTER)
        y += (rect.bottom - rect.top - layout.height) / 2;
    else if (format & DT_BOTTOM)
        y = rect.bottom - layout.height;

    alpha = std::clamp(alpha, 0, 255);
    // Into the target's own pixels when it has them: no scratch DIB, no GDI call per glyph.
    t_pixelTarget target;
    if (PixelTargetOf(context.Dc(), target)) {
        const t_coverageColors colors(color);
        std::vector<uint32_t> line;
        for (const t_placedGlyph& item : placed) {
            const FT_Bitmap& bitmap = reinterpret_cast<FT_BitmapGlyph>(item.glyph->glyph)->bitmap;
            if (!IsDrawableGlyph(bitmap))
                continue;
            const FT_BitmapGlyph glyph = reinterpret_cast<FT_BitmapGlyph>(item.glyph->glyph);
            BlendGlyph(target, x + item.x + glyph->left, y + layout.ascent - glyph->top, bitmap,
                       std::min(static_cast<int>(bitmap.width), cellWidth),
                       std::min(static_cast<int>(bitmap.rows), cellHeight), colors, alpha, line);
        }
        return true;
    }
    t_memDC scratch;
    if (!t_memDC::Create(scratch, context.Dc(), cellWidth, cellHeight))
        return false;
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
    for (const t_placedGlyph& item : placed) {
        const FT_BitmapGlyph glyph = reinterpret_cast<FT_BitmapGlyph>(item.glyph->glyph);
        if (!RenderGlyphToArgb(scratch.Pixels(), cellWidth, cellHeight, glyph->bitmap, color))
            continue;
        const int width = std::min(static_cast<int>(glyph->bitmap.width), cellWidth);
        const int rows = std::min(static_cast<int>(glyph->bitmap.rows), cellHeight);
        AlphaBlend(context.Dc(), x + item.x + glyph->left, y + layout.ascent - glyph->top, width, rows, scratch.dc, 0,
                   0, width, rows, blend);
    }
    return true;
}
