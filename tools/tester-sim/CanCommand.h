#pragma once

#include <cstdint>
#include <string>

// A CAN message command as the Tester reads it:
// "m<two-way id>,<CAN id hex>,<count>,<rtr>[,<byte hex>...]" (no line feed).
struct CanCommand {
    uint32_t twoWayId = 0;
    uint32_t canId = 0;
    uint32_t count = 0;
    uint32_t rtr = 0;
    uint8_t data[8] = {};
};

// False when a field is missing, not a number, or out of range: two-way id
// above 255, CAN id above 0x1FFFFFFF, count above 8 or not matching the data
// bytes given, rtr not 0 or 1, a data byte above FF.
bool ParseCanCommand(const std::string& text, CanCommand& command);
