#include "foundation/win/file_version.h"

#include <cwchar>

bool t_fileVersionInfo::Load(const wchar_t* path)
{
    m_block.clear();
    if (!path || !path[0])
        return false;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0)
        return false;
    m_block.resize(size);
    if (!GetFileVersionInfoW(path, 0, size, m_block.data())) {
        m_block.clear();
        return false;
    }
    return true;
}

bool t_fileVersionInfo::GetFixedVersion(uint16_t out[4]) const
{
    if (m_block.empty())
        return false;
    void* data = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(m_block.data(), L"\\", &data, &size) || !data || size < sizeof(VS_FIXEDFILEINFO))
        return false;
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    out[0] = HIWORD(fixed->dwFileVersionMS);
    out[1] = LOWORD(fixed->dwFileVersionMS);
    out[2] = HIWORD(fixed->dwFileVersionLS);
    out[3] = LOWORD(fixed->dwFileVersionLS);
    return true;
}

bool t_fileVersionInfo::GetString(const wchar_t* name, t_str& out) const
{
    if (m_block.empty() || !name)
        return false;
    void* data = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(m_block.data(), L"\\VarFileInfo\\Translation", &data, &size) || !data ||
        size < 2 * sizeof(WORD))
        return false;
    const WORD* translation = static_cast<const WORD*>(data);
    wchar_t query[128];
    const int n = _snwprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], name);
    if (n < 0 || n >= 128)
        return false;
    query[n] = 0;
    data = nullptr;
    size = 0;
    if (!VerQueryValueW(m_block.data(), query, &data, &size) || !data)
        return false;
    // The size counts characters; the text is not trusted to be terminated within it.
    const wchar_t* text = static_cast<const wchar_t*>(data);
    UINT length = 0;
    while (length < size && text[length])
        ++length;
    out.AssignN(text, static_cast<int>(length));
    return true;
}

bool GetFileVersion(const wchar_t* path, uint16_t out[4])
{
    t_fileVersionInfo info;
    return info.Load(path) && info.GetFixedVersion(out);
}
