// Where a family's font file lies: the system font list in the registry, the Windows fonts
// folder and the private font folder of ".vxfont" files; and font enumeration that adds the
// private fonts.
#pragma once

#include <windows.h>

// Narrow paths are code page 936, as the font file names of the shared mappings are.
static const int c_fontPathBytes = 260;

// Looks the face (or its alternative family name) up among the REG_SZ values of the system
// font list, scoring name, style and end-of-name matches; gives the file's path and the face
// index inside a collection. False without a match or a readable list.
bool FindSystemFontFile(const wchar_t* face, const LOGFONTW& logFont, char (&path)[c_fontPathBytes], int& faceIndex);
// face + ".ttf" in the Windows fonts folder.
bool FontFileFromName(char (&path)[c_fontPathBytes], const wchar_t* face);
// A bare file name goes into the Windows fonts folder; a name with a folder stays as it is.
bool FontPathFromRegValue(const wchar_t* fileName, char (&path)[c_fontPathBytes]);

// The private font folder: set once by the program's start-up; unset, the install folder's
// "Fonts".
void SetPrivateFontsDir(const wchar_t* folder);
void GetPrivateFontsDir(wchar_t (&folder)[MAX_PATH]);

// EnumFontFamiliesExW, then one TrueType family per ".vxfont" file of the private folder,
// named after the file's base name. Returns EnumFontFamiliesExW's result.
int EnumFontFamiliesWithPrivate(HDC dc, LOGFONTW* logFont, FONTENUMPROCW callback, LPARAM user, DWORD flags);

// Code page 936 text of a wide string and back; false when it does not fit or convert.
bool WideToFontPath(const wchar_t* wide, char (&path)[c_fontPathBytes]);
bool FontPathToWide(const char* path, wchar_t (&wide)[MAX_PATH]);
