#include "Windows1252.h"

#include <gtest/gtest.h>

TEST(Windows1252, EveryByteSurvivesTheRoundTripAndWhatHasNoByteIsCountedAsALoss)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    size_t losses = 99;
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all), &losses), all);
    EXPECT_EQ(losses, 0u);
    // Euro sign, Y with diaeresis, degree sign, and 0x81, undefined in the code page.
    EXPECT_EQ(Windows1252ToUtf8("\x80\x9F\xB0\x81"), "\xE2\x82\xAC\xC5\xB8\xC2\xB0\xC2\x81");

    struct Case {
        std::string utf8;
        std::string expected;
        size_t losses;
    };
    const Case cases[] = {
        {"\xC2\x80", "?", 1},         // U+0080 is not 0x80, the euro sign
        {"a\xC4\x80z", "a?z", 1},     // U+0100 is not in the code page
        {"\xF0\x9F\x98\x80", "?", 1}, // a four-byte sequence counts once
        {"x\xC3", "x?", 1},           // truncated sequence at the end
        {"\xC0\x80", "??", 2},        // overlong encoding is not accepted
        {"\xED\xA0\x80", "???", 3},   // an encoded surrogate is not a character
    };
    for (const Case& c : cases) {
        losses = 0;
        EXPECT_EQ(Utf8ToWindows1252(c.utf8, &losses), c.expected) << c.utf8;
        EXPECT_EQ(losses, c.losses) << c.utf8;
    }
}
