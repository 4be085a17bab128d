// Writes of files that no other process shares (the skin work folder and its packed copy):
// no per-path mutex, and a new file gets the shared DACL and the low label as it is created
// instead of through two security calls at close. Writes still pass through t_file::Write,
// so a full drive fails them as it fails any other write.
#pragma once

#include <cstdint>

#include "foundation/core/error_chain.h"
#include "foundation/files/file.h"

class t_privateFileWrite : public t_fileWrite {
public:
    enum t_openMode {
        e_create,    // created or truncated; a new file takes the shared security
        e_existing,  // an existing file, opened for writing in place, kept as it is
    };

    t_privateFileWrite() = default;
    ~t_privateFileWrite() override { Close(); }

    bool Open(t_errorChain& errors, const wchar_t* path, t_openMode mode);
    // Closes the handle; the file keeps the security it has.
    void Close();
    // Renames the file opened by e_create over target (a full path on the same drive)
    // through its handle, replacing what is there. False, nothing moved, where the system
    // refuses.
    bool MoveOver(const wchar_t* target);
};

// Replaces path with the bytes so that it holds either its old content or the new one
// whole: written to temporary (null: path + ".wtm"), which must lie on the same drive, and
// moved over path. On failure the temporary is gone, path is untouched, and errors ends
// with "备份写失败:" + path.
bool ReplacePrivateFile(t_errorChain& errors, const wchar_t* path, const void* data, uint32_t size,
                        const wchar_t* temporary = nullptr);
