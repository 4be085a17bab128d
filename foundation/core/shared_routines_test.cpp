#include "foundation/core/shared_routines.h"

#include "foundation/core/heap.h"

#include <gtest/gtest.h>

namespace {

struct t_probeObject {
    explicit t_probeObject(int v) : value(v) {}
    int value;
};

TEST(SharedRoutinesTest, PlacementNewBuildsInArenaMemoryAndPassesNullThrough)
{
    t_heap heap(0x100);
    void* storage = heap.Alloc(sizeof(t_probeObject));
    t_probeObject* object = PlacementNew<t_probeObject>(storage, 42);
    EXPECT_EQ(storage, object);
    EXPECT_EQ(42, object->value);
    EXPECT_EQ(nullptr, PlacementNew<t_probeObject>(nullptr, 1));
}

TEST(SharedRoutinesTest, HintLineInitFillsTheFiveFields)
{
    t_hintLine line;
    line.Init(2, L"按 Shift 切换中英文", true, 2, 5);
    EXPECT_EQ(2, line.kind);
    EXPECT_STREQ(L"按 Shift 切换中英文", line.text);
    EXPECT_TRUE(line.link);
    EXPECT_EQ(2, line.linkStart);
    EXPECT_EQ(5, line.linkLength);
}

TEST(SharedRoutinesTest, ReturnTrueAnswersTrue) { EXPECT_TRUE(ReturnTrue()); }

}  // namespace
