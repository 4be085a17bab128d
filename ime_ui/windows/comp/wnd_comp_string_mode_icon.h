// The mode icons at the head of the composition string: the host describes them in a
// buffer of records and draws each one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/core/simple_array.h"
#include "ime_ui/windows/base/wnd_string_item.h"

const int c_modeIconTextUnits = 128;

struct t_modeIconRecord {
    int32_t id;
    int32_t x;      // offset in the row
    RECT iconRect;  // window client coordinates, refreshed at every paint
    uint8_t clickable;
    uint8_t hasTip;
    wchar_t name[c_modeIconTextUnits];  // at most 127 units used
    wchar_t hint[c_modeIconTextUnits];
};

// Reads count records of {id int32 LE, clickable byte, has-tip byte, name, hint} from
// size bytes: texts are UTF-16 LE, ended by a 0 unit or by the buffer's end, and cut to
// 127 units. A field beyond the end keeps the value of the record before. Returns how
// many records were written to out (count, unless count <= 0 or out is null).
int ReadModeIconRecords(const uint8_t* data, size_t size, int count, t_modeIconRecord* out);

class t_wndCompStringModeIcon : public t_wndStringItem {
public:
    t_wndCompStringModeIcon();
    ~t_wndCompStringModeIcon() override;

    // Replaces the records; a null buffer changes nothing.
    void SetModeIcons(const void* data, size_t size, int count);
    int Measure(HDC dc) override;
    void Paint_Text(t_paintCtx& context) override;
    // The first icon under the point becomes the hovered one; true when it is clickable
    // or has a tip.
    bool HitTest(int x, int y, int mode) override;
    void OnMouseMove(UINT keys, int x, int y) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool OnLButtonUp(UINT keys, int x, int y) override;

    int IconCount() const { return m_count; }
    const t_modeIconRecord& Icon(int index) const { return m_icons[index]; }

    int iconHeight = 18, iconWidth = 18, gap = 8;
    int totalWidth = 0, totalHeight = 0;
    int hovered = -1;
    bool tipShown = false;

private:
    void FreeIcons();
    // Client rect of an icon from the item's current place.
    RECT IconRect(int index) const;

    t_modeIconRecord* m_icons = nullptr;
    int m_count = 0;
};
