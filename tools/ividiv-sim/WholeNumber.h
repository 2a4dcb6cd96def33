#pragma once

#include <charconv>
#include <string_view>

// A text that is one decimal number and nothing else, within [low, high].
template <typename Number>
bool ParseWholeNumber(std::string_view text, Number low, Number high, Number& value)
{
    const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && rest == text.data() + text.size() && value >= low && value <= high;
}
