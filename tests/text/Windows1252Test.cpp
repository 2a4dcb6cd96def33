#include "Windows1252.h"

#include <gtest/gtest.h>

TEST(Windows1252, EveryByteSurvivesTheRoundTripThroughUtf8)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    size_t losses = 99;
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all), &losses), all);
    EXPECT_EQ(losses, 0u);
}

TEST(Windows1252, HighControlsMapToTheirTypographicCharacters)
{
    EXPECT_EQ(Windows1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Windows1252ToUnicode(0x9F), U'\u0178');
    EXPECT_EQ(Windows1252ToUnicode(0xB0), U'\u00B0');
    EXPECT_EQ(Windows1252ToUnicode(0x81), U'\u0081'); // undefined in the code page

    unsigned char byte = 0;
    ASSERT_TRUE(UnicodeToWindows1252(U'\u2122', byte));
    EXPECT_EQ(byte, 0x99);
    EXPECT_FALSE(UnicodeToWindows1252(U'\u0100', byte));
    ASSERT_TRUE(UnicodeToWindows1252(U'\u008D', byte)); // an undefined byte stands for itself
    EXPECT_EQ(byte, 0x8D);
    EXPECT_FALSE(UnicodeToWindows1252(U'\u0080', byte)); // 0x80 is the euro sign
    EXPECT_FALSE(UnicodeToWindows1252(U'\U0001F600', byte));
}

TEST(Windows1252, UnmappableAndInvalidUtf8AreCountedAsLosses)
{
    struct Case {
        std::string utf8;
        std::string expected;
        size_t losses;
    };
    const Case cases[] = {
        {"25 \xC2\xB0"
         "C",
         "25 \xB0"
         "C",
         0},
        {"\xE2\x82\xAC 5", "\x80 5", 0},
        {"a\xC4\x80z", "a?z", 1},     // U+0100 is not in the code page
        {"\xF0\x9F\x98\x80", "?", 1}, // a four-byte sequence counts once
        {"x\xC3", "x?", 1},           // truncated sequence at the end
        {"\xC0\x80", "??", 2},        // overlong encoding is not accepted
        {"\xED\xA0\x80", "???", 3},   // an encoded surrogate is not a character
    };
    for (const Case& c : cases) {
        size_t losses = 0;
        EXPECT_EQ(Utf8ToWindows1252(c.utf8, &losses), c.expected) << c.utf8;
        EXPECT_EQ(losses, c.losses) << c.utf8;
    }
}
