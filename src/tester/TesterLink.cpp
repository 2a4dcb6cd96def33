#include "TesterLink.h"

#include <string>

#include "LineReader.h"
#include "ReplyParser.h"
#include "TamrixTesterHandlers.h"
#include "TesterCommands.h"
#include "TesterEventDispatch.h"

using namespace std::chrono_literals;

namespace {

constexpr uint32_t kBaudRate = 115200;
constexpr uint32_t kTimeoutMs = 200;
constexpr uint32_t kPurgeBoth = 3;
constexpr auto kSearchDelay = 100ms;
constexpr auto kSpecialPollInterval = 250ms;

constexpr unsigned kLastTransponderIndex = 4;
constexpr unsigned kFirstLoopParameter = 1;
constexpr unsigned kLastLoopParameter = 63;
constexpr uint8_t kMaxDataBytes = 8;

} // namespace

CTesterLink::CTesterLink(CTesterDevice& device, std::function<void()> notify)
    : CTesterLink(device, std::move(notify), SleepFunction())
{
}

CTesterLink::CTesterLink(CTesterDevice& device, std::function<void()> notify, SleepFunction sleep)
    : m_device(device), m_notify(std::move(notify)), m_sleep(std::move(sleep))
{
}

CTesterLink::~CTesterLink()
{
    Stop();
}

void CTesterLink::Start()
{
    if (m_running)
        return;
    m_running = true;
    m_thread = std::thread(&CTesterLink::ThreadMain, this);
}

void CTesterLink::Stop()
{
    if (!m_running)
        return;
    m_running = false;
    {
        // Taking the pause's lock orders the flag before the wake-up, so a
        // pause that is just starting cannot miss it.
        std::lock_guard<std::mutex> lock(m_pauseMutex);
    }
    m_pauseWake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    m_events.Clear(); // records not yet delivered belong to the ended link
}

bool CTesterLink::IsRunning() const
{
    return m_running;
}

void CTesterLink::EmulateTransponder(unsigned index)
{
    QueueParameterCommand(kCommandEmulateTransponder, index, 0, kLastTransponderIndex);
}

void CTesterLink::SendLoop(unsigned parameter)
{
    QueueParameterCommand(kCommandLoop, parameter, kFirstLoopParameter, kLastLoopParameter);
}

void CTesterLink::QueueParameterCommand(TesterCommandKind kind, unsigned parameter, unsigned first,
                                        unsigned last)
{
    if (parameter < first || parameter > last) {
        ++m_refusedCommands;
        return;
    }
    testercommand_t command;
    command.kind = kind;
    command.parameter = static_cast<uint8_t>(parameter);
    QueueCommand(command);
}

bool CTesterLink::SendCanMessage(uint8_t twoWayId, uint32_t canId, uint8_t dataCount, uint8_t rtr,
                                 const uint8_t* data)
{
    if (dataCount > kMaxDataBytes || (dataCount > 0 && data == nullptr)) {
        ++m_refusedCommands;
        return false;
    }
    testercommand_t command;
    command.kind = kCommandCanMessage;
    command.canId = canId;
    command.parameter = twoWayId;
    command.dataCount = dataCount;
    command.rtr = rtr;
    for (uint8_t i = 0; i < dataCount; ++i)
        command.data[i] = data[i];
    return QueueCommand(command);
}

void CTesterLink::StartListening()
{
    testercommand_t command;
    command.kind = kCommandStartListening;
    QueueCommand(command);
}

void CTesterLink::StopListening()
{
    testercommand_t command;
    command.kind = kCommandStopListening;
    QueueCommand(command);
}

void CTesterLink::DeliverEvents(CTamrixTesterHandlers& handlers)
{
    // The ring's lock is held only while a record is copied out, so a handler
    // may stop and restart the link.
    testerevent_t event;
    while (m_events.Pop(event))
        DispatchTesterEvent(event, handlers);
}

std::string CTesterLink::SearchFailure() const
{
    std::lock_guard<std::mutex> lock(m_searchFailureMutex);
    return m_searchFailure;
}

uint64_t CTesterLink::RefusedEvents() const
{
    return m_refusedEvents;
}

uint64_t CTesterLink::RefusedCommands() const
{
    return m_refusedCommands;
}

bool CTesterLink::QueueCommand(const testercommand_t& command)
{
    if (m_commands.Push(command))
        return true;
    ++m_refusedCommands;
    return false;
}

// Reader thread from here on.

void CTesterLink::ThreadMain()
{
    Sleep(kSearchDelay);
    m_events.Clear();
    m_commands.Clear();
    std::string failure;
    const bool opened = OpenTester(failure);
    SetSearchFailure(failure);
    if (opened) {
        Configure();
        testerevent_t connected;
        connected.kind = kEventConnected;
        PostEvent(connected);
        if (m_running) {
            ExchangeVersion();
            while (m_running)
                PollCycle();
        }
    } else {
        PostLinkLost();
    }
    m_device.Close();
}

// `failure` is set to the device layer's reason when a Tester was found but
// could not be opened, and left empty otherwise.
bool CTesterLink::OpenTester(std::string& failure)
{
    uint32_t count = 0;
    if (!m_device.CreateDeviceInfoList(count))
        return false;
    std::string description;
    for (uint32_t index = 0; index < count; ++index) {
        if (!m_device.GetDeviceDescription(index, description))
            continue;
        if (description != kTesterDescription)
            continue;
        if (m_device.Open(index))
            return true;
        failure = m_device.OpenFailure();
        return false;
    }
    return false;
}

