// The frame shared by the composition windows and the candidate window: one class window
// procedure, creation as a real window or in owner mode, the rebuild from the runtime skin
// (background, mask, layering, opacity, buttons and flash items of the orientation), the
// measure with its minimum width and the host's minimum size, and the mouse reports.
// Each window adds its own content, its host reports and its window numbers.
#pragma once

#include <windows.h>

#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/flash/flash_key.h"
#include "ime_ui/windows/base/wnd_ui_skin_base.h"

class t_layout;
class t_paintCtx;

// The runtime-skin entries of one window in one orientation.
struct t_compWindowScheme {
    t_uiWindow window;
    t_skinScheme scheme;
    t_skinArea area;
};

// A window class name kept per class: at most 19 units and the terminator.
struct t_uiWindowClass {
    static const int c_nameChars = 20;
    wchar_t name[c_nameChars];

    void SetName(const wchar_t* value);
    // Registers the class with the shared window procedure; true when it is registered
    // now or already was.
    bool Register(HINSTANCE instance) const;
};

// What sets the three windows apart besides their content.
struct t_compWindowKind {
    const t_uiWindowClass* windowClass;
    t_compWindowScheme horizontal, vertical;
    // The window kind of the host's mouse reports.
    int mouseKind;
    // With skinEnabled off the window is at least this wide.
    int minimumWidth;
    // Shows the composition: its shows and paints are reported as the composition window's,
    // a left release keeps its place and default skins show custom button 0.
    bool composition;
    // Shows the candidates: its shows and paints are reported as the candidate window's.
    bool candidates;
};

class t_wndCompFrame : public t_wndUiSkinBase {
public:
    explicit t_wndCompFrame(const t_compWindowKind& kind);
    ~t_wndCompFrame() override;

    // The class procedure of all three windows: the object in the window's user data gets
    // every message but WM_DESTROY and WM_NCDESTROY. A message whose handling throws ends
    // with 0, the first such exception of the process reported.
    static LRESULT CALLBACK UiWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // In owner mode the window draws into the given owner; else a tool window of its class
    // (topmost and unowned when the runtime asks for topmost UI). Then the embedded
    // elements are made and the skin applied.
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR owner, HINSTANCE instance,
                t_wndBase* parent) override;
    // Deletes the skin children, then the element's children array.
    void Destroy() override;
    // The IME messages answer 0; every other message is bracketed by the host's
    // EnterMessage and offered to the flash handling first.
    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The layout from CreateLayout, then the look of the orientation from the skin.
    void Rebuild() override;
    // Pulls the content, arranges the layout at least as wide as the minimum (skin off)
    // and as large as the host's minimum size, and takes the result.
    int Measure(HDC dc) override;
    void Paint_Layout(t_paintCtx& context) override;
    bool OnLButtonDown(UINT keys, int x, int y) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;
    bool OnRButtonDown(UINT keys, int x, int y) override;
    bool OnRButtonUp(UINT keys, int x, int y) override;
    // The base's SetBounds (topmost again when the runtime asks), then the host reports.
    void SetBounds(int x, int y, int width, int height, bool repaint) override;
    bool Show(bool show) override;
    // The skin children, then both button maps.
    void ClearSkinChildren() override;

    // The top's private message: lParam names a window whose device context the window
    // measures with.
    void OnPrivateMessage(LPARAM lParam) override { OnMessage47B(reinterpret_cast<HWND>(lParam)); }
    virtual void OnMessage47B(HWND window);

    // The index of the first of the ten candidate rectangles that holds the screen point;
    // -1 when none (and always in a window without candidates).
    virtual int HitCandidate(int x, int y);

    // The button map of an orientation.
    t_flashKeyMap& Buttons(bool vertical) { return vertical ? buttonsV : buttonsH; }
    // The orientation the layout was last built for.
    bool IsVertical() const { return vertical; }
    bool ChildMode() const { return ownerMode; }

    t_flashKeyMap buttonsH;
    t_flashKeyMap buttonsV;
    bool vertical;
    // The centre cell of the window layout's background, remembered by the rebuild.
    t_layout* centreCell;

protected:
    const t_uiWindowClass& WindowClass() const { return *m_kind.windowClass; }
    // The window's entries in the runtime skin for an orientation.
    t_compWindowScheme SchemeOf(bool verticalSkin) const { return verticalSkin ? m_kind.vertical : m_kind.horizontal; }
    // Makes the embedded elements as children; false when one cannot be made.
    virtual bool CreateParts(HINSTANCE instance) = 0;
    // The embedded elements pull their content from the host.
    virtual void PullContent() = 0;
    // After the layout was built: the embedded elements take the orientation's settings.
    virtual void ConfigureParts(bool verticalSkin) = 0;
    // Before the layout is built (and after the window is destroyed): the embedded
    // elements forget their nodes, which the window's layout tree owned, and take the
    // skin's scale.
    virtual void ResetParts() = 0;
    // The host report of SetBounds.
    virtual void ReportBounds(const RECT& r) = 0;
    // After the measure has laid the window out.
    virtual void AfterMeasure() {}

    // The layout's rectangle, else the element's.
    RECT FrameRect() const { return GetRect(); }
    // Sets keepWidth, keepHeight and both shrink tolerances (-1) of an embedded element.
    static void SetKeepFlags(t_wndBase& element, bool keepW, bool keepH);
    // Creates an embedded element as a child drawing into this window.
    bool CreatePart(t_wndBase& element, HINSTANCE instance);
    // The composition windows: with cursorFollow off the window's place becomes the
    // composition position of the settings.
    void StorePosition();
    // The composition windows of default skins show custom button 0 unless the
    // background is plain.
    void ShowCustomButtonZero(const t_uiSkinData& skin);
    // The host reports of Show and Paint, by what the window shows.
    void ReportShow(bool shown);
    void ReportPainted();
    // Whether the button of kind (type 0) of window shows in the runtime skin.
    bool ButtonShown(t_uiWindow window, int kind) const;

private:
    void ReportMouse(int event, int x, int y);
    // Measures the layout, applies the minimum width and the host's minimum size, and lays
    // the window out at the result.
    void Arrange(t_paintCtx* context);

    const t_compWindowKind m_kind;
    // The minimum size of the layout's root as the background left it.
    int m_baseMinWidth, m_baseMinHeight;
};
