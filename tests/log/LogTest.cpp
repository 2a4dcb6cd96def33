#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "Log.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

// Writes a copy of `text`, as the callers that keep their own text do.
bool Write(CLog& log, std::string text, bool raw = false)
{
    return log.Write(text, raw);
}

// Each test in a folder of its own: the logs land in ./Log.
class LogTest : public ::testing::Test {
  protected:
    void SetUp() override { m_folder.MakeCurrent(); }

    CTempFolder m_folder;
};

} // namespace

TEST(LogStamp, StampsAndPrefixesAreZeroPaddedUtcFields)
{
    std::tm utc{};
    utc.tm_year = 2026 - 1900;
    utc.tm_mday = 2;
    utc.tm_hour = 3;
    utc.tm_min = 4;
    utc.tm_sec = 5;
    EXPECT_EQ(CLog::FormatStamp(utc, true), "20260102_030405");
    EXPECT_EQ(CLog::FormatStamp(utc, false), "20260102");
    EXPECT_EQ(CLog::FormatTimePrefix(utc, 7), "03:04:05.007 -- ");
}

TEST_F(LogTest, OpenCreatesTheDatedFileAndAppendsAndFailuresAreReportedLeavingTheFileOpen)
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
    CLog tooLong(std::string(400, 'n'), false); // more than a file name can hold
    EXPECT_FALSE(tooLong.Open(false));
    CLog fits(std::string(200, 'n'), false);
    EXPECT_TRUE(fits.Open(false));
    // A file that refuses every write: today's (and tomorrow's, in case the
    // date turns meanwhile) dated name points at /dev/full.
    const std::time_t now = std::time(nullptr);
    for (std::time_t t : {now, now + 86400}) {
        std::tm utc{};
        gmtime_r(&t, &utc);
        fs::create_symlink("/dev/full", "Log/Full_" + CLog::FormatStamp(utc, false) + ".log");
    }
    CLog full("Full", false);
    ASSERT_TRUE(full.Open(false));
    EXPECT_FALSE(Write(full, "lost"));
    EXPECT_TRUE(full.IsOpen());
    EXPECT_FALSE(Write(full, "lost")); // tried again, not given up
}

TEST_F(LogTest, LinesEndInCrLfWithLineBreaksBlankedTimePrefixedAndBetweenBanners)
{
    std::string path;
    {
        CLog log("Lines", true);
        ASSERT_TRUE(log.Open(true));
        path = log.Path();
        std::string text = "a\rb\nc\r\n";
        ASSERT_TRUE(log.Write(text, false));
        EXPECT_EQ(text, "a b c  "); // changed in place
        std::string raw = "x\r\ny";
        ASSERT_TRUE(log.Write(raw, true));
        EXPECT_EQ(raw, "x\r\ny");
        ASSERT_TRUE(Write(log, "21\xB0"));
    }
    const std::string bytes = ReadFileBytes(path);
    const std::string time = R"(\d\d:\d\d:\d\d\.\d{3} -- )";
    const std::regex expected(time + "-----------Logging started-----------------\r\n" + time +
                              "a b c  \r\nx\r\ny" + time + "21\xB0\r\n" + time +
                              "-----------Logging stopped-----------------\r\n");
    EXPECT_TRUE(std::regex_match(bytes, expected)) << bytes;
}
