#include "SessionTable.h"

#include <openssl/rand.h>

#include <algorithm>

namespace {

constexpr std::chrono::minutes kLifetime{10};
constexpr size_t kMaxSessions = 1024;
constexpr int kTokenBytes = 32;

} // namespace

std::string CSessionTable::Open()
{
    unsigned char bytes[kTokenBytes];
    if (RAND_bytes(bytes, kTokenBytes) != 1) {
        return {};
    }
    static const char kHex[] = "0123456789abcdef";
    std::string token;
    for (unsigned char byte : bytes) {
        token += kHex[byte >> 4];
        token += kHex[byte & 15];
    }
    const auto now = clock_t::now();
    std::lock_guard lock(m_mutex);
    DropExpired(now);
    if (m_expiry.size() >= kMaxSessions) {
        m_expiry.erase(std::min_element(m_expiry.begin(), m_expiry.end(),
                                        [](const auto& a, const auto& b) { return a.second < b.second; }));
    }
    m_expiry[token] = now + kLifetime;
    return token;
}

bool CSessionTable::IsOpen(const std::string& token)
{
    std::lock_guard lock(m_mutex);
    DropExpired(clock_t::now());
    return m_expiry.count(token) != 0;
}

bool CSessionTable::Close(const std::string& token)
{
    std::lock_guard lock(m_mutex);
    return m_expiry.erase(token) != 0;
}

void CSessionTable::DropExpired(clock_t::time_point now)
{
    std::erase_if(m_expiry, [now](const auto& entry) { return entry.second <= now; });
}
