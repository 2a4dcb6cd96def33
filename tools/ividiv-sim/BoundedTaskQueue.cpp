#include "BoundedTaskQueue.h"

CBoundedTaskQueue::CBoundedTaskQueue(size_t workers) : m_maxWaiting(workers)
{
    for (size_t i = 0; i < workers; ++i) {
        m_threads.emplace_back([this] { Work(); });
    }
}

CBoundedTaskQueue::~CBoundedTaskQueue()
{
    shutdown();
}

void CBoundedTaskQueue::enqueue(std::function<void()> task)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stopping || m_tasks.size() < m_maxWaiting; });
    m_tasks.push_back(std::move(task));
    m_changed.notify_all();
}

void CBoundedTaskQueue::shutdown()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads) {
        if (thread.joinable()) {
            thread.join();
        }
    }
}

void CBoundedTaskQueue::Work()
{
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
            if (m_tasks.empty()) {
                return; // stopping and drained
            }
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        m_changed.notify_all();
        task();
    }
}
