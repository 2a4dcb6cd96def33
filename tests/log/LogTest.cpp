#include <gtest/gtest.h>

#include <regex>

#include "Log.h"
#include "TempFolder.h"

namespace {

// Writes a copy of `text`, as the callers that keep their own text do.
bool Write(CLog& log, std::string text, bool raw = false)
{
    return log.Write(text, raw);
}

class LogTest : public ::testing::Test {
  protected:
    void SetUp() override { m_folder.MakeCurrent(); }

    CTempFolder m_folder;
};

} // namespace

TEST(LogStamp, StampsAndPrefixesAreZeroPaddedUtcFields)
{
    const std::time_t time = 1767323045; // 2026-01-02 03:04:05 UTC
    std::tm utc{};
    gmtime_r(&time, &utc);
    EXPECT_EQ(CLog::FormatStamp(utc, true), "20260102_030405");
    EXPECT_EQ(CLog::FormatStamp(utc, false), "20260102");
    EXPECT_EQ(CLog::FormatTimePrefix(utc, 7), "03:04:05.007 -- ");
}

TEST_F(LogTest, OpenCreatesTheDatedFileAndAppendsAndAClosedLogRefusesLines)
{
    std::string path;
    {
        CLog log("Tester", false); // named by the day: a second run gets the same file
        ASSERT_TRUE(log.Open(false));
        path = log.Path();
        EXPECT_TRUE(std::regex_match(path, std::regex(R"(Log/Tester_\d{8}\.log)"))) << path;
        ASSERT_TRUE(Write(log, "first", true));
    }
    CLog again("Tester", false);
    ASSERT_TRUE(again.Open(false));
    ASSERT_TRUE(Write(again, "second", true));
    if (again.Path() == path) { // else the date turned meanwhile
        EXPECT_EQ(ReadFileBytes(path), "firstsecond");
    }

    CLog closed("Closed", true);
    EXPECT_FALSE(Write(closed, "x"));
}

TEST_F(LogTest, LinesEndInCrLfWithLineBreaksBlankedTimePrefixedAndBetweenBanners)
{
    std::string path;
    {
        CLog log("Lines", true);
        ASSERT_TRUE(log.Open(true));
        path = log.Path();
        ASSERT_TRUE(Write(log, "a\rb\nc\r\n"));
        ASSERT_TRUE(Write(log, "x\r\ny", true));
        ASSERT_TRUE(Write(log, "21\xB0"));
    }
    const std::string bytes = ReadFileBytes(path);
    const std::string time = R"(\d\d:\d\d:\d\d\.\d{3} -- )";
    const std::regex expected(time + "-----------Logging started-----------------\r\n" + time +
                              "a b c  \r\nx\r\ny" + time + "21\xB0\r\n" + time +
                              "-----------Logging stopped-----------------\r\n");
    EXPECT_TRUE(std::regex_match(bytes, expected)) << bytes;
}
