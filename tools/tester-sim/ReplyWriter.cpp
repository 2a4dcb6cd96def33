#include "ReplyWriter.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace {

constexpr double kSecondsPerByte = 10.0 / 115200.0;
constexpr size_t kHostLineLimit = 127;

bool Hits(unsigned every, uint64_t lineNumber)
{
    return every != 0 && lineNumber % every == 0;
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

bool CReplyWriter::Write(int fd, const std::string& line)
{
    const std::string bytes = ApplyFaults(m_plan, ++m_lines, line);
    if (m_speedup > 0) {
        std::this_thread::sleep_for(
            std::chrono::duration<double>(bytes.size() * kSecondsPerByte / m_speedup));
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}
