// What the hardening tests share: the faults injected, the time a faulted run may take, a
// connection to the simulated keyboard made as the program makes it, a prompter that answers
// OK, and a file's bytes.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"

#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/discovery.h"
#include "devicelink/link_state.h"
#include "devicelink/transaction.h"
#include "sim/sim_keyboard.h"

namespace tarnel::hardening {

struct Fault {
    const char* name;
    sim::FaultKind kind;
    int repeats;  // no reply must last every attempt of a transaction to fail it
};

inline constexpr Fault kQuickFaults[] = {{"status 0xFF", sim::FaultKind::StatusFF, 1},
                                         {"status 0xFE", sim::FaultKind::StatusFE, 1},
                                         {"unplug", sim::FaultKind::Unplug, 1}};
// No reply costs the whole read limit of every attempt, so matrices run it at sample frames.
inline constexpr Fault kNoReply{"no reply", sim::FaultKind::NoReply, kTransactAttempts};

inline void InjectAt(sim::SimKeyboard& keyboard, int frame, const Fault& fault) {
    for (int i = 0; i < fault.repeats; ++i) keyboard.injectFault(frame + i, fault.kind);
}

// The longest a run that sent `frames` frames may take: every attempt of every frame running
// into both limits.
inline std::chrono::milliseconds FaultedRunBound(size_t frames) {
    return std::chrono::milliseconds(4 * (kWriteLimitMs + kReadLimitMs)) *
           std::max<size_t>(frames, 1);
}

// A command connection to the simulated keyboard, made as the program makes it.
struct Link {
    explicit Link(sim::SimKeyboard& keyboard) : connection(keyboard), commands(connection, link) {
        connected = ConnectFirst(connection, keyboard, link);
    }
    DeviceConnection connection;
    LinkState link;
    CommandSet commands;
    bool connected = false;
};

// Answers every question with OK, as a user who always confirms.
class OkPrompter : public Prompter {
public:
    PromptAnswer ask(std::string_view, PromptButtons, PromptIcon, const std::vector<std::string>&,
                     bool) override {
        return PromptAnswer::Ok;
    }
};

// The whole file; empty when it cannot be read.
inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tarnel::hardening
