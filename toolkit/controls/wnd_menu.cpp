#include "toolkit/controls/wnd_menu.h"

#include <new>

#include "foundation/core/owned.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_grid.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/work_area.h"
#include "graphics/text/font.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/window_classes.h"
#include "toolkit/controls/wnd_link.h"
#include "toolkit/controls/wnd_menu_item.h"
#include "toolkit/controls/wnd_text_item.h"

namespace {

const COLORREF c_grayedTextColor = 0xB8C2C5;
const COLORREF c_titleColor = 0xB96205;
const COLORREF c_linkColor = 0xE58200;
const COLORREF c_hotGradientTop = 0xF8DBBA;
const COLORREF c_hotGradientBottom = 0xF2D0AC;
const COLORREF c_hotFrameColor = 0xF0CFAC;
const COLORREF c_headerGradientTop = 0xFCF8F3;
const COLORREF c_headerGradientBottom = 0xFAF2E7;
const COLORREF c_backGradientTop = 0xFFFEFC;
const COLORREF c_backGradientBottom = 0xFFF8EE;
const COLORREF c_borderColor = 0xD8D8D8;
const COLORREF c_backColor = 0xFFFFFF;
// The body's gradient starts below the header when there is a title.
const int c_bodyTopWithTitle = 27;
const int c_bodyTopWithoutTitle = 2;

t_font* MakeMenuFont(int height, bool underline)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = height;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfUnderline = underline ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(logFont.lfFaceName, L"宋体", LF_FACESIZE);
    t_font* font = nullptr;
    t_font::Create(logFont, font, false);
    return font;
}

// A text element of the header: its style, its text and its node in the header.
template <class t_item>
t_item* AddHeaderText(t_wndMenu& menu, t_layoutAligned& header, COLORREF color, t_font* font, const t_str& label,
                      int align, int leftMode, int leftMargin, int rightMode, int rightMargin, int topMode,
                      int topMargin, int bottomMode, int bottomMargin)
{
    t_item* item = new (std::nothrow) t_item();
    if (!item)
        return nullptr;
    item->SetStyle(t_textItemStyle{color, 0, 0, font, false});
    item->SetItemText(label.c_str());
    item->align = align;
    item->Create(0, 0, 0, 0, 0, 0, nullptr, &menu);
    t_layoutPtr node(item->CreateLayout());
    if (!node || !header.AddChildAligned(std::move(node), leftMode, leftMargin, rightMode, rightMargin, topMode,
                                         topMargin, bottomMode, bottomMargin)) {
        delete item;
        return nullptr;
    }
    return item;
}

}  // namespace

t_wndMenu::t_wndMenu()
    : textColor(0), grayedTextColor(c_grayedTextColor), hotTextColor(0), titleColor(c_titleColor),
      linkColor(c_linkColor), itemFont(MakeMenuFont(12, false)), titleFont(MakeMenuFont(16, false)),
      linkFont(MakeMenuFont(12, true)), hasCheckImage(false), closeRequestTick(0), popupTick(0), closePending(false),
      mouseInside(false), notifyHwnd(nullptr), popupParam(0), m_title(nullptr), m_link(nullptr)
{
    dragEnabled = false;
    hasCheckImage = LoadCheckMarkImage(checkImage);
}

t_wndMenu::~t_wndMenu()
{
    Destroy();
    t_font::Release(itemFont);
    t_font::Release(titleFont);
    t_font::Release(linkFont);
    itemFont = titleFont = linkFont = nullptr;
    if (hasCheckImage)
        checkImage.Free();
    hasCheckImage = false;
}

bool t_wndMenu::Create(DWORD style, int x, int y, int width, int height, INT_PTR owner, HINSTANCE instance,
                       t_wndBase* parent)
{
    return CreateWindowOfClass(c_menuClassName, L"", style, x, y, width, height, owner, instance, parent,
                               WS_EX_NOACTIVATE | WS_EX_TOPMOST);
}

void t_wndMenu::Destroy()
{
    StopCloseTimer();
    closePending = false;
    m_title = nullptr;
    m_link = nullptr;
    t_wndTop::Destroy();
}

void t_wndMenu::StopCloseTimer()
{
    if (hwnd)
        KillTimer(hwnd, c_menuCloseTimerId);
}

// ---- building

