#include "UsbBridge.h"

CUsbBridge::CUsbBridge(std::chrono::milliseconds latency, Clock::time_point start)
    : m_latency(latency), m_lastSent(start)
{
}

CUsbBridge::Clock::time_point CUsbBridge::Deliver(size_t bytes, Clock::time_point arrived)
{
    if (bytes >= kPacketPayload) {
        m_lastSent = arrived; // the full packets go at once and restart the timer
    }
    if (bytes % kPacketPayload == 0) {
        return arrived;
    }
    // The rest goes with the first expiry that finds it in the bridge.
    Clock::time_point expiry = m_lastSent + m_latency;
    if (expiry < arrived) {
        expiry += ((arrived - expiry + m_latency - Clock::duration(1)) / m_latency) * m_latency;
    }
    m_lastSent = expiry;
    return expiry;
}
