// The table of commands with their help texts.
#include <algorithm>

#include "cli/cli_command.h"

namespace tarnel {
namespace {

const CommandSpec kCommands[] = {
    {"list", "list", "the supported keyboards found: model and the path of each interface",
     "Lists every interface of a supported keyboard with its model, ids and role.\n"
     "Exits 3 when no keyboard's command interface can be opened.\n",
     RunList},
    {"info", "info", "model, ids, firmware, active profile, macro capacity, effects",
     "Reads the keyboard's information block.\n"
     "--json keys: model, vendorId, productId, firmware, activeProfile, macroCapacity,\n"
     "effects, userModeSupported, path.\n",
     RunInfo},
    {"profile", "profile [N]", "show the active onboard profile, or make N (0-2) active",
     "Without N: the keyboard's active onboard profile. With N (0, 1 or 2): makes it active.\n",
     RunProfile},
};

}  // namespace

std::span<const CommandSpec> Commands() { return kCommands; }

const CommandSpec* FindCommand(const std::string& name) {
    auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                           [&](const CommandSpec& c) { return name == c.name; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

}  // namespace tarnel