void CTesterLink::SetSearchFailure(const std::string& failure)
{
    std::lock_guard<std::mutex> lock(m_searchFailureMutex);
    m_searchFailure.assign(failure);
}

void CTesterLink::Configure()
{
    // The Tester works with whatever the driver accepted; results are not
    // looked at.
    m_device.SetBaudRate(kBaudRate);
    m_device.SetDataCharacteristics(8, 0, 0);
    m_device.Purge(kPurgeBoth);
    m_device.SetTimeouts(kTimeoutMs, kTimeoutMs);
    m_device.SetFlowControl(0, 0, 0);
}

void CTesterLink::ExchangeVersion()
{
    WriteByte(kCommandVersion);
    // A Tester whose firmware predates the version query stays silent: the
    // time-out is its answer, not a lost link. One that is really gone fails
    // the first poll.
    char line[kReplyLineSize];
    ::ReadLine(m_device, line, sizeof line, m_running);
    testerevent_t event;
    CReplyParser::ParseVersion(line, event);
    PostEvent(event);
}

void CTesterLink::PollCycle()
{
    for (char poll : kPollCycle) {
        WriteByte(poll);
        ReadAndParseReply();
    }
    ServiceQueue();
}

void CTesterLink::ReadAndParseReply()
{
    char line[kReplyLineSize];
    ReadLine(line, sizeof line);
    testerevent_t event;
    if (CReplyParser::ParseReply(line, event))
        PostEvent(event);
}

void CTesterLink::ServiceQueue()
{
    // Once the Tester confirms that it listens for special devices, the regular
    // polls stop: the thread stays here, sending one queued command and one
    // special poll per step, until a listen toggle ends it or the link stops.
    bool listening = false;
    for (;;) {
        testercommand_t command;
        if (m_commands.Pop(command) && SendCommand(command))
            listening = ExchangeListen();
        if (!listening)
            return;
        ExchangeSpecialPoll();
        Sleep(kSpecialPollInterval);
        if (!m_running)
            return;
    }
}

// Sends `command` and handles its reply; true when it was the listen toggle,
// whose reply the caller reads.
bool CTesterLink::SendCommand(const testercommand_t& command)
{
    switch (command.kind) {
    case kCommandEmulateTransponder: {
        WriteByte(EmulationCommandByte(command.parameter));
        char line[kEmulationReplyLineSize]; // read and discarded
        ReadLine(line, sizeof line);
        return false;
    }
    case kCommandLoop: {
        char text[kLoopCommandSize];
        WriteText(text, FormatLoopCommand(command.parameter, text));
        ReadAndParseReply();
        return false;
    }
    case kCommandCanMessage:
        SendCanCommand(command);
        return false;
    case kCommandStartListening:
    case kCommandStopListening:
        WriteByte(kCommandListenToggle);
        return true;
    default:
        return false;
    }
}

void CTesterLink::SendCanCommand(const testercommand_t& command)
{
    char text[kCanCommandSize];
    WriteText(text, FormatCanMessage(command, text));
    WaitTransmit();
}

// Reads the Tester's progress lines until it reports the message done or
// refused. A Tester that never says either (unplugged, or stuck) must not hold
// the thread: the wait also ends when the link is stopped and when a read fails
// or times out, which has already been reported as a lost link. Returns true
// only for "#msg done".
bool CTesterLink::WaitTransmit()
{
    char line[kReplyLineSize];
    while (m_running) {
        const bool complete = ReadLine(line, sizeof line);
        testerevent_t event;
        const TransmitStep step = CReplyParser::ParseTransmit(line, event);
        if (step != TransmitStep::kIgnored)
            PostEvent(event);
        if (step == TransmitStep::kSucceeded)
            return true;
        if (step == TransmitStep::kFailed || !complete)
            return false;
    }
    return false;
}

bool CTesterLink::ExchangeListen()
{
    char line[kReplyLineSize];
    ReadLine(line, sizeof line);
    bool listening = false;
    testerevent_t event;
    if (CReplyParser::ParseListen(line, event, listening))
        PostEvent(event);
    return listening;
}

void CTesterLink::ExchangeSpecialPoll()
{
    WriteByte(kCommandSpecialPoll);
    char line[kReplyLineSize];
    ReadLine(line, sizeof line);
    testerevent_t event;
    if (CReplyParser::ParseSpecialPoll(line, event))
        PostEvent(event);
}

void CTesterLink::WriteByte(char byte)
{
    uint32_t transferred = 0;
    if (!m_device.Write(static_cast<uint8_t>(byte), transferred) || transferred != 1)
        PostLinkLost();
}

void CTesterLink::WriteText(const char* text, std::size_t length)
{
    // One byte per write; a failed byte is reported and the rest still sent.
    for (std::size_t i = 0; i < length; ++i)
        WriteByte(text[i]);
}

bool CTesterLink::ReadLine(char* buffer, std::size_t size)
{
    if (::ReadLine(m_device, buffer, size, m_running))
        return true;
    PostLinkLost();
    return false;
}

void CTesterLink::PostEvent(const testerevent_t& event)
{
    if (!m_events.Push(event))
        ++m_refusedEvents;
    // Wake the UI even for a refused record: a full ring is what it must drain.
    if (m_notify)
        m_notify();
}

void CTesterLink::PostLinkLost()
{
    PostEvent(testerevent_t{});
}

void CTesterLink::Sleep(std::chrono::milliseconds duration)
{
    if (m_sleep) {
        m_sleep(duration);
        return;
    }
    std::unique_lock<std::mutex> lock(m_pauseMutex);
    m_pauseWake.wait_for(lock, duration, [this] { return !m_running; });
}
