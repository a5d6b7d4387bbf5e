// Plug/unplug soak: the discovery and listener threads run against the simulated keyboard while
// it is unplugged and plugged again many times, with event reports in between. No thread may
// stick, race (TSan build) or leak (ASan build), and the end state must agree with the keyboard.
//
// Most cycles are quicker than the discovery thread's 100 ms presence check and 1 s search pause,
// so they race plugging against opening, reading and closing; a few slow cycles at the end are
// each seen by the program, and each must leave it connected exactly while plugged.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "app/app_context.h"
#include "app/connection_change.h"
#include "app/device_threads.h"
#include "app/window_port.h"
#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/event_observer.h"
#include "sim/sim_keyboard.h"

namespace tarnel::hardening {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kQuickCycles = 500;
constexpr int kSeenCycles = 3;

bool waitUntil(const std::function<bool()>& done, int limitMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// The window side as the threads see it: answers at once and remembers the tray icon.
class StandInWindow : public WindowPort, public EventObserver {
public:
    bool sendReloadProfile() override { return true; }
    bool sendCloseEditors() override { return true; }
    void hideWindow() override {}
    void postOpen() override {}
    void setTrayIcon(int id, bool) override { icon = id; }
    void showMessage(std::string_view) override {}
    void startTimer(int) override { ++timers; }
    void restoreTrayIcon() override {}
    std::atomic<int> icon{0};
    std::atomic<int> timers{0};
};

constexpr int kConnectedIcon = 141;
constexpr int kDisconnectedIcon = 128;

TEST(Soak, PlugUnplugCyclesWithDeviceThreadsEndConsistent) {
    sim::SimKeyboard keyboard;
    DeviceConnection command(keyboard);
    DeviceConnection events(keyboard);
    AppContext context;
    CommandSet commands(command, context.link);
    StandInWindow window;
    ConnectionChange change(context, commands, window);
    DeviceThreads threads(context, command, events, change, window);
    threads.start();
    ASSERT_TRUE(waitUntil([&] { return context.uiConnected.load(); }, 5000));

    for (int i = 0; i < kQuickCycles; ++i) {
        keyboard.unplug();
        if (i % 3 == 0) std::this_thread::sleep_for(std::chrono::microseconds(300));
        keyboard.plug();
        keyboard.sendEvent(0x00E9);
        keyboard.sendEvent(0);
        if (i % 50 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(120));
    }
    // Settled and plugged: connected, with the connected icon and the keyboard's own tables.
    ASSERT_TRUE(waitUntil([&] { return context.uiConnected.load() && command.isOpen() &&
                                       window.icon.load() == kConnectedIcon; }, 5000));

    for (int i = 0; i < kSeenCycles; ++i) {
        keyboard.unplug();
        ASSERT_TRUE(waitUntil([&] { return !context.uiConnected.load() &&
                                           window.icon.load() == kDisconnectedIcon; }, 3000)) << i;
        EXPECT_FALSE(context.link.connected.load());
        keyboard.plug();
        ASSERT_TRUE(waitUntil([&] { return context.uiConnected.load() &&
                                           window.icon.load() == kConnectedIcon; }, 4000)) << i;
    }
    EXPECT_TRUE(context.link.connected.load());
    const auto factory = keyboard.area(sim::SimArea::FactoryKeyTable);
    const DefaultMatrix matrix = context.defaultMatrix();
    EXPECT_TRUE(std::equal(factory.begin(), factory.end(), matrix.begin()));
    EXPECT_EQ(context.macroCapacity.load(), keyboard.area(sim::SimArea::Info)[11] * 128);

    const auto t0 = Clock::now();
    threads.shutdown();
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(3));  // no thread stuck
    EXPECT_TRUE(threads.discovery().ended());
}

}  // namespace
}  // namespace tarnel::hardening
