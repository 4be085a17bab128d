#include "graphics/text/font_manager.h"

#include <cstdlib>
#include <cstring>

#include "foundation/win/security.h"
#include "graphics/text/font_file.h"
#include "graphics/text/system_fonts.h"

const wchar_t* const c_fontManagerLockName = L"Local\\cs_freetyp_fontmanager";

namespace {

char g_mappingPrefix[1024] = "";

// A shared font mapping begins with this header; the font bytes follow at dataOffset. The
// path and the file's size tell a process whether the named mapping holds its file, since
// names carry only the file name.
struct t_fontMappingHeader {
    volatile LONG magic;  // written last, once the bytes are in place
    uint32_t dataOffset;
    uint32_t dataSize;
    uint32_t fileSize;
    char path[c_fontPathBytes];
};
const LONG c_mappingMagic = 0x4D46564B;  // "KVFM"
const uint32_t c_mappingHeaderBytes = 512;
static_assert(sizeof(t_fontMappingHeader) <= c_mappingHeaderBytes, "mapping header too large");
// How long an opener waits for another process to finish filling a mapping.
const int c_fillWaitMs = 2000;

// A view with its mapping, released together unless handed on.
struct t_mappedFont {
    HANDLE mapping = nullptr;
    const void* view = nullptr;
    const unsigned char* data = nullptr;
    uint32_t size = 0;
    bool shared = false;

    void Close()
    {
        if (view)
            UnmapViewOfFile(view);
        if (mapping)
            CloseHandle(mapping);
        *this = t_mappedFont();
    }
};

bool ToWideName(const char* name, wchar_t (&wide)[MAX_PATH])
{
    return MultiByteToWideChar(936, 0, name, -1, wide, MAX_PATH) > 1;
}

// Checks an existing mapping's header against the file; waits while its creator fills it.
bool AcceptExistingMapping(t_mappedFont& font, const char* path, uint32_t fileSize)
{
    font.view = MapViewOfFile(font.mapping, FILE_MAP_READ, 0, 0, 0);
    if (!font.view)
        return false;
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(font.view, &info, sizeof(info)) == 0 || info.RegionSize < c_mappingHeaderBytes)
        return false;
    const t_fontMappingHeader* header = static_cast<const t_fontMappingHeader*>(font.view);
    for (int waited = 0; header->magic != c_mappingMagic; ++waited) {
        if (waited >= c_fillWaitMs)
            return false;
        Sleep(1);
    }
    MemoryBarrier();
    if (header->dataOffset != c_mappingHeaderBytes || header->fileSize != fileSize ||
        info.RegionSize - c_mappingHeaderBytes < header->dataSize || header->dataSize == 0 ||
        strnlen(header->path, c_fontPathBytes) == c_fontPathBytes || _stricmp(header->path, path) != 0)
        return false;
    font.data = static_cast<const unsigned char*>(font.view) + c_mappingHeaderBytes;
    font.size = header->dataSize;
    return true;
}

// Where a mapping's bytes come from: a plain file, read straight into the mapping, or the
// deciphered bytes of a private one.
struct t_fontSource {
    const wchar_t* path;
    uint32_t size;
    t_fontFileData decoded;

    t_fontSource(const wchar_t* filePath, uint32_t fileSize) : path(filePath), size(fileSize) {}
    ~t_fontSource() { free(decoded.bytes); }
    t_fontSource(const t_fontSource&) = delete;
    t_fontSource& operator=(const t_fontSource&) = delete;

    bool Prepare(bool isPrivate)
    {
        if (!isPrivate || decoded.bytes)
            return true;
        t_errorChain errors;  // not reported: the face simply does not open
        if (!LoadFontFile(errors, path, decoded) || decoded.size == 0)
            return false;
        size = decoded.size;
        return true;
    }

