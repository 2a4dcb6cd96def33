#include "DeafList.h"

#include <gtest/gtest.h>

// Ten reports 200 ms apart while the 100 ms timer ages the list: logged once.
TEST(DeafList, ReportsWithShortGapsAreLoggedOnce)
{
    CDeafList deaf;
    int logged = 0;
    for (int report = 0; report < 10; ++report) {
        logged += deaf.Hear(1234567, 0, 12) ? 1 : 0;
        deaf.Age(100);
        deaf.Age(100);
    }
    EXPECT_EQ(logged, 1);
}

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

TEST(DeafList, NumberTypeAndDriverTogetherAreTheKey)
{
    CDeafList deaf;
    EXPECT_TRUE(deaf.Hear(77, 0, 0));
    EXPECT_TRUE(deaf.Hear(77, 0, 12)); // another driver number
    EXPECT_TRUE(deaf.Hear(77, 1, 0));  // the same number as a Q9 transponder
    EXPECT_TRUE(deaf.Hear(78, 0, 0));
    EXPECT_FALSE(deaf.Hear(77, 0, 12));
    EXPECT_EQ(deaf.GetCount(), 4u);
}
