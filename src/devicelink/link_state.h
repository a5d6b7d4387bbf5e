// Process-wide state of the device link, shared by the UI, discovery and listener threads.
// Each field is one atomic word (several threads read and write them without a common lock).
#pragma once
#include <atomic>

#include "devicelink/keyboard_model.h"

namespace tarnel {

struct LinkState {
    // True while the command interface of a supported keyboard is open and present.
    // Written only by the discovery thread (and by ConnectFirst for one-shot front ends).
    std::atomic<bool> connected{false};
    // The keyboard's active profile as last read or written, -1 while unknown.
    std::atomic<int> activeProfileCache{-1};
    // The profile the user is editing; command 17 writes into it.
    std::atomic<int> currentProfile{0};
    // The connected model (model A before the first connection).
    std::atomic<const KeyboardModel*> model{&kModelA};

    const KeyboardModel& keyboardModel() const { return *model.load(); }
};

}  // namespace tarnel
