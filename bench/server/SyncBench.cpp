// What a synchronisation costs the UI thread: the records of a complete
// transfer from ividiv-sim replace the translation list and its lookup index
// (the work of the transponder callback), for 100,000 and 1,000,000 records;
// and the heap the list holds per record.
//   bench_server_sync [records ...]     (default 100000 1000000)
// The transfer itself runs in the library's pump between callbacks and is
// not timed here.

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "BenchArguments.h"
#include "IvidivSimProcess.h"
#include "TamrixSDK.h"
#include "TranslationList.h"
#include "TranslationSync.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRuns = 5;

void OnTransponder(ptc_handle_t, uint32_t event, uint32_t, uint32_t, void* context)
{
    *static_cast<bool*>(context) = event == PTC_TRANSPONDER_COMPLETE;
}

void OnState(ptc_handle_t, int32_t state, void*)
{
    if (state == PTC_STATE_FAILED || state == PTC_STATE_REJECTED)
        std::fprintf(stderr, "synchronisation failed, state %d\n", state);
}

size_t HeapInUse()
{
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd; // large blocks are mapped apart
}

// Downloads `records` generated records; false when the transfer failed.
bool Download(hub_sdk_handle_t hub, ptc_handle_t handle, bool& complete)
{
    ptc_notify_connectionstate(handle, OnState);
    ptc_notify_transponder(handle, OnTransponder);
    ptc_objectdata_subscribe(handle, PTC_OBJECTDATA_TRANSPONDER);
    ptc_connect(handle, "127.0.0.1", CIvidivSimProcess::kUser, CIvidivSimProcess::kPassword,
                PTC_CONNECT_VERIFY);
    const auto deadline = Clock::now() + std::chrono::minutes(5);
    while (!complete && Clock::now() < deadline) {
        hub_sdk_messagequeue_process(hub, 0, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return complete;
}

void Measure(uint32_t records)
{
    CIvidivSimProcess server({"--generate", std::to_string(records)});
    server.UseForLibrary();
    const hub_sdk_handle_t hub = hub_sdk_alloc("Q9 Tester", 0);
    bool complete = false;
    const ptc_handle_t handle = ptc_handle_alloc(hub, &complete);
    if (server.Port() == 0 || !Download(hub, handle, complete)) {
        std::printf("%u records: transfer failed\n", records);
        hub_sdk_dealloc(hub);
        return;
    }
    ptc_disconnect(handle);

    CTranslationList list;
    const size_t heapBefore = HeapInUse();
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        // The first run fills an empty list, as the first synchronisation
        // of a run does; the others replace a full one.
        const auto start = Clock::now();
        ReplaceTranslations(handle, list);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const double bytes = static_cast<double>(HeapInUse() - heapBefore) / list.GetCount();
    const double first = ms.front();
    std::sort(ms.begin() + 1, ms.end());
    std::printf("%u records: into an empty list %.1f ms, replacing a full one %.1f ms (median of %d); "
                "%.1f heap bytes per record\n",
                records, first, ms[1 + (kRuns - 1) / 2], kRuns - 1, bytes);
    hub_sdk_dealloc(hub);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> counts;
    int exitCode = 0;
    if (!ReadCountArguments(argc, argv, "bench_server_sync [records ...]", 8, counts, exitCode))
        return exitCode;
    if (counts.empty())
        counts = {100000, 1000000};
    for (const int records : counts)
        Measure(static_cast<uint32_t>(records));
    return 0;
}
