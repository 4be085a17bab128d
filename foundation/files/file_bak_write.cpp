#include "foundation/files/file_bak_write.h"

#include "foundation/files/file.h"
#include "foundation/files/path.h"

bool t_fileBakWrite::Save(t_errorChain& errors, const wchar_t* target)
{
    t_path work(target);
    work.AppendExtension(L".wtm");
    t_path backup(work);
    backup.AppendExtension(L".vxbak");

    bool ok = false;
    {
        t_fileWrite file;
        if (!file.Open(errors, backup.c_str(), t_file::e_writeNew)) {
            errors.AddText(L"写文件失败");
        } else if (m_length > UINT32_MAX || !file.Write(errors, m_buffer, static_cast<uint32_t>(m_length))) {
            errors.AddText(L"写文件失败 - 数据");
        } else {
            file.Close();
            ok = true;
        }
    }
    if (ok && !backup.Move(errors, work.c_str(), false)) {
        errors.AddText(L"写文件失败");
        ok = false;
    }
    // The target is replaced last; when that fails it keeps its old content, the new
    // data stays in this buffer, and the caller learns of it.
    if (ok && !work.Move(errors, target, false))
        ok = false;
    if (!ok) {
        errors.NewLine().AppendText(L"备份写失败:").AppendText(target);
        // No half-written or orphaned temporary stays beside the target (in a skin's work
        // folder it would be packed with the skin).
        DeleteFileW(backup.c_str());
        DeleteFileW(work.c_str());
        return false;
    }
    Release();
    return true;
}
