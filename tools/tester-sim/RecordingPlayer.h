#pragma once

#include <chrono>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "RecordingReader.h"

// One reply of a recorded exchange: its bytes and how long after the command
// they reached the program.
struct recordedreply_t {
    std::chrono::microseconds after{0};
    std::string bytes;
};

// A command of the recording and what the Tester did about it.
struct recordedexchange_t {
    std::string command; // as the command reader gives it ("t", "l1", "m5,1a2,0,1")
    std::vector<recordedreply_t> replies;
    // The Tester went away after the replies, `unplugAfter` after the
    // command, and came back `awayFor` later unless it never came back.
    bool unplug = false;
    std::chrono::microseconds unplugAfter{0};
    bool replug = false;
    std::chrono::microseconds awayFor{0};
};

// The Tester's side of a recording, one exchange after the other. The file is
// checked whole before the first exchange, so a replay never stops half-way
// at a damaged line.
class CRecordingPlayer {
  public:
    // False with `error` ("FILE: line N: reason") when the file cannot be played.
    bool Open(const std::string& path, std::string& error);

    // The next recorded exchange; false at the end of the recording.
    bool Next(recordedexchange_t& exchange);

    // Who made the recording, as its header says.
    const std::string& Writer() const { return m_writer; }

  private:
    bool NextEvent(recordingevent_t& event);
    void FindReplug(recordedexchange_t& exchange, uint64_t unpluggedAt);

    std::ifstream m_in;
    std::unique_ptr<CRecordingReader> m_reader;
    std::optional<recordingevent_t> m_pending; // read ahead, belongs to the next exchange
    std::string m_writer;
};
