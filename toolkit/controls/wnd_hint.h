// The plain tooltip of a top window: multi-line text on a fixed background with a black
// frame, shown below or above an anchor rectangle and kept topmost while shown.
#pragma once

#include <windows.h>

#include "graphics/text/multi_line_text.h"
#include "toolkit/controls/wnd_top.h"

// Timer that re-asserts the topmost place every second while the tooltip is shown.
const UINT_PTR c_hintTopmostTimerId = 123;
const UINT c_hintTopmostMs = 1000;

class t_wndHint : public t_wndTop {
public:
    t_wndHint();
    ~t_wndHint() override;

    void Paint_Layout(t_paintCtx& context) override;
    // Makes the tooltip window; the owner arrives in the id argument.
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR ownerHwnd, HINSTANCE instance,
                t_wndBase* parent) override;
    void Destroy() override;
    // Splits the text into lines at CR, LF and CR LF.
    void SetText(const wchar_t* text) override;
    // A tooltip shows no tooltip of its own.
    void ShowHint(bool show) override;
    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Hides the tooltip and stops its topmost timer.
    void Hide() override;

    // Size of the text with its margins (widest line + 4, summed heights + 8); false when
    // there is no text.
    bool MeasureHint(SIZE& size);
    // Places the tooltip below the anchor (above when it does not fit, or when below is
    // false) and shows it. Nothing without text.
    void ShowNearRect(const RECT& anchor, bool below);

    // The font every tooltip uses (made on first use, kept for the process).
    static HFONT HintFont();

    const t_multiLineText& Lines() const { return m_lines; }

private:
    void StopTopmostTimer();

    t_multiLineText m_lines;
    bool m_timerRunning = false;
};
