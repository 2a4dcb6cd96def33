// How many events the 64-record ring refuses when the Tester reports at full
// line rate and the UI thread drains the ring only every so often. The Tester
// is simulated at 115200 baud (10 bits a byte, both directions share the
// time), answering every poll with a report. Prints one row per drain interval.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <string>
#include <thread>

#include "AbsentTesterDevice.h"
#include "BenchArguments.h"
#include "TamrixTesterHandlers.h"
#include "TesterLink.h"

namespace {

using Clock = std::chrono::steady_clock;

// A Tester that always has something to report, paced like the real line.
class CPacedTester : public CAbsentTesterDevice {
  public:
    bool CreateDeviceInfoList(uint32_t& count) override { return (count = 1), true; }
    bool GetDeviceDescription(uint32_t, std::string& description) override
    {
        description = "TAMRIX TESTER";
        return true;
    }
    bool Open(uint32_t) override { return true; }

    bool Write(uint8_t byte, uint32_t& transferred) override
    {
        Spend();
        const std::string reply = Reply(static_cast<char>(byte));
        m_pending.insert(m_pending.end(), reply.begin(), reply.end());
        transferred = 1;
        return true;
    }

    bool Read(uint8_t& byte, uint32_t& transferred) override
    {
        transferred = 0;
        if (m_pending.empty())
            return true;
        Spend();
        byte = static_cast<uint8_t>(m_pending.front());
        m_pending.pop_front();
        transferred = 1;
        return true;
    }

  private:
    static constexpr auto kByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / 115200);

    // Each byte takes its time on the line; the schedule absorbs sleep overshoot.
    void Spend()
    {
        m_next = std::max(m_next, Clock::now() - std::chrono::milliseconds(1)) + kByteTime;
        std::this_thread::sleep_until(m_next);
    }

    std::string Reply(char poll)
    {
        const std::string n = std::to_string(++m_number);
        switch (poll) {
        case 't':
            return "#t," + n + ",80,0,0\r\n";
        case 'c':
            return "#c," + n + ",80\r\n";
        case 'b':
            return "#b," + n + ",90,37,64\r\n";
        case 'n':
            return "#n,17\r\n";
        case 'x':
            return "#x,100675641,CC-12345,75,0\r\n";
        case 'v':
            return "#v,2.5\r\n";
        default:
            return "#no \r\n";
        }
    }

    std::deque<char> m_pending;
    Clock::time_point m_next = Clock::now();
    unsigned m_number = 0;
};

class CCountingHandlers : public CTamrixTesterHandlers {
  public:
    void OnTransponder(uint32_t, uint32_t, bool, unsigned) override { ++m_events; }
    void OnQ9Transponder(uint32_t, uint32_t) override { ++m_events; }
    void OnBeacon(uint32_t, uint32_t, double, int32_t) override { ++m_events; }
    void OnLoopLevel(unsigned) override { ++m_events; }
    void OnMindletTransponder(uint32_t, uint32_t, bool) override { ++m_events; }
    uint64_t m_events = 0;
};

void Run(std::chrono::milliseconds drainEvery, std::chrono::seconds duration)
{
    CPacedTester tester;
    CTesterLink link(tester, [] {});
    CCountingHandlers handlers;
    link.Start();
    const auto end = Clock::now() + duration;
    while (Clock::now() < end) {
        std::this_thread::sleep_for(drainEvery);
        link.DeliverEvents(handlers);
    }
    link.Stop();
    const double seconds = std::chrono::duration<double>(duration).count();
    std::printf("%8lld ms %12.0f %12.0f %10.1f%%\n", static_cast<long long>(drainEvery.count()),
                handlers.m_events / seconds, link.RefusedEvents() / seconds,
                100.0 * link.RefusedEvents() /
                    std::max<uint64_t>(1, handlers.m_events + link.RefusedEvents()));
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> none;
    int exitCode = 0;
    if (!ReadCountArguments(argc, argv, "bench_event_ring_load", 0, none, exitCode))
        return exitCode;
    std::printf("%11s %12s %12s %11s\n", "drain every", "delivered/s", "refused/s", "refused");
    for (int ms : {5, 50, 100, 120, 150, 200, 500})
        Run(std::chrono::milliseconds(ms), std::chrono::seconds(3));
    return 0;
}
