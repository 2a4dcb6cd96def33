#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "SequenceTimerPeriod.h"

TEST(SequenceTimerPeriod, TruncatesToMillisecondsWithinWhatATimerTakes)
{
    EXPECT_EQ(SequenceTimerPeriodMs(2.5), 2500);
    EXPECT_EQ(SequenceTimerPeriodMs(1.0019), 1001);
    EXPECT_EQ(SequenceTimerPeriodMs(0.0101), 10);
    EXPECT_EQ(SequenceTimerPeriodMs(0.001), 10);
    EXPECT_EQ(SequenceTimerPeriodMs(0.0), 10);
    EXPECT_EQ(SequenceTimerPeriodMs(std::nan("")), 10);
    EXPECT_EQ(SequenceTimerPeriodMs(2147483.646), 2147483646);
    EXPECT_EQ(SequenceTimerPeriodMs(2147483.648), 2147483647);
    EXPECT_EQ(SequenceTimerPeriodMs(1e300), 2147483647);
    EXPECT_EQ(SequenceTimerPeriodMs(std::numeric_limits<double>::infinity()), 2147483647);
}
