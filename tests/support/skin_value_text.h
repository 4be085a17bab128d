#pragma once

#include <string>
#include <vector>

#include "ime_ui/skin/skin_value.h"

// Test helpers for the input method's Skin.ini values: a writable copy of a value text
// (parsing cuts texts in place, as the INI document holds them), and a value's text form.
struct t_writableText {
    explicit t_writableText(const std::wstring& text) : chars(text.begin(), text.end()) { chars.push_back(0); }
    wchar_t* Get() { return chars.data(); }
    std::vector<wchar_t> chars;
};

// The value's text form, "<none>" when it has none.
inline std::wstring SkinValueText(const SkinTypeBase& value)
{
    t_heap heap(0x1000);
    const wchar_t* text = value.Format(heap);
    return text ? text : L"<none>";
}
