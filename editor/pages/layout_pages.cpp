#include "editor/pages/layout_pages.h"

#include <commctrl.h>

#include "editor/framework/wait_cursor.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/color_picker.h"
#include "editor/widgets/file_dialog_preview.h"
#include "editor/widgets/manual_adjust_window.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/combine_info.h"
#include "skin_model/ime_skin.h"
#include "skin_model/separate_info.h"

// Grip codes of the adjustment window: the edges, then the anchor point.
enum t_gripCode {
    e_gripTop = 0,
    e_gripBottom = 1,
    e_gripLeft = 2,
    e_gripRight = 3,
    e_gripAnchor = 4
};

// A number edit with its spin, bound to values(part)[index].
struct t_numberField {
    int edit;
    int spin;
    int high;
    int* (*values)(LayoutInfo&);
    int index;

    int* Value(LayoutInfo& part) const { return values(part) + index; }
};

struct t_windowForm {
    int adjustId;
    int pictureEdit, pictureImport, maskEdit, maskImport;
    int horizontalList, verticalList;
    // By grip code: top, bottom, left, right.
    int edges[4];
    int edgeSpins[4];
    bool* (*hasPicture)(LayoutInfo&);
    wchar_t* (*picture)(LayoutInfo&);
    wchar_t* (*mask)(LayoutInfo&);
    int* (*horizontal)(LayoutInfo&);
    int* (*vertical)(LayoutInfo&);
};

struct t_layoutPageForm {
    int titleStatic;
    int pictureCheck;
    int transparentCheck, transparentStatic;
    // 0 on the separate pages.
    int separatorCheck, separatorStatic;
    int separatorEdits[4];
    int anchors[2], anchorSpins[2];
    int adjustArea;
    int windowCount;
    t_windowForm windows[LayoutPage::c_maxWindows];
    const t_numberField* margins;
    int marginCount;
};

