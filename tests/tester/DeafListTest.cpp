#include "DeafList.h"

#include <gtest/gtest.h>

TEST(DeafList, EntryLivesTwentyTicksAfterItsLastReport)
{
    CDeafList deaf;
    ASSERT_TRUE(deaf.Hear(5, 0, 0));
    for (int tick = 0; tick < 19; ++tick)
        deaf.Age(100);
    EXPECT_FALSE(deaf.Hear(5, 0, 0)); // refreshed at 1900 ms
    for (int tick = 0; tick < 19; ++tick)
        deaf.Age(100);
    EXPECT_EQ(deaf.GetCount(), 1u);
    deaf.Age(100); // the 20th tick since the refresh
    EXPECT_EQ(deaf.GetCount(), 0u);
    EXPECT_TRUE(deaf.Hear(5, 0, 0)); // heard anew: logged again
}
