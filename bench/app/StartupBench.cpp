// Start-up to first paint of the main dialog (in this process, offscreen, no
// Tester), and the idle CPU load of the real program with no Tester attached.
//   bench_app_startup            both figures
// The idle figure runs the q9tester binary for 10 s in a private runtime and
// settings folder.

#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "AbsentTesterDevice.h"
#include "BenchArguments.h"
#include "Q9TesterDlg.h"
#include "TempFolder.h"

extern char** environ;

namespace {

class CFirstPaint : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

// CPU seconds (user + system) that process `pid` used so far.
double CpuSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i == 14 || i == 15)
            ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void MeasureIdle()
{
    const CTempFolder folder("q9-idle");
    const std::string runtime = "XDG_RUNTIME_DIR=" + folder.Path().string();
    const std::string config = "XDG_CONFIG_HOME=" + (folder / "config").string();
    std::vector<char*> envp = {const_cast<char*>("QT_QPA_PLATFORM=offscreen"),
                               const_cast<char*>(runtime.c_str()), const_cast<char*>(config.c_str())};
    for (char** e = environ; *e; ++e)
        envp.push_back(*e);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.Path().c_str());
    char program[] = Q9_PROGRAM;
    char* argv[] = {program, nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, program, &actions, nullptr, argv, envp.data()) != 0) {
        std::printf("cannot start %s\n", program);
        return;
    }
    posix_spawn_file_actions_destroy(&actions);
    std::this_thread::sleep_for(std::chrono::seconds(2)); // past start-up
    const double before = CpuSeconds(pid);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double used = CpuSeconds(pid) - before;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::printf("idle CPU, no Tester: %.2f %% of a core (%.3f s in %.1f s)\n", 100.0 * used / wall, used,
                wall);
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    std::vector<int> numbers;
    int exitCode = 0;
    if (!ReadCountArguments(argc, argv, "bench_app_startup", 0, numbers, exitCode))
        return exitCode;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CTempFolder folder("q9-startup");
    folder.MakeCurrent();
    qputenv("XDG_CONFIG_HOME", (folder / "config").c_str());
    {
        QApplication app(argc, argv);
        CAbsentTesterDevice device;
        CQ9TesterDlg dialog(device, nullptr);
        CFirstPaint paint;
        dialog.installEventFilter(&paint);
        dialog.show();
        while (!paint.painted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        std::printf("start-up to first paint: %.1f ms (from main, offscreen)\n",
                    static_cast<double>(sinceMain.nsecsElapsed()) / 1e6);
    }
    MeasureIdle();
    return 0;
}
