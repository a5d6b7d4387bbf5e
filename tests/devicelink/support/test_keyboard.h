// The keyboard of the device-link tests (and of the app tests that use this kit): the simulator.
#pragma once
#include <chrono>
#include <functional>
#include <thread>

#include "sim/sim_keyboard.h"

namespace tarnel::testing {

using TestKeyboard = sim::SimKeyboard;
using sim::FaultKind;
using sim::Frame;
using sim::SimArea;

// Polls `done` until it holds or `limitMs` passes; true when it held.
inline bool WaitUntil(const std::function<bool()>& done, int limitMs = 3000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace tarnel::testing
