#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "RuntimeFolder.h"
#include "SingleInstance.h"
#include "TesterWorkspace.h"
#include "WaitUntil.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

fs::path EnterFolder(const fs::path& folder)
{
    fs::create_directories(folder);
    fs::current_path(folder);
    return folder;
}

// True once the program in `folder` made its log files: it got past the check.
bool WaitRunning(const fs::path& folder)
{
    return WaitUntil([&] { return fs::exists(folder / "Log") && !fs::is_empty(folder / "Log"); }, 60s, 20ms);
}

} // namespace

TEST(SingleInstanceTest, SecondCopyEndsAtOnceWhileTheFirstRunsOn)
{
    CTesterWorkspace workspace("q9-instance");
    const fs::path& root = workspace.Root();
    // Spawned by hand: it is to be killed, not asked to end.
    EnterFolder(root / "first");
    char program[] = Q9_PROGRAM;
    char* argv[] = {program, nullptr};
    pid_t first = -1;
    ASSERT_EQ(posix_spawn(&first, program, nullptr, nullptr, argv, environ), 0);
    ASSERT_TRUE(WaitRunning(root / "first"));

    const fs::path second = EnterFolder(root / "second");
    EXPECT_EQ(CChildProcess(Q9_PROGRAM, {}, "/dev/null", (second / "stderr").string()).Wait(60s), 0)
        << "the second copy kept running or failed";
    EXPECT_FALSE(fs::exists(second / "Log"));        // it never got to its logs
    EXPECT_EQ(fs::file_size(second / "stderr"), 0u); // and said nothing

    EXPECT_EQ(waitpid(first, nullptr, WNOHANG), 0) << "the first copy was disturbed";
    ::kill(first, SIGKILL); // even a killed copy frees its claim
    waitpid(first, nullptr, 0);

    CChildProcess third(Q9_PROGRAM, {}, "/dev/null", (EnterFolder(root / "third") / "stderr").string());
    EXPECT_TRUE(WaitRunning(root / "third"));
    EXPECT_EQ(third.Wait(0ms), -1); // still running
}

TEST(SingleInstanceClaim, AFolderOthersMayWriteDoesNotSwitchTheCheckOff)
{
    CTesterWorkspace workspace("q9-shared");
    fs::permissions(workspace.RuntimeDir(), fs::perms::all);
    const std::string name = "q9tester-test-" + std::to_string(::getpid()) + ".lock";
    {
        CSingleInstance first(name);
        CSingleInstance second(name);
        EXPECT_TRUE(first.Claim());
        EXPECT_FALSE(second.Claim());
        EXPECT_FALSE(fs::exists(workspace.RuntimeDir() / name)); // nothing where others can write
    }
    fs::remove(fs::path(PrivateRuntimeFolder()) / name);
}
