#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "LinePacer.h"
#include "UsbBridge.h"

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
// With a USB latency of 1 ms or more, the line then passes the Tester's USB
// bridge (CUsbBridge) and goes out whole when its last byte would reach the
// host.
class CReplyWriter {
  public:
    CReplyWriter(FaultPlan plan, double speedup, unsigned usbLatencyMs = 0);

    // Ends a wait for room on the line when it returns false (the simulator
    // is asked to stop or to unplug). Without one, a wait ends only when the
    // line takes the bytes or fails.
    void SetKeepWaiting(std::function<bool()> keepWaiting) { m_keepWaiting = std::move(keepWaiting); }

    // Writes every byte of the line: like a real Tester, whose serial line
    // never loses bytes, it waits while the host's buffer is full. False
    // when the line failed or the wait was ended; the rest is then dropped.
    bool Write(int fd, const std::string& line);

    uint64_t LinesWritten() const { return m_lines; }

  private:
    bool WaitForRoom(int fd) const;

    FaultPlan m_plan;
    std::function<bool()> m_keepWaiting;
    CLinePacer m_pacer;
    std::optional<CUsbBridge> m_bridge;
    uint64_t m_lines = 0;
};
