// The real q9tester program against tester-sim: what the simulated Tester
// reports ends up in the transponder log file, each device once per
// appearance, and a terminated program still ends cleanly.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <regex>
#include <thread>

#include "ChildProcess.h"
#include "LogFileRows.h"
#include "TesterWorkspace.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kPatience = 20s; // generous: sanitizer builds on a busy machine

// A device as the transponder log keys it: ID, type and driver number.
using DeviceKey = std::tuple<std::string, std::string, std::string>;

// ID, Label, Short ID, Type, Driver, Battery, Time
using LogRow = std::vector<std::string>;

// Everything tester-sim's world holds, as the log names it, with the battery
// text each is logged with ("" for none; beacons are checked by pattern).
const std::map<DeviceKey, std::string> kScenarioDevices = {
    {{"1234567", "Korvo", ""}, ""},       {{"2345678", "Korvo", "12"}, ""},
    {{"3456789", "Korvo", ""}, "Low"},    {{"4567890", "Korvo", "7"}, "Low"},
    {{"5678901", "Korvo", "44"}, ""},     {{"7001234", "Q9", ""}, ""},
    {{"7005678", "Q9", ""}, ""},          {{"8123456", "Q9", ""}, ""},
    {{"42", "Beacon", ""}, "*"},          {{"CC-12345", "Mindlet", ""}, ""},
    {{"CF-00042", "Mindlet", ""}, "Low"}, {{"FC-00007", "Mindlet", ""}, ""},
};

class AppEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override
    {
        // Both children inherit the environment: they meet in the
        // workspace's private runtime folder.
        m_workspace = std::make_unique<CTesterWorkspace>("q9-e2e-app");
        m_root = m_workspace->Root();
        ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    void TearDown() override
    {
        m_program.reset();
        m_sim.reset();
        m_workspace.reset();
    }

    void StartSim(std::vector<std::string> extra = {})
    {
        std::vector<std::string> arguments{"--pace", "real", "--quiet", "--name", "sim"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        m_sim = std::make_unique<CChildProcess>(TESTER_SIM_PATH, arguments);
        ASSERT_TRUE(m_sim->Started());
        ASSERT_TRUE(WaitForFile((m_root / "run" / "q9tester-devices" / "sim").string(), kPatience));
    }
    void StartProgram(const std::vector<std::string>& arguments = {})
    {
        m_program =
            std::make_unique<CChildProcess>(Q9TESTER_PATH, arguments, (m_root / "program.out").string());
        ASSERT_TRUE(m_program->Started());
    }

    static std::vector<LogRow> TesterLog() { return LogFileRows("Tester_"); }

    // How often each device was logged so far.
    std::map<DeviceKey, int> Appearances() const
    {
        std::map<DeviceKey, int> counts;
        for (const LogRow& cells : TesterLog())
            if (cells.size() == 7)
                ++counts[{cells[0], cells[3], cells[4]}];
        return counts;
    }

    // Waits until every scenario device was logged `times` times.
    bool WaitForAppearances(int times) const
    {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto counts = Appearances();
            bool all = true;
            for (const auto& [key, battery] : kScenarioDevices)
                all = all && counts.count(key) && counts.at(key) >= times;
            if (all)
                return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    // The log's rows in order, each without its time of day.
    std::vector<std::string> RowsWithoutTime() const
    {
        std::vector<std::string> rows;
        for (const LogRow& cells : TesterLog()) {
            std::string row;
            for (size_t i = 0; i + 1 < cells.size(); ++i)
                row += cells[i] + ",";
            rows.push_back(row);
        }
        return rows;
    }

    void ExpectEveryRowWellFormed() const
    {
        const std::regex timeOfDay(R"(\d\d-\d\d-\d{4} \d\d:\d\d:\d\d  \r)");
        const std::regex volts(R"(\d\.\d)");
        for (const LogRow& cells : TesterLog()) {
            ASSERT_EQ(cells.size(), 7u);
            const DeviceKey key{cells[0], cells[3], cells[4]};
            ASSERT_TRUE(kScenarioDevices.count(key)) << cells[0] << " " << cells[3];
            EXPECT_EQ(cells[1], "");
            EXPECT_EQ(cells[2], "");
            const std::string& battery = kScenarioDevices.at(key);
            if (battery == "*")
                EXPECT_TRUE(std::regex_match(cells[5], volts)) << cells[5];
            else
                EXPECT_EQ(cells[5], battery) << cells[0];
            EXPECT_TRUE(std::regex_match(cells[6], timeOfDay)) << cells[6];
        }
    }

    fs::path ConfigFile() const { return m_root / "config" / "TAMRIX Derida Vovivu" / "q9tester.conf"; }

    std::unique_ptr<CTesterWorkspace> m_workspace;
    fs::path m_root;
    std::unique_ptr<CChildProcess> m_sim;
    std::unique_ptr<CChildProcess> m_program;
};

} // namespace

TEST_F(AppEndToEnd, EveryDeviceIsLoggedOnceWhileItKeepsReporting)
{
    StartSim();
    StartProgram();
    ASSERT_TRUE(WaitForAppearances(1)) << "not every device of the simulator was logged";
    // The Tester goes on reporting every device several times a second; none
    // is logged again while it does.
    std::this_thread::sleep_for(3s);
    for (const auto& [key, count] : Appearances())
        EXPECT_EQ(count, 1) << std::get<0>(key) << " " << std::get<1>(key);
    ExpectEveryRowWellFormed();

    // Terminated, the program ends as a closed dialog does: exit code 0 and
    // the settings written back.
    EXPECT_FALSE(fs::exists(ConfigFile()));
    EXPECT_EQ(m_program->Stop(), 0);
    EXPECT_TRUE(fs::exists(ConfigFile()));
    EXPECT_NE(ReadWholeFile(ConfigFile().string()).find("UnitCelsius=1"), std::string::npos);
}

TEST_F(AppEndToEnd, ARecordedSessionReplayedIntoAFreshProgramLogsTheSameRows)
{
    // On site: a faulty line, and the Tester away longer than the deaf time,
    // so every device is logged twice. Half the line rate leaves the event
    // ring room on a loaded machine.
    const std::string recording = (m_root / "site.q9rec").string();
    StartSim({"--pace", "0.5x", "--garbage-every", "7", "--long-every", "13", "--prefix-every", "5",
              "--no-cr-every", "3", "--unplug-after", "4", "--replug-after", "3"});
    StartProgram({"--record", recording});
    ASSERT_TRUE(WaitForAppearances(2));
    EXPECT_EQ(m_program->Stop(), 0);
    m_sim.reset();
    const std::vector<std::string> site = RowsWithoutTime();

    // At the desk: the recording in the Tester's place, a fresh program in a
    // fresh folder, until the recording ends.
    fs::create_directories(m_root / "desk");
    fs::current_path(m_root / "desk");
    const std::string simOutput = (m_root / "replay.out").string();
    m_sim = std::make_unique<CChildProcess>(
        TESTER_SIM_PATH, std::vector<std::string>{"--replay", recording, "--name", "sim"}, simOutput);
    ASSERT_TRUE(WaitForFile((m_root / "run" / "q9tester-devices" / "sim").string(), kPatience));
    StartProgram();
    EXPECT_EQ(m_sim->Wait(2 * kPatience), 0) << ReadWholeFile(simOutput);
    EXPECT_EQ(m_program->Stop(), 0);
    EXPECT_EQ(RowsWithoutTime(), site) << ReadWholeFile(simOutput);
}

TEST_F(AppEndToEnd, TerminatedWithoutATesterTheProgramStillEndsCleanly)
{
    StartProgram();
    ASSERT_TRUE(WaitForFile((m_root / "run" / "q9tester.lock").string(), kPatience));
    std::this_thread::sleep_for(500ms); // past start-up, searching for a Tester
    EXPECT_EQ(m_program->Stop(), 0);
    EXPECT_TRUE(fs::exists(ConfigFile()));
}

TEST_F(AppEndToEnd, AtTheFileSizeLimitTheProgramGoesOnAndEveryLineStaysWhole)
{
    // Room for the title line and two or three rows: most rows that follow
    // fail, part way or at once.
    constexpr int kLimit = 200;
    StartSim();
    // prlimit runs the program in its own place, so the child is q9tester.
    m_program = std::make_unique<CChildProcess>(
        "/usr/bin/prlimit", std::vector<std::string>{"--fsize=" + std::to_string(kLimit), Q9TESTER_PATH},
        (m_root / "program.out").string());
    ASSERT_TRUE(m_program->Started());
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (TesterLog().empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(50ms);
    ASSERT_FALSE(TesterLog().empty());
    std::this_thread::sleep_for(3s); // every device of the simulator reports meanwhile

    ExpectEveryRowWellFormed();
    EXPECT_LT(TesterLog().size(), kScenarioDevices.size());
    EXPECT_EQ(m_program->Stop(), 0); // alive until asked, then the clean way out
    EXPECT_TRUE(fs::exists(ConfigFile()));
}

namespace {

// True once `pid` has mapped its locale's files: QApplication's constructor
// does that first, so the program is past the start of main, milliseconds
// before its window exists.
bool WaitUntilQtStarts(pid_t pid)
{
    const std::string maps = "/proc/" + std::to_string(pid) + "/maps";
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string mapped = ReadWholeFile(maps);
        if (mapped.find("/usr/lib/locale/") != std::string::npos)
            return true;
        if (mapped.empty())
            return false; // gone already
    }
    return false;
}

} // namespace

TEST_F(AppEndToEnd, TerminatedWhileStartingTheProgramStillEndsCleanly)
{
    ::setenv("LC_ALL", "C.UTF-8", 1); // a locale with files, mapped when Qt starts
    for (int run = 0; run < 5; ++run) {
        pid_t pid = -1;
        char* argv[] = {const_cast<char*>(Q9TESTER_PATH), nullptr};
        ASSERT_EQ(::posix_spawn(&pid, Q9TESTER_PATH, nullptr, nullptr, argv, environ), 0);
        const bool starting = WaitUntilQtStarts(pid);
        ::kill(pid, SIGTERM);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(starting) << "run " << run;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "run " << run << ": " << (WIFSIGNALED(status) ? "killed by signal " : "exit ")
            << (WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
    }
    EXPECT_TRUE(fs::exists(ConfigFile())); // settings written: the dialog's own end
}
