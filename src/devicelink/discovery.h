// The discovery thread: finds the keyboard's command interface, watches for its
// removal and re-arrival, and reports each change to a ConnectionObserver on its own thread.
#pragma once
#include <atomic>
#include <string>
#include <thread>

#include "devicelink/connection_observer.h"
#include "devicelink/stop_signal.h"

namespace tarnel {

class DeviceConnection;
class HidBackend;
struct LinkState;

inline constexpr int kPresencePauseMs = 100;   // while connected
inline constexpr int kSearchPauseMs = 1000;    // while not connected
inline constexpr int kNoAutoOpenPauseMs = 10;  // before the probe pass with /Start

// One search over the connection's current path list (step 3b of the discovery thread without
// the observer): the first candidate that opens with a supported pair in its attributes and the
// command collection in its caps stays open; `connected` is set and the model recorded. Other
// opened paths are closed again. False when none was found (or `stop` was requested).
bool SearchCommandInterface(DeviceConnection& connection, HidBackend& backend, LinkState& link,
                            const StopSignal* stop = nullptr);

// One-shot connection for front ends without the discovery thread: Enumerate, search, FreePaths.
// `backend` is the one the connection was made over.
bool ConnectFirst(DeviceConnection& connection, HidBackend& backend, LinkState& link);

class Discovery {
public:
    // `noAutoOpen` is AppContext's flag: read before the probe, set when the first pass finds
    // nothing. Every reference must outlive the thread (stop() joins it).
    Discovery(DeviceConnection& command, LinkState& link, std::atomic<bool>& noAutoOpen,
              ConnectionObserver& observer);
    ~Discovery();
    Discovery(const Discovery&) = delete;
    Discovery& operator=(const Discovery&) = delete;

    void start();
    // Sets the stop flag, wakes the pauses and closes the command connection, so a waiting read
    // or write fails at once. The observer's own waits are its owner's to cancel.
    void requestStop();
    void join();
    void stop() {
        requestStop();
        join();
    }
    // The thread ended by itself (enumeration failure) or was stopped.
    bool ended() const { return m_ended.load(); }

private:
    void run();
    bool probePass();
    bool searchPass();

    DeviceConnection& m_connection;
    LinkState& m_link;
    std::atomic<bool>& m_noAutoOpen;
    ConnectionObserver& m_observer;
    StopSignal m_stop;
    std::thread m_thread;
    std::atomic<bool> m_ended{false};
    std::string m_openPath;  // discovery thread only
};

}  // namespace tarnel
