#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "RecordingFormat.h"

// Writes a recording as it happens: each event is one line and one write(),
// so whatever ends the program, the file holds every event before it. A
// recording that cannot go on (a full disk, a file that cannot be created)
// says so once and stops; the caller carries on without it.
class CRecordingWriter {
  public:
    // The most bytes one event carries; longer runs are split by the caller.
    static constexpr size_t kMaxEventBytes = 256;

    using ComplaintFunction = std::function<void(const std::string&)>;

    // Complaints go to stderr.
    CRecordingWriter();
    explicit CRecordingWriter(ComplaintFunction complain);
    ~CRecordingWriter();
    CRecordingWriter(const CRecordingWriter&) = delete;
    CRecordingWriter& operator=(const CRecordingWriter&) = delete;

    // Creates (or empties) `path` and writes the header naming the program
    // and its version. False, after saying why, when it cannot.
    bool Open(const std::string& path, const std::string& program, const std::string& version);
    bool IsRecording() const { return m_fd >= 0; }

    // Microseconds since Open.
    uint64_t Now() const;
    // One event line; `count` is at most kMaxEventBytes. Does nothing once
    // the recording has stopped.
    void Write(uint64_t micros, RecordingKind kind, const uint8_t* bytes = nullptr, size_t count = 0);

  private:
    bool WriteLine(const char* line, size_t length);
    void Stop(const std::string& why);

    ComplaintFunction m_complain;
    int m_fd = -1;
    std::string m_path;
    std::string m_program;
    uint64_t m_size = 0; // bytes of whole lines written
    std::chrono::steady_clock::time_point m_start;
    char m_line[24 + 16 + kMaxEventBytes * kMaxEscapedByteSize + 1];
};
