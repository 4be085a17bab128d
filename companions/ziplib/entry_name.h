// Entry names of zip archives: decoding the raw bytes, deciding whether a name may be
// written below a target folder, and the key that look-ups compare.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace n_zipName {

// General-purpose flag bit 11: the name (and comment) are UTF-8.
const uint16_t c_flagUtf8 = 0x0800;

// Host byte of "version made by" for archives written on Unix and on OS X.
const uint8_t c_hostUnix = 3;
const uint8_t c_hostOsx = 19;

// Decodes a raw header name: UTF-8 when flags has bit 11; else the Info-ZIP Unicode Path
// extra field (0x7075, version 1) when its CRC matches the raw name; else, for archives
// made on Unix or OS X, UTF-8 when the bytes are valid UTF-8 (those tools store the
// locale's bytes, UTF-8 today, without setting the flag); else code page 936. False when
// the chosen encoding does not decode the bytes.
bool Decode(const char* raw, size_t rawSize, uint16_t flags, const uint8_t* extra, size_t extraSize, uint8_t madeByHost,
            std::wstring& out);

// Turns every '/' into '\' and checks that the name is a relative path that stays below
// the folder it is written into. A trailing separator marks a folder (directory is set and
// the separator dropped). False for: empty names; a leading separator (absolute or UNC);
// a ':' anywhere (drive letters, alternate streams); an empty part; a part made only of
// dots and spaces ("." and ".." among them); a part ending in a dot or space (Windows drops
// those, so two names could meet); reserved device names (CON, NUL, COM1, ...); control
// characters and <>"|?*.
bool MakeSafeRelative(std::wstring& name, bool& directory);

// The look-up key: separators as '\', upper case (invariant locale).
std::wstring Key(const std::wstring& name);

// UTF-16 to UTF-8; false for unpaired surrogates.
bool ToUtf8(const std::wstring& text, std::string& out);
// Code page 936 to UTF-16 and back; false when the text does not convert exactly.
bool FromCp936(const char* text, std::wstring& out);
bool ToCp936(const std::wstring& text, std::string& out);

}  // namespace n_zipName
