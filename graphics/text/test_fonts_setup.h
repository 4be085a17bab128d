// Test set-up for the font tests, the metrics tool and the benchmark: the host's Latin and
// CJK fonts entered in the system font list and as SimSun's font links, the way an installed
// Chinese Windows has them (a stock Wine prefix has neither).
#pragma once

#include <windows.h>

#include <string>

namespace n_testFonts {

const wchar_t* const c_fontListKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const wchar_t* const c_systemLinkKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink";

const wchar_t* const c_dejaVuSans = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
const wchar_t* const c_dejaVuSansBold = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans-Bold.ttf";
const wchar_t* const c_zenHei = L"Z:\\usr\\share\\fonts\\truetype\\wqy\\wqy-zenhei.ttc";
const wchar_t* const c_microHei = L"Z:\\usr\\share\\fonts\\truetype\\wqy\\wqy-microhei.ttc";

// SimSun's links: Micro Hei first, then Zen Hei.
inline std::wstring DefaultSimSunLinks()
{
    return std::wstring(L"wqy-microhei.ttc,WenQuanYi Micro Hei") + L'\0' + L"wqy-zenhei.ttc,WenQuanYi Zen Hei";
}

inline bool SetValue(const wchar_t* keyName, const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

inline bool SetString(const wchar_t* keyName, const wchar_t* name, const wchar_t* value)
{
    return SetValue(keyName, name, REG_SZ, value, static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

inline void DeleteValue(const wchar_t* keyName, const wchar_t* name)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, name);
    RegCloseKey(key);
}

// SimSun's font links as a multi-string (strings joined by NULs, without the final one).
inline bool SetSimSunLinks(const std::wstring& links)
{
    std::wstring value = links;
    value.push_back(L'\0');
    value.push_back(L'\0');
    return SetValue(c_systemLinkKey, L"SimSun", REG_MULTI_SZ, value.data(),
                    static_cast<DWORD>(value.size() * sizeof(wchar_t)));
}

inline bool SetDefaultSimSunLinks() { return SetSimSunLinks(DefaultSimSunLinks()); }

inline bool Install()
{
    return SetString(c_fontListKey, L"DejaVu Sans (TrueType)", c_dejaVuSans) &&
           SetString(c_fontListKey, L"DejaVu Sans Bold (TrueType)", c_dejaVuSansBold) &&
           SetString(c_fontListKey, L"WenQuanYi Zen Hei & WenQuanYi Zen Hei Mono & WenQuanYi Zen Hei Sharp (TrueType)",
                     c_zenHei) &&
           SetString(c_fontListKey, L"WenQuanYi Micro Hei & WenQuanYi Micro Hei Mono (TrueType)", c_microHei) &&
           SetDefaultSimSunLinks();
}

inline LOGFONTW LogFont(const wchar_t* face, LONG height, LONG weight = FW_NORMAL)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    logFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(logFont.lfFaceName, face, LF_FACESIZE);
    return logFont;
}

}  // namespace n_testFonts
