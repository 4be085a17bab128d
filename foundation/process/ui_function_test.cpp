#include "foundation/process/ui_function.h"

#include <gtest/gtest.h>

#include "foundation/core/singleton.h"

namespace {

int Callback(HWND, t_uiSettings*) { return 7; }

TEST(UiFunctionTest, OneNamedTableWithEveryEntryEmptyUntilSet)
{
    UiFunction* table = UiFunction::Instance();
    ASSERT_NE(nullptr, table);
    EXPECT_EQ(table, UiFunction::Instance());
    EXPECT_NE(nullptr, ImmSingletonRegistry::Global().Find("UiFunction"));
    for (int i = 0; i < UiFunction::c_count; ++i)
        EXPECT_EQ(nullptr, table->Get(i)) << i;

    EXPECT_TRUE(table->Set(25, Callback));
    ASSERT_EQ(&Callback, table->Get(25));
    EXPECT_EQ(7, table->Get(25)(nullptr, nullptr));
    EXPECT_EQ(nullptr, table->Get(24));
    EXPECT_TRUE(table->Set(25, nullptr));
    EXPECT_EQ(nullptr, table->Get(25));

    // Numbers outside the table store nothing and find nothing.
    for (int index : {-1, UiFunction::c_count, 1000}) {
        EXPECT_FALSE(table->Set(index, Callback)) << index;
        EXPECT_EQ(nullptr, table->Get(index)) << index;
    }
}

}  // namespace
