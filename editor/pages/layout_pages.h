// The "窗口设置" pages of the four layout tab views: how one input window of the skin is
// drawn (background picture and mask, nine-part stretching with fixed edges, separator,
// area margins, input anchor, transparent colour and opacity). The combined pages edit one
// window holding pinyin and candidates (template 136), the separate pages a pinyin window
// and a candidate window (template 142). A manual adjustment window per picture shows the
// fixed edges and the anchor as guide lines the user drags; a finished drag comes back as
// a message and lands in the edits without being echoed to the window.
#pragma once

#include "editor/pages/sub_dialog.h"

class ColorPicker;
class ManualAdjustWindow;
class LayoutInfo;

namespace n_layoutPage {
// The value a fixed edge or anchor edit may hold when the picture is size pixels along
// its axis and the opposite edge is at other: below size - other (below 1 when the
// opposite edge leaves no room). A value at or above that limit becomes limit - 1.
int PullBackIntoPicture(int value, int size, int other);
// What the opacity slider's value static shows after a scroll request at position,
// clamped to 0..255; false when the request shows nothing. The end of tracking also snaps
// the slider down to a multiple of 10 (snapped; else the position).
bool OpacityShown(int request, int position, int& shown, int& snapped);
}  // namespace n_layoutPage

// One page's controls: which edits, lists and pictures belong to which window.
struct t_layoutPageForm;

// What the combined and separate pages share; the form names their controls.
class LayoutPage : public SubDialog {
public:
    // The windows a page has: one (combined) or two (separate: pinyin, then candidates).
    static const int c_maxWindows = 2;

    ~LayoutPage() override;

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    int StoreToModel() override;
    int OnClick(int id) override;
    int OnSelChange(int id) override;
    int OnTextChange(int id) override;
    void OnHScroll(int request, HWND control) override;
    void NotifyChanged(bool repaint) override;

    // Null when the window could not be made.
    ManualAdjustWindow* AdjustWindow(int window) const;
    ColorPicker* TransparentPicker() const { return m_transparentPicker; }
    ColorPicker* SeparatorPicker() const { return m_separatorPicker; }
    int WindowCount() const;

protected:
    LayoutPage(t_partIndex part, const t_layoutPageForm& form, const wchar_t* title, bool notifyOnSelChange);

    void FillControls() override;

private:
    LayoutInfo* Layout() const;
    void CreateAdjustWindows();
    void CreatePickers();
    void ApplyPictureRule(bool used);
    void ApplyTransparentRule(bool used);
    void ApplySeparatorRule(bool used);
    // The fixed edges of a window to its adjustment window.
    void SendEdges(int window);
    void SendAnchor();
    // The resolved picture of a window, "" when the page's pictures are not used.
    void SendPicture(int window);
    // A grip drag ended in window (control id) with code and value.
    void OnGripMoved(int window, int code, LPARAM value);
    // EN_UPDATE of a fixed edge or anchor edit: pulls a value beyond the picture back;
    // true when it changed the text.
    bool CheckBound(int id);
    void Import(int button);
    // The picture and mask fields show the names the part holds after a commit.
    void ShowCommittedPictureNames();

    const t_layoutPageForm& m_form;
    const wchar_t* m_title;
    bool m_notifyOnSelChange;
    ColorPicker* m_transparentPicker;
    ColorPicker* m_separatorPicker;
    ManualAdjustWindow* m_adjust[c_maxWindows];
    // Cleared while the page writes values that came from an adjustment window (or the
    // bound check), so they are not sent back to it.
    unsigned char m_echo;
};

class HorizontalCombinePage : public LayoutPage {
public:
    HorizontalCombinePage();
};

class VerticalCombinePage : public LayoutPage {
public:
    VerticalCombinePage();
};

class HorizontalSeparatePage : public LayoutPage {
public:
    HorizontalSeparatePage();
    // Every click also stores the page.
    int OnClick(int id) override;
};

class VerticalSeparatePage : public LayoutPage {
public:
    VerticalSeparatePage();
    int OnClick(int id) override;
};
