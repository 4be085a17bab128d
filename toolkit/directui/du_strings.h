// String helpers of the DirectUI tree: every result is new[]-allocated, null in gives null out.
#pragma once

namespace DirectUI {

wchar_t* DupString(const wchar_t* text);
char* WideToUtf8(const wchar_t* text);
wchar_t* Utf8ToWide(const char* text);

// Leading decimal integer of a value ("12px" is 12, "x" is 0), clamped to [low, high].
int ParseLeadingInt(const wchar_t* value, int low, int high);

}  // namespace DirectUI
