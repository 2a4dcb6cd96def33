#include <gtest/gtest.h>

#include "PageFields.h"
#include "SimpleGraph.h"
#include "TransponderPage.h"

TEST(TransponderPage, ShowsEachReadingHoldsItThreeTicksAndPlotsTheLastOfATick)
{
    CTransponderPage page;
    EXPECT_TRUE(page.Graph()->gapMode);
    page.ShowTransponder("1234567 (12)", 200, 0, true);
    ExpectHeldForThreeTicks(
        page, {{"id", "1234567 (12)"}, {"rssi", "200"}, {"type", "Korvo"}, {"lowBattery", "Low battery"}});
    // The reading was plotted once, then zeroes (gaps).
    EXPECT_EQ(page.Graph()->Value(116), 200u);
    EXPECT_EQ(page.Graph()->Value(119), 0u);

    // A new reading shows at once and is held afresh.
    page.ShowTransponder("7", 10, 3, false);
    Tick(page, 3);
    EXPECT_EQ(Text(page, "id"), "7");

    // Each reading shows, the last of a tick is plotted.
    page.ShowTransponder("1", 300, 1, true);
    page.ShowTransponder("CC-12345", 40, 3, false);
    EXPECT_EQ(Text(page, "id"), "CC-12345");
    EXPECT_EQ(Text(page, "type"), "Mindlet");
    EXPECT_EQ(Text(page, "lowBattery"), "");
    page.OnTimer();
    EXPECT_EQ(page.Graph()->Value(119), 40u);
    // An index outside the table shows no type rather than reading past it.
    page.ShowTransponder("1", 300, 9, false);
    EXPECT_EQ(Text(page, "type"), "");
}
