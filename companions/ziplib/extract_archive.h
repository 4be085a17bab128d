// Extracting a whole archive into a folder, after every entry passed the safety checks.
#pragma once

#include <cstdint>

// A ZIPLIB_ result; written (may be null) receives the number of files written.
int ExtractArchive(const wchar_t* archive, const wchar_t* folder, uint32_t* written);
