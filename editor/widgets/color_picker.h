// The colour field of the property pages: two owner-drawn halves that show the current
// colour. "选色" opens the system colour dialog, "取色" the screen magnifier that takes the
// colour of any pixel on the screen. Either action ends with a message to the parent.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "editor/framework/dialog.h"
#include "editor/framework/editor_messages.h"
#include "editor/framework/window.h"

namespace n_colorPicker {
const int c_chooseButtonId = 100;
const int c_pickButtonId = 101;
const int c_customColorCount = 16;

// The system colour dialog (or the stand-in SetChooseColorFn put in place) owned by owner,
// starting at color, with the shared custom colours; true, with color taken, on OK.
bool ChooseColorFor(HWND owner, COLORREF& color);
// Black on light colours, white on dark ones (by luma): the inverse colour of a mid grey
// is that grey again.
COLORREF ContrastingTextColor(COLORREF color);
// A colour field: the rectangle framed by the black pen and filled with the colour, the
// label on one line in its middle in ContrastingTextColor.
void DrawColorField(HDC dc, const RECT& rect, COLORREF color, const wchar_t* label, HFONT font);
}  // namespace n_colorPicker

class ColorPicker : public Frame {
public:
    // The screen colour picker: a borderless topmost dialog in a screen corner that keeps
    // out of the cursor's way, with a 2x magnifier, a swatch and the RGB readout. A click
    // anywhere or Enter takes the colour; Esc or another program's activation cancels.
    class PickColorMagnifier : public Dialog {
    public:
        PickColorMagnifier();

        LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
        int OnInitDialog() override;
        int OnCommand(WPARAM wParam, LPARAM lParam) override;
        int OnDrawItem(int id, DRAWITEMSTRUCT* item) override;

        COLORREF GetColor() const { return m_color; }
        // Moves the dialog to the screen origin, or to the opposite corner when it is there.
        void Place();

    private:
        // One poll of the cursor: magnifier repaint, the jump away and the colour under it.
        void OnTimer();
        void EndCapture();
        void DrawMagnifier(const DRAWITEMSTRUCT& item);
        void DrawSwatch(const DRAWITEMSTRUCT& item);

        COLORREF m_color;
        bool m_capturing;
        POINT m_lastCursor;
    };

    // The system colour dialog; tests put a stand-in here. Null restores ChooseColorW.
    using t_chooseColorFn = BOOL(WINAPI*)(CHOOSECOLORW*);
    static void SetChooseColorFn(t_chooseColorFn fn);
    // The 16 custom colours every picker's colour dialog shares.
    static COLORREF* CustomColors();

    ColorPicker();
    ~ColorPicker() override;

    // A visible child frame over the rectangle with its two halves; 0 when the frame
    // cannot be made.
    int Create(int left, int top, int right, int bottom, HWND parent, HINSTANCE instance);
    void Enable(bool enable);
    COLORREF GetColor() const { return m_color; }
    void SetColor(COLORREF color) { m_color = color; }
    void Relayout();
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    // The open magnifier, null when none.
    PickColorMagnifier* Magnifier() const { return m_magnifier; }
    HWND ChooseButton() const { return m_chooseButton; }
    HWND PickButton() const { return m_pickButton; }

private:
    void DrawHalf(const DRAWITEMSTRUCT& item);
    void Repaint();
    void Choose();
    void Pick();

    HWND m_chooseButton;
    HWND m_pickButton;
    bool m_focused;
    // The shared widget font, not owned.
    HFONT m_font;
    COLORREF m_color;
    PickColorMagnifier* m_magnifier;
    HINSTANCE m_instance;
};
