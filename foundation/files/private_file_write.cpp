#include "foundation/files/private_file_write.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/files/path.h"
#include "foundation/win/security.h"

bool t_privateFileWrite::Open(t_errorChain& errors, const wchar_t* path, t_openMode mode)
{
    Close();
    const bool create = mode == e_create;
    // DELETE lets a new file be renamed through its handle (MoveOver).
    const HANDLE handle = CreateFileW(path, create ? GENERIC_WRITE | DELETE : GENERIC_WRITE, 0,
                                      create ? GetLowIntegritySecurityAttributes() : nullptr,
                                      create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errors.AddLastError().AppendText(L"打开文件失败：").AppendText(path);
        return false;
    }
    m_handle = handle;
    m_mode = create ? e_writeNew : e_readWrite;
    m_path.Assign(path);
    return true;
}

void t_privateFileWrite::Close()
{
    // Handled here so that t_file::Close, which would set the security again, finds
    // nothing open.
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    m_path.Clear();
}

bool t_privateFileWrite::MoveOver(const wchar_t* target)
{
    if (m_handle == INVALID_HANDLE_VALUE || !target)
        return false;
    // The system path form, which the rename takes as it stands.
    std::wstring name = L"\\??\\";
    name += target;
    const size_t bytes = offsetof(FILE_RENAME_INFO, FileName) + (name.size() + 1) * sizeof(wchar_t);
    std::vector<uint8_t> buffer(bytes, 0);
    FILE_RENAME_INFO* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = DWORD(name.size() * sizeof(wchar_t));
    memcpy(info->FileName, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    if (!SetFileInformationByHandle(m_handle, FileRenameInfo, info, DWORD(bytes)))
        return false;
    m_path.Assign(target);
    return true;
}

bool ReplacePrivateFile(t_errorChain& errors, const wchar_t* path, const void* data, uint32_t size,
                        const wchar_t* temporaryPath)
{
    t_path temporary(temporaryPath ? temporaryPath : path);
    if (!temporaryPath)
        temporary.AppendExtension(L".wtm");
    t_privateFileWrite file;
    bool ok = file.Open(errors, temporary.c_str(), t_privateFileWrite::e_create) &&
              (size == 0 || file.Write(errors, data, size));
    // Renamed through the open handle where the system can, else by path once closed.
    const bool moved = ok && file.MoveOver(path);
    file.Close();
    if (ok && !moved && !MoveFileExW(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
        errors.AddLastError().AppendText(L"写文件失败");
        ok = false;
    }
    if (!ok) {
        DeleteFileW(temporary.c_str());
        errors.NewLine().AppendText(L"备份写失败:").AppendText(path);
    }
    return ok;
}
