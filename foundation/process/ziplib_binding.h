// Binding of ZipLib.dll by export name, for reading single entries of skin packages.
// Archive and entry paths cross to the library in code page 936 (see
// interfaces/ziplib.h for what the library does with them).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "foundation/core/error_chain.h"
#include "foundation/core/str.h"

#include "interfaces/ziplib.h"

class t_zipLib {
public:
    // The exports bound, in binding order. All must exist for the binding to count as
    // loaded, although only the last three are called.
    static const char* const c_exportNames[7];

    // Loads "ziplib.dll" from folder (null: see t_dll::Load) and binds the exports; every
    // failure becomes a line of Errors(). The library is never unloaded by this object.
    explicit t_zipLib(const wchar_t* folder);
    // The same on the heap; null only when memory runs out.
    static t_zipLib* Load(const wchar_t* folder);

    t_zipLib(const t_zipLib&) = delete;
    t_zipLib& operator=(const t_zipLib&) = delete;

    // Load and binding failures. Users treat any line as "the zip library did not load".
    const t_errorChain& Errors() const { return m_errors; }
    HMODULE Module() const { return m_module; }

    // Binds one export: "压缩失败：加载ziplib失败" without a loaded library,
    // "解析ziplib接口<name>失败" when the export is missing.
    bool Resolve(t_errorChain& errors, FARPROC& out, const char* name) const;

    // Extracts one entry into memory; paths become code page 936 in 260-byte buffers (a
    // text that does not fit becomes empty). The bytes go back through FreeUnzipBuf.
    bool UnZipFile(t_errorChain& errors, uint32_t& size, uint8_t*& bytes, const wchar_t* archive, const wchar_t* entry);
    // The call itself: "解析ziplib接口UnZipFile失败" when unbound, "压缩失败" when the
    // library answers 0, GetLastError() then holding its reason.
    bool UnZipFileNarrow(t_errorChain& errors, const char* archive, const char* entry, uint32_t& size, uint8_t*& bytes);
    // Each named entry of archive as UnZipFile reads it (names narrowed the same way),
    // handed to found in list order: read with the bytes, valid only during the call, or
    // not read with the library's reason (GetLastError() of a failed UnZipFile). Our
    // library's UnZipFiles reads the archive once for all; without it (the maker's
    // library) each entry is asked for by UnZipFile.
    using t_found = std::function<void(size_t index, bool read, const uint8_t* bytes, uint32_t size, uint32_t reason)>;
    void UnZipFiles(const wchar_t* archive, const std::vector<t_str>& entries, const t_found& found);
    // Whether UnZipFiles reads the archive once (the library has our addition).
    bool HasUnZipFiles() const { return m_unZipFiles != nullptr; }
    // "解析ziplib接口FreeBuf失败" when unbound.
    bool FreeUnzipBuf(t_errorChain& errors, uint32_t size, uint8_t* bytes);
    // The file to extract entries from, and whether the caller deletes it afterwards:
    // "解析ziplib接口PrepareUnzipFile失败" when unbound, "准备解压目录失败" when the library
    // answers 0, GetLastError() then holding its reason.
    bool PrepareUnzipFile(t_errorChain& errors, wchar_t (&path)[MAX_PATH], uint32_t& deleteAfterwards,
                          const wchar_t* archive);

private:
    HMODULE m_module = nullptr;
    t_errorChain m_errors;
    t_fnUnZipEx m_unZipEx = nullptr;
    t_fnUnZipEx2 m_unZipEx2 = nullptr;
    t_fnZipFolderEx m_zipFolderEx = nullptr;
    t_fnSetZipLevel m_setZipLevel = nullptr;
    t_fnUnZipFile m_unZipFile = nullptr;
    t_fnFreeUnzipBuf m_freeUnzipBuf = nullptr;
    t_fnPrepareUnzipFile m_prepareUnzipFile = nullptr;
    // Our addition, bound when present.
    t_fnUnZipFiles m_unZipFiles = nullptr;
};
