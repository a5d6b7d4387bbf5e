// tarnelctl, the command-line front end. RunCli is the whole program behind main(): tests call
// it with their own streams and hooks, the executable with the process's.
#pragma once
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace tarnel {

class HidBackend;
namespace sim {
class SimKeyboard;
}

// Exit codes of tarnelctl.
enum CliExit : int {
    ExitOk = 0,
    ExitRefused = 1,     // the keyboard refused a command or did not answer
    ExitUsage = 2,       // bad usage or bad input (command, value, file)
    ExitNoKeyboard = 3,  // no supported keyboard found
};

struct CliEnvironment {
    // The platform's HID access; empty when this build has none (then only --simulate works).
    std::function<std::unique_ptr<HidBackend>()> systemBackend;
    // Called with the simulated keyboard after its state is loaded and before the command runs:
    // tests inject faults here.
    std::function<void(sim::SimKeyboard&)> onSimulator;
    // The folder holding the language files (Lang0409.ini).
    std::string dataDir;
};

// args[0] is the program name. Output on `out`, messages and the trace on `err`.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& env);

}  // namespace tarnel