    // The system writes a file's bytes into the pages, so a page that cannot be had fails
    // the read instead of faulting in the copy.
    bool Fill(unsigned char* out) const
    {
        if (decoded.bytes) {
            memcpy(out, decoded.bytes, size);
            return true;
        }
        HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        uint32_t done = 0;
        DWORD got = 0;
        while (done < size && ReadFile(file, out + done, size - done, &got, nullptr) && got > 0)
            done += got;
        CloseHandle(file);
        return done == size;
    }
};

// A pagefile-backed mapping (named, or unnamed when name is null) filled with the header
// and the bytes. `raced` is set when another process created the named mapping first.
bool CreateFilledMapping(t_mappedFont& font, const wchar_t* name, const char* path, uint32_t fileSize,
                         const t_fontSource& source, bool& raced)
{
    raced = false;
    const uint64_t total = static_cast<uint64_t>(c_mappingHeaderBytes) + source.size;
    font.mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, static_cast<DWORD>(total >> 32),
                                      static_cast<DWORD>(total), name);
    if (!font.mapping)
        return false;
    if (name && GetLastError() == ERROR_ALREADY_EXISTS) {
        raced = true;
        return false;
    }
    if (name) {
        SetHandleAccessDacl(font.mapping, SE_KERNEL_OBJECT);
        SetHandleLowIntegrity(font.mapping, SE_KERNEL_OBJECT);
    }
    void* writable = MapViewOfFile(font.mapping, FILE_MAP_WRITE, 0, 0, 0);
    if (!writable)
        return false;
    t_fontMappingHeader* header = static_cast<t_fontMappingHeader*>(writable);
    const bool filled = source.Fill(static_cast<unsigned char*>(writable) + c_mappingHeaderBytes);
    if (filled) {
        header->dataOffset = c_mappingHeaderBytes;
        header->dataSize = source.size;
        header->fileSize = fileSize;
        strncpy(header->path, path, c_fontPathBytes - 1);
        InterlockedExchange(&header->magic, c_mappingMagic);
    }
    UnmapViewOfFile(writable);
    if (!filled)
        return false;
    font.view = MapViewOfFile(font.mapping, FILE_MAP_READ, 0, 0, 0);
    if (!font.view)
        return false;
    font.data = static_cast<const unsigned char*>(font.view) + c_mappingHeaderBytes;
    font.size = source.size;
    font.shared = name != nullptr;
    return true;
}

// The font's bytes in memory shared by name when the named mapping holds this file (or is
// made here), else in an unnamed mapping of this process.
bool MapFont(t_mappedFont& font, const char* path, const wchar_t* widePath, uint32_t fileSize, bool isPrivate)
{
    char name[260];
    wchar_t wideName[MAX_PATH];
    const bool named = FontMappingName(path, name) && ToWideName(name, wideName);
    t_fontSource source(widePath, fileSize);
    bool raced = false;
    for (int attempt = 0; named && attempt < 2; ++attempt) {
        font.mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, wideName);
        if (font.mapping) {
            if (AcceptExistingMapping(font, path, fileSize)) {
                font.shared = true;
                return true;
            }
            font.Close();
            break;  // the name holds another file (or a broken one): map privately
        }
        if (!source.Prepare(isPrivate))
            return false;
        if (CreateFilledMapping(font, wideName, path, fileSize, source, raced))
            return true;
        font.Close();
        if (!raced)
            return false;
    }
    if (!source.Prepare(isPrivate) || !CreateFilledMapping(font, nullptr, path, fileSize, source, raced)) {
        font.Close();
        return false;
    }
    return true;
}

}  // namespace

void SetFontMappingPrefix(const char* prefix)
{
    strncpy(g_mappingPrefix, prefix ? prefix : "", sizeof(g_mappingPrefix) - 1);
    g_mappingPrefix[sizeof(g_mappingPrefix) - 1] = 0;
}

