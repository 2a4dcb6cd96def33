#include <gtest/gtest.h>

#include <vector>

#include "LogLine.h"

TEST(LogLineTest, CellsJoinedByTheSeparatorAndQuotedOnlyWhenTheyWouldShiftColumns)
{
    struct Case {
        std::vector<std::string_view> cells;
        const char* line;
    } cases[] = {
        // Quotes, commas and line breaks within cells: the log list's file test.
        {{"", "", ""}, ",,\r\n"},
        {{}, "\r\n"},
        {{"two\r\nlines", "x"}, "two\r\nlines,x\r\n"}, // the log file blanks these
    };
    for (const auto& c : cases) {
        std::string line;
        AppendLogLine(line, c.cells, ",");
        EXPECT_EQ(line, c.line);
    }
    std::string semicolons;
    const std::string_view cells[] = {"a,b", "c;d"};
    AppendLogLine(semicolons, cells, ";");
    EXPECT_EQ(semicolons, "a,b;\"c;d\"\r\n");
}
