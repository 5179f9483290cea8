#include "engine/detail/background_release.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace engine::detail {

namespace {

// Set once the worker has ended with the program's static objects; objects let go
// of after that (by other static objects ending) are freed in place.
std::atomic<bool> g_workerGone{false};

class ReleaseWorker {
public:
    ~ReleaseWorker() {
        g_workerGone = true;
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable()) m_thread.join();
    }

    void add(std::function<void()> task) {
        {
            std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(task));
            if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
        }
        m_wake.notify_all();
    }

    void waitIdle() {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [&] { return m_tasks.empty() && !m_busy; });
    }

private:
    void run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [&] { return m_stopping || !m_tasks.empty(); });
            if (m_tasks.empty()) return;  // stopping, nothing left
            std::function<void()> task = std::move(m_tasks.front());
            m_tasks.pop_front();
            m_busy = true;
            lock.unlock();
            task();
            task = nullptr;  // whatever it still held goes here, outside the lock
            lock.lock();
            m_busy = false;
            if (m_tasks.empty()) m_idle.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_tasks;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

ReleaseWorker& worker() {
    static ReleaseWorker instance;
    return instance;
}

}  // namespace

void releaseInBackground(std::function<void()> drop) {
    if (!drop) return;
    if (g_workerGone) {
        drop();
        return;
    }
    worker().add(std::move(drop));
}

void waitForBackgroundReleases() {
    if (!g_workerGone) worker().waitIdle();
}

}  // namespace engine::detail
