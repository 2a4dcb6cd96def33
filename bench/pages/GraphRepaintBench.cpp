// Measures what the four graph pages cost while they run as in the program:
// each page's own 150 ms timer appends a value and repaints its graph, and
// readings arrive faster than that. All four pages are shown at once (the
// program shows one tab at a time, so this is the worst case).
//
//   bench_graph_repaint [seconds]     (default 30; runs offscreen unless
//                                      QT_QPA_PLATFORM says otherwise)

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "BeaconPage.h"
#include "BenchArguments.h"
#include "LoopPage.h"
#include "Q9TransponderPage.h"
#include "TransponderPage.h"

namespace {
double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}
} // namespace

int main(int argc, char** argv)
{
    std::vector<int> numbers;
    int exitCode = 0;
    if (!ReadCountArguments(argc, argv, "bench_graph_repaint [seconds]", 1, numbers, exitCode))
        return exitCode;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = numbers.empty() ? 30 : numbers[0];

    CTransponderPage transponder;
    CQ9TransponderPage q9;
    CBeaconPage beacon;
    CLoopPage loop;
    for (QWidget* page : {static_cast<QWidget*>(&transponder), static_cast<QWidget*>(&q9),
                          static_cast<QWidget*>(&beacon), static_cast<QWidget*>(&loop)})
        page->show();

    // Readings every 50 ms with a changing signal, so every segment is drawn.
    unsigned reading = 0;
    QTimer feed;
    QObject::connect(&feed, &QTimer::timeout, [&] {
        const uint32_t rssi = 40 + (reading++ * 37) % 200;
        transponder.ShowTransponder("1234567", rssi, 0, false);
        q9.ShowTransponder(4001, "4001", rssi);
        beacon.ShowBeacon(77, rssi, 3.3, 20);
        loop.SetLevel(rssi);
    });
    feed.start(50);

    // Let the graphs fill before measuring.
    QTimer::singleShot(120 * 150, [&] {
        const double cpuStart = ProcessCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        QTimer::singleShot(seconds * 1000, [&, cpuStart, wallStart] {
            const double cpu = ProcessCpuSeconds() - cpuStart;
            const double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
            std::printf("4 graph pages, %d s: %.3f s CPU in %.3f s = %.2f %% of one core\n", seconds, cpu,
                        wall, 100.0 * cpu / wall);
            app.quit();
        });
    });
    return app.exec();
}
