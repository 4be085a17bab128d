// Whole-file transfer of one named file of a packed set.
#pragma once

#include "foundation/records/var_file.h"

namespace n_varFileIo {

// Reads the whole file into the arena: the entry's name becomes the path's file name
// (the part after the last backslash) and its data the file's bytes. False when the
// file cannot be opened or read or the arena cannot hold it; the entry is then unchanged.
bool LoadFromFile(const wchar_t* path, t_varFile& entry, t_heap* heap);

// Creates (or truncates) the file and writes the entry's bytes to it.
bool SaveToFile(const wchar_t* path, const t_varFile& entry);

}  // namespace n_varFileIo
