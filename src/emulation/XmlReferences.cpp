#include "XmlReferences.h"

#include "Windows1252.h"
#include "XmlEntities.h"

namespace {

// A reference is short: its ';' follows the '&' within this many characters.
constexpr size_t kMaxReferenceLength = 9;
constexpr char32_t kLastCodePoint = 0x10FFFF;

int DigitValue(char c, int base)
{
    int value = 16;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// "#65" or "#x41"; false unless every character after the prefix is a digit.
// Only a small 'x' marks hexadecimal: "#X41" is no reference.
bool ParseNumericReference(std::string_view body, char32_t& codePoint)
{
    int base = 10;
    body.remove_prefix(1);
    if (!body.empty() && body[0] == 'x') {
        base = 16;
        body.remove_prefix(1);
    }
    if (body.empty())
        return false;
    char32_t value = 0;
    for (char c : body) {
        const int digit = DigitValue(c, base);
        if (digit < 0)
            return false;
        value = value * base + digit;
        if (value > kLastCodePoint)
            return false;
    }
    codePoint = value;
    return true;
}

// The byte a reference body stands for; false when it stands for none.
bool ResolveReference(std::string_view body, unsigned char& byte)
{
    char32_t codePoint = 0;
    const bool found = !body.empty() && body[0] == '#' ? ParseNumericReference(body, codePoint)
                                                       : FindXmlEntity(body, codePoint);
    // Code points beyond the 16-bit range (surrogate pairs) have no
    // Windows-1252 form either, so they fall out here with the rest.
    return found && codePoint != 0 && UnicodeToWindows1252(codePoint, byte);
}

} // namespace

std::string DecodeXmlReferences(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t amp = text.find('&', pos);
        if (amp == std::string_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, amp - pos));
        const size_t semicolon = text.substr(amp + 1, kMaxReferenceLength).find(';');
        unsigned char byte = 0;
        if (semicolon != std::string_view::npos && ResolveReference(text.substr(amp + 1, semicolon), byte)) {
            out += static_cast<char>(byte);
            pos = amp + semicolon + 2;
        } else {
            out += '&';
            pos = amp + 1;
        }
    }
    return out;
}
