#pragma once

#include <string>
#include <vector>

#include "DeviceListEntry.h"
#include "SerialPort.h"
#include "SimulatedDeviceRegistry.h"
#include "TesterDevice.h"

// The Linux backend of the Tester's USB-serial driver: real USB-serial ttys
// found through sysfs, and simulated Testers registered in the user's private
// runtime folder.
//
// Device list order (the driver index): the real ttys first (ttyACM before
// ttyUSB, each by number), then the simulated entries sorted by entry name.
// A real Tester therefore wins over a simulator that runs at the same time.
// The list is built by CreateDeviceInfoList and stays as it is until the next
// call, so an index means the same device between listing and opening.
class CFtd2xxDevice : public CTesterDevice {
  public:
    // Real sysfs and the default runtime folder.
    CFtd2xxDevice();
    // For tests: a fake sysfs tree and runtime folder.
    CFtd2xxDevice(std::string sysfsRoot, std::string runtimeDir);
    ~CFtd2xxDevice() override;

    bool CreateDeviceInfoList(uint32_t& count) override;
    bool GetDeviceDescription(uint32_t index, std::string& description) override;
    bool Open(uint32_t index) override;
    std::string OpenFailure() const override;

    bool SetBaudRate(uint32_t baud) override;
    bool SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity) override;
    bool Purge(uint32_t mask) override;
    bool SetTimeouts(uint32_t readMs, uint32_t writeMs) override;
    bool SetFlowControl(uint16_t flowControl, uint8_t xon, uint8_t xoff) override;

    bool Read(uint8_t& byte, uint32_t& transferred) override;
    bool Write(uint8_t byte, uint32_t& transferred) override;

    void Close() override;

    // The node behind `index` of the current list, for diagnostics.
    std::string DevicePath(uint32_t index) const;

  private:
    std::string m_sysfsRoot;
    CSimulatedDeviceRegistry m_registry;
    std::vector<DeviceListEntry> m_list;
    CSerialPort m_port;
    std::string m_openFailure; // why the last Open failed
};
