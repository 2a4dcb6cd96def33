#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "LockedRing.h"
#include "TesterDevice.h"
#include "TesterRecords.h"

class CTamrixTesterHandlers;

// The one link to the Tester. A reader thread does all device input and output:
// it finds and opens the Tester, polls it, sends queued commands and turns the
// replies into event records. The UI thread queues commands and drains events
// with DeliverEvents after `notify` has woken it. The two threads meet only in
// the event ring and the command queue, each behind its own short-held lock.
class CTesterLink {
  public:
    static constexpr int kEventCapacity = 64;
    static constexpr int kCommandCapacity = 4;

    // The link's pauses (100 ms before a search, 250 ms between special polls).
    using SleepFunction = std::function<void(std::chrono::milliseconds)>;

    // `notify` is called on the reader thread after each queued event; it must
    // only wake the UI thread (it carries no data).
    CTesterLink(CTesterDevice& device, std::function<void()> notify);
    // As above, with the pauses taken by `sleep` instead of the link's own
    // (which end early when the link is stopped); tests use it to run without
    // real time.
    CTesterLink(CTesterDevice& device, std::function<void()> notify, SleepFunction sleep);
    ~CTesterLink(); // stops the link
    CTesterLink(const CTesterLink&) = delete;
    CTesterLink& operator=(const CTesterLink&) = delete;

    // Start and Stop belong to the UI thread (a handler called by DeliverEvents
    // may call them); never call them from `notify`.
    void Start();
    void Stop(); // waits for the reader thread without a time limit
    bool IsRunning() const;

    // Queueing operations, UI thread. A full queue refuses the command, and so
    // does a command the Tester cannot be given (an index above 4, a loop
    // parameter outside 1 to 63, more than 8 data bytes); RefusedCommands
    // counts both. SendCanMessage tells whether the command was queued, so
    // that a message refused is not taken for one sent.
    void EmulateTransponder(unsigned index);
    void SendLoop(unsigned parameter);
    bool SendCanMessage(uint8_t twoWayId, uint32_t canId, uint8_t dataCount, uint8_t rtr,
                        const uint8_t* data);
    void StartListening();
    void StopListening();

    // Drains the event ring into `handlers`, UI thread.
    void DeliverEvents(CTamrixTesterHandlers& handlers);

    // Why the last search found a Tester but could not open it (for example
    // "no permission for /dev/ttyUSB0"); empty when it opened one or found
    // none. Any thread; the reader thread sets it before it reports the
    // search's outcome, so a handler of that event reads the matching reason.
    std::string SearchFailure() const;

    // Events refused because the ring was full; commands refused because the
    // queue was full or the Tester cannot take them.
    uint64_t RefusedEvents() const;
    uint64_t RefusedCommands() const;

  private:
    void ThreadMain();
    bool OpenTester(std::string& failure);
    void SetSearchFailure(const std::string& failure);
    void Configure();
    void ExchangeVersion();
    void PollCycle();
    void ServiceQueue();
    bool SendCommand(const testercommand_t& command);
    void SendCanCommand(const testercommand_t& command);
    bool WaitTransmit();
    bool ExchangeListen();
    void ExchangeSpecialPoll();
    void ReadAndParseReply();

    void WriteByte(char byte);
    void WriteText(const char* text, std::size_t length);
    bool ReadLine(char* buffer, std::size_t size);
    void PostEvent(const testerevent_t& event);
    void PostLinkLost();
    void Sleep(std::chrono::milliseconds duration);
    bool QueueCommand(const testercommand_t& command);
    // Queues a one-parameter command, or counts it refused when out of range.
    void QueueParameterCommand(TesterCommandKind kind, unsigned parameter, unsigned first, unsigned last);

    CTesterDevice& m_device;
    std::function<void()> m_notify;
    SleepFunction m_sleep; // empty: the link's own, stoppable pause

    std::mutex m_pauseMutex; // guards nothing but the pause's wake-up
    std::condition_variable m_pauseWake;

    std::thread m_thread;
    std::atomic<bool> m_running{false};

    CLockedRing<testerevent_t, kEventCapacity> m_events;
    CLockedRing<testercommand_t, kCommandCapacity> m_commands;
    mutable std::mutex m_searchFailureMutex; // guards m_searchFailure
    std::string m_searchFailure;
    std::atomic<uint64_t> m_refusedEvents{0};
    std::atomic<uint64_t> m_refusedCommands{0};
};
