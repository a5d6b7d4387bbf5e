// The simulated keyboard across threads: a read that waits without limit ends on an unplug, an
// abort or an event from another thread; requests from several threads each get their own reply.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "sim_test_support.h"

namespace tarnel::sim::test {
namespace {

using namespace std::chrono_literals;

TEST(SimThreads, AWaitingReadEndsOnUnplugAbortOrEvent) {
    enum class End { Unplug, Abort, Event };
    for (End end : {End::Unplug, End::Abort, End::Event}) {
        SCOPED_TRACE(int(end));
        SimKeyboard k;
        auto consumer = k.open(k.consumerPath(), HidOpenOptions{});
        std::atomic<int> result{-1};
        uint8_t report[3] = {};
        std::thread reader([&] { result.store(consumer->readReport(report, sizeof report, -1)); });
        std::this_thread::sleep_for(20ms);
        EXPECT_EQ(result.load(), -1);
        if (end == End::Unplug) k.unplug();
        if (end == End::Abort) consumer->abort();
        if (end == End::Event) k.sendEvent(0x0401);
        reader.join();
        EXPECT_EQ(result.load(), end == End::Event ? 1 : 0);
        if (end == End::Event) {
            EXPECT_EQ(report[1] | report[2] << 8, 0x0401);
        }
    }
}

// Handles of two hosts on one keyboard: each reply goes to the handle that asked, with latency.
TEST(SimThreads, RepliesGoToTheHandleThatAsked) {
    SimKeyboard k;
    k.setLatencyUs(200);
    constexpr int kRounds = 50;
    auto worker = [&](uint16_t address, std::atomic<int>& good) {
        auto dev = OpenCommand(k);
        for (int i = 0; i < kRounds; ++i) {
            Frame request = Request(5, 1, address);
            Frame reply{};
            if (dev->writeReport(request.data(), request.size(), 1000) &&
                dev->readReport(reply.data(), reply.size(), 1000) && reply[5] == uint8_t(address))
                ++good;
        }
    };
    std::atomic<int> a{0}, b{0};
    std::thread first(worker, 10, std::ref(a));
    std::thread second(worker, 20, std::ref(b));
    first.join();
    second.join();
    EXPECT_EQ(a.load(), kRounds);
    EXPECT_EQ(b.load(), kRounds);
    EXPECT_EQ(k.requestCount(), size_t(2 * kRounds));
}

}  // namespace
}  // namespace tarnel::sim::test
