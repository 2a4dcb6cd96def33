#include "SequenceTimerPeriod.h"

#include <cmath>

namespace {
constexpr double kShortestPeriodMs = 10.0;
constexpr double kLongestPeriodMs = 2147483647.0;
} // namespace

int SequenceTimerPeriodMs(double timeBetweenMessages)
{
    const double periodMs = std::trunc(timeBetweenMessages * 1000.0);
    // Compared in double precision first: converting a value beyond the int
    // range (or infinity) to an integer is undefined.
    if (!(periodMs >= kShortestPeriodMs))
        return static_cast<int>(kShortestPeriodMs);
    if (periodMs >= kLongestPeriodMs)
        return static_cast<int>(kLongestPeriodMs);
    return static_cast<int>(periodMs);
}
