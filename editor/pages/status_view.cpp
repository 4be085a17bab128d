#include "editor/pages/status_view.h"

#include <commctrl.h>

#include <algorithm>

#include "editor/framework/editor_messages.h"
#include "editor/framework/wait_cursor.h"
#include "editor/pages/btn_page.h"
#include "editor/pages/layout_pages.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/button_array.h"
#include "editor/widgets/color_picker.h"
#include "editor/widgets/file_dialog_preview.h"
#include "editor/widgets/open_file_ctrl.h"
#include "editor/widgets/status_adjust_wnd.h"
#include "editor/widgets/work_folder_file.h"
#include "foundation/core/error_chain.h"
#include "foundation/files/path.h"
#include "foundation/win/rect.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/button_keys.h"
#include "skin_model/button_set.h"
#include "skin_model/ime_skin.h"
#include "skin_model/status_info.h"

namespace {
static_assert(StatusView::c_builtInCount <= BtnPage::c_builtInCount, "the status bar's buttons are a prefix");

const wchar_t c_keyPicture[] = L"pic";
const wchar_t c_keyMask[] = L"pic_mask";
const wchar_t c_keyColour[] = L"transparent_color";
const wchar_t c_keyColourEnabled[] = L"transparent_color_enable";
const wchar_t c_keyOpacity[] = L"opaque";
const wchar_t c_pictureBase[] = L"bar";
const wchar_t c_maskBase[] = L"bar_mask";
const wchar_t c_defaultExtension[] = L".bmp";

const COLORREF c_noColourShown = 0xFFFFFF;
const int c_noKeyColour = -1;
const int c_fullAlpha = 255;
// The path controls: label and button widths; the gaps between the three parts.
const int c_pathLabelWidth = 70;
const int c_pathButtonWidth = 50;
const int c_pathGaps = 6;
// Placement of the rows above the layout editor, in pixels.
const int c_groupLeft = 5;
const int c_groupBottomGap = 3;
const int c_adjustInsetLeft = 4;
const int c_adjustInsetTop = 13;
const int c_adjustInsetWidth = 8;
const int c_adjustInsetHeight = 18;
const int c_opacityGap = 12;
const int c_transparencyGap = 30 + 12;
const int c_editorGap = 6;
const int c_testRowGap = 20;
const int c_startTestLeft = 20;
const int c_stopTestGap = 30;

const int c_opacityRow[] = {c_statusOpacityLabel, c_statusOpacityValue, c_statusOpacityPercent, c_statusOpacitySlider};

int TypeOfAddCommand(int id)
{
    switch (id) {
    case c_statusAddCustom:
        return c_btnCustom;
    case c_statusAddFlash:
        return c_btnFlash;
    case c_statusAddPhotoFrame:
        return c_btnPhotoFrame;
    default:
        return -1;
    }
}

}  // namespace

namespace n_statusView {
void ImportedName(t_str& out, const wchar_t* chosen, const wchar_t* baseName)
{
    out.Assign(baseName);
    const wchar_t* extension = chosen ? n_workFolderFile::ExtensionOf(chosen) : nullptr;
    out.Append(extension ? extension : c_defaultExtension);
}

bool ImportIntoWorkFolder(const wchar_t* chosen, const wchar_t* baseName, t_str& name)
{
    ImportedName(name, chosen, baseName);
    const wchar_t* work = BaseInfo::WorkFolder();
    if (!chosen || !chosen[0] || !work || !work[0])
        return false;
    const t_str target = n_workFolderFile::InWorkFolder(name.c_str());
    // The file chosen may be the target itself: copying it onto itself fails, and the
    // retry would delete the only copy.
    if (n_workFolderFile::SameFile(chosen, target.c_str()))
        return true;
    // A chosen file that is gone costs the target nothing: the retry below deletes it.
    if (!t_path(chosen).IsFile())
        return false;
    t_errorChain errors;
    if (t_path(chosen).Copy(errors, target.c_str(), false))
        return true;
    t_path(target).DeleteQuiet(false);
    t_errorChain retry;
    return t_path(chosen).Copy(retry, target.c_str(), false);
}

LPARAM AnimationButtonId(int index, int type)
{
    return static_cast<LPARAM>((static_cast<unsigned>(type) << 24) | (static_cast<unsigned>(index) & 0xFFFF));
}
}  // namespace n_statusView

