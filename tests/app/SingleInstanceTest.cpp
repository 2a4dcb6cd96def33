#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "RuntimeFolder.h"
#include "SingleInstance.h"
#include "TempFolder.h"
#include "TesterWorkspace.h"
#include "WaitUntil.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The real program, started in `folder` with this test's offscreen, runtime
// and settings environment; its standard error goes to folder/stderr.
pid_t StartProgram(const fs::path& folder)
{
    fs::create_directories(folder);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 2, (folder / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    char program[] = Q9_PROGRAM;
    char* argv[] = {program, nullptr};
    pid_t pid = -1;
    const int error = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// True once the program in `folder` made its log files: it got past the check.
bool WaitRunning(const fs::path& folder)
{
    return WaitUntil([&] { return fs::exists(folder / "Log") && !fs::is_empty(folder / "Log"); }, 60s, 20ms);
}

void Kill(pid_t pid)
{
    ::kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

TEST(SingleInstanceTest, SecondCopyEndsAtOnceWhileTheFirstRunsOn)
{
    CTesterWorkspace workspace("q9-instance");
    const fs::path& root = workspace.Root();

    const pid_t first = StartProgram(root / "first");
    ASSERT_GT(first, 0);
    ASSERT_TRUE(WaitRunning(root / "first"));

    const pid_t second = StartProgram(root / "second");
    ASSERT_GT(second, 0);
    int status = 0;
    ASSERT_TRUE(WaitUntil([&] { return waitpid(second, &status, WNOHANG) == second; }, 60s, 20ms))
        << "the second copy kept running";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fs::exists(root / "second" / "Log"));        // it never got to its logs
    EXPECT_EQ(fs::file_size(root / "second" / "stderr"), 0u); // and said nothing

    EXPECT_EQ(waitpid(first, nullptr, WNOHANG), 0) << "the first copy was disturbed";
    Kill(first); // even a killed copy frees its claim

    const pid_t third = StartProgram(root / "third");
    ASSERT_GT(third, 0);
    EXPECT_TRUE(WaitRunning(root / "third"));
    EXPECT_EQ(waitpid(third, nullptr, WNOHANG), 0);
    Kill(third);
}

TEST(SingleInstanceClaim, AFolderOthersMayWriteDoesNotSwitchTheCheckOff)
{
    CTempFolder folder("q9-shared");
    const fs::path& shared = folder.Path();
    fs::permissions(shared, fs::perms::all);
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = saved != nullptr ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", shared.c_str(), 1);
    const std::string name = "q9tester-test-" + std::to_string(::getpid()) + ".lock";
    {
        CSingleInstance first(name);
        CSingleInstance second(name);
        EXPECT_TRUE(first.Claim());
        EXPECT_FALSE(second.Claim());
        EXPECT_FALSE(fs::exists(shared / name)); // nothing where others can write
    }
    fs::remove(fs::path(PrivateRuntimeFolder()) / name);
    if (saved != nullptr)
        ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}
