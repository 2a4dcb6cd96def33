// A long CAN message sequence at a short time between messages, through the
// real main dialog and device layer, against tester-sim at the real line
// rate: are all messages on the wire, in order, at their pace, and is every
// one logged?
//   bench_emulation_pace [--messages N] [--tbm-ms MS]   (default 10000, 10)
//
// LoopEmulator.xml keeps its time between messages at 1 s or more, so the
// bench drives the page's own tick handler (OnTimer) from a timer of the
// page's type (Qt::PreciseTimer) at MS: the page's sending, the link's
// command queue, the wire and the CAN log are the program's own. It writes
// its generated LoopEmulator.xml beside itself, where the program looks.

#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <time.h>
#include <vector>

#include "CanMessageLogPage.h"
#include "ChildProcess.h"
#include "EmulationPage.h"
#include "EventLoopBench.h"
#include "Ftd2xxDevice.h"
#include "LogListModel.h"
#include "LoggingListCtrl.h"
#include "LoggingTabCtrl.h"
#include "LoopEmulatorPath.h"
#include "Q9TesterDlg.h"
#include "TempFolder.h"
#include "TesterLink.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

const char kUsage[] = "usage: bench_emulation_pace [--messages N] [--tbm-ms MS]\n"
                      "  N: messages in the sequence, 2 to 1000000 (default 10000)\n"
                      "  MS: time between messages in ms, 10 to 10000 (default 10)\n";

struct Settings {
    int messages = 10000;
    int tbmMs = 10;
};

bool ToInt(const char* text, int low, int high, int& value)
{
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < low || parsed > high)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

// False with nothing parsed on a bad argument; `help` for --help.
bool ParseArguments(int argc, char** argv, Settings& settings, bool& help)
{
    help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "-h" || name == "--help") {
            help = true;
            return true;
        }
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        if (name == "--messages" && ToInt(value, 2, 1000000, settings.messages))
            continue;
        if (name == "--tbm-ms" && ToInt(value, 10, 10000, settings.tbmMs))
            continue;
        return false;
    }
    return true;
}

// The wire command of message i (twoway id, CAN id and one data byte each
// tell the messages apart).
std::string Command(int i)
{
    char text[64];
    std::snprintf(text, sizeof text, "m%d,%x,1,0,%X\n", 1 + i % 63, 1 + i % 0xFFFF, i & 0xFF);
    return text;
}

void WriteSequence(const std::string& path, int messages)
{
    std::ofstream file(path);
    file << "<loopemulator><messagesequence name=\"Pace\">\n";
    for (int i = 0; i < messages; ++i) {
        char data[8];
        std::snprintf(data, sizeof data, "%X", i & 0xFF);
        file << "<canmessage name=\"M" << i << "\"><twowayid>" << 1 + i % 63 << "</twowayid><canid>"
             << std::hex << 1 + i % 0xFFFF << std::dec << "</canid><data>" << data
             << "</data></canmessage>\n";
    }
    file << "</messagesequence></loopemulator>\n";
}

// The device layer, noting when each CAN message command starts on the wire.
class CTimingDevice : public CFtd2xxDevice {
  public:
    bool Write(uint8_t byte, uint32_t& transferred) override
    {
        if (byte == 'm') {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_starts.push_back(Clock::now());
        }
        return CFtd2xxDevice::Write(byte, transferred);
    }
    std::vector<Clock::time_point> Starts()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_starts;
    }

  private:
    std::mutex m_mutex;
    std::vector<Clock::time_point> m_starts;
};

// Median and worst deviation of the intervals from `tbmMs`, and the drift of
// the whole run, in ms.
void PrintPace(const char* what, const std::vector<Clock::time_point>& times, int tbmMs)
{
    if (times.size() < 2) {
        std::printf("%s: fewer than two messages\n", what);
        return;
    }
    std::vector<double> errors;
    for (size_t i = 1; i < times.size(); ++i)
        errors.push_back(
            std::fabs(std::chrono::duration<double, std::milli>(times[i] - times[i - 1]).count() - tbmMs));
    std::sort(errors.begin(), errors.end());
    const double total = std::chrono::duration<double, std::milli>(times.back() - times.front()).count();
    const double drift = total - static_cast<double>(tbmMs) * static_cast<double>(times.size() - 1);
    std::printf(
        "%s: interval error median %.3f ms, worst %.3f ms; drift over %zu messages %+.1f ms (%+.3f %%)\n",
        what, errors[errors.size() / 2], errors.back(), times.size(), drift, 100.0 * drift / (total - drift));
}