StatusView::StatusView()
    : SubDialog(t_partIndex::e_statusBar), m_adjust(nullptr), m_picture(nullptr), m_mask(nullptr), m_picker(nullptr),
      m_view(DisplayOrder(), c_builtInCount, c_windowStatusBar),
      m_list(DisplayOrder(), c_builtInCount, c_windowStatusBar), m_set(nullptr)
{}

StatusView::~StatusView()
{
    delete m_adjust;
    delete m_picture;
    delete m_mask;
    delete m_picker;
}

// The status bar's built-in buttons are the first ten of the input windows', in the same order.
const t_btnDesc* StatusView::DisplayOrder() { return BtnPage::DisplayOrder(); }

StatusInfo* StatusView::Status() const { return static_cast<StatusInfo*>(m_part); }

HWND StatusView::MainFrame() const
{
    const HWND parent = GetParent(m_hwnd);
    return parent ? GetParent(parent) : nullptr;
}

int StatusView::OnInitDialog()
{
    SetLive(false);
    const int result = Dialog::OnInitDialog();
    m_list.Attach(m_hwnd);
    m_view.SetListControl(m_list.Handle());
    m_view.Create(0, m_hwnd, GetModuleInstance());
    CreateChildren();
    for (int row = 0; row < c_builtInCount; ++row) {
        ShowRow(row, m_list.IsChecked(row));
    }
    m_view.Select(0, true);
    m_list.Select(0);
    CheckItem(c_statusStopTest, BST_CHECKED);
    return result;
}

void StatusView::CreateChildren()
{
    const HINSTANCE instance = GetModuleInstance();
    RECT rect;
    if (GetItemRect(c_statusAdjustArea, rect)) {
        m_adjust = new StatusAdjustWnd;
        if (!m_adjust->Create(m_hwnd, rect)) {
            delete m_adjust;
            m_adjust = nullptr;
        }
    }
    struct t_pathField {
        OpenFileCtrl*& field;
        int area;
        const wchar_t* label;
        UINT notification;
    };
    const t_pathField fields[] = {{m_picture, c_statusPictureArea, L"背景图片：", n_statusView::c_pictureChosen},
                                  {m_mask, c_statusMaskArea, L"背景掩码：", n_statusView::c_maskChosen}};
    for (const t_pathField& entry : fields) {
        if (!GetItemRect(entry.area, rect))
            continue;
        entry.field = new OpenFileCtrl;
        const int editWidth = std::max(0, RectWidth(rect) - c_pathLabelWidth - c_pathButtonWidth - c_pathGaps);
        if (!entry.field->Create(m_hwnd, rect, entry.label, c_pathLabelWidth, editWidth, c_pathButtonWidth,
                                 entry.notification)) {
            delete entry.field;
            entry.field = nullptr;
            continue;
        }
        entry.field->SetFilter(GetImageFilter(), GetImageFilterLength());
        entry.field->Show(SW_SHOW);
    }
    if (GetItemRect(c_statusTransparentColor, rect)) {
        m_picker = new ColorPicker;
        m_picker->Create(rect.left, rect.top, rect.right, rect.bottom, m_hwnd, instance);
        m_picker->SetColor(c_noColourShown);
    }
    const RECT empty = {};
    m_view.SetArea(empty);
    CheckItem(c_statusNoTransparent, BST_CHECKED);
    SetSliderRange(c_statusOpacitySlider, 0, 100, 10);
    ApplyTransparentRule(false);
    Layout();
}

