#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The records the simulator serves, in the order it serves them.
struct simtransponder_t {
    uint32_t id = 0;
    std::optional<uint32_t> shortId;
    std::string label; // UTF-8
};

// Reads "id,short id,label" lines (RFC 4180 quoting, LF or CRLF, an optional
// heading whose first field is "id"). Returns false with the line in `error`
// for a bad number, bad UTF-8, a label over 4096 bytes or a file over 1 GiB.
bool ReadTransponderCsv(const std::string& path, std::vector<simtransponder_t>& records, std::string& error);

// `count` records: ids from 1, short id equal to the id except every tenth
// (none), labels "Car <id>".
std::vector<simtransponder_t> GenerateTransponders(uint32_t count);
