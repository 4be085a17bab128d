#include "ime_ui/windows/comp/wnd_comp.h"

#include <algorithm>
#include <new>

#include "foundation/core/owned.h"
#include "foundation/core/perf.h"
#include "foundation/win/rect.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_grid.h"
#include "graphics/layout/layout_wnd.h"
#include "ime_ui/skin/skin_button.h"
#include "ime_ui/windows/buttons/button_layer.h"
#include "ime_ui/windows/buttons/status_button_factory.h"
#include "ime_ui/windows/comp/wnd_cand.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"

namespace {

t_uiWindowClass g_comp2Class = {L"VxPY_Comp2"};
t_uiWindowClass g_compClass = {L"VxPY_Comp"};

const int c_searchKind = static_cast<int>(t_skinButton::e_vexilsearch);
const int c_pageUpKind = static_cast<int>(t_skinButton::e_pageUp);

// Page-turn alignment of the candidate string in each orientation.
const int c_turnPageAlignH = 3;
const int c_turnPageAlignV = 1;

// The composition window (and, for the combined window, the candidate window: the same
// rectangle) and the caret for the host.
void ReportCompRects(t_wndCompString& compString, t_uiContext& context, const RECT& r, bool combined)
{
    ImcWrapImplBase& imc = context.Imc();
    imc.SetCompWindowRect(context.hostWindow, r.left, r.top, RectWidth(r), RectHeight(r));
    if (combined)
        imc.SetCandWindowRect(context.hostWindow, r.left, r.top, RectWidth(r), RectHeight(r));
    RECT caret = {};
    compString.GetCaretRect(caret);
    imc.SetCaretRect(context.hostWindow, caret.left, caret.top - 2, RectWidth(caret), RectHeight(caret) + 6);
}

// An aligned node holding child at the skin's alignment, when the skin has one; the child is
// deleted otherwise (its element forgets it).
std::unique_ptr<t_layoutAligned> AlignedHolding(t_layoutPtr child, const t_uiSkinData& skin, t_skinAlignId id,
                                                t_alignInfo* used)
{
    auto holder = MakeOwned<t_layoutAligned>();
    t_alignInfo record;
    if (holder && child && skin.GetAlign(static_cast<int>(id), record) &&
        holder->AddChild(std::move(child), record) && used)
        *used = record;
    return holder;
}

}  // namespace

void RelayCompMessage(t_wndCompFrame& window, HWND hostWindow, WPARAM wParam, LPARAM lParam)
{
    if (!window.shown && hostWindow && IsWindowVisible(hostWindow))
        return;
    PostMessageW(hostWindow, c_msgFadeDone, wParam, lParam);
}

// ---- the separate composition window

t_wndComp2::t_wndComp2()
    : t_wndCompFrame(t_compWindowKind{&g_comp2Class,
                                      {t_uiWindow::e_h2Comp, t_skinScheme::e_h2, t_skinArea::e_h2Comp},
                                      {t_uiWindow::e_v2Comp, t_skinScheme::e_v2, t_skinArea::e_v2Comp},
                                      0, c_minimumWidth, true, false})
{}

t_wndComp2::~t_wndComp2() { Destroy(); }

void t_wndComp2::SetClassName(const wchar_t* name) { g_comp2Class.SetName(name); }
const wchar_t* t_wndComp2::ClassName() { return g_comp2Class.name; }
bool t_wndComp2::RegisterClass(HINSTANCE instance) { return g_comp2Class.Register(instance); }

void t_wndComp2::SetContext(t_uiContext* context)
{
    t_wndUiSub::SetContext(context);
    compString.SetContext(context);
}

bool t_wndComp2::CreateParts(HINSTANCE instance)
{
    SetKeepFlags(compString, false, false);
    compString.SetContext(m_context);
    return CreatePart(compString, instance);
}

LRESULT t_wndComp2::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == c_msgFadeDone)
        RelayCompMessage(*this, GetContext()->hostWindow, wParam, lParam);
    return t_wndCompFrame::WndProc(window, msg, wParam, lParam);
}

