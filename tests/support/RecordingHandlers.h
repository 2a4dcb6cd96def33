#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "TamrixTesterHandlers.h"

// Writes every handler call as one line of text ("Beacon 42 90 4.2 20"), so a
// test compares whole calls, arguments and order at once. Doubles are written
// with ten significant digits.
class CRecordingHandlers : public CTamrixTesterHandlers {
  public:
    std::vector<std::string> calls;

    int Count(const std::string& prefix) const
    {
        return static_cast<int>(std::count_if(
            calls.begin(), calls.end(), [&](const std::string& call) { return call.starts_with(prefix); }));
    }

    void OnTransponder(uint32_t number, uint32_t rssi, bool lowBattery, unsigned driverNumber) override
    {
        Add("Transponder %u %u %d %u", number, rssi, lowBattery, driverNumber);
    }
    void OnQ9Transponder(uint32_t number, uint32_t rssi) override { Add("Q9 %u %u", number, rssi); }
    void OnMindletTransponder(uint32_t number, uint32_t rssi, bool lowBattery) override
    {
        Add("Mindlet %u %u %d", number, rssi, lowBattery);
    }
    void OnBeacon(uint32_t number, uint32_t rssi, double batteryVolts, int32_t temperature) override
    {
        Add("Beacon %u %u %.10g %d", number, rssi, batteryVolts, temperature);
    }
    void OnDiagnostics(uint32_t number, unsigned noise, double batteryVolts, uint32_t batteryPercent,
                       uint32_t remainingMinutes, double externalVolts, unsigned temperature,
                       unsigned firmwareMajor, unsigned firmwareMinor) override
    {
        Add("Diagnostics %u %u %.10g %u %u %.10g %u %u %u", number, noise, batteryVolts, batteryPercent,
            remainingMinutes, externalVolts, temperature, firmwareMajor, firmwareMinor);
    }
    void OnTransmitResult(int32_t result) override { Add("Transmit %d", result); }
    void OnCanReceived(int32_t origin, uint32_t twoWayId, uint32_t canId, unsigned length,
                       const uint8_t* data) override
    {
        Add("Can %d %u %x %u %02X %02X %02X %02X %02X %02X %02X %02X", origin, twoWayId, canId, length,
            data[0], data[1], data[2], data[3], data[4], data[5], data[6], data[7]);
    }
    void OnListeningChanged(int32_t state) override { Add("Listening %d", state); }
    void OnSpecialDevice(int32_t what, uint32_t number, uint32_t rssi, unsigned flag, unsigned kind,
                         double value) override
    {
        if (what == 2)
            Add("Special nothing"); // the other arguments carry no meaning
        else
            Add("Special %d %u %u %u %u %.10g", what, number, rssi, flag, kind, value);
    }
    void OnFirmwareVersion(bool known, unsigned major, unsigned minor) override
    {
        if (known)
            Add("Version %u.%u", major, minor);
        else
            Add("Version unknown");
    }
    void OnBeaconDone() override { Add("BeaconDone"); }
    void OnDisconnected() override { Add("Disconnected"); }
    void OnConnected() override { Add("Connected"); }
    void OnLoopLevel(unsigned level) override { Add("Loop %u", level); }

  private:
    void Add(const char* text) { calls.emplace_back(text); }
    template <typename... Args> void Add(const char* format, Args... args)
    {
        char text[160];
        std::snprintf(text, sizeof text, format, args...);
        calls.emplace_back(text);
    }
};
