#include "app/device_threads.h"

#include "app/app_context.h"

namespace tarnel {

DeviceThreads::DeviceThreads(AppContext& context, DeviceConnection& command,
                             DeviceConnection& events, ConnectionObserver& connectionObserver,
                             EventObserver& eventObserver)
    : m_listener(events, eventObserver),
      m_discovery(command, context.link, context.noAutoOpen, connectionObserver) {}

void DeviceThreads::start() {
    m_listener.start();
    m_discovery.start();
}

void DeviceThreads::shutdown(const std::function<void()>& cancelPendingSends) {
    m_discovery.requestStop();
    m_listener.requestStop();
    if (cancelPendingSends) cancelPendingSends();
    m_discovery.join();
    m_listener.join();
}

}  // namespace tarnel
