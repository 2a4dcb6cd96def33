// The Tester link on the real device layer against tester-sim: what only the whole path shows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "ChildProcess.h"
#include "DeviceLinkHarness.h"
#include "RecordingTesterDevice.h"
#include "TesterWorkspace.h"

namespace fs = std::filesystem;

namespace {

constexpr std::chrono::milliseconds kPatience{10000}; // generous: sanitizer builds on a busy machine

// The event lines of a monitor's output, time stamps taken off.
std::vector<std::string> EventLines(const std::string& text)
{
    const std::regex stamped(R"(\d\d:\d\d:\d\d\.\d\d\d (.*))");
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::smatch match;
    for (std::string line; std::getline(in, line);)
        if (std::regex_match(line, match, stamped))
            lines.push_back(match[1]);
    return lines;
}

bool StartsWith(const std::vector<std::string>& lines, const std::vector<std::string>& prefix)
{
    return lines.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), lines.begin());
}

class LinkEndToEnd : public ::testing::Test {
  protected:
    // Starts a simulator (fast pace, recording what it receives) and waits until it is plugged in.
    void StartSim(const std::string& name, std::vector<std::string> extra = {})
    {
        std::vector<std::string> arguments{"--pace",        "fast",    "--quiet",  "--name",        name,
                                           "--runtime-dir", m_runtime, "--record", RecordFile(name)};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        m_sims.push_back(std::make_unique<CChildProcess>(TESTER_SIM_PATH, arguments));
        ASSERT_TRUE(m_sims.back()->Started());
        ASSERT_TRUE(WaitForFile(m_runtime + "/" + name, kPatience)) << "simulator did not register";
    }
    std::string RecordFile(const std::string& name) const { return m_root / (name + ".bytes"); }

    // The output of tester-monitor run to its end; its standard error goes to `errors` if given.
    std::string RunMonitor(std::vector<std::string> arguments, const std::string& errors = "")
    {
        const std::string output = m_root / "monitor.txt";
        arguments.insert(arguments.end(), {"--runtime-dir", m_runtime, "--sysfs-root", m_sysfs});
        CChildProcess monitor(TESTER_MONITOR_PATH, arguments, output, errors);
        EXPECT_EQ(monitor.Wait(kPatience), 0);
        return ReadFileBytes(output);
    }

    CRestartingRecorder& Seen() { return m_harness.Recorder(); }
    bool PumpUntilCount(const std::string& prefix, int count)
    {
        return m_harness.PumpUntil([&] { return Seen().Count(prefix) >= count; }, kPatience);
    }

    CTesterWorkspace m_workspace{"q9-e2e"};
    fs::path m_root = m_workspace.Root();
    std::string m_runtime = m_workspace.RuntimeDir();
    std::string m_sysfs = m_root / "sys"; // never made: no Tester on this machine's USB
    std::vector<std::unique_ptr<CChildProcess>> m_sims;
    CDeviceLinkHarness m_harness{m_runtime, m_sysfs};
};

TEST_F(LinkEndToEnd, WithoutATesterOrUnpluggedWhileListeningTheLinkSearchesWithoutReadingAndComesBackPolling)
{
    m_harness.Link().Start();
    ASSERT_TRUE(PumpUntilCount("Disconnected", 5));
    EXPECT_EQ(Seen().Count("Connected"), 0);
    EXPECT_EQ(m_harness.Device().m_reads.load(), 0u);

    StartSim("sim", {"--unplug-on", "d", "--replug-after", "0.5", "--pace", "real"});
    ASSERT_TRUE(PumpUntilCount("Version", 1));
    m_harness.Link().StartListening();
    ASSERT_TRUE(PumpUntilCount("Listening 0", 1));
    const int searches = Seen().Count("Disconnected");
    ASSERT_TRUE(PumpUntilCount("Disconnected", searches + 1));
    const uint64_t readsAtLoss = m_harness.Device().m_reads.load();
    const auto loss = std::find(Seen().calls.begin(), Seen().calls.end(), "Listening 0");
    EXPECT_EQ(*(loss + 1), "Disconnected");
    ASSERT_TRUE(PumpUntilCount("Connected", 2));
    // A reader that took the hang-up for a time-out would read on and on; a searching link reads nothing.
    EXPECT_LT(m_harness.Device().m_reads.load() - readsAtLoss, 1000u);
    ASSERT_TRUE(PumpUntilCount("Loop", Seen().Count("Loop") + 3)); // polling goes on
}

TEST_F(LinkEndToEnd, MonitorTellsOnceWhyAFoundTesterCannotBeOpened)
{
    // A pseudo-terminal that is still locked cannot be opened, root or not.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    const std::string slave = ::ptsname(master);
    std::ofstream(m_runtime + "/locked")
        << "pid=" << ::getpid() << "\npath=" << slave << "\ndescription=TAMRIX TESTER\n";
    const std::string text = RunMonitor({"--seconds", "1.5"});
    ::close(master);
    const std::string reason =
        " found a Tester but cannot open it: cannot open " + slave + ": Input/output error\n";
    EXPECT_EQ(CountOccurrences(text, reason), 1) << text;
}

