// The keyboard of the device-link tests: the simulator when it is built, else the stand-in.
#pragma once
#ifdef TARNEL_HAVE_SIM
#include "sim/sim_keyboard.h"
namespace tarnel::testing {
using TestKeyboard = sim::SimKeyboard;
using sim::FaultKind;
using sim::Frame;
using sim::SimArea;
}  // namespace tarnel::testing
#else
#include "fake_keyboard.h"
namespace tarnel::testing {
using TestKeyboard = fake::FakeKeyboard;
using fake::FaultKind;
using fake::Frame;
using fake::SimArea;
}  // namespace tarnel::testing
#endif

#include <chrono>
#include <functional>
#include <thread>

namespace tarnel::testing {

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
