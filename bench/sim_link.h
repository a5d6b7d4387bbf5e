// A connection to the simulated keyboard for the benchmarks, made the way the program makes it.
#pragma once
#include <cstdlib>

#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/discovery.h"
#include "devicelink/link_state.h"
#include "sim/sim_keyboard.h"

namespace tarnel::bench {

struct SimLink {
    explicit SimLink(const KeyboardModel& model = kModelA) : keyboard(model) {
        if (!ConnectFirst(connection, keyboard, link)) std::abort();
    }
    sim::SimKeyboard keyboard;
    DeviceConnection connection{keyboard};
    LinkState link;
    CommandSet commands{connection, link};
};

}  // namespace tarnel::bench
