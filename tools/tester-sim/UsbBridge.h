#pragma once

#include <chrono>
#include <cstddef>

// The Tester's FTDI USB bridge as the host sees it. The bridge passes bytes
// to the host in packets of 62: a reply that fills its packets goes at once,
// a shorter rest waits in the bridge until its latency timer runs out. The
// timer restarts whenever the bridge sends, and with nothing to send it still
// sends an empty packet at each expiry, so it ticks every `latency` from the
// last packet sent. At 16 ms (the Linux default) a poll and its short reply
// therefore take up to a tick each; at 1 ms the line's own pace shows.
//
// Time is passed in, so the arithmetic is testable without a clock.
class CUsbBridge {
  public:
    using Clock = std::chrono::steady_clock;

    static constexpr size_t kPacketPayload = 62;

    CUsbBridge(std::chrono::milliseconds latency, Clock::time_point start);

    // `bytes` of one reply reached the bridge at `arrived`: when its last
    // byte reaches the host.
    Clock::time_point Deliver(size_t bytes, Clock::time_point arrived);

  private:
    Clock::duration m_latency;
    Clock::time_point m_lastSent;
};
