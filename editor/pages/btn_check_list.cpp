#include "editor/pages/btn_check_list.h"

#include <commctrl.h>

#include "skin_model/button_keys.h"
#include "skin_model/button_set.h"

namespace {
// State images of the list's check boxes.
const int c_unchecked = 1;
const int c_checked = 2;

UINT CheckState(bool checked) { return INDEXTOSTATEIMAGEMASK(checked ? c_checked : c_unchecked); }

// The button's visible flag from its display key; false for a button the set lacks.
bool DisplayOf(BtnInfo& set, const t_btnDesc& button)
{
    t_str key;
    int value = 0;
    return MakePropertyKey(key, button.index, button.type, c_propDisplay) && set.GetIntByKey(key.c_str(), 0, value) &&
           value != 0;
}

// Sets a flag for the lifetime of the object.
class t_flagScope {
public:
    explicit t_flagScope(unsigned char& flag) : m_flag(flag), m_old(flag) { m_flag = 1; }
    ~t_flagScope() { m_flag = m_old; }

private:
    unsigned char& m_flag;
    unsigned char m_old;
};
}  // namespace

t_btnCheckList::t_btnCheckList(const t_btnDesc* table, int builtInCount, int windowIndex)
    : BtnCtrlBase(table, builtInCount, windowIndex), m_listId(c_listId), m_list(nullptr), m_parent(nullptr),
      m_filling(0)
{}

void t_btnCheckList::Attach(HWND parent)
{
    m_parent = parent;
    m_list = GetDlgItem(parent, m_listId);
    Init();
}

void t_btnCheckList::Init()
{
    if (!m_list)
        return;
    t_flagScope filling(m_filling);
    const DWORD styles = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_SIMPLESELECT;
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
    RECT client = {};
    GetClientRect(m_list, &client);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(L"");
    column.cx = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageW(m_list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(m_list, LVM_DELETEALLITEMS, 0, 0);
    for (int row = 0; row < Count(c_btnBuiltIn); ++row)
        InsertRow(row, false);
}

void t_btnCheckList::InsertRow(int row, bool checked)
{
    const t_btnDesc button = FromFlat(row);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(ButtonCaptionOf(button.index, button.type));
    if (!item.pszText)
        item.pszText = const_cast<wchar_t*>(L"");
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = CheckState(checked);
    SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void t_btnCheckList::SetCaption(int row)
{
    const t_btnDesc button = FromFlat(row);
    const wchar_t* caption = ButtonCaptionOf(button.index, button.type);
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = const_cast<wchar_t*>(caption ? caption : L"");
    SendMessageW(m_list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void t_btnCheckList::Load(BtnInfo& set)
{
    t_flagScope filling(m_filling);
    const int builtIn = Count(c_btnBuiltIn);
    for (int row = RowCount() - 1; row >= builtIn; --row)
        SendMessageW(m_list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    for (int type = c_btnCustom; type < c_btnTypeCount; ++type)
        SetCount(type, 0);
    for (int type = c_btnCustom; type < c_btnTypeCount; ++type) {
        const int count = set.Count(type);
        for (int index = 0; index < count; ++index)
            AddRow(type, DisplayOf(set, {index, type}));
    }
    for (int row = 0; row < builtIn; ++row)
        SetChecked(row, DisplayOf(set, FromFlat(row)));
}

void t_btnCheckList::Store(BtnInfo& set) const
{
    if (m_filling)
        return;
    const int rows = RowCount();
    for (int row = 0; row < rows; ++row) {
        const t_btnDesc button = FromFlat(row);
        t_str key;
        if (MakePropertyKey(key, button.index, button.type, c_propDisplay))
            set.SetIntByKey(key.c_str(), 0, IsChecked(row) ? 1 : 0);
    }
}

int t_btnCheckList::AddRow(int type, bool checked)
{
    if (type <= c_btnBuiltIn || type >= c_btnTypeCount)
        return -1;
    t_flagScope filling(m_filling);
    const int index = Count(type);
    SetCount(type, index + 1);
    const int row = ToFlat(index, type);
    InsertRow(row, checked);
    // A list with check boxes inserts every row unticked, whatever state the item asks for.
    SetChecked(row, checked);
    return row;
}

bool t_btnCheckList::DeleteRow(int row)
{
    if (row < Count(c_btnBuiltIn) || row >= RowCount())
        return false;
    const t_btnDesc button = FromFlat(row);
    if (button.type <= c_btnBuiltIn)
        return false;
    t_flagScope filling(m_filling);
    SendMessageW(m_list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    SetCount(button.type, Count(button.type) - 1);
    // Extra captions carry the button numbers, which move down after a deletion.
    const int rows = RowCount();
    for (int r = Count(c_btnBuiltIn); r < rows; ++r)
        SetCaption(r);
    return true;
}

void t_btnCheckList::Select(int row)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (row < 0 || row >= RowCount())
        return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(m_list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int t_btnCheckList::SelectedRow() const
{
    return static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool t_btnCheckList::IsChecked(int row) const
{
    const UINT state =
        static_cast<UINT>(SendMessageW(m_list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == static_cast<UINT>(INDEXTOSTATEIMAGEMASK(c_checked));
}

void t_btnCheckList::SetChecked(int row, bool checked)
{
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = CheckState(checked);
    SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int t_btnCheckList::RowCount() const
{
    return m_list ? static_cast<int>(SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0)) : 0;
}