namespace {
const int c_numberLimit = 3;
const int c_edgeHigh = 999;
const int c_marginHigh = 200;
const int c_adjustInset = 10;
const int c_separateWindowHeight = 100;
const int c_separateSecondTop = 120;
const UINT c_editUpdate = EN_UPDATE;
const UINT c_listCloseUp = CBN_CLOSEUP;

const wchar_t* const c_horizontalStretch[] = {L"中间拉伸", L"中间平铺"};
const wchar_t* const c_verticalStretch[] = {L"中间拉伸", L"中间平铺", L"纵向固定"};

CombineInfo& Combined(LayoutInfo& part) { return static_cast<CombineInfo&>(part); }
SeparateInfo& Separate(LayoutInfo& part) { return static_cast<SeparateInfo&>(part); }

// The margin arrays the number fields point into.
int* CombinedSeparator(LayoutInfo& p) { return Combined(p).separator; }
int* CombinedPinyin(LayoutInfo& p) { return Combined(p).pinyinMarge; }
int* CombinedCand(LayoutInfo& p) { return Combined(p).zhongwenMarge; }
int* SeparatePinyin(LayoutInfo& p) { return Separate(p).pinyinMarge; }
int* SeparateCand(LayoutInfo& p) { return Separate(p).zhongwenMarge; }

const t_numberField c_combineMargins[] = {
    {c_combineSeparatorLeft, c_combineSeparatorLeftSpin, c_edgeHigh, CombinedSeparator, 1},
    {c_combineSeparatorRight, c_combineSeparatorRightSpin, c_edgeHigh, CombinedSeparator, 2},
    {c_combinePinyinTop, c_combinePinyinTopSpin, c_marginHigh, CombinedPinyin, 0},
    {c_combinePinyinSeparator, c_combinePinyinSeparatorSpin, c_marginHigh, CombinedPinyin, 1},
    {c_combinePinyinLeft, c_combinePinyinLeftSpin, c_marginHigh, CombinedPinyin, 2},
    {c_combinePinyinRight, c_combinePinyinRightSpin, c_marginHigh, CombinedPinyin, 3},
    {c_combineCandSeparator, c_combineCandSeparatorSpin, c_marginHigh, CombinedCand, 0},
    {c_combineCandBottom, c_combineCandBottomSpin, c_marginHigh, CombinedCand, 1},
    {c_combineCandLeft, c_combineCandLeftSpin, c_marginHigh, CombinedCand, 2},
    {c_combineCandRight, c_combineCandRightSpin, c_marginHigh, CombinedCand, 3},
};

const t_numberField c_separateMargins[] = {
    {c_separatePinyinTop, c_separatePinyinTopSpin, c_marginHigh, SeparatePinyin, 0},
    {c_separatePinyinBottom, c_separatePinyinBottomSpin, c_marginHigh, SeparatePinyin, 1},
    {c_separatePinyinLeft, c_separatePinyinLeftSpin, c_marginHigh, SeparatePinyin, 2},
    {c_separatePinyinRight, c_separatePinyinRightSpin, c_marginHigh, SeparatePinyin, 3},
    {c_separateCandTop, c_separateCandTopSpin, c_marginHigh, SeparateCand, 0},
    {c_separateCandBottom, c_separateCandBottomSpin, c_marginHigh, SeparateCand, 1},
    {c_separateCandLeft, c_separateCandLeftSpin, c_marginHigh, SeparateCand, 2},
    {c_separateCandRight, c_separateCandRightSpin, c_marginHigh, SeparateCand, 3},
};

const t_layoutPageForm c_combineForm = {
    c_combineTitle,
    c_combineNoPicture,
    c_combineNoTransparent,
    c_combineTransparentColor,
    c_combineNoSeparator,
    c_combineSeparatorColor,
    {c_combineSeparatorLeft, c_combineSeparatorLeftSpin, c_combineSeparatorRight, c_combineSeparatorRightSpin},
    {c_combineAnchorLeft, c_combineAnchorTop},
    {c_combineAnchorLeftSpin, c_combineAnchorTopSpin},
    c_combineAdjustArea,
    1,
    {{1,
      c_combinePicture,
      c_combinePictureImport,
      c_combineMask,
      c_combineMaskImport,
      c_combineHorizontalList,
      c_combineVerticalList,
      {c_combineTopEdge, c_combineBottomEdge, c_combineLeftEdge, c_combineRightEdge},
      {c_combineTopEdgeSpin, c_combineBottomEdgeSpin, c_combineLeftEdgeSpin, c_combineRightEdgeSpin},
      [](LayoutInfo& p) { return &Combined(p).hasPic; },
      [](LayoutInfo& p) { return &Combined(p).pic[0]; },
      [](LayoutInfo& p) { return &Combined(p).picMask[0]; },
      [](LayoutInfo& p) { return &Combined(p).layoutHorizontal[0]; },
      [](LayoutInfo& p) { return &Combined(p).layoutVertical[0]; }},
     {}},
    c_combineMargins,
    static_cast<int>(sizeof(c_combineMargins) / sizeof(c_combineMargins[0])),
};

const t_layoutPageForm c_separateForm = {
    c_separateTitle,
    c_separateNoPicture,
    c_separateNoTransparent,
    c_separateTransparentColor,
    0,
    0,
    {},
    {c_separateAnchorLeft, c_separateAnchorTop},
    {c_separateAnchorLeftSpin, c_separateAnchorTopSpin},
    c_separateAdjustArea,
    2,
    {{1,
      c_separatePinyinPicture,
      c_separatePinyinPictureImport,
      c_separatePinyinMask,
      c_separatePinyinMaskImport,
      c_separatePinyinHorizontalList,
      c_separatePinyinVerticalList,
      {c_separatePinyinTopEdge, c_separatePinyinBottomEdge, c_separatePinyinLeftEdge, c_separatePinyinRightEdge},
      {c_separatePinyinTopEdgeSpin, c_separatePinyinBottomEdgeSpin, c_separatePinyinLeftEdgeSpin,
       c_separatePinyinRightEdgeSpin},
      [](LayoutInfo& p) { return &Separate(p).pinyinHasPic; },
      [](LayoutInfo& p) { return &Separate(p).pinyinPic[0]; },
      [](LayoutInfo& p) { return &Separate(p).pinyinPicMask[0]; },
      [](LayoutInfo& p) { return &Separate(p).pinyinLayoutHorizontal[0]; },
      [](LayoutInfo& p) { return &Separate(p).pinyinLayoutVertical[0]; }},
     {2,
      c_separateCandPicture,
      c_separateCandPictureImport,
      c_separateCandMask,
      c_separateCandMaskImport,
      c_separateCandHorizontalList,
      c_separateCandVerticalList,
      {c_separateCandTopEdge, c_separateCandBottomEdge, c_separateCandLeftEdge, c_separateCandRightEdge},
      {c_separateCandTopEdgeSpin, c_separateCandBottomEdgeSpin, c_separateCandLeftEdgeSpin,
       c_separateCandRightEdgeSpin},
      [](LayoutInfo& p) { return &Separate(p).zhongwenHasPic; },
      [](LayoutInfo& p) { return &Separate(p).zhongwenPic[0]; },
      [](LayoutInfo& p) { return &Separate(p).zhongwenPicMask[0]; },
      [](LayoutInfo& p) { return &Separate(p).zhongwenLayoutHorizontal[0]; },
      [](LayoutInfo& p) { return &Separate(p).zhongwenLayoutVertical[0]; }}},
    c_separateMargins,
    static_cast<int>(sizeof(c_separateMargins) / sizeof(c_separateMargins[0])),
};

// The edge an edit holds: window and grip code; false when it is no edge edit.
bool FindEdge(const t_layoutPageForm& form, int id, int& window, int& code)
{
    for (int w = 0; w < form.windowCount; ++w)
        for (int c = 0; c < 4; ++c)
            if (form.windows[w].edges[c] == id) {
                window = w;
                code = c;
                return true;
            }
    return false;
}

int AnchorIndex(const t_layoutPageForm& form, int id)
{
    for (int i = 0; i < 2; ++i)
        if (form.anchors[i] == id)
            return i;
    return -1;
}

int OppositeEdge(int code) { return code ^ 1; }

int& EdgeValue(const t_windowForm& window, LayoutInfo& part, int code)
{
    int* list = code == e_gripTop || code == e_gripBottom ? window.vertical(part) : window.horizontal(part);
    return list[code == e_gripTop || code == e_gripLeft ? 1 : 2];
}

WPARAM EdgesWParam(const t_windowForm& window, LayoutInfo& part)
{
    return MAKELONG(EdgeValue(window, part, e_gripTop), EdgeValue(window, part, e_gripBottom));
}

LPARAM EdgesLParam(const t_windowForm& window, LayoutInfo& part)
{
    return MAKELONG(EdgeValue(window, part, e_gripLeft), EdgeValue(window, part, e_gripRight));
}
}  // namespace

