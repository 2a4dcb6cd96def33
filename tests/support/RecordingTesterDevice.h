#pragma once

#include <chrono>
#include <mutex>
#include <string>

#include "AbsentTesterDevice.h"

// A Tester that answers every read with an empty line (a CAN message command
// with "#msg done", so that the link goes on) and records every byte written
// to it, so tests can see what a page made the link send.
class CRecordingTesterDevice : public CAbsentTesterDevice {
  public:
    bool CreateDeviceInfoList(uint32_t& count) override;
    bool GetDeviceDescription(uint32_t index, std::string& description) override;
    bool Open(uint32_t index) override;
    bool Read(uint8_t& byte, uint32_t& transferred) override;
    bool Write(uint8_t byte, uint32_t& transferred) override;

    std::string Written() const;
    // Waits (at most `limit`) until the bytes written contain `text` at least
    // `times` times; true when they do.
    bool WaitForWritten(const std::string& text, int times = 1,
                        std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

  private:
    mutable std::mutex m_mutex;
    std::string m_written;
    std::string m_reply; // still to be read
    bool m_inCanCommand = false;
};

// How often `text` occurs in `haystack`.
int CountOccurrences(const std::string& haystack, const std::string& text);
