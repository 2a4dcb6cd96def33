// Link throughput and cost against tester-sim: events per second, reader CPU
// per 1,000 reply lines and refused records at full speed and at ten times
// the Tester's line rate, the reader's CPU share at the
// Tester's real line rate, how much of the paced line's byte rate the
// replies use, and the CPU share of a link searching with no Tester
// attached. Prints one figure per line.
#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "BenchArguments.h"
#include "ChildProcess.h"
#include "DeviceLinkHarness.h"
#include "TempFolder.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Bytes a second the Tester's line carries: 115200 baud, 10 bits a byte.
constexpr double kLineBytesPerSecond = 11520.0;

double Seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

double ThreadCpuSeconds(clockid_t clock)
{
    timespec ts{};
    return ::clock_gettime(clock, &ts) == 0 ? ts.tv_sec + ts.tv_nsec / 1e9 : 0.0;
}

double ProcessCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A private folder with an empty sysfs and a private runtime folder.
struct Folders {
    Folders()
    {
        std::filesystem::create_directory(sysfs);
        std::filesystem::create_directory(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    }
    CTempFolder root{"q9-bench"};
    std::string runtime = (root / "run").string();
    std::string sysfs = (root / "sys").string();
};

// Runs the link against a simulator at `pace` (`speedup` times the line
// rate, 0 for no pacing) for `duration` once connected.
void MeasureAgainstSimulator(const char* pace, double speedup, std::chrono::seconds duration)
{
    Folders folders;
    CChildProcess sim(TESTER_SIM_PATH,
                      {"--pace", pace, "--quiet", "--name", "sim", "--runtime-dir", folders.runtime});
    if (!WaitForFile(folders.runtime + "/sim", 10s)) {
        std::printf("%s: simulator did not start\n", pace);
        return;
    }
    CDeviceLinkHarness harness(folders.runtime, folders.sysfs);
    CRecordingHandlers& seen = harness.Recorder();
    harness.Link().Start();
    if (!harness.PumpUntil([&] { return seen.Count("Version") > 0; }, 10s)) {
        std::printf("%s: no connection\n", pace);
        return;
    }
    CCountingDevice& device = harness.Device();
    const clockid_t reader = device.m_readerClock.load();
    const uint64_t lines0 = device.m_lineFeeds.load();
    const uint64_t reads0 = device.m_reads.load();
    const size_t events0 = seen.calls.size();
    const double cpu0 = ThreadCpuSeconds(reader);
    const auto start = Clock::now();
    harness.PumpFor(duration);
    const double wall = Seconds(Clock::now() - start);
    const double cpu = ThreadCpuSeconds(reader) - cpu0;
    const uint64_t lines = device.m_lineFeeds.load() - lines0;
    // One read call a byte, plus one per 200 ms read time-out (a handful).
    const double bytesPerSecond = (device.m_reads.load() - reads0) / wall;
    const size_t events = seen.calls.size() - events0;
    harness.Link().Stop();

    std::printf("pace %s, %.1f s:\n", pace, wall);
    std::printf("  reply lines per second (exchanges): %.0f\n", lines / wall);
    std::printf("  events delivered per second:        %.0f\n", events / wall);
    std::printf("  bytes received per second:          %.0f", bytesPerSecond);
    if (speedup > 0) {
        std::printf(" (%.1f %% of the paced line)", bytesPerSecond / (kLineBytesPerSecond * speedup) * 100);
    }
    std::printf("\n");
    std::printf("  reader CPU seconds per 1000 lines:  %.4f\n", lines > 0 ? cpu / lines * 1000 : 0.0);
    std::printf("  reader CPU share of one core:       %.2f %%\n", cpu / wall * 100);
    std::printf("  refused events / commands:          %llu / %llu\n",
                static_cast<unsigned long long>(harness.Link().RefusedEvents()),
                static_cast<unsigned long long>(harness.Link().RefusedCommands()));
    std::printf("  connections / link losses:          %d / %d\n", seen.Count("Connected"),
                seen.Count("Disconnected"));
}

void MeasureSearching(std::chrono::seconds duration)
{
    Folders folders;
    CDeviceLinkHarness harness(folders.runtime, folders.sysfs);
    const double cpu0 = ProcessCpuSeconds();
    const auto start = Clock::now();
    harness.Link().Start();
    harness.PumpFor(duration);
    harness.Link().Stop();
    const double wall = Seconds(Clock::now() - start);
    const double cpu = ProcessCpuSeconds() - cpu0;
    std::printf("searching with no Tester, %.1f s:\n", wall);
    std::printf("  searches per second:                %.1f\n",
                harness.Recorder().Count("Disconnected") / wall);
    std::printf("  process CPU share of one core:      %.3f %%\n", cpu / wall * 100);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> numbers;
    int exitCode = 0;
    if (!ReadCountArguments(argc, argv, "bench_link [seconds]", 1, numbers, exitCode))
        return exitCode;
    const auto seconds = std::chrono::seconds(numbers.empty() ? 5 : numbers[0]);
    MeasureAgainstSimulator("fast", 0, seconds);
    MeasureAgainstSimulator("10x", 10, seconds);
    MeasureAgainstSimulator("real", 1, seconds);
    MeasureSearching(seconds);
    return 0;
}