int Run(const Settings& settings, const fs::path& root)
{
    WriteSequence(LoopEmulatorPath(), settings.messages);
    const std::string recorded = (root / "recorded").string();
    CChildProcess sim(TESTER_SIM_PATH, {"--pace", "real", "--quiet", "--name", "sim", "--record", recorded});
    if (!WaitForFile((root / "run" / "q9tester-devices" / "sim").string(), 10s)) {
        std::fprintf(stderr, "simulator did not start\n");
        return 1;
    }
    CTimingDevice device;
    CQ9TesterDlg dialog(device, nullptr);
    auto* page = dialog.findChild<CEmulationPage*>();
    auto* send = page->findChild<QPushButton*>("canSend");
    if (page->Sequences().GetSequenceCount() != 1 || !RunUntil([&] { return send->isEnabled(); }, 10s)) {
        std::fprintf(stderr, "no sequence loaded or no Tester found\n");
        return 1;
    }

    std::vector<Clock::time_point> ticks{Clock::now()};
    const double cpu0 = ThreadCpuSeconds();
    send->click();                                    // message 1, and the page's own (1 s) timer...
    page->findChild<QPushButton*>("cancel")->click(); // ...stopped; the sequence stays current
    QTimer pace;
    pace.setTimerType(Qt::PreciseTimer);
    pace.setInterval(settings.tbmMs);
    QObject::connect(&pace, &QTimer::timeout, [&] {
        page->OnTimer();
        ticks.push_back(Clock::now());
        // A message the link refused is offered again at the next tick.
        if (ticks.size() >= static_cast<size_t>(settings.messages) + dialog.TesterLink().RefusedCommands())
            pace.stop();
    });
    pace.start();
    const auto messages = static_cast<size_t>(settings.messages);
    CLoggingListCtrl& log = *dialog.findChild<CLoggingTabCtrl*>()->CanMessageLogPage()->List();
    const size_t expectedRows = 2 * messages; // "Sending" and "Sent" for each
    const auto patience = std::chrono::milliseconds(2 * settings.tbmMs * settings.messages) + 20s;
    RunUntil([&] { return log.Model().Store().Size() >= expectedRows; }, patience);
    const double cpu = ThreadCpuSeconds() - cpu0;
    const double wall = std::chrono::duration<double>(Clock::now() - ticks.front()).count();

    // Each command on the wire must be a later message than the one before.
    const std::string wire = ReadFileBytes(recorded);
    size_t onWire = 0;
    size_t next = 0;
    bool inOrder = true;
    for (size_t at = wire.find('m'); at != std::string::npos; at = wire.find('m', at + 1)) {
        const std::string command = wire.substr(at, wire.find('\n', at) - at + 1);
        while (next < messages && command != Command(static_cast<int>(next)))
            ++next;
        inOrder = inOrder && next < messages;
        ++onWire;
        ++next;
    }
    std::printf("%d messages at %d ms against tester-sim --pace real, %.1f s\n", settings.messages,
                settings.tbmMs, wall);
    std::printf("on the wire: %zu of %zu, %s\n", onWire, messages, inOrder ? "in order" : "OUT OF ORDER");
    PrintPace("page ticks", ticks, settings.tbmMs);
    PrintPace("wire", device.Starts(), settings.tbmMs);
    std::printf("UI thread: %.2f s CPU, %.1f %% of a core\n", cpu, 100.0 * cpu / wall);
    std::printf("refused queue entries (each offered again at the next tick): %llu, refused events: %llu\n",
                static_cast<unsigned long long>(dialog.TesterLink().RefusedCommands()),
                static_cast<unsigned long long>(dialog.TesterLink().RefusedEvents()));
    const size_t rows = log.Model().Store().Size();
    std::printf("CAN log rows: %zu of %zu (lost %zu)\n", rows, expectedRows,
                rows < expectedRows ? expectedRows - rows : 0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Settings settings;
    bool help = false;
    if (!ParseArguments(argc, argv, settings, help)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return RunInOffscreenWorkspace(argc, argv, "q9-bench-pace",
                                   [&](const fs::path& root) { return Run(settings, root); });
}