void StatusView::Layout()
{
    RECT group;
    if (!m_hwnd || !GetItemRect(c_statusAdjustGroup, group))
        return;
    RECT client;
    GetClientRect(m_hwnd, &client);
    // A page shorter than its template scrolls: the rows keep to the template's bottom.
    int scrolled = 0;
    if (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_VSCROLL)
        scrolled = GetScrollPos(m_hwnd, SB_VERT);
    const int pageHeight = std::max(static_cast<int>(client.bottom), m_height) - scrolled;
    const int width = client.right;
    const int groupHeight = RectHeight(group);
    const int groupTop = pageHeight - groupHeight - c_groupBottomGap;
    MoveWindow(GetItem(c_statusAdjustGroup), c_groupLeft, groupTop, width - 2 * c_groupLeft, groupHeight, TRUE);
    if (m_adjust)
        MoveWindow(m_adjust->GetHwnd(), c_groupLeft + c_adjustInsetLeft, groupTop + c_adjustInsetTop,
                   std::max(0, width - 2 * c_groupLeft - c_adjustInsetWidth),
                   std::max(0, groupHeight - c_adjustInsetHeight), TRUE);

    RECT rect;
    for (int id : c_opacityRow) {
        if (GetItemRect(id, rect))
            MoveWindow(GetItem(id), rect.left, groupTop - RectHeight(rect) - c_opacityGap, RectWidth(rect),
                       RectHeight(rect), TRUE);
    }
    for (int id : {c_statusNoTransparent, c_statusTransparentColor}) {
        if (GetItemRect(id, rect))
            MoveWindow(GetItem(id), rect.left, groupTop - c_transparencyGap - RectHeight(rect), RectWidth(rect),
                       RectHeight(rect), TRUE);
    }
    RECT colour = {};
    if (GetItemRect(c_statusTransparentColor, colour) && m_picker)
        MoveWindow(m_picker->GetHwnd(), colour.left, colour.top, RectWidth(colour), RectHeight(colour), TRUE);

    RECT list;
    if (GetItemRect(t_btnCheckList::c_listId, list)) {
        const int top = list.bottom + c_editorGap;
        const RECT area = {list.left, top, list.right, std::max(top, static_cast<int>(colour.top) - c_editorGap)};
        m_view.SetArea(area);
    }

    RECT start;
    RECT stop;
    if (GetItemRect(c_statusStartTest, start) && GetItemRect(c_statusStopTest, stop)) {
        MoveWindow(GetItem(c_statusStartTest), c_startTestLeft, groupTop - c_testRowGap, RectWidth(start),
                   RectHeight(start), TRUE);
        MoveWindow(GetItem(c_statusStopTest), RectWidth(start) + c_stopTestGap, groupTop - c_testRowGap,
                   RectWidth(stop), RectHeight(stop), TRUE);
    }
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void StatusView::OnSize(WPARAM type, LPARAM size)
{
    SubDialog::OnSize(type, size);
    Layout();
}

void StatusView::OnPaint(HDC dc)
{
    RECT editor;
    if (!m_view.FirstEditorRect(editor))
        return;
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&editor), 2);
    InflateRect(&editor, 1, 1);
    FillRect(dc, &editor, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, &editor, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

int StatusView::LoadFromModel()
{
    SetLive(false);
    m_part = nullptr;
    StatusInfo* status = static_cast<StatusInfo*>(BindPart());
    m_set = status ? &IMESkin::Instance()->ButtonSet(c_windowStatusBar) : nullptr;
    if (!status) {
        SetLive(true);
        return 1;
    }
    LoadPicture();
    LoadMask();
    m_view.Load(*m_set);
    m_list.Load(*m_set);
    for (int row = 0; row < c_builtInCount; ++row) {
        ShowRow(row, m_list.IsChecked(row));
        // The elements take their places quietly: loading moves nothing in the model.
        const t_btnDesc button = m_list.FromFlat(row);
        t_str key;
        MakePropertyKey(key, button.index, button.type, c_propPos);
        int x = 0;
        int y = 0;
        if (!m_set->GetIntByKey(key.c_str(), 0, x))
            x = 0;
        if (!m_set->GetIntByKey(key.c_str(), 1, y))
            y = 0;
        if (m_adjust)
            SendMessageW(m_adjust->GetHwnd(), n_statusAdjust::c_moveButton, static_cast<WPARAM>(row), MAKELPARAM(x, y));
    }
    m_view.Select(0, true);
    m_list.Select(0);
    LoadTransparency();
    CheckItem(c_statusNoPicture, status->editorFlag ? BST_UNCHECKED : BST_CHECKED);
    SetLive(true);
    return 1;
}

int StatusView::StoreToModel()
{
    StatusInfo* status = Status();
    if (!status || !m_set)
        return 0;
    m_view.SaveTo(*m_set);
    m_list.Store(*m_set);
    const bool used = IsItemChecked(c_statusNoTransparent) != BST_CHECKED;
    status->SetInt(c_keyColourEnabled, 0, used ? 1 : 0);
    if (used && m_picker) {
        status->SetInt(c_keyColour, 0, static_cast<int>(m_picker->GetColor()));
        const int percent = static_cast<int>(GetSliderPos(c_statusOpacitySlider));
        status->SetInt(c_keyOpacity, 0, static_cast<int>(PercentToAlpha(static_cast<unsigned>(std::max(0, percent)))));
    } else {
        status->SetInt(c_keyColour, 0, c_noKeyColour);
        status->SetInt(c_keyOpacity, 0, c_fullAlpha);
    }
    SetKeyColour(KeyColour());
    status->editorFlag = IsItemChecked(c_statusNoPicture) != BST_CHECKED ? 1 : 0;
    return 1;
}

int StatusView::KeyColour()
{
    if (!m_picker || IsItemChecked(c_statusNoTransparent) == BST_CHECKED)
        return c_noKeyColour;
    return static_cast<int>(m_picker->GetColor());
}

void StatusView::SetKeyColour(int colour)
{
    if (!m_adjust)
        return;
    m_adjust->SetTransparentColour(colour);
    InvalidateRect(m_adjust->GetHwnd(), nullptr, TRUE);
}

void StatusView::ReloadBar()
{
    if (!m_adjust)
        return;
    if (SendMessageW(m_adjust->GetHwnd(), n_statusAdjust::c_reloadBar, 0, 0) < 0)
        MessageBoxW(nullptr, L"无法打开图片", L"错误", MB_OK);
}

bool StatusView::LoadPicture()
{
    t_str name;
    StatusInfo* status = Status();
    if (status)
        status->GetString(c_keyPicture, 0, name);
    if (m_picture)
        m_picture->SetPath(name.c_str());
    ReloadBar();
    return true;
}

void StatusView::LoadMask()
{
    t_str name;
    StatusInfo* status = Status();
    if (status)
        status->GetString(c_keyMask, 0, name);
    if (name.IsEmpty()) {
        if (m_mask)
            m_mask->SetPath(L"");
        return;
    }
    if (m_mask)
        m_mask->SetPath(name.c_str());
    CheckMask();
}

void StatusView::CheckMask()
{
    StatusInfo* status = Status();
    t_str name;
    if (!status || !status->GetString(c_keyMask, 0, name))
        return;
    if (!name.IsEmpty() && t_path(n_workFolderFile::InWorkFolder(name.c_str())).IsFile())
        return;
    status->SetString(c_keyMask, 0, L"");
    if (m_mask)
        m_mask->SetPath(L"");
}

void StatusView::LoadTransparency()
{
    StatusInfo* status = Status();
    if (!status)
        return;
    int enabled = 0;
    int colour = 0;
    int alpha = c_fullAlpha;
    status->GetInt(c_keyColourEnabled, 0, enabled);
    status->GetInt(c_keyColour, 0, colour);
    status->GetInt(c_keyOpacity, 0, alpha);
    const bool used = enabled != 0;
    CheckItem(c_statusNoTransparent, used ? BST_UNCHECKED : BST_CHECKED);
    if (m_picker) {
        m_picker->SetColor(used ? static_cast<COLORREF>(colour) : c_noColourShown);
        InvalidateRect(m_picker->GetHwnd(), nullptr, TRUE);
    }
    SetKeyColour(used ? colour : c_noKeyColour);
    ApplyTransparentRule(used);
    const int percent = static_cast<int>(AlphaToPercent(static_cast<unsigned>(std::min(std::max(alpha, 0), 255))));
    SetSliderPos(c_statusOpacitySlider, percent);
    SetItemInt(c_statusOpacityValue, percent);
}

void StatusView::ApplyTransparentRule(bool used)
{
    if (m_picker)
        m_picker->Enable(used);
    for (int id : c_opacityRow)
        EnableItem(id, used);
}

void StatusView::ShowElement(int flat, bool shown)
{
    if (m_adjust && flat >= 0 && flat < c_builtInCount)
        m_adjust->ShowButton(flat, shown);
}

void StatusView::ShowRow(int flat, bool shown)
{
    ShowElement(flat, shown);
    m_view.SetButtonShown(flat, shown);
}

bool StatusView::ImportPicture(bool mask, const wchar_t* chosen)
{
    StatusInfo* status = Status();
    if (!status || !chosen)
        return false;
    const t_str source(chosen);
    bool imported;
    {
        // Copying and the preview's reload of a large picture take a while.
        WaitCursor wait(m_hwnd);
        t_str name;
        imported = n_statusView::ImportIntoWorkFolder(source.c_str(), mask ? c_maskBase : c_pictureBase, name);
        if (imported) {
            status->SetString(mask ? c_keyMask : c_keyPicture, 0, name.c_str());
            OpenFileCtrl* field = mask ? m_mask : m_picture;
            if (field)
                field->SetPath(name.c_str());
            if (mask)
                CheckMask();
            else
                ReloadBar();
            NotifyChanged(true);
        }
    }
    if (!imported) {
        t_errorChain errors;
        errors.Fail(L"%s：%s", L"无法导入图片", source.c_str());
        errors.ShowReport(m_hwnd, nullptr);
        if (mask)
            CheckMask();
        else
            LoadPicture();
    }
    return imported;
}

int StatusView::AddButton(int type)
{
    if (!m_set)
        return -1;
    const int flat = n_buttonPage::AddButton(*m_set, m_list, m_view, type);
    if (flat >= 0)
        NotifyChanged(false);
    return flat;
}

bool StatusView::DeleteSelected()
{
    if (!m_set || n_buttonPage::DeleteSelected(*m_set, m_list, m_view) < 0)
        return false;
    NotifyChanged(false);
    return true;
}

void StatusView::StartTest()
{
    const int row = m_list.SelectedRow();
    if (row < 0)
        return;
    const t_btnDesc button = m_list.FromFlat(row);
    CheckItem(c_statusStartTest, BST_CHECKED);
    CheckItem(c_statusStopTest, BST_UNCHECKED);
    const HWND frame = MainFrame();
    if (frame)
        SendMessageW(frame, n_editorMessage::c_buttonAnimation, 1,
                     n_statusView::AnimationButtonId(button.index, button.type));
}

void StatusView::StopTest()
{
    CheckItem(c_statusStartTest, BST_UNCHECKED);
    CheckItem(c_statusStopTest, BST_CHECKED);
    const HWND frame = MainFrame();
    if (frame)
        SendMessageW(frame, n_editorMessage::c_buttonAnimation, 0, 0);
}

int StatusView::OnClick(int id)
{
    const int type = TypeOfAddCommand(id);
    if (type >= 0) {
        AddButton(type);
        return 0;
    }
    switch (id) {
    case c_statusNoTransparent:
        ApplyTransparentRule(IsItemChecked(id) != BST_CHECKED);
        NotifyChanged(false);
        return 0;
    case c_statusDelete:
        DeleteSelected();
        return 0;
    case c_statusStartTest:
        StartTest();
        return 0;
    case c_statusStopTest:
        StopTest();
        return 0;
    case c_statusNoPicture:
        NotifyChanged(false);
        return 0;
    default:
        return SubDialog::OnClick(id);
    }
}

int StatusView::OnNotify(int id, NMHDR* header, LRESULT& result)
{
    if (id == t_btnCheckList::c_listId && header && header->code == LVN_ITEMCHANGED) {
        OnListItemChanged(*reinterpret_cast<const NMLISTVIEW*>(header));
        result = 0;
        return 1;
    }
    return SubDialog::OnNotify(id, header, result);
}

void StatusView::OnListItemChanged(const NMLISTVIEW& change)
{
    if (m_list.IsFilling() || !(change.uChanged & LVIF_STATE) || change.iItem < 0)
        return;
    const int row = change.iItem;
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) {
        if (m_view.CurrentEditor() != row)
            m_view.Select(row, true);
        StopTest();
    }
    bool checked = false;
    if (!n_buttonPage::CheckToggled(change, checked) || !m_set)
        return;
    const t_btnDesc button = m_list.FromFlat(row);
    m_set->SetButtonVisible(button.index, button.type, checked);
    ShowRow(row, checked);
    StopTest();
    NotifyChanged(false);
}

