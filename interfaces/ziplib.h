// ZipLib.dll: zip archives of skin folders.
//
// Every export uses ZIPLIB_CALL (__stdcall, which 64-bit Windows ignores) and is exported under its
// plain name (no "@n" decoration), so that run-time binding by name and the import
// library agree. Programs that import UnZip and ZipFolder at load time link the import
// library libZipLib.dll.a; the other exports are meant to be bound by name.
//
// Paths: UnZip, UnZipEx2, ZipFolder and PrepareUnzipFile take UTF-16 paths; UnZipEx,
// ZipFolderEx and UnZipFile take code-page-936 paths.
//
// Entry names: read as UTF-8 when general-purpose flag bit 11 is set, else from an
// Info-ZIP Unicode Path extra field (0x7075) whose CRC matches the raw name, else as code
// page 936. Names are written as UTF-8 with bit 11 set, folders as "name/" entries.
// Entry look-ups (UnZipFile) ignore case and accept either '/' or '\'. Names that differ
// only in case or separators are one file on Windows: every road takes the first such
// entry (UnZipFile finds it, UnZip writes it) and UnZip skips the later ones (UnZipEx3
// names them).
//
// UnZip refuses an archive as a whole, before writing anything, when any entry is
// encrypted, uses a method other than stored or deflated, has a name that would leave the
// target folder (absolute, drive or UNC prefix, a ':' anywhere, a "." or ".." part or any
// part made only of dots and spaces, an empty part, reserved device names, characters
// Windows forbids in names), or when the archive would expand past the limits below.
#pragma once

#include <stdint.h>
#include <wchar.h>

#define ZIPLIB_CALL __stdcall

#if defined(ZIPLIB_BUILDING)
#define ZIPLIB_API
#else
#define ZIPLIB_API __declspec(dllimport)
#endif

// Results of UnZip, UnZipEx, UnZipEx2, UnZipEx3, ZipFolder and ZipFolderEx: 0 is success.
// After a failed ZipFolder or ZipFolderEx, GetLastError() gives the system's reason (a
// full disk, a denied or missing folder, a file another program holds), 0 when the
// failure has none.
enum {
    ZIPLIB_OK = 0,
    ZIPLIB_E_ARGUMENT = 1,  // a null or empty path, or a folder that is not there
    ZIPLIB_E_OPEN = 2,      // the archive cannot be opened or is not a zip archive
    ZIPLIB_E_REFUSED = 3,   // an encrypted or unsupported entry, or an unsafe name
    ZIPLIB_E_TOO_BIG = 4,   // the archive would expand past the limits
    ZIPLIB_E_WRITE = 5,     // a file or folder could not be written
    ZIPLIB_E_CORRUPT = 6,   // entry data that does not inflate, or a CRC mismatch
    ZIPLIB_E_MEMORY = 7,
    ZIPLIB_E_READ = 8,  // a file of the folder could not be read (ZipFolder)
};

// Limits that UnZip and UnZipFile hold archives to (zip bombs).
enum {
    // The most a zip archive holds without its Zip64 form: skins of tens of thousands of
    // pictures open; the byte limits below stop bombs.
    ZIPLIB_MAX_ENTRIES = 65535,
};
#define ZIPLIB_MAX_ENTRY_SIZE (256ull << 20)  // uncompressed bytes of one entry
#define ZIPLIB_MAX_TOTAL_SIZE (1ull << 30)    // uncompressed bytes of all entries
// Above ZIPLIB_RATIO_FLOOR uncompressed bytes in all, the total may be at most
// ZIPLIB_MAX_RATIO times the archive's size.
#define ZIPLIB_RATIO_FLOOR (64ull << 20)
#define ZIPLIB_MAX_RATIO 100ull

