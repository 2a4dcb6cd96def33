#pragma once

#include <cstdint>
#include <string>

#include "LinePacer.h"

// Faults the simulator can put on the wire; each applies to every n-th reply
// line (0 = never). Several can hit the same line.
struct FaultPlan {
    unsigned garbageEvery = 0; // the line is replaced by one no format accepts
    unsigned prefixEvery = 0;  // noise bytes before the "#"
    unsigned longEvery = 0;    // the line is padded past the host's 127 bytes
    unsigned noCrEvery = 0;    // the line ends with "\n" only
};

// The bytes sent for reply line `lineNumber` (counting from 1) under `plan`.
std::string ApplyFaults(const FaultPlan& plan, uint64_t lineNumber, std::string line);

// Writes reply lines to the Tester's end of the line. A line goes out when
// its last byte would have left the line at 115200 baud 8N1 (10 bits a byte,
// about 87 us) sped up `speedup` times: 1 is the Tester's own line rate, 10
// ten times that, and 0 means no delay at all (as fast as the host reads).
class CReplyWriter {
  public:
    CReplyWriter(FaultPlan plan, double speedup);

    // False when the line could not be written (the line is gone or the host
    // stopped reading and the buffer is full; the rest is dropped, as a
    // serial line drops what nobody takes).
    bool Write(int fd, const std::string& line);

    uint64_t LinesWritten() const { return m_lines; }

  private:
    FaultPlan m_plan;
    CLinePacer m_pacer;
    uint64_t m_lines = 0;
};
