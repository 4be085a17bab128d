// A composition hint written in DirectUI markup. The item owns the element tree built from
// the markup and serves as its delegate: fonts and colours come from the item's style,
// pictures and links go to the host. A new markup stays hidden for 400 ms before the host
// is asked to refresh the window, so that a hint changing quickly does not flicker.
#pragma once

#include <windows.h>

#include "foundation/core/str.h"
#include "ime_ui/windows/base/wnd_string_item.h"
#include "toolkit/directui/du_delegate.h"

namespace DirectUI {
class DuElementWindow;
}

// Timer of the delay after a markup change, its tick and the ticks to wait.
const UINT_PTR c_duHintTimerId = 101;
const UINT c_duHintTickMs = 50;
const int c_duHintWaitTicks = 8;
// Fade timer of the DirectUI hint (its index in the composition string plus 150).
const int c_duHintFadeTimerId = 160;
// Kind of picture the host is asked for.
const int c_duHintImageKind = 5;

class t_wndDuHint : public DirectUI::DuDelegate, public t_wndStringItem {
public:
    t_wndDuHint();
    ~t_wndDuHint() override;

    // Null stops the delay. A markup equal to the current one (letter case aside) changes
    // nothing; another is loaded and, when not empty, the delay starts again.
    void SetMarkup(const wchar_t* markup);
    const t_str& Markup() const { return markup; }
    DirectUI::DuElementWindow* Root() const { return root; }
    // The delay is over: the tree is measured and painted.
    bool IsReady() const { return tickCounter >= c_duHintWaitTicks; }

    void OnMouseMove(UINT, int, int) override {}
    void OnMouseLeave() override {}
    bool OnLButtonUp(UINT keys, int x, int y) override;
    void Paint_Text(t_paintCtx& context) override;
    bool OnTimer(UINT_PTR id) override;
    int Measure(HDC dc) override;
    bool HitTest(int x, int y, int mode) override;
    void Rebuild() override;

    // The delegate of the element tree.
    void OnLinkClick(const wchar_t* href, int flags) override;
    void Reserved1() override {}
    void Reserved2() override {}
    void Reserved3() override {}
    void Reserved4() override {}
    void Reserved5() override {}
    uint32_t GetTextColor() override;
    uint32_t GetBackColor() override;
    const wchar_t* GetFontName() override;
    int GetFontSize() override;
    bool UseSmoothFont() override;
    bool LoadUrlImage(const wchar_t* folder, const wchar_t* fileName, const wchar_t* url,
                      DirectUI::DuPicture& picture) override;
    bool LoadResImage(const wchar_t*, DirectUI::DuPicture&) override { return false; }

    t_str markup;
    DirectUI::DuElementWindow* root;  // owned
    int tickCounter;

private:
    // Kills the delay timer when it runs.
    void StopDelay();
    bool m_delayRunning;
    wchar_t m_faceName[LF_FACESIZE];
};
