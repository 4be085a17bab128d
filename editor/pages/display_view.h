// The display page (dialog 132): fonts, font sizes and text colours of the input windows,
// the large-font, Aero and glow switches, and the two settings of the preview alone (the
// candidates per page, kept in the editor's settings, and the preview's font size).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/pages/sub_dialog.h"

class DisplayInfo;
class t_iconInformation;

// One font family as the font enumeration reports it.
struct t_fontFace {
    std::wstring fullName;
    BYTE charset;
};

// The Chinese font list: GB2312 faces without '@', each name once (exact match), in the
// order given.
std::vector<std::wstring> ChineseFontNames(const std::vector<t_fontFace>& faces);
// The English font list: faces without '@', a name equal (case-insensitively, over its
// first 64 characters) to one already listed left out.
std::vector<std::wstring> EnglishFontNames(const std::vector<t_fontFace>& faces);
// Moves every name beginning with "汉仪" to stand directly before "宋体" (else "SimSun"),
// keeping their order; without either anchor the list stays as it is.
void PlaceHanyiBeforeSongti(std::vector<std::wstring>& names);
// A font size typed by the user: non-empty, digits only, 1 to 99.
bool IsValidFontSize(const wchar_t* text);

class DisplayView : public SubDialog {
public:
    static const int c_templateId = 132;

    DisplayView();
    ~DisplayView() override;

    int StoreToModel() override;
    int OnInitDialog() override;
    int OnDrawItem(int id, DRAWITEMSTRUCT* item) override;
    int OnClick(int id) override;
    int OnSelChange(int id) override;
    int OnTextChange(int id) override;
    int OnEditChange(int id) override;

    // Fills the two font combos from these faces (the page's own enumeration passes the
    // system's and the private fonts).
    void FillFontLists(const std::vector<t_fontFace>& chinese, const std::vector<t_fontFace>& english);
    // The items of a combo box in list order.
    std::vector<std::wstring> ComboItems(int id);
    // The colour a colour button shows; null for other ids or without a bound part.
    COLORREF* ColorOf(int id);

    // Whether the Aero note was shown in this run (tests start again with false).
    static bool AeroNoteShown();
    static void ResetAeroNote();

protected:
    void FillControls() override;

private:
    DisplayInfo* Display() const;
    // Selects the item that shows the size exactly, else writes the size into the edit part.
    void SelectSize(int id, int value);
    void PickColor(int id);
    // The message of an invalid size.
    void ShowSizeError();
    void ShowAeroNote();
    static std::vector<t_fontFace> EnumerateFonts(HDC dc, BYTE charset);

    std::unique_ptr<t_iconInformation> m_largeFontTip;
    std::unique_ptr<t_iconInformation> m_fontTip;
};
