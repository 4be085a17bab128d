#include "editor/pages/btn_page.h"

#include <commctrl.h>

#include "editor/resources/resource_ids.h"
#include "editor/widgets/button_array.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/button_set.h"

namespace {
const t_btnDesc c_inputWindowOrder[BtnPage::c_builtInCount] = {
    {c_btnCnEn, c_btnBuiltIn},        {c_btnBiaodian, c_btnBuiltIn},   {c_btnQuanBan, c_btnBuiltIn},
    {c_btnFanJian, c_btnBuiltIn},     {c_btnQuanShuang, c_btnBuiltIn}, {c_btnSoftKeyboard, c_btnBuiltIn},
    {c_btnSearch, c_btnBuiltIn},      {c_btnPassport, c_btnBuiltIn},   {c_btnMenu, c_btnBuiltIn},
    {c_btnSkinManager, c_btnBuiltIn}, {c_btnPageUp, c_btnBuiltIn},     {c_btnPageDown, c_btnBuiltIn},
};
// The editors sit this far below the list.
const int c_editorGap = 6;
const int c_checkedImage = 2;

int TypeOfAddCommand(int id)
{
    switch (id) {
    case c_btnPageAddCustom:
        return c_btnCustom;
    case c_btnPageAddFlash:
        return c_btnFlash;
    case c_btnPageAddPhotoFrame:
        return c_btnPhotoFrame;
    default:
        return -1;
    }
}
}  // namespace

BtnPage::BtnPage(int set)
    : SubDialog(ButtonSetPartOf(set)), m_view(c_inputWindowOrder, c_builtInCount, set),
      m_list(c_inputWindowOrder, c_builtInCount, set), m_order(c_inputWindowOrder), m_builtInCount(c_builtInCount),
      m_set(set)
{}

const t_btnDesc* BtnPage::DisplayOrder() { return c_inputWindowOrder; }

BtnInfo* BtnPage::Set() const { return static_cast<BtnInfo*>(m_part); }

int BtnPage::OnInitDialog()
{
    SetLive(false);
    BindPart();
    m_list.Attach(m_hwnd);
    m_view.SetListControl(m_list.Handle());
    m_view.Create(WS_VISIBLE, m_hwnd, GetModuleInstance());
    for (int row = 0; row < m_builtInCount; ++row)
        m_view.SetButtonShown(row, m_list.IsChecked(row));
    LayoutEditorArea();
    return 1;
}

void BtnPage::LayoutEditorArea()
{
    const HWND list = m_list.Handle();
    if (!list)
        return;
    RECT rect;
    GetWindowRect(list, &rect);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
    int width = 0;
    int height = 0;
    m_view.MaxEditorSize(width, height);
    const RECT area = {rect.left, rect.bottom + c_editorGap, rect.right, rect.bottom + c_editorGap + height};
    m_view.SetArea(area);
}

void BtnPage::GetSize(int& width, int& height)
{
    RECT page = {};
    GetWindowRect(m_hwnd, &page);
    if (page.right - page.left > m_width)
        m_width = page.right - page.left;
    RECT list = {};
    if (m_list.Handle())
        GetWindowRect(m_list.Handle(), &list);
    int editorWidth = 0;
    int editorHeight = 0;
    m_view.MaxEditorSize(editorWidth, editorHeight);
    const int needed = list.bottom - page.top + c_editorGap + editorHeight;
    if (needed > m_height)
        m_height = needed;
    width = m_width;
    height = m_height;
}

int BtnPage::LoadFromModel()
{
    SetLive(false);
    BtnInfo* set = static_cast<BtnInfo*>(BindPart());
    if (set) {
        m_view.Load(*set);
        m_list.Load(*set);
        for (int row = 0; row < m_list.RowCount(); ++row)
            m_view.SetButtonShown(row, m_list.IsChecked(row));
        m_view.Select(0, true);
        m_list.Select(0);
    }
    SetLive(true);
    return 1;
}

