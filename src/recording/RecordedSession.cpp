#include "RecordedSession.h"

#include "AbsentTesterDevice.h"
#include "LineReader.h"
#include "ReplyParser.h"
#include "TesterCommands.h"
#include "TesterEventDispatch.h"

namespace {

// A replayed reply is read to its end: there is no link that could be stopped.
const std::atomic<bool> kKeepReading{true};

// The bytes of one recorded reply, handed out as the driver would; at their
// end a read fails, which ends the line reader's line there.
class CRecordedReplyDevice : public CAbsentTesterDevice {
  public:
    explicit CRecordedReplyDevice(const std::string& bytes) : m_bytes(bytes) {}
    bool Read(uint8_t& byte, uint32_t& transferred) override
    {
        transferred = m_next < m_bytes.size() ? 1 : 0;
        if (transferred == 1)
            byte = static_cast<uint8_t>(m_bytes[m_next++]);
        return transferred == 1;
    }
    bool AtEnd() const { return m_next == m_bytes.size(); }

  private:
    const std::string& m_bytes;
    size_t m_next = 0;
};

testerevent_t ConnectedEvent()
{
    testerevent_t event;
    event.kind = kEventConnected;
    return event;
}

} // namespace

CRecordedSession::CRecordedSession(CTamrixTesterHandlers& handlers) : m_handlers(handlers) {}

bool CRecordedSession::Play(CRecordingReader& reader)
{
    recordingevent_t event;
    while (reader.Next(event)) {
        m_micros = event.micros;
        switch (event.kind) {
        case RecordingKind::kTx:
            Begin(event);
            break;
        case RecordingKind::kRx:
            m_reply += event.bytes;
            break;
        case RecordingKind::kTimeout:
            // A silent Tester is a lost link, except for the version query,
            // which old firmware does not answer.
            m_lost = m_lost || m_command.rfind(kCommandVersion, 0) != 0;
            break;
        case RecordingKind::kUnplug:
            m_lost = true;
            Finish();
            break;
        case RecordingKind::kPlug:
            Finish();
            Deliver(ConnectedEvent());
            break;
        case RecordingKind::kClose:
            Finish();
            break;
        }
    }
    Finish();
    return reader.Error().empty();
}

void CRecordedSession::Begin(const recordingevent_t& event)
{
    // A command's bytes follow one another; a reply in between begins anew.
    if (!m_reply.empty() || m_lost)
        Finish();
    m_command += event.bytes;
}

void CRecordedSession::Finish()
{
    if (!m_command.empty())
        DeliverReplies();
    if (m_lost && !m_lossDelivered)
        Disconnected(); // lost after a whole reply: at the next write or read
    m_command.clear();
    m_reply.clear();
    m_lost = false;
    m_lossDelivered = false;
}

bool CRecordedSession::ReadReplyLine(CTesterDevice& device, char* line, size_t size)
{
    const bool complete = ReadLine(device, line, size, kKeepReading);
    // The link reports a failed read before it parses what the read got.
    if (!complete && m_lost && !m_lossDelivered)
        Disconnected();
    return complete;
}

void CRecordedSession::DeliverReplies()
{
    CRecordedReplyDevice device(m_reply);
    char line[kReplyLineSize];
    testerevent_t event;
    bool listening = false;
    switch (m_command[0]) {
    case kCommandVersion: {
        // The version query's silence is no loss; the link reads it unchecked.
        ReadLine(device, line, sizeof line, kKeepReading);
        CReplyParser::ParseVersion(line, event);
        Deliver(event);
        return;
    }
    case kCommandListenToggle:
        ReadReplyLine(device, line, sizeof line);
        if (CReplyParser::ParseListen(line, event, listening))
            Deliver(event);
        return;
    case kCommandSpecialPoll:
        ReadReplyLine(device, line, sizeof line);
        if (CReplyParser::ParseSpecialPoll(line, event))
            Deliver(event);
        return;
    case kCommandCanLetter:
        for (;;) {
            const bool complete = ReadReplyLine(device, line, sizeof line);
            const TransmitStep step = CReplyParser::ParseTransmit(line, event);
            if (step != TransmitStep::kIgnored)
                Deliver(event);
            if (!complete || step == TransmitStep::kSucceeded || step == TransmitStep::kFailed)
                return;
        }
    default:
        break;
    }
    const bool emulation = m_command[0] >= '0' && m_command[0] <= '9';
    ReadReplyLine(device, line, emulation ? kEmulationReplyLineSize : sizeof line);
    if (!emulation && CReplyParser::ParseReply(line, event))
        Deliver(event); // the Tester's answer to an emulation is read and not looked at
}

void CRecordedSession::Deliver(const testerevent_t& event)
{
    DispatchTesterEvent(event, m_handlers);
}

void CRecordedSession::Disconnected()
{
    m_lossDelivered = true;
    Deliver(testerevent_t{});
}
