#include "FixedFormat.h"

#include <array>
#include <charconv>

QString FormatFixed(double value, int decimals)
{
    // Large enough for any double in fixed notation with a few decimals.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return {};
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}
