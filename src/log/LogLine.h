#pragma once

#include <span>
#include <string>
#include <string_view>

// Appends the file line of a log row to `line`: the cells joined by
// `separator`, then "\r\n". A cell that holds the separator or a double quote
// is quoted as CSV does (quotes around it, inner quotes doubled), so it cannot
// shift the columns after it; every other cell is written as it is.
void AppendLogLine(std::string& line, std::span<const std::string_view> cells, std::string_view separator);
