#include "ScriptedDevice.h"

#include <algorithm>

CScriptedDevice::CScriptedDevice(std::vector<std::string> descriptions)
    : m_descriptions(std::move(descriptions))
{
}

void CScriptedDevice::FailNextWriteOf(char byte, bool shortWrite)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_failWrite = static_cast<unsigned char>(byte);
    m_failShort = shortWrite;
}

void CScriptedDevice::Feed(const std::string& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_input.insert(m_input.end(), bytes.begin(), bytes.end());
}

void CScriptedDevice::NotePause(std::chrono::milliseconds duration)
{
    // Appended piece by piece: g++ 12 at -O3 reports a false -Wrestrict for
    // "|" + std::string + "|".
    std::string note = "|";
    note += std::to_string(duration.count());
    note += '|';
    Record(note);
}

bool CScriptedDevice::WaitForTranscript(const std::function<bool(const std::string&)>& done) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return done(m_transcript); });
}

std::string CScriptedDevice::UsualReply(const std::string& command, bool& listening)
{
    switch (command[0]) {
    case 'v':
        return "#v,2.5\r\n";
    case 'a':
        listening = !listening;
        return listening ? "#start listening special\r\n" : "#stop listening special\r\n";
    case 'd':
        return "#no special\r\n";
    case 'm':
        return "#msg done\r\n";
    default:
        return "#no \r\n";
    }
}

bool CScriptedDevice::CreateDeviceInfoList(uint32_t& count)
{
    count = static_cast<uint32_t>(m_descriptions.size());
    return !m_enumerationFails;
}

bool CScriptedDevice::GetDeviceDescription(uint32_t index, std::string& description)
{
    if (index >= m_descriptions.size() ||
        std::find(m_unreadable.begin(), m_unreadable.end(), index) != m_unreadable.end())
        return false;
    description = m_descriptions[index];
    return true;
}

bool CScriptedDevice::Open(uint32_t index)
{
    if (m_openFails)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_opened = static_cast<int>(index);
    return true;
}

bool CScriptedDevice::SetBaudRate(uint32_t baud)
{
    return Configure("baud " + std::to_string(baud));
}

bool CScriptedDevice::SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity)
{
    Configure("data " + std::to_string(wordLength) + " " + std::to_string(stopBits) + " " +
              std::to_string(parity));
    return false; // the link must not care
}

bool CScriptedDevice::Purge(uint32_t mask)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_configuration.push_back("purge " + std::to_string(mask));
    if (mask & 1)
        m_input.clear(); // as the driver drops what a stopped link left unread
    return true;
}

bool CScriptedDevice::SetTimeouts(uint32_t readMs, uint32_t writeMs)
{
    return Configure("timeouts " + std::to_string(readMs) + " " + std::to_string(writeMs));
}

bool CScriptedDevice::SetFlowControl(uint16_t flowControl, uint8_t xon, uint8_t xoff)
{
    return Configure("flow " + std::to_string(flowControl) + " " + std::to_string(xon) + " " +
                     std::to_string(xoff));
}

bool CScriptedDevice::Read(uint8_t& byte, uint32_t& transferred)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    transferred = 0;
    if (m_input.empty() && !m_idleInput.empty()) {
        byte = static_cast<uint8_t>(m_idleInput[m_idlePosition++ % m_idleInput.size()]);
        transferred = 1;
        const std::size_t handedOut = m_idlePosition;
        lock.unlock();
        if (m_idleHook)
            m_idleHook(handedOut);
        return true;
    }
    if (m_input.empty())
        return !m_readsFailWhenIdle;
    byte = static_cast<uint8_t>(m_input.front());
    m_input.pop_front();
    transferred = 1;
    return true;
}

bool CScriptedDevice::Write(uint8_t byte, uint32_t& transferred)
{
    std::string complete;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        transferred = 0;
        if (m_failWrite == byte) {
            m_failWrite = -1;
            return m_failShort;
        }
        transferred = 1;
        m_transcript += static_cast<char>(byte);
        m_command += static_cast<char>(byte);
        const bool withParameters = m_command[0] == 'l' || m_command[0] == 'm';
        if (!withParameters || byte == '\n')
            complete.swap(m_command);
        m_changed.notify_all();
    }
    // Answered outside the lock: a responder may block or queue commands.
    if (!complete.empty())
        Answer(complete);
    return true;
}

void CScriptedDevice::Close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_closed;
    m_changed.notify_all();
}

void CScriptedDevice::Answer(const std::string& command)
{
    std::optional<std::string> reply = m_responder ? m_responder(command) : std::nullopt;
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::string bytes = reply ? *reply : UsualReply(command, m_listening);
    m_input.insert(m_input.end(), bytes.begin(), bytes.end());
}

void CScriptedDevice::Record(const std::string& text)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_transcript += text;
    m_changed.notify_all();
}

bool CScriptedDevice::Configure(const std::string& setting)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_configuration.push_back(setting);
    return true;
}
