#include "TransponderCodes.h"

#include <gtest/gtest.h>

TEST(TransponderCodes, MindletAndSpecialDeviceNumbers)
{
    const struct {
        std::string (*format)(uint32_t);
        uint32_t number;
        const char* code;
    } cases[] = {
        {FormatTransponderCode, 100663295, "100663295"},
        {FormatTransponderCode, 100663296, "CC-00000"},
        {FormatTransponderCode, 102163295, "CZ-99999"},
        {FormatTransponderCode, 102163296, "FC-00000"},
        {FormatTransponderCode, 123063301, "ZZ-00005"},   // q = 224, the last two-letter code
        {FormatTransponderCode, 3858759685u, "CC-00005"}, // 0xE6000005: the top three bits do not count
        // From q = 225 on every base-15 digit is kept.
        {FormatTransponderCode, 123163296, "FCC-00000"},   // q = 225
        {FormatTransponderCode, 124663296, "FFC-00000"},   // q = 240
        {FormatTransponderCode, 0x1FFFFFFF, "FKLW-07615"}, // the largest: q = 4362
        {FormatSpecialCode, 16777221, "16777221"},         // bit 24 does not count
        {FormatSpecialCode, 67108869, "67108869"},         // nor does bit 26
        {FormatSpecialCode, 0xE5FFFFFFu, "3858759679"},
        {FormatSpecialCode, 33554432, "PCCC-00000"},
        {FormatSpecialCode, 34788999, "PCCW-34567"}, // 0x0212D687: q = 12
        {FormatSpecialCode, 285212671, "PCVG-77215"},
        {FormatSpecialCode, 0xFFFFFFFF, "PCVG-77215"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.format(c.number), c.code) << c.number;
}
