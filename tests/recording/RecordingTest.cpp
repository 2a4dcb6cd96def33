// The recording under a running link, read back offline; the reader's refusals; an unwritable file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <sstream>
#include <thread>

#include "RecordedSession.h"
#include "RecordingDevice.h"
#include "RecordingHandlers.h"
#include "RecordingReader.h"
#include "RecordingWriter.h"
#include "ScriptedDevice.h"
#include "TempFolder.h"
#include "TesterLink.h"
#include "WaitUntil.h"

namespace {

// Each event of a recording as "kind bytes|", then what the reader refused.
std::string Describe(const std::string& recording)
{
    std::istringstream in(recording);
    CRecordingReader reader(in);
    std::string text;
    for (recordingevent_t event; reader.Next(event);)
        text += std::string(RecordingKindName(event.kind)) + (event.bytes.empty() ? "" : " ") +
                EscapedText(event.bytes) + "|";
    return text + reader.Error();
}

} // namespace

TEST(Recording, TheLinkSessionIsRecordedAndReadsBackAsTheSameEvents)
{
    CTempFolder folder;
    const std::string file = (folder / "session.q9rec").string();
    CScriptedDevice device;
    CRecordingWriter writer([](const std::string& complaint) { ADD_FAILURE() << complaint; });
    ASSERT_TRUE(writer.Open(file, "test", "1.0"));
    CRecordingDevice recorder(device, writer);
    CRecordingHandlers seen;
    std::atomic<int> polls{0};
    std::atomic<int> messages{0};
    // The Tester answers once its last answer's events are delivered: the ring never overflows.
    std::atomic<int> posted{0};
    std::atomic<int> delivered{0};
    std::atomic<bool> stopping{false};
    device.SetResponder([&](const std::string& command) -> std::optional<std::string> {
        while (delivered < posted && !stopping)
            std::this_thread::yield();
        if (command == "t" && ++polls == 2)
            return std::string("\x01noise\xfe#t,1234567,80,1,300\r\n"); // bytes before "#"
        if (command == "b")
            return std::string("#b,42,90,37,64\r\n#no"); // a reply and the start of the next
        if (command == "x" && polls == 3)
            return std::string(300, 'Z') + "\r\n"; // longer than one event
        if (command[0] == 'm' && ++messages == 2)
            return std::string("#tx done\r\n#rx,5,1a2,0,0\r\n"); // then silence: a time-out
        if (command[0] == 'm')
            return std::string("#tx done\r\n#rx,5,1a2,2,0,aa,bb\r\n#msg done\r\n");
        return std::nullopt;
    });
    {
        CTesterLink link(
            recorder, [&] { ++posted; }, [](std::chrono::milliseconds) {});
        const auto deliverUntil = [&](const std::function<bool()>& done) {
            WaitUntil([&] {
                const int before = posted;
                link.DeliverEvents(seen);
                delivered = before;
                return done();
            });
        };
        link.Start();
        deliverUntil([&] { return polls >= 4; });
        link.SendCanMessage(5, 0x1A2, 0, 1, nullptr);
        link.SendCanMessage(5, 0x1A2, 0, 1, nullptr);
        link.StartListening();
        deliverUntil([&] { return seen.Count("Special") >= 2; });
        stopping = true;
        link.Stop();
        EXPECT_EQ(link.RefusedEvents(), 0u);
    }
    ASSERT_GE(seen.Count("Special"), 2);

    const std::string described = Describe(ReadFileBytes(file));
    // One event per command and per reply line, bytes as they were.
    EXPECT_EQ(described.rfind("plug|tx v|rx #v,2.5\\r\\n|tx t|rx #no \\r\\n|", 0), 0u) << described;
    EXPECT_NE(described.find("|rx \\x01noise\\xFE#t,1234567,80,1,300\\r\\n|"), std::string::npos);
    EXPECT_NE(described.find("|rx #b,42,90,37,64\\r\\n|tx n|rx #no"), std::string::npos);
    EXPECT_NE(described.find("|tx m5,1a2,0,1\\n|"), std::string::npos);
    // The silent Tester after the second message; the replay must make it the same lost link.
    EXPECT_NE(described.find("|rx #rx,5,1a2,0,0\\r\\n|timeout|"), std::string::npos);
    EXPECT_NE(described.find("|rx " + std::string(256, 'Z') + "|rx " + std::string(44, 'Z')),
              std::string::npos);
    EXPECT_EQ(described.substr(described.size() - 6), "close|");

    // Read back offline, the recording makes the very events the link made.
    std::istringstream in(ReadFileBytes(file));
    CRecordingReader reader(in);
    CRecordingHandlers replay;
    EXPECT_TRUE(CRecordedSession(replay).Play(reader));
    seen.calls.resize(std::min(seen.calls.size(), replay.calls.size()));
    replay.calls.resize(seen.calls.size()); // the link may have stopped before the last delivery
    EXPECT_EQ(replay.calls, seen.calls);
}

