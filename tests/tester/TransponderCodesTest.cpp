#include "TransponderCodes.h"

#include <gtest/gtest.h>

TEST(TransponderCodes, MindletNumbers)
{
    const struct {
        uint32_t number;
        const char* code;
    } cases[] = {
        {0, "0"},
        {100663295, "100663295"},
        {100663296, "CC-00000"},
        {100675641, "CC-12345"},
        {100763338, "CF-00042"},
        {102163295, "CZ-99999"},
        {102163296, "FC-00000"},
        {102163303, "FC-00007"},
        {123063301, "ZZ-00005"},   // q = 224, the last two-letter code
        {3858759685u, "CC-00005"}, // 0xE6000005: the top three bits do not count
        {0xFFFFFFFFu & 0xE5FFFFFFu, "100663295"},
        // From q = 225 on every base-15 digit is kept.
        {123163296, "FCC-00000"},   // q = 225
        {123263297, "FCF-00001"},   // q = 226
        {124563296, "FCZ-00000"},   // q = 239
        {124663296, "FFC-00000"},   // q = 240
        {0x1FFFFFFF, "FKLW-07615"}, // the largest: q = 4362
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatTransponderCode(c.number), c.code) << c.number;
}

TEST(TransponderCodes, SpecialDeviceNumbers)
{
    const struct {
        uint32_t number;
        const char* code;
    } cases[] = {
        {12345, "12345"},
        {16777221, "16777221"}, // bit 24 does not count
        {67108869, "67108869"}, // nor does bit 26
        {0xE5FFFFFFu, "3858759679"},
        {33554432, "PCCC-00000"},
        {34788999, "PCCW-34567"}, // 0x0212D687: q = 12
        {136217735, "PCFL-00007"},
        {285212671, "PCVG-77215"},
        {0xFFFFFFFF, "PCVG-77215"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatSpecialCode(c.number), c.code) << c.number;
}
