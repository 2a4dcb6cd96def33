#pragma once

#include <string_view>

// Character classes and comparisons of markup, by ASCII alone: the reader's
// results must not depend on the process locale.

inline bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

inline bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

// Position of `needle` in `text` from `from` on, compared without regard to case.
inline size_t FindNoCase(std::string_view text, std::string_view needle, size_t from = 0)
{
    for (size_t i = from; i + needle.size() <= text.size(); ++i) {
        if (EqualsNoCase(text.substr(i, needle.size()), needle))
            return i;
    }
    return std::string_view::npos;
}
