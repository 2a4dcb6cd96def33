#pragma once

#include "TesterRecords.h"

// What one line read during the transmission wait means for the wait.
enum class TransmitStep {
    kIgnored,   // no event; the wait goes on
    kGoOn,      // an event; the wait goes on
    kSucceeded, // an event ("#msg done"); the wait ends
    kFailed,    // an event ("#invalid parameter"); the wait ends
};

// Turns the Tester's reply lines into event records, one parser per exchange.
// Each takes the NUL-terminated line as the line reader stored it (bytes after
// an embedded NUL are not seen) and fills `event` only when it makes one.
// No thread, no device: the reader thread reads, these decide.
class CReplyParser {
  public:
    // The reply to a poll or to the loop command; false when the line makes no
    // event ("#no ...", an unknown or malformed line).
    static bool ParseReply(const char* line, testerevent_t& event);

    // The reply to "v": a version-known event, or a version-unknown one.
    static void ParseVersion(const char* line, testerevent_t& event);

    // The reply to the listen toggle. `listening` becomes true only when the
    // Tester confirmed that it listens; false when no event is made.
    static bool ParseListen(const char* line, testerevent_t& event, bool& listening);

    // The reply to the special poll "d"; false when the line makes no event.
    static bool ParseSpecialPoll(const char* line, testerevent_t& event);

    // One line of the transmission wait after a CAN message.
    static TransmitStep ParseTransmit(const char* line, testerevent_t& event);
};
