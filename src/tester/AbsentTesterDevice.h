#pragma once

#include "TesterDevice.h"

// A driver with no Tester attached: every search fails, so a link started on it
// reports the link lost after each search. For tools and benchmarks that need
// the program without any device.
class CAbsentTesterDevice : public CTesterDevice {
  public:
    bool CreateDeviceInfoList(uint32_t& count) override
    {
        count = 0;
        return false;
    }
    bool GetDeviceDescription(uint32_t, std::string&) override { return false; }
    bool Open(uint32_t) override { return false; }
    bool SetBaudRate(uint32_t) override { return true; }
    bool SetDataCharacteristics(uint8_t, uint8_t, uint8_t) override { return true; }
    bool Purge(uint32_t) override { return true; }
    bool SetTimeouts(uint32_t, uint32_t) override { return true; }
    bool SetFlowControl(uint16_t, uint8_t, uint8_t) override { return true; }
    bool Read(uint8_t&, uint32_t&) override { return false; }
    bool Write(uint8_t, uint32_t&) override { return false; }
    void Close() override {}
};
