#pragma once

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The server's connection workers with a cap: `workers` connections are
// served at once and as many wait; while that many wait, the accepting
// thread waits too, and further clients stay in the kernel's listen queue.
class CBoundedTaskQueue : public httplib::TaskQueue {
  public:
    explicit CBoundedTaskQueue(size_t workers);
    ~CBoundedTaskQueue() override;

    void enqueue(std::function<void()> task) override;
    // Runs what is queued (each task closes its connection), then joins.
    void shutdown() override;

  private:
    void Work();

    size_t m_maxWaiting;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_tasks;
    std::vector<std::thread> m_threads;
    bool m_stopping = false;
};
