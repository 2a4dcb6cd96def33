#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "LinePacer.h"

namespace {

using Clock = CLinePacer::Clock;
using std::chrono::nanoseconds;
using namespace std::chrono_literals;

constexpr double kNsPerByte = 1e10 / 115200; // 10 bits a byte at 115200 baud

const Clock::time_point kStart = Clock::time_point(1000s);

nanoseconds LineTime(double bytes, double speedup)
{
    return nanoseconds(std::llround(bytes * kNsPerByte / speedup));
}

// When the last reply arrived at a host answering at once, each wake-up of the pacer `late`.
Clock::time_point RunExchanges(CLinePacer& pacer, int lines, size_t bytes, nanoseconds late)
{
    Clock::time_point now = kStart;
    for (int i = 0; i < lines; ++i) {
        const Clock::time_point wakeAt = pacer.Book(bytes, now);
        now = wakeAt + late;
        pacer.Woke(wakeAt, now);
    }
    return now;
}

TEST(LinePacer, BackToBackLinesKeepTheExactByteRateAPauseIsNotCreditedAndFastNeverWaits)
{
    // However each line's time rounds, the 1000th leaves when 17,000 bytes would.
    for (const double speedup : {1.0, 7.3}) {
        CLinePacer pacer(speedup);
        Clock::time_point wakeAt;
        for (int i = 0; i < 1000; ++i)
            wakeAt = pacer.Book(17, kStart);
        EXPECT_EQ(wakeAt, kStart + LineTime(17000, speedup)) << speedup;
    }

    CLinePacer idle(1.0);
    idle.Book(10, kStart);
    const Clock::time_point later = kStart + 1s; // the line is idle: the pause is not credited
    EXPECT_EQ(idle.Book(10, later), later + LineTime(10, 1.0));
    EXPECT_EQ(idle.Book(5, later + 100us), later + LineTime(15, 1.0)); // queues behind the last

    CLinePacer fast(0.0);
    fast.Book(100, kStart);
    EXPECT_EQ(fast.Book(100, kStart), kStart);
}

TEST(LinePacer, LateWakeUpsAreMadeUpOnAverageWithinACappedLead)
{
    // A pacer that just slept each line's time would need 1000 x (line + 40 us).
    const auto late = 40us;
    for (const double speedup : {1.0, 10.0}) {
        CLinePacer pacer(speedup);
        const nanoseconds used = RunExchanges(pacer, 1000, 15, late) - kStart;
        const nanoseconds ideal = 1000 * LineTime(15, speedup);
        EXPECT_GE(used, ideal - 1us) << speedup;       // each line's time rounds to whole ns
        EXPECT_LT(used, ideal + 10 * late) << speedup; // only lines before the lateness is learned lose
        EXPECT_LT(std::chrono::abs(pacer.Lead() - late), 1us) << speedup;
    }

    // Wake-ups 5 ms late (a loaded machine): the lead is capped.
    CLinePacer loaded(10.0);
    RunExchanges(loaded, 200, 12, 5ms);
    EXPECT_LE(loaded.Lead(), CLinePacer::kMaxLead);
    EXPECT_GT(loaded.Lead(), CLinePacer::kMaxLead / 2);
}

} // namespace
