// The global options of tarnelctl and the split of the command line into options, the command
// and its arguments.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "devicelink/keyboard_model.h"

namespace tarnel {

struct CliOptions {
    bool simulate = false;
    std::string statePath;  // --simulate=STATE; empty: a fresh simulated keyboard, not kept
    const KeyboardModel* model = &kModelA;  // for a new simulated keyboard
    std::optional<int> profile;             // --profile N (0..2)
    bool trace = false;
    bool json = false;
    bool help = false;
    std::string command;            // empty when none was given
    std::vector<std::string> args;  // the command's arguments, in order
};

struct ParsedCommandLine {
    CliOptions options;
    std::string error;  // empty when the command line is well-formed
};

// Global options may stand anywhere; the first word that is no option is the command and the
// words after it are its arguments. "--" ends the options: every later word is an argument.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// A whole decimal number in [low, high]; nothing for anything else ("1x", "", " 2", "+1").
std::optional<int> ParseIntInRange(const std::string& text, int low, int high);

}  // namespace tarnel
