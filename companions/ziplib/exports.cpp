// The exported functions: argument checks, path conversions and the boundary that no
// C++ exception crosses.
#include <windows.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "companions/ziplib/archive_index.h"
#include "companions/ziplib/deflate_cache.h"
#include "companions/ziplib/entry_name.h"
#include "companions/ziplib/extract_archive.h"
#include "companions/ziplib/zip_reader.h"
#include "companions/ziplib/zip_writer.h"
#include "interfaces/ziplib.h"

namespace {

const size_t c_narrowPathBytes = 260;

// A code-page-936 path of at most 259 bytes naming the same file, or false.
bool NarrowPath(const std::wstring& path, std::string& out)
{
    return n_zipName::ToCp936(path, out) && !out.empty() && out.size() < c_narrowPathBytes;
}

bool ShortNarrowPath(const std::wstring& path, std::string& out)
{
    wchar_t shortPath[MAX_PATH];
    const DWORD n = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return n > 0 && n < MAX_PATH && NarrowPath(std::wstring(shortPath, n), out);
}

// A copy of the archive under a temporary name that code page 936 can express.
bool TemporaryCopy(const std::wstring& archive, std::string& out)
{
    wchar_t folder[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH)
        return false;
    wchar_t shortFolder[MAX_PATH];
    const DWORD m = GetShortPathNameW(folder, shortFolder, MAX_PATH);
    const wchar_t* base = m > 0 && m < MAX_PATH ? shortFolder : folder;
    wchar_t copy[MAX_PATH];
    if (!GetTempFileNameW(base, L"zlp", 0, copy))
        return false;
    if (!NarrowPath(copy, out) || !CopyFileW(archive.c_str(), copy, FALSE)) {
        DeleteFileW(copy);
        return false;
    }
    return true;
}

int UnZipWide(const wchar_t* archive, const wchar_t* folder, uint32_t* written,
              const t_skippedSink& skipped = t_skippedSink(), const t_entrySink& entry = t_entrySink())
{
    try {
        return ExtractArchive(archive, folder, written, skipped, entry);
    } catch (...) {
        return ZIPLIB_E_MEMORY;
    }
}

int ZipFolderWide(const wchar_t* folder, const wchar_t* root, const wchar_t* archive)
{
    try {
        return ZipFolderInto(folder, root, archive);
    } catch (...) {
        return ZIPLIB_E_MEMORY;
    }
}

bool Widen(const char* text, std::wstring& out) { return text && n_zipName::FromCp936(text, out); }

// The system reason of a failed look-up, for GetLastError: what the caller can tell the user.
DWORD ReasonOf(int code)
{
    switch (code) {
    case ZIPLIB_E_ARGUMENT:
        return ERROR_FILE_NOT_FOUND;
    case ZIPLIB_E_OPEN:
        return ERROR_BAD_FORMAT;
    case ZIPLIB_E_REFUSED:
        return ERROR_NOT_SUPPORTED;
    case ZIPLIB_E_TOO_BIG:
        return ERROR_FILE_TOO_LARGE;
    case ZIPLIB_E_MEMORY:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_FILE_CORRUPT;
    }
}

// Fails with the reason of code.
uint8_t FailWith(int code)
{
    SetLastError(ReasonOf(code));
    return 0;
}

// An archive that cannot be read as one: the system's reason when the file cannot even be
// opened, else damaged or no zip archive at all.
uint8_t FailToOpen(const std::wstring& archive)
{
    const HANDLE file = CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(file);
    return FailWith(ZIPLIB_E_OPEN);
}

uint8_t PrepareImpl(const wchar_t* archive, char* path, uint32_t* deleteAfterwards)
{
    std::wstring full;
    DWORD n = GetFullPathNameW(archive, 0, nullptr, nullptr);
    if (n == 0)
        return 0;
    full.resize(n);
    n = GetFullPathNameW(archive, n, &full[0], nullptr);
    if (n == 0 || n >= full.size())
        return 0;
    full.resize(n);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        SetLastError(ERROR_DIRECTORY);
        return 0;
    }

    std::string narrow;
    bool copied = false;
    if (!NarrowPath(full, narrow) && !ShortNarrowPath(full, narrow)) {
        if (!TemporaryCopy(full, narrow))
            return 0;
        copied = true;
    }
    std::wstring readFrom;
    const int code = n_zipName::FromCp936(narrow.c_str(), readFrom) ? t_archiveIndexCache::Global().Prepare(readFrom)
                                                                    : ZIPLIB_E_ARGUMENT;
    if (code != ZIPLIB_OK) {
        if (copied)
            DeleteFileW(readFrom.c_str());
        return code == ZIPLIB_E_OPEN ? FailToOpen(full) : FailWith(code);
    }
    memcpy(path, narrow.c_str(), narrow.size() + 1);
    *deleteAfterwards = copied ? 1 : 0;
    return 1;
}

