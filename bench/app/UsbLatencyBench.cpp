// Polling against a Tester behind its USB bridge, with the bridge's latency
// timer at the Linux default of 16 ms and at the 1 ms the udev rule sets,
// side by side in one run: exchanges a second, and the time from the poll
// the Tester answers with a transponder's first report to that report's row
// in the transponder log.
//   bench_usb_latency [seconds per latency]     (default 10)
// Runs the real dialog offscreen against `tester-sim --pace real
// --usb-latency MS`, in a private runtime, settings and working folder.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchArguments.h"
#include "ChildProcess.h"
#include "EventLoopBench.h"
#include "Ftd2xxDevice.h"
#include "LogRowEvent.h"
#include "Q9TesterDlg.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// The real device layer, timing each exchange: it starts with the first byte
// written after a reply line and ends with the line feed of its reply.
class CTimingDevice : public CFtd2xxDevice {
  public:
    bool Write(uint8_t byte, uint32_t& transferred) override
    {
        if (m_lineDone) {
            m_lineDone = false;
            m_exchangeStart = Clock::now().time_since_epoch().count();
        }
        return CFtd2xxDevice::Write(byte, transferred);
    }
    bool Read(uint8_t& byte, uint32_t& transferred) override
    {
        const bool ok = CFtd2xxDevice::Read(byte, transferred);
        if (ok && transferred == 1 && byte == '\n') {
            m_lineDone = true;
            lastAnsweredPoll = m_exchangeStart;
            ++exchanges;
        }
        return ok;
    }

    std::atomic<uint64_t> exchanges{0};
    // When the exchange whose reply was read last began (steady clock ticks).
    std::atomic<Clock::rep> lastAnsweredPoll{0};

  private:
    // Reader thread only.
    bool m_lineDone = true;
    Clock::rep m_exchangeStart = 0;
};

// Sees each transponder log row arrive at the log tab control. A row is
// added as soon as the UI thread gets to it, a few microseconds after the
// report's handler ran, so the reply read last is the one that carried it.
class CRowTimer : public QObject {
  public:
    explicit CRowTimer(const CTimingDevice& device) : m_device(device) {}
    std::vector<double> delaysMs;

  protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == WM_LOG_TRANSPONDER_ROW) {
            const Clock::time_point poll{Clock::duration(m_device.lastAnsweredPoll.load())};
            delaysMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - poll).count());
        }
        return false;
    }

  private:
    const CTimingDevice& m_device;
};

class CConnectedDlg : public CQ9TesterDlg {
  public:
    using CQ9TesterDlg::CQ9TesterDlg;
    bool connected = false;
    void OnFirmwareVersion(bool known, unsigned major, unsigned minor) override
    {
        connected = true;
        CQ9TesterDlg::OnFirmwareVersion(known, major, minor);
    }
};

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(share * static_cast<double>(values.size() - 1))];
}

void Measure(const std::string& latencyMs, std::chrono::seconds duration, const fs::path& root)
{
    const std::string name = "sim" + latencyMs;
    CChildProcess sim(TESTER_SIM_PATH,
                      {"--pace", "real", "--usb-latency", latencyMs, "--quiet", "--name", name});
    if (!WaitForFile((root / "run" / "q9tester-devices" / name).string(), 10s)) {
        std::printf("%s ms: simulator did not start\n", latencyMs.c_str());
        return;
    }
    CTimingDevice device;
    CConnectedDlg dialog(device, nullptr);
    dialog.show();
    if (!RunUntil([&] { return dialog.connected; }, 10s)) {
        std::printf("%s ms: no connection\n", latencyMs.c_str());
        return;
    }
    CRowTimer rows(device);
    qApp->installEventFilter(&rows);
    const uint64_t exchanges0 = device.exchanges;
    const auto start = Clock::now();
    RunUntil([] { return false; }, duration);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    qApp->removeEventFilter(&rows);
    double sum = 0;
    for (double delay : rows.delaysMs)
        sum += delay;
    std::printf("usb latency %3s ms, %4.1f s: %5.0f exchanges/s; poll to log row over %zu first reports: "
                "mean %5.1f ms, median %5.1f ms, 95 %% %5.1f ms\n",
                latencyMs.c_str(), wall, static_cast<double>(device.exchanges - exchanges0) / wall,
                rows.delaysMs.size(),
                rows.delaysMs.empty() ? 0.0 : sum / static_cast<double>(rows.delaysMs.size()),
                Percentile(rows.delaysMs, 0.5), Percentile(rows.delaysMs, 0.95));
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> numbers;
    int exitCode = 0;
    if (!ReadCountArguments(argc, argv, "bench_usb_latency [seconds per latency]", 1, numbers, exitCode))
        return exitCode;
    const std::chrono::seconds duration(numbers.empty() ? 10 : numbers[0]);
    return RunInOffscreenWorkspace(argc, argv, "q9-bench-usb", [&](const fs::path& root) {
        for (const char* latencyMs : {"16", "1"})
            Measure(latencyMs, duration, root);
        return 0;
    });
}
