#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Polls `done` until it holds (true) or `limit` passes (false). Limits are
// generous: sanitizer builds on a busy machine are many times slower, and a
// test that passes waits only as long as it must.
inline bool WaitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(20),
                      std::chrono::milliseconds step = std::chrono::milliseconds(1))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(step);
    }
}
