#include "foundation/files/private_file_write.h"

#include <windows.h>

#include "foundation/files/path.h"
#include "foundation/win/security.h"

bool t_privateFileWrite::Open(t_errorChain& errors, const wchar_t* path, t_openMode mode)
{
    Close();
    const bool create = mode == e_create;
    const HANDLE handle = CreateFileW(path, GENERIC_WRITE, 0, create ? GetLowIntegritySecurityAttributes() : nullptr,
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

bool ReplacePrivateFile(t_errorChain& errors, const wchar_t* path, const void* data, uint32_t size,
                        const wchar_t* temporaryPath)
{
    t_path temporary(temporaryPath ? temporaryPath : path);
    if (!temporaryPath)
        temporary.AppendExtension(L".wtm");
    t_privateFileWrite file;
    bool ok = file.Open(errors, temporary.c_str(), t_privateFileWrite::e_create) &&
              (size == 0 || file.Write(errors, data, size));
    file.Close();
    if (ok && !MoveFileExW(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
        errors.AddLastError().AppendText(L"写文件失败");
        ok = false;
    }
    if (!ok) {
        DeleteFileW(temporary.c_str());
        errors.NewLine().AppendText(L"备份写失败:").AppendText(path);
    }
    return ok;
}
