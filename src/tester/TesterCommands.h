#pragma once

#include <cstddef>

#include "TesterRecords.h"

// Command bytes the host sends. One-letter commands have no terminator;
// commands with parameters end with a line feed and no carriage return.
inline constexpr char kCommandVersion = 'v';
inline constexpr char kPollCycle[] = {'t', 'c', 'b', 'n', 'x'};
inline constexpr char kCommandListenToggle = 'a';
inline constexpr char kCommandSpecialPoll = 'd';
inline constexpr char kCommandLoopLetter = 'l';
inline constexpr char kCommandCanLetter = 'm';

inline constexpr std::size_t kLoopCommandSize = 10;
inline constexpr std::size_t kCanCommandSize = 128;

// The transponder-emulation byte: the digit of the transponder index.
char EmulationCommandByte(uint8_t index);

// "l<parameter>\n" into `buffer`; returns its length.
std::size_t FormatLoopCommand(uint8_t parameter, char (&buffer)[kLoopCommandSize]);

// "m<two-way id>,<can id hex>,<count>,<rtr>" then ",<byte HEX>" per data byte,
// then "\n", into `buffer`; returns its length. At most 8 data bytes are written.
std::size_t FormatCanMessage(const testercommand_t& command, char (&buffer)[kCanCommandSize]);
