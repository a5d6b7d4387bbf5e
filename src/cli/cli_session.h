// The keyboard behind one tarnelctl run: the backend (the platform's or the simulated keyboard),
// the command connection, the application context and the command set, connected the way the
// program connects (the connection-change steps: factory key table, information block).
#pragma once
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>

#include "app/app_context.h"
#include "cli/cli.h"
#include "cli/cli_options.h"
#include "cli/cli_tap.h"
#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"

namespace tarnel {

class CliSession {
public:
    CliSession(const CliOptions& options, const CliEnvironment& env, std::ostream& err);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Chooses the backend, loads the simulated keyboard's state and connects. ExitOk, or
    // ExitUsage (unreadable state file) or ExitNoKeyboard; `message` then says why (one line).
    int open(std::string& message);
    // Saves the simulated keyboard's memory into its state file (when one was named and the
    // keyboard is still plugged in). False, with a message, when the file cannot be written.
    bool save(std::string& message);

    // The backend in use (tapped), once openBackend or open succeeded.
    HidBackend* backend() { return m_tap.get(); }
    sim::SimKeyboard* simulator() { return m_sim.get(); }
    AppContext& context() { return m_context; }
    CommandSet& commands() { return *m_commands; }
    DeviceConnection& connection() { return *m_connection; }
    const KeyboardModel& model() const { return m_context.link.keyboardModel(); }
    FrameWatch lastExchange() const { return m_tap ? m_tap->lastExchange() : FrameWatch{}; }
    // The first exchange that failed since the connection was made (or since the last call of
    // clearFailures); lastCommand -1 when none did.
    FrameWatch firstFailure() const { return m_tap ? m_tap->firstFailure() : FrameWatch{}; }
    void clearFailures() {
        if (m_tap) m_tap->clearFailures();
    }

    // Chooses the backend only (for `list`): ExitOk or ExitNoKeyboard with a message.
    int openBackend(std::string& message);

private:
    int openSimulator(std::string& message);
    void traceFrame(bool outgoing, const uint8_t* report, size_t length);

    const CliOptions& m_options;
    const CliEnvironment& m_env;
    std::ostream& m_err;
    std::unique_ptr<sim::SimKeyboard> m_sim;
    std::unique_ptr<HidBackend> m_system;
    std::unique_ptr<TapBackend> m_tap;
    bool m_stateUsable = false;  // the state file was loaded or did not exist: it may be written
    AppContext m_context;
    std::unique_ptr<DeviceConnection> m_connection;
    std::unique_ptr<CommandSet> m_commands;
    std::mutex m_traceLock;  // one whole line at a time, whichever thread moves the report
};

// The one-line hint of a failed search on the platform's backend: a node that exists but cannot
// be opened gets the udev rule that gives the user access.
std::string NoKeyboardHint(HidBackend& backend);

}  // namespace tarnel