t_layoutPtr t_wndMenu::BuildItemColumn()
{
    const int count = menuData.items.Count();
    if (count == 0)
        return nullptr;
    auto made = MakeOwned<t_layoutGrid>(count, 1);
    t_layoutGrid* grid = made.get();
    auto column = MakeOwned<t_layoutAligned>();
    if (!grid || !column || !column->AddChildAligned(std::move(made), 1, 2, 2, 2, 1, 2, 2, 2))
        return nullptr;
    grid->SetColumnInfo(0, 0, 0, -1, 1.0f);
    for (int i = 0; i < count; ++i) {
        const t_menuItem& entry = menuData.items[i];
        if (entry.skip)
            continue;
        const t_menuItemStyle style = {c_hotGradientTop,   c_hotGradientBottom,
                                       c_hotFrameColor,    hotTextColor,
                                       textColor,          grayedTextColor,
                                       itemFont,           entry.checked && hasCheckImage ? &checkImage : nullptr,
                                       entry.text.c_str(), entry.grayed,
                                       entry.command};
        t_wndMenuItem* row = new (std::nothrow) t_wndMenuItem(style);
        if (!row)
            continue;
        row->acceptsMouse = entry.selectable;
        if (!row->Create(WS_CHILD, 0, 0, 0, 0, reinterpret_cast<INT_PTR>(GetHwnd()), nullptr, this)) {
            delete row;
            continue;
        }
        row->CreateLayout();
        if (!row->layout || !grid->AddChildAt(t_layoutPtr(row->layout), i, 0))
            delete row;
    }
    return column;
}

t_layoutPtr t_wndMenu::BuildHeader()
{
    if (menuData.title.IsEmpty())
        return nullptr;
    auto header = MakeOwned<t_layoutAligned>();
    auto under = MakeOwned<t_layoutAligned>();
    if (!header || !under)
        return nullptr;
    m_title =
        AddHeaderText<t_wndTextItem>(*this, *header, titleColor, titleFont, menuData.title, 3, 1, 8, 0, 10, 1, 5, 2, 5);
    if (!menuData.linkUrl.IsEmpty() && !menuData.linkText.IsEmpty()) {
        m_link = AddHeaderText<t_wndLink>(*this, *header, linkColor, linkFont, menuData.linkText, 2, 1, 80, 2, 5, 0, 0,
                                          2, 5);
        if (m_link) {
            m_link->SetUrl(menuData.linkUrl.c_str());
            m_link->acceptsMouse = true;
        }
    }
    AddAlignedRender(*under,
                     MakeOwned<t_renderGradient>(c_headerGradientTop, c_headerGradientBottom,
                                                 t_renderGradient::e_vertical),
                     1, 2, 2, 1, 1, 2, 0, 0);
    header->SetInner(std::move(under));
    return header;
}

t_layoutWnd* t_wndMenu::CreateLayout()
{
    // Every row and header element goes; the description makes them anew.
    t_wndBase::Destroy();
    m_title = nullptr;
    m_link = nullptr;
    t_layoutPtr column = BuildItemColumn();
    t_layoutPtr header = BuildHeader();
    if (column && header) {
        auto both = MakeOwned<t_layoutGrid>(2, 1);
        if (both && both->AddChildAt(std::move(header), 0, 0) && both->AddChildAt(std::move(column), 1, 0)) {
            both->SetRowInfo(0, 0, 0, -1, 1.0f);
            both->SetRowInfo(1, 0, 0, -1, 1.0f);
            both->SetColumnInfo(0, 0, 0, -1, 1.0f);
            SetLayout(std::move(both));
            return nullptr;
        }
        // Without the grid (out of memory) what is left of the rows makes the menu; the
        // header's elements go.
        if (m_title) {
            delete m_title;
            m_title = nullptr;
        }
        if (m_link) {
            delete m_link;
            m_link = nullptr;
        }
    }
    SetLayout(column ? std::move(column) : std::move(header));
    return nullptr;
}

void t_wndMenu::SetBackground()
{
    minWidth = 0;
    minHeight = 0;
    if (!layout)
        return;
    auto under = MakeOwned<t_layoutAligned>();
    if (!under) {
        layout->SetInner(nullptr);
        return;
    }
    const int bodyTop = menuData.title.IsEmpty() ? c_bodyTopWithoutTitle : c_bodyTopWithTitle;
    AddAlignedRender(*under,
                     MakeOwned<t_renderGradient>(c_backGradientTop, c_backGradientBottom, t_renderGradient::e_vertical),
                     1, 2, 2, 1, 1, bodyTop, 2, 1);
    if (auto frame = MakeOwned<t_renderFrame>()) {
        frame->borderColor = c_borderColor;
        frame->fillColor = c_backColor;
        frame->flags = 0;
        AddAlignedRender(*under, std::move(frame), 1, 0, 2, 0, 1, 0, 2, 0);
    }
    layout->SetInner(std::move(under));
}

