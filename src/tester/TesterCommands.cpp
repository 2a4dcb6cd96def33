#include "TesterCommands.h"

#include <cstdio>

char EmulationCommandByte(uint8_t index)
{
    return static_cast<char>('0' + index);
}

std::size_t FormatLoopCommand(uint8_t parameter, char (&buffer)[kLoopCommandSize])
{
    const int length = std::snprintf(buffer, sizeof buffer, "%c%d\n", kCommandLoopLetter, parameter);
    return static_cast<std::size_t>(length);
}

std::size_t FormatCanMessage(const testercommand_t& command, char (&buffer)[kCanCommandSize])
{
    // The longest text, "m255,ffffffff,8,255" and eight ",FF" and "\n", is 44
    // bytes, so nothing is ever cut.
    int length = std::snprintf(buffer, sizeof buffer, "%c%d,%x,%d,%d", kCommandCanLetter, command.parameter,
                               command.canId, command.dataCount, command.rtr);
    const int count = command.dataCount < 8 ? command.dataCount : 8;
    for (int i = 0; i < count; ++i)
        length += std::snprintf(buffer + length, sizeof buffer - length, ",%X", command.data[i]);
    length += std::snprintf(buffer + length, sizeof buffer - length, "\n");
    return static_cast<std::size_t>(length);
}
