#include <gtest/gtest.h>

#include "UsbBridge.h"

using namespace std::chrono_literals;

TEST(UsbBridge, ShortRepliesWaitForTheLatencyTimerFullPacketsGoAtOnceAndRestartIt)
{
    const CUsbBridge::Clock::time_point t0{};
    CUsbBridge bridge(16ms, t0);
    // A short reply waits for the next expiry, every 16 ms from the last packet sent.
    EXPECT_EQ(bridge.Deliver(24, t0 + 3ms), t0 + 16ms);
    EXPECT_EQ(bridge.Deliver(24, t0 + 17ms), t0 + 32ms);
    EXPECT_EQ(bridge.Deliver(24, t0 + 80ms), t0 + 80ms);
    // A full packet goes at once and restarts the timer: the rest waits a whole period.
    EXPECT_EQ(bridge.Deliver(CUsbBridge::kPacketPayload, t0 + 85ms), t0 + 85ms);
    EXPECT_EQ(bridge.Deliver(10, t0 + 86ms), t0 + 101ms);
    EXPECT_EQ(bridge.Deliver(70, t0 + 110ms), t0 + 126ms);
}
