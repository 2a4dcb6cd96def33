#include "ReplyWriter.h"

#include <poll.h>
#include <sys/prctl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

constexpr size_t kHostLineLimit = 127;
// How often a wait for room on the line asks whether to go on waiting.
constexpr int kWaitSliceMs = 50;

bool Hits(unsigned every, uint64_t lineNumber)
{
    return every != 0 && lineNumber % every == 0;
}

// Sleeps until `when` on the monotonic clock (steady_clock's on Linux). An
// absolute wake-up does not add the time spent getting here to the wait.
void SleepUntil(CLinePacer::Clock::time_point when)
{
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch()).count();
    const timespec at{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

} // namespace

std::string ApplyFaults(const FaultPlan& plan, uint64_t lineNumber, std::string line)
{
    if (Hits(plan.garbageEvery, lineNumber)) {
        line = "#?garbage;;line\r\n";
    }
    if (Hits(plan.longEvery, lineNumber)) {
        const size_t end = line.find_last_not_of("\r\n") + 1;
        line.insert(end, "," + std::string(kHostLineLimit + 20, 'Z'));
    }
    if (Hits(plan.noCrEvery, lineNumber)) {
        const size_t cr = line.rfind("\r\n");
        if (cr != std::string::npos) {
            line.erase(cr, 1);
        }
    }
    if (Hits(plan.prefixEvery, lineNumber)) {
        line.insert(0, "\x01noise\xfe");
    }
    return line;
}

CReplyWriter::CReplyWriter(FaultPlan plan, double speedup, unsigned usbLatencyMs)
    : m_plan(plan), m_pacer(speedup)
{
    if (usbLatencyMs > 0) {
        m_bridge.emplace(std::chrono::milliseconds(usbLatencyMs), CLinePacer::Clock::now());
    }
    if (speedup > 0) {
        // The default 50 us timer slack of this (the only) thread would make
        // every paced wake-up late by about that much, half a line at 10x.
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    }
}

bool CReplyWriter::Write(int fd, const std::string& line)
{
    const std::string bytes = ApplyFaults(m_plan, ++m_lines, line);
    const auto now = CLinePacer::Clock::now();
    auto wakeAt = m_pacer.Book(bytes.size(), now);
    if (m_bridge) {
        wakeAt = m_bridge->Deliver(bytes.size(), wakeAt);
    }
    if (wakeAt > now) {
        SleepUntil(wakeAt);
        m_pacer.Woke(wakeAt, CLinePacer::Clock::now());
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        // A full line (EAGAIN) is waited out; anything else is a failed line.
        const bool again = n < 0 && (errno == EINTR || (errno == EAGAIN && WaitForRoom(fd)));
        if (!again) {
            return false;
        }
    }
    return true;
}

bool CReplyWriter::WaitForRoom(int fd) const
{
    for (;;) {
        if (m_keepWaiting && !m_keepWaiting()) {
            return false;
        }
        pollfd pfd{fd, POLLOUT, 0};
        const int ready = ::poll(&pfd, 1, kWaitSliceMs);
        if (ready > 0) {
            return (pfd.revents & POLLOUT) != 0;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}
