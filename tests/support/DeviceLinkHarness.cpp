#include "DeviceLinkHarness.h"

using Clock = std::chrono::steady_clock;

SeenEvent& EventRecorder::Add(const std::string& what)
{
    SeenEvent event;
    event.what = what;
    event.when = Clock::now();
    m_events.push_back(event);
    return m_events.back();
}

void EventRecorder::OnTransponder(uint32_t number, uint32_t rssi, bool lowBattery, unsigned driverNumber)
{
    SeenEvent& e = Add("Transponder");
    e.number = number;
    e.rssi = rssi;
    e.a = lowBattery;
    e.b = driverNumber;
}

void EventRecorder::OnQ9Transponder(uint32_t number, uint32_t rssi)
{
    SeenEvent& e = Add("Q9Transponder");
    e.number = number;
    e.rssi = rssi;
}

void EventRecorder::OnMindletTransponder(uint32_t number, uint32_t rssi, bool lowBattery)
{
    SeenEvent& e = Add("MindletTransponder");
    e.number = number;
    e.rssi = rssi;
    e.a = lowBattery;
}

void EventRecorder::OnBeacon(uint32_t number, uint32_t rssi, double batteryVolts, int32_t temperature)
{
    SeenEvent& e = Add("Beacon");
    e.number = number;
    e.rssi = rssi;
    e.x = batteryVolts;
    e.code = temperature;
}

void EventRecorder::OnDiagnostics(uint32_t number, unsigned noise, double batteryVolts,
                                  uint32_t batteryPercent, uint32_t remainingMinutes, double externalVolts,
                                  unsigned temperature, unsigned firmwareMajor, unsigned firmwareMinor)
{
    SeenEvent& e = Add("Diagnostics");
    e.number = number;
    e.rssi = noise;
    e.x = batteryVolts;
    e.y = externalVolts;
    e.a = batteryPercent;
    e.b = remainingMinutes;
    e.c = temperature;
    e.data = {static_cast<uint8_t>(firmwareMajor), static_cast<uint8_t>(firmwareMinor)};
}

void EventRecorder::OnTransmitResult(int32_t result)
{
    Add("TransmitResult").code = result;
}

void EventRecorder::OnCanReceived(int32_t origin, uint32_t twoWayId, uint32_t canId, unsigned length,
                                  const uint8_t* data)
{
    SeenEvent& e = Add("CanReceived");
    e.code = origin;
    e.number = twoWayId;
    e.canId = canId;
    e.a = length;
    e.data.assign(data, data + 8);
}

void EventRecorder::OnListeningChanged(int32_t state)
{
    Add("ListeningChanged").code = state;
}

void EventRecorder::OnSpecialDevice(int32_t what, uint32_t number, uint32_t rssi, unsigned flag,
                                    unsigned kind, double value)
{
    SeenEvent& e = Add("SpecialDevice");
    e.code = what;
    e.number = number;
    e.rssi = rssi;
    e.a = flag;
    e.b = kind;
    e.x = value;
}

void EventRecorder::OnFirmwareVersion(bool known, unsigned major, unsigned minor)
{
    SeenEvent& e = Add("FirmwareVersion");
    e.code = known;
    e.a = major;
    e.b = minor;
}

void EventRecorder::OnDisconnected()
{
    Add("Disconnected");
    const auto start = Clock::now();
    m_link.Stop();
    m_longestStop =
        std::max(m_longestStop, std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start));
    m_link.Start();
}

void EventRecorder::OnConnected()
{
    Add("Connected");
}

void EventRecorder::OnLoopLevel(unsigned level)
{
    Add("LoopLevel").a = level;
}

size_t EventRecorder::Count(const std::string& what) const
{
    size_t count = 0;
    for (const SeenEvent& event : m_events) {
        count += event.what == what;
    }
    return count;
}

long EventRecorder::Find(const std::string& what, size_t from) const
{
    for (size_t i = from; i < m_events.size(); ++i) {
        if (m_events[i].what == what) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

LinkHarness::LinkHarness(const std::string& runtimeDir, const std::string& sysfsRoot)
    : m_device(sysfsRoot, runtimeDir), m_link(m_device, [this] { Notify(); }), m_recorder(m_link)
{
}

LinkHarness::~LinkHarness()
{
    m_link.Stop();
}

void LinkHarness::Notify()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_woken = true;
    }
    m_wake.notify_one();
}

bool LinkHarness::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        m_link.DeliverEvents(m_recorder);
        if (done()) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::unique_lock<std::mutex> lock(m_mutex);
        m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_woken; });
        m_woken = false;
    }
}

void LinkHarness::PumpFor(std::chrono::milliseconds duration)
{
    PumpUntil([] { return false; }, duration);
}
