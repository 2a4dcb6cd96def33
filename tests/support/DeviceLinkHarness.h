#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <pthread.h>
#include <string>
#include <vector>

#include "Ftd2xxDevice.h"
#include "TamrixTesterHandlers.h"
#include "TesterLink.h"

// The real device layer, counting the reader thread's calls so that a test
// can tell a waiting reader from a spinning one.
class CountingDevice : public CFtd2xxDevice {
  public:
    using CFtd2xxDevice::CFtd2xxDevice;

    bool Read(uint8_t& byte, uint32_t& transferred) override
    {
        ++reads;
        const bool ok = CFtd2xxDevice::Read(byte, transferred);
        if (ok && transferred == 1 && byte == '\n') {
            ++lineFeeds;
        }
        return ok;
    }
    bool Open(uint32_t index) override
    {
        const bool opened = CFtd2xxDevice::Open(index);
        if (opened) {
            openedPath = DevicePath(index);
            clockid_t clock{};
            if (::pthread_getcpuclockid(::pthread_self(), &clock) == 0) {
                readerClock = clock;
            }
            ++opens;
        }
        return opened;
    }

    std::atomic<uint64_t> reads{0};
    std::atomic<uint64_t> lineFeeds{0}; // reply lines received
    std::atomic<uint64_t> opens{0};
    // CPU clock of the reader thread that opened the device last.
    std::atomic<clockid_t> readerClock{};
    std::string openedPath; // reader thread writes, read only after Stop
};

// One handler call as the test saw it.
struct SeenEvent {
    std::string what; // the handler's name without "On"
    uint32_t number = 0;
    uint32_t rssi = 0;
    uint32_t canId = 0;
    int32_t code = 0;
    unsigned a = 0, b = 0, c = 0;
    double x = 0, y = 0;
    std::vector<uint8_t> data;
    std::chrono::steady_clock::time_point when;
};

// Records every event on the test's thread and, like the main dialog,
// restarts the link when it is lost, timing each Stop.
class EventRecorder : public CTamrixTesterHandlers {
  public:
    explicit EventRecorder(CTesterLink& link) : m_link(link) {}

    void OnTransponder(uint32_t number, uint32_t rssi, bool lowBattery, unsigned driverNumber) override;
    void OnQ9Transponder(uint32_t number, uint32_t rssi) override;
    void OnMindletTransponder(uint32_t number, uint32_t rssi, bool lowBattery) override;
    void OnBeacon(uint32_t number, uint32_t rssi, double batteryVolts, int32_t temperature) override;
    void OnDiagnostics(uint32_t number, unsigned noise, double batteryVolts, uint32_t batteryPercent,
                       uint32_t remainingMinutes, double externalVolts, unsigned temperature,
                       unsigned firmwareMajor, unsigned firmwareMinor) override;
    void OnTransmitResult(int32_t result) override;
    void OnCanReceived(int32_t origin, uint32_t twoWayId, uint32_t canId, unsigned length,
                       const uint8_t* data) override;
    void OnListeningChanged(int32_t state) override;
    void OnSpecialDevice(int32_t what, uint32_t number, uint32_t rssi, unsigned flag, unsigned kind,
                         double value) override;
    void OnFirmwareVersion(bool known, unsigned major, unsigned minor) override;
    void OnDisconnected() override;
    void OnConnected() override;
    void OnLoopLevel(unsigned level) override;

    const std::vector<SeenEvent>& Events() const { return m_events; }
    size_t Count(const std::string& what) const;
    // Index of the first event `what` at or after `from`; -1 when none.
    long Find(const std::string& what, size_t from = 0) const;
    std::chrono::milliseconds LongestStop() const { return m_longestStop; }

  private:
    SeenEvent& Add(const std::string& what);

    CTesterLink& m_link;
    std::vector<SeenEvent> m_events;
    std::chrono::milliseconds m_longestStop{0};
};

// The link on the real device layer, with a private runtime folder and an
// empty sysfs (so a Tester on this machine's USB stays out of the test), and
// a pump that delivers events on the test's thread as the UI thread would.
class LinkHarness {
  public:
    explicit LinkHarness(const std::string& runtimeDir, const std::string& sysfsRoot);
    ~LinkHarness();

    CTesterLink& Link() { return m_link; }
    CountingDevice& Device() { return m_device; }
    EventRecorder& Recorder() { return m_recorder; }

    // Delivers events until `done` holds (true) or `timeout` passes (false).
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Delivers events for `duration`.
    void PumpFor(std::chrono::milliseconds duration);

  private:
    void Notify();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_woken = false;
    CountingDevice m_device;
    CTesterLink m_link;
    EventRecorder m_recorder;
};
