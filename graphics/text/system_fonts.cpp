#include "graphics/text/system_fonts.h"

#include <cwchar>

#include "foundation/core/str.h"
#include "foundation/config/runtime.h"
#include "foundation/win/scoped_win.h"

namespace {

const wchar_t* const c_fontListKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// Face names and the names the system font list uses for them.
const struct {
    const wchar_t* face;
    const wchar_t* alternative;
} c_alternativeNames[] = {
    {L"楷体", L"KaiTi"},
    {L"黑体", L"SimHei"},
    {L"幼圆", L"YouYuan"},
    {L"微软雅黑", L"Microsoft YaHei"},
    {L"微软雅黑 Bold", L"Microsoft YaHei Bold"},
};

const wchar_t* AlternativeName(const wchar_t* face)
{
    const size_t length = wcslen(face);
    if (length == 0)
        return nullptr;
    for (const auto& pair : c_alternativeNames)
        if (_wcsnicmp(pair.face, face, length) == 0)
            return pair.alternative;
    return nullptr;
}

// Match flags of a value name.
const int c_nameMatched = 0x1;
const int c_boldMatched = 0x2;
const int c_italicMatched = 0x4;
const int c_regularMatched = 0x8;
const int c_nameEnds = 0x10;

// Skips a style word at p (case-sensitive) with its following space; true when it was there.
bool SkipWord(const wchar_t*& p, const wchar_t* word)
{
    const size_t length = wcslen(word);
    if (wcsncmp(p, word, length) != 0)
        return false;
    p += length;
    if (*p == L' ')
        ++p;
    return true;
}

// Flags of one value name for a face (0: no match); index = separators skipped.
int MatchName(const wchar_t* valueName, const wchar_t* face, const LOGFONTW& logFont, int& index)
{
    const size_t length = wcslen(face);
    if (length == 0)
        return 0;
    index = 0;
    for (const wchar_t* segment = valueName; segment; ++index) {
        if (_wcsnicmp(segment, face, length) == 0) {
            int flags = c_nameMatched;
            const wchar_t* p = segment + length;
            if (*p == 0 || *p == L' ')
                flags |= c_nameEnds;
            while (*p && *p != L' ')
                ++p;
            if (*p == L' ')
                ++p;
            const bool italic = logFont.lfItalic != 0;
            if (SkipWord(p, L"Bold") && logFont.lfWeight > FW_NORMAL)
                flags |= c_boldMatched;
            if (SkipWord(p, L"Italic") && italic)
                flags |= c_italicMatched;
            if (SkipWord(p, L"Regular") && logFont.lfWeight == FW_NORMAL && !italic)
                flags |= c_regularMatched;
            return flags;
        }
        segment = wcsstr(segment, L"& ");
        if (segment)
            segment += 2;
    }
    return 0;
}

// Flags of a value for the face, its alternative name or its part before "_GB2312".
int MatchValue(const wchar_t* valueName, const wchar_t* face, const LOGFONTW& logFont, int& index)
{
    if (int flags = MatchName(valueName, face, logFont, index))
        return flags;
    if (const wchar_t* alternative = AlternativeName(face))
        if (int flags = MatchName(valueName, alternative, logFont, index))
            return flags;
    if (const wchar_t* gb = wcsstr(face, L"_GB2312")) {
        t_str shortFace;
        shortFace.AssignN(face, static_cast<int>(gb - face));
        return MatchName(valueName, shortFace.c_str(), logFont, index) & ~c_nameEnds;
    }
    return 0;
}

bool IsGoodEnough(int best, const LOGFONTW& logFont)
{
    const bool italic = logFont.lfItalic != 0;
    if (!(best & c_nameEnds))
        return false;
    if (italic && !(best & c_italicMatched))
        return false;
    if (logFont.lfWeight > FW_NORMAL && !(best & c_boldMatched))
        return false;
    const bool plain = !italic && logFont.lfWeight == FW_NORMAL;
    return !(plain && (best & (c_boldMatched | c_italicMatched)));
}

t_str g_privateFontsDir;
bool g_privateFontsDirSet = false;

}  // namespace

bool WideToFontPath(const wchar_t* wide, char (&path)[c_fontPathBytes])
{
    path[0] = 0;
    if (!wide || !*wide)
        return false;
    const int n = WideCharToMultiByte(936, 0, wide, -1, path, c_fontPathBytes, nullptr, nullptr);
    if (n <= 1) {
        path[0] = 0;
        return false;
    }
    return true;
}