uint8_t UnZipFileImpl(const char* archive, const char* entry, t_unzipBuf* out)
{
    std::wstring archivePath;
    std::wstring entryName;
    if (!Widen(archive, archivePath) || !Widen(entry, entryName) || archivePath.empty() || entryName.empty())
        return FailWith(ZIPLIB_E_ARGUMENT);
    t_zipEntry found;
    uint64_t prefix = 0;
    int code = t_archiveIndexCache::Global().Find(archivePath, entryName, found, &prefix);
    if (code == ZIPLIB_E_OPEN)
        return FailToOpen(archivePath);
    if (code == ZIPLIB_OK)
        code = t_zipReader::Check(found);
    if (code != ZIPLIB_OK)
        return FailWith(code);
    // The cached directory gives where the entry lies: the archive's end record is not
    // searched again for each entry.
    t_zipReader reader;
    if (reader.OpenAt(archivePath.c_str(), prefix) != ZIPLIB_OK)
        return FailToOpen(archivePath);
    // The size is at most ZIPLIB_MAX_ENTRY_SIZE (Check); one spare byte keeps an empty
    // entry's buffer a real allocation.
    const size_t size = static_cast<size_t>(found.uncompressedSize);
    uint8_t* data = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, size + 1));
    if (!data)
        return FailWith(ZIPLIB_E_MEMORY);
    size_t filled = 0;
    code = reader.Read(found, [&](const void* bytes, unsigned count) {
        if (count > size - filled)
            return false;
        memcpy(data + filled, bytes, count);
        filled += count;
        return true;
    });
    if (code != ZIPLIB_OK || filled != size) {
        HeapFree(GetProcessHeap(), 0, data);
        return FailWith(code == ZIPLIB_E_MEMORY ? code : ZIPLIB_E_CORRUPT);
    }
    out->size = static_cast<uint32_t>(size);
    out->data = data;
    return 1;
}

uint8_t UnZipFilesImpl(const char* archive, const char* const* entries, uint32_t count, t_fnUnzipFound found,
                       void* context)
{
    std::wstring archivePath;
    if (!Widen(archive, archivePath) || archivePath.empty())
        return FailWith(ZIPLIB_E_ARGUMENT);
    // A name that does not widen stays empty: not found, as UnZipFile answers it.
    std::vector<std::wstring> names(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (!Widen(entries[i], names[i]))
            names[i].clear();
    }
    std::vector<t_zipEntry> listed;
    std::vector<int> codes;
    uint64_t prefix = 0;
    int code = t_archiveIndexCache::Global().FindEach(archivePath, names, listed, codes, prefix);
    if (code == ZIPLIB_E_OPEN)
        return FailToOpen(archivePath);
    if (code != ZIPLIB_OK)
        return FailWith(code);
    t_zipReader reader;
    if (reader.OpenAt(archivePath.c_str(), prefix) != ZIPLIB_OK)
        return FailToOpen(archivePath);
    // One mapping of the archive serves every entry: no read per entry.
    reader.Preload();
    t_unpacker unpacker;
    for (uint32_t i = 0; i < count; ++i) {
        code = names[i].empty() ? ZIPLIB_E_ARGUMENT : codes[i];
        if (code == ZIPLIB_OK)
            code = t_zipReader::Check(listed[i]);
        const uint8_t* data = nullptr;
        size_t size = 0;
        if (code == ZIPLIB_OK) {
            code = reader.Unpack(listed[i], unpacker, data, size);
            if (code != ZIPLIB_OK && code != ZIPLIB_E_MEMORY)
                code = ZIPLIB_E_CORRUPT;
        }
        if (code == ZIPLIB_OK)
            found(context, i, 1, data, static_cast<uint32_t>(size), 0);
        else
            found(context, i, 0, nullptr, 0, ReasonOf(code));
    }
    return 1;
}

}  // namespace