void t_wndMenu::SetMenuData(const t_menuData& data)
{
    if (&data != &menuData)
        menuData.Assign(data);
    Rebuild();
}

void t_wndMenu::Rebuild()
{
    // The old tree goes first; the rows pointing into it go with CreateLayout.
    SetLayout(nullptr);
    CreateLayout();
    if (layout)
        layout->SetRect(rect);
    SetBackground();
    if (!layout) {
        SetSize(0, 0);
        return;
    }
    RelayoutOnWindowDc();
}

int t_wndMenu::ItemCount() const
{
    int count = 0;
    for (int i = 0; i < children.Count(); ++i)
        count += dynamic_cast<t_wndMenuItem*>(children[i]) != nullptr;
    return count;
}

t_wndMenuItem* t_wndMenu::FindItem(int command) const
{
    for (int i = 0; i < children.Count(); ++i) {
        t_wndMenuItem* row = dynamic_cast<t_wndMenuItem*>(children[i]);
        if (row && row->style.command == command)
            return row;
    }
    return nullptr;
}

// ---- showing and closing

void t_wndMenu::Popup(const POINT* point, UINT alignFlags, UINT fitFlags, const RECT* anchorRect, HWND notify,
                      LPARAM param)
{
    if (!point || !anchorRect)
        return;
    popupParam = param;
    popupTick = InputTickCount();
    notifyHwnd = notify;
    closePending = false;
    HWND window = GetHwnd();
    HDC dc = GetDC(window);
    Measure(dc);
    if (dc)
        ReleaseDC(window, dc);
    const SIZE size = GetSize();
    int x = point->x;
    int y = point->y;
    if (alignFlags & e_menuAlignCentre)
        x -= size.cx / 2;
    if (alignFlags & e_menuAlignRight)
        x -= size.cx;
    if (alignFlags & e_menuAlignMiddle)
        y -= size.cy / 2;
    if (alignFlags & e_menuAlignBottom)
        y -= size.cy;
    RECT placed = {x, y, x + size.cx, y + size.cy};
    FitRectToWorkArea(placed, *anchorRect, fitFlags);
    Move(placed.left, placed.top, size.cx, size.cy, false);
    Show(true);
}

void t_wndMenu::Close(int flag)
{
    if (flag) {
        closePending = false;
        StopCloseTimer();
        Show(false);
    } else {
        closeRequestTick = InputTickCount();
        closePending = true;
        if (hwnd)
            SetTimer(hwnd, c_menuCloseTimerId, c_menuCloseCheckMs, nullptr);
    }
    popupParam = 0;
}

bool t_wndMenu::OnTimer(UINT_PTR timerId)
{
    if (timerId != c_menuCloseTimerId)
        return t_wndTop::OnTimer(timerId);
    const bool requestedBeforePopup = static_cast<int32_t>(closeRequestTick - popupTick) < 0;
    if (!closePending || mouseInside || requestedBeforePopup) {
        closePending = false;
        StopCloseTimer();
        return true;
    }
    if (InputTickCount() - closeRequestTick > c_menuCloseDelayMs) {
        StopCloseTimer();
        closePending = false;
        Show(false);
    }
    return true;
}

void t_wndMenu::OnMouseEnter()
{
    mouseInside = true;
    t_wndTop::OnMouseEnter();
}

void t_wndMenu::OnMouseLeave()
{
    mouseInside = false;
    t_wndTop::OnMouseLeave();
    closePending = false;
    StopCloseTimer();
    Show(false);
    popupParam = 0;
}

// ---- notifications

void t_wndMenu::OnItemClick(int command)
{
    if (!notifyHwnd)
        return;
    HWND target = notifyHwnd;
    const LPARAM userValue = menuData.userValue;
    Close(1);
    SendMessageW(target, WM_COMMAND, static_cast<WPARAM>(command), userValue);
}

void t_wndMenu::OnItemHover(int command, const RECT& itemRect)
{
    if (!notifyHwnd)
        return;
    t_menuHoverInfo info = {menuData.userValue, itemRect};
    SendMessageW(notifyHwnd, c_menuItemHoverMessage, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&info));
}

void t_wndMenu::OnItemLeave(int command, int)
{
    if (notifyHwnd)
        SendMessageW(notifyHwnd, c_menuItemLeaveMessage, static_cast<WPARAM>(command), menuData.userValue);
}
