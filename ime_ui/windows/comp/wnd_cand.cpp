#include "ime_ui/windows/comp/wnd_cand.h"

#include <algorithm>
#include <new>

#include "foundation/core/owned.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_grid.h"
#include "ime_ui/skin/skin_button.h"
#include "ime_ui/windows/buttons/button_layer.h"
#include "ime_ui/windows/buttons/status_button_factory.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"

namespace {

t_uiWindowClass g_candClass = {L"VxPY_Cand"};

const int c_pageUpKind = static_cast<int>(t_skinButton::e_pageUp);

}  // namespace

int HitCandidateRects(const t_wndCandString& candidates, int x, int y)
{
    RECT rects[t_wndCandString::c_itemRectCount];
    const int count = std::min(candidates.GetItemRects(rects), t_wndCandString::c_itemRectCount);
    const POINT point = {x, y};
    for (int i = 0; i < count; ++i) {
        if (PtInRect(&rects[i], point))
            return i;
    }
    return -1;
}

void ReportCandItemRects(const t_wndCandString& candidates, t_uiContext& context, const RECT& window)
{
    RECT rects[t_wndCandString::c_itemRectCount];
    const int count = std::min(candidates.GetItemRects(rects), t_wndCandString::c_itemRectCount);
    context.Imc().SetCandItemRects(context.hostWindow, rects, count, window.left, window.top, window.right,
                                   window.bottom);
}

void ApplyCandidateScale(t_wndCandString& candidates, const t_uiSkinData* skin)
{
    candidates.SetScaleFactor(skin && skin->ZoomOn() ? skin->ZoomFactor() : 0.0);
    candidates.ApplyScale();
}

t_wndCand::t_wndCand()
    : t_wndCompFrame(t_compWindowKind{&g_candClass,
                                      {t_uiWindow::e_h2Cand, t_skinScheme::e_h2, t_skinArea::e_h2Cand},
                                      {t_uiWindow::e_v2Cand, t_skinScheme::e_v2, t_skinArea::e_v2Cand},
                                      1, c_minimumWidth, false, true}),
      lastScreenLeft(-1), lastScreenTop(-1)
{
    blurBehind = true;
}

t_wndCand::~t_wndCand() { Destroy(); }

void t_wndCand::SetClassName(const wchar_t* name) { g_candClass.SetName(name); }
const wchar_t* t_wndCand::ClassName() { return g_candClass.name; }
bool t_wndCand::RegisterClass(HINSTANCE instance) { return g_candClass.Register(instance); }

bool t_wndCand::CreateParts(HINSTANCE instance)
{
    candString.SetContext(m_context);
    return CreatePart(candString, instance);
}

void t_wndCand::ResetUi(int arg)
{
    if (!Settings() || !Skin())
        return;
    ApplySkin();
    // A page-up button of either separate window pages the list: the string shows no
    // page-turn item of its own then.
    const bool verticalSkin = IsAltStyle(Settings());
    const t_uiWindow composition = verticalSkin ? t_uiWindow::e_v2Comp : t_uiWindow::e_h2Comp;
    candString.showTurnPage =
        !ButtonShown(composition, c_pageUpKind) && !ButtonShown(SchemeOf(verticalSkin).window, c_pageUpKind);
    t_wndBase::ResetUi(arg);
}

t_layoutWnd* t_wndCand::CreateLayout()
{
    t_uiSkinData* skin = Skin();
    if (!Settings() || !skin)
        return nullptr;
    vertical = IsAltStyle(Settings());
    candString.orientation = vertical ? t_wndTextArray::e_column : t_wndTextArray::e_row;
    const int window = static_cast<int>(SchemeOf(vertical).window);

    auto inner = MakeOwned<t_layoutAligned>();
    auto grid = MakeOwned<t_layoutGrid>(1, 1);
    auto holder = MakeOwned<t_layoutAligned>();
    if (!inner || !grid || !holder)
        return nullptr;
    candString.CreateLayout();
    // Without the skin's alignment the string's node is deleted and the string forgets it.
    t_layoutPtr content(candString.layout);
    t_alignInfo record;
    const t_skinAlignId id = vertical ? t_skinAlignId::e_v2Zhongwen : t_skinAlignId::e_h2Zhongwen;
    if (content && skin->GetAlign(static_cast<int>(id), record))
        inner->AddChild(std::move(content), record);
    content.reset();

    ClearSkinChildren();
    CreateWindowButtons(Buttons(vertical), window, this, GetContext());
    CreateFlashes(window);

    grid->SetRowInfo(0, 0, 0, 0, 0.0f);
    grid->SetColumnInfo(0, 0, 0, 0, 1.0f);
    grid->AddChildAt(std::move(inner), 0, 0);
    holder->AddChild(std::move(grid), t_alignInfo::Default());
    t_layoutGrid* buttonGrid = nullptr;
    auto root = BuildButtonLayer(std::move(holder), Buttons(vertical), 0, buttonGrid);
    if (root)
        PlaceFlashes(root.get(), buttonGrid, window, 0);
    SetLayout(std::move(root));
    return nullptr;
}

void t_wndCand::ConfigureParts(bool verticalSkin)
{
    candString.SetTurnPageAlign(verticalSkin ? 1 : 3, 0);
    SetKeepFlags(candString, false, verticalSkin && !ChildMode());
}

void t_wndCand::ResetParts()
{
    candString.SetLayoutNode(nullptr);
    ApplyCandidateScale(candString, Skin());
}

void t_wndCand::PullContent() { candString.Update(); }

int t_wndCand::HitCandidate(int x, int y) { return HitCandidateRects(candString, x, y); }

void t_wndCand::ReportBounds(const RECT& r)
{
    RECT onScreen;
    if (hwnd && GetWindowRect(hwnd, &onScreen)) {
        lastScreenLeft = onScreen.left;
        lastScreenTop = onScreen.top;
    }
    t_uiContext& context = *GetContext();
    context.Imc().SetCandWindowRect(context.hostWindow, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReportCandItemRects(candString, context, r);
}
