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
        {Utc(2026, 12, 5, 17, 24, 48), true, "20261205_172448"},
        {Utc(2026, 1, 2, 3, 4, 5), true, "20260102_030405"},
        {Utc(2026, 1, 2, 3, 4, 5), false, "20260102"},
        {Utc(1999, 12, 31, 23, 59, 59), true, "19991231_235959"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CLog::FormatStamp(c.utc, c.timeInName), c.stamp);
    EXPECT_EQ(CLog::FormatTimePrefix(Utc(2026, 1, 2, 3, 4, 5), 7), "03:04:05.007 -- ");
    EXPECT_EQ(CLog::FormatTimePrefix(Utc(2026, 1, 2, 3, 4, 5), 7).size(), 16u);
}

TEST(LogTest, OpenCreatesTheDatedFileAndAppendsWithoutTruncating)
{
    CTempWorkingFolder folder;
    std::string path;
    {
        CLog log("Tester", true);
        ASSERT_TRUE(log.Open(false));
        path = log.Path();
        EXPECT_TRUE(std::regex_match(path, std::regex(R"(Log/Tester_\d{8}_\d{6}\.log)"))) << path;
        std::string line = "first";
        ASSERT_TRUE(log.Write(line, true));
    }
    {
        // A second run that gets the same name keeps what the first wrote.
        CLog log("Tester", false);
        ASSERT_TRUE(log.Open(false));
        std::string date = path.substr(11, 8);
        EXPECT_EQ(log.Path(), "Log/Tester_" + date + ".log");
    }
    CLog again("Tester", true);
    ASSERT_TRUE(again.Open(false));
    if (again.Path() == path) {
        std::string line = "second";
        ASSERT_TRUE(again.Write(line, true));
        EXPECT_EQ(ReadBytes(path), "firstsecond");
    } else {
        EXPECT_EQ(ReadBytes(path), "first"); // the second changed meanwhile
    }
}

TEST(LogTest, LinesEndInCrLfWithLineBreaksInTheTextBlanked)
{
    CTempWorkingFolder folder;
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
    EXPECT_EQ(ReadBytes(log.Path()), "a b c  \r\nx\r\ny21\xB0\r\n");
}

TEST(LogTest, BannersAndTimePrefixWhenAsked)
{
    CTempWorkingFolder folder;
    std::string path;
    {
        CLog log("Banner", true);
        ASSERT_TRUE(log.Open(true));
        path = log.Path();
        std::string text = "hello";
        ASSERT_TRUE(log.Write(text, false));
    }
    const std::string bytes = ReadBytes(path);
    const std::regex expected(R"(\d\d:\d\d:\d\d\.\d{3} -- -----------Logging started-----------------\r\n)"
                              R"(\d\d:\d\d:\d\d\.\d{3} -- hello\r\n)"
                              R"(\d\d:\d\d:\d\d\.\d{3} -- -----------Logging stopped-----------------\r\n)");
    EXPECT_TRUE(std::regex_match(bytes, expected)) << bytes;
}

TEST(LogTest, FailuresAreReportedAndLeaveTheFileOpen)
{
    CTempWorkingFolder folder;
    {
        CLog closed("Closed", true);
        std::string text = "x";
        EXPECT_FALSE(closed.Write(text, false));
    }
    {
        // "Log" is a regular file: no folder, no log.
        std::FILE* blocker = std::fopen("Log", "w");
        ASSERT_NE(blocker, nullptr);
        std::fclose(blocker);
        CLog log("Blocked", true);
        EXPECT_FALSE(log.Open(false));
        EXPECT_FALSE(log.IsOpen());
        fs::remove("Log");
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
    CTempWorkingFolder folder;
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
    EXPECT_EQ(ReadBytes(log.Path()), "06-12-2026,first\r\n");

    std::string next = "next";
    ASSERT_TRUE(log.Write(next, false));
    EXPECT_EQ(ReadBytes(log.Path()), "06-12-2026,first\r\nnext\r\n");
}

TEST(LogTest, LongBaseNamesAreCut)
{
    CTempWorkingFolder folder;
    CLog tooLong(std::string(400, 'n'), false);
    // Cut to 259 characters, which with the stamp is still more than a file
    // name may have: no file, reported as such.
    EXPECT_FALSE(tooLong.Open(false));
    EXPECT_EQ(tooLong.Path(), "Log/" + std::string(CLog::kMaxBaseName, 'n') + tooLong.Path().substr(263));
    EXPECT_EQ(tooLong.Path()[4 + CLog::kMaxBaseName], '_');
    CLog fits(std::string(200, 'n'), false);
    ASSERT_TRUE(fits.Open(false));
    EXPECT_EQ(fs::path(fits.Path()).filename().string().substr(0, 201), std::string(200, 'n') + "_");
}
