// The reader thread's CPU per exchange with and without a recording, against
// tester-sim at the real line rate and unthrottled, and the recording's size
// per hour at the real rate. Runs with and without alternate, so both see the
// same machine load. Prints one figure per line.
#include <sys/stat.h>
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "BenchArguments.h"
#include "ChildProcess.h"
#include "DeviceLinkHarness.h"
#include "RecordingDevice.h"
#include "TempFolder.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

double ThreadCpuSeconds(clockid_t clock)
{
    timespec ts{};
    return ::clock_gettime(clock, &ts) == 0 ? ts.tv_sec + ts.tv_nsec / 1e9 : 0.0;
}

struct Folders {
    Folders()
    {
        fs::create_directory(sysfs);
        ::mkdir(runtime.c_str(), 0700);
    }
    CTempFolder root{"q9-bench-recording"};
    std::string runtime = (root / "run").string();
    std::string sysfs = (root / "sys").string();
};

struct Figures {
    double exchangesPerSecond = 0;
    double cpuMicrosPerExchange = 0;
    double cpuShare = 0;
    double bytesPerHour = 0;
};

// One run of `duration` once connected; records when `recording` is set.
Figures Measure(const char* pace, bool recording, std::chrono::seconds duration)
{
    Folders folders;
    CChildProcess sim(TESTER_SIM_PATH,
                      {"--pace", pace, "--quiet", "--name", "sim", "--runtime-dir", folders.runtime});
    Figures figures;
    if (!WaitForFile(folders.runtime + "/sim", 10s))
        return figures;
    CCountingDevice device(folders.sysfs, folders.runtime);
    CRecordingWriter writer;
    CRecordingDevice recorder(device, writer);
    const std::string file = (folders.root / "bench.q9rec").string();
    if (recording)
        writer.Open(file, "bench_recording", "0");
    CTesterLink link(recording ? static_cast<CTesterDevice&>(recorder) : device, [] {});
    CRestartingRecorder seen(link);
    link.Start();
    const auto pump = [&](Clock::time_point until, const std::function<bool()>& done) {
        while (Clock::now() < until && !done()) {
            link.DeliverEvents(seen);
            std::this_thread::sleep_for(1ms);
        }
    };
    pump(Clock::now() + 10s, [&] { return seen.Count("Version") > 0; });
    const clockid_t reader = device.m_readerClock.load();
    const uint64_t lines0 = device.m_lineFeeds.load();
    const double cpu0 = ThreadCpuSeconds(reader);
    const uintmax_t size0 = recording ? fs::file_size(file) : 0;
    const auto start = Clock::now();
    pump(start + duration, [] { return false; });
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = ThreadCpuSeconds(reader) - cpu0;
    const uint64_t lines = device.m_lineFeeds.load() - lines0;
    const uintmax_t size = recording ? fs::file_size(file) - size0 : 0;
    link.Stop();
    figures.exchangesPerSecond = lines / wall;
    figures.cpuMicrosPerExchange = lines > 0 ? cpu / lines * 1e6 : 0;
    figures.cpuShare = cpu / wall * 100;
    figures.bytesPerHour = size / wall * 3600;
    return figures;
}

void Report(const char* pace, std::chrono::seconds duration, int rounds)
{
    for (int round = 0; round < rounds; ++round) {
        for (const bool recording : {false, true}) {
            const Figures f = Measure(pace, recording, duration);
            std::printf(
                "pace %-4s %-14s %7.0f exchanges/s, reader %6.2f us CPU an exchange, %5.2f %% of a core",
                pace, recording ? "recording:" : "not recording:", f.exchangesPerSecond,
                f.cpuMicrosPerExchange, f.cpuShare);
            if (recording)
                std::printf(", file %.1f MB an hour", f.bytesPerHour / 1e6);
            std::printf("\n");
            std::fflush(stdout);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> numbers;
    int exitCode = 0;
    if (!ReadCountArguments(argc, argv, "bench_recording [seconds per run]", 1, numbers, exitCode))
        return exitCode;
    const auto seconds = std::chrono::seconds(numbers.empty() ? 5 : numbers[0]);
    Report("real", seconds, 2);
    Report("fast", seconds, 2);
    return 0;
}
