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

// A host answering each reply at once, every wake-up of the pacer `late`:
// when the last of `lines` replies of `bytes` each arrived.
Clock::time_point RunExchanges(CLinePacer& pacer, int lines, size_t bytes, nanoseconds late)
{
    Clock::time_point now = kStart;
    for (int i = 0; i < lines; ++i) {
        const Clock::time_point wakeAt = pacer.Book(bytes, now);
        EXPECT_GE(wakeAt, now);
        EXPECT_GE(wakeAt, pacer.LineFreeAt() - CLinePacer::kMaxLead);
        now = wakeAt + late;
        pacer.Woke(wakeAt, now);
    }
    return now;
}

TEST(LinePacer, BackToBackLinesKeepTheExactByteRateAPauseIsNotCreditedAndFastNeverWaits)
{
    // Lines written at once queue behind each other; the 1000th leaves exactly
    // when 17,000 bytes take at the paced rate, however each line's time rounds.
    for (const double speedup : {1.0, 3.0, 10.0, 7.3}) {
        CLinePacer pacer(speedup);
        Clock::time_point wakeAt;
        for (int i = 0; i < 1000; ++i)
            wakeAt = pacer.Book(17, kStart);
        EXPECT_EQ(pacer.LineFreeAt(), kStart + LineTime(17000, speedup)) << speedup;
        EXPECT_EQ(wakeAt, pacer.LineFreeAt()) << "no wake-up measured yet, so no lead";
    }

    CLinePacer idle(1.0);
    EXPECT_EQ(idle.Book(10, kStart), kStart + LineTime(10, 1.0));
    // A second later the line is idle: a pause is not credited.
    const Clock::time_point later = kStart + 1s;
    EXPECT_EQ(idle.Book(10, later), later + LineTime(10, 1.0));
    // Booked while that one is still going out: it queues behind it.
    EXPECT_EQ(idle.Book(5, later + 100us), later + LineTime(15, 1.0));

    // "fast" (no speed-up, or a negative one): no wait at all.
    for (const double speedup : {0.0, -1.0}) {
        CLinePacer fast(speedup);
        EXPECT_EQ(fast.Book(100, kStart), kStart);
        EXPECT_EQ(fast.Book(100, kStart), kStart);
    }
}

TEST(LinePacer, LateWakeUpsAreMadeUpOnAverageWithinACappedLead)
{
    // A pacer that just slept each line's time would need 1000 x (line + 40 us).
    const auto late = 40us;
    for (const double speedup : {1.0, 10.0}) {
        CLinePacer pacer(speedup);
        const Clock::time_point end = RunExchanges(pacer, 1000, 15, late);
        const nanoseconds ideal = 1000 * LineTime(15, speedup);
        const nanoseconds used = end - kStart;
        EXPECT_GE(used, ideal - 1us) << speedup; // each line's time rounds to whole ns
        // Only the first few lines, before the lateness is learned, lose time.
        EXPECT_LT(used, ideal + 10 * late) << speedup;
        EXPECT_LT(std::chrono::abs(pacer.Lead() - late), 1us) << speedup;
    }

    // Wake-ups 5 ms late (a loaded machine): the lead is capped.
    CLinePacer loaded(10.0);
    RunExchanges(loaded, 200, 12, 5ms);
    EXPECT_LE(loaded.Lead(), CLinePacer::kMaxLead);
    EXPECT_GT(loaded.Lead(), CLinePacer::kMaxLead / 2);

    // A wake-up that came early teaches no negative lead.
    CLinePacer early(1.0);
    const Clock::time_point wakeAt = early.Book(10, kStart);
    early.Woke(wakeAt, wakeAt - 50us);
    EXPECT_EQ(early.Lead(), Clock::duration::zero());
}

} // namespace
