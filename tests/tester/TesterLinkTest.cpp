#include "TesterLink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <map>

#include "LineReader.h"
#include "RecordingHandlers.h"
#include "RecordingTesterDevice.h"
#include "ScriptedDevice.h"
#include "WaitUntil.h"

using namespace std::chrono_literals;

namespace {

using Calls = std::vector<std::string>;

// A link on a scripted device whose pauses take no time and go into the transcript.
struct CScriptedLink {
    explicit CScriptedLink(std::vector<std::string> descriptions = {"TAMRIX TESTER"})
        : device(std::move(descriptions))
    {
    }

    // Delivers events (as the UI thread) until `done` holds; false on a time-out.
    bool DeliverUntil(const std::function<bool(const CRecordingHandlers&)>& done)
    {
        return WaitUntil([&] {
            link.DeliverEvents(handlers);
            return done(handlers);
        });
    }

    // Runs the link for `cycles` poll cycles and `events` delivered events; false on a time-out.
    bool RunFor(int cycles, std::size_t events)
    {
        link.Start();
        const bool done = device.WaitForTranscript([&](const std::string& t) {
            return CountOccurrences(t, "tcbnx") >= cycles;
        }) && DeliverUntil([&](const CRecordingHandlers& r) { return r.calls.size() >= events; });
        link.Stop();
        return done;
    }

    // The Tester answers each command of `replies` once so; `atVersion` runs after "v".
    void Answer(
        std::map<std::string, std::string> replies, std::function<void()> atVersion = [] {})
    {
        device.SetResponder(
            [replies, atVersion](const std::string& command) mutable -> std::optional<std::string> {
                if (command == "v")
                    atVersion();
                const auto it = replies.find(command);
                if (it == replies.end())
                    return std::nullopt;
                std::string reply = it->second;
                replies.erase(it);
                return reply;
            });
    }

    CScriptedDevice device;
    CRecordingHandlers handlers;
    std::atomic<int> notified{0};
    // Runs on the reader thread at each pause; set before Start.
    std::function<void(std::chrono::milliseconds)> onPause;
    CTesterLink link{device, [this] { ++notified; },
                     [this](std::chrono::milliseconds duration) {
                         device.NotePause(duration);
                         if (onPause)
                             onPause(duration);
                     }};
};

} // namespace

