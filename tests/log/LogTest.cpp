#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <regex>

#include "Log.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::tm Utc(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

} // namespace

TEST(LogTest, StampsAndPrefixesAreZeroPaddedUtcFields)
{
    struct Case {
        std::tm utc;
        bool timeInName;
        const char* stamp;
    } cases[] = {
        {Utc(2026, 1, 2, 3, 4, 5), true, "20260102_030405"},
        {Utc(2026, 1, 2, 3, 4, 5), false, "20260102"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CLog::FormatStamp(c.utc, c.timeInName), c.stamp);
    EXPECT_EQ(CLog::FormatTimePrefix(Utc(2026, 1, 2, 3, 4, 5), 7), "03:04:05.007 -- ");
}

TEST(LogTest, OpenCreatesTheDatedFileAndAppendsWithoutTruncating)
{
    CTempFolder folder;
    folder.MakeCurrent();
    std::string path;
    {
        CLog log("Tester", false); // named by the day: a second run gets the same file
        ASSERT_TRUE(log.Open(false));
        path = log.Path();
        EXPECT_TRUE(std::regex_match(path, std::regex(R"(Log/Tester_\d{8}\.log)"))) << path;
        std::string line = "first";
        ASSERT_TRUE(log.Write(line, true));
    }
    CLog again("Tester", false);
    ASSERT_TRUE(again.Open(false));
    std::string line = "second";
    ASSERT_TRUE(again.Write(line, true));
    if (again.Path() == path) { // else the date turned meanwhile
        EXPECT_EQ(ReadFileBytes(path), "firstsecond");
    }
}

TEST(LogTest, LinesEndInCrLfWithLineBreaksInTheTextBlanked)
{
    CTempFolder folder;
    folder.MakeCurrent();
    CLog log("Lines", true);
    ASSERT_TRUE(log.Open(false));
    log.SetTimePrefix(false);
    std::string text = "a\rb\nc\r\n";
    ASSERT_TRUE(log.Write(text, false));
    EXPECT_EQ(text, "a b c  "); // changed in place
    std::string raw = "x\r\ny";
    ASSERT_TRUE(log.Write(raw, true));
    EXPECT_EQ(raw, "x\r\ny");
    std::string degree = "21\xB0";
    ASSERT_TRUE(log.Write(degree, false));
    EXPECT_EQ(ReadFileBytes(log.Path()), "a b c  \r\nx\r\ny21\xB0\r\n");
}

TEST(LogTest, BannersAndTimePrefixWhenAsked)
{
    CTempFolder folder;
    folder.MakeCurrent();
    std::string path;
    {
        CLog log("Banner", true);
        ASSERT_TRUE(log.Open(true));
        path = log.Path();
        std::string text = "hello";
        ASSERT_TRUE(log.Write(text, false));
    }
    const std::string bytes = ReadFileBytes(path);
    const std::regex expected(R"(\d\d:\d\d:\d\d\.\d{3} -- -----------Logging started-----------------\r\n)"
                              R"(\d\d:\d\d:\d\d\.\d{3} -- hello\r\n)"
                              R"(\d\d:\d\d:\d\d\.\d{3} -- -----------Logging stopped-----------------\r\n)");
    EXPECT_TRUE(std::regex_match(bytes, expected)) << bytes;
}

TEST(LogTest, FailuresAreReportedAndLeaveTheFileOpen)
{
    CTempFolder folder;
    folder.MakeCurrent();
    {
        CLog closed("Closed", true);
        std::string text = "x";
        EXPECT_FALSE(closed.Write(text, false));
    }
    // A file that refuses every write: today's (and tomorrow's, in case the
    // date turns meanwhile) dated name points at /dev/full.
    fs::create_directory("Log");
    const std::time_t now = std::time(nullptr);
    for (std::time_t t : {now, now + 86400}) {
        std::tm utc{};
        gmtime_r(&t, &utc);
        fs::create_symlink("/dev/full", "Log/Full_" + CLog::FormatStamp(utc, false) + ".log");
    }
    CLog full("Full", false);
    ASSERT_TRUE(full.Open(false));
    std::string text = "lost";
    EXPECT_FALSE(full.Write(text, false));
    EXPECT_TRUE(full.IsOpen());
    EXPECT_FALSE(full.Write(text, false)); // tried again, not given up
}

TEST(LogTest, ALineCutShortByTheSizeLimitIsTakenBackWhole)
{
    CTempFolder folder;
    folder.MakeCurrent();
    CLog log("Torn", true);
    ASSERT_TRUE(log.Open(false));
    log.SetTimePrefix(false);
    std::string first = "06-12-2026,first";
    ASSERT_TRUE(log.Write(first, false));

    // Room for a few bytes of the next line only (root cannot bypass it).
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = fs::file_size(log.Path()) + 5;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    std::string lost = "23456789,,,Korvo";
    const bool written = log.Write(lost, false);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFileBytes(log.Path()), "06-12-2026,first\r\n");

    std::string next = "next";
    ASSERT_TRUE(log.Write(next, false));
    EXPECT_EQ(ReadFileBytes(log.Path()), "06-12-2026,first\r\nnext\r\n");
}

TEST(LogTest, ABaseNameTooLongForAFileNameIsReportedNotOpened)
{
    CTempFolder folder;
    folder.MakeCurrent();
    CLog tooLong(std::string(400, 'n'), false);
    EXPECT_FALSE(tooLong.Open(false));
    CLog fits(std::string(200, 'n'), false);
    EXPECT_TRUE(fits.Open(false));
}
