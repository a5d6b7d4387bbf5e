// The event-listener thread: reads the keyboard's consumer-control interface and
// turns its event codes into main-window timers and tray icon changes.
#pragma once
#include <atomic>
#include <cstdint>
#include <thread>

#include "devicelink/event_observer.h"
#include "devicelink/stop_signal.h"
#include "devicelink/tray_workers.h"

namespace tarnel {

class DeviceConnection;

inline constexpr uint16_t kEventLightingChanged = 0x0401;   // -> timer 1051
inline constexpr uint16_t kEventUserLightingReset = 0x0402; // -> timer 1053
inline constexpr uint16_t kEventTrayRestore = 0x1810;       // -> RestoreTrayIcon
inline constexpr uint16_t kEventTrayShow = 0x1811;          // -> SetTrayIcon 142, not remembered
inline constexpr int kListenerPauseMs = 1000;

class EventListener {
public:
    // `events` is the event connection: used by this thread only (its reads never take the
    // transaction lock). Both references must outlive the thread (stop() joins it).
    EventListener(DeviceConnection& events, EventObserver& observer);
    ~EventListener();
    EventListener(const EventListener&) = delete;
    EventListener& operator=(const EventListener&) = delete;

    void start();
    // Sets the stop flag, wakes the pause and closes the event connection, which ends a read
    // that waits without limit at once.
    void requestStop();
    // Joins the thread and every tray worker.
    void join();
    void stop() {
        requestStop();
        join();
    }
    bool ended() const { return m_ended.load(); }

    // The action for one event code (what the thread does after each report).
    void handleEvent(uint16_t code);

private:
    void run();
    bool walkPaths();  // one enumeration; true when the event interface was found
    void listen();

    DeviceConnection& m_connection;
    EventObserver& m_observer;
    StopSignal m_stop;
    TrayWorkers m_workers;
    std::thread m_thread;
    std::atomic<bool> m_ended{false};
};

}  // namespace tarnel
