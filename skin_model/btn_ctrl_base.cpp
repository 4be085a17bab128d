#include "skin_model/btn_ctrl_base.h"

namespace {

// By index, except that the system menu comes after the passport button.
const t_btnDesc c_builtInOrder[c_builtInButtonCount] = {
    {c_btnCnEn, c_btnBuiltIn},        {c_btnBiaodian, c_btnBuiltIn}, {c_btnQuanBan, c_btnBuiltIn},
    {c_btnQuanShuang, c_btnBuiltIn},  {c_btnFanJian, c_btnBuiltIn},  {c_btnSoftKeyboard, c_btnBuiltIn},
    {c_btnSearch, c_btnBuiltIn},      {c_btnPageUp, c_btnBuiltIn},   {c_btnPageDown, c_btnBuiltIn},
    {c_btnPassport, c_btnBuiltIn},    {c_btnMenu, c_btnBuiltIn},     {c_btnWebpage, c_btnBuiltIn},
    {c_btnSkinManager, c_btnBuiltIn},
};

}  // namespace

const t_btnDesc* BuiltInOrderTable() { return c_builtInOrder; }

BtnCtrlBase::BtnCtrlBase(const t_btnDesc* orderTable, int builtInCount, int windowIndex)
    : m_orderTable(orderTable), m_windowIndex(windowIndex), m_counts()
{
    m_counts[c_btnBuiltIn] = builtInCount;
}

int BtnCtrlBase::Count(int type) const { return type >= 0 && type < c_btnTypeCount ? m_counts[type] : 0; }

void BtnCtrlBase::SetCount(int type, int n)
{
    if (type >= 0 && type < c_btnTypeCount)
        m_counts[type] = n;
}

t_btnDesc BtnCtrlBase::FromFlat(int flat) const
{
    if (flat < 0)
        return {0, -1};
    if (flat < m_counts[c_btnBuiltIn])
        return m_orderTable[flat];
    int first = m_counts[c_btnBuiltIn];
    for (int type = c_btnCustom; type < c_btnTypeCount; ++type) {
        // Compared as a distance so that no sum of counts can overflow.
        if (flat - first < m_counts[type])
            return {flat - first, type};
        first += m_counts[type];
    }
    return {0, -1};
}

int BtnCtrlBase::ToFlat(int index, int type) const
{
    if (type == c_btnBuiltIn) {
        for (int i = 0; i < m_counts[c_btnBuiltIn]; ++i) {
            if (m_orderTable[i].index == index)
                return i;
        }
        return -1;
    }
    if (type < c_btnCustom || type >= c_btnTypeCount)
        return -1;
    int flat = index;
    for (int t = c_btnBuiltIn; t < type; ++t)
        flat += m_counts[t];
    return flat;
}

bool BtnCtrlBase::Exists(int index, int type) const
{
    if (type == c_btnBuiltIn)
        return ToFlat(index, type) >= 0;
    return type > c_btnBuiltIn && type < c_btnTypeCount && index >= 0 && index < m_counts[type];
}