TEST(TesterLink, ConnectsToTheFirstExactlyNamedDeviceAndSendsQueuedCommandsOnePerCycleByteForByte)
{
    CScriptedLink h({"TAMRIX TESTER ", "tamrix tester", "TAMRIX TESTER", "TAMRIX TESTER", "TAMRIX TESTER"});
    h.device.SetUnreadable(2);
    const uint8_t data[] = {0x01, 0xFF};
    const uint8_t nine[9] = {};
    h.onPause = [&](std::chrono::milliseconds) { h.link.SendLoop(9); }; // queued while searching: dropped
    h.Answer(
        {
            {"v", "#v,3.1\r\n"},
            {"t", "#t,1234567,80,0,0\n"}, // no CR: accepted all the same
            {"c", "xyz#c,99,10\r\n"},
            {"b", "#b,42,90,37,64\r\n"},
            {"n", "#n,17\r\n"},
            {"x", "#x,100675641,CC-12345,75,0\r\n"},
            {"m5,1a2,2,0,1,FF\n", "#tx done\r\n#rx,7,1a2,2,0,aa,bb\r\n#msg done\r\n"},
            {"m255,7ff,0,1\n", "#invalid parameter\r\n"},
            {"l63\n", "#l,123,2,7,120,37,4,30,25,100\r\n"},
            {"4", "#t,1,2,3,4\r\n"}, // the emulation reply is discarded
        },
        // Before the first cycle; refused commands take no place in the queue of four.
        [&] {
            h.link.EmulateTransponder(5);
            h.link.SendLoop(0);
            h.link.SendLoop(64);
            h.link.SendCanMessage(1, 2, 9, 0, nine);
            h.link.SendCanMessage(1, 2, 1, 0, nullptr);
            h.link.SendCanMessage(5, 0x1A2, 2, 0, data);
            h.link.SendCanMessage(255, 0x7FF, 0, 1, nullptr);
            h.link.SendLoop(63);
            h.link.EmulateTransponder(4);
            h.link.StartListening();
        });
    ASSERT_TRUE(h.RunFor(6, 13));
    EXPECT_THAT(
        h.device.Transcript(),
        ::testing::StartsWith("|100|vtcbnxm5,1a2,2,0,1,FF\ntcbnxm255,7ff,0,1\ntcbnxl63\ntcbnx4tcbnxtcbnx"));
    EXPECT_EQ(h.handlers.calls,
              (Calls{"Connected", "Version 3.1", "Transponder 1234567 80 0 0", "Q9 99 10",
                     "Beacon 42 90 4.2 20", "BeaconDone", "Loop 17", "Mindlet 100675641 75 0", "Transmit 0",
                     "Can 1 7 1a2 2 AA BB 00 00 00 00 00 00", "Transmit 3", "Transmit 2",
                     "Diagnostics 123 100 3.7 80 300 12 25 2 7"}));
    EXPECT_EQ(h.link.RefusedCommands(), 6u);
    EXPECT_EQ(h.device.OpenedIndex(), 3);
    EXPECT_EQ(h.device.Configuration(),
              (Calls{"baud 115200", "data 8 0 0", "purge 3", "timeouts 200 200", "flow 0 0 0"}));
    EXPECT_EQ(h.device.CloseCount(), 1);
}

TEST(TesterLink, ListeningReplacesThePollsWithASpecialPollPerStep)
{
    CScriptedLink h;
    h.Answer({{"d", "#s,34788999,ZEVU-34567,60,1,0,215,x\r\n"}}, [&] { h.link.StartListening(); });
    int steps = 0;
    h.onPause = [&](std::chrono::milliseconds duration) {
        if (duration != 250ms)
            return;
        ++steps;
        if (steps == 1) { // two commands at once still go out one per step
            h.link.EmulateTransponder(0);
            h.link.SendLoop(7);
        } else if (steps == 4) {
            h.link.StopListening();
        }
    };
    h.link.Start();
    const std::string expected = "|100|vtcbnxa"
                                 "d|250|"
                                 "0d|250|"
                                 "l7\nd|250|"
                                 "d|250|"
                                 "a"
                                 "tcbnxtcbnx";
    ASSERT_TRUE(h.device.WaitForTranscript(
        [&](const std::string& transcript) { return transcript.size() >= expected.size(); }));
    ASSERT_TRUE(h.DeliverUntil([](const CRecordingHandlers& r) { return r.Count("Listening") == 2; }));
    h.link.Stop();
    EXPECT_THAT(h.device.Transcript(), ::testing::StartsWith(expected));
    EXPECT_EQ(h.handlers.calls,
              (Calls{"Connected", "Version 2.5", "Listening 0", "Special 3 34788999 60 1 0 21.5",
                     "Special nothing", "Special nothing", "Special nothing", "Listening 1"}));
}