#ifdef __cplusplus
extern "C" {
#endif

// One entry extracted into memory; the bytes belong to the library until FreeUnzipBuf.
typedef struct t_unzipBuf {
    uint32_t size;
    uint8_t* data;
} t_unzipBuf;

// Extracts every entry of archive into folder (created when missing). Existing files of
// the same names are overwritten.
ZIPLIB_API int ZIPLIB_CALL UnZip(const wchar_t* archive, const wchar_t* folder);
// UnZip with code-page-936 paths.
ZIPLIB_API int ZIPLIB_CALL UnZipEx(const char* archive, const char* folder);
// UnZip that also reports the number of files written (folders not counted); written may
// be null.
ZIPLIB_API int ZIPLIB_CALL UnZipEx2(const wchar_t* archive, const wchar_t* folder, uint32_t* written);
// Receives, through UnZipEx3, the name of each entry skipped as a case duplicate.
typedef void(ZIPLIB_CALL* t_fnUnzipSkipped)(void* context, const wchar_t* name);
// UnZipEx2 that also names the skipped entries: skipped (may be null) is called with
// context and each skipped entry's name, after the files were written and only on success.
ZIPLIB_API int ZIPLIB_CALL UnZipEx3(const wchar_t* archive, const wchar_t* folder, uint32_t* written,
                                    t_fnUnzipSkipped skipped, void* context);
// Receives, through UnZipEx4, each file once it was written: its name relative to the
// folder ('\\' between parts) and its bytes, valid only during the call. Called on the
// calling thread.
typedef void(ZIPLIB_CALL* t_fnUnzipEntry)(void* context, const wchar_t* name, const uint8_t* data, uint32_t size);
// UnZipEx3 that also hands each written file to entry (may be null). On failure the caller
// discards what it received.
ZIPLIB_API int ZIPLIB_CALL UnZipEx4(const wchar_t* archive, const wchar_t* folder, uint32_t* written,
                                    t_fnUnzipSkipped skipped, t_fnUnzipEntry entry, void* context);

// Writes every file and folder below folder into a new archive (replacing any file at that
// path). Entry names are relative to root, which must be folder itself or a folder that
// contains it (null or empty: folder). The archive itself is left out when it lies inside
// the folder. On failure no archive is left behind.
ZIPLIB_API int ZIPLIB_CALL ZipFolder(const wchar_t* folder, const wchar_t* root, const wchar_t* archive);
// ZipFolder with code-page-936 paths.
ZIPLIB_API int ZIPLIB_CALL ZipFolderEx(const char* folder, const char* root, const char* archive);
// Deflate level 0 (stored) to 9 for later ZipFolder calls; -1 restores the default (6).
// Returns the previous level; an out-of-range level changes nothing.
ZIPLIB_API int ZIPLIB_CALL SetZipLevel(int level);

// One entry for ZipEntryList.
typedef struct t_zipListEntry {
    const wchar_t* name;  // relative to the archive's root, parts joined by '\\' or '/'; a trailing separator: a folder
    const wchar_t* path;  // file whose bytes and last-write time the entry takes, as ZipFolder stores them; null: the
                          // data, size and time below
    const uint8_t* data;
    uint32_t size;
    uint64_t time;  // FILETIME (UTC, 100 ns units) of a data entry; 0: now
} t_zipListEntry;
// Writes the listed entries, in list order, into a new archive (replacing any file there),
// with ZipFolder's level, name encoding and failure rules: no archive is left behind and
// GetLastError gives the reason. A name that UnZip would refuse is ZIPLIB_E_ARGUMENT.
ZIPLIB_API int ZIPLIB_CALL ZipEntryList(const t_zipListEntry* entries, uint32_t count, const wchar_t* archive);

// PrepareUnzipFile and UnZipFile set GetLastError() on failure: the system's reason when
// the archive cannot be opened, ERROR_BAD_FORMAT for a file that is no whole zip archive
// (truncated or damaged directory), ERROR_FILE_NOT_FOUND for an entry that is not there,
// ERROR_FILE_TOO_LARGE for one past ZIPLIB_MAX_ENTRY_SIZE, ERROR_NOT_SUPPORTED for an
// encrypted entry or another method, ERROR_FILE_CORRUPT for data that does not inflate or
// fails its CRC, ERROR_NOT_ENOUGH_MEMORY.
// Readies archive for UnZipFile: writes into path (260 bytes) a code-page-936 path to
// read from and reads the archive's directory once, so that later look-ups cost one seek.
// The path is the archive's own (full, or its short form) when code page 936 can express
// it; otherwise a temporary copy, and *deleteAfterwards is set to 1: the caller deletes
// that file when done. Non-zero on success.
ZIPLIB_API uint8_t ZIPLIB_CALL PrepareUnzipFile(const wchar_t* archive, char* path, uint32_t* deleteAfterwards);
// Extracts one entry (name without regard to case, either separator) into memory. Non-zero
// on success; an empty entry gives size 0 and a buffer that still goes to FreeUnzipBuf.
ZIPLIB_API uint8_t ZIPLIB_CALL UnZipFile(const char* archive, const char* entry, t_unzipBuf* out);
// Hands back a buffer from UnZipFile.
ZIPLIB_API void ZIPLIB_CALL FreeUnzipBuf(t_unzipBuf* buffer);
// Receives, through UnZipFiles, each entry asked for, in the order asked: its index in the
// list and its bytes (valid only during the call), or, when UnZipFile would fail for that
// name, read 0 and the reason UnZipFile would leave in GetLastError(). Called on the
// calling thread.
typedef void(ZIPLIB_CALL* t_fnUnzipFound)(void* context, uint32_t index, uint8_t read, const uint8_t* data,
                                          uint32_t size, uint32_t reason);
// UnZipFile for count entries of one archive (code-page-936 paths and names, as UnZipFile
// takes them) with the same answers, reading the archive's directory and data once
// instead of once per entry. Zero, with GetLastError() set as by UnZipFile and found
// never called, when the archive itself cannot be read; non-zero otherwise. Our addition:
// the maker's library lacks it.
ZIPLIB_API uint8_t ZIPLIB_CALL UnZipFiles(const char* archive, const char* const* entries, uint32_t count,
                                          t_fnUnzipFound found, void* context);

// Called once after loading: restores the default level and forgets cached directories
// and the deflated entries kept for packing the same files again.
ZIPLIB_API void ZIPLIB_CALL InitDllEnv(void);

// Pointer types for binding by name.
typedef int(ZIPLIB_CALL* t_fnUnZip)(const wchar_t*, const wchar_t*);
typedef int(ZIPLIB_CALL* t_fnUnZipEx)(const char*, const char*);
typedef int(ZIPLIB_CALL* t_fnUnZipEx2)(const wchar_t*, const wchar_t*, uint32_t*);
typedef int(ZIPLIB_CALL* t_fnUnZipEx3)(const wchar_t*, const wchar_t*, uint32_t*, t_fnUnzipSkipped, void*);
typedef int(ZIPLIB_CALL* t_fnUnZipEx4)(const wchar_t*, const wchar_t*, uint32_t*, t_fnUnzipSkipped, t_fnUnzipEntry,
                                       void*);
typedef int(ZIPLIB_CALL* t_fnZipFolder)(const wchar_t*, const wchar_t*, const wchar_t*);
typedef int(ZIPLIB_CALL* t_fnZipFolderEx)(const char*, const char*, const char*);
typedef int(ZIPLIB_CALL* t_fnSetZipLevel)(int);
typedef int(ZIPLIB_CALL* t_fnZipEntryList)(const t_zipListEntry*, uint32_t, const wchar_t*);
typedef uint8_t(ZIPLIB_CALL* t_fnPrepareUnzipFile)(const wchar_t*, char*, uint32_t*);
typedef uint8_t(ZIPLIB_CALL* t_fnUnZipFile)(const char*, const char*, t_unzipBuf*);
typedef void(ZIPLIB_CALL* t_fnFreeUnzipBuf)(t_unzipBuf*);
typedef uint8_t(ZIPLIB_CALL* t_fnUnZipFiles)(const char*, const char* const*, uint32_t, t_fnUnzipFound, void*);
typedef void(ZIPLIB_CALL* t_fnInitDllEnv)(void);

#ifdef __cplusplus
}
#endif
