#include "LinePacer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kNsPerByteAtLineRate = 10.0 * 1e9 / 115200.0;
// Weight of one wake-up in the running lateness: enough samples to smooth
// the scheduler's jitter, few enough to follow a change in machine load.
constexpr int kLeadSmoothing = 8;

} // namespace

CLinePacer::CLinePacer(double speedup) : m_nsPerByte(speedup > 0 ? kNsPerByteAtLineRate / speedup : 0.0) {}

CLinePacer::Clock::time_point CLinePacer::LineFreeAt() const
{
    const auto sent = std::llround(static_cast<double>(m_busyBytes) * m_nsPerByte);
    return m_busySince + std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(sent));
}

CLinePacer::Clock::time_point CLinePacer::Book(size_t bytes, Clock::time_point now)
{
    if (m_nsPerByte == 0.0) {
        return now;
    }
    if (now >= LineFreeAt()) {
        m_busySince = now;
        m_busyBytes = 0;
    }
    m_busyBytes += bytes;
    return std::max(now, LineFreeAt() - m_lead);
}

void CLinePacer::Woke(Clock::time_point planned, Clock::time_point woke)
{
    const Clock::duration maxLead = kMaxLead;
    const Clock::duration late =
        std::clamp<Clock::duration>(woke - planned, Clock::duration::zero(), maxLead);
    m_lead += (late - m_lead) / kLeadSmoothing;
}
