#include <gtest/gtest.h>

#include <QLabel>

#include "AppSettings.h"
#include "BeaconPage.h"
#include "LoopPage.h"
#include "SimpleGraph.h"

namespace {
QString Text(const QWidget& page, const char* name)
{
    const auto* label = page.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}
} // namespace

TEST(BeaconPage, ShowsPlausibleValuesInTheChosenUnit)
{
    AppSettings settings;
    CBeaconPage page;
    page.SetSettings(&settings);

    struct Case {
        double volts;
        int32_t celsius;
        bool inCelsius;
        const char* voltsShown;
        const char* temperatureShown;
    };
    const Case cases[] = {
        {4.9875, -20, true, "5.0", "-20"}, {5.05, -20, false, "", "-4"},  {0.0, -21, true, "0.0", ""},
        {-0.1, 100, false, "", "212"},     {6.0375, 20, false, "", "68"}, {3.3, 101, true, "3.3", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volts);
        settings.unitCelsius = c.inCelsius ? 1 : 0;
        page.ShowBeacon(77, 180, c.volts, c.celsius);
        EXPECT_EQ(Text(page, "number"), "77");
        EXPECT_EQ(Text(page, "rssi"), "180");
        EXPECT_EQ(Text(page, "batteryVoltage"), QString::fromLatin1(c.voltsShown));
        EXPECT_EQ(Text(page, "temperature"), QString::fromLatin1(c.temperatureShown));
    }
}

TEST(BeaconPage, AUnitChangeEmptiesTheTemperatureUntilTheNextBeacon)
{
    AppSettings settings;
    CBeaconPage page;
    page.SetSettings(&settings);
    EXPECT_EQ(Text(page, "temperatureLabel"), QStringLiteral("Temperature (\u00B0C):"));
    page.ShowBeacon(77, 180, 3.0, 37);
    EXPECT_EQ(Text(page, "temperature"), "37");

    settings.unitCelsius = 0;
    page.ApplyTemperatureUnit();
    EXPECT_EQ(Text(page, "temperatureLabel"), QStringLiteral("Temperature (\u00B0F):"));
    EXPECT_EQ(Text(page, "temperature"), "");
    EXPECT_EQ(Text(page, "number"), "77");
    page.ShowBeacon(77, 180, 3.0, 37);
    EXPECT_EQ(Text(page, "temperature"), "99");
}

TEST(BeaconPage, BlanksOnTheFourthSilentTick)
{
    CBeaconPage page;
    EXPECT_TRUE(page.Graph()->gapMode);
    page.ShowBeacon(77, 180, 3.0, 20);
    for (int tick = 1; tick <= 3; ++tick)
        page.OnTimer();
    EXPECT_EQ(Text(page, "number"), "77");
    page.OnTimer();
    for (const char* field : {"number", "rssi", "batteryVoltage", "temperature"})
        EXPECT_EQ(Text(page, field), "") << field;
    EXPECT_EQ(page.Graph()->Value(116), 180u);
    EXPECT_EQ(page.Graph()->Value(117), 0u);
}

TEST(LoopPage, PlotsTheLastLevelOfEachTickAndZeroWithoutOne)
{
    CLoopPage page;
    EXPECT_FALSE(page.Graph()->gapMode);
    EXPECT_EQ(page.Graph()->fullScale, 255);
    page.SetLevel(10);
    page.SetLevel(255);
    page.OnTimer();
    page.OnTimer();
    EXPECT_EQ(page.Graph()->Value(118), 255u);
    EXPECT_EQ(page.Graph()->Value(119), 0u);

    page.show();
    page.resize(700, 300);
    EXPECT_EQ(page.Graph()->geometry(), QRect(11, 11, 678, 278));
}
