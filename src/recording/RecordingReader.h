#pragma once

#include <cstddef>
#include <istream>
#include <string>

#include "RecordingFormat.h"

// Reads a recording one event at a time, checking as it goes. A file it does
// not understand (not a recording, another format version, a line that is
// not an event, events out of order, a file cut off inside a line) ends the
// reading with an error that names the line and the reason; it never trusts
// what it reads, so any bytes at all are safe to give it.
class CRecordingReader {
  public:
    // Longer lines than a writer ever makes are not a recording.
    static constexpr size_t kMaxLineLength = 4096;

    // Reads the header; Error() tells when it is not one.
    explicit CRecordingReader(std::istream& in);

    // The next event; false at the end of the recording and on an error.
    bool Next(recordingevent_t& event);

    // "line N: reason", empty while all is well.
    const std::string& Error() const { return m_error; }
    // Who wrote it: program, version and start time as the header says.
    const std::string& Writer() const { return m_writer; }

  private:
    // One line without its line feed; false at the end of the file or when
    // the line is unreadable (Error() then tells why).
    bool ReadLine();
    bool ReadHeader();
    bool ParseEvent(recordingevent_t& event);
    bool CheckOrder(const recordingevent_t& event);
    bool Fail(const std::string& reason);

    std::istream& m_in;
    std::string m_line;
    size_t m_lineNumber = 0;
    std::string m_error;
    std::string m_writer;
    uint64_t m_lastMicros = 0;
    bool m_open = false; // between a plug and its close
    bool m_gone = false; // after the unplug of this opening
};

// Checks a whole recording; false with `error` ("line N: reason") when it
// cannot be played. `writer` receives the header's text.
bool CheckRecordingFile(const std::string& path, std::string& writer, std::string& error);
