#include "devicelink/event_listener.h"

#include <algorithm>
#include <string>
#include <vector>

#include "devicelink/device_connection.h"
#include "devicelink/device_match.h"
#include "devicelink/keyboard_model.h"

namespace tarnel {

EventListener::EventListener(DeviceConnection& events, EventObserver& observer)
    : m_connection(events), m_observer(observer) {}

EventListener::~EventListener() { stop(); }

void EventListener::start() {
    if (m_thread.joinable()) return;
    m_stop.reset();
    m_ended.store(false);
    m_thread = std::thread([this] { run(); });
}

void EventListener::requestStop() {
    m_stop.request();
    m_connection.Close();
}

void EventListener::join() {
    if (m_thread.joinable()) m_thread.join();
    m_workers.joinAll();
}

void EventListener::handleEvent(uint16_t code) {
    switch (code) {
        case kEventLightingChanged:
            m_observer.startTimer(kTimerReloadLighting);
            break;
        case kEventUserLightingReset:
            m_observer.startTimer(kTimerResetUserLighting);
            break;
        case kEventTrayShow:
            m_workers.run([this] { m_observer.setTrayIcon(kTrayIconEvent, false); });
            break;
        case kEventTrayRestore:
            m_workers.run([this] { m_observer.restoreTrayIcon(); });
            break;
        default:  // 0x1801-0x1804, 0 and every other code: nothing
            break;
    }
}

void EventListener::run() {
    while (!m_stop.requested()) {
        if (!m_connection.Enumerate()) break;
        walkPaths();
        m_connection.FreePaths();
        if (!m_stop.pause(kListenerPauseMs)) break;
    }
    m_ended.store(true);
}

bool EventListener::walkPaths() {
    std::string path;
    while (!m_stop.requested() && m_connection.NextPath(path)) {
        if (!CandidateModel(m_connection.backend(), path)) continue;
        if (!m_connection.Open(path, true, false, true, false)) continue;
        HidAttributes attributes = m_connection.attributes();
        bool found = FindModel(attributes.vendorId, attributes.productId) &&
                     IsConsumerCollection(m_connection.caps());
        if (found) listen();
        m_connection.Close();
        if (found) return true;
    }
    return false;
}

// Reads reports without a time limit until a read fails (removal, or a stop's Close).
void EventListener::listen() {
    size_t length = std::max<size_t>(m_connection.caps().input.reportByteLength, 1);
    std::vector<uint8_t> report(length);
    while (!m_stop.requested() && m_connection.ReadReport(report.data(), length, -1)) {
        m_connection.ParseInputReport(report.data(), length);
        handleEvent(m_connection.firstButtonUsage());
    }
}

}  // namespace tarnel
