#include <gtest/gtest.h>

#include "BeaconPage.h"
#include "LoopPage.h"
#include "PageFields.h"
#include "SimpleGraph.h"

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
    EXPECT_EQ(Text(page, "number"), "77");
    EXPECT_EQ(Text(page, "rssi"), "180");
    EXPECT_EQ(Text(page, "temperature"), "20");

    // A unit change empties the temperature until the next beacon.
    EXPECT_EQ(Text(page, "temperatureLabel"), QStringLiteral("Temperature (\u00B0C):"));
    page.ShowBeacon(77, 180, 3.0, 37);
    page.SetCelsius(false);
    EXPECT_EQ(Text(page, "temperatureLabel"), QStringLiteral("Temperature (\u00B0F):"));
    EXPECT_EQ(Text(page, "temperature"), "");
    EXPECT_EQ(Text(page, "number"), "77");
    page.ShowBeacon(77, 180, 3.0, 37);
    EXPECT_EQ(Text(page, "temperature"), "99");

    ExpectHeldForThreeTicks(
        page, {{"number", "77"}, {"rssi", "180"}, {"batteryVoltage", "3.0"}, {"temperature", "99"}});
    EXPECT_EQ(page.Graph()->Value(116), 180u);
    EXPECT_EQ(page.Graph()->Value(117), 0u);
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