void StatusView::OnElementFocused(int flat)
{
    if (flat < 0 || flat >= m_list.RowCount())
        return;
    m_view.Select(flat, false);
    if (m_list.SelectedRow() != flat)
        m_list.Select(flat);
    StopTest();
}

void StatusView::OnElementMoved(int flat, int x, int y)
{
    m_view.SetButtonPosition(flat, x, y);
    if (m_adjust)
        InvalidateRect(m_adjust->GetHwnd(), nullptr, TRUE);
    NotifyChanged(false);
}

void StatusView::SendButtonPicture(int flat, WPARAM name)
{
    if (!m_adjust || flat < 0 || flat >= c_builtInCount)
        return;
    SendMessageW(m_adjust->GetHwnd(), n_statusAdjust::c_setButtonPicture, name, MAKELPARAM(0, flat));
    ShowElement(flat, m_list.IsChecked(flat));
}

void StatusView::OnHScroll(int request, HWND control)
{
    if (control != GetItem(c_statusOpacitySlider)) {
        SubDialog::OnHScroll(request, control);
        return;
    }
    int shown = 0;
    int snapped = 0;
    const int position = static_cast<int>(GetSliderPos(c_statusOpacitySlider));
    if (n_layoutPage::OpacityShown(request, position, shown, snapped)) {
        if (snapped != position)
            SetSliderPos(c_statusOpacitySlider, snapped);
        SetItemInt(c_statusOpacityValue, shown);
    }
    NotifyChanged(false);
}