namespace n_layoutPage {
int PullBackIntoPicture(int value, int size, int other)
{
    const int limit = other < size ? size - other : 1;
    return value >= limit ? limit - 1 : value;
}

bool OpacityShown(int request, int position, int& shown, int& snapped)
{
    snapped = position;
    switch (request) {
    case TB_LINEUP:
    case TB_PAGEUP:
        shown = position + 10;
        break;
    case TB_LINEDOWN:
    case TB_PAGEDOWN:
        shown = position - 10;
        break;
    case TB_TOP:
        shown = 0;
        break;
    case TB_BOTTOM:
        shown = 100;
        break;
    case TB_ENDTRACK:
        snapped = position - position % 10;
        shown = snapped;
        break;
    default:
        return false;
    }
    shown = shown < 0 ? 0 : shown > 255 ? 255 : shown;
    return true;
}
}  // namespace n_layoutPage

LayoutPage::LayoutPage(t_partIndex part, const t_layoutPageForm& form, const wchar_t* title, bool notifyOnSelChange)
    : SubDialog(part), m_form(form), m_title(title), m_notifyOnSelChange(notifyOnSelChange),
      m_transparentPicker(nullptr), m_separatorPicker(nullptr), m_adjust{}, m_echo(0)
{}

LayoutPage::~LayoutPage()
{
    delete m_transparentPicker;
    delete m_separatorPicker;
    for (ManualAdjustWindow*& window : m_adjust)
        delete window;
}

