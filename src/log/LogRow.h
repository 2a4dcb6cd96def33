#pragma once

#include <array>
#include <string>

// The seven cells of a row posted to a log list, in Windows-1252. What each
// cell holds depends on the list it is posted to (see CTransponderLogPage and
// CCanMessageLogPage). The receiver owns the row once it is posted.
struct LogRow {
    static constexpr int kCells = 7;
    std::array<std::string, kCells> cells;
};
