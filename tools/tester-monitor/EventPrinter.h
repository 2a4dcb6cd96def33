#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "TamrixTesterHandlers.h"

// Prints every Tester event as one readable line with a time stamp. A run of
// link-lost events while searching prints once, not ten times a second.
class CEventPrinter : public CTamrixTesterHandlers {
  public:
    // `onConnected` and `onDisconnected` run after the line is printed; the
    // monitor queues its commands and restarts the link there.
    CEventPrinter(std::FILE* out, std::function<void()> onConnected, std::function<void()> onDisconnected);

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

    // Prints why a found Tester could not be opened, once for as long as the
    // same reason lasts (the link retries ten times a second); "" means
    // there was no such failure.
    void ShowSearchFailure(const std::string& failure);

    // Stamps lines with the time since a recording began, as `micros` tells
    // it, instead of the time of day.
    void SetRecordedClock(std::function<uint64_t()> micros) { m_recordedClock = std::move(micros); }

    uint64_t Events() const { return m_events; }
    uint64_t Connections() const { return m_connections; }
    uint64_t LinkLosses() const { return m_linkLosses; }

  private:
    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void PrintStamp();

    std::FILE* m_out;
    std::function<void()> m_onConnected;
    std::function<void()> m_onDisconnected;
    std::function<uint64_t()> m_recordedClock;
    bool m_searching = false;
    std::string m_shownFailure;
    uint64_t m_events = 0;
    uint64_t m_connections = 0;
    uint64_t m_linkLosses = 0;
};
