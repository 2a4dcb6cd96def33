// Synchronises N generated transponders from ividiv-sim over TLS on loopback
// and prints the wall time, the longest single pump call (it runs on the
// user-interface thread) and the client's memory against the records' size.
// Usage: bench_tamrixsdk_sync [records...] [--pump-ms N] (default 100000
// 1000000, pumping every 1 ms; the program pumps every 100 ms).
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "IvidivSimProcess.h"
#include "TamrixSDK.h"

namespace {

using clock_type = std::chrono::steady_clock;

struct outcome_t {
    bool done = false;
    bool failed = false;
};

void OnState(ptc_handle_t, int32_t state, void* context)
{
    static_cast<outcome_t*>(context)->failed |= state == PTC_STATE_FAILED || state == PTC_STATE_REJECTED;
}
void OnTransponder(ptc_handle_t, uint32_t event, uint32_t, uint32_t, void* context)
{
    static_cast<outcome_t*>(context)->done |= event == PTC_TRANSPONDER_COMPLETE;
}

// CPU time of the calling thread: on a loaded machine a pump call's wall
// time includes the time it waited for a core.
double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// A line of /proc/self/status in KiB.
long StatusKib(const char* key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::atol(line.c_str() + std::strlen(key) + 1);
        }
    }
    return -1;
}

bool Run(uint32_t count, int pumpMs)
{
    CIvidivSimProcess sim({"--generate", std::to_string(count)});
    if (sim.Port() == 0) {
        std::fprintf(stderr, "ividiv-sim did not start\n");
        return false;
    }
    sim.UseForLibrary();
    const long rssBefore = StatusKib("VmRSS:");
    outcome_t outcome;
    const hub_sdk_handle_t hub = hub_sdk_alloc("Q9 Tester", 0);
    const ptc_handle_t handle = ptc_handle_alloc(hub, &outcome);
    ptc_notify_connectionstate(handle, OnState);
    ptc_notify_transponder(handle, OnTransponder);
    ptc_objectdata_subscribe(handle, PTC_OBJECTDATA_TRANSPONDER);

    const auto start = clock_type::now();
    ptc_connect(handle, "127.0.0.1", CIvidivSimProcess::kUser, CIvidivSimProcess::kPassword, 1);
    clock_type::duration longest{};
    double longestCpuMs = 0;
    while (!outcome.done && !outcome.failed) {
        const auto before = clock_type::now();
        const double cpuBefore = ThreadCpuMs();
        hub_sdk_messagequeue_process(hub, 0, 0, 0);
        longest = std::max(longest, clock_type::now() - before);
        longestCpuMs = std::max(longestCpuMs, ThreadCpuMs() - cpuBefore);
        std::this_thread::sleep_for(std::chrono::milliseconds(pumpMs));
    }
    const auto wall = clock_type::now() - start;
    size_t records = 0;
    size_t bytes = 0;
    for (auto* r = ptc_transponder_get_head(handle); r != nullptr; r = ptc_transponder_get_next(handle)) {
        ++records;
        bytes += r->record_size;
    }
    const long peak = StatusKib("VmHWM:");
    ptc_disconnect(handle);
    hub_sdk_dealloc(hub);

    using std::chrono::duration;
    std::printf("%9u records%s: wall %.3f s, longest pump %.2f ms (CPU %.2f ms), client memory %.1f MiB for "
                "%.1f MiB of records (%.2fx)\n",
                count, outcome.failed ? " FAILED" : "", duration<double>(wall).count(),
                duration<double, std::milli>(longest).count(), longestCpuMs, (peak - rssBefore) / 1024.0,
                bytes / 1048576.0, (peak - rssBefore) * 1024.0 / static_cast<double>(bytes ? bytes : 1));
    return !outcome.failed && records == count;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<uint32_t> counts;
    int pumpMs = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pump-ms") == 0 && i + 1 < argc) {
            pumpMs = std::atoi(argv[++i]);
        } else {
            counts.push_back(static_cast<uint32_t>(std::strtoul(argv[i], nullptr, 10)));
        }
    }
    if (counts.empty()) {
        counts = {100000, 1000000};
    }
    bool ok = true;
    for (const uint32_t count : counts) {
        ok = Run(count, pumpMs) && ok;
    }
    return ok ? 0 : 1;
}
