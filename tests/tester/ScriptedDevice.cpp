#include "ScriptedDevice.h"

#include <algorithm>

CScriptedDevice::CScriptedDevice(std::vector<std::string> descriptions)
    : descriptions_(std::move(descriptions))
{
}

void CScriptedDevice::FailNextWriteOf(char byte, bool shortWrite)
{
    std::lock_guard<std::mutex> lock(mutex_);
    failWrite_ = static_cast<unsigned char>(byte);
    failShort_ = shortWrite;
}

void CScriptedDevice::Feed(const std::string& bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    input_.insert(input_.end(), bytes.begin(), bytes.end());
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

std::string CScriptedDevice::Transcript() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return transcript_;
}

bool CScriptedDevice::WaitForTranscript(const std::function<bool(const std::string&)>& done) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return done(transcript_); });
}

int CScriptedDevice::OpenedIndex() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return opened_;
}

std::size_t CScriptedDevice::IdleBytesRead() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return idlePosition_;
}

int CScriptedDevice::CloseCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
}

std::vector<std::string> CScriptedDevice::Configuration() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return configuration_;
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
    count = static_cast<uint32_t>(descriptions_.size());
    return !enumerationFails_;
}

bool CScriptedDevice::GetDeviceDescription(uint32_t index, std::string& description)
{
    if (index >= descriptions_.size() ||
        std::find(unreadable_.begin(), unreadable_.end(), index) != unreadable_.end())
        return false;
    description = descriptions_[index];
    return true;
}

bool CScriptedDevice::Open(uint32_t index)
{
    if (openFails_)
        return false;
    std::lock_guard<std::mutex> lock(mutex_);
    opened_ = static_cast<int>(index);
    return true;
}

bool CScriptedDevice::SetBaudRate(uint32_t baud)
{
    std::lock_guard<std::mutex> lock(mutex_);
    configuration_.push_back("baud " + std::to_string(baud));
    return true;
}

bool CScriptedDevice::SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity)
{
    std::lock_guard<std::mutex> lock(mutex_);
    configuration_.push_back("data " + std::to_string(wordLength) + " " + std::to_string(stopBits) + " " +
                             std::to_string(parity));
    return false; // the link must not care
}

bool CScriptedDevice::Purge(uint32_t mask)
{
    std::lock_guard<std::mutex> lock(mutex_);
    configuration_.push_back("purge " + std::to_string(mask));
    if (mask & 1)
        input_.clear(); // as the driver drops what a stopped link left unread
    return true;
}

bool CScriptedDevice::SetTimeouts(uint32_t readMs, uint32_t writeMs)
{
    std::lock_guard<std::mutex> lock(mutex_);
    configuration_.push_back("timeouts " + std::to_string(readMs) + " " + std::to_string(writeMs));
    return true;
}

bool CScriptedDevice::SetFlowControl(uint16_t flowControl, uint8_t xon, uint8_t xoff)
{
    std::lock_guard<std::mutex> lock(mutex_);
    configuration_.push_back("flow " + std::to_string(flowControl) + " " + std::to_string(xon) + " " +
                             std::to_string(xoff));
    return true;
}

bool CScriptedDevice::Read(uint8_t& byte, uint32_t& transferred)
{
    std::unique_lock<std::mutex> lock(mutex_);
    transferred = 0;
    if (input_.empty() && !idleInput_.empty()) {
        byte = static_cast<uint8_t>(idleInput_[idlePosition_++ % idleInput_.size()]);
        transferred = 1;
        const std::size_t handedOut = idlePosition_;
        lock.unlock();
        if (idleHook_)
            idleHook_(handedOut);
        return true;
    }
    if (input_.empty())
        return !readsFailWhenIdle_;
    byte = static_cast<uint8_t>(input_.front());
    input_.pop_front();
    transferred = 1;
    return true;
}

bool CScriptedDevice::Write(uint8_t byte, uint32_t& transferred)
{
    std::string complete;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        transferred = 0;
        if (failWrite_ == byte) {
            failWrite_ = -1;
            return failShort_;
        }
        transferred = 1;
        transcript_ += static_cast<char>(byte);
        command_ += static_cast<char>(byte);
        const bool withParameters = command_[0] == 'l' || command_[0] == 'm';
        if (!withParameters || byte == '\n')
            complete.swap(command_);
        changed_.notify_all();
    }
    // Answered outside the lock: a responder may block or queue commands.
    if (!complete.empty())
        Answer(complete);
    return true;
}

void CScriptedDevice::Close()
{
    std::lock_guard<std::mutex> lock(mutex_);
    ++closed_;
    changed_.notify_all();
}

void CScriptedDevice::Answer(const std::string& command)
{
    std::optional<std::string> reply = responder_ ? responder_(command) : std::nullopt;
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string bytes = reply ? *reply : UsualReply(command, listening_);
    input_.insert(input_.end(), bytes.begin(), bytes.end());
}

void CScriptedDevice::Record(const std::string& text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    transcript_ += text;
    changed_.notify_all();
}
