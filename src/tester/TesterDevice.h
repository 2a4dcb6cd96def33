#pragma once

#include <cstdint>
#include <string>

// The USB product string by which the Tester is known; the link takes only a
// device whose description equals it whole and case-sensitive.
inline constexpr char kTesterDescription[] = "TAMRIX TESTER";

// The narrow view of the USB-serial driver that the Tester link needs. It
// mirrors the driver calls the reader thread makes, so the production backend
// (platform/ftd2xx) and the scripted devices of the tests are interchangeable.
// Only the reader thread calls it once the link runs.
class CTesterDevice {
  public:
    virtual ~CTesterDevice() = default;

    // Builds the device list; false when enumeration fails.
    virtual bool CreateDeviceInfoList(uint32_t& count) = 0;
    // The description (USB product string) of device `index`; false when its
    // details cannot be read.
    virtual bool GetDeviceDescription(uint32_t index, std::string& description) = 0;
    // Opens device `index`; false on failure.
    virtual bool Open(uint32_t index) = 0;
    // Why the last Open failed, in words a technician can act on (for example
    // "no permission for /dev/ttyUSB0"); empty when the driver cannot tell.
    virtual std::string OpenFailure() const { return {}; }

    // Line configuration; the link ignores their results.
    virtual bool SetBaudRate(uint32_t baud) = 0;
    virtual bool SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity) = 0;
    virtual bool Purge(uint32_t mask) = 0; // bit 0 receive, bit 1 transmit
    virtual bool SetTimeouts(uint32_t readMs, uint32_t writeMs) = 0;
    virtual bool SetFlowControl(uint16_t flowControl, uint8_t xon, uint8_t xoff) = 0;

    // One byte each way. `transferred` is 0 when the time-out passed; false
    // means the device failed (for example it was unplugged).
    virtual bool Read(uint8_t& byte, uint32_t& transferred) = 0;
    virtual bool Write(uint8_t byte, uint32_t& transferred) = 0;

    // Closes whatever is open; harmless when nothing is.
    virtual void Close() = 0;
};
