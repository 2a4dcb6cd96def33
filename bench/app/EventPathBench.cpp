// The cost of one transponder report on the UI thread (translation lookup,
// page update, deaf list) with no translations and with 1,000,000, ten times
// a large fleet synchronised from the server.
//   bench_app_event_path [reports]          (default 200000)
// Prints nanoseconds per report for both; under
//   valgrind --tool=callgrind --dump-after='*MeasureReports*'
// dumps 2 and 4 (each measured run with the events it posts) give the same
// comparison in instructions, without timing noise.

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "AbsentTesterDevice.h"
#include "BenchArguments.h"
#include "Q9TesterDlg.h"
#include "TempFolder.h"
#include "TesterLink.h"
#include "TranslationList.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr uint32_t kFirstNumber = 1000000;
constexpr uint32_t kFleet = 1000000;
// Transponders in front of the Tester during the run: the deaf list holds
// them all, as in the field.
constexpr uint32_t kInSight = 40;

// `reports` reports of transponders spread over the fleet's numbers. Kept out
// of line so that callgrind can count it alone.
__attribute__((noinline)) void MeasureReports(CQ9TesterDlg& dialog, int reports)
{
    for (int i = 0; i < reports; ++i) {
        const uint32_t number = kFirstNumber + (static_cast<uint32_t>(i) % kInSight) * (kFleet / kInSight);
        dialog.OnTransponder(number, 40 + static_cast<uint32_t>(i % 90), false, static_cast<unsigned>(i % 3));
        if (i % 64 == 63)
            dialog.OnTimer(); // ages the deaf list as the 100 ms timer would
    }
}

double NanosecondsPerReport(CQ9TesterDlg& dialog, int reports)
{
    MeasureReports(dialog, reports / 10); // warm up: log rows of the first sightings
    QCoreApplication::processEvents();
    const auto start = Clock::now();
    MeasureReports(dialog, reports);
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    QCoreApplication::processEvents();
    return ns / reports;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> numbers;
    int exitCode = 0;
    if (!ReadCountArguments(argc, argv, "bench_app_event_path [reports]", 1, numbers, exitCode))
        return exitCode;
    const int reports = numbers.empty() ? 200000 : numbers[0];
    CTempFolder root("q9-bench-path");
    qputenv("XDG_CONFIG_HOME", (root / "config").c_str());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    root.MakeCurrent();
    {
        QApplication app(argc, argv);
        CAbsentTesterDevice device;
        CQ9TesterDlg dialog(device, nullptr);
        dialog.TesterLink().Stop();
        const double none = NanosecondsPerReport(dialog, reports);
        for (uint32_t i = 0; i < kFleet; ++i)
            dialog.Translations().AddTail({kFirstNumber + i, i % 1000, "Car " + std::to_string(i)});
        const double full = NanosecondsPerReport(dialog, reports);
        std::printf("%d reports: no translations %.0f ns/report, %u translations %.0f ns/report (%+.1f %%)\n",
                    reports, none, kFleet, full, 100.0 * (full - none) / none);
    }
    return 0;
}
