#include "LogLine.h"

namespace {

bool NeedsQuotes(std::string_view cell, std::string_view separator)
{
    return cell.find('"') != std::string_view::npos ||
           (!separator.empty() && cell.find(separator) != std::string_view::npos);
}

void AppendQuoted(std::string& line, std::string_view cell)
{
    line += '"';
    for (char c : cell) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

} // namespace

void AppendLogLine(std::string& line, std::span<const std::string_view> cells, std::string_view separator)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += separator;
        if (NeedsQuotes(cells[i], separator))
            AppendQuoted(line, cells[i]);
        else
            line += cells[i];
    }
    line += "\r\n";
}
