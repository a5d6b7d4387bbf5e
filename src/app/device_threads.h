// The two device threads of the program with the shutdown order of DESIGN.md:
// stop flags, abort the connections, cancel any pending send-and-wait, join.
#pragma once
#include <functional>

#include "devicelink/discovery.h"
#include "devicelink/event_listener.h"

namespace tarnel {

struct AppContext;
class DeviceConnection;

class DeviceThreads {
public:
    // Every reference must outlive this object (its destructor joins the threads).
    DeviceThreads(AppContext& context, DeviceConnection& command, DeviceConnection& events,
                  ConnectionObserver& connectionObserver, EventObserver& eventObserver);
    ~DeviceThreads() { shutdown(); }
    DeviceThreads(const DeviceThreads&) = delete;
    DeviceThreads& operator=(const DeviceThreads&) = delete;

    // The listener first, just before the discovery thread (dialog initialisation step 6).
    void start();
    // `cancelPendingSends` makes the window port's waits return false (see window_port.h).
    void shutdown(const std::function<void()>& cancelPendingSends = {});

    Discovery& discovery() { return m_discovery; }
    EventListener& listener() { return m_listener; }

private:
    EventListener m_listener;
    Discovery m_discovery;
};

}  // namespace tarnel
