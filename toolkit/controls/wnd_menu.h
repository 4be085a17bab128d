// The skinned popup menu that an element opens with ShowMenu: a top window of its own
// (topmost, never activated) built from a menu description into a column of rows under an
// optional header with a title and a link, drawn with fixed colours and fonts. A click on
// a row is sent to the notify window as WM_COMMAND; hovering and leaving a row as two
// private messages. The menu closes when the mouse leaves it, on a click, at once or one
// second after a delayed close request.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/image/image_source.h"
#include "toolkit/controls/menu_data.h"
#include "toolkit/controls/toolkit_messages.h"
#include "toolkit/controls/wnd_top.h"

struct t_font;
class t_layout;
class t_wndLink;
class t_wndMenuItem;
class t_wndTextItem;

// Timer of a delayed close, checked every 100 ms.
const UINT_PTR c_menuCloseTimerId = 101;
const UINT c_menuCloseCheckMs = 100;
// A delayed close hides the menu once this much time has passed since the request.
const uint32_t c_menuCloseDelayMs = 999;

// Placement flags of Popup: the point is the menu's centre or right (bottom) edge instead
// of its left (top) edge.
enum t_menuAlign : unsigned {
    e_menuAlignCentre = 4,
    e_menuAlignRight = 8,
    e_menuAlignMiddle = 0x10,
    e_menuAlignBottom = 0x20,
};

struct t_menuHoverInfo {
    LPARAM userValue;
    RECT itemRect;
};

class t_wndMenu : public t_wndTop {
public:
    t_wndMenu();
    // Frees the fonts, the check mark and the rows, then the top part.
    ~t_wndMenu() override;

    void OnMouseEnter() override;
    // The mouse went away: the menu hides.
    void OnMouseLeave() override;
    bool OnTimer(UINT_PTR id) override;
    // Makes the window of the menu class (topmost, never activated); the owner arrives in
    // the id argument. False when it exists or cannot be made.
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR ownerHwnd, HINSTANCE instance,
                t_wndBase* parent) override;
    void Destroy() override;
    // The rows (and the header) of the description: the new layout of the menu; null
    // (no layout) for a description with neither.
    t_layoutWnd* CreateLayout() override;
    // The menu shows no tooltip.
    void ShowHint(bool) override {}
    // Copies the description and rebuilds the menu from it.
    void SetMenuData(const t_menuData& data) override;
    // New layout, background and size from the description.
    void Rebuild() override;

    // Shows the menu at point (moved by alignFlags, kept on the anchor's monitor by
    // fitFlags, see FitRectToWorkArea) and sends its notifications to notifyHwnd. Nothing
    // without a point or an anchor.
    void Popup(const POINT* point, UINT alignFlags, UINT fitFlags, const RECT* anchorRect, HWND notifyHwnd,
               LPARAM param);
    // Closes the menu: at once (flag non-zero), or one second from now (flag 0) unless the
    // mouse comes in or the menu pops up again meanwhile.
    void Close(int flag);

    virtual void OnItemClick(int command);
    virtual void OnItemHover(int command, const RECT& itemRect);
    virtual void OnItemLeave(int command, int unused);

    const t_menuData& Data() const { return menuData; }
    int ItemCount() const;
    // The row of command; null when none.
    t_wndMenuItem* FindItem(int command) const;
    t_wndTextItem* Title() const { return m_title; }
    t_wndLink* Link() const { return m_link; }

    COLORREF textColor;
    COLORREF grayedTextColor;
    COLORREF hotTextColor;
    COLORREF titleColor;
    COLORREF linkColor;
    t_font* itemFont;
    t_font* titleFont;
    t_font* linkFont;
    t_imageSource checkImage;
    bool hasCheckImage;
    uint32_t closeRequestTick;
    uint32_t popupTick;
    bool closePending;
    bool mouseInside;
    HWND notifyHwnd;
    LPARAM popupParam;

private:
    // The rows in a one-column grid inside a node with a 2-pixel margin; null without rows.
    t_layoutPtr BuildItemColumn();
    // The title and the link with their gradient underneath; null without a title.
    t_layoutPtr BuildHeader();
    // The frame and the gradient under everything.
    void SetBackground();
    void StopCloseTimer();

    t_wndTextItem* m_title;
    t_wndLink* m_link;
};
