#pragma once

#include <atomic>
#include <string>

#include "AbsentTesterDevice.h"

// A Tester driver for the main dialog's tests that counts the link's searches.
// Without `openFailure` there is no Tester, so each search fails and the link
// reports the link lost; with it, a Tester is found but cannot be opened.
class CFakeTesterDevice : public CAbsentTesterDevice {
  public:
    explicit CFakeTesterDevice(std::string openFailure = {}) : m_openFailure(std::move(openFailure)) {}

    bool CreateDeviceInfoList(uint32_t& count) override
    {
        ++m_searches;
        count = m_openFailure.empty() ? 0 : 1;
        return count != 0;
    }
    bool GetDeviceDescription(uint32_t, std::string& description) override
    {
        description = "TAMRIX TESTER";
        return true;
    }
    std::string OpenFailure() const override { return m_openFailure; }

    int Searches() const { return m_searches; }

  private:
    const std::string m_openFailure;
    std::atomic<int> m_searches{0};
};
