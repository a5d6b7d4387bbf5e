// What a command handler gets: its arguments, the options, the output helpers, and the keyboard,
// connected on first use (after the arguments have been checked, so bad input never reaches it).
#pragma once
#include <iosfwd>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/cli.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/cli_session.h"
#include "model/key_table.h"
#include "common/prompter.h"
#include "storage/lang_text.h"
#include "storage/profile_actions.h"
#include "storage/profile_window_port.h"

namespace tarnel {

// The core's questions and messages on stderr, "tarnelctl COMMAND: text"; an Ok box is
// answered Ok, a question Yes (tarnelctl runs only what its command line asked for). Each
// language key shown is remembered, so a handler can tell why an operation gave up.
class CliPrompter : public Prompter {
public:
    CliPrompter(std::ostream& err, std::string command, LangLookup lang)
        : m_err(err), m_command(std::move(command)), m_lang(std::move(lang)) {}
    PromptAnswer ask(std::string_view langKey, PromptButtons buttons, PromptIcon icon,
                     const std::vector<std::string>& args, bool topmost) override;
    bool shown(std::string_view langKey) const;
    // The profile file being imported: a refusal that came without saying what is wrong with
    // the file (a missing or short file) names it with PROFILE_FORMAT_ERROR first.
    void setImportFile(std::string path) { m_importFile = std::move(path); }

private:
    void show(std::string_view langKey, const std::vector<std::string>& args);

    std::ostream& m_err;
    std::string m_command;
    LangLookup m_lang;
    std::vector<std::string> m_shown;
    std::string m_importFile;
};

class CommandContext {
public:
    CommandContext(const CliOptions& options, const CliEnvironment& env, std::ostream& out,
                   std::ostream& err);
    ~CommandContext();

    const CliOptions& options() const { return m_options; }
    const std::vector<std::string>& args() const { return m_options.args; }
    const std::string& name() const { return m_options.command; }
    bool json() const { return m_options.json; }
    std::ostream& out() { return m_out; }
    std::ostream& err() { return m_err; }
    const CliEnvironment& env() const { return m_env; }
    // The English texts (language index 0) from the data folder.
    const LangText& lang() const { return m_lang; }
    // The text of a language key, "" when the file has none (a lookup function for the model).
    std::string text(std::string_view key) const;
    LangLookup lookup() const {
        return [this](std::string_view key) { return text(key); };
    }

    // The connected keyboard, or nullptr after the failure has been reported; `exitCode` is
    // then the code to end with (2 or 3).
    CliSession* keyboard(int& exitCode);
    // The session without connecting (the backend only), for `list`.
    CliSession* backendOnly(int& exitCode);
    CliSession* session() { return m_session.get(); }
    // The profile per-profile commands address: --profile, else the keyboard's active one
    // (GetActiveProfile). -1 after a reported failure. Also sets `currentProfile`.
    int profile(CliSession& keyboard);

    // What the profile store works with, over this keyboard. Its user data folder (the slots'
    // cache files) is a private temporary folder of this run, removed at the end: the keyboard
    // itself is what tarnelctl reads and writes. Null, after a message, when that folder cannot
    // be made.
    ProfileEnv* profileEnv(CliSession& keyboard);
    CliPrompter& prompter();

    // Messages on stderr, "tarnelctl COMMAND: ..."; each returns the exit code to end with.
    int usageError(const std::string& message);  // 2, with a pointer to --help
    int inputError(const std::string& message);  // 2
    // 1: the command the keyboard refused or did not answer (the first exchange that failed),
    // and the result code.
    int deviceFailure(CliSession& keyboard, int result);
    // 1, for an operation whose failure is known only from the last exchange.
    int deviceFailure(CliSession& keyboard);
    void warn(const std::string& message);

    // Output: a JSON document (printed at the end) or text right away.
    void emit(const std::vector<OutputField>& fields);
    void emit(const OutputTable& table, const std::string& jsonKey);
    nlohmann::json& document() { return m_document; }
    // Prints the JSON document when one was built.
    void flush();

private:
    const CliOptions& m_options;
    const CliEnvironment& m_env;
    std::ostream& m_out;
    std::ostream& m_err;
    LangText m_lang;
    mutable std::map<std::string, std::string, std::less<>> m_texts;  // the file is read once a key
    std::unique_ptr<CliSession> m_session;
    bool m_connected = false;
    nlohmann::json m_document;
    std::unique_ptr<CliPrompter> m_prompter;
    ProfileWindowPort m_window;  // no window: every query answers "nothing open, nothing pending"
    std::unique_ptr<ProfileEnv> m_profileEnv;
    std::string m_userDataDir;
};

struct CommandSpec {
    const char* name;
    const char* synopsis;  // "profile [N]"
    const char* summary;   // one line for the program's help
    const char* help;      // the command's --help text after its synopsis
    int (*run)(CommandContext& context);
};

// Every command, in the order the program's help lists them.
std::span<const CommandSpec> Commands();
const CommandSpec* FindCommand(const std::string& name);

// The handlers, one per command.
int RunList(CommandContext& context);
int RunInfo(CommandContext& context);
int RunProfile(CommandContext& context);
int RunLighting(CommandContext& context);
int RunKeyColors(CommandContext& context);
int RunKeyColor(CommandContext& context);
int RunBackup(CommandContext& context);
int RunRestore(CommandContext& context);
int RunShow(CommandContext& context);
int RunAssign(CommandContext& context);
int RunMacro(CommandContext& context);

}  // namespace tarnel