TEST(Recording, TheReaderRefusesWhatItDoesNotUnderstandNamingTheLine)
{
    const std::string header = "q9tester-recording 1 q9tester 1.0 started 2026-12-07 10:00:00 +0000\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        // No recording, or a line that is no event at all.
        {"", "line 1: not a Q9 Tester recording"},
        {"q9tester-recording 2 q9tester 9.0\n", "line 1: format version \"2\" is not known"},
        {"q9tester-recording 1\n", "line 1: the header does not name"},
        {header + "10 plug\n20 tx t\n30 rx #no \\r\\n", "plug|tx t|line 4: the file ends inside this line"},
        {header + "10 plug\r\n", "line 2: byte 0x0D is not text"},
        {header + "10 plug\n20 rx " + std::string(5000, 'a') + "\n", "plug|line 3: longer than 4096"},
        {header + "-5 plug\n", "line 2: the time \"-5\" is not a number"},
        {header + "99999999999999999999 plug\n", "line 2: the time"},
        {header + "10 plug\n20 shout hello\n", "plug|line 3: unknown event \"shout\""},
        // Events out of place or with wrong bytes.
        {header + "10 plug\n30 rx #no\\r\\n\n20 tx t\n", "plug|rx #no\\r\\n|line 4: the time 20 is before"},
        {header + "10 plug\n11 unplug\n12 rx #\n", "plug|unplug|line 4: \"rx\" while no Tester is open"},
        {header + "10 plug\n20 plug\n", "plug|line 3: \"plug\" while the Tester is open"},
        {header + "10 plug\n20 tx\n", "plug|line 3: \"tx\" without bytes"},
        {header + "10 plug now\n", "line 2: \"plug\" carries no bytes"},
        {header + "10 plug\n20 rx #t\\x4\n", "plug|line 3: unknown escape"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_THAT(Describe(text), ::testing::StartsWith(expected));
    // What the reader accepts: escapes, equal times, and the session shipped in docs/.
    EXPECT_EQ(Describe(header + "0 plug\n5 tx l1\\n\n9 rx \\\\\\t\\x00\\xff\\x20\n9 close\n"),
              "plug|tx l1\\n|rx \\\\\\t\\x00\\xFF\\x20|close|");
    std::string writer, error;
    EXPECT_TRUE(CheckRecordingFile(SAMPLE_RECORDING, writer, error)) << error;
}

TEST(Recording, AnUnwritableFileIsSaidOnce)
{
    std::vector<std::string> complaints;
    CRecordingWriter writer([&](const std::string& complaint) { complaints.push_back(complaint); });
    EXPECT_FALSE(writer.Open("/nonexistent-folder/r.q9rec", "q9tester", "1.0"));
    writer.Write(1, RecordingKind::kPlug);
    EXPECT_EQ(complaints, (std::vector<std::string>{"q9tester: cannot record to /nonexistent-folder/"
                                                    "r.q9rec: No such file or directory; going on "
                                                    "without a recording"}));
}