LayoutInfo* LayoutPage::Layout() const { return static_cast<LayoutInfo*>(m_part); }

ManualAdjustWindow* LayoutPage::AdjustWindow(int window) const
{
    return window >= 0 && window < m_form.windowCount ? m_adjust[window] : nullptr;
}

int LayoutPage::WindowCount() const { return m_form.windowCount; }

int LayoutPage::OnInitDialog()
{
    SetLive(false);
    if (m_title)
        SetItemText(m_form.titleStatic, m_title);
    for (int w = 0; w < m_form.windowCount; ++w) {
        const t_windowForm& window = m_form.windows[w];
        for (const wchar_t* item : c_horizontalStretch)
            ComboAdd(window.horizontalList, item);
        for (const wchar_t* item : c_verticalStretch)
            ComboAdd(window.verticalList, item);
        for (int c = 0; c < 4; ++c) {
            LimitText(window.edges[c], c_numberLimit);
            SetSpinRange(window.edgeSpins[c], 0, c_edgeHigh);
        }
    }
    for (int i = 0; i < 2; ++i) {
        LimitText(m_form.anchors[i], c_numberLimit);
        SetSpinRange(m_form.anchorSpins[i], 0, c_edgeHigh);
    }
    for (int i = 0; i < m_form.marginCount; ++i) {
        LimitText(m_form.margins[i].edit, c_numberLimit);
        SetSpinRange(m_form.margins[i].spin, 0, m_form.margins[i].high);
    }
    SetSliderRange(c_layoutOpacitySlider, 0, 100, 10);
    SendMessageW(GetItem(c_layoutOpacitySlider), TBM_SETLINESIZE, 0, 1);
    SendMessageW(GetItem(c_layoutOpacitySlider), TBM_SETPAGESIZE, 0, 10);
    CreateAdjustWindows();
    CreatePickers();
    FocusItem(m_form.pictureCheck);
    return Dialog::OnInitDialog();
}

void LayoutPage::CreateAdjustWindows()
{
    RECT area;
    if (!GetItemRect(m_form.adjustArea, area))
        SetRectEmpty(&area);
    bool failed = false;
    for (int w = 0; w < m_form.windowCount; ++w) {
        RECT place = area;
        if (m_form.windowCount == 1) {
            InflateRect(&place, -c_adjustInset, -c_adjustInset);
        } else {
            place.left += c_adjustInset;
            place.right -= c_adjustInset;
            place.top += w == 0 ? c_adjustInset : c_separateSecondTop;
            place.bottom = place.top + c_separateWindowHeight;
        }
        // Only the window that has the anchor gets the point grip.
        ManualAdjustWindow* window = new ManualAdjustWindow(m_form.windows[w].adjustId, w == 0);
        if (!window->Create(m_hwnd, place.left, place.top, place.right, place.bottom, GetModuleInstance())) {
            delete window;
            window = nullptr;
            failed = true;
        }
        m_adjust[w] = window;
    }
    if (failed)
        MessageBoxW(m_hwnd, L"创建手工调整区域失败，手工调整将不可使用", L"错误", MB_OK);
}

void LayoutPage::CreatePickers()
{
    RECT rect;
    if (GetItemRect(m_form.transparentStatic, rect)) {
        m_transparentPicker = new ColorPicker;
        m_transparentPicker->Create(rect.left, rect.top, rect.right, rect.bottom, m_hwnd, GetModuleInstance());
    }
    if (m_form.separatorStatic && GetItemRect(m_form.separatorStatic, rect)) {
        m_separatorPicker = new ColorPicker;
        m_separatorPicker->Create(rect.left, rect.top, rect.right, rect.bottom, m_hwnd, GetModuleInstance());
    }
}

