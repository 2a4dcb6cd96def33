#pragma once

#include <cstdint>
#include <string>

#include "RecordingReader.h"
#include "TamrixTesterHandlers.h"
#include "TesterDevice.h"
#include "TesterRecords.h"

// Reads a recorded session back as the events the link made of it, without
// a Tester and without the link's thread: each recorded reply goes through
// the link's own line reader and the parser of the exchange its command
// began, so the handlers see what the program saw on site. The recorded
// commands, not a polling loop, say which parser applies, so listening and
// CAN exchanges read back as they happened.
class CRecordedSession {
  public:
    explicit CRecordedSession(CTamrixTesterHandlers& handlers);

    // Plays everything `reader` holds; false when it stopped at an error
    // (reader.Error() says which line).
    bool Play(CRecordingReader& reader);

    // The recorded time of the event being handled, microseconds since the
    // recording began.
    uint64_t Micros() const { return m_micros; }

  private:
    void Begin(const recordingevent_t& event);
    void Finish();
    void DeliverReplies();
    // One reply line as the link reads it; false when the reply ran out.
    bool ReadReplyLine(CTesterDevice& device, char* line, size_t size);
    void Deliver(const testerevent_t& event);
    void Disconnected();

    CTamrixTesterHandlers& m_handlers;
    uint64_t m_micros = 0;
    std::string m_command; // empty while no exchange is open
    std::string m_reply;
    bool m_lost = false;          // the exchange ended in a lost link
    bool m_lossDelivered = false; // and the handlers heard of it
};
