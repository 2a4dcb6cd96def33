// Fills the transponder log (or with --can the CAN message log) with
// 1,000,000 rows of seven short cells, the way the program does (posted rows,
// file mirror, offscreen view), and prints the time per row, the time of one
// view update at several sizes, and the memory per row. Run from a scratch
// folder: it writes Log/Tester_<stamp>.log (Log/CanMessage_<stamp>.log) there.
//   bench_log_list [--can] [rows]

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "CanMessageLogPage.h"
#include "LogListModel.h"
#include "LogRowEvent.h"
#include "LoggingListCtrl.h"
#include "LoggingTabCtrl.h"
#include "TransponderLogPage.h"

namespace {

long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::strlen(field)));
    return 0;
}

const char kUsage[] = "usage: bench_log_list [--can] [rows]   (rows 1 to 10000000, default 1000000)\n";

std::unique_ptr<LogRow> MakeRow(int i, QEvent::Type rowType)
{
    auto row = std::make_unique<LogRow>();
    if (rowType == WM_LOG_CAN_ROW) // a sent CAN message of a long sequence
        row->cells = {"Sending (" + std::to_string(i % 10000 + 1) + "/10000): Reset clock",
                      "",
                      "",
                      "",
                      "1A0",
                      "01 FF 7E ",
                      "05-12-2026 17:24:48"};
    else
        row->cells = {"Car 7", std::to_string(1000000 + i), "42", "Korvo", "Low",
                      "12",    "05-12-2026 17:24:48"};
    return row;
}

// False on a bad argument.
bool ParseArguments(int argc, char** argv, int& total, QEvent::Type& rowType, bool& help)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            help = true;
        } else if (argument == "--can") {
            rowType = WM_LOG_CAN_ROW;
        } else {
            char* end = nullptr;
            const long rows = std::strtol(argv[i], &end, 10);
            if (end == argv[i] || *end != '\0' || rows < 1 || rows > 10000000)
                return false;
            total = static_cast<int>(rows);
        }
    }
    return true;
}

// One update of the view: a row arrives, is shown on top, the list repaints.
// The median of many, as the machine is shared.
double UpdateMicroseconds(CLoggingTabCtrl& tabs, CLoggingListCtrl& list, QEvent::Type rowType, int& next)
{
    std::vector<double> times;
    for (int i = 0; i < 101; ++i) {
        QElapsedTimer timer;
        timer.start();
        PostLogRow(&tabs, rowType, MakeRow(next++, rowType));
        QCoreApplication::sendPostedEvents();
        list.viewport()->repaint();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
    }
    std::nth_element(times.begin(), times.begin() + 50, times.end());
    return times[50];
}

} // namespace

int main(int argc, char** argv)
{
    int total = 1000000;
    QEvent::Type rowType = WM_LOG_TRANSPONDER_ROW;
    bool help = false;
    if (!ParseArguments(argc, argv, total, rowType, help)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int burst = 1000;

    CLoggingTabCtrl tabs;
    tabs.SetPages(new CTransponderLogPage, new CCanMessageLogPage);
    tabs.resize(900, 300);
    tabs.show();
    CLoggingListCtrl& list =
        rowType == WM_LOG_CAN_ROW ? *tabs.CanMessageLogPage()->List() : *tabs.TransponderLogPage()->List();
    if (rowType == WM_LOG_CAN_ROW)
        tabs.setCurrentIndex(1);
    QCoreApplication::processEvents();
    const long rssBefore = StatusKb("VmRSS:");

    std::printf("rows      us/row(amortised)  us/update(median)\n");
    int next = 0;
    double addNs = 0;
    int checkpoint = 0;
    const int checkpoints[] = {20000, 100000, 1000000};
    while (next < total) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < burst && next < total; ++i)
            PostLogRow(&tabs, rowType, MakeRow(next++, rowType));
        QCoreApplication::processEvents(); // rows, one insertion, one paint
        addNs += static_cast<double>(timer.nsecsElapsed());
        if (checkpoint < 3 && next >= checkpoints[checkpoint]) {
            const int rows = next;
            const double update = UpdateMicroseconds(tabs, list, rowType, next);
            std::printf("%-9d %-18.2f %.1f\n", rows, addNs / 1000.0 / rows, update);
            ++checkpoint;
        }
    }
    QCoreApplication::sendPostedEvents();
    const long peak = StatusKb("VmHWM:");
    const auto rows = static_cast<double>(list.model()->rowCount());
    std::printf("rows shown: %.0f\n", rows);
    std::printf("peak memory above the empty list: %.1f bytes/row (row store %.1f bytes/row)\n",
                static_cast<double>(peak - rssBefore) * 1024.0 / rows,
                static_cast<double>(list.Model().Store().ReservedBytes()) / rows);
    return 0;
}
