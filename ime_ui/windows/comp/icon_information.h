// A small window (a static control of a dialog) turned into an information icon: it paints
// a picture from the program's resources, shows the hand cursor, pops up the shared rich
// hint with a tip and a link when the mouse rests on it, and opens the link on a click.
#pragma once

#include <windows.h>

#include "foundation/core/str.h"
#include "toolkit/controls/wnd_base_handle.h"

class t_wndRichHint;

class t_iconInformation : public t_wndBaseHandle {
public:
    t_iconInformation();
    // Detaches from the window (the base restores its procedure).
    ~t_iconInformation() override;

    LRESULT WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;

    void SetInfo(const wchar_t* tipText, const wchar_t* linkText, const wchar_t* linkTarget);
    // The hint's markup: the tip, a line break and one right-aligned link whose text and
    // address cannot end the tag or the line early.
    static void BuildHintMarkup(const wchar_t* tipText, const wchar_t* linkText, const wchar_t* linkTarget, t_str& out);

    // The hint all icons share; null until an icon first showed its tip.
    static t_wndRichHint* SharedHint();
    // Decodes "IDR_ICONINFO" of the program once; false while it is not available.
    static bool LoadPicture();

    t_str tipText;
    t_str linkTarget;
    t_str linkText;

protected:
    // Opens the link; tests observe it here instead of in a browser.
    virtual void OpenLink(const wchar_t* target);

private:
    void ShowTip();
    void Paint(HDC dc);
    static void TrackHoverAndLeave(HWND window);
};
