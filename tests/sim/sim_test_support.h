// Talks to the simulated keyboard the way the host does: whole 64-byte reports on an open handle.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>

#include "sim/sim_keyboard.h"

namespace tarnel::sim::test {

inline Frame Request(uint8_t command, uint8_t length, uint16_t address,
                     std::initializer_list<uint8_t> payload = {}) {
    Frame f{};
    f[0] = 4, f[3] = command, f[4] = length, f[5] = uint8_t(address), f[6] = uint8_t(address >> 8);
    size_t i = 8;
    for (uint8_t b : payload) f[i++] = b;
    unsigned sum = 0;
    for (size_t k = 3; k < f.size(); ++k) sum += f[k];
    f[1] = uint8_t(sum), f[2] = uint8_t(sum >> 8);
    return f;
}

inline std::unique_ptr<HidDevice> OpenCommand(SimKeyboard& k) {
    return k.open(k.commandPath(), HidOpenOptions{});
}

// Writes the request and reads its reply; a missing reply fails the test.
inline Frame Exchange(HidDevice& device, const Frame& request) {
    Frame reply{};
    EXPECT_TRUE(device.writeReport(request.data(), request.size(), 1000));
    EXPECT_TRUE(device.readReport(reply.data(), reply.size(), 1000));
    return reply;
}

}  // namespace tarnel::sim::test
