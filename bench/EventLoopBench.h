#pragma once

#include <QApplication>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>

#include "TesterWorkspace.h"

// What the benchmarks that run the main dialog against tester-sim share.

// CPU time of the calling thread, in seconds.
inline double ThreadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Runs the event loop until `done` holds or `timeout` passes; the dialog's
// 100 ms timer wakes it. Whether `done` holds in the end.
inline bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

// Runs `body` inside an offscreen application whose settings, runtime folder
// (where the simulator and the dialog meet) and working folder are a private
// workspace named `name`; `body` gets the workspace's root. Its result.
inline int RunInOffscreenWorkspace(int argc, char** argv, const char* name,
                                   const std::function<int(const std::filesystem::path&)>& body)
{
    const CTesterWorkspace workspace(name);
    const std::filesystem::path root = workspace.Root();
    qputenv("XDG_CONFIG_HOME", (root / "config").c_str());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return body(root);
}