TEST(TesterLink, SearchFailuresPostLinkLostAndEndTheThread)
{
    struct Case {
        const char* name;
        std::vector<std::string> descriptions;
        std::function<void(CScriptedDevice&)> setUp = {};
        std::string failure = {}; // what the link tells of the search
    };
    const Case cases[] = {
        {"enumeration fails", {"TAMRIX TESTER"}, [](CScriptedDevice& d) { d.SetEnumerationFails(); }},
        {"only look-alikes", {"TAMRIX TESTER ", "tamrix tester", "TAMRIX TESTE", ""}},
        {"open fails",
         {"TAMRIX TESTER"},
         [](CScriptedDevice& d) { d.SetOpenFails("no access"); },
         "no access"},
    };
    for (const Case& c : cases) {
        CScriptedLink h(c.descriptions);
        if (c.setUp)
            c.setUp(h.device);
        h.link.Start();
        ASSERT_TRUE(WaitUntil([&] { return h.device.CloseCount() > 0; }, 10s)) << c.name;
        ASSERT_TRUE(h.DeliverUntil([](const CRecordingHandlers& r) { return !r.calls.empty(); })) << c.name;
        // The thread has ended; the flag stays set until the UI stops the link.
        EXPECT_TRUE(h.link.IsRunning()) << c.name;
        h.link.Start(); // does nothing while the flag is set
        h.link.Stop();
        EXPECT_EQ(h.handlers.calls, Calls{"Disconnected"}) << c.name;
        EXPECT_EQ(h.link.SearchFailure(), c.failure) << c.name;
        EXPECT_EQ(h.device.Transcript(), "|100|") << c.name;
        EXPECT_EQ(h.device.CloseCount(), 1) << c.name;
    }
}

TEST(TesterLink, AnOddReplyOrAFailedTransferEndsOnlyItsExchangeAndPollingGoesOn)
{
    struct Case {
        std::map<std::string, std::string> replies; // each given once
        Calls calls;
        std::string transcript;
        std::function<void(CTesterLink&)> atVersion = {};
        std::function<void(CScriptedDevice&)> setUp = {};
    };
    const Case cases[] = {
        // Firmware before 2.2 does not answer the version query at all.
        {{{"v", ""}}, {"Connected", "Version unknown"}, "|100|vtcbnxtcbnx"},
        {{{"c", ""}}, {"Connected", "Version 2.5", "Disconnected"}, "|100|vtcbnxtcbnx"},
        {{{"b", "#n,9"}}, // a partial line before a failed read
         {"Connected", "Version 2.5", "Disconnected", "Loop 9"},
         "|100|vtcbnxtcbnx",
         nullptr,
         [](CScriptedDevice& d) { d.SetReadsFailWhenIdle(); }},
        // A byte that did not go out gets no reply: its read times out too.
        {{},
         {"Connected", "Version 2.5", "Disconnected", "Disconnected"},
         "|100|vtcnxtcbnx",
         nullptr,
         [](CScriptedDevice& d) { d.FailNextWriteOf('b', false); }},
        {{},
         {"Connected", "Version 2.5", "Disconnected", "Disconnected"},
         "|100|vtcnxtcbnx",
         nullptr,
         [](CScriptedDevice& d) { d.FailNextWriteOf('b', true); }},
        {{{"a", "#start listening\r\n"}}, // unconfirmed: listening stays off
         {"Connected", "Version 2.5"},
         "|100|vtcbnxatcbnx",
         [](CTesterLink& link) { link.StartListening(); }},
        {{{"m1,10,0,0\n", "#tx done\r\n"}}, // the Tester falls silent during the transmission
         {"Connected", "Version 2.5", "Transmit 0", "Disconnected"},
         "|100|vtcbnxm1,10,0,0\ntcbnx",
         [](CTesterLink& link) { link.SendCanMessage(1, 0x10, 0, 0, nullptr); }},
    };
    for (const Case& c : cases) {
        CScriptedLink h;
        if (c.setUp)
            c.setUp(h.device);
        h.Answer(c.replies, [&] { c.atVersion ? c.atVersion(h.link) : void(); });
        ASSERT_TRUE(h.RunFor(2, c.calls.size())) << c.transcript;
        EXPECT_EQ(h.handlers.calls, c.calls) << c.transcript;
        EXPECT_THAT(h.device.Transcript(), ::testing::StartsWith(c.transcript));
    }
}

