// The running program's own path and folder, from GetModuleFileNameW. A path that fills
// the buffer may have been cut, so it counts as not found.
#pragma once

#include <windows.h>

#include "foundation/core/str.h"

// The program's full path, at most maxChars - 1 characters; false (and out empty) when
// it cannot be had.
bool GetExePath(t_str& out, int maxChars = MAX_PATH);
// The program's folder, without a trailing backslash; false (and out empty) when the
// path cannot be had or holds no backslash.
bool GetExeFolder(t_str& out);
