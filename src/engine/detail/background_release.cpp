#include "engine/detail/background_release.h"

#include <cstdlib>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace engine::detail {

namespace {

// The one worker of the process. It is made at first use and never destroyed, so
// that it can still be asked once it has stopped: it stops at exit, after every
// queued task has run (and after the static objects made since its first task
// have ended), and a task given later, by a static object ending with a snapshot
// of a workbook, runs in place.
class ReleaseWorker {
public:
    static ReleaseWorker& instance() {
        static ReleaseWorker* const worker = new ReleaseWorker;
        return *worker;
    }

    void add(std::function<void()> task) {
        {
            std::lock_guard lock(m_mutex);
            if (!m_stopping) {
                m_tasks.push_back(std::move(task));
                if (!m_thread.joinable()) {
                    m_thread = std::thread([this] { run(); });
                    std::atexit([] { instance().stop(); });
                }
                m_wake.notify_all();
                return;
            }
        }
        task();
    }

    void waitIdle() {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [&] { return m_stopping || (m_tasks.empty() && !m_busy); });
    }

private:
    ReleaseWorker() = default;

    void stop() {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        m_idle.notify_all();
        if (m_thread.joinable()) m_thread.join();
    }

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

}  // namespace

void releaseInBackground(std::function<void()> drop) {
    if (drop) ReleaseWorker::instance().add(std::move(drop));
}

void waitForBackgroundReleases() { ReleaseWorker::instance().waitIdle(); }

}  // namespace engine::detail