int BtnPage::StoreToModel()
{
    BtnInfo* set = Set();
    if (!set)
        return 0;
    m_view.SaveTo(*set);
    m_list.Store(*set);
    return 1;
}

int BtnPage::Clear() { return 1; }

void BtnPage::OnSize(WPARAM type, LPARAM size)
{
    SubDialog::OnSize(type, size);
    LayoutEditorArea();
}

LRESULT BtnPage::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == c_msgButtonPlacementChanged || message == c_msgButtonStateEdited) {
        NotifyChanged(false);
        return 0;
    }
    return SubDialog::WndProc(window, message, wParam, lParam);
}

int BtnPage::OnNotify(int id, NMHDR* header, LRESULT& result)
{
    if (id == t_btnCheckList::c_listId && header && header->code == LVN_ITEMCHANGED) {
        OnListItemChanged(*reinterpret_cast<const NMLISTVIEW*>(header));
        result = 0;
        return 1;
    }
    return SubDialog::OnNotify(id, header, result);
}

void BtnPage::OnListItemChanged(const NMLISTVIEW& change)
{
    if (m_list.IsFilling() || !(change.uChanged & LVIF_STATE) || change.iItem < 0)
        return;
    const int row = change.iItem;
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED) && m_view.CurrentEditor() != row)
        m_view.Select(row, true);
    bool checked = false;
    BtnInfo* set = Set();
    if (!n_buttonPage::CheckToggled(change, checked) || !set)
        return;
    const t_btnDesc button = m_list.FromFlat(row);
    set->SetButtonVisible(button.index, button.type, checked);
    m_view.SetButtonShown(row, checked);
    NotifyChanged(false);
}

int BtnPage::OnClick(int id)
{
    const int type = TypeOfAddCommand(id);
    if (type >= 0) {
        AddButton(type);
        return 0;
    }
    if (id == c_btnPageDelete) {
        DeleteSelected();
        return 0;
    }
    return SubDialog::OnClick(id);
}

int BtnPage::AddButton(int type)
{
    BtnInfo* set = Set();
    if (!set)
        return -1;
    const int flat = n_buttonPage::AddButton(*set, m_list, m_view, type);
    if (flat >= 0)
        NotifyChanged(false);
    return flat;
}

bool BtnPage::DeleteSelected()
{
    BtnInfo* set = Set();
    if (!set || n_buttonPage::DeleteSelected(*set, m_list, m_view) < 0)
        return false;
    NotifyChanged(false);
    return true;
}

namespace n_buttonPage {
int AddButton(BtnInfo& set, t_btnCheckList& list, BtnView& view, int type)
{
    if (type <= c_btnBuiltIn || type >= c_btnTypeCount)
        return -1;
    const int index = set.Count(type);
    if (!set.AddButton(index, type))
        return -1;
    const int row = list.AddRow(type, false);
    const int flat = view.AddEditor(type);
    view.Select(flat, true);
    list.Select(row);
    return flat;
}

int DeleteSelected(BtnInfo& set, t_btnCheckList& list, BtnView& view)
{
    const int row = list.SelectedRow();
    if (row < 0)
        return -1;
    const t_btnDesc button = list.FromFlat(row);
    if (button.type <= c_btnBuiltIn)
        return -1;
    set.RemoveButton(button.index, button.type);
    list.DeleteRow(row);
    view.DeleteEditor(row);
    const int next = row < list.RowCount() ? row : row - 1;
    view.Select(next, true);
    list.Select(next);
    return next;
}

bool CheckToggled(const NMLISTVIEW& change, bool& checked)
{
    const UINT oldImage = change.uOldState & LVIS_STATEIMAGEMASK;
    const UINT newImage = change.uNewState & LVIS_STATEIMAGEMASK;
    // A row that had no check box yet is being inserted, not toggled.
    if (!(change.uChanged & LVIF_STATE) || oldImage == 0 || newImage == oldImage)
        return false;
    checked = newImage == static_cast<UINT>(INDEXTOSTATEIMAGEMASK(c_checkedImage));
    return true;
}
}  // namespace n_buttonPage
