#include "foundation/process/ziplib_binding.h"

#include <exception>
#include <new>

#include "foundation/process/dll.h"

const char* const t_zipLib::c_exportNames[7] = {"UnZipEx",   "UnZipEx2",     "ZipFolderEx",     "SetZipLevel",
                                                "UnZipFile", "FreeUnzipBuf", "PrepareUnzipFile"};

namespace {

template <class T>
void Assign(T& target, FARPROC proc)
{
    target = reinterpret_cast<T>(reinterpret_cast<void*>(proc));
}

}  // namespace

t_zipLib::t_zipLib(const wchar_t* folder)
{
    if (!t_dll::Load(m_errors, m_module, L"ziplib.dll", folder))
        return;
    t_errorChain scratch;
    FARPROC procs[7] = {};
    for (int i = 0; i < 7; ++i)
        Resolve(scratch, procs[i], c_exportNames[i]);
    Assign(m_unZipEx, procs[0]);
    Assign(m_unZipEx2, procs[1]);
    Assign(m_zipFolderEx, procs[2]);
    Assign(m_setZipLevel, procs[3]);
    Assign(m_unZipFile, procs[4]);
    Assign(m_freeUnzipBuf, procs[5]);
    Assign(m_prepareUnzipFile, procs[6]);
    FARPROC batch = nullptr;
    t_errorChain optional;
    if (t_dll::GetProc(optional, m_module, "UnZipFiles", batch))
        Assign(m_unZipFiles, batch);
    if (scratch.FirstLine())
        m_errors.CopyLines(scratch.FirstLine(), m_errors.NewLine());
}

t_zipLib* t_zipLib::Load(const wchar_t* folder) { return new (std::nothrow) t_zipLib(folder); }

bool t_zipLib::Resolve(t_errorChain& errors, FARPROC& out, const char* name) const
{
    // The loader's generic lines are replaced by the binding's own.
    t_errorChain scratch;
    if (t_dll::GetProc(scratch, m_module, name, out))
        return true;
    if (!m_module)
        errors.NewLine().AppendText(L"压缩失败：加载ziplib失败");
    else
        errors.NewLine().AppendFormat(L"解析ziplib接口%S失败", name);
    return false;
}

bool t_zipLib::UnZipFile(t_errorChain& errors, uint32_t& size, uint8_t*& bytes, const wchar_t* archive,
                         const wchar_t* entry)
{
    char narrowArchive[MAX_PATH];
    char narrowEntry[MAX_PATH];
    t_str(archive).ToNarrow(narrowArchive);
    t_str(entry).ToNarrow(narrowEntry);
    return UnZipFileNarrow(errors, narrowArchive, narrowEntry, size, bytes);
}

bool t_zipLib::UnZipFileNarrow(t_errorChain& errors, const char* archive, const char* entry, uint32_t& size,
                               uint8_t*& bytes)
{
    size = 0;
    bytes = nullptr;
    if (!m_unZipFile) {
        errors.NewLine().AppendText(L"解析ziplib接口UnZipFile失败");
        return false;
    }
    t_unzipBuf record = {};
    if (!m_unZipFile(archive, entry, &record)) {
        const DWORD reason = GetLastError();
        errors.NewLine().AppendText(L"压缩失败");
        SetLastError(reason);
        return false;
    }
    size = record.size;
    bytes = record.data;
    return true;
}

namespace {

// No exception crosses the library: one thrown by found stops the calls and is thrown
// again once the library returned.
struct t_foundContext {
    const t_zipLib::t_found* found;
    std::exception_ptr thrown;
};

struct t_narrowName {
    char text[MAX_PATH];
};

void ZIPLIB_CALL OnFound(void* context, uint32_t index, uint8_t read, const uint8_t* data, uint32_t size,
                         uint32_t reason)
{
    t_foundContext& self = *static_cast<t_foundContext*>(context);
    if (self.thrown)
        return;
    try {
        (*self.found)(index, read != 0, data, size, reason);
    } catch (...) {
        self.thrown = std::current_exception();
    }
}

}  // namespace

void t_zipLib::UnZipFiles(const wchar_t* archive, const std::vector<t_str>& entries, const t_found& found)
{
    char narrowArchive[MAX_PATH];
    t_str(archive).ToNarrow(narrowArchive);
    if (m_unZipFiles && entries.size() <= UINT32_MAX) {
        std::vector<t_narrowName> narrow(entries.size());
        std::vector<const char*> names(entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            entries[i].ToNarrow(narrow[i].text);
            names[i] = narrow[i].text;
        }
        t_foundContext context = {&found, nullptr};
        const bool read = m_unZipFiles(narrowArchive, names.data(), uint32_t(names.size()), &OnFound, &context);
        if (context.thrown)
            std::rethrow_exception(context.thrown);
        if (read)
            return;
        // The archive could not be read: every entry fails with its reason, as one by one.
        const DWORD reason = GetLastError();
        for (size_t i = 0; i < entries.size(); ++i)
            found(i, false, nullptr, 0, reason);
        return;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        char narrowEntry[MAX_PATH];
        entries[i].ToNarrow(narrowEntry);
        uint32_t size = 0;
        uint8_t* bytes = nullptr;
        t_errorChain ignored;
        SetLastError(0);
        if (!UnZipFileNarrow(ignored, narrowArchive, narrowEntry, size, bytes)) {
            found(i, false, nullptr, 0, GetLastError());
            continue;
        }
        found(i, true, bytes, size, 0);
        FreeUnzipBuf(ignored, size, bytes);
    }
}

bool t_zipLib::FreeUnzipBuf(t_errorChain& errors, uint32_t size, uint8_t* bytes)
{
    if (!m_freeUnzipBuf) {
        errors.NewLine().AppendText(L"解析ziplib接口FreeBuf失败");
        return false;
    }
    t_unzipBuf record = {size, bytes};
    m_freeUnzipBuf(&record);
    return true;
}

bool t_zipLib::PrepareUnzipFile(t_errorChain& errors, wchar_t (&path)[MAX_PATH], uint32_t& deleteAfterwards,
                                const wchar_t* archive)
{
    path[0] = 0;
    deleteAfterwards = 0;
    if (!m_prepareUnzipFile) {
        errors.NewLine().AppendText(L"解析ziplib接口").AppendText(L"PrepareUnzipFile").AppendText(L"失败");
        return false;
    }
    char narrow[MAX_PATH] = {};
    uint32_t flag = 0;
    if (!m_prepareUnzipFile(archive, narrow, &flag)) {
        // The library's reason stays GetLastError() for the caller.
        const DWORD reason = GetLastError();
        errors.NewLine().AppendText(L"准备解压目录失败");
        SetLastError(reason);
        return false;
    }
    narrow[MAX_PATH - 1] = 0;
    deleteAfterwards = flag;
    // 259 bytes of code page 936 never give more than 259 characters.
    const int n = MultiByteToWideChar(936, 0, narrow, -1, path, MAX_PATH);
    if (n <= 0)
        path[0] = 0;
    return true;
}