extern "C" {

ZIPLIB_API int ZIPLIB_CALL UnZip(const wchar_t* archive, const wchar_t* folder)
{
    return UnZipWide(archive, folder, nullptr);
}

ZIPLIB_API int ZIPLIB_CALL UnZipEx2(const wchar_t* archive, const wchar_t* folder, uint32_t* written)
{
    return UnZipWide(archive, folder, written);
}

ZIPLIB_API int ZIPLIB_CALL UnZipEx3(const wchar_t* archive, const wchar_t* folder, uint32_t* written,
                                    t_fnUnzipSkipped skipped, void* context)
{
    if (!skipped)
        return UnZipWide(archive, folder, written);
    return UnZipWide(archive, folder, written,
                     [skipped, context](const std::wstring& name) { skipped(context, name.c_str()); });
}

ZIPLIB_API int ZIPLIB_CALL UnZipEx4(const wchar_t* archive, const wchar_t* folder, uint32_t* written,
                                    t_fnUnzipSkipped skipped, t_fnUnzipEntry entry, void* context)
{
    t_skippedSink skippedSink;
    t_entrySink entrySink;
    try {
        if (skipped)
            skippedSink = [skipped, context](const std::wstring& name) { skipped(context, name.c_str()); };
        if (entry)
            entrySink = [entry, context](const std::wstring& name, const uint8_t* data, uint32_t size) {
                entry(context, name.c_str(), data, size);
            };
    } catch (...) {
        return ZIPLIB_E_MEMORY;
    }
    return UnZipWide(archive, folder, written, skippedSink, entrySink);
}

ZIPLIB_API int ZIPLIB_CALL UnZipEx(const char* archive, const char* folder)
{
    try {
        std::wstring a;
        std::wstring f;
        if (!Widen(archive, a) || !Widen(folder, f))
            return ZIPLIB_E_ARGUMENT;
        return ExtractArchive(a.c_str(), f.c_str(), nullptr);
    } catch (...) {
        return ZIPLIB_E_MEMORY;
    }
}

ZIPLIB_API int ZIPLIB_CALL ZipFolder(const wchar_t* folder, const wchar_t* root, const wchar_t* archive)
{
    return ZipFolderWide(folder, root, archive);
}

ZIPLIB_API int ZIPLIB_CALL ZipFolderEx(const char* folder, const char* root, const char* archive)
{
    try {
        std::wstring f;
        std::wstring r;
        std::wstring a;
        if (!Widen(folder, f) || (root && !Widen(root, r)) || !Widen(archive, a))
            return ZIPLIB_E_ARGUMENT;
        return ZipFolderInto(f.c_str(), r.c_str(), a.c_str());
    } catch (...) {
        return ZIPLIB_E_MEMORY;
    }
}

ZIPLIB_API int ZIPLIB_CALL ZipEntryList(const t_zipListEntry* entries, uint32_t count, const wchar_t* archive)
{
    try {
        return ZipEntryListInto(entries, count, archive);
    } catch (...) {
        return ZIPLIB_E_MEMORY;
    }
}

ZIPLIB_API int ZIPLIB_CALL SetZipLevel(int level) { return SetZipLevelValue(level); }

ZIPLIB_API uint8_t ZIPLIB_CALL PrepareUnzipFile(const wchar_t* archive, char* path, uint32_t* deleteAfterwards)
{
    if (!archive || !archive[0] || !path || !deleteAfterwards)
        return 0;
    path[0] = 0;
    *deleteAfterwards = 0;
    try {
        return PrepareImpl(archive, path, deleteAfterwards);
    } catch (...) {
        return FailWith(ZIPLIB_E_MEMORY);
    }
}

ZIPLIB_API uint8_t ZIPLIB_CALL UnZipFile(const char* archive, const char* entry, t_unzipBuf* out)
{
    if (!out)
        return 0;
    out->size = 0;
    out->data = nullptr;
    try {
        return UnZipFileImpl(archive, entry, out);
    } catch (...) {
        return FailWith(ZIPLIB_E_MEMORY);
    }
}

ZIPLIB_API uint8_t ZIPLIB_CALL UnZipFiles(const char* archive, const char* const* entries, uint32_t count,
                                          t_fnUnzipFound found, void* context)
{
    if (!found || (count > 0 && !entries))
        return FailWith(ZIPLIB_E_ARGUMENT);
    try {
        return UnZipFilesImpl(archive, entries, count, found, context);
    } catch (...) {
        return FailWith(ZIPLIB_E_MEMORY);
    }
}

ZIPLIB_API void ZIPLIB_CALL FreeUnzipBuf(t_unzipBuf* buffer)
{
    if (!buffer || !buffer->data)
        return;
    HeapFree(GetProcessHeap(), 0, buffer->data);
    buffer->data = nullptr;
    buffer->size = 0;
}

ZIPLIB_API void ZIPLIB_CALL InitDllEnv(void)
{
    SetZipLevelValue(-1);
    t_archiveIndexCache::Global().Clear();
    t_deflateCache::Global().Clear();
}

}  // extern "C"