void t_wndComp2::ResetUi(int arg)
{
    if (!Settings() || !Skin())
        return;
    ApplySkin();
    compString.hasSearchButton = ButtonShown(SchemeOf(IsAltStyle(Settings())).window, c_searchKind);
    t_wndBase::ResetUi(arg);
}

t_layoutWnd* t_wndComp2::CreateLayout()
{
    t_uiSkinData* skin = Skin();
    if (!Settings() || !skin)
        return nullptr;
    vertical = IsAltStyle(Settings());
    const int window = static_cast<int>(SchemeOf(vertical).window);
    compString.CreateLayout();
    auto inner = AlignedHolding(t_layoutPtr(compString.layout), *skin,
                                vertical ? t_skinAlignId::e_v2Pinyin : t_skinAlignId::e_h2Pinyin, nullptr);
    if (!inner)
        return nullptr;
    ClearSkinChildren();
    CreateWindowButtons(Buttons(vertical), window, this, GetContext());
    CreateFlashes(window);
    t_layoutGrid* grid = nullptr;
    auto root = BuildButtonLayer(std::move(inner), Buttons(vertical), 0, grid);
    if (root)
        PlaceFlashes(root.get(), grid, window, 0);
    SetLayout(std::move(root));
    return nullptr;
}

void t_wndComp2::ConfigureParts(bool) {}

void t_wndComp2::ResetParts() { compString.SetLayoutNode(nullptr); }

void t_wndComp2::PullContent() { compString.Update(); }

void t_wndComp2::ReportBounds(const RECT& r) { ReportCompRects(compString, *GetContext(), r, false); }


// ---- the combined window

t_wndComp::t_wndComp()
    : t_wndCompFrame(t_compWindowKind{&g_compClass,
                                      {t_uiWindow::e_h1, t_skinScheme::e_h1, t_skinArea::e_h1},
                                      {t_uiWindow::e_v1, t_skinScheme::e_v1, t_skinArea::e_v1},
                                      0, c_minimumWidth, true, true}),
      candAlign{0, 0, 0, 0}, candCell(nullptr)
{
    frameExParams[4] = 0xFFFBF8;
}

t_wndComp::~t_wndComp() { Destroy(); }

void t_wndComp::SetClassName(const wchar_t* name) { g_compClass.SetName(name); }
const wchar_t* t_wndComp::ClassName() { return g_compClass.name; }
bool t_wndComp::RegisterClass(HINSTANCE instance) { return g_compClass.Register(instance); }

bool t_wndComp::CreateParts(HINSTANCE instance)
{
    const bool keep = !ChildMode();
    SetKeepFlags(compString, keep, keep);
    SetKeepFlags(candString, keep, keep);
    compString.SetContext(m_context);
    candString.SetContext(m_context);
    return CreatePart(compString, instance) && CreatePart(candString, instance) && CreatePart(separator, instance);
}

LRESULT t_wndComp::OnMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (msg == c_msgFadeDone)
        RelayCompMessage(*this, GetContext()->hostWindow, wParam, lParam);
    return t_wndCompFrame::OnMessage(window, msg, wParam, lParam, handled);
}

void t_wndComp::ResetUi(int arg)
{
    if (!Settings() || !Skin())
        return;
    ApplySkin();
    const t_uiWindow window = SchemeOf(IsAltStyle(Settings())).window;
    candString.showTurnPage = !ButtonShown(window, c_pageUpKind);
    compString.hasSearchButton = ButtonShown(window, c_searchKind);
    t_wndBase::ResetUi(arg);
}

