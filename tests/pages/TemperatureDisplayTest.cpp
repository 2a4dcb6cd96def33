#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "FixedFormat.h"
#include "TemperatureDisplay.h"

TEST(TemperatureDisplay, RangeUnitsAndRounding)
{
    struct Case {
        double celsius;
        int decimals;
        const char* inCelsius;
        const char* inFahrenheit;
    };
    const Case cases[] = {
        {-21, 0, "", ""},       {-20, 0, "-20", "-4"}, {37, 0, "37", "99"}, // 98.6 rounds up
        {100, 0, "100", "212"}, {101, 0, "", ""},      {21.5, 1, "21.5", "70.7"},
        {100.1, 1, "", ""},     {-20.1, 1, "", ""},    {std::numeric_limits<double>::quiet_NaN(), 1, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.celsius);
        EXPECT_EQ(FormatTemperature(c.celsius, true, c.decimals), QString::fromLatin1(c.inCelsius));
        EXPECT_EQ(FormatTemperature(c.celsius, false, c.decimals), QString::fromLatin1(c.inFahrenheit));
    }
}

TEST(FixedFormat, RoundsAsPrintfDoesWithAPoint)
{
    EXPECT_EQ(FormatFixed(6.0375, 1), "6.0");
    EXPECT_EQ(FormatFixed(2.5, 0), "2"); // exact ties go to the even digit
    EXPECT_EQ(FormatFixed(-0.4, 0), "-0");
    EXPECT_EQ(FormatFixed(1e300, 1).size(), 303); // no fixed buffer to overrun
}
