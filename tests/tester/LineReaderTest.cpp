#include "LineReader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>

#include "ScriptedDevice.h"

namespace {

using Lines = std::vector<std::string>;

// The lines read from `bytes` until the input is used up, each up to its line feed, NULs kept.
Lines ReadAll(const std::string& bytes, std::size_t size = kReplyLineSize)
{
    const std::atomic<bool> keepReading{true};
    CScriptedDevice device;
    device.Feed(bytes);
    Lines lines;
    for (;;) {
        char buffer[kReplyLineSize] = {};
        if (!ReadLine(device, buffer, size, keepReading))
            return lines;
        const char* end = static_cast<const char*>(std::memchr(buffer, '\n', size));
        lines.emplace_back(buffer, end != nullptr ? end + 1 - buffer : std::strlen(buffer));
    }
}

} // namespace

TEST(LineReader, LinesStartAtTheHashAndEndAtTheLineFeedOrTheBuffer)
{
    const std::string longLine = "#" + std::string(150, 'a');
    const std::string full = "#" + std::string(125, 'b') + "\n"; // exactly what the buffer holds
    const std::string reply = "#" + std::string(70, 'e') + "\r\n";
    const struct {
        std::string bytes;
        Lines lines;
        std::size_t size = kReplyLineSize;
    } cases[] = {
        // "\r" skipped, "\n" ends the read empty; a later "#" is an ordinary byte.
        {std::string("xyz#c,99,10\r\n\r\nnoise\n\0\x01#a#b\n", 28), {"#c,99,10\r\n", "", "", "#a#b\n"}},
        // A NUL is stored like any byte, so the next reply starts clean.
        {std::string("#t,1\0,2\r\n#c,1,2\r\n", 17), {std::string("#t,1\0,2\r\n", 9), "#c,1,2\r\n"}},
        // A long line is cut; its tail has no "#" and is skipped up to its line feed.
        {longLine + "\r\n#n,5\r\n", {longLine.substr(0, 127), "", "#n,5\r\n"}},
        // Skipping more than any reply holds ends an empty line; the rest is skipped next.
        {std::string(kMaxSkippedBytes + 3, 'x') + "#n,5\r\n", {"", "#n,5\r\n"}},
        {full + "#c\n", {full, "#c\n"}},
        // The reply to the emulation command is read into 64 bytes: 63 stored.
        {reply, {reply.substr(0, 63), ""}, kEmulationReplyLineSize},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadAll(c.bytes, c.size), c.lines) << c.bytes.substr(0, 20);
}
