#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A transponder that was put in the transponder log lately.
struct deaflist_t {
    uint32_t number = 0;
    uint32_t type = 0;
    int32_t driverNumber = 0;
    int32_t remainingMs = 0;
};

// Keeps the transponder log readable: a device reported on every polling cycle
// is logged when it shows up, and again only after it has been silent for the
// deaf time.
class CDeafList {
  public:
    static constexpr int32_t kDeafTimeMs = 2000;

    // True when a row is to be logged (the device was not heard lately); either
    // way the device is deaf for the next kDeafTimeMs.
    bool Hear(uint32_t number, uint32_t type, int32_t driverNumber);

    // Ages every entry by `elapsedMs` and forgets those whose time ran out.
    void Age(int32_t elapsedMs);

    size_t GetCount() const { return m_entries.size(); }

  private:
    std::vector<deaflist_t> m_entries;
};
