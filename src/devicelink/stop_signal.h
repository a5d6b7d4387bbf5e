// A stop flag with a pause that ends early when the flag is set: the device threads' pauses
// (10, 100 and 1000 ms) wait on it, so stopping never waits out a pause.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tarnel {

class StopSignal {
public:
    void request() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_cv.notify_all();
    }
    void reset() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = false;
    }
    bool requested() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_stop;
    }
    // Pauses up to `ms`; true when the pause ran out, false when a stop was requested.
    bool pause(int ms) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return !m_cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stop; });
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_stop = false;
};

}  // namespace tarnel
