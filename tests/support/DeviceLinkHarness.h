#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <pthread.h>
#include <string>

#include "Ftd2xxDevice.h"
#include "RecordingHandlers.h"
#include "TesterLink.h"

// The real device layer, counting the reader thread's calls so that a test
// can tell a waiting reader from a spinning one.
class CCountingDevice : public CFtd2xxDevice {
  public:
    using CFtd2xxDevice::CFtd2xxDevice;

    bool Read(uint8_t& byte, uint32_t& transferred) override;
    bool Open(uint32_t index) override;

    std::atomic<uint64_t> m_reads{0};
    std::atomic<uint64_t> m_lineFeeds{0}; // reply lines received
    // CPU clock of the reader thread that opened the device last.
    std::atomic<clockid_t> m_readerClock{};
};

// Records every event as a text line and, like the main dialog, restarts the
// link when it is lost.
class CRestartingRecorder : public CRecordingHandlers {
  public:
    explicit CRestartingRecorder(CTesterLink& link) : m_link(link) {}

    void OnDisconnected() override;

  private:
    CTesterLink& m_link;
};

// The link on the real device layer, with a private runtime folder and an
// empty sysfs (so a Tester on this machine's USB stays out of the test), and
// a pump that delivers events on the test's thread as the UI thread would.
class CDeviceLinkHarness {
  public:
    explicit CDeviceLinkHarness(const std::string& runtimeDir, const std::string& sysfsRoot);
    ~CDeviceLinkHarness();

    CTesterLink& Link() { return m_link; }
    CCountingDevice& Device() { return m_device; }
    CRestartingRecorder& Recorder() { return m_recorder; }

    // Delivers events until `done` holds (true) or `timeout` passes (false).
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Delivers events for `duration`.
    void PumpFor(std::chrono::milliseconds duration);

  private:
    void Notify();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_woken = false;
    CCountingDevice m_device;
    CTesterLink m_link;
    CRestartingRecorder m_recorder;
};
