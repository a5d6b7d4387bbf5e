#include "devicelink/discovery.h"

#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/device_match.h"
#include "devicelink/link_state.h"

namespace tarnel {
namespace {

bool stopped(const StopSignal* stop) { return stop && stop->requested(); }

// Opens `path` for commands; the model when it is the keyboard's command interface.
const KeyboardModel* openCommandInterface(DeviceConnection& connection, HidBackend& backend,
                                          const std::string& path) {
    if (!CandidateModel(backend, path)) return nullptr;
    if (!connection.Open(path, true, true, true, false)) return nullptr;
    HidAttributes attributes = connection.attributes();
    const KeyboardModel* model = FindModel(attributes.vendorId, attributes.productId);
    if (model && IsCommandCollection(connection.caps())) return model;
    connection.Close();
    return nullptr;
}

}  // namespace

bool SearchCommandInterface(DeviceConnection& connection, HidBackend& backend, LinkState& link,
                            const StopSignal* stop) {
    std::string path;
    while (!stopped(stop) && connection.NextPath(path)) {
        const KeyboardModel* model = openCommandInterface(connection, backend, path);
        if (!model) continue;
        if (stopped(stop)) {  // a stop's Close may have come before this Open
            connection.Close();
            return false;
        }
        link.model.store(model);
        link.connected.store(true);
        return true;
    }
    return false;
}

bool ConnectFirst(DeviceConnection& connection, HidBackend& backend, LinkState& link) {
    if (!connection.Enumerate()) return false;
    bool found = SearchCommandInterface(connection, backend, link);
    connection.FreePaths();
    return found;
}

Discovery::Discovery(DeviceConnection& command, LinkState& link, std::atomic<bool>& noAutoOpen,
                     ConnectionObserver& observer)
    : m_connection(command), m_link(link), m_noAutoOpen(noAutoOpen), m_observer(observer) {}

Discovery::~Discovery() { stop(); }

void Discovery::start() {
    if (m_thread.joinable()) return;
    m_stop.reset();
    m_ended.store(false);
    m_thread = std::thread([this] { run(); });
}

void Discovery::requestStop() {
    m_stop.request();
    m_connection.Close();
}

void Discovery::join() {
    if (m_thread.joinable()) m_thread.join();
}

void Discovery::run() {
    if (m_noAutoOpen.load()) m_stop.pause(kNoAutoOpenPauseMs);
    bool firstSearch = true;
    bool alive = !m_stop.requested() && probePass();
    while (alive && !m_stop.requested()) {
        if (m_link.connected.load() && !m_connection.IsPresent(m_openPath)) {
            m_link.connected.store(false);
            m_observer.onConnectionChanged(0);
        }
        if (!m_link.connected.load()) {
            if (!m_connection.Enumerate()) break;
            bool found = searchPass();
            if (found) m_observer.onConnectionChanged(1);
            if (firstSearch && !m_stop.requested()) {
                // The first pass is reported once, whatever it found.
                firstSearch = false;
                m_observer.onConnectionChanged(m_link.connected.load() ? 1 : 0);
                if (!found) m_noAutoOpen.store(true);
            }
            m_connection.FreePaths();
        }
        if (!m_stop.pause(m_link.connected.load() ? kPresencePauseMs : kSearchPauseMs)) break;
    }
    m_ended.store(true);
}

bool Discovery::searchPass() {
    bool found = SearchCommandInterface(m_connection, m_connection.backend(), m_link, &m_stop);
    if (found) m_openPath = m_connection.path();
    return found;
}

// Opens and closes the keyboard once, asking for its information block, before the first search.
bool Discovery::probePass() {
    if (!m_connection.Enumerate()) return false;
    std::string path;
    bool found = false;
    while (!found && !m_stop.requested() && m_connection.NextPath(path)) {
        if (!openCommandInterface(m_connection, m_connection.backend(), path)) continue;
        m_link.connected.store(true);
        uint8_t info[kInfoBlockSize];
        CommandSet(m_connection, m_link).CmdReadInfo(info);  // the answer is not used
        found = true;
        m_connection.Close();
    }
    m_connection.FreePaths();
    m_link.connected.store(false);
    return true;
}

}  // namespace tarnel
