// Numbers and keys of the input method's own reading of Skin.ini.
#pragma once

// Longest composed key, terminator included.
const int c_skinKeyChars = 40;

// Text beginning with "0x" (either case) is read as an unsigned hexadecimal number of
// the whole text, anything else as a signed decimal number (ParseSkinDecimal). The whole
// text must be consumed. On failure out is left unchanged and the result is false.
// A hexadecimal value above 32 bits fails; 0xffffffff itself is accepted.
bool ParseSkinNumber(const wchar_t* text, int& out);

// Signed decimal over the whole text, at least one digit. The limits 2147483647 and
// -2147483648 count as overflow and fail, as does anything beyond them.
bool ParseSkinDecimal(const wchar_t* text, int& out);

// prefix + "_" + name when both are non-empty, the non-empty one alone when only one
// is; out untouched when both are empty (null counts as empty). A key that does not fit
// leaves out empty and gives false.
bool MakeSkinKey(const wchar_t* name, const wchar_t* prefix, wchar_t (&out)[c_skinKeyChars]);
