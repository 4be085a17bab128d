// Names and paths of the picture files that the pages import into the open skin's work
// folder.
#pragma once

#include "foundation/core/str.h"

namespace n_workFolderFile {
// The extension of a file name: from its last '.' after the last separator; null without.
const wchar_t* ExtensionOf(const wchar_t* name);
// The name after the last separator.
const wchar_t* NameOf(const wchar_t* path);
// Work folder + "\" + name, joined plainly: a name starting with '.' is still a name.
t_str InWorkFolder(const wchar_t* name);
// Whether two paths name one file (full paths compared without case).
bool SameFile(const wchar_t* a, const wchar_t* b);
}  // namespace n_workFolderFile
