// Host callbacks of the input method's skinned windows: a table of 26 entries that the
// program hosting those windows may fill. Buttons and flash commands call an entry by its
// number when it is set; a missing entry is no failure. This program fills none.
#pragma once

#include <windows.h>

struct t_uiSettings;

class UiFunction {
public:
    static const int c_count = 26;
    using t_callback = int (*)(HWND host, t_uiSettings* settings);

    // The process-wide table (singleton "UiFunction"), every entry null when created;
    // null only when memory runs out.
    static UiFunction* Instance();

    // The entry, or null for an unset entry or a number outside 0..25.
    t_callback Get(int index) const { return index >= 0 && index < c_count ? m_callbacks[index] : nullptr; }
    // False for a number outside 0..25 (nothing stored).
    bool Set(int index, t_callback callback);

private:
    t_callback m_callbacks[c_count] = {};
};
