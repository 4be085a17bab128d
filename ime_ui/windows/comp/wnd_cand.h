// The candidate window of the separate layouts ("VxPY_Cand"): the host's candidate list in
// an embedded candidate string, beside the separate composition window. It shares the
// frame of the composition windows and reports its rectangles, its showing, its painting
// and the mouse with the candidate under it.
#pragma once

#include <windows.h>

#include "ime_ui/windows/cand/wnd_cand_string.h"
#include "ime_ui/windows/comp/wnd_comp_frame.h"

class t_wndCand : public t_wndCompFrame {
public:
    t_wndCand();
    ~t_wndCand() override;

    static void SetClassName(const wchar_t* name);
    static const wchar_t* ClassName();
    static bool RegisterClass(HINSTANCE instance);

    // The skin, then whether the candidate string shows its own page-turn item (neither the
    // separate composition window nor this one has a page-up button), then the rebuild.
    void ResetUi(int arg) override;
    t_layoutWnd* CreateLayout() override;
    int HitCandidate(int x, int y) override;

    t_wndCandString candString;
    int lastScreenLeft, lastScreenTop;  // -1 until placed

    static constexpr int c_minimumWidth = 85;

protected:
    bool CreateParts(HINSTANCE instance) override;
    void PullContent() override;
    void ConfigureParts(bool verticalSkin) override;
    void ResetParts() override;
    void ReportBounds(const RECT& r) override;
};

// The index of the first of the candidate string's ten item rectangles that holds the
// screen point; -1 when none.
int HitCandidateRects(const t_wndCandString& candidates, int x, int y);
// The candidate string takes the skin's zoom factor (0 without zoom) as its scale.
void ApplyCandidateScale(t_wndCandString& candidates, const t_uiSkinData* skin);
// Tells the host the candidate string's ten item rectangles with the window's rectangle.
void ReportCandItemRects(const t_wndCandString& candidates, t_uiContext& context, const RECT& window);
