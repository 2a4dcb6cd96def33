// The Tester link on the real device layer against tester-sim on a
// pseudo-terminal: what the program sends, what it hears, and how it lives
// through a Tester that is unplugged at the worst moments.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "DeviceLinkHarness.h"
#include "SimProcess.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kPatience = 10s; // generous: sanitizer builds on a busy machine

class LinkEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "q9-e2e-XXXXXX").string();
        m_root = ::mkdtemp(pattern.data());
        m_runtime = (m_root / "run").string();
        m_sysfs = (m_root / "sys").string();
        fs::create_directory(m_sysfs);
        ASSERT_EQ(::mkdir(m_runtime.c_str(), 0700), 0);
        m_harness = std::make_unique<LinkHarness>(m_runtime, m_sysfs);
    }
    void TearDown() override
    {
        m_harness.reset();
        m_sims.clear();
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    // Starts a simulator named `name` (fast pace, recording what it receives)
    // and waits until it is plugged in.
    void StartSim(const std::string& name, std::vector<std::string> extra = {})
    {
        std::vector<std::string> arguments{"--pace",        "fast",    "--quiet",  "--name",        name,
                                           "--runtime-dir", m_runtime, "--record", RecordFile(name)};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        m_sims.push_back(std::make_unique<SimProcess>(TESTER_SIM_PATH, arguments));
        ASSERT_TRUE(m_sims.back()->Started());
        ASSERT_TRUE(WaitForFile(m_runtime + "/" + name, kPatience)) << "simulator did not register";
    }
    std::string RecordFile(const std::string& name) const { return (m_root / (name + ".bytes")).string(); }

    CTesterLink& Link() { return m_harness->Link(); }
    EventRecorder& Seen() { return m_harness->Recorder(); }
    bool PumpUntil(const std::function<bool()>& done) { return m_harness->PumpUntil(done, kPatience); }
    bool PumpUntilCount(const std::string& what, size_t count)
    {
        return PumpUntil([&] { return Seen().Count(what) >= count; });
    }
    const SeenEvent& Last(const std::string& what) const
    {
        const auto& events = m_harness->Recorder().Events();
        for (auto it = events.rbegin(); it != events.rend(); ++it) {
            if (it->what == what) {
                return *it;
            }
        }
        static const SeenEvent none;
        return none;
    }

    fs::path m_root;
    std::string m_runtime;
    std::string m_sysfs;
    std::vector<std::unique_ptr<SimProcess>> m_sims;
    std::unique_ptr<LinkHarness> m_harness;
};

