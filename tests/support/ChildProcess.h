#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

// A child process (tester-sim or tester-monitor) run for one test and ended
// with SIGTERM when the object goes.
class CChildProcess {
  public:
    // Standard output goes to `outputFile`, standard error to `errorFile`
    // when one is given (the test's own otherwise).
    CChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& outputFile = "/dev/null", const std::string& errorFile = "");
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    // Sends SIGTERM and waits; returns the exit status (-1 when killed).
    int Stop();
    // Waits for the process to end by itself; -1 when it did not in time.
    int Wait(std::chrono::milliseconds timeout);

  private:
    pid_t m_pid = -1;
};

// Waits until `path` exists (true) or `timeout` passes (false).
bool WaitForFile(const std::string& path, std::chrono::milliseconds timeout);
