// bench_loop_emulator [messages...]: generates LoopEmulator.xml files with the
// given numbers of messages (default 100000 and 200000, about 10 and 20 MB),
// then for each measures, in a fresh child process so that peak memory is its
// own: CCanMessages::Load, and CXmlDocument::LoadFile plus a walk reading
// every element's name, attribute and text. Best of three runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "BenchArguments.h"
#include "CanMessages.h"
#include "XmlDocument.h"

namespace {

constexpr int kMessagesPerSequence = 100;
constexpr int kRuns = 3;

std::string Generate(int messages)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("q9-bench-" + std::to_string(messages) + ".xml")).string();
    std::ofstream out(path, std::ios::binary);
    char line[256];
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<loopemulator>\n";
    for (int m = 0; m < messages; ++m) {
        if (m % kMessagesPerSequence == 0)
            out << (m ? "</messagesequence>\n" : "") << "<messagesequence name=\"Sequence "
                << m / kMessagesPerSequence << "\"><tbm>1.5</tbm>\n";
        std::snprintf(line, sizeof(line),
                      "<canmessage name=\"M%06d\"><twowayid>%d</twowayid><canid>%X</canid>"
                      "<data>%02X</data></canmessage>\n",
                      m, 1 + m % 63, 1 + m % 0xFFFF, m & 0xFF);
        out << line;
    }
    out << "</messagesequence>\n</loopemulator>\n";
    return path;
}

size_t WalkAll(CXmlDocument& document)
{
    size_t visited = 0;
    if (!document.FindElement())
        return 0;
    while (true) {
        visited += document.GetElementName().size() + document.GetAttribute("name").size() +
                   document.GetText().size();
        document.EnterElement();
        if (document.FindElement())
            continue;
        document.LeaveElement();
        while (!document.FindElement()) {
            if (!document.LeaveElement())
                return visited;
        }
    }
}

struct Figures {
    double bestSeconds = 0; // wall time of the best run
    double cpuSeconds = 0;  // processor time per run, less disturbed by a busy machine
    double peakMiB = 0;
};

// Runs `work` in a child process, kRuns times.
bool Measure(const std::function<bool()>& work, Figures& figures)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        double best = 1e9;
        for (int run = 0; run < kRuns; ++run) {
            const auto start = std::chrono::steady_clock::now();
            if (!work())
                _exit(1);
            best = std::min(best,
                            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        const bool written = write(fds[1], &best, sizeof(best)) == static_cast<ssize_t>(sizeof(best));
        _exit(written ? 0 : 1);
    }
    close(fds[1]);
    const bool readOk =
        read(fds[0], &figures.bestSeconds, sizeof(double)) == static_cast<ssize_t>(sizeof(double));
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    figures.cpuSeconds = (seconds(usage.ru_utime) + seconds(usage.ru_stime)) / kRuns;
    figures.peakMiB = usage.ru_maxrss / 1024.0;
    return readOk && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    int exitCode = 0;
    if (!ReadCountArguments(argc, argv, "bench_loop_emulator [messages...]", 8, sizes, exitCode))
        return exitCode;
    if (sizes.empty())
        sizes = {100000, 200000};
    std::printf("%-9s %-6s | %-30s | %-30s\n", "messages", "MB", "CCanMessages::Load",
                "CXmlDocument load+walk");
    std::printf("%-9s %-6s | %-30s | %-30s\n", "", "", "best s / cpu s / peak MiB",
                "best s / cpu s / peak MiB");
    for (int messages : sizes) {
        const std::string path = Generate(messages);
        const double megabytes = std::filesystem::file_size(path) / 1e6;
        Figures load;
        Figures walk;
        const bool loaded = Measure(
            [&] {
                CCanMessages can;
                return can.Load(path) &&
                       can.GetSequenceCount() == (messages + kMessagesPerSequence - 1) / kMessagesPerSequence;
            },
            load);
        const bool walked = Measure(
            [&] {
                CXmlDocument document;
                return document.LoadFile(path) && WalkAll(document) > 0;
            },
            walk);
        std::filesystem::remove(path);
        if (!loaded || !walked) {
            std::fprintf(stderr, "loading %d messages failed\n", messages);
            return 1;
        }
        std::printf("%-9d %-6.1f | %6.3f / %6.3f / %-12.1f | %6.3f / %6.3f / %-12.1f\n", messages, megabytes,
                    load.bestSeconds, load.cpuSeconds, load.peakMiB, walk.bestSeconds, walk.cpuSeconds,
                    walk.peakMiB);
    }
    return 0;
}
