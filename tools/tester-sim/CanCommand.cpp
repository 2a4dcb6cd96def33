#include "CanCommand.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace {

constexpr uint32_t kMaxCanId = 0x1FFFFFFF; // 29-bit extended identifier

std::vector<std::string> SplitFields(const std::string& text)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

bool ParseField(const std::string& field, int base, uint32_t max, uint32_t& value)
{
    if (field.empty() || field.size() > 10) {
        return false;
    }
    for (const char c : field) {
        const bool digit = c >= '0' && c <= '9';
        const bool hex = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit && !(base == 16 && hex)) {
            return false;
        }
    }
    errno = 0;
    const unsigned long long parsed = std::strtoull(field.c_str(), nullptr, base);
    if (errno != 0 || parsed > max) {
        return false;
    }
    value = static_cast<uint32_t>(parsed);
    return true;
}

} // namespace

bool ParseCanCommand(const std::string& text, CanCommand& command)
{
    if (text.empty() || text[0] != 'm') {
        return false;
    }
    const std::vector<std::string> fields = SplitFields(text.substr(1));
    if (fields.size() < 4 || fields.size() > 12) {
        return false;
    }
    command = CanCommand{};
    if (!ParseField(fields[0], 10, 255, command.twoWayId) ||
        !ParseField(fields[1], 16, kMaxCanId, command.canId) ||
        !ParseField(fields[2], 10, 8, command.count) || !ParseField(fields[3], 10, 1, command.rtr) ||
        command.count != fields.size() - 4) {
        return false;
    }
    for (uint32_t i = 0; i < command.count; ++i) {
        uint32_t byte = 0;
        if (!ParseField(fields[4 + i], 16, 0xFF, byte)) {
            return false;
        }
        command.data[i] = static_cast<uint8_t>(byte);
    }
    return true;
}
