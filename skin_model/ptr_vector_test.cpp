#include "skin_model/ptr_vector.h"

#include <gtest/gtest.h>

namespace {

TEST(PtrVector, GrowsByHalfPlusOneAndKeepsOrder)
{
    t_ptrVector empty;
    EXPECT_EQ(0, empty.Capacity());
    // Capacity after each push, starting without slots: 1, 2, 4, 4, 7, 7, 7, 11.
    const int capacities[] = {1, 2, 4, 4, 7, 7, 7, 11};
    int values[8];
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(i + 1, empty.PushBack(&values[i]));
        EXPECT_EQ(capacities[i], empty.Capacity()) << i;
    }
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(&values[i], *empty.At(i));

    t_ptrVector reserved(3);
    EXPECT_EQ(3, reserved.Capacity());
    EXPECT_EQ(0, reserved.Count());
    reserved.Free();
    EXPECT_EQ(0, reserved.Capacity());
    EXPECT_EQ(1, reserved.PushBack(nullptr));
    EXPECT_EQ(1, reserved.Capacity());
}

}  // namespace
