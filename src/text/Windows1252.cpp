#include "Windows1252.h"

namespace {

// 0x80..0x9F; 0 marks the bytes the code page leaves undefined.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `i`; returns false (and advances one byte) on
// an invalid or overlong sequence.
bool NextUtf8(const std::string& s, size_t& i, char32_t& cp)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    int extra = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, min = 0x10000;
    } else {
        ++i;
        return false;
    }
    if (i + extra >= s.size()) {
        ++i;
        return false;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return false;
    }
    i += extra + 1;
    return true;
}

} // namespace

char32_t Windows1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0 && kHighControls[byte - 0x80] != 0)
        return kHighControls[byte - 0x80];
    return byte;
}

bool UnicodeToWindows1252(char32_t codePoint, unsigned char& byte)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        byte = static_cast<unsigned char>(codePoint);
        return true;
    }
    for (int k = 0; k < 32; ++k) {
        const char32_t mapped = kHighControls[k] != 0 ? kHighControls[k] : static_cast<char32_t>(0x80 + k);
        if (mapped == codePoint) {
            byte = static_cast<unsigned char>(0x80 + k);
            return true;
        }
    }
    return false;
}

std::string Windows1252ToUtf8(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    AppendWindows1252AsUtf8(out, text);
    return out;
}

void AppendWindows1252AsUtf8(std::string& out, std::string_view text)
{
    for (char c : text)
        AppendUtf8(out, Windows1252ToUnicode(static_cast<unsigned char>(c)));
}

std::string Utf8ToWindows1252(const std::string& utf8, size_t* losses)
{
    std::string out;
    out.reserve(utf8.size());
    size_t lost = 0;
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        unsigned char byte = '?';
        if (!NextUtf8(utf8, i, cp) || !UnicodeToWindows1252(cp, byte)) {
            byte = '?';
            ++lost;
        }
        out += static_cast<char>(byte);
    }
    if (losses)
        *losses = lost;
    return out;
}
