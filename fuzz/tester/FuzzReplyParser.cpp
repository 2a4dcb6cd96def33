// Feeds arbitrary Tester output through the line reader and every reply
// parser, as the reader thread would, and delivers the events to handlers
// that ignore them. Crashes, sanitizer reports and broken framing invariants
// are findings.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "AbsentTesterDevice.h"
#include "LineReader.h"
#include "ReplyParser.h"
#include "TamrixTesterHandlers.h"
#include "TesterEventDispatch.h"

namespace {

// The Tester's output as a fixed byte stream; a read past its end times out.
class CByteStreamDevice : public CAbsentTesterDevice {
  public:
    CByteStreamDevice(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_position >= m_size; }

    bool Read(uint8_t& byte, uint32_t& transferred) override
    {
        transferred = 0;
        if (AtEnd())
            return true;
        byte = m_data[m_position++];
        transferred = 1;
        return true;
    }

  private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};

// The handlers' base keeps its destructor protected, so the empty bodies are
// used through a class of their own.
class CIgnoringHandlers final : public CTamrixTesterHandlers {};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void ParseEveryWay(const char* line, CTamrixTesterHandlers& handlers)
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
