#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

// The timing of the Tester's paced line: when the bytes written so far would
// have left a 115200-baud 8N1 line (10 bits a byte, about 87 us) sped up
// `speedup` times, and when to wake so that they reach the host just then.
//
// The line is busy from the first byte booked while it was idle until the
// last booked byte has gone; every booking in that stretch is timed from its
// start, so neither rounding nor a late wake-up adds up over a run of lines.
// A line that finds the line idle starts at `now`, never earlier: a pause
// in the host's traffic is not credited to later replies.
//
// Wake-ups come late by the timer's slack and the scheduler's delay. The
// average lateness of recent wake-ups is taken off the next wake time so
// replies arrive on time on average; it is capped, so the line is never
// more than `kMaxLead` ahead of the paced rate (a reply that came out early
// leaves the line busy, and the next one queues behind it).
//
// Time is passed in, so the arithmetic is testable without a clock.
class CLinePacer {
  public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::microseconds kMaxLead{100};

    // 1 is the Tester's own rate; 0 (or less) means no pacing at all.
    explicit CLinePacer(double speedup);

    // Books `bytes` at `now` and returns when to hand them to the host:
    // the time they would have left the line, less the expected lateness,
    // and never before `now`.
    Clock::time_point Book(size_t bytes, Clock::time_point now);

    // Tells how a wake-up planned for `planned` actually came at `woke`.
    void Woke(Clock::time_point planned, Clock::time_point woke);

    // When everything booked so far has left the line.
    Clock::time_point LineFreeAt() const;
    Clock::duration Lead() const { return m_lead; }

  private:
    double m_nsPerByte;
    Clock::time_point m_busySince{};
    uint64_t m_busyBytes = 0;
    Clock::duration m_lead{0};
};
