#pragma once

#include <atomic>
#include <chrono>
#include <string>

#include "AbsentTesterDevice.h"
#include "WaitUntil.h"

// A Tester driver for the main dialog's tests. Without a Tester, every search
// fails, so the link reports the link lost after each start. With one, the
// Tester opens and then stays silent until Release (a read then fails),
// unless `openFailure` is given: then it is found but cannot be opened.
class CFakeTesterDevice : public CAbsentTesterDevice {
  public:
    explicit CFakeTesterDevice(bool testerAttached = false, std::string openFailure = {})
        : m_attached(testerAttached), m_openFailure(std::move(openFailure))
    {
    }

    bool CreateDeviceInfoList(uint32_t& count) override
    {
        ++m_searches;
        count = m_attached ? 1 : 0;
        return m_attached;
    }
    bool GetDeviceDescription(uint32_t, std::string& description) override
    {
        description = "TAMRIX TESTER";
        return true;
    }
    bool Open(uint32_t) override { return m_attached && m_openFailure.empty(); }
    std::string OpenFailure() const override { return m_openFailure; }
    bool Read(uint8_t&, uint32_t& transferred) override
    {
        WaitUntil([this] { return m_released.load(); }, std::chrono::seconds(20),
                  std::chrono::milliseconds(5));
        transferred = 0;
        return false;
    }
    bool Write(uint8_t, uint32_t& transferred) override
    {
        transferred = 1;
        return true;
    }

    void Release() { m_released = true; }
    int Searches() const { return m_searches; }

  private:
    const bool m_attached;
    const std::string m_openFailure;
    std::atomic<int> m_searches{0};
    std::atomic<bool> m_released{false};
};
