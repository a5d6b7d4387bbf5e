#include "cli/cli_command.h"

#include <ostream>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/safe_format.h"
#include "devicelink/result.h"
#include "storage/profile_file.h"

namespace tarnel {

CommandContext::CommandContext(const CliOptions& options, const CliEnvironment& env,
                               std::ostream& out, std::ostream& err)
    : m_options(options), m_env(env), m_out(out), m_err(err), m_lang(env.dataDir) {}

PromptAnswer CliPrompter::ask(std::string_view langKey, PromptButtons buttons, PromptIcon,
                              const std::vector<std::string>& args, bool) {
    if (langKey == kImportFailedKey && !m_importFile.empty() && !shown(kProfileFormatErrorKey))
        show(kProfileFormatErrorKey, {m_importFile});
    show(langKey, args);
    return buttons == PromptButtons::Ok || buttons == PromptButtons::OkCancel ? PromptAnswer::Ok
                                                                                : PromptAnswer::Yes;
}

void CliPrompter::show(std::string_view langKey, const std::vector<std::string>& args) {
    m_shown.emplace_back(langKey);
    std::string text = m_lang ? m_lang(langKey) : std::string();
    if (text.empty()) text = std::string(langKey);
    m_err << "tarnelctl " << m_command << ": " << SafeFormat(text, args) << '\n';
}

bool CliPrompter::shown(std::string_view langKey) const {
    return std::find(m_shown.begin(), m_shown.end(), langKey) != m_shown.end();
}

CommandContext::~CommandContext() {
    m_session.reset();
    if (!m_userDataDir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_userDataDir, ec);
    }
}

CliPrompter& CommandContext::prompter() {
    if (!m_prompter) m_prompter = std::make_unique<CliPrompter>(m_err, name(), lookup());
    return *m_prompter;
}

ProfileEnv* CommandContext::profileEnv(CliSession& keyboard) {
    if (m_profileEnv) return m_profileEnv.get();
    std::error_code ec;
    std::string pattern =
        (std::filesystem::temp_directory_path(ec) / "tarnelctl-XXXXXX").string();
    if (char* dir = mkdtemp(pattern.data())) m_userDataDir = dir;
    if (m_userDataDir.empty()) {
        warn("cannot make a temporary folder for the profiles read from the keyboard");
        return nullptr;
    }
    AppContext& app = keyboard.context();
    app.paths.userDataDir = m_userDataDir;
    m_profileEnv.reset(new ProfileEnv{app, keyboard.commands(), prompter(), m_window, lookup(),
                                      {}, {}});
    return m_profileEnv.get();
}

std::string CommandContext::text(std::string_view key) const {
    if (auto it = m_texts.find(key); it != m_texts.end()) return it->second;
    std::string value = m_lang.Text(key, 0);
    if (value == kLangMissingText) value.clear();
    m_texts.emplace(std::string(key), value);
    return value;
}

CliSession* CommandContext::backendOnly(int& exitCode) {
    if (!m_session) m_session = std::make_unique<CliSession>(m_options, m_env, m_err);
    std::string message;
    exitCode = m_session->openBackend(message);
    if (exitCode == ExitOk) return m_session.get();
    m_err << "tarnelctl: " << message << '\n';
    return nullptr;
}

CliSession* CommandContext::keyboard(int& exitCode) {
    exitCode = ExitOk;
    if (m_connected) return m_session.get();
    if (!m_session) m_session = std::make_unique<CliSession>(m_options, m_env, m_err);
    std::string message;
    exitCode = m_session->open(message);
    if (exitCode != ExitOk) {
        m_err << "tarnelctl: " << message << '\n';
        return nullptr;
    }
    m_connected = true;
    return m_session.get();
}

int CommandContext::profile(CliSession& keyboard) {
    int profile = m_options.profile ? *m_options.profile : keyboard.commands().GetActiveProfile();
    if (profile < 0) {
        deviceFailure(keyboard);
        return -1;
    }
    keyboard.context().link.currentProfile.store(profile);
    return profile;
}

int CommandContext::usageError(const std::string& message) {
    m_err << "tarnelctl " << name() << ": " << message << " (see tarnelctl " << name()
          << " --help)\n";
    return ExitUsage;
}

int CommandContext::inputError(const std::string& message) {
    m_err << "tarnelctl " << name() << ": " << message << '\n';
    return ExitUsage;
}

int CommandContext::deviceFailure(CliSession& keyboard, int result) {
    FrameWatch failed = keyboard.firstFailure();
    if (failed.lastCommand < 0) failed = keyboard.lastExchange();
    if (result == ResultOk) result = failed.result();
    // Results that no exchange gives were decided before anything was sent.
    bool fromExchange = failed.lastCommand >= 0 && failed.result() == result;
    std::string command = "command " + std::to_string(failed.lastCommand) + " (" +
                          CommandName(failed.lastCommand) + ")";
    std::string what;
    if (!fromExchange)
        what = "the operation failed before anything was sent";
    else if (result == ResultStatusFF || result == ResultStatusFE)
        what = "the keyboard refused " + command;
    else if (result == ResultNoReply)
        what = "the keyboard did not answer " + command;
    else
        what = command + " could not be sent";
    m_err << "tarnelctl " << name() << ": " << what << ": result " << result << " ("
          << ResultMeaning(result) << ")\n";
    return ExitRefused;
}

int CommandContext::deviceFailure(CliSession& keyboard) { return deviceFailure(keyboard, ResultOk); }

void CommandContext::warn(const std::string& message) {
    m_err << "tarnelctl " << name() << ": " << message << '\n';
}

void CommandContext::emit(const std::vector<OutputField>& fields) {
    if (!json()) return PrintFields(m_out, fields);
    if (!m_document.is_object()) m_document = nlohmann::json::object();
    m_document.update(FieldsToJson(fields));
}

void CommandContext::emit(const OutputTable& table, const std::string& jsonKey) {
    if (!json()) return PrintTable(m_out, table);
    if (!m_document.is_object()) m_document = nlohmann::json::object();
    m_document[jsonKey] = table.toJson();
}

void CommandContext::flush() {
    if (json() && !m_document.is_null()) m_out << m_document.dump(2) << '\n';
}

}  // namespace tarnel
