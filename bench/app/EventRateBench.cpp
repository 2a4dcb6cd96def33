// The main dialog on the UI thread against tester-sim: events handled per
// second, the UI thread's CPU share and the records the link's ring refused,
// at the Tester's real line rate, at ten times it and as fast as it goes.
//   bench_app_events [seconds per pace]     (default 5)
// Runs the real dialog offscreen, in a private runtime, settings and working
// folder; the simulator is found as a real Tester would be.

#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <time.h>

#include "BenchArguments.h"
#include "ChildProcess.h"
#include "EventLoopBench.h"
#include "Ftd2xxDevice.h"
#include "Q9TesterDlg.h"
#include "TesterLink.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// The dialog, counting what reaches its handlers.
class CCountingDlg : public CQ9TesterDlg {
  public:
    using CQ9TesterDlg::CQ9TesterDlg;
    uint64_t events = 0;
    bool connected = false;

    void OnTransponder(uint32_t number, uint32_t rssi, bool lowBattery, unsigned driver) override
    {
        ++events;
        CQ9TesterDlg::OnTransponder(number, rssi, lowBattery, driver);
    }
    void OnQ9Transponder(uint32_t number, uint32_t rssi) override
    {
        ++events;
        CQ9TesterDlg::OnQ9Transponder(number, rssi);
    }
    void OnMindletTransponder(uint32_t number, uint32_t rssi, bool lowBattery) override
    {
        ++events;
        CQ9TesterDlg::OnMindletTransponder(number, rssi, lowBattery);
    }
    void OnBeacon(uint32_t number, uint32_t rssi, double volts, int32_t temperature) override
    {
        ++events;
        CQ9TesterDlg::OnBeacon(number, rssi, volts, temperature);
    }
    void OnLoopLevel(unsigned level) override
    {
        ++events;
        CQ9TesterDlg::OnLoopLevel(level);
    }
    void OnFirmwareVersion(bool known, unsigned major, unsigned minor) override
    {
        connected = true;
        CQ9TesterDlg::OnFirmwareVersion(known, major, minor);
    }
};

void Measure(const char* pace, std::chrono::seconds duration, const fs::path& root)
{
    CChildProcess sim(TESTER_SIM_PATH, {"--pace", pace, "--quiet", "--name", "sim"});
    if (!WaitForFile((root / "run" / "q9tester-devices" / "sim").string(), 10s)) {
        std::printf("%s: simulator did not start\n", pace);
        return;
    }
    CFtd2xxDevice device;
    CCountingDlg dialog(device, nullptr);
    dialog.show();
    if (!RunUntil([&] { return dialog.connected; }, 10s)) {
        std::printf("%s: no connection\n", pace);
        return;
    }
    const uint64_t events0 = dialog.events;
    const uint64_t refused0 = dialog.TesterLink().RefusedEvents();
    const double cpu0 = ThreadCpuSeconds();
    const auto start = Clock::now();
    RunUntil([] { return false; }, duration);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = ThreadCpuSeconds() - cpu0;
    const uint64_t events = dialog.events - events0;
    const uint64_t refused = dialog.TesterLink().RefusedEvents() - refused0;
    std::printf(
        "pace %-5s %5.1f s: %7.0f events/s handled, UI thread %5.1f %% of a core "
        "(%.1f us/event), refused %llu (%.2f %%)\n",
        pace, wall, static_cast<double>(events) / wall, 100.0 * cpu / wall,
        events ? 1e6 * cpu / static_cast<double>(events) : 0.0, static_cast<unsigned long long>(refused),
        events + refused ? 100.0 * static_cast<double>(refused) / static_cast<double>(events + refused)
                         : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> numbers;
    int exitCode = 0;
    if (!ReadCountArguments(argc, argv, "bench_app_events [seconds per pace]", 1, numbers, exitCode))
        return exitCode;
    const std::chrono::seconds duration(numbers.empty() ? 5 : numbers[0]);
    return RunInOffscreenWorkspace(argc, argv, "q9-bench-events", [&](const fs::path& root) {
        for (const char* pace : {"real", "10x", "fast"})
            Measure(pace, duration, root);
        return 0;
    });
}
