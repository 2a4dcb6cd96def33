// Feeds arbitrary Tester output through the line reader and every reply
// parser, as the reader thread would, and delivers the events to handlers
// that ignore them. Crashes, sanitizer reports and broken framing invariants
// are findings.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "LineReader.h"
#include "ReplyParser.h"
#include "TamrixTesterHandlers.h"
#include "TesterEventDispatch.h"

namespace {

// The Tester's output as a fixed byte stream; a read past its end times out.
class CByteStreamDevice : public CTesterDevice {
  public:
    CByteStreamDevice(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return position_ >= size_; }

    bool Read(uint8_t& byte, uint32_t& transferred) override
    {
        transferred = 0;
        if (AtEnd())
            return true;
        byte = data_[position_++];
        transferred = 1;
        return true;
    }

    bool CreateDeviceInfoList(uint32_t& count) override { return (count = 0), false; }
    bool GetDeviceDescription(uint32_t, std::string&) override { return false; }
    bool Open(uint32_t) override { return false; }
    bool SetBaudRate(uint32_t) override { return false; }
    bool SetDataCharacteristics(uint8_t, uint8_t, uint8_t) override { return false; }
    bool Purge(uint32_t) override { return false; }
    bool SetTimeouts(uint32_t, uint32_t) override { return false; }
    bool SetFlowControl(uint16_t, uint8_t, uint8_t) override { return false; }
    bool Write(uint8_t, uint32_t& transferred) override { return (transferred = 0), false; }
    void Close() override {}

  private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

class CIgnoringHandlers : public CTamrixTesterHandlers {};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void ParseEveryWay(const char* line, CIgnoringHandlers& handlers)
{
    testerevent_t event;
    if (CReplyParser::ParseReply(line, event))
        DispatchTesterEvent(event, handlers);
    CReplyParser::ParseVersion(line, event);
    DispatchTesterEvent(event, handlers);
    bool listening = false;
    if (CReplyParser::ParseListen(line, event, listening))
        DispatchTesterEvent(event, handlers);
    Check(!listening || std::strcmp(line, "#start listening special\r\n") == 0);
    if (CReplyParser::ParseSpecialPoll(line, event))
        DispatchTesterEvent(event, handlers);
    if (CReplyParser::ParseTransmit(line, event) != TransmitStep::kIgnored)
        DispatchTesterEvent(event, handlers);
}

// Reads the whole stream as lines of `lineSize` bytes at most.
void ReadAll(const uint8_t* data, size_t size, size_t lineSize)
{
    CIgnoringHandlers handlers;
    CByteStreamDevice device(data, size);
    const std::atomic<bool> keepReading{true};
    char line[kReplyLineSize];
    for (;;) {
        const bool complete = ReadLine(device, line, lineSize, keepReading);
        const size_t length = std::strlen(line);
        Check(length < lineSize);
        Check(length == 0 || line[0] == '#');
        ParseEveryWay(line, handlers);
        if (!complete)
            break;
    }
    Check(device.AtEnd());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Most replies are read into 128 bytes, the reply to the transponder
    // emulation into 64.
    ReadAll(data, size, kReplyLineSize);
    ReadAll(data, size, kEmulationReplyLineSize);
    return 0;
}
