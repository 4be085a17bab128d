// Picture values of a skin package name files inside the skin's work folder only: a
// package from someone else must not make the editor read, copy or write back a file of
// the designer's disk or network.
#pragma once

#include "foundation/config/ini_document.h"
#include "foundation/core/error_chain.h"

namespace n_picturePath {

// Whether a name taken relative to the work folder stays inside it, subfolders included.
// False for a drive or any ':', a leading separator (root or UNC), a ".." part that climbs
// above the folder, a part made only of dots and spaces (other than "." and ".."), which
// Windows shortens, and device names (CON, NUL, COM1, ...). '/' counts as '\'.
bool StaysInside(const wchar_t* name);

// Whether the name (an item of a value, before any '<') ends with the extension of a
// skin's picture or Flash file, so that something will open it as a file.
bool NamesAFile(const wchar_t* name);

// Every item of every value of the document that names a file outside the work folder is
// emptied, so that the picture counts as missing; each changed value adds the line
// "图片路径无效:" + its original text to notes once. Returns the number of values changed.
int RefuseOutside(t_iniDocument& document, t_errorChain& notes);

}  // namespace n_picturePath
