#include "NumberText.h"

#include <charconv>
#include <cmath>

#include "XmlAscii.h"

namespace {

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

bool IsBlank(char c)
{
    return IsXmlSpace(c) || c == '\v' || c == '\f';
}

// Skips leading blanks and takes a sign; returns whether it was negative.
bool TakeSign(std::string_view& text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    text.remove_prefix(i);
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        text.remove_prefix(1);
    return negative;
}

int32_t ParseInteger(std::string_view text, int base)
{
    const bool negative = TakeSign(text);
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
        DigitValue(text[2]) < 16)
        text.remove_prefix(2);
    // One beyond INT32_MAX, so that INT32_MIN stays reachable.
    constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
    int64_t value = 0;
    for (char c : text) {
        const int digit = DigitValue(c);
        if (digit >= base)
            break;
        value = value * base + digit;
        if (value > kLimit)
            value = kLimit;
    }
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(value > INT32_MAX ? INT32_MAX : value);
}

} // namespace

int32_t ParseDecimalText(std::string_view text)
{
    return ParseInteger(text, 10);
}

int32_t ParseHexText(std::string_view text)
{
    return ParseInteger(text, 16);
}

double ParseRealText(std::string_view text)
{
    const bool negative = TakeSign(text);
    auto format = std::chars_format::general;
    // atof reads "0x1.8p1" as hexadecimal; from_chars wants it without the
    // prefix. A "0x" without hexadecimal digits after it reads as 0.
    if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        format = std::chars_format::hex;
    }
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        return 0; // a second sign, or one after "0x"
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, format);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0;
    return negative ? -value : value;
}
