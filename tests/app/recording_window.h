// A main window that records what the connection change asks of it. Its sends can be made to
// wait until cancelled, like the program's queued sends at shutdown.
#pragma once
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "app/window_port.h"

namespace tarnel::testing {

class RecordingWindow : public WindowPort {
public:
    bool sendReloadProfile() override { return send("PROF"); }
    bool sendCloseEditors() override { return send("close editors"); }
    void hideWindow() override { add("hide"); }
    void postOpen() override { add("OPEN"); }
    void setTrayIcon(int id, bool remember) override {
        add("icon " + std::to_string(id) + (remember ? "" : " once"));
    }
    void showMessage(std::string_view key) override { add("message " + std::string(key)); }

    // Sends wait from now on until cancel().
    void holdSends() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hold = true;
    }
    void cancel() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_cancelled = true;
        }
        m_cv.notify_all();
    }
    bool waiting() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_waiting;
    }
    std::vector<std::string> calls() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }

private:
    void add(std::string call) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    bool send(const char* what) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_calls.emplace_back(what);
        if (!m_hold) return !m_cancelled;
        m_waiting = true;
        m_cv.wait(lock, [this] { return m_cancelled; });
        m_waiting = false;
        return false;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<std::string> m_calls;
    bool m_hold = false;
    bool m_cancelled = false;
    bool m_waiting = false;
};

}  // namespace tarnel::testing
