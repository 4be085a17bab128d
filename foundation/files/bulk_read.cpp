#include "foundation/files/bulk_read.h"

#include "foundation/files/path.h"
#include "foundation/win/scoped_win.h"

namespace {

uint64_t Join64(DWORD high, DWORD low) { return (uint64_t(high) << 32) | low; }

}  // namespace

bool ListFolder(const wchar_t* folder, std::vector<t_listedFile>& out)
{
    out.clear();
    t_path pattern(folder ? folder : L"");
    if (pattern.IsEmpty())
        return false;
    pattern.AppendPart(L"*.*");
    WIN32_FIND_DATAW data;
    const t_autoFindClose find(FindFirstFileW(pattern.c_str(), &data));
    if (!find.IsValid())
        return false;
    do {
        if (IsDotEntry(data.cFileName))
            continue;
        t_listedFile file;
        file.name.Assign(data.cFileName);
        file.size = Join64(data.nFileSizeHigh, data.nFileSizeLow);
        file.written = Join64(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
        file.attributes = data.dwFileAttributes;
        out.push_back(std::move(file));
    } while (FindNextFileW(find.Get(), &data));
    return true;
}

t_folderListing::~t_folderListing()
{
    std::vector<t_listedFile> ignored;
    if (m_done)
        Wait(ignored);
}

void t_folderListing::Start(const wchar_t* folder)
{
    std::vector<t_listedFile> ignored;
    if (m_done)
        Wait(ignored);
    m_folder.Assign(folder ? folder : L"");
    m_files.clear();
    m_listed = false;
    m_done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (m_done && !TrySubmitThreadpoolCallback(&t_folderListing::Run, this, nullptr)) {
        CloseHandle(m_done);
        m_done = nullptr;
    }
}

void CALLBACK t_folderListing::Run(PTP_CALLBACK_INSTANCE instance, void* context)
{
    t_folderListing* self = static_cast<t_folderListing*>(context);
    SetEventWhenCallbackReturns(instance, self->m_done);
    self->m_listed = ListFolder(self->m_folder.c_str(), self->m_files);
}

bool t_folderListing::Wait(std::vector<t_listedFile>& out)
{
    if (!m_done) {
        m_listed = ListFolder(m_folder.c_str(), m_files);
    } else {
        WaitForSingleObject(m_done, INFINITE);
        CloseHandle(m_done);
        m_done = nullptr;
    }
    out.swap(m_files);
    m_files.clear();
    return m_listed;
}

bool ReadWholeFile(const wchar_t* path, std::vector<uint8_t>& out, uint64_t limit)
{
    out.clear();
    if (!path || !path[0])
        return false;
    const t_autoCloseFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file.IsValid() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 || uint64_t(size.QuadPart) > limit)
        return false;
    out.resize(size_t(size.QuadPart));
    size_t done = 0;
    while (done < out.size()) {
        DWORD got = 0;
        const DWORD want = DWORD(out.size() - done);
        if (!ReadFile(file.Get(), out.data() + done, want, &got, nullptr) || got == 0) {
            out.clear();
            return false;
        }
        done += got;
    }
    return true;
}

bool GetFileStamp(const wchar_t* path, uint64_t& size, uint64_t& written)
{
    WIN32_FILE_ATTRIBUTE_DATA facts;
    if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &facts) ||
        (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    size = Join64(facts.nFileSizeHigh, facts.nFileSizeLow);
    written = Join64(facts.ftLastWriteTime.dwHighDateTime, facts.ftLastWriteTime.dwLowDateTime);
    return true;
}

int CompareFileNames(const wchar_t* a, int aLength, const wchar_t* b, int bLength)
{
    return CompareStringOrdinal(a, aLength, b, bLength, TRUE) - CSTR_EQUAL;
}