TEST_F(LinkEndToEnd, MonitorPrintsTheTestersEventsAndGoesOnWhenItsRecordingStops)
{
    // Ten times the Tester's rate, and a recording that fails at once: the monitor keeps up all the same.
    StartSim("sim", {"--special-every", "1", "--pace", "10x"});
    const std::string errors = m_root / "errors.txt";
    const std::string text = RunMonitor(
        {"--seconds", "2", "--send-can", "7,1a2,1,00,00", "--diagnostics", "--record", "/dev/full"}, errors);
    for (const char* expected :
         {" connected\n", " firmware version 2.3\n", " transponder Korvo ", " transponder Q9 ", " beacon 42 ",
          " loop level ", " transponder Mindlet ", " diagnostics ", " transmit: message done\n",
          // a remote request: the Tester answers it
          " CAN received (origin 1): two-way id 7 CAN id 1a2 length 2 data A2 B3 ",
          " 1 connections, 0 link losses, "})
        EXPECT_THAT(text, ::testing::HasSubstr(expected));
    EXPECT_NE(ReadFileBytes(RecordFile("sim")).find("m7,1a2,2,1,0,0\n"), std::string::npos);
    EXPECT_EQ(
        ReadFileBytes(errors),
        "tester-monitor: recording to /dev/full stopped: No space left on device; the Tester link goes on\n");
    EXPECT_EQ(m_sims.back()->Stop(), 0);
    EXPECT_FALSE(fs::exists(m_runtime + "/sim"));
}

TEST_F(LinkEndToEnd, AMonitorRecordingReadsBackAsTheSameEvents)
{
    // On site: a faulty line and a Tester unplugged for a while.
    StartSim("site", {"--pace", "0.5x", "--garbage-every", "7", "--long-every", "13", "--prefix-every", "5",
                      "--no-cr-every", "3", "--unplug-after", "1.5", "--replug-after", "0.5"});
    const std::string recording = m_root / "site.q9rec";
    const std::vector<std::string> liveEvents =
        EventLines(RunMonitor({"--seconds", "4", "--record", recording}));
    m_sims.clear();
    ASSERT_GE(std::count(liveEvents.begin(), liveEvents.end(), "connected"), 2) << "no unplug recorded";

    // At the desk, offline: every event the monitor printed, in order.
    const std::string offline = m_root / "offline.txt";
    CChildProcess reading(TESTER_MONITOR_PATH, {"--replay", recording}, offline);
    ASSERT_EQ(reading.Wait(kPatience), 0);
    EXPECT_TRUE(StartsWith(EventLines(ReadFileBytes(offline)), liveEvents)) << ReadFileBytes(offline);
}

TEST_F(LinkEndToEnd, AReplyThatCameJustInTimeOnSiteComesInTimeInTheReplay)
{
    // On site the Korvo report came 199.99 ms after its poll, just inside the
    // 200 ms read time-out; the replay's own delays must not push it out.
    const std::string recording = m_root / "late.q9rec";
    std::ofstream(recording)
        << "q9tester-recording 1 q9tester 2.5.0 started 2026-12-07 10:00:00 +0000\n"
           "0 plug\n100 tx v\n1000 rx #v,2.3\\r\\n\n1100 tx t\n"
           "201090 rx #t,1234567,80,0,0\\r\\n\n201200 tx c\n202000 rx #c,7001234,60\\r\\n\n"
           "202100 close\n";
    const std::string simOutput = m_root / "replay-sim.txt";
    CChildProcess replay(TESTER_SIM_PATH,
                         {"--replay", recording, "--name", "desk", "--runtime-dir", m_runtime}, simOutput);
    ASSERT_TRUE(WaitForFile(m_runtime + "/desk", kPatience));
    const std::string desk = m_root / "desk.txt";
    CChildProcess monitor(TESTER_MONITOR_PATH, {"--runtime-dir", m_runtime, "--sysfs-root", m_sysfs}, desk);
    EXPECT_EQ(replay.Wait(kPatience), 0);
    EXPECT_EQ(monitor.Stop(), 0);
    const std::string said = ReadFileBytes(simOutput);
    EXPECT_TRUE(StartsWith(EventLines(ReadFileBytes(desk)), {"connected", "firmware version 2.3",
                                                             "transponder Korvo 1234567 rssi 80 battery ok",
                                                             "transponder Q9 7001234 rssi 60"}))
        << said;
    const size_t end = said.find("end of the recording");
    EXPECT_NE(end, std::string::npos) << said;
    EXPECT_EQ(said.find("plugged in", end), std::string::npos) << "plugged in after the end:\n" << said;
}

} // namespace
