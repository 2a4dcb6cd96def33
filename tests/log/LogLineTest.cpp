#include <gtest/gtest.h>

#include <vector>

#include "LogLine.h"

TEST(LogLineTest, CellsJoinedByTheSeparatorAndQuotedOnlyWhenTheyWouldShiftColumns)
{
    struct Case {
        std::vector<std::string_view> cells;
        const char* line;
    } cases[] = {
        {{"ID", "Label", "Short ID"}, "ID,Label,Short ID\r\n"},
        {{"", "", ""}, ",,\r\n"},
        {{}, "\r\n"},
        {{"Car 7, blue", "x"}, "\"Car 7, blue\",x\r\n"},
        {{"say \"hi\"", "x"}, "\"say \"\"hi\"\"\",x\r\n"},
        {{"two\r\nlines", "x"}, "two\r\nlines,x\r\n"}, // the log file blanks these
        {{"21\xB0", "AA BB "}, "21\xB0,AA BB \r\n"},
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
