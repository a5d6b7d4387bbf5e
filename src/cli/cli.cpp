#include "cli/cli.h"

#include <algorithm>
#include <ostream>

#include "cli/cli_command.h"

namespace tarnel {
namespace {

const char kProgramUsage[] =
    "usage: tarnelctl [--simulate[=STATE]] [--model a|b] [--profile N] [--trace] [--json]\n"
    "                 COMMAND [ARGS]\n";

const char kOptionsHelp[] =
    "options:\n"
    "  --simulate[=STATE]  use the simulated keyboard; with STATE its memory is loaded from\n"
    "                      that file (a new keyboard when it does not exist) and saved back\n"
    "  --model a|b         the model of a new simulated keyboard (default a)\n"
    "  --profile N         the onboard profile (0-2) that per-profile commands address\n"
    "                      (default: the keyboard's active profile)\n"
    "  --trace             every report to and from the keyboard on stderr\n"
    "  --json              one JSON document on stdout\n"
    "  --help              this help; COMMAND --help: the command's help\n"
    "exit codes: 0 success, 1 the keyboard refused a command or did not answer,\n"
    "            2 bad usage or input, 3 no supported keyboard found\n";

void programHelp(std::ostream& out) {
    out << kProgramUsage << "\ncommands:\n";
    size_t width = 0;
    for (const auto& c : Commands()) width = std::max(width, std::string(c.synopsis).size());
    for (const auto& c : Commands()) {
        std::string synopsis = c.synopsis;
        synopsis.resize(width, ' ');
        out << "  " << synopsis << "  " << c.summary << '\n';
    }
    out << '\n' << kOptionsHelp;
}

void commandHelp(std::ostream& out, const CommandSpec& command) {
    out << "usage: tarnelctl [OPTIONS] " << command.synopsis << "\n\n" << command.help;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& env) {
    ParsedCommandLine parsed = ParseCommandLine(args);
    const CliOptions& options = parsed.options;
    if (!parsed.error.empty()) {
        err << "tarnelctl: " << parsed.error << " (see tarnelctl --help)\n";
        return ExitUsage;
    }
    if (options.command.empty() || options.command == "help") {
        const CommandSpec* topic = options.args.empty() ? nullptr : FindCommand(options.args[0]);
        if (topic) {
            commandHelp(out, *topic);
            return ExitOk;
        }
        if (options.command.empty() && !options.help) {
            err << kProgramUsage << "tarnelctl: a command is missing (see tarnelctl --help)\n";
            return ExitUsage;
        }
        programHelp(out);
        return ExitOk;
    }
    const CommandSpec* command = FindCommand(options.command);
    if (!command) {
        err << "tarnelctl: unknown command '" << options.command << "' (see tarnelctl --help)\n";
        return ExitUsage;
    }
    if (options.help) {
        commandHelp(out, *command);
        return ExitOk;
    }
    CommandContext context(options, env, out, err);
    int exitCode = command->run(context);
    if (CliSession* session = context.session()) {
        std::string message;
        if (!session->save(message)) {
            err << "tarnelctl: " << message << '\n';
            if (exitCode == ExitOk) exitCode = ExitUsage;
        }
    }
    context.flush();
    return exitCode;
}

}  // namespace tarnel