bool FontMappingName(const char* path, char (&name)[260])
{
    name[0] = 0;
    if (!path || !*path)
        return false;
    const char* file = strrchr(path, '\\');
    file = file ? file + 1 : path;
    if (!*file || strlen(g_mappingPrefix) + strlen(file) >= sizeof(name))
        return false;
    strcpy(name, g_mappingPrefix);
    strcat(name, file);
    return true;
}

unsigned t_faceKeyRules::Hash(const t_key& key)
{
    // ELF hash of the path with ASCII upper case folded, then the face index.
    unsigned h = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(key.path); *p; ++p) {
        const unsigned c = (*p >= 'A' && *p <= 'Z') ? *p + 32u : *p;
        h = (h << 4) + c;
        const unsigned g = h & 0xF0000000u;
        if (g)
            h ^= g >> 24;
        h &= ~g;
    }
    return h + static_cast<unsigned>(key.index);
}

bool t_faceKeyRules::Matches(const t_node* node, const t_key& key, unsigned hash)
{
    return node->hash == hash && node->key.index == key.index && _stricmp(node->key.path, key.path) == 0;
}

t_freetype_fontmanager::t_locker::t_locker(t_mutex& lock) : m_lock(lock), m_held(false)
{
    t_errorChain errors;
    m_held = lock.Wait(errors);
}

t_freetype_fontmanager::t_locker::~t_locker()
{
    if (m_held)
        m_lock.Release();
}

t_freetype_fontmanager::t_freetype_fontmanager(FT_Library library, t_mutex& lock)
    : m_library(library), m_faces(t_hashMemTriple()), m_glyphs(t_hashMemTriple()), m_lock(lock)
{}

t_freetype_fontmanager::~t_freetype_fontmanager()
{
    t_locker locker(m_lock);
    ClearGlyphCache();
    for (auto it = m_faces.Begin(); it.Node(); it.Next())
        CloseEntry(static_cast<t_faceEntry*>(it.Node()->value));
    m_faces.Clear();
}

void t_freetype_fontmanager::CloseEntry(t_faceEntry* entry)
{
    if (!entry)
        return;
    if (entry->face)
        FT_Done_Face(entry->face);
    if (entry->view)
        UnmapViewOfFile(entry->view);
    if (entry->mapping)
        CloseHandle(entry->mapping);
    free(entry->path);
    free(entry);
}

bool t_freetype_fontmanager::OpenFace(const char* path, int index, bool isPrivate, FT_Face& face)
{
    face = nullptr;
    t_locker locker(m_lock);
    if (!locker.IsHeld() || !path || !*path || index < 0)
        return false;
    if (t_faceKeyNode* node = m_faces.Find(t_faceKey{path, index})) {
        t_faceEntry* entry = static_cast<t_faceEntry*>(node->value);
        ++entry->references;
        face = entry->face;
        return true;
    }

    wchar_t widePath[MAX_PATH];
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!FontPathToWide(path, widePath) || !GetFileAttributesExW(widePath, GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || attributes.nFileSizeHigh != 0 ||
        attributes.nFileSizeLow == 0 || attributes.nFileSizeLow > 0x7FFFFFFFu - c_mappingHeaderBytes)
        return false;

    t_mappedFont mapped;
    if (!MapFont(mapped, path, widePath, attributes.nFileSizeLow, isPrivate))
        return false;
    t_faceEntry* entry = static_cast<t_faceEntry*>(calloc(1, sizeof(t_faceEntry)));
    char* pathCopy = _strdup(path);
    FT_Face opened = nullptr;
    if (!entry || !pathCopy ||
        FT_New_Memory_Face(m_library, mapped.data, static_cast<FT_Long>(mapped.size), index, &opened) != 0) {
        free(entry);
        free(pathCopy);
        mapped.Close();
        return false;
    }
    *entry =
        t_faceEntry{pathCopy, index, mapped.mapping, mapped.view, mapped.data, mapped.size, mapped.shared, 1, opened};
    bool inserted = false;
    t_faceKeyNode* node = m_faces.FindOrInsert(t_faceKey{pathCopy, index}, &inserted);
    if (!node || !inserted) {
        CloseEntry(entry);
        return false;
    }
    node->value = entry;
    face = opened;
    return true;
}

