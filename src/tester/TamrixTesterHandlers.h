#pragma once

#include <cstdint>

// Everything the Tester reports reaches the program through this interface.
// CTesterLink::DeliverEvents calls it on the UI thread, one event at a time, in
// the order the reader thread queued them. Every operation does nothing by
// default, so an implementation overrides only what it needs.
class CTamrixTesterHandlers {
  public:
    virtual void OnTransponder(uint32_t number, uint32_t rssi, bool lowBattery, unsigned driverNumber);
    virtual void OnQ9Transponder(uint32_t number, uint32_t rssi);
    virtual void OnMindletTransponder(uint32_t number, uint32_t rssi, bool lowBattery);
    virtual void OnBeacon(uint32_t number, uint32_t rssi, double batteryVolts, int32_t temperature);
    virtual void OnDiagnostics(uint32_t number, unsigned noise, double batteryVolts, uint32_t batteryPercent,
                               uint32_t remainingMinutes, double externalVolts, unsigned temperature,
                               unsigned firmwareMajor, unsigned firmwareMinor);
    virtual void OnTransmitResult(int32_t result);
    virtual void OnCanReceived(int32_t origin, uint32_t twoWayId, uint32_t canId, unsigned length,
                               const uint8_t* data);
    virtual void OnListeningChanged(int32_t state);
    virtual void OnSpecialDevice(int32_t what, uint32_t number, uint32_t rssi, unsigned flag, unsigned kind,
                                 double value);
    virtual void OnFirmwareVersion(bool known, unsigned major, unsigned minor);
    virtual void OnBeaconDone();
    virtual void OnDisconnected();
    virtual void OnConnected();
    virtual void OnLoopLevel(unsigned level);

  protected:
    // Never deleted through this interface; the destructor is protected and
    // non-virtual on purpose.
    ~CTamrixTesterHandlers() = default;
};
