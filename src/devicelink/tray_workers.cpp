#include "devicelink/tray_workers.h"

#include <chrono>
#include <system_error>

namespace tarnel {

void TrayWorkers::run(std::function<void()> change) {
    reapFinished();
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto work = [this, done, change = std::move(change)] {
        {
            std::lock_guard<std::mutex> lock(m_trayLock);
            change();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        done->store(true);
    };
    std::thread worker;
    try {
        worker = std::thread(work);
    } catch (const std::system_error&) {
        // No thread to be had (a device flooding events): change the icon here instead of
        // ending the program.
        work();
        return;
    }
    std::lock_guard<std::mutex> lock(m_listMutex);
    m_workers.push_back({std::move(worker), std::move(done)});
}

void TrayWorkers::reapFinished() {
    std::vector<Worker> finished;
    {
        std::lock_guard<std::mutex> lock(m_listMutex);
        for (auto it = m_workers.begin(); it != m_workers.end();) {
            if (it->done->load()) {
                finished.push_back(std::move(*it));
                it = m_workers.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (Worker& w : finished) w.thread.join();
}

void TrayWorkers::joinAll() {
    std::vector<Worker> all;
    {
        std::lock_guard<std::mutex> lock(m_listMutex);
        all.swap(m_workers);
    }
    for (Worker& w : all) w.thread.join();
}

}  // namespace tarnel
