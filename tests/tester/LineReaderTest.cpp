#include "LineReader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "ScriptedDevice.h"

namespace {

const std::atomic<bool> kKeepReading{true};

struct Line {
    std::string text;
    bool complete;
};

// Feeds `bytes` and reads lines until the input is used up.
std::vector<Line> ReadAll(const std::string& bytes, std::size_t size = kReplyLineSize)
{
    CScriptedDevice device;
    device.Feed(bytes);
    std::vector<Line> lines;
    for (;;) {
        char buffer[kReplyLineSize];
        const bool complete = ReadLine(device, buffer, size, kKeepReading);
        lines.push_back({buffer, complete});
        if (!complete)
            return lines;
    }
}

} // namespace

TEST(LineReader, SkipsBytesBeforeTheHashAndEndsEmptyOnAnEarlyLineFeed)
{
    const auto lines = ReadAll(std::string("xyz#c,99,10\r\n\r\nnoise\n\0\x01#a#b\n", 28));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].text, "#c,99,10\r\n");
    EXPECT_EQ(lines[1].text, ""); // "\r" skipped, "\n" ends the read
    EXPECT_TRUE(lines[1].complete);
    EXPECT_EQ(lines[2].text, "");       // "noise\n"
    EXPECT_EQ(lines[3].text, "#a#b\n"); // a later "#" is an ordinary byte
    EXPECT_FALSE(lines[4].complete);
}

TEST(LineReader, StoresNulBytesInsideALine)
{
    // The NUL is stored like any byte, so the line still ends at its own line
    // feed and the next reply starts clean.
    CScriptedDevice device;
    device.Feed(std::string("#t,1\0,2\r\n#c,1,2\r\n", 17));
    char buffer[kReplyLineSize];
    ASSERT_TRUE(ReadLine(device, buffer, sizeof buffer, kKeepReading));
    EXPECT_EQ(std::string(buffer, 10), std::string("#t,1\0,2\r\n\0", 10));
    ASSERT_TRUE(ReadLine(device, buffer, sizeof buffer, kKeepReading));
    EXPECT_STREQ(buffer, "#c,1,2\r\n");
}

TEST(LineReader, CutsLongLinesAndLeavesTheTailForTheNextRead)
{
    const std::string body = "#" + std::string(150, 'a');
    const auto lines = ReadAll(body + "\r\n#n,5\r\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].text, body.substr(0, 127));
    EXPECT_TRUE(lines[0].complete);
    EXPECT_EQ(lines[1].text, ""); // the tail has no "#": skipped up to its line feed
    EXPECT_TRUE(lines[1].complete);
    EXPECT_EQ(lines[2].text, "#n,5\r\n");
}

TEST(LineReader, SkippingMoreThanAnyReplyHoldsEndsAnEmptyLine)
{
    const auto lines = ReadAll(std::string(kMaxSkippedBytes + 3, 'x') + "#n,5\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "");
    EXPECT_TRUE(lines[0].complete);
    EXPECT_EQ(lines[1].text, "#n,5\r\n"); // the last three skipped on the next read
}

TEST(LineReader, ExactlyFullLineAndTheSmallBuffer)
{
    // 126 bytes and the line feed: exactly what the buffer holds.
    const std::string full = "#" + std::string(125, 'b') + "\n";
    auto lines = ReadAll(full + "#c\n");
    EXPECT_EQ(lines[0].text, full);
    EXPECT_EQ(lines[1].text, "#c\n");

    // The reply to the emulation command is read into 64 bytes: 63 stored.
    const std::string reply = "#" + std::string(70, 'e') + "\r\n";
    lines = ReadAll(reply, kEmulationReplyLineSize);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, reply.substr(0, 63));
    EXPECT_EQ(lines[1].text, "");
}