LRESULT StatusView::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case n_statusView::c_pictureChosen:
    case n_statusView::c_maskChosen: {
        const bool mask = message == n_statusView::c_maskChosen;
        const OpenFileCtrl* field = mask ? m_mask : m_picture;
        if (field)
            ImportPicture(mask, field->ChosenFile().c_str());
        return 0;
    }
    case c_msgButtonPictureChanged:
        // The bar shows each button's first picture: only the first variant's lead row.
        if (LOWORD(lParam) == 0)
            SendButtonPicture(HIWORD(lParam), wParam);
        NotifyChanged(true);
        return 0;
    case c_msgButtonEditorLoaded:
        SendButtonPicture(HIWORD(lParam), wParam);
        return 0;
    case c_msgButtonPlacementChanged:
        if (m_adjust)
            SendMessageW(m_adjust->GetHwnd(), n_statusAdjust::c_moveButton, wParam, lParam);
        NotifyChanged(false);
        return 0;
    case c_msgButtonStateEdited:
        NotifyChanged(true);
        return 0;
    case n_statusAdjust::c_buttonFocused:
        OnElementFocused(static_cast<int>(wParam));
        return 0;
    case n_statusAdjust::c_buttonMoved:
        OnElementMoved(static_cast<int>(wParam), static_cast<short>(LOWORD(lParam)),
                       static_cast<short>(HIWORD(lParam)));
        return 0;
    case n_colorPicker::c_dialogClosed:
    case n_colorPicker::c_magnifierClosed:
        if (m_picker)
            SetKeyColour(static_cast<int>(m_picker->GetColor()));
        NotifyChanged(false);
        break;
    case WM_SHOWWINDOW:
        if (!wParam)
            StopTest();
        break;
    default:
        break;
    }
    return SubDialog::WndProc(window, message, wParam, lParam);
}
