#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "CanCommand.h"
#include "CommandReader.h"

namespace {

std::vector<std::string> Split(const std::string& bytes)
{
    CCommandReader reader;
    std::vector<std::string> commands;
    for (const char c : bytes) {
        SimCommand command;
        if (reader.Feed(static_cast<uint8_t>(c), command)) {
            EXPECT_EQ(command.letter, command.text[0]);
            commands.push_back(command.text);
        }
    }
    return commands;
}

TEST(CommandReader, SplitsTheHostsByteStreamCuttingOverLongLines)
{
    const struct {
        std::string bytes;
        std::vector<std::string> commands;
    } cases[] = {
        {"vtcbnx", {"v", "t", "c", "b", "n", "x"}},
        {"l1\nt", {"l1", "t"}},
        {"m5,1a2,2,0,1,FF\nad", {"m5,1a2,2,0,1,FF", "a", "d"}},
        {"0\n4", {"0", "4"}}, // a stray line feed is not a command
        {"zQ\r#t", {"t"}},    // unknown bytes are ignored
        {"m1,2,0,0", {}},     // no line feed yet: nothing complete
        // An over-long line is cut; its tail holds letters that are commands on their own.
        {"m1,1,8,0" + std::string(200, 'b') + "cd\nt", {"m1,1,8,0" + std::string(119, 'b'), "t"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Split(c.bytes), c.commands) << c.bytes;
    }
}

TEST(CanCommand, AcceptsWellFormedCommandsAndRefusesFieldsOutOfRange)
{
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"m5,1a2,2,0,1,FF", true},
        {"m255,7ff,0,1", true},
        {"m0,1FFFFFFF,8,0,0,1,2,3,4,5,6,7", true},
        {"m0,abc,1,0,a", true},
        {"m256,1,0,0", false},      // two-way id above 255
        {"m1,20000000,0,0", false}, // CAN id above 29 bits
        {"m1,1,9,0,1,2,3,4,5,6,7,8,9", false},
        {"m1,1,2,0,1", false}, // count does not match the data
        {"m1,1,1,0,1,2", false},
        {"m1,1,0,2", false},     // rtr not 0 or 1
        {"m1,1,1,0,100", false}, // data byte above FF
        {"m1,1,1,0,g", false},
        {"m1,1,0", false},
        {"m-1,1,0,0", false},
        {"m1,,0,0", false},
        {"m 1,1,0,0", false},
        {"m99999999999,1,0,0", false},
    };
    for (const auto& c : cases) {
        CanCommand command;
        EXPECT_EQ(ParseCanCommand(c.text, command), c.valid) << c.text;
    }
    CanCommand command;
    ASSERT_TRUE(ParseCanCommand("m5,1a2,2,0,1,FF", command));
    EXPECT_EQ(std::tuple(command.twoWayId, command.canId, command.count, command.rtr, command.data[0],
                         command.data[1]),
              std::tuple(5u, 0x1A2u, 2u, 0u, uint8_t{0x01}, uint8_t{0xFF}));
}

} // namespace
