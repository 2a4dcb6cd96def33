#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>

// The open sessions: random tokens that expire, at most kMaxSessions of them
// (the oldest goes first).
class CSessionTable {
  public:
    // A new token, or empty when no random bytes could be had.
    std::string Open();
    bool IsOpen(const std::string& token);
    bool Close(const std::string& token);

  private:
    using clock_t = std::chrono::steady_clock;
    void DropExpired(clock_t::time_point now);

    std::mutex m_mutex;
    std::map<std::string, clock_t::time_point> m_expiry;
};
