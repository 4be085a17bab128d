// The windowless element of the skinned UI: a rectangle in screen coordinates with children,
// an optional layout node, a tooltip text and a popup-menu description. A tree of elements
// hangs under one top window (t_wndTop), which owns the real window, turns its messages into
// element calls and repaints the whole window when any element asks for it.
#pragma once

#include <windows.h>

#include <new>

#include "foundation/core/simple_array.h"
#include "foundation/core/str.h"
#include "graphics/layout/element.h"
#include "graphics/layout/layout.h"
#include "toolkit/controls/menu_data.h"

#include <vector>

class t_layoutWnd;
class t_paintCtx;
class t_wndTop;

class t_wndBase : public i_element, public i_layoutWatcher {
public:
    t_wndBase();
    // Destroys and deletes the children it owns. A child still in a parent's array leaves
    // it first, so an element held as a member of its parent's object is never deleted by
    // that parent.
    virtual ~t_wndBase();
    t_wndBase(const t_wndBase&) = delete;
    t_wndBase& operator=(const t_wndBase&) = delete;

    // Records heap allocation, so that the parent deletes only children that were made with new.
    static void* operator new(size_t size);
    static void* operator new(size_t size, const std::nothrow_t&) noexcept;
    // Placed elements are never deleted by a parent.
    static void* operator new(size_t, void* place) noexcept { return place; }
    static void operator delete(void* block);
    static void operator delete(void* block, const std::nothrow_t&) noexcept;
    static void operator delete(void*, void*) noexcept {}

    // Mouse points are screen points.
    virtual void OnMouseMove(UINT keys, int x, int y);
    virtual void OnMouseEnter();
    virtual void OnMouseLeave();
    virtual bool OnMouseHover(UINT keys, int x, int y);
    virtual bool OnLButtonDblClk(UINT keys, int x, int y);
    virtual bool OnLButtonDown(UINT keys, int x, int y);
    virtual bool OnLButtonUp(UINT keys, int x, int y);
    virtual bool OnRButtonDown(UINT keys, int x, int y);
    virtual bool OnRButtonUp(UINT keys, int x, int y);
    // Paints the layout node at the top offset; nothing without a layout.
    void Paint_Layout(t_paintCtx& context) override;
    // Paints only the inner node of the layout.
    virtual void PaintLayoutLinked(t_paintCtx& context);
    virtual void MoveTo(int x, int y);
    virtual void SetSize(int width, int height);
    virtual void MoveBy(int dx, int dy);
    // Every child's OnTimer; true.
    virtual bool OnTimer(UINT_PTR id);
    // Hover delay in ms under the point: the first child hit decides, else 100.
    virtual int GetHoverTime(int x, int y);
    // HitTest (point, 0); a hovered element that the point left stops being the top's hot element.
    virtual bool LeaveTest(POINT point);
    // style and instance serve the top window; id may carry a window handle for it.
    virtual bool Create(DWORD style, int x, int y, int width, int height, INT_PTR id, HINSTANCE instance,
                        t_wndBase* parent);
    virtual bool CreateWithValue(DWORD style, int x, int y, int width, int height, INT_PTR id, HINSTANCE instance,
                                 t_wndBase* parent, int value);
    virtual void Destroy();
    virtual void SetBounds(int x, int y, int width, int height, bool repaint);
    int Measure(HDC dc) override;
    // Measures and arranges the layout from the element origin, then takes its rectangle.
    virtual void Relayout(t_paintCtx* context);
    virtual t_layoutWnd* CreateLayout();
    virtual bool HitTest(int x, int y, int mode);
    // rect is relative to the element origin; null means the whole element.
    virtual void Invalidate(const RECT* rect);
    virtual void InvalidateAll();
    virtual void ForwardToParent(WPARAM wParam, LPARAM lParam);
    virtual void SetText(const wchar_t* tip);
    virtual void ShowHint(bool show);
    virtual void SetMenuData(const t_menuData& data);
    virtual void ShowMenu(POINT point, UINT alignFlags, UINT fitFlags, HWND notifyHwnd, const t_menuData* data,
                          LPARAM param);
    virtual void CloseMenu(int flag);
    virtual LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    HRGN GetRegion() override;
    virtual bool SuspendsDrag();
    virtual bool WantsHandCursor();
    virtual void ResetUi(int arg);
    virtual void Rebuild();

    // The element as the layout sees it.
    RECT GetElementRect() const override { return rect; }
    bool IsElementVisible() const override { return visible; }
    SIZE GetElementMinSize() const override { return SIZE{minWidth, minHeight}; }

    // The window the element draws into: the top's owner in owner mode, else the top's own.
    HWND GetHwnd() const;
    // Layout rectangle, or rect without a layout; screen coordinates.
    RECT GetRect() const;
    RECT GetClientRect() const;
    // (0, 0) when hidden.
    SIZE GetSize() const;
    // Relative to the top's origin; empty without a top.
    RECT GetRectInTop() const;
    // In the client coordinates of GetHwnd's window.
    RECT GetRectInHwnd() const;
    // Offset from screen to GetHwnd's client coordinates; (0, 0) without a top or in owner mode.
    POINT GetTopOffset() const;
    void SetTop(t_wndTop* newTop);
    void SetPerPixelAlpha(bool on);
    void ForgetKeptSize();
    // Moves the cursor back for the first element of the subtree that asked for it, once.
    void RestoreCursorPos();
    void SyncLayoutRect();
    // Makes node the element's own node (null forgets it). The element watches it: when the
    // tree holding it deletes it, layout is cleared.
    void SetLayoutNode(t_layout* node);
    // Watches a node the element keeps a pointer to; OnLayoutGone tells when it is deleted.
    void WatchLayout(t_layout* node);
    void LayoutGone(t_layout* node) final;

    int ChildCount() const { return children.Count(); }
    t_wndBase* ChildAt(int index) const { return children[index]; }

    itl::ImmSimpleArray<t_wndBase*> children;
    t_wndTop* top;
    t_wndBase* parent;
    RECT rect;
    bool hover;
    t_str text;
    t_menuData menuData;
    t_layout* layout;  // set through SetLayoutNode; owned by the tree it is in
    int minWidth, minHeight;
    bool visible;
    int measureValue;
    bool perPixelAlpha;
    bool acceptsMouse;
    bool cursorRestore, cursorRestorePending;
    int cursorOffsetX, cursorOffsetY;
    bool keepWidth, keepHeight;
    int keptWidth, keptHeight;
    int shrinkThresholdWidth, shrinkThresholdHeight;
    int id;
    int value;
    bool hintBelow;

protected:
    // A watched node was deleted (layout is already cleared when it was the own node).
    virtual void OnLayoutGone(t_layout*) {}

private:
    // Takes child out of the children array, keeping the order of the others.
    void RemoveChild(t_wndBase* child);
    // Destroys every child, deletes the ones made with new and detaches the others.
    void ReleaseChildren();
    // Depth first: true once an element of the subtree has put the cursor back.
    bool RestoreCursorWalk();

    // Made with new (not a member or a local), so a parent may delete it.
    bool m_heapMade;
    // Inside Paint_Layout: a layout tree that holds this element's own node paints it once.
    bool m_painting;
    // Nodes this element watches, its own node and older ones still in a tree.
    std::vector<t_layout*> m_watched;
};
