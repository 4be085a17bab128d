#include "ime_ui/windows/comp/wnd_comp_string_mode_icon.h"

#include <cstring>
#include <new>

#include "graphics/paint/paint_ctx.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/wnd_top.h"

namespace {

// Reads a text of UTF-16 LE units starting at pos; stops after the 0 unit or at the end of
// the buffer. Keeps at most 127 units, always terminated.
void ReadText(const uint8_t* data, size_t size, size_t& pos, wchar_t (&out)[c_modeIconTextUnits])
{
    int kept = 0;
    while (size - pos >= 2) {
        const wchar_t unit = static_cast<wchar_t>(data[pos] | (data[pos + 1] << 8));
        pos += 2;
        if (unit == 0)
            break;
        if (kept < c_modeIconTextUnits - 1)
            out[kept++] = unit;
    }
    out[kept] = 0;
}

}  // namespace

int ReadModeIconRecords(const uint8_t* data, size_t size, int count, t_modeIconRecord* out)
{
    if (!data || !out || count <= 0)
        return 0;
    t_modeIconRecord last;
    memset(&last, 0, sizeof(last));
    size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        if (size - pos >= 4) {
            last.id = static_cast<int32_t>(data[pos] | (data[pos + 1] << 8) | (data[pos + 2] << 16) |
                                           (static_cast<uint32_t>(data[pos + 3]) << 24));
            pos += 4;
        } else {
            pos = size;
        }
        if (pos < size)
            last.clickable = data[pos++] != 0;
        if (pos < size)
            last.hasTip = data[pos++] != 0;
        if (pos < size)
            ReadText(data, size, pos, last.name);
        if (pos < size)
            ReadText(data, size, pos, last.hint);
        out[i] = last;
    }
    return count;
}

t_wndCompStringModeIcon::t_wndCompStringModeIcon() { acceptsMouse = true; }

t_wndCompStringModeIcon::~t_wndCompStringModeIcon() { FreeIcons(); }

void t_wndCompStringModeIcon::FreeIcons()
{
    delete[] m_icons;
    m_icons = nullptr;
    m_count = 0;
}

void t_wndCompStringModeIcon::SetModeIcons(const void* data, size_t size, int count)
{
    if (!data)
        return;
    FreeIcons();
    totalWidth = totalHeight = 0;
    hovered = -1;
    // A count beyond what any buffer could describe is refused rather than allocated.
    if (count <= 0 || static_cast<size_t>(count) > size)
        return;
    m_icons = new (std::nothrow) t_modeIconRecord[count];
    if (!m_icons)
        return;
    m_count = ReadModeIconRecords(static_cast<const uint8_t*>(data), size, count, m_icons);
    for (int i = 0; i < m_count; ++i) {
        m_icons[i].x = totalWidth;
        m_icons[i].iconRect = RECT{0, 0, 0, 0};
        totalWidth += gap + iconWidth;
    }
    if (m_count > 0)
        totalHeight = iconHeight;
}

int t_wndCompStringModeIcon::Measure(HDC)
{
    if (visible)
        SetSize(totalWidth, totalHeight);
    else
        SetSize(0, 0);
    return 3;
}

RECT t_wndCompStringModeIcon::IconRect(int index) const
{
    const RECT item = GetRectInHwnd();
    const int left = item.left + m_icons[index].x;
    return RECT{left, item.top, left + iconWidth, item.top + iconHeight};
}

void t_wndCompStringModeIcon::Paint_Text(t_paintCtx& context)
{
    if (!visible || m_count == 0)
        return;
    t_uiContext* ui = GetContext();
    HDC target = context.Dc();
    t_memDC canvas;
    if (!t_memDC::Create(canvas, target, iconWidth, iconHeight))
        return;
    for (int i = 0; i < m_count; ++i) {
        t_modeIconRecord& icon = m_icons[i];
        icon.iconRect = IconRect(i);
        memset(canvas.bits, 0, static_cast<size_t>(iconWidth) * iconHeight * 4);
        ui->Imc().DrawModeIcon(ui->hostWindow, icon.name, icon.hint, canvas.dc, canvas.bits, iconWidth, iconHeight,
                               static_cast<BYTE>(alpha));
        GdiFlush();
        AlphaBlend(target, icon.iconRect.left, icon.iconRect.top, iconWidth, iconHeight, canvas.dc, 0, 0, iconWidth,
                   iconHeight, canvas.blend);
    }
    canvas.Release();
}

bool t_wndCompStringModeIcon::HitTest(int x, int y, int)
{
    if (!visible)
        return false;
    const RECT item = GetRect();
    if (!PtInRect(&item, POINT{x, y}))
        return false;
    const POINT offset = GetTopOffset();
    const POINT client = {x + offset.x, y + offset.y};
    for (int i = 0; i < m_count; ++i) {
        const RECT r = IconRect(i);
        if (PtInRect(&r, client)) {
            hovered = i;
            return m_icons[i].clickable || m_icons[i].hasTip;
        }
    }
    return false;
}

void t_wndCompStringModeIcon::OnMouseMove(UINT keys, int x, int y)
{
    if (HitTest(x, y, 0))
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
    t_wndStringItem::OnMouseMove(keys, x, y);
}

void t_wndCompStringModeIcon::OnMouseEnter()
{
    t_wndStringItem::OnMouseEnter();
    tipShown = false;
    if (hovered >= 0 && hovered < m_count && m_icons[hovered].hasTip) {
        t_uiContext* ui = GetContext();
        t_str tip;
        const t_modeIconRecord& icon = m_icons[hovered];
        if (ui->Imc().GetModeIconTip(ui->hostWindow, tip, icon.id, icon.name, icon.hint)) {
            SetText(tip.c_str());
            const RECT r = GetRect();
            ShowMenu(POINT{r.left, r.bottom}, 32, 2, nullptr, nullptr, 0);
            tipShown = true;
            return;
        }
    }
    CloseMenu(1);
}

void t_wndCompStringModeIcon::OnMouseLeave()
{
    hovered = -1;
    Invalidate(nullptr);
    CloseMenu(0);
    tipShown = false;
    t_wndStringItem::OnMouseLeave();
}

bool t_wndCompStringModeIcon::OnLButtonUp(UINT keys, int x, int y)
{
    if (top && top->dragState == t_wndTop::e_dragMoving)
        return t_wndStringItem::OnLButtonUp(keys, x, y);
    if (!HitTest(x, y, 0) || hovered < 0 || hovered >= m_count || !m_icons[hovered].clickable)
        return t_wndStringItem::OnLButtonUp(keys, x, y);
    const t_modeIconRecord& icon = m_icons[hovered];
    const POINT offset = GetTopOffset();
    const RECT r = IconRect(hovered);
    t_uiContext* ui = GetContext();
    ui->Imc().OnModeIconClick(ui->hostWindow, icon.name, icon.hint, x + offset.x - r.left, y + offset.y - r.top);
    return true;
}