void LayoutPage::FillControls()
{
    LayoutInfo* part = Layout();
    if (!part)
        return;
    const bool pictureUsed = *m_form.windows[0].hasPicture(*part);
    CheckItem(m_form.pictureCheck, pictureUsed ? BST_UNCHECKED : BST_CHECKED);
    for (int w = 0; w < m_form.windowCount; ++w) {
        const t_windowForm& window = m_form.windows[w];
        SetItemText(window.pictureEdit, window.picture(*part));
        SetItemText(window.maskEdit, window.mask(*part));
        ComboSetCurSel(window.horizontalList, window.horizontal(*part)[0]);
        ComboSetCurSel(window.verticalList, window.vertical(*part)[0]);
        // Copies first: each edit's notice stores the edits back into the part.
        int edges[4];
        for (int c = 0; c < 4; ++c)
            edges[c] = EdgeValue(window, *part, c);
        for (int c = 0; c < 4; ++c)
            SetItemInt(window.edges[c], edges[c]);
    }
    const int anchor[2] = {part->anchor[0], part->anchor[1]};
    for (int i = 0; i < 2; ++i)
        SetItemInt(m_form.anchors[i], anchor[i]);
    for (int i = 0; i < m_form.marginCount; ++i)
        SetItemInt(m_form.margins[i].edit, *m_form.margins[i].Value(*part));
    if (m_transparentPicker) {
        m_transparentPicker->SetColor(part->transparentColor);
        InvalidateRect(m_transparentPicker->GetHwnd(), nullptr, TRUE);
    }
    CheckItem(m_form.transparentCheck, part->transparentEnabled ? BST_UNCHECKED : BST_CHECKED);
    if (m_form.separatorCheck) {
        CombineInfo& combined = Combined(*part);
        if (m_separatorPicker) {
            m_separatorPicker->SetColor(static_cast<COLORREF>(combined.separator[0]));
            InvalidateRect(m_separatorPicker->GetHwnd(), nullptr, TRUE);
        }
        CheckItem(m_form.separatorCheck, combined.separatorEnabled ? BST_UNCHECKED : BST_CHECKED);
        ApplySeparatorRule(combined.separatorEnabled);
    }
    SetSliderPos(c_layoutOpacitySlider, part->opacity);
    SetItemInt(c_layoutOpacityValue, part->opacity);
    ApplyPictureRule(pictureUsed);
    ApplyTransparentRule(part->transparentEnabled);
    for (int w = 0; w < m_form.windowCount; ++w) {
        SendEdges(w);
        SendPicture(w);
    }
    SendAnchor();
}

int LayoutPage::StoreToModel()
{
    LayoutInfo* part = Layout();
    if (!part)
        return 0;
    const bool pictureUsed = IsItemChecked(m_form.pictureCheck) != BST_CHECKED;
    for (int w = 0; w < m_form.windowCount; ++w) {
        const t_windowForm& window = m_form.windows[w];
        *window.hasPicture(*part) = pictureUsed;
        GetItemText(window.pictureEdit, window.picture(*part), BaseInfo::c_pathChars);
        GetItemText(window.maskEdit, window.mask(*part), BaseInfo::c_pathChars);
        // A list without a selection (a value the lists do not offer) keeps the part's value.
        const LRESULT horizontal = ComboGetCurSel(window.horizontalList);
        const LRESULT vertical = ComboGetCurSel(window.verticalList);
        if (horizontal >= 0)
            window.horizontal(*part)[0] = static_cast<int>(horizontal);
        if (vertical >= 0)
            window.vertical(*part)[0] = static_cast<int>(vertical);
        for (int c = 0; c < 4; ++c)
            EdgeValue(window, *part, c) = GetItemInt(window.edges[c]);
    }
    for (int i = 0; i < 2; ++i)
        part->anchor[i] = GetItemInt(m_form.anchors[i]);
    for (int i = 0; i < m_form.marginCount; ++i)
        *m_form.margins[i].Value(*part) = GetItemInt(m_form.margins[i].edit);
    if (m_transparentPicker)
        part->transparentColor = m_transparentPicker->GetColor();
    part->transparentEnabled = IsItemChecked(m_form.transparentCheck) != BST_CHECKED;
    if (m_form.separatorCheck) {
        CombineInfo& combined = Combined(*part);
        if (m_separatorPicker)
            combined.separator[0] = static_cast<int>(m_separatorPicker->GetColor());
        combined.separatorEnabled = IsItemChecked(m_form.separatorCheck) != BST_CHECKED;
    }
    part->opacity = static_cast<int>(GetSliderPos(c_layoutOpacitySlider));
    return 1;
}

