#pragma once

#include <array>
#include <cstddef>
#include <mutex>

// A fixed ring of records shared by one writer thread and one reader thread.
// Each operation holds the ring's own lock only while one record is copied, so
// two rings never need a lock order. A full ring refuses the new record rather
// than overwriting pending ones: the caller learns of the refusal and counts it.
template <typename T, std::size_t Capacity> class CLockedRing {
  public:
    // Copies `record` in; false when the ring is full (nothing is stored).
    bool Push(const T& record)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_count == Capacity)
            return false;
        m_records[(m_read + m_count) % Capacity] = record;
        ++m_count;
        return true;
    }

    // Copies the oldest record out; false when the ring is empty.
    bool Pop(T& record)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_count == 0)
            return false;
        record = m_records[m_read];
        m_read = (m_read + 1) % Capacity;
        --m_count;
        return true;
    }

    // Drops every pending record.
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_read = 0;
        m_count = 0;
    }

  private:
    std::mutex m_mutex;
    std::size_t m_read = 0;
    std::size_t m_count = 0;
    std::array<T, Capacity> m_records{};
};
