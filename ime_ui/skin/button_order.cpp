#include "ime_ui/skin/button_order.h"

namespace {

// Page-up and page-down come last, so the status page takes the first ten rows.
const t_btnDesc c_pageOrder[] = {
    {c_btnCnEn, c_btnBuiltIn},        {c_btnBiaodian, c_btnBuiltIn},   {c_btnQuanBan, c_btnBuiltIn},
    {c_btnFanJian, c_btnBuiltIn},     {c_btnQuanShuang, c_btnBuiltIn}, {c_btnSoftKeyboard, c_btnBuiltIn},
    {c_btnSearch, c_btnBuiltIn},      {c_btnPassport, c_btnBuiltIn},   {c_btnMenu, c_btnBuiltIn},
    {c_btnSkinManager, c_btnBuiltIn}, {c_btnPageUp, c_btnBuiltIn},     {c_btnPageDown, c_btnBuiltIn},
};
const int c_pageRows = sizeof(c_pageOrder) / sizeof(c_pageOrder[0]);
const int c_statusRows = c_pageRows - 2;

}  // namespace

t_btnOrderTable ButtonOrderTable(t_btnOrder order)
{
    switch (order) {
    case t_btnOrder::e_model:
        return {BuiltInOrderTable(), c_builtInButtonCount};
    case t_btnOrder::e_statusPage:
        return {c_pageOrder, c_statusRows};
    case t_btnOrder::e_horizontalCombinedPage:
    case t_btnOrder::e_horizontalSeparatePage:
    case t_btnOrder::e_verticalCombinedPage:
    case t_btnOrder::e_verticalSeparatePage:
        return {c_pageOrder, c_pageRows};
    }
    return {nullptr, 0};
}
