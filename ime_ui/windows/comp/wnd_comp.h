// The composition windows of the input method. t_wndComp2 is the composition window of
// the separate layouts ("VxPY_Comp2"): the composition string alone, the candidates going
// to t_wndCand. t_wndComp is the combined window ("VxPY_Comp"): the composition string, an
// optional separator (a line or a nine-part picture) and the candidate string in a column.
#pragma once

#include <windows.h>

#include "ime_ui/windows/cand/wnd_cand_string.h"
#include "ime_ui/windows/comp/wnd_comp_frame.h"
#include "ime_ui/windows/comp/wnd_comp_string.h"
#include "ime_ui/windows/ime_messages.h"
#include "toolkit/controls/wnd_separator.h"

class t_layoutAligned;
class t_layoutGrid;

class t_wndComp2 : public t_wndCompFrame {
public:
    t_wndComp2();
    ~t_wndComp2() override;

    static void SetClassName(const wchar_t* name);
    static const wchar_t* ClassName();
    static bool RegisterClass(HINSTANCE instance);

    // Stores the context and hands it to the composition string.
    void SetContext(t_uiContext* context);
    // The composition string's version hint.
    void SetVersionHint(bool on) { compString.showVersionHint = on; }

    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The skin, then the search-button flag of the composition string, then the rebuild.
    void ResetUi(int arg) override;
    t_layoutWnd* CreateLayout() override;

    t_wndCompString compString;

protected:
    bool CreateParts(HINSTANCE instance) override;
    void PullContent() override;
    void ConfigureParts(bool verticalSkin) override;
    void ResetParts() override;
    void ReportBounds(const RECT& r) override;

public:
    static constexpr int c_minimumWidth = 180;
};

class t_wndComp : public t_wndCompFrame {
public:
    t_wndComp();
    ~t_wndComp() override;

    static void SetClassName(const wchar_t* name);
    static const wchar_t* ClassName();
    static bool RegisterClass(HINSTANCE instance);

    void SetVersionHint(bool on) { compString.showVersionHint = on; }

    // Relays the host message, then reports it unhandled.
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // The skin, the candidate string's page-turn and the search-button flags, the rebuild.
    void ResetUi(int arg) override;
    // The column of composition, separator and candidates, with the buttons of each cell.
    t_layoutWnd* CreateLayout() override;
    void MoveTo(int x, int y) override;
    int HitCandidate(int x, int y) override;
    // Measures again with a device context of the window.
    void Cloud_RelayoutComp(HWND window);
    void OnMessage47B(HWND window) override { Cloud_RelayoutComp(window); }
    // Sets the mouse cursor.
    virtual void SetCursor(HCURSOR cursor);

    // Reads the orientation's separator into the separator element; false when there is
    // none. alignment receives the separator's alignment record.
    bool ReadSeparator(bool verticalSkin, t_alignInfo& alignment);

    t_wndCompString compString;
    t_wndSeperator separator;
    t_wndCandString candString;
    // Words of the candidate alignment record.
    int candAlign[4];
    // The remembered candidate cell of the layout; null until built.
    t_layoutAligned* candCell;

    static constexpr int c_minimumWidth = 180;

protected:
    bool CreateParts(HINSTANCE instance) override;
    void PullContent() override;
    void ConfigureParts(bool verticalSkin) override;
    void ResetParts() override;
    void ReportBounds(const RECT& r) override;
    void AfterMeasure() override;

private:
    // The buttons and flash items of one cell placed around layout; null without settings.
    std::unique_ptr<t_layoutAligned> PlaceButtonsInCell(t_layoutPtr inner, int cell);
};

// Posts the relay message on to the host window unless the window is hidden while the
// host window shows.
void RelayCompMessage(t_wndCompFrame& window, HWND hostWindow, WPARAM wParam, LPARAM lParam);
