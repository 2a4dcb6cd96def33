#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TempFolder.h"
#include "WaitUntil.h"

extern char** environ;

namespace {

int ExitCode(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

CChildProcess::CChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& outputFile, const std::string& errorFile)
{
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!errorFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    if (::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
}

CChildProcess::~CChildProcess()
{
    Stop();
}

int CChildProcess::Stop()
{
    if (m_pid <= 0)
        return -1;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return ExitCode(status);
}

int CChildProcess::Wait(std::chrono::milliseconds timeout)
{
    int status = 0;
    const bool ended = m_pid > 0 && WaitUntil([&] { return ::waitpid(m_pid, &status, WNOHANG) == m_pid; },
                                              timeout, std::chrono::milliseconds(20));
    if (!ended)
        return -1;
    m_pid = -1;
    return ExitCode(status);
}

bool WaitForFile(const std::string& path, std::chrono::milliseconds timeout)
{
    return WaitUntil([&] { return std::filesystem::exists(path); }, timeout, std::chrono::milliseconds(10));
}
