#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

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

    // `notify` is called on the reader thread after each queued event; it must
    // only wake the UI thread (it carries no data).
    CTesterLink(CTesterDevice& device, std::function<void()> notify);
    ~CTesterLink();  // stops the link
    CTesterLink(const CTesterLink&) = delete;
    CTesterLink& operator=(const CTesterLink&) = delete;

    void Start();
    void Stop();  // waits for the reader thread without a time limit
    bool IsRunning() const;

    // Queueing operations, UI thread. A full queue refuses the command.
    void EmulateTransponder(unsigned index);
    void SendLoop(unsigned parameter);
    void SendCanMessage(uint8_t twoWayId, uint32_t canId, uint8_t dataCount, uint8_t rtr, const uint8_t* data);
    void StartListening();
    void StopListening();

    // Drains the event ring into `handlers`, UI thread.
    void DeliverEvents(CTamrixTesterHandlers& handlers);

    // Records refused because the ring or the queue was full.
    uint64_t RefusedEvents() const;
    uint64_t RefusedCommands() const;

private:
    // The reader thread's members are private; the implementation adds them here.
};