bool t_wndComp::ReadSeparator(bool verticalSkin, t_alignInfo& alignment)
{
    separator.kind = 0;
    separator.linePen = nullptr;
    // The separator runs across the column in both orientations.
    separator.orientation = t_wndSeperator::e_horizontal;
    t_uiSkinData* skin = Skin();
    if (!skin)
        return false;
    const int index = verticalSkin ? 1 : 0;
    const t_seperatorMode mode = skin->SeparatorMode(index);
    if (mode == t_seperatorMode::e_none || !skin->GetSeparatorShown(index) || !skin->GetAlign(index, alignment))
        return false;
    if (mode == t_seperatorMode::e_line) {
        const t_skinPen* pen =
            skin->GetPen(static_cast<int>(verticalSkin ? t_skinPenId::e_v1Separator : t_skinPenId::e_h1Separator));
        if (!pen)
            return false;
        separator.kind = t_wndSeperator::e_line;
        separator.linePen = pen->pen;
        return true;
    }
    const t_imageSet9* picture =
        skin->GetArea(static_cast<int>(verticalSkin ? t_skinArea::e_v1Separator : t_skinArea::e_h1Separator));
    if (mode != t_seperatorMode::e_picture || !picture)
        return false;
    separator.kind = t_wndSeperator::e_picture;
    separator.nineImages = *picture;
    return true;
}

namespace {

// The separator element's own node: the line, or the nine pictures inside a node bound to
// the element so that a hidden separator takes no room and paints nothing.
t_layoutPtr SeparatorNode(t_wndSeperator& separator)
{
    if (separator.kind == t_wndSeperator::e_line)
        return t_layoutPtr(separator.CreateLayout());
    if (separator.kind != t_wndSeperator::e_picture)
        return nullptr;
    t_layoutPtr pictures = separator.CreateSeparatorLayout();
    if (!pictures)
        return nullptr;
    const t_image* cells = separator.nineImages.cells;
    const long long height = 0LL + cells[0].partHeight + cells[3].partHeight + cells[6].partHeight;
    separator.measureValue = t_layout::e_fixedHeight;
    separator.rect.right = separator.rect.left;
    separator.rect.bottom = ClampToInt(separator.rect.top + height);
    t_layoutPtr node(separator.t_wndBase::CreateLayout());
    if (node)
        node->SetInner(std::move(pictures));
    return node;
}

}  // namespace

std::unique_ptr<t_layoutAligned> t_wndComp::PlaceButtonsInCell(t_layoutPtr inner, int cell)
{
    if (!inner || !Settings())
        return nullptr;
    t_layoutGrid* grid = nullptr;
    auto placed = BuildButtonLayer(std::move(inner), Buttons(vertical), cell, grid);
    if (placed)
        PlaceFlashes(placed.get(), grid, static_cast<int>(SchemeOf(vertical).window), cell);
    return placed;
}