bool FontPathToWide(const char* path, wchar_t (&wide)[MAX_PATH])
{
    wide[0] = 0;
    if (!path || !*path)
        return false;
    const int n = MultiByteToWideChar(936, 0, path, -1, wide, MAX_PATH);
    if (n <= 1) {
        wide[0] = 0;
        return false;
    }
    return true;
}

bool FontPathFromRegValue(const wchar_t* fileName, char (&path)[c_fontPathBytes])
{
    path[0] = 0;
    if (!fileName || !*fileName)
        return false;
    if (wcschr(fileName, L'\\') || wcschr(fileName, L'/'))
        return WideToFontPath(fileName, path);
    wchar_t windows[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    t_str full(windows);
    full.Append(L"\\fonts\\");
    full.Append(fileName);
    return WideToFontPath(full.c_str(), path);
}

bool FontFileFromName(char (&path)[c_fontPathBytes], const wchar_t* face)
{
    path[0] = 0;
    if (!face || !*face)
        return false;
    t_str name(face);
    name.Append(L".ttf");
    return FontPathFromRegValue(name.c_str(), path);
}

bool FindSystemFontFile(const wchar_t* face, const LOGFONTW& logFont, char (&path)[c_fontPathBytes], int& faceIndex)
{
    path[0] = 0;
    if (!face || !*face)
        return false;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, c_fontListKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    int best = 0;
    int bestIndex = 0;
    wchar_t bestFile[261] = {};
    for (DWORD i = 0;; ++i) {
        wchar_t name[261];
        DWORD nameChars = 261;
        DWORD type = 0;
        const LONG status = RegEnumValueW(key, i, name, &nameChars, nullptr, &type, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        int index = 0;
        const int flags = MatchValue(name, face, logFont, index);
        if (!flags || (flags | best) <= best)
            continue;
        wchar_t file[261] = {};
        DWORD bytes = 520;
        if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(file), &bytes) != ERROR_SUCCESS ||
            type != REG_SZ)
            continue;
        file[260] = 0;
        best |= flags;
        bestIndex = index;
        wcscpy(bestFile, file);
        if (IsGoodEnough(best, logFont))
            break;
    }
    RegCloseKey(key);
    if (!best || !FontPathFromRegValue(bestFile, path))
        return false;
    faceIndex = bestIndex;
    return true;
}

void SetPrivateFontsDir(const wchar_t* folder)
{
    g_privateFontsDir.Assign(folder ? folder : L"");
    g_privateFontsDirSet = true;
}

void GetPrivateFontsDir(wchar_t (&folder)[MAX_PATH])
{
    t_str dir;
    if (g_privateFontsDirSet)
        dir = g_privateFontsDir;
    else if (t_runtime* runtime = t_runtime::Instance()) {
        dir = runtime->GetInstallDir();
        if (!dir.IsEmpty() && dir.c_str()[dir.Length() - 1] != L'\\')
            dir.Append(L"\\");
        dir.Append(L"Fonts");
    }
    lstrcpynW(folder, dir.c_str(), MAX_PATH);
}

int EnumFontFamiliesWithPrivate(HDC dc, LOGFONTW* logFont, FONTENUMPROCW callback, LPARAM user, DWORD flags)
{
    const int result = EnumFontFamiliesExW(dc, logFont, callback, user, flags);
    wchar_t folder[MAX_PATH];
    GetPrivateFontsDir(folder);
    const DWORD attributes = GetFileAttributesW(folder);
    if (!folder[0] || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return result;
    t_str pattern;
    pattern.Format(L"%s\\*.vxfont", folder);
    WIN32_FIND_DATAW found;
    const t_autoFindClose find(FindFirstFileW(pattern.c_str(), &found));
    if (!find.IsValid())
        return result;
    do {
        if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0)
            continue;
        t_str base(found.cFileName);
        if (const wchar_t* dot = wcsrchr(found.cFileName, L'.'))
            base.AssignN(found.cFileName, static_cast<int>(dot - found.cFileName));
        ENUMLOGFONTEXW family = {};
        if (logFont)
            family.elfLogFont = *logFont;
        lstrcpynW(family.elfFullName, base.c_str(), LF_FULLFACESIZE);
        lstrcpynW(family.elfLogFont.lfFaceName, base.c_str(), LF_FACESIZE);
        NEWTEXTMETRICEXW metrics = {};
        callback(&family.elfLogFont, reinterpret_cast<const TEXTMETRICW*>(&metrics.ntmTm), TRUETYPE_FONTTYPE, user);
    } while (FindNextFileW(find.Get(), &found));
    return result;
}
