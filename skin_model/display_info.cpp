#include "skin_model/display_info.h"

#include "foundation/config/app_config.h"

#include <cwchar>

namespace {

const wchar_t c_section[] = L"Display";
const int c_defaultFontSize = 16;
const int c_defaultCandCount = 9;
// A colour key that is missing (or empty) loads with this colour; a new skin has its own.
const COLORREF c_missingColor = 0xFFFF;

// How a key is read and written.
enum class t_displayForm {
    e_decimal,      // int, "%d"
    e_color,        // colour, "0x%x"
    e_text,         // up to 259 characters
    e_longText,     // up to 1024 characters
    e_flag,         // "1" or "0"
    e_negatedFlag,  // "1" or "0" of the field's negation
};

// One key of section Display. Only the member that fits the form is set. Numbers and
// flags load their missing value for an empty key too; texts only for a missing one.
struct t_displayKey {
    const wchar_t* key;
    t_displayForm form;
    int DisplayInfo::*number;
    COLORREF DisplayInfo::*color;
    wchar_t (DisplayInfo::*text)[BaseInfo::c_pathChars];
    wchar_t (DisplayInfo::*longText)[BaseInfo::c_longTextChars];
    bool DisplayInfo::*flag;
    // The field's value when the key is missing and after a reset.
    int missing;
    int reset;
    const wchar_t* missingText;
    const wchar_t* resetText;
};

constexpr t_displayKey Decimal(const wchar_t* key, int DisplayInfo::*field, int missing, int reset)
{
    return {key, t_displayForm::e_decimal, field, nullptr, nullptr, nullptr, nullptr, missing, reset, nullptr, nullptr};
}

constexpr t_displayKey Color(const wchar_t* key, COLORREF DisplayInfo::*field, COLORREF reset)
{
    return {key,
            t_displayForm::e_color,
            nullptr,
            field,
            nullptr,
            nullptr,
            nullptr,
            static_cast<int>(c_missingColor),
            static_cast<int>(reset),
            nullptr,
            nullptr};
}

constexpr t_displayKey Text(const wchar_t* key, wchar_t (DisplayInfo::*field)[BaseInfo::c_pathChars],
                            const wchar_t* missing, const wchar_t* reset)
{
    return {key, t_displayForm::e_text, nullptr, nullptr, field, nullptr, nullptr, 0, 0, missing, reset};
}

constexpr t_displayKey LongText(const wchar_t* key, wchar_t (DisplayInfo::*field)[BaseInfo::c_longTextChars])
{
    return {key, t_displayForm::e_longText, nullptr, nullptr, nullptr, field, nullptr, 0, 0, L"", L""};
}

constexpr t_displayKey Flag(const wchar_t* key, bool DisplayInfo::*field, bool missing, bool reset,
                            bool negated = false)
{
    return {key,     negated ? t_displayForm::e_negatedFlag : t_displayForm::e_flag,
            nullptr, nullptr,
            nullptr, nullptr,
            field,   missing,
            reset,   nullptr,
            nullptr};
}

// The section's keys in the order they are written.
constexpr t_displayKey c_keys[] = {
    Decimal(L"font_size", &DisplayInfo::fontSize, c_defaultFontSize, c_defaultFontSize),
    Text(L"font_ch", &DisplayInfo::fontCh, L"宋体", L"宋体"),
    Text(L"font_en", &DisplayInfo::fontEn, L"Arial", L"Arial"),
    Color(L"pinyin_color", &DisplayInfo::pinyinColor, 0x764300),
    Color(L"zhongwen_first_color", &DisplayInfo::zhongwenFirstColor, 0x303DFF),
    Color(L"zhongwen_color", &DisplayInfo::zhongwenColor, 0xE58200),
    Color(L"comphint_color", &DisplayInfo::comphintColor, 0xFF80FF),
    LongText(L"webpage", &DisplayInfo::webpage),
    Flag(L"use_gdip", &DisplayInfo::useGdip, true, true),
    Flag(L"aero", &DisplayInfo::aero, false, false),
    Flag(L"glow", &DisplayInfo::glow, false, false),
    // The field is the negation of the key: a missing key means support, a new skin has none.
    Flag(L"LargeFontSupport", &DisplayInfo::largeFontDisabled, false, true, true),
};

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
    for (const t_displayKey& k : c_keys) {
        switch (k.form) {
        case t_displayForm::e_decimal:
            this->*k.number = ReadInt(c_section, k.key, k.missing);
            break;
        case t_displayForm::e_color:
            this->*k.color = static_cast<COLORREF>(ReadInt(c_section, k.key, k.missing));
            break;
        case t_displayForm::e_text:
            ReadString(c_section, k.key, k.missingText, this->*k.text);
            break;
        case t_displayForm::e_longText:
            ReadLongString(c_section, k.key, k.missingText, this->*k.longText);
            break;
        case t_displayForm::e_flag:
            this->*k.flag = ReadBool(c_section, k.key, k.missing != 0);
            break;
        case t_displayForm::e_negatedFlag:
            this->*k.flag = !ReadBool(c_section, k.key, k.missing == 0);
            break;
        }
    }
    previewFontSize = fontSize;
    // Pictures are always drawn through GDI+, whatever the file says.
    useGdip = true;
    return true;
}

bool DisplayInfo::Save()
{
    bool ok = true;
    for (const t_displayKey& k : c_keys) {
        switch (k.form) {
        case t_displayForm::e_decimal:
            ok &= WriteInt(c_section, k.key, this->*k.number, false);
            break;
        case t_displayForm::e_color:
            ok &= WriteInt(c_section, k.key, static_cast<int>(this->*k.color), true);
            break;
        case t_displayForm::e_text:
            ok &= WriteString(c_section, k.key, this->*k.text);
            break;
        case t_displayForm::e_longText:
            ok &= WriteString(c_section, k.key, this->*k.longText);
            break;
        case t_displayForm::e_flag:
            ok &= WriteBool(c_section, k.key, this->*k.flag);
            break;
        case t_displayForm::e_negatedFlag:
            ok &= WriteBool(c_section, k.key, !(this->*k.flag));
            break;
        }
    }
    return ok;
}

bool DisplayInfo::Reset()
{
    for (const t_displayKey& k : c_keys) {
        switch (k.form) {
        case t_displayForm::e_decimal:
            this->*k.number = k.reset;
            break;
        case t_displayForm::e_color:
            this->*k.color = static_cast<COLORREF>(k.reset);
            break;
        case t_displayForm::e_text:
            wcscpy(this->*k.text, k.resetText);
            break;
        case t_displayForm::e_longText:
            wcscpy(this->*k.longText, k.resetText);
            break;
        case t_displayForm::e_flag:
        case t_displayForm::e_negatedFlag:
            this->*k.flag = k.reset != 0;
            break;
        }
    }
    const AppConfig* settings = AppConfig::Instance();
    previewCandCount = settings ? settings->preview.candSize.Get() : c_defaultCandCount;
    previewFontSize = c_defaultFontSize;
    return true;
}
