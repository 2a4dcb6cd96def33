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
        std::lock_guard<std::mutex> lock(mutex_);
        if (count_ == Capacity)
            return false;
        records_[(read_ + count_) % Capacity] = record;
        ++count_;
        return true;
    }

    // Copies the oldest record out; false when the ring is empty.
    bool Pop(T& record)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (count_ == 0)
            return false;
        record = records_[read_];
        read_ = (read_ + 1) % Capacity;
        --count_;
        return true;
    }

    // Drops every pending record.
    void Clear()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        read_ = 0;
        count_ = 0;
    }

  private:
    std::mutex mutex_;
    std::size_t read_ = 0;
    std::size_t count_ = 0;
    std::array<T, Capacity> records_{};
};
