#include "RecordingTesterDevice.h"

#include <thread>

#include "WaitUntil.h"

bool CRecordingTesterDevice::CreateDeviceInfoList(uint32_t& count)
{
    count = 1;
    return true;
}

bool CRecordingTesterDevice::GetDeviceDescription(uint32_t, std::string& description)
{
    description = "TAMRIX TESTER";
    return true;
}

bool CRecordingTesterDevice::Open(uint32_t)
{
    return true;
}

bool CRecordingTesterDevice::Read(uint8_t& byte, uint32_t& transferred)
{
    // Keeps the reader thread from spinning at full speed.
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    std::lock_guard<std::mutex> lock(m_mutex);
    byte = '\n';
    if (!m_reply.empty()) {
        byte = static_cast<uint8_t>(m_reply.front());
        m_reply.erase(0, 1);
    }
    transferred = 1;
    return true;
}

bool CRecordingTesterDevice::Write(uint8_t byte, uint32_t& transferred)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_written += static_cast<char>(byte);
    if (byte == 'm')
        m_inCanCommand = true;
    if (byte == '\n' && m_inCanCommand) {
        m_inCanCommand = false;
        m_reply = "#msg done\r\n";
    }
    transferred = 1;
    return true;
}

std::string CRecordingTesterDevice::Written() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_written;
}

bool CRecordingTesterDevice::WaitForWritten(const std::string& text, int times,
                                            std::chrono::milliseconds limit) const
{
    return WaitUntil([&] { return CountOccurrences(Written(), text) >= times; }, limit,
                     std::chrono::milliseconds(2));
}

int CountOccurrences(const std::string& haystack, const std::string& text)
{
    int count = 0;
    for (auto at = haystack.find(text); at != std::string::npos; at = haystack.find(text, at + text.size()))
        ++count;
    return count;
}