void LayoutPage::ApplyPictureRule(bool used)
{
    for (int w = 0; w < m_form.windowCount; ++w) {
        const t_windowForm& window = m_form.windows[w];
        const int ids[] = {window.pictureEdit, window.pictureImport,  window.maskEdit,
                           window.maskImport,  window.horizontalList, window.verticalList};
        for (int id : ids)
            EnableItem(id, used);
        for (int c = 0; c < 4; ++c) {
            EnableItem(window.edges[c], used);
            EnableItem(window.edgeSpins[c], used);
        }
        if (m_adjust[w])
            m_adjust[w]->Enable(used);
    }
    for (int i = 0; i < 2; ++i) {
        EnableItem(m_form.anchors[i], used);
        EnableItem(m_form.anchorSpins[i], used);
    }
}

void LayoutPage::ApplyTransparentRule(bool used)
{
    if (m_transparentPicker)
        m_transparentPicker->Enable(used);
    EnableItem(c_layoutOpacitySlider, used);
    EnableItem(c_layoutOpacityValue, used);
    if (m_form.windowCount == 1)
        CheckItem(m_form.transparentCheck, used ? BST_UNCHECKED : BST_CHECKED);
}

void LayoutPage::ApplySeparatorRule(bool used)
{
    if (m_separatorPicker)
        m_separatorPicker->Enable(used);
    for (int id : m_form.separatorEdits)
        EnableItem(id, used);
    CheckItem(m_form.separatorCheck, used ? BST_UNCHECKED : BST_CHECKED);
}

void LayoutPage::SendEdges(int window)
{
    LayoutInfo* part = Layout();
    if (!part || !m_adjust[window])
        return;
    const t_windowForm& form = m_form.windows[window];
    SendMessageW(m_adjust[window]->GetHwnd(), n_manualAdjust::c_setMargins, EdgesWParam(form, *part),
                 EdgesLParam(form, *part));
}

void LayoutPage::SendAnchor()
{
    LayoutInfo* part = Layout();
    if (!part || !m_adjust[0])
        return;
    SendMessageW(m_adjust[0]->GetHwnd(), n_manualAdjust::c_setPoint, MAKELONG(part->anchor[0], part->anchor[1]), 0);
}

void LayoutPage::SendPicture(int window)
{
    LayoutInfo* part = Layout();
    if (!part || !m_adjust[window])
        return;
    const t_windowForm& form = m_form.windows[window];
    wchar_t path[MAX_PATH] = L"";
    if (*form.hasPicture(*part) && !IMESkin::Instance()->ResolvePath(path, form.picture(*part)))
        path[0] = L'\0';
    SendMessageW(m_adjust[window]->GetHwnd(), n_manualAdjust::c_loadPicture, 0, reinterpret_cast<LPARAM>(path));
}

int LayoutPage::OnClick(int id)
{
    if (id == m_form.pictureCheck) {
        ApplyPictureRule(IsItemChecked(id) != BST_CHECKED);
        NotifyChanged(true);
    } else if (id == m_form.transparentCheck) {
        ApplyTransparentRule(IsItemChecked(id) != BST_CHECKED);
        NotifyChanged(false);
    } else if (m_form.separatorCheck && id == m_form.separatorCheck) {
        ApplySeparatorRule(IsItemChecked(id) != BST_CHECKED);
        NotifyChanged(false);
    } else {
        for (int w = 0; w < m_form.windowCount; ++w)
            if (id == m_form.windows[w].pictureImport || id == m_form.windows[w].maskImport)
                Import(id);
    }
    return 0;
}

