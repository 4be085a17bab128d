// The rich hint: a layered popup bubble that shows lines of rich-hint markup next to an
// anchor rectangle, framed by a nine-part background picture and, optionally, an arrow
// picture pointing at the anchor. It hides when the mouse leaves (at once, after a short
// delay, or after lingering with a two-second fade) and carries the elements' results to
// the host through the UI context.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/simple_array.h"
#include "toolkit/richhint/rich_hint_delegate.h"
#include "toolkit/controls/wnd_top.h"
#include "toolkit/controls/wnd_ui_sub.h"

struct t_imageSource;
struct t_richHintRow;
class t_wndRichHintElement;

// The hide-delay and fade timer, set on the hint's window.
const UINT_PTR c_richHintTimerId = 127;
const UINT c_richHintTickMs = 50;
// Length of the fade-out after lingering.
const int c_richHintFadeMs = 2000;
// Vertical gap between two rows.
const int c_richHintRowGap = 5;
// Capacity of the class-name buffer, terminator included.
const int c_richHintClassNameCapacity = 20;

// What a hint is set up with.
struct t_richHintRequest {
    HWND owner;                 // handed to the host's quick-input call
    const wchar_t* background;  // RCDATA picture name; null: none
    const wchar_t* arrow;       // RCDATA picture name: four frames side by side
    HMODULE module;             // holds the pictures; null: the resource library
    bool arrowFlag;
    // Split lines of the background picture (x, y, x, y).
    int splitLeft, splitTop, splitRight, splitBottom;
    int marginLeft, marginTop, marginRight, marginBottom;
    // Arrow y when drawn at the top; its distance from the bottom edge when drawn there.
    int arrowTopOffset, arrowBottomOffset;
    int linger;   // ms; 0 hides as soon as the mouse leaves
    int closeId;  // -1: OnHintClosed is not called
};

class t_wndRichHint : public t_wndTop, public t_wndUiSub, public t_wndRichHintDelegate {
public:
    // Frames of the arrow strip: two pointing down (bubble above), two pointing up.
    enum t_arrowFrame {
        e_arrowDown = 0,
        e_arrowDownAlt = 1,
        e_arrowUp = 2,
        e_arrowUpAlt = 3,
        e_arrowFrames = 4
    };

    t_wndRichHint();
    ~t_wndRichHint() override;

    // The process-wide class name, filled by the user before RegisterClass.
    static wchar_t* ClassNameBuffer();
    // Registers the class named in the buffer (once per name); false when it cannot.
    static bool RegisterClass();

    void OnMouseMove(UINT keys, int x, int y) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool OnLButtonDown(UINT keys, int x, int y) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;
    void Paint_Layout(t_paintCtx& context) override;
    bool OnTimer(UINT_PTR id) override;
    // A layered tool window of the registered class, owned by the window in ownerHwnd
    // (no owner and topmost when the runtime asks for a topmost UI).
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR ownerHwnd, HINSTANCE instance,
                t_wndBase* parent) override;
    void Destroy() override;
    // The text as markup.
    void SetText(const wchar_t* text) override;
    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    void Init(const t_richHintRequest& request);
    // One row per "\r\n"-separated piece; plain pieces become one text element each.
    void SetContent(const wchar_t* text, bool plain);
    // Plain text, then a right-aligned link row that asks the host for quick input.
    void SetContentWithMoreLink(const wchar_t* text);
    // Measures the rows, sizes the window and stretches every row to the content width.
    using t_wndTop::Measure;
    bool Measure(SIZE& size);
    // Places the bubble above or below the anchor (screen rectangle) and shows it.
    void ShowAt(const RECT& anchor, bool preferAbove);
    // now: hides at once; otherwise starts the hide delay.
    using t_wndTop::Hide;
    void Hide(bool now);
    // Pushes the rendered window with a constant alpha.
    void SetLayerAlpha(int value);

    // The delegate's operations.
    void OnHref(const wchar_t* href, const wchar_t* text) override;
    void OnAction(const wchar_t* action, const wchar_t* text) override;
    void OnButton(int id, const wchar_t* text) override;
    void OnCheck(int id, const wchar_t* text) override;
    void Redraw() override;
    void OnImageClick() override;
    bool GetEnvBool(const wchar_t* name, bool& value) override;
    bool GetEnvInt(const wchar_t* name, int& value) override;
    void OnHintClosed() override;

    // The row under a client point and its origin; null when none.
    t_richHintRow* RowHitTest(POINT point, POINT& origin);
    int RowCount() const { return rows.Count(); }
    t_richHintRow* RowAt(int index) const { return rows[index]; }
    // The arrow frame Paint draws (valid while the arrow is shown).
    t_arrowFrame ArrowFrame() const;
    bool HasBackground() const { return backgroundLoaded; }
    bool HasArrow() const { return arrowShown && arrow; }

    HWND ownerValue;
    itl::ImmSimpleArray<t_richHintRow*> rows;  // owned
    t_richHintRow* hoveredRow;                 // not owned
    bool hoverFlag;
    int contentWidth, contentHeight;
    HMODULE module;
    bool backgroundLoaded;
    t_imageSource* background;
    int backgroundWidth, backgroundHeight;
    bool arrowShown;
    t_imageSource* arrow;
    int arrowWidth, arrowHeight;
    int splitLeft, splitTop, splitRight, splitBottom;
    int marginLeft, marginTop, marginRight, marginBottom;
    bool placedAbove;
    bool arrowFrameFlag;
    int arrowX;
    int arrowTopOffset, arrowBottomOffset;
    int linger;
    bool loopFlag;
    int leaveTime, fadeTime;
    bool clicked;
    int closeId;

protected:
    // Opens a link's address; tests observe it here instead of in a browser.
    virtual void OpenHref(const wchar_t* href);

private:
    // Frees the rows, or keeps them until the element handler in progress returns.
    void ReleaseRows();
    void FreeRetiredRows();
    // Frees both pictures and clears their flags.
    void FreePictures();
    // The row-relative element handlers run between these: a hide or new content from
    // inside a handler must not delete the element still running.
    void BeginDispatch() { ++m_dispatchDepth; }
    void EndDispatch();
    // The client point of a screen point.
    POINT ToClient(int x, int y) const;
    int ArrowSpace() const;
    int BodyTop() const;
    // Releases the hovered element of the hovered row (OnLeave) and forgets both.
    void LeaveHoveredRow();

    int m_dispatchDepth;
    itl::ImmSimpleArray<t_richHintRow*> m_retiredRows;
};
