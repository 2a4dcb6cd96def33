#include "TesterCommands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

// The link test shows the usual command texts on the wire; here the edges of the CAN text.
TEST(TesterCommands, CanMessageTextAtItsEdges)
{
    const struct {
        testercommand_t command; // kind, CAN id, two-way id, data count, rtr, data
        const char* text;
    } cases[] = {
        {{kCommandCanMessage, 0xFFFFFFFF, 255, 8, 255, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
         "m255,ffffffff,8,255,FF,FF,FF,FF,FF,FF,FF,FF\n"},
        // A count above 8 never reads past the eight data bytes.
        {{kCommandCanMessage, 2, 1, 12, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}}, "m1,2,12,0,1,2,3,4,5,6,7,8\n"},
    };
    for (const auto& c : cases) {
        char text[kCanCommandSize];
        const std::size_t length = FormatCanMessage(c.command, text);
        EXPECT_EQ(std::string(text, length), c.text);
        EXPECT_EQ(std::strlen(text), length);
    }
}
