#include "skin_model/display_info.h"

#include "foundation/config/app_config.h"

#include <cwchar>

namespace {

const wchar_t c_section[] = L"Display";
const int c_defaultFontSize = 16;
const int c_defaultCandCount = 9;
// A key that is missing (or empty) loads with this colour; a new skin has its own.
const COLORREF c_missingColor = 0xFFFF;

}  // namespace

DisplayInfo::DisplayInfo()
    : fontSize(c_defaultFontSize), pinyinColor(0), zhongwenFirstColor(0), zhongwenColor(0), comphintColor(0),
      useGdip(true), previewCandCount(c_defaultCandCount), previewFontSize(c_defaultFontSize), largeFontDisabled(true),
      aero(false), glow(false)
{
    fontCh[0] = fontEn[0] = webpage[0] = 0;
}

bool DisplayInfo::Load()
{
    fontSize = ReadInt(c_section, L"font_size", c_defaultFontSize);
    previewFontSize = fontSize;
    ReadString(c_section, L"font_ch", L"宋体", fontCh);
    ReadString(c_section, L"font_en", L"Arial", fontEn);
    pinyinColor = ReadInt(c_section, L"pinyin_color", c_missingColor);
    zhongwenFirstColor = ReadInt(c_section, L"zhongwen_first_color", c_missingColor);
    zhongwenColor = ReadInt(c_section, L"zhongwen_color", c_missingColor);
    comphintColor = ReadInt(c_section, L"comphint_color", c_missingColor);
    ReadLongString(c_section, L"webpage", L"", webpage);
    ReadBool(c_section, L"use_gdip", true);
    aero = ReadBool(c_section, L"aero", false);
    glow = ReadBool(c_section, L"glow", false);
    largeFontDisabled = !ReadBool(c_section, L"LargeFontSupport", true);
    // Pictures are always drawn through GDI+, whatever the file says.
    useGdip = true;
    return true;
}

bool DisplayInfo::Save()
{
    bool ok = WriteInt(c_section, L"font_size", fontSize, false);
    ok &= WriteString(c_section, L"font_ch", fontCh);
    ok &= WriteString(c_section, L"font_en", fontEn);
    ok &= WriteInt(c_section, L"pinyin_color", static_cast<int>(pinyinColor), true);
    ok &= WriteInt(c_section, L"zhongwen_first_color", static_cast<int>(zhongwenFirstColor), true);
    ok &= WriteInt(c_section, L"zhongwen_color", static_cast<int>(zhongwenColor), true);
    ok &= WriteInt(c_section, L"comphint_color", static_cast<int>(comphintColor), true);
    ok &= WriteString(c_section, L"webpage", webpage);
    ok &= WriteBool(c_section, L"use_gdip", useGdip);
    ok &= WriteBool(c_section, L"aero", aero);
    ok &= WriteBool(c_section, L"glow", glow);
    ok &= WriteBool(c_section, L"LargeFontSupport", !largeFontDisabled);
    return ok;
}

bool DisplayInfo::Reset()
{
    fontSize = c_defaultFontSize;
    wcscpy(fontCh, L"宋体");
    wcscpy(fontEn, L"Arial");
    pinyinColor = 0x764300;
    zhongwenFirstColor = 0x303DFF;
    zhongwenColor = 0xE58200;
    comphintColor = 0xFF80FF;
    useGdip = true;
    webpage[0] = 0;
    const AppConfig* settings = AppConfig::Instance();
    previewCandCount = settings ? settings->preview.candSize.Get() : c_defaultCandCount;
    largeFontDisabled = true;
    previewFontSize = c_defaultFontSize;
    aero = false;
    glow = false;
    return true;
}