void LayoutPage::Import(int button)
{
    int edit = 0;
    for (int w = 0; w < m_form.windowCount; ++w) {
        if (button == m_form.windows[w].pictureImport)
            edit = m_form.windows[w].pictureEdit;
        else if (button == m_form.windows[w].maskImport)
            edit = m_form.windows[w].maskEdit;
    }
    CFileDialogPreview dialog;
    dialog.Configure(GetModuleInstance(), c_dialogFilePreview, c_filePreviewPicture);
    if (!edit || !dialog.ChooseOpenFile(m_hwnd, GetImageFilter(), nullptr))
        return;
    // The preview decodes the picture as the field changes: a large one takes a while.
    WaitCursor wait(m_hwnd);
    SetItemText(edit, dialog.GetPath());
    NotifyChanged(true);
}

int LayoutPage::OnSelChange(int id)
{
    if (m_notifyOnSelChange)
        NotifyChanged(false);
    return SubDialog::OnSelChange(id);
}

int LayoutPage::OnTextChange(int id)
{
    LayoutInfo* part = Layout();
    int window = 0;
    int code = 0;
    const int anchor = AnchorIndex(m_form, id);
    if (m_echo && part) {
        if (anchor >= 0) {
            part->anchor[anchor] = GetItemInt(id);
            SendAnchor();
        } else if (FindEdge(m_form, id, window, code)) {
            EdgeValue(m_form.windows[window], *part, code) = GetItemInt(id);
            for (int w = 0; w < m_form.windowCount; ++w)
                SendEdges(w);
        }
    }
    m_echo = 1;
    bool repaint = false;
    for (int w = 0; w < m_form.windowCount; ++w)
        repaint = repaint || id == m_form.windows[w].pictureEdit;
    NotifyChanged(repaint);
    return 0;
}

bool LayoutPage::CheckBound(int id)
{
    int window = 0;
    int code = 0;
    const int anchor = AnchorIndex(m_form, id);
    const bool edge = FindEdge(m_form, id, window, code);
    if (anchor < 0 && !edge)
        return false;
    for (int w = 0; w < m_form.windowCount; ++w)
        if (!m_adjust[w])
            return false;
    if (anchor >= 0)
        window = 0;
    int width = 0;
    int height = 0;
    m_adjust[window]->GetPictureSize(width, height);
    const bool horizontal = anchor >= 0 ? anchor == 0 : code == e_gripLeft || code == e_gripRight;
    const int size = horizontal ? width : height;
    // Without a picture there is nothing to measure against: the typed value stays.
    if (size <= 0)
        return false;
    const int other = anchor >= 0 ? 0 : GetItemInt(m_form.windows[window].edges[OppositeEdge(code)]);
    const int value = GetItemInt(id);
    const int pulled = n_layoutPage::PullBackIntoPicture(value, size, other);
    if (pulled == value)
        return false;
    m_echo = 0;
    SetItemInt(id, pulled);
    return true;
}

void LayoutPage::OnGripMoved(int window, int code, LPARAM value)
{
    LayoutInfo* part = Layout();
    if (window < 0 || window >= m_form.windowCount || !part)
        return;
    const t_windowForm& form = m_form.windows[window];
    const int x = static_cast<short>(LOWORD(value));
    const int y = static_cast<short>(HIWORD(value));
    m_echo = 0;
    if (code == e_gripAnchor && window == 0) {
        part->anchor[0] = x;
        part->anchor[1] = y;
        SetItemInt(m_form.anchors[0], x);
        m_echo = 0;
        SetItemInt(m_form.anchors[1], y);
    } else if (code >= e_gripTop && code <= e_gripRight) {
        const int v = code == e_gripTop || code == e_gripBottom ? y : x;
        EdgeValue(form, *part, code) = v;
        SetItemInt(form.edges[code], v);
    }
    m_echo = 1;
}

