#pragma once

#include <string>
#include <string_view>

// The program's texts are single-byte Windows-1252. These conversions are our
// own table, so results never depend on the locale.

// The Unicode code point of a Windows-1252 byte. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of
// the same value both ways, as Windows itself does, so every byte round-trips.
char32_t Windows1252ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point; false when the code page lacks it.
bool UnicodeToWindows1252(char32_t codePoint, unsigned char& byte);

// UTF-8 <-> Windows-1252 for whole texts. ToWindows1252 replaces what the code
// page lacks (and invalid UTF-8) with '?' and counts the replacements.
std::string Windows1252ToUtf8(const std::string& text);
// Appends the UTF-8 form of `text` to `out`: at most three bytes for each byte
// of `text`. With that room reserved, `out` never reallocates, so a secret
// leaves no copy behind.
void AppendWindows1252AsUtf8(std::string& out, std::string_view text);
std::string Utf8ToWindows1252(const std::string& utf8, size_t* losses = nullptr);
