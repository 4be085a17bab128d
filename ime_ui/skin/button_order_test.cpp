#include "ime_ui/skin/button_order.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Indexes(t_btnOrder order)
{
    const t_btnOrderTable table = ButtonOrderTable(order);
    std::vector<int> indexes;
    for (int i = 0; i < table.count; ++i) {
        EXPECT_EQ(c_btnBuiltIn, table.rows[i].type);
        indexes.push_back(table.rows[i].index);
    }
    return indexes;
}

TEST(ButtonOrder, TablesListTheBuiltInButtonsInTheirOrders)
{
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 6, 11, 12}), Indexes(t_btnOrder::e_model));
    const std::vector<int> page = {0, 1, 2, 4, 3, 5, 7, 10, 6, 12, 8, 9};
    for (t_btnOrder order : {t_btnOrder::e_horizontalCombinedPage, t_btnOrder::e_horizontalSeparatePage,
                             t_btnOrder::e_verticalCombinedPage, t_btnOrder::e_verticalSeparatePage})
        EXPECT_EQ(page, Indexes(order));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 4, 3, 5, 7, 10, 6, 12}), Indexes(t_btnOrder::e_statusPage));

    // The model's button sets number their built-in buttons by the same table.
    const t_btnOrderTable model = ButtonOrderTable(t_btnOrder::e_model);
    BtnCtrlBase set(model.rows, model.count, c_windowHorizontalCombined);
    EXPECT_EQ(c_btnWebpage, set.FromFlat(11).index);
    EXPECT_EQ(c_btnMenu, set.FromFlat(10).index);
    EXPECT_EQ(9, set.ToFlat(c_btnPassport, c_btnBuiltIn));
}

}  // namespace
