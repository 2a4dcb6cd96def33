#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Converts text of a named character set into Windows-1252: the C library's
// iconv decodes (strictly), our own table does the last step, so what is lost
// is counted exactly and nothing depends on the locale.
struct XmlConversion {
    bool converted = false; // false: iconv does not know the set
    std::string text;
    size_t losses = 0;      // characters replaced by '?', undecodable bytes included
    bool truncated = false; // a multi-byte character was cut at the end
};

// `unitSize` is the size of the set's code unit (2 for UTF-16, else 1): an
// undecodable unit is skipped as a whole.
XmlConversion ConvertToWindows1252(std::string_view bytes, const char* iconvName, size_t unitSize);
