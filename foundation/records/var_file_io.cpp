#include "foundation/records/var_file_io.h"

#include "foundation/files/file.h"
#include "foundation/files/path.h"

namespace n_varFileIo {

bool LoadFromFile(const wchar_t* path, t_varFile& entry, t_heap* heap)
{
    if (!path || !heap)
        return false;
    t_errorChain errors;  // the callers report nothing of their own
    t_fileRead file;
    if (!file.Open(errors, path))
        return false;
    const uint32_t size = file.Length();
    if (size > c_varMaxImage - 4)
        return false;
    unsigned char* data = nullptr;
    if (size) {
        data = static_cast<unsigned char*>(VarHeapAlloc(heap, size, 1));
        if (!data || !file.Read(errors, data, size))
            return false;
    }
    const t_path source(path);
    wchar_t* name = heap->StrDup(source.FileName());
    if (!name)
        return false;
    // Both already live in the arena: borrow them instead of copying again.
    entry.SetName(name, nullptr);
    entry.SetData(data, size, nullptr);
    return true;
}

bool SaveToFile(const wchar_t* path, const t_varFile& entry)
{
    if (!path)
        return false;
    t_errorChain errors;
    t_fileWrite file;
    if (!file.Open(errors, path, t_file::e_writeNew))
        return false;
    uint32_t count = 0;
    const unsigned char* data = entry.GetData(&count);
    bool ok = !count || (data && file.Write(errors, data, count));
    file.Close();
    return ok;
}

}  // namespace n_varFileIo