void LayoutPage::OnHScroll(int request, HWND control)
{
    if (control != GetItem(c_layoutOpacitySlider)) {
        Dialog::OnHScroll(request, control);
        return;
    }
    if (request > TB_ENDTRACK)
        return;
    int shown = 0;
    int snapped = 0;
    const int position = static_cast<int>(GetSliderPos(c_layoutOpacitySlider));
    if (n_layoutPage::OpacityShown(request, position, shown, snapped)) {
        if (snapped != position)
            SetSliderPos(c_layoutOpacitySlider, snapped);
        SetItemInt(c_layoutOpacityValue, shown);
    }
    NotifyChanged(false);
}

void LayoutPage::NotifyChanged(bool repaint)
{
    SubDialog::NotifyChanged(repaint);
    ShowCommittedPictureNames();
    if (repaint)
        for (int w = 0; w < m_form.windowCount; ++w)
            SendPicture(w);
}

void LayoutPage::ShowCommittedPictureNames()
{
    LayoutInfo* part = Layout();
    if (!part || !IsLive())
        return;
    // Committing the change imports a picture chosen outside the skin under the part's own
    // name. The fields take that name, or the next store would import the outside file
    // again, and fail once the file is gone.
    SetLive(false);
    for (int w = 0; w < m_form.windowCount; ++w) {
        const t_windowForm& window = m_form.windows[w];
        const struct {
            int edit;
            const wchar_t* name;
        } fields[2] = {{window.pictureEdit, window.picture(*part)}, {window.maskEdit, window.mask(*part)}};
        for (const auto& field : fields) {
            wchar_t shown[BaseInfo::c_pathChars] = L"";
            GetItemText(field.edit, shown, BaseInfo::c_pathChars);
            if (wcscmp(shown, field.name) != 0)
                SetItemText(field.edit, field.name);
        }
    }
    SetLive(true);
}

LRESULT LayoutPage::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) == c_editUpdate && IsLive()) {
            if (!CheckBound(id))
                return 0;
        } else if (HIWORD(wParam) == c_listCloseUp) {
            for (int w = 0; w < m_form.windowCount; ++w)
                if (id == m_form.windows[w].horizontalList || id == m_form.windows[w].verticalList)
                    NotifyChanged(false);
        }
    } else if (message == n_colorPicker::c_dialogClosed || message == n_colorPicker::c_magnifierClosed) {
        NotifyChanged(false);
    } else if (message == n_manualAdjust::c_gripMoved) {
        // A separate page tells its windows apart by their control ids (1 pinyin, 2 candidates).
        const int control = HIWORD(wParam);
        int target = 0;
        for (int w = 0; w < m_form.windowCount; ++w)
            if (m_form.windows[w].adjustId == control)
                target = w;
        OnGripMoved(m_form.windowCount == 1 ? 0 : target, LOWORD(wParam), lParam);
    }
    return SubDialog::WndProc(window, message, wParam, lParam);
}

HorizontalCombinePage::HorizontalCombinePage()
    : LayoutPage(t_partIndex::e_horizontalCombined, c_combineForm, nullptr, false)
{}

VerticalCombinePage::VerticalCombinePage()
    : LayoutPage(t_partIndex::e_verticalCombined, c_combineForm, L"竖排合窗口设置", true)
{}

HorizontalSeparatePage::HorizontalSeparatePage()
    : LayoutPage(t_partIndex::e_horizontalSeparate, c_separateForm, nullptr, true)
{}

int HorizontalSeparatePage::OnClick(int id)
{
    LayoutPage::OnClick(id);
    StoreToModel();
    return 0;
}

VerticalSeparatePage::VerticalSeparatePage()
    : LayoutPage(t_partIndex::e_verticalSeparate, c_separateForm, L"竖排分窗口设置", true)
{}

int VerticalSeparatePage::OnClick(int id)
{
    LayoutPage::OnClick(id);
    StoreToModel();
    return 0;
}
