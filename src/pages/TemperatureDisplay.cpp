#include "TemperatureDisplay.h"

#include "FixedFormat.h"

namespace {
constexpr double kLowestShownC = -20.0;
constexpr double kHighestShownC = 100.0;
} // namespace

QString TemperatureLabel(bool celsius)
{
    return celsius ? QStringLiteral("Temperature (\u00B0C):") : QStringLiteral("Temperature (\u00B0F):");
}

QString FormatTemperature(double temperatureC, bool celsius, int decimals)
{
    if (!(temperatureC >= kLowestShownC && temperatureC <= kHighestShownC))
        return {};
    // Multiply, divide, add, in this order: the rounding of the last digit
    // depends on it.
    const double shown = celsius ? temperatureC : temperatureC * 9.0 / 5.0 + 32.0;
    return FormatFixed(shown, decimals);
}
