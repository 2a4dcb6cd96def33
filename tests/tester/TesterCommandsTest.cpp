#include "TesterCommands.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string CanText(uint8_t twoWayId, uint32_t canId, uint8_t count, uint8_t rtr,
                    std::initializer_list<uint8_t> data)
{
    testercommand_t command;
    command.kind = kCommandCanMessage;
    command.parameter = twoWayId;
    command.canId = canId;
    command.dataCount = count;
    command.rtr = rtr;
    std::copy(data.begin(), data.end(), command.data);
    char text[kCanCommandSize];
    const std::size_t length = FormatCanMessage(command, text);
    EXPECT_EQ(length, std::string(text).size());
    return std::string(text, length);
}

} // namespace

TEST(TesterCommands, CommandText)
{
    EXPECT_EQ(CanText(5, 0x1A2, 2, 0, {0x01, 0xFF}), "m5,1a2,2,0,1,FF\n");
    EXPECT_EQ(CanText(255, 0x7FF, 0, 1, {}), "m255,7ff,0,1\n");
    EXPECT_EQ(CanText(0, 0, 1, 0, {0x0A}), "m0,0,1,0,A\n");
    EXPECT_EQ(CanText(255, 0xFFFFFFFF, 8, 255, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
              "m255,ffffffff,8,255,FF,FF,FF,FF,FF,FF,FF,FF\n");
    // A count above 8 never reads past the eight data bytes.
    EXPECT_EQ(CanText(1, 2, 12, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}), "m1,2,12,0,1,2,3,4,5,6,7,8\n");

    char text[kLoopCommandSize];
    EXPECT_EQ(std::string(text, FormatLoopCommand(63, text)), "l63\n");
    EXPECT_EQ(EmulationCommandByte(4), '4');
}