t_layoutWnd* t_wndComp::CreateLayout()
{
    t_uiSkinData* skin = Skin();
    if (!Settings() || !skin)
        return nullptr;
    vertical = IsAltStyle(Settings());
    candString.orientation = vertical ? t_wndTextArray::e_column : t_wndTextArray::e_row;

    t_alignInfo separatorAlign = t_alignInfo::Default();
    t_layoutPtr separatorNode = ReadSeparator(vertical, separatorAlign) ? SeparatorNode(separator) : nullptr;
    if (!separatorNode)
        separator.kind = 0;
    const bool withSeparator = separatorNode != nullptr;
    auto column = MakeOwned<t_layoutGrid>(withSeparator ? 3 : 2, 1);
    auto separatorCell = withSeparator ? MakeOwned<t_layoutAligned>() : nullptr;
    if (!column || (withSeparator && !separatorCell))
        return nullptr;
    column->SetColumnInfo(0, 0, 0, 0, 1.0f);
    for (int row = 0; row < column->RowCount(); ++row)
        column->SetRowInfo(row, 0, 0, 0, 0.0f);
    if (withSeparator) {
        separatorCell->AddChild(std::move(separatorNode), separatorAlign);
        column->AddChildAt(std::move(separatorCell), 1, 0);
    } else {
        column->SetRowInfo(1, 0, 0, 0, 1.0f);
    }

    const int window = static_cast<int>(SchemeOf(vertical).window);
    ClearSkinChildren();
    CreateWindowButtons(Buttons(vertical), window, this, GetContext());
    CreateFlashes(window);

    compString.CreateLayout();
    auto compCell = AlignedHolding(t_layoutPtr(compString.layout), *skin,
                                   vertical ? t_skinAlignId::e_v1Pinyin : t_skinAlignId::e_h1Pinyin, nullptr);
    if (auto placed = PlaceButtonsInCell(std::move(compCell), 1))
        column->AddChildAt(std::move(placed), 0, 0);

    candString.CreateLayout();
    t_alignInfo candRecord = t_alignInfo::Default();
    auto candidates = AlignedHolding(t_layoutPtr(candString.layout), *skin,
                                     vertical ? t_skinAlignId::e_v1Zhongwen : t_skinAlignId::e_h1Zhongwen, &candRecord);
    candAlign[0] = candRecord.leftMode;
    candAlign[1] = candRecord.leftMargin;
    candAlign[2] = candRecord.rightMode;
    candAlign[3] = candRecord.rightMargin;
    auto candGrid = MakeOwned<t_layoutGrid>(1, 1);
    auto candHolder = MakeOwned<t_layoutAligned>();
    if (candidates && candGrid && candHolder) {
        candGrid->SetRowInfo(0, 0, 0, 0, 0.0f);
        candGrid->SetColumnInfo(0, 0, 0, 0, 1.0f);
        t_layoutAligned* cell = candidates.get();
        candGrid->AddChildAt(std::move(candidates), 0, 0);
        candHolder->AddChild(std::move(candGrid), t_alignInfo::Default());
        auto placed = PlaceButtonsInCell(std::move(candHolder), 2);
        // The cell is remembered only once the tree holds it.
        if (placed && column->AddChildAt(std::move(placed), withSeparator ? 2 : 1, 0))
            candCell = cell;
    }

    auto outer = MakeOwned<t_layoutAligned>();
    if (!outer)
        return nullptr;
    outer->AddChild(std::move(column), t_alignInfo::Default());
    SetLayout(PlaceButtonsInCell(std::move(outer), 0));
    return nullptr;
}

void t_wndComp::ConfigureParts(bool verticalSkin)
{
    candString.SetTurnPageAlign(verticalSkin ? c_turnPageAlignV : c_turnPageAlignH, 0);
    const bool keepH = verticalSkin && !ChildMode();
    SetKeepFlags(compString, false, keepH);
    SetKeepFlags(candString, false, keepH);
}

void t_wndComp::ResetParts()
{
    compString.SetLayoutNode(nullptr);
    candString.SetLayoutNode(nullptr);
    separator.SetLayoutNode(nullptr);
    candCell = nullptr;
    ApplyCandidateScale(candString, Skin());
}

void t_wndComp::PullContent()
{
    compString.Update();
    candString.Update();
    const t_wndCandStringItem* first = candString.CandidateItem(0);
    separator.visible = first && !first->ItemText().IsEmpty();
}

void t_wndComp::AfterMeasure() { CloseMenu(1); }

void t_wndComp::MoveTo(int x, int y)
{
    PerfScope scope("CompOnMove");
    {
        PerfScope first("CompOnMove1");
        t_wndCompFrame::MoveTo(x, y);
    }
    PerfScope second("CompOnMove2");
}

int t_wndComp::HitCandidate(int x, int y) { return HitCandidateRects(candString, x, y); }

void t_wndComp::Cloud_RelayoutComp(HWND window)
{
    PerfScope scope("Cloud_RelayoutComp");
    t_wndCompFrame::OnMessage47B(window);
}

void t_wndComp::SetCursor(HCURSOR newCursor) { ::SetCursor(newCursor); }

void t_wndComp::ReportBounds(const RECT& r)
{
    t_uiContext& context = *GetContext();
    ReportCompRects(compString, context, r, true);
    ReportCandItemRects(candString, context, r);
}
