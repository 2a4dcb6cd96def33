#include <gtest/gtest.h>

#include "BeaconPage.h"
#include "LoopPage.h"
#include "PageFields.h"
#include "SimpleGraph.h"
#include "TransponderPage.h"

TEST(BeaconPage, ShowsPlausibleVoltagesOnlyAndBlanksOnTheFourthSilentTick)
{
    CBeaconPage page;
    const struct {
        double volts;
        const char* shown;
    } cases[] = {{4.9875, "5.0"}, {5.05, ""}, {0.0, "0.0"}, {-0.1, ""}};
    for (const auto& c : cases) {
        page.ShowBeacon(77, 180, c.volts, 20);
        EXPECT_EQ(Text(page, "batteryVoltage"), QString::fromLatin1(c.shown)) << c.volts;
    }
    EXPECT_EQ(Fields(page, {"number", "rssi", "temperature"}), "77|180|20");

    // A unit change empties the temperature until the next beacon.
    page.ShowBeacon(77, 180, 3.0, 37);
    page.SetCelsius(false);
    EXPECT_EQ(Fields(page, {"temperature", "number"}), "|77");
    page.ShowBeacon(77, 180, 3.0, 37);
    EXPECT_EQ(Text(page, "temperature"), "99");

    ExpectHeldForThreeTicks(page, {"number", "rssi", "batteryVoltage", "temperature"}, "77|180|3.0|99");
    EXPECT_EQ(page.Graph()->Value(116), 180u); // the RSSI is plotted
}

TEST(LoopPage, PlotsTheLastLevelOfEachTickAndZeroWithoutOne)
{
    CLoopPage page;
    EXPECT_FALSE(page.Graph()->gapMode);
    page.SetLevel(10);
    page.SetLevel(255);
    page.OnTimer();
    page.OnTimer();
    EXPECT_EQ(page.Graph()->Value(118), 255u);
    EXPECT_EQ(page.Graph()->Value(119), 0u);
}

TEST(TransponderPage, ShowsEachReadingHoldsItThreeTicksAndPlotsItsRssi)
{
    CTransponderPage page;
    EXPECT_TRUE(page.Graph()->gapMode);
    page.ShowTransponder("1234567 (12)", 200, 0, true);
    ExpectHeldForThreeTicks(page, {"id", "rssi", "type", "lowBattery"}, "1234567 (12)|200|Korvo|Low battery");
    EXPECT_EQ(page.Graph()->Value(116), 200u); // the RSSI is plotted

    // A new reading shows at once and is held afresh.
    page.ShowTransponder("7", 10, 3, false);
    Tick(page, 3);
    EXPECT_EQ(Text(page, "id"), "7");

    page.ShowTransponder("1", 300, 1, true);
    page.ShowTransponder("CC-12345", 40, 3, false);
    EXPECT_EQ(Fields(page, {"id", "type", "lowBattery"}), "CC-12345|Mindlet|");
    // An index outside the table shows no type rather than reading past it.
    page.ShowTransponder("1", 300, 9, false);
    EXPECT_EQ(Text(page, "type"), "");
}
