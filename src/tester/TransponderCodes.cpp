#include "TransponderCodes.h"

#include <cstdio>
#include <utility>

namespace {

constexpr char kAlphabet[] = "CFGHKLNPRSTVWXZ";
constexpr uint32_t kBase = 15;

constexpr uint32_t kTransponderMask = 0x1FFFFFFF;
constexpr uint32_t kFirstCoded = 100663296; // 0x6000000
constexpr uint32_t kSpecialBits = 0x1A000000;
constexpr uint32_t kSpecialMask = 0xFFFFFF;
constexpr uint32_t kSerialRange = 100000;

std::string Decimal(uint32_t number)
{
    char text[20];
    std::snprintf(text, sizeof text, "%u", number);
    return text;
}

// `letters` code letters for `q`, most significant first; digits above them
// are left out.
std::string Letters(uint32_t q, int letters)
{
    std::string text(static_cast<std::size_t>(letters), kAlphabet[0]);
    for (int i = letters - 1; i >= 0; --i, q /= kBase)
        text[static_cast<std::size_t>(i)] = kAlphabet[q % kBase];
    return text;
}

int DigitCount(uint32_t q)
{
    int digits = 1;
    for (; q >= kBase; q /= kBase)
        ++digits;
    return digits;
}

std::string WithSerial(std::string letters, uint32_t serial)
{
    char text[8];
    std::snprintf(text, sizeof text, "-%05u", serial);
    letters += text;
    return letters;
}

} // namespace

std::string FormatTransponderCode(uint32_t number)
{
    const uint32_t n = number & kTransponderMask;
    if (n < kFirstCoded)
        return Decimal(n);
    const uint32_t m = n - kFirstCoded;
    const uint32_t q = m / kSerialRange;
    // Up to q = 224 the code has two letters. Larger q (the Tester's own code
    // text never has more than two) keep every base-15 digit, so no two
    // numbers share a code: q = 225 prints "FCC", q = 226 "FCF", and the
    // largest 29-bit number four letters.
    const int letters = DigitCount(q) < 2 ? 2 : DigitCount(q);
    return WithSerial(Letters(q, letters), m % kSerialRange);
}

std::string FormatSpecialCode(uint32_t number)
{
    if ((number & kSpecialBits) == 0)
        return Decimal(number);
    const uint32_t v = number & kSpecialMask;
    // v is at most 16777215, so q is at most 167 and three letters hold it.
    std::string letters(1, 'P');
    letters += Letters(v / kSerialRange, 3);
    return WithSerial(std::move(letters), v % kSerialRange);
}
