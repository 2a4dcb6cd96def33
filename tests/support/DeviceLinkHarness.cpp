#include "DeviceLinkHarness.h"

using Clock = std::chrono::steady_clock;

bool CCountingDevice::Read(uint8_t& byte, uint32_t& transferred)
{
    ++m_reads;
    const bool ok = CFtd2xxDevice::Read(byte, transferred);
    if (ok && transferred == 1 && byte == '\n')
        ++m_lineFeeds;
    return ok;
}

bool CCountingDevice::Open(uint32_t index)
{
    const bool opened = CFtd2xxDevice::Open(index);
    clockid_t clock{};
    if (opened && ::pthread_getcpuclockid(::pthread_self(), &clock) == 0)
        m_readerClock = clock;
    return opened;
}

void CRestartingRecorder::OnDisconnected()
{
    CRecordingHandlers::OnDisconnected();
    m_link.Stop();
    m_link.Start();
}

CDeviceLinkHarness::CDeviceLinkHarness(const std::string& runtimeDir, const std::string& sysfsRoot)
    : m_device(sysfsRoot, runtimeDir), m_link(m_device, [this] { Notify(); }), m_recorder(m_link)
{
}

CDeviceLinkHarness::~CDeviceLinkHarness()
{
    m_link.Stop();
}

void CDeviceLinkHarness::Notify()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_woken = true;
    }
    m_wake.notify_one();
}

bool CDeviceLinkHarness::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        m_link.DeliverEvents(m_recorder);
        if (done())
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_woken; });
        m_woken = false;
    }
}

void CDeviceLinkHarness::PumpFor(std::chrono::milliseconds duration)
{
    PumpUntil([] { return false; }, duration);
}
