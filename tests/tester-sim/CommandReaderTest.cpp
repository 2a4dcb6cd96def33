#include <gtest/gtest.h>

#include <string>
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
    CanCommand command;
    for (const char* valid :
         {"m5,1a2,2,0,1,FF", "m255,7ff,0,1", "m0,1FFFFFFF,8,0,0,1,2,3,4,5,6,7", "m0,abc,1,0,a"})
        EXPECT_TRUE(ParseCanCommand(valid, command)) << valid;
    // Two-way id, CAN id, count, rtr or a data byte out of range; a count not matching the data;
    // too few fields; fields that are not plain hexadecimal or decimal numbers.
    for (const char* invalid :
         {"m256,1,0,0", "m1,20000000,0,0", "m1,1,9,0,1,2,3,4,5,6,7,8,9", "m1,1,0,2", "m1,1,1,0,100",
          "m1,1,2,0,1", "m1,1,0", "m1,1,1,0,g", "m-1,1,0,0", "m1,,0,0", "m 1,1,0,0", "m99999999999,1,0,0"})
        EXPECT_FALSE(ParseCanCommand(invalid, command)) << invalid;
}

} // namespace