TEST_F(LinkEndToEnd, ConnectsAndDeliversEveryKindOfEvent)
{
    StartSim("sim", {"--special-every", "2"});
    Link().Start();
    ASSERT_TRUE(PumpUntilCount("FirmwareVersion", 1));
    ASSERT_GE(Seen().Events().size(), 2u);
    EXPECT_EQ(Seen().Events()[0].what, "Connected");
    EXPECT_EQ(Seen().Events()[1].what, "FirmwareVersion");
    EXPECT_EQ(Seen().Events()[1].code, 1);
    EXPECT_EQ(Seen().Events()[1].a, 2u);
    EXPECT_EQ(Seen().Events()[1].b, 3u);

    // Polls: Korvo with and without driver number and low battery, Q9,
    // Mindlet, beacon, loop.
    const auto korvoSeen = [&](bool withDriver, bool low) {
        for (const SeenEvent& e : Seen().Events()) {
            if (e.what == "Transponder" && (e.b != 0) == withDriver && (e.a != 0) == low) {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(PumpUntil([&] {
        return korvoSeen(false, false) && korvoSeen(true, false) && korvoSeen(false, true) &&
               korvoSeen(true, true) && Seen().Count("Q9Transponder") > 0 &&
               Seen().Count("MindletTransponder") > 2 && Seen().Count("Beacon") > 0 &&
               Seen().Count("LoopLevel") > 0;
    }));
    const std::set<uint32_t> korvos{1234567, 2345678, 3456789, 4567890, 5678901};
    const std::set<uint32_t> mindlets{100675641, 100763338, 102163303};
    for (const SeenEvent& e : Seen().Events()) {
        if (e.what == "Transponder") {
            EXPECT_TRUE(korvos.count(e.number)) << e.number;
        } else if (e.what == "MindletTransponder") {
            EXPECT_TRUE(mindlets.count(e.number)) << e.number;
        } else if (e.what == "Beacon") {
            EXPECT_EQ(e.number, 42u);
            EXPECT_GE(e.x, 58 * 4.2 / 64 - 1e-9);
            EXPECT_LE(e.x, 4.2 + 1e-9);
            EXPECT_GE(e.code, 20);
            EXPECT_LE(e.code, 28);
        }
    }
    EXPECT_EQ(Seen().Count("Disconnected"), 0u);

    // Diagnostics request.
    Link().SendLoop(1);
    ASSERT_TRUE(PumpUntilCount("Diagnostics", 1));
    const SeenEvent& diagnostics = Last("Diagnostics");
    EXPECT_EQ(diagnostics.number, Last("Q9Transponder").number); // the one held to the Tester
    EXPECT_DOUBLE_EQ(diagnostics.y, 12.1);
    EXPECT_EQ(diagnostics.a, 80u);
    EXPECT_EQ(diagnostics.b, 300u);
    EXPECT_EQ(diagnostics.c, 23u);
    EXPECT_EQ(diagnostics.data, (std::vector<uint8_t>{1, 4}));

    // A remote request: step done, the answer, message done, in that order.
    const uint8_t zeros[2] = {0, 0};
    const size_t before = Seen().Events().size();
    Link().SendCanMessage(7, 0x1A2, 2, 1, zeros);
    ASSERT_TRUE(PumpUntilCount("TransmitResult", 2));
    std::vector<std::string> transmission;
    for (size_t i = before; i < Seen().Events().size(); ++i) {
        const SeenEvent& e = Seen().Events()[i];
        if (e.what == "TransmitResult" || e.what == "CanReceived") {
            transmission.push_back(e.what + std::to_string(e.code));
        }
    }
    EXPECT_EQ(transmission, (std::vector<std::string>{"TransmitResult0", "CanReceived1", "TransmitResult3"}));
    const SeenEvent& rx = Last("CanReceived");
    EXPECT_EQ(rx.number, 7u);
    EXPECT_EQ(rx.canId, 0x1A2u);
    EXPECT_EQ(rx.a, 2u);
    EXPECT_EQ(rx.data, (std::vector<uint8_t>{0xA2, 0xB3, 0, 0, 0, 0, 0, 0}));

    // A field the Tester refuses.
    Link().SendCanMessage(1, 0x10, 0, 2, nullptr);
    ASSERT_TRUE(PumpUntilCount("TransmitResult", 3));
    EXPECT_EQ(Last("TransmitResult").code, 2);

    // Emulation (no event), then listening with track sensors of both kinds.
    Link().EmulateTransponder(3);
    Link().StartListening();
    ASSERT_TRUE(PumpUntil([&] {
        std::set<unsigned> kinds;
        for (const SeenEvent& e : Seen().Events()) {
            if (e.what == "SpecialDevice" && e.code == 3) {
                kinds.insert(e.b);
            }
        }
        return kinds.size() == 2;
    }));
    EXPECT_EQ(Seen().Events()[static_cast<size_t>(Seen().Find("ListeningChanged"))].code, 0);
    EXPECT_GT(Seen().Count("SpecialDevice"), 2u);
    for (const SeenEvent& e : Seen().Events()) {
        if (e.what == "SpecialDevice" && e.code == 3 && e.b == 0) {
            EXPECT_EQ(e.number, 34788999u);
            EXPECT_EQ(e.a, 1u);
            EXPECT_DOUBLE_EQ(e.x, 21.5);
        } else if (e.what == "SpecialDevice" && e.code == 3) {
            EXPECT_EQ(e.number, 136217735u);
            EXPECT_DOUBLE_EQ(e.x, 1234000.0);
        }
    }
    Link().StopListening();
    ASSERT_TRUE(PumpUntilCount("ListeningChanged", 2));
    EXPECT_EQ(Last("ListeningChanged").code, 1);
    const size_t loopsBefore = Seen().Count("LoopLevel");
    ASSERT_TRUE(PumpUntilCount("LoopLevel", loopsBefore + 3)) << "polling did not resume";
    Link().Stop();

    // On the wire: version first, then the polls; the commands as queued;
    // nothing but special polls while listening.
    const std::string bytes = ReadWholeFile(RecordFile("sim"));
    EXPECT_EQ(bytes.substr(0, 6), "vtcbnx");
    const size_t loop = bytes.find("l1\n");
    const size_t request = bytes.find("m7,1a2,2,1,0,0\n");
    const size_t refused = bytes.find("m1,10,0,2\n");
    ASSERT_NE(loop, std::string::npos);
    ASSERT_NE(request, std::string::npos);
    ASSERT_NE(refused, std::string::npos);
    EXPECT_LT(loop, request);
    EXPECT_LT(request, refused);
    const size_t afterCan = refused + std::string("m1,10,0,2\n").size();
    const size_t listenOn = bytes.find('a', afterCan);
    const size_t listenOff = bytes.find('a', listenOn + 1);
    ASSERT_NE(listenOff, std::string::npos);
    EXPECT_EQ(bytes.substr(afterCan, listenOn - afterCan).find_first_not_of("tcbnx3"), std::string::npos);
    EXPECT_EQ(std::count(bytes.begin() + static_cast<long>(afterCan),
                         bytes.begin() + static_cast<long>(listenOn), '3'),
              1);
    const std::string whileListening = bytes.substr(listenOn + 1, listenOff - listenOn - 1);
    EXPECT_FALSE(whileListening.empty());
    EXPECT_EQ(whileListening.find_first_not_of('d'), std::string::npos) << whileListening;
}

TEST_F(LinkEndToEnd, CanMessagesGoOutByteForByte)
{
    StartSim("sim");
    Link().Start();
    ASSERT_TRUE(PumpUntilCount("FirmwareVersion", 1));
    const uint8_t data[2] = {0x01, 0xFF};
    Link().SendCanMessage(5, 0x1A2, 2, 0, data);
    Link().SendCanMessage(255, 0x7FF, 0, 1, nullptr);
    const uint8_t eight[8] = {0, 0x0A, 0x10, 0xAB, 0xFF, 1, 2, 3};
    Link().SendCanMessage(0, 0x1FFFFFFF, 8, 0, eight);
    ASSERT_TRUE(PumpUntil([&] {
        size_t done = 0;
        for (const SeenEvent& e : Seen().Events()) {
            done += e.what == "TransmitResult" && e.code == 3;
        }
        return done == 3;
    }));
    Link().Stop();
    const std::string bytes = ReadWholeFile(RecordFile("sim"));
    const std::string expected = "m5,1a2,2,0,1,FF\n";
    const size_t first = bytes.find(expected);
    ASSERT_NE(first, std::string::npos) << bytes;
    // Queued together, they go out in order, one per polling cycle.
    const size_t second = bytes.find("m255,7ff,0,1\n", first);
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(bytes.find("m0,1fffffff,8,0,0,A,10,AB,FF,1,2,3\n", second), std::string::npos);
    EXPECT_EQ(Seen().Count("Disconnected"), 0u);
}

TEST_F(LinkEndToEnd, WithoutATesterTheLinkSearchesWithoutReadingAndConnectsWhenOneComes)
{
    Link().Start();
    ASSERT_TRUE(PumpUntilCount("Disconnected", 5));
    EXPECT_EQ(Seen().Count("Connected"), 0u);
    EXPECT_EQ(m_harness->Device().reads.load(), 0u);
    EXPECT_LT(Seen().LongestStop(), 2000ms);

    StartSim("sim");
    ASSERT_TRUE(PumpUntilCount("Connected", 1));
    ASSERT_TRUE(PumpUntilCount("FirmwareVersion", 1));
}

TEST_F(LinkEndToEnd, FirstTesterWithTheExactDescriptionIsOpened)
{
    StartSim("sim-a", {"--description", "TAMRIX TESTER "});
    StartSim("sim-b", {"--description", "tamrix tester"});
    StartSim("sim-c");
    StartSim("sim-d");
    Link().Start();
    ASSERT_TRUE(PumpUntilCount("FirmwareVersion", 1));
    Link().Stop();
    EXPECT_TRUE(ReadWholeFile(RecordFile("sim-a")).empty());
    EXPECT_TRUE(ReadWholeFile(RecordFile("sim-b")).empty());
    EXPECT_EQ(ReadWholeFile(RecordFile("sim-c")).substr(0, 1), "v");
    EXPECT_TRUE(ReadWholeFile(RecordFile("sim-d")).empty());
}

TEST_F(LinkEndToEnd, FaultyLinesCostEventsButNotTheLink)
{
    // Every 7th line garbage (a cycle is 5 lines, so every poll loses some),
    // every 11th cut by the host and its tail read as the next reply. At the
    // real line rate no record may be refused, even in a slow sanitizer build.
    StartSim("sim", {"--pace", "real", "--garbage-every", "7", "--prefix-every", "3", "--no-cr-every", "2",
                     "--long-every", "11"});
    Link().Start();
    ASSERT_TRUE(PumpUntilCount("Connected", 1));
    ASSERT_TRUE(PumpUntilCount("LoopLevel", 50));
    EXPECT_GT(Seen().Count("Beacon"), 0u);
    EXPECT_GT(Seen().Count("Transponder"), 0u);
    EXPECT_EQ(Seen().Count("Disconnected"), 0u);
    EXPECT_EQ(Link().RefusedEvents(), 0u);
}

TEST_F(LinkEndToEnd, UnpluggedWhilePollingTheLinkIsLostStoppedQuicklyAndFoundAgain)
{
    StartSim("sim", {"--unplug-after", "0.6", "--replug-after", "1.0"});
    Link().Start();
    ASSERT_TRUE(PumpUntilCount("Connected", 1));
    ASSERT_TRUE(PumpUntilCount("Disconnected", 1));
    const uint64_t readsAtLoss = m_harness->Device().reads.load();
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    const auto lostAt = std::chrono::steady_clock::now();

    ASSERT_TRUE(PumpUntilCount("Connected", 2));
    const auto lostFor = std::chrono::steady_clock::now() - lostAt;
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    const auto cpu = [](const rusage& r) {
        return r.ru_utime.tv_sec + r.ru_stime.tv_sec + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
    };
    // A reader that took the hang-up for a time-out would read millions of
    // times and burn a core; a searching link reads nothing. The few hundred
    // allowed are the reads of the new connection that happen before its
    // event is seen here, more of them in a slow sanitizer build.
    EXPECT_LT(m_harness->Device().reads.load() - readsAtLoss, 1000u);
    EXPECT_LT(cpu(after) - cpu(before), 0.5 * std::chrono::duration<double>(lostFor).count());
    EXPECT_LT(Seen().LongestStop(), 2000ms);

    // Between the loss and the new connection there is only searching.
    const size_t lost = static_cast<size_t>(Seen().Find("Disconnected"));
    const size_t again = static_cast<size_t>(Seen().Find("Connected", 1));
    for (size_t i = lost; i < again; ++i) {
        EXPECT_EQ(Seen().Events()[i].what, "Disconnected") << i;
    }
    ASSERT_TRUE(PumpUntilCount("FirmwareVersion", 2));
    const size_t loops = Seen().Count("LoopLevel");
    ASSERT_TRUE(PumpUntilCount("LoopLevel", loops + 3));
}

TEST_F(LinkEndToEnd, UnpluggedDuringATransmissionTheWaitEnds)
{
    StartSim("sim", {"--unplug-on", "m", "--replug-after", "0.5"});
    Link().Start();
    ASSERT_TRUE(PumpUntilCount("FirmwareVersion", 1));
    const uint8_t data[1] = {0x55};
    Link().SendCanMessage(3, 0x123, 1, 0, data);
    ASSERT_TRUE(PumpUntilCount("Disconnected", 1));
    const long txDone = Seen().Find("TransmitResult");
    ASSERT_GE(txDone, 0);
    EXPECT_EQ(Seen().Events()[static_cast<size_t>(txDone)].code, 0);
    EXPECT_LT(txDone, Seen().Find("Disconnected"));
    EXPECT_EQ(Seen().Count("TransmitResult"), 1u) << "no message done from an unplugged Tester";
    EXPECT_LT(Seen().LongestStop(), 2000ms);
    ASSERT_TRUE(PumpUntilCount("Connected", 2));
    ASSERT_TRUE(PumpUntilCount("FirmwareVersion", 2));
}

TEST_F(LinkEndToEnd, UnpluggedWhileListeningTheLinkComesBackPolling)
{
    StartSim("sim", {"--unplug-on", "d", "--replug-after", "0.5"});
    Link().Start();
    ASSERT_TRUE(PumpUntilCount("FirmwareVersion", 1));
    Link().StartListening();
    ASSERT_TRUE(PumpUntilCount("Disconnected", 1));
    const long started = Seen().Find("ListeningChanged");
    ASSERT_GE(started, 0);
    EXPECT_EQ(Seen().Events()[static_cast<size_t>(started)].code, 0);
    EXPECT_LT(Seen().LongestStop(), 2000ms);
    ASSERT_TRUE(PumpUntilCount("Connected", 2));
    // The new connection starts with the regular polls, not listening.
    const size_t loops = Seen().Count("LoopLevel");
    ASSERT_TRUE(PumpUntilCount("LoopLevel", loops + 3));
}

TEST_F(LinkEndToEnd, ATesterThatDoesNotTellItsVersionIsPolledOnOneConnection)
{
    StartSim("sim", {"--no-version"});
    Link().Start();
    ASSERT_TRUE(PumpUntilCount("Transponder", 20));
    EXPECT_EQ(Seen().Count("Connected"), 1u);
    EXPECT_EQ(Seen().Count("Disconnected"), 0u);
    ASSERT_EQ(Seen().Count("FirmwareVersion"), 1u);
    EXPECT_EQ(Last("FirmwareVersion").code, 0); // unknown: "prior to 2.2"
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
    const std::string output = (m_root / "monitor.txt").string();
    SimProcess monitor(TESTER_MONITOR_PATH,
                       {"--seconds", "1.5", "--runtime-dir", m_runtime, "--sysfs-root", m_sysfs}, output);
    ASSERT_TRUE(monitor.Started());
    ASSERT_EQ(monitor.Wait(std::chrono::duration_cast<std::chrono::milliseconds>(kPatience)), 0);
    ::close(master);
    const std::string text = ReadWholeFile(output);
    const std::string reason =
        " found a Tester but cannot open it: cannot open " + slave + ": Input/output error\n";
    const size_t at = text.find(reason);
    EXPECT_NE(at, std::string::npos) << text;
    EXPECT_EQ(text.find(reason, at + 1), std::string::npos) << "printed more than once:\n" << text;
}

TEST_F(LinkEndToEnd, SimulatorUnregistersWhenTerminated)
{
    StartSim("sim");
    EXPECT_EQ(m_sims.back()->Stop(), 0);
    EXPECT_FALSE(fs::exists(m_runtime + "/sim"));
}

TEST_F(LinkEndToEnd, MonitorPrintsTheTestersEvents)
{
    // Ten times the Tester's rate: as fast as a real one could ever be, and a
    // monitor printing every line keeps up.
    StartSim("sim", {"--special-every", "1", "--pace", "10x"});
    const std::string output = (m_root / "monitor.txt").string();
    SimProcess monitor(TESTER_MONITOR_PATH,
                       {"--seconds", "2", "--runtime-dir", m_runtime, "--sysfs-root", m_sysfs, "--send-can",
                        "5,1a2,0,01,FF", "--diagnostics"},
                       output);
    ASSERT_TRUE(monitor.Started());
    ASSERT_EQ(monitor.Wait(std::chrono::duration_cast<std::chrono::milliseconds>(kPatience)), 0);
    const std::string text = ReadWholeFile(output);
    for (const char* expected :
         {" connected\n", " firmware version 2.3\n", " transponder Korvo ", " beacon 42 ", " loop level ",
          " transponder Mindlet ", " diagnostics ", " transmit: message done\n", " records refused\n"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " missing from\n"
                                                          << text.substr(0, 2000);
    }
    EXPECT_NE(ReadWholeFile(RecordFile("sim")).find("m5,1a2,2,0,1,FF\n"), std::string::npos);
}

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

TEST_F(LinkEndToEnd, AMonitorRecordingReadsBackAndReplaysAsTheSameEvents)
{
    // On site: a faulty line and a Tester unplugged for a while.
    StartSim("site", {"--pace", "0.5x", "--garbage-every", "7", "--long-every", "13", "--prefix-every", "5",
                      "--no-cr-every", "3", "--unplug-after", "1.5", "--replug-after", "0.5"});
    const std::string recording = (m_root / "site.q9rec").string();
    const std::string live = (m_root / "live.txt").string();
    SimProcess site(
        TESTER_MONITOR_PATH,
        {"--seconds", "4", "--record", recording, "--runtime-dir", m_runtime, "--sysfs-root", m_sysfs}, live);
    ASSERT_EQ(site.Wait(std::chrono::duration_cast<std::chrono::milliseconds>(kPatience)), 0);
    m_sims.clear();
    const std::vector<std::string> liveEvents = EventLines(ReadWholeFile(live));
    ASSERT_GE(std::count(liveEvents.begin(), liveEvents.end(), "connected"), 2) << "no unplug recorded";

    // At the desk, offline: every event the monitor printed, in order (and
    // those of the last bytes it had read when its time was up).
    const std::string offline = (m_root / "offline.txt").string();
    SimProcess reading(TESTER_MONITOR_PATH, {"--replay", recording}, offline);
    ASSERT_EQ(reading.Wait(std::chrono::duration_cast<std::chrono::milliseconds>(kPatience)), 0);
    EXPECT_TRUE(StartsWith(EventLines(ReadWholeFile(offline)), liveEvents)) << ReadWholeFile(offline);

    // At the desk, through the simulator: a monitor re-lives the session.
    const std::string simOutput = (m_root / "replay-sim.txt").string();
    SimProcess replay(TESTER_SIM_PATH, {"--replay", recording, "--name", "desk", "--runtime-dir", m_runtime},
                      simOutput);
    ASSERT_TRUE(WaitForFile(m_runtime + "/desk", kPatience));
    const std::string desk = (m_root / "desk.txt").string();
    SimProcess monitor(TESTER_MONITOR_PATH, {"--runtime-dir", m_runtime, "--sysfs-root", m_sysfs}, desk);
    EXPECT_EQ(replay.Wait(std::chrono::duration_cast<std::chrono::milliseconds>(kPatience)), 0)
        << ReadWholeFile(simOutput);
    EXPECT_EQ(monitor.Stop(), 0);
    EXPECT_TRUE(StartsWith(EventLines(ReadWholeFile(desk)), liveEvents)) << ReadWholeFile(simOutput);
    const std::string said = ReadWholeFile(simOutput);
    const size_t end = said.find("end of the recording");
    EXPECT_NE(end, std::string::npos) << said;
    EXPECT_EQ(said.find("plugged in", end), std::string::npos) << "plugged in after the end:\n" << said;
}

TEST_F(LinkEndToEnd, ARecordingThatCannotBeWrittenIsSaidOnceAndTheLinkGoesOn)
{
    StartSim("sim", {"--pace", "10x"});
    for (const std::string file : {"/dev/full", "/nonexistent-folder/r.q9rec"}) {
        const std::string output = (m_root / "monitor.txt").string();
        const std::string errors = (m_root / "errors.txt").string();
        SimProcess monitor(
            TESTER_MONITOR_PATH,
            {"--seconds", "1", "--record", file, "--runtime-dir", m_runtime, "--sysfs-root", m_sysfs}, output,
            errors);
        ASSERT_EQ(monitor.Wait(std::chrono::duration_cast<std::chrono::milliseconds>(kPatience)), 0);
        const std::string text = ReadWholeFile(output);
        EXPECT_NE(text.find(" transponder Korvo "), std::string::npos) << text.substr(0, 2000);
        const std::string complaint = ReadWholeFile(errors);
        const std::string expected = file == "/dev/full"
                                         ? "tester-monitor: recording to /dev/full stopped: No space left on "
                                           "device; the Tester link goes on\n"
                                         : "tester-monitor: cannot record to /nonexistent-folder/r.q9rec: No "
                                           "such file or directory; going on without a recording\n";
        EXPECT_EQ(complaint, expected);
    }
}

TEST_F(LinkEndToEnd, AReplyThatCameJustInTimeOnSiteComesInTimeInTheReplay)
{
    // On site the Korvo report came 199.99 ms after its poll, just inside the
    // 200 ms read time-out; the replay's own delays must not push it out.
    const std::string recording = (m_root / "late.q9rec").string();
    std::ofstream(recording)
        << "q9tester-recording 1 q9tester 2.5.0 started 2026-12-07 10:00:00 +0000\n"
           "0 plug\n100 tx v\n1000 rx #v,2.3\\r\\n\n1100 tx t\n"
           "201090 rx #t,1234567,80,0,0\\r\\n\n201200 tx c\n202000 rx #c,7001234,60\\r\\n\n"
           "202100 close\n";
    const std::string simOutput = (m_root / "replay-sim.txt").string();
    SimProcess replay(TESTER_SIM_PATH, {"--replay", recording, "--name", "desk", "--runtime-dir", m_runtime},
                      simOutput);
    ASSERT_TRUE(WaitForFile(m_runtime + "/desk", kPatience));
    const std::string desk = (m_root / "desk.txt").string();
    SimProcess monitor(TESTER_MONITOR_PATH, {"--runtime-dir", m_runtime, "--sysfs-root", m_sysfs}, desk);
    EXPECT_EQ(replay.Wait(std::chrono::duration_cast<std::chrono::milliseconds>(kPatience)), 0);
    EXPECT_EQ(monitor.Stop(), 0);
    const std::vector<std::string> events = EventLines(ReadWholeFile(desk));
    EXPECT_TRUE(StartsWith(events, {"connected", "firmware version 2.3",
                                    "transponder Korvo 1234567 rssi 80 battery ok",
                                    "transponder Q9 7001234 rssi 60"}))
        << ReadWholeFile(desk) << ReadWholeFile(simOutput);
}

} // namespace
