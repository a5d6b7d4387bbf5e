// The short-lived tray workers of the event listener: each runs one icon change on its own thread, one at
// a time under their own lock (taken alone, never with another lock), then pauses 1 ms.
// Every worker is joined by joinAll() (or the destructor), so none outlives what it touches.
#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tarnel {

class TrayWorkers {
public:
    TrayWorkers() = default;
    ~TrayWorkers() { joinAll(); }
    TrayWorkers(const TrayWorkers&) = delete;
    TrayWorkers& operator=(const TrayWorkers&) = delete;

    void run(std::function<void()> change);
    void joinAll();

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    void reapFinished();

    std::mutex m_listMutex;
    std::vector<Worker> m_workers;
    std::mutex m_trayLock;  // the workers' own lock
};

}  // namespace tarnel
