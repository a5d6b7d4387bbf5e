#include "cli/cli_session.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "app/connection_change.h"
#include "app/window_port.h"
#include "devicelink/device_match.h"
#include "devicelink/discovery.h"
#include "sim/sim_keyboard.h"
#include "storage/lang_text.h"

namespace tarnel {
namespace {

// The window side of the connection change: tarnelctl has no window, so the reload and the
// editors' closing have nothing to do; a message the window would show goes to stderr.
class CliWindow : public WindowPort {
public:
    CliWindow(std::ostream& err, std::string dataDir) : m_err(err), m_lang(std::move(dataDir)) {}
    bool sendReloadProfile() override { return true; }
    bool sendCloseEditors() override { return true; }
    void hideWindow() override {}
    void postOpen() override {}
    void setTrayIcon(int, bool) override {}
    void showMessage(std::string_view langKey) override {
        m_err << "tarnelctl: " << m_lang.Text(langKey, 0) << '\n';
    }

private:
    std::ostream& m_err;
    LangText m_lang;
};

const char kHexDigits[] = "0123456789ABCDEF";

// "> " or "< " and the 64 bytes as upper-case hexadecimal pairs separated by single spaces
// (a shorter report is shown zero-padded, a longer one cut, so every line has 64).
std::string TraceLine(bool outgoing, const uint8_t* report, size_t length) {
    std::string line = outgoing ? "> " : "< ";
    for (size_t i = 0; i < kReportSize; ++i) {
        uint8_t byte = i < length ? report[i] : 0;
        if (i) line += ' ';
        line += kHexDigits[byte >> 4];
        line += kHexDigits[byte & 0x0F];
    }
    return line;
}

std::string HexLower(uint16_t value) {
    std::string text;
    for (int shift = 12; shift >= 0; shift -= 4) text += "0123456789abcdef"[(value >> shift) & 0xF];
    return text;
}

std::string UdevRule(const KeyboardModel& model) {
    std::string vid = HexLower(model.vendorId), pid = HexLower(model.productId);
    return "KERNEL==\"hidraw*\", ATTRS{idVendor}==\"" + vid + "\", ATTRS{idProduct}==\"" + pid +
           "\", TAG+=\"uaccess\"";
}

}  // namespace

std::string NoKeyboardHint(HidBackend& backend) {
    std::vector<std::string> paths;
    if (!backend.enumerate(paths)) return "no supported keyboard found (HID enumeration failed)";
    for (const auto& path : paths) {
        const KeyboardModel* model = CandidateModel(backend, path);
        if (!model) continue;
        HidOpenError error = HidOpenError::None;
        if (backend.open(path, HidOpenOptions{}, &error)) continue;
        if (error == HidOpenError::PermissionDenied)
            return "no supported keyboard found: " + path +
                   " exists but cannot be opened; allow your user with the udev rule '" +
                   UdevRule(*model) + "' in /etc/udev/rules.d/70-tarnel.rules";
    }
    return "no supported keyboard found (is it plugged in? try --simulate for the simulated "
           "keyboard)";
}

CliSession::CliSession(const CliOptions& options, const CliEnvironment& env, std::ostream& err)
    : m_options(options), m_env(env), m_err(err) {}

CliSession::~CliSession() {
    if (m_connection) m_connection->Close();
}

int CliSession::openBackend(std::string& message) {
    if (m_tap) return ExitOk;
    HidBackend* inner = nullptr;
    if (m_options.simulate) {
        if (int rc = openSimulator(message); rc != ExitOk) return rc;
        inner = m_sim.get();
    } else {
        if (m_env.systemBackend) m_system = m_env.systemBackend();
        if (!m_system) {
            message = "no supported keyboard found (this build has no hardware access; try --simulate)";
            return ExitNoKeyboard;
        }
        inner = m_system.get();
    }
    m_tap = std::make_unique<TapBackend>(
        *inner, [this](bool outgoing, const uint8_t* report, size_t length) {
            traceFrame(outgoing, report, length);
        });
    return ExitOk;
}

int CliSession::openSimulator(std::string& message) {
    m_sim = std::make_unique<sim::SimKeyboard>(*m_options.model);
    const std::string& state = m_options.statePath;
    std::error_code ec;
    if (!state.empty() && std::filesystem::exists(state, ec) && !m_sim->loadState(state)) {
        message = "the state file '" + state + "' is no simulated keyboard's state";
        return ExitUsage;
    }
    m_stateUsable = true;
    if (m_env.onSimulator) m_env.onSimulator(*m_sim);
    return ExitOk;
}

int CliSession::open(std::string& message) {
    if (int rc = openBackend(message); rc != ExitOk) return rc;
    m_connection = std::make_unique<DeviceConnection>(*m_tap);
    m_commands = std::make_unique<CommandSet>(*m_connection, m_context.link);
    if (!ConnectFirst(*m_connection, *m_tap, m_context.link)) {
        message = m_sim ? "no supported keyboard found (the simulated keyboard is unplugged)"
                        : NoKeyboardHint(*m_tap);
        return ExitNoKeyboard;
    }
    m_context.noAutoOpen.store(true);  // no window to open
    CliWindow window(m_err, m_env.dataDir);
    ConnectionChange(m_context, *m_commands, window).onConnectionChanged(1);
    m_tap->clearFailures();  // a failure while connecting was a warning, not the command's
    return ExitOk;
}

bool CliSession::save(std::string& message) {
    // An unplugged keyboard keeps the state it had before the command: the file is left alone.
    if (!m_sim || !m_stateUsable || m_options.statePath.empty() || !m_sim->isPlugged())
        return true;
    if (m_sim->saveState(m_options.statePath)) return true;
    message = "cannot write the state file '" + m_options.statePath + "'";
    return false;
}

void CliSession::traceFrame(bool outgoing, const uint8_t* report, size_t length) {
    if (!m_options.trace) return;
    std::lock_guard<std::mutex> lock(m_traceLock);
    m_err << TraceLine(outgoing, report, length) << '\n' << std::flush;
}

}  // namespace tarnel
