#include "TimeOfDay.h"

#include <array>

std::string FormatTimeOfDay(std::time_t when)
{
    std::tm local{};
    if (!localtime_r(&when, &local))
        return {};
    std::array<char, 32> text{};
    const size_t length = std::strftime(text.data(), text.size(), "%d-%m-%Y %H:%M:%S", &local);
    return std::string(text.data(), length);
}

std::string FormatTimeOfDay()
{
    return FormatTimeOfDay(std::time(nullptr));
}
