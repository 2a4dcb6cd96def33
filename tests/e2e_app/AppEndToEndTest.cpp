// The real q9tester program against tester-sim, both child processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "ChildProcess.h"
#include "TempFolder.h"
#include "TesterWorkspace.h"
#include "WaitUntil.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kPatience = 20s; // generous: sanitizer builds on a busy machine

// Every device of tester-sim's world as logged, without the time of day; the beacon's voltage as "V".
const std::set<std::string> kScenarioRows = {
    "1234567,,,Korvo,,",   "2345678,,,Korvo,12,",  "3456789,,,Korvo,,Low",    "4567890,,,Korvo,7,Low",
    "5678901,,,Korvo,44,", "7001234,,,Q9,,",       "7005678,,,Q9,,",          "8123456,,,Q9,,",
    "42,,,Beacon,,V",      "CC-12345,,,Mindlet,,", "CF-00042,,,Mindlet,,Low", "FC-00007,,,Mindlet,,",
};

// The transponder log file's rows without their time of day, malformed ones marked.
std::vector<std::string> LoggedRows()
{
    const std::regex wellFormed(R"(([^,]*,){6}\d\d-\d\d-\d{4} \d\d:\d\d:\d\d  \r)");
    std::vector<std::string> rows;
    std::error_code noFolderYet;
    for (const auto& entry : fs::directory_iterator("Log", noFolderYet)) {
        if (!entry.path().filename().string().starts_with("Tester_"))
            continue;
        std::istringstream text(ReadFileBytes(entry.path()));
        std::string row;
        std::getline(text, row); // titles
        while (std::getline(text, row))
            rows.push_back(std::regex_match(row, wellFormed) ? row.substr(0, row.rfind(','))
                                                             : "malformed: " + row);
    }
    return rows;
}

// How often each row was logged so far, the beacon's voltage as "V".
std::map<std::string, int> Appearances()
{
    const std::regex beaconVolts(R"(^(42,,,Beacon,,)\d\.\d$)");
    std::map<std::string, int> counts;
    for (const std::string& row : LoggedRows())
        ++counts[std::regex_replace(row, beaconVolts, "$1V")];
    return counts;
}

class AppEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override
    {
        // Both children inherit it: they meet in the workspace's runtime folder.
        m_workspace = std::make_unique<CTesterWorkspace>("q9-e2e-app");
        m_root = m_workspace->Root();
        ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }

    void StartSim(std::vector<std::string> arguments, const std::string& output = "/dev/null")
    {
        arguments.insert(arguments.end(), {"--name", "sim"});
        m_sim = std::make_unique<CChildProcess>(TESTER_SIM_PATH, arguments, output);
        ASSERT_TRUE(m_sim->Started());
        ASSERT_TRUE(WaitForFile((m_root / "run" / "q9tester-devices" / "sim").string(), kPatience));
    }
    void StartProgram(const std::vector<std::string>& arguments = {},
                      const std::string& program = Q9TESTER_PATH)
    {
        m_program = std::make_unique<CChildProcess>(program, arguments, (m_root / "program.out").string());
        ASSERT_TRUE(m_program->Started());
    }

    // Destroyed in reverse: the program ends first, the workspace last.
    std::unique_ptr<CTesterWorkspace> m_workspace;
    fs::path m_root;
    std::unique_ptr<CChildProcess> m_sim;
    std::unique_ptr<CChildProcess> m_program;
};

} // namespace

TEST_F(AppEndToEnd, ARecordedSessionReplayedIntoAFreshProgramLogsTheSameRows)
{
    // On site: a faulty line, and the Tester away longer than the deaf time so that
    // every device is logged twice; half the line rate spares a loaded machine's ring.
    const std::string recording = (m_root / "site.q9rec").string();
    StartSim({"--pace", "0.5x", "--quiet", "--garbage-every", "7", "--long-every", "13", "--prefix-every",
              "5", "--no-cr-every", "3", "--unplug-after", "4", "--replug-after", "3"});
    StartProgram({"--record", recording});
    ASSERT_TRUE(WaitUntil(
        [] {
            std::map<std::string, int> counts = Appearances();
            return std::ranges::all_of(kScenarioRows,
                                       [&](const std::string& row) { return counts[row] >= 2; });
        },
        kPatience, 50ms));
    EXPECT_EQ(m_program->Stop(), 0);
    m_sim.reset();
    const std::vector<std::string> site = LoggedRows();

    // At the desk: the recording in the Tester's place, a fresh program and folder.
    fs::create_directories(m_root / "desk");
    fs::current_path(m_root / "desk");
    const std::string simOutput = (m_root / "replay.out").string();
    StartSim({"--replay", recording}, simOutput);
    StartProgram();
    EXPECT_EQ(m_sim->Wait(2 * kPatience), 0) << ReadFileBytes(simOutput);
    EXPECT_EQ(m_program->Stop(), 0);
    EXPECT_EQ(LoggedRows(), site) << ReadFileBytes(simOutput);
}

TEST_F(AppEndToEnd, AtTheFileSizeLimitTheProgramGoesOnAndEveryLineStaysWhole)
{
    // Room for the titles and two or three rows: most rows fail, part way or at once.
    constexpr int kLimit = 200;
    StartSim({"--pace", "real", "--quiet"});
    // prlimit runs the program in its own place, so the child is q9tester.
    StartProgram({"--fsize=" + std::to_string(kLimit), Q9TESTER_PATH}, "/usr/bin/prlimit");
    ASSERT_TRUE(WaitUntil([] { return !LoggedRows().empty(); }, kPatience, 50ms));
    std::this_thread::sleep_for(3s); // every device of the simulator reports meanwhile
    for (const auto& [row, count] : Appearances())
        EXPECT_TRUE(kScenarioRows.count(row)) << row;
    EXPECT_LT(LoggedRows().size(), kScenarioRows.size());
    EXPECT_EQ(m_program->Stop(), 0); // alive until terminated
}

TEST_F(AppEndToEnd, TerminatedWhileStartingTheProgramStillEndsCleanly)
{
    ::setenv("LC_ALL", "C.UTF-8", 1); // a locale with files, mapped when Qt starts
    for (int run = 0; run < 5; ++run) {
        pid_t pid = -1;
        char* argv[] = {const_cast<char*>(Q9TESTER_PATH), nullptr};
        ASSERT_EQ(::posix_spawn(&pid, Q9TESTER_PATH, nullptr, nullptr, argv, environ), 0);
        // Once Qt mapped the locale's files, main has begun; the window is not there yet.
        const std::string maps = "/proc/" + std::to_string(pid) + "/maps";
        const bool starting = WaitUntil(
            [&] { return ReadFileBytes(maps).find("/usr/lib/locale/") != std::string::npos; }, kPatience);
        ::kill(pid, SIGTERM);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(starting) << "run " << run;
        EXPECT_EQ(status, 0) << "run " << run << ": exit " << WEXITSTATUS(status) << ", signal "
                             << WTERMSIG(status);
    }
    EXPECT_TRUE(fs::exists(m_root / "config" / "TAMRIX Derida Vovivu" / "q9tester.conf")); // settings written
}
