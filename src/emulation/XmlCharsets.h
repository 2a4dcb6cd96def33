#pragma once

#include <string_view>

// Character-set names as documents declare them, mapped to Windows code page
// numbers and to the name the C library's iconv knows the set by.
struct XmlCharset {
    int codePage;
    const char* iconvName;
};

constexpr int kCodePageWindows1252 = 1252; // the program's own text
constexpr int kCodePageUtf8 = 65001;
constexpr int kCodePageUtf16LE = 1200;
constexpr int kCodePageUtf16BE = 1201;

// The set a name stands for, compared without regard to case; nullptr for a
// name the table lacks (and for any name of 100 or more characters).
const XmlCharset* FindXmlCharset(std::string_view name);