TEST(TesterLink, AFullRingRefusesNewEventsAndKeepsThePendingOnesUntilStopDropsThem)
{
    CScriptedLink h;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    int transponders = 0;
    h.device.SetResponder([&, released](const std::string& command) -> std::optional<std::string> {
        if (command != "t")
            return std::nullopt;
        if (++transponders == 71)
            released.wait(); // hold the reader until the test has looked
        return "#t," + std::to_string(transponders) + ",1,0,0\r\n";
    });
    h.link.Start();
    const bool held =
        h.device.WaitForTranscript([](const std::string& t) { return CountOccurrences(t, "t") >= 71; });
    // 72 events so far: connected, version and 70 transponders; 64 fit.
    const uint64_t refused = h.link.RefusedEvents();
    h.link.DeliverEvents(h.handlers);
    release.set_value();
    const bool more =
        h.device.WaitForTranscript([](const std::string& t) { return CountOccurrences(t, "t") >= 73; });
    h.link.Stop();

    ASSERT_TRUE(held && more);
    EXPECT_EQ(refused, 8u);
    Calls pending{"Connected", "Version 2.5"};
    for (int i = 1; i <= 62; ++i)
        pending.push_back("Transponder " + std::to_string(i) + " 1 0 0");
    EXPECT_EQ(h.handlers.calls, pending);
    EXPECT_GE(h.notified.load(), 72);

    // The events still in the ring at Stop are dropped: a restart begins afresh.
    h.handlers.calls.clear();
    h.link.Start();
    ASSERT_TRUE(h.DeliverUntil([](const CRecordingHandlers& r) { return r.calls.size() >= 2; }));
    h.link.Stop();
    EXPECT_EQ(Calls(h.handlers.calls.begin(), h.handlers.calls.begin() + 2),
              (Calls{"Connected", "Version 2.5"}));
}

TEST(TesterLink, NeitherATransmissionThatNeverFinishesNorABabblingDeviceHoldsUpStop)
{
    CScriptedLink h;
    h.device.SetIdleInput("#tx done\r\n"); // progress, but never "#msg done"
    h.Answer({{"m1,10,0,0\n", ""}}, [&] { h.link.SendCanMessage(1, 0x10, 0, 0, nullptr); });
    h.link.Start();
    ASSERT_TRUE(h.DeliverUntil([](const CRecordingHandlers& r) { return r.Count("Transmit 0") >= 3; }));
    h.link.Stop();
    EXPECT_EQ(h.device.Transcript(), "|100|vtcbnxm1,10,0,0\n");
    EXPECT_EQ(h.handlers.Count("Disconnected"), 0);

    CScriptedLink b; // bytes that never start a line nor end one, in place of every reply to "t"
    b.device.SetIdleInput("babble ");
    b.device.SetResponder([](const std::string& command) -> std::optional<std::string> {
        return command == "t" ? std::optional<std::string>("") : std::nullopt;
    });
    // Hold the reader inside its third babbling line until Stop has begun.
    const std::size_t holdAt = 2 * kMaxSkippedBytes + 10;
    std::promise<void> holding, release;
    std::shared_future<void> released = release.get_future().share();
    b.device.SetIdleHook([&, released](std::size_t handedOut) {
        if (handedOut == holdAt) {
            holding.set_value();
            released.wait();
        }
    });
    b.link.Start();
    ASSERT_EQ(holding.get_future().wait_for(10s), std::future_status::ready);
    EXPECT_THAT(b.device.Transcript(), ::testing::StartsWith("|100|vtcbnxtcbnxt"));
    ASSERT_TRUE(b.DeliverUntil([](const CRecordingHandlers& r) { return r.calls.size() >= 2; }));

    auto stopped = std::async(std::launch::async, [&] { b.link.Stop(); });
    ASSERT_TRUE(WaitUntil([&] { return !b.link.IsRunning(); }));
    release.set_value();
    EXPECT_EQ(stopped.wait_for(10s), std::future_status::ready);
    // Not one byte more once the link was stopping.
    EXPECT_EQ(b.device.IdleBytesRead(), holdAt);
    EXPECT_EQ(b.handlers.calls, (Calls{"Connected", "Version 2.5"}));
}