void t_freetype_fontmanager::ReleaseFace(FT_Face face)
{
    t_locker locker(m_lock);
    if (!locker.IsHeld() || !face)
        return;
    ClearGlyphCache();
    for (auto it = m_faces.Begin(); it.Node(); it.Next()) {
        t_faceEntry* entry = static_cast<t_faceEntry*>(it.Node()->value);
        if (entry->face != face)
            continue;
        if (--entry->references <= 0) {
            m_faces.Remove(it.Node());
            CloseEntry(entry);
        }
        return;
    }
}

void t_freetype_fontmanager::ClearGlyphCache()
{
    t_locker locker(m_lock);
    if (!locker.IsHeld())
        return;
    for (auto it = m_glyphs.Begin(); it.Node(); it.Next()) {
        t_cachedGlyph* glyph = static_cast<t_cachedGlyph*>(it.Node()->value);
        if (glyph) {
            FT_Done_Glyph(glyph->glyph);
            free(glyph);
        }
    }
    m_glyphs.Clear();
}

const t_freetype_fontmanager::t_faceEntry* t_freetype_fontmanager::FindEntry(FT_Face face) const
{
    if (!face)
        return nullptr;
    for (auto it = m_faces.Begin(); it.Node(); it.Next()) {
        const t_faceEntry* entry = static_cast<const t_faceEntry*>(it.Node()->value);
        if (entry->face == face)
            return entry;
    }
    return nullptr;
}

bool t_freetype_fontmanager::IsFaceOpen(FT_Face face) const { return FindEntry(face) != nullptr; }

FT_Error t_freetype_fontmanager::LoadGlyph(int pixelSize, FT_UInt index, FT_Face face)
{
    const t_glyphKey key{face, index, pixelSize};
    if (!face)
        return FT_Err_Invalid_Face_Handle;
    if (m_glyphs.Find(key))
        return 0;
    FT_Error error = FT_Load_Glyph(face, index, FT_LOAD_TARGET_LCD);
    if (error)
        return error;
    if ((error = FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT)) != 0)
        return error;
    FT_Glyph glyph = nullptr;
    if ((error = FT_Get_Glyph(face->glyph, &glyph)) != 0)
        return error;
    t_cachedGlyph* cached = static_cast<t_cachedGlyph*>(malloc(sizeof(t_cachedGlyph)));
    bool inserted = false;
    t_glyphKeyNode* node = cached ? m_glyphs.FindOrInsert(key, &inserted) : nullptr;
    if (!node || !inserted) {
        free(cached);
        FT_Done_Glyph(glyph);
        return FT_Err_Out_Of_Memory;
    }
    *cached = t_cachedGlyph{glyph, face->glyph->metrics, face->glyph->linearHoriAdvance};
    node->value = cached;
    return 0;
}

FT_Error t_freetype_fontmanager::GetGlyph(FT_Face face, FT_UInt index, int pixelSize, const t_cachedGlyph*& glyph)
{
    glyph = nullptr;
    t_glyphKeyNode* node = m_glyphs.Find(t_glyphKey{face, index, pixelSize});
    if (!node) {
        if (const FT_Error error = LoadGlyph(pixelSize, index, face))
            return error;
        node = m_glyphs.Find(t_glyphKey{face, index, pixelSize});
    }
    glyph = node ? static_cast<const t_cachedGlyph*>(node->value) : nullptr;
    return glyph ? 0 : FT_Err_Invalid_Glyph_Index;
}

FT_Error SetFacePixelSize(FT_Face face, int pixelSize)
{
    if (!face || pixelSize <= 0)
        return FT_Err_Invalid_Argument;
    if (face->size && face->size->metrics.x_ppem == pixelSize && face->size->metrics.y_ppem == pixelSize)
        return 0;
    return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
}
