#include "ScriptedDevice.h"

#include <algorithm>

#include "WaitUntil.h"

namespace {

// The Tester's usual replies: "#no " to polls, version 2.5, the listen toggle
// alternating start and stop, "#no special" to the special poll, "#msg done"
// to a CAN message.
std::string UsualReply(const std::string& command, bool& listening)
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

} // namespace

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
    std::lock_guard<std::mutex> lock(m_mutex);
    m_transcript += note;
}

bool CScriptedDevice::WaitForTranscript(const std::function<bool(const std::string&)>& done) const
{
    return WaitUntil([&] { return done(Transcript()); }, std::chrono::seconds(10));
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

bool CScriptedDevice::Purge(uint32_t mask)
{
    Configure("purge", mask);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (mask & 1)
        m_input.clear(); // as the driver drops what a stopped link left unread
    return true;
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
}

void CScriptedDevice::Answer(const std::string& command)
{
    std::optional<std::string> reply = m_responder ? m_responder(command) : std::nullopt;
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::string bytes = reply ? *reply : UsualReply(command, m_listening);
    m_input.insert(m_input.end(), bytes.begin(), bytes.end());
}
