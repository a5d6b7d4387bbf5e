// Plug/unplug soak: the discovery and listener threads run against the simulated keyboard while
// it is unplugged and plugged again many times, with event reports in between. No thread may
// stick, race (TSan build) or leak (ASan build), and the end state must agree with the keyboard.
//
// Most cycles are quicker than the discovery thread's 100 ms presence check and 1 s search pause,
// so they race plugging against opening, reading and closing; a few slow cycles at the end are
// each seen by the program, and each must leave it connected exactly while plugged, with the
// profile image and the active slot's cache file loaded from what the keyboard holds then.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include <unistd.h>

#include "app/app_context.h"
#include "app/connection_change.h"
#include "app/device_threads.h"
#include "app/window_port.h"
#include "common/prompter.h"
#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/event_observer.h"
#include "fault_kit.h"
#include "model/macro_area.h"
#include "sim/sim_keyboard.h"
#include "storage/profile_actions.h"
#include "storage/profile_slots.h"
#include "storage/profile_window_port.h"

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

// The window side as the threads see it: answers at once, loads the profile image from the
// keyboard when told to reload (as the main window does), and remembers the tray icon.
class StandInWindow : public WindowPort, public EventObserver {
public:
    bool sendReloadProfile() override {
        if (onReload) onReload();
        return true;
    }
    bool sendCloseEditors() override { return true; }
    void hideWindow() override {}
    void postOpen() override {}
    void setTrayIcon(int id, bool) override { icon = id; }
    void showMessage(std::string_view) override {}
    void startTimer(int) override { ++timers; }
    void restoreTrayIcon() override {}
    std::function<void()> onReload;
    std::atomic<int> icon{0};
    std::atomic<int> timers{0};
};

// Macros the keyboard holds while it is unplugged for the n-th time: n of them.
std::vector<uint8_t> macroAreaOf(int n) {
    MacroList macros;
    for (int m = 0; m < n; ++m)
        macros.push_back({u"Soak", uint8_t(m + 1), 0, 0, {{5, uint16_t(0x1E + m), MacroPress}}});
    return BuildMacroArea(macros, MacroAreaSizes(macros).full, true);
}

constexpr int kConnectedIcon = 141;
constexpr int kDisconnectedIcon = 128;

TEST(Soak, PlugUnplugCyclesWithDeviceThreadsEndConsistent) {
    sim::SimKeyboard keyboard;
    DeviceConnection command(keyboard);
    DeviceConnection events(keyboard);
    AppContext context;
    CommandSet commands(command, context.link);
    StandInWindow window;
    const std::filesystem::path userDir =
        std::filesystem::temp_directory_path() / ("tarnel_soak_" + std::to_string(::getpid()));
    std::filesystem::remove_all(userDir);
    std::filesystem::create_directories(userDir);
    context.paths.userDataDir = userDir.string();
    OkPrompter prompter;
    ProfileWindowPort profileWindow;
    ProfileEnv env{context, commands, prompter, profileWindow, {}, {}, {}};
    window.onReload = [&] { LoadFromKeyboard(env, false); };
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
        keyboard.setArea(sim::SimArea::Macros, 0, macroAreaOf(i + 1));
        keyboard.plug();
        ASSERT_TRUE(waitUntil([&] { return context.uiConnected.load() &&
                                           window.icon.load() == kConnectedIcon; }, 4000)) << i;
        // The reload ran before the connected icon was set.
        std::lock_guard<std::recursive_mutex> data(context.dataLock);
        EXPECT_EQ(context.profileImage.macroCount, i + 1) << i;
    }
    EXPECT_TRUE(context.link.connected.load());
    const auto factory = keyboard.area(sim::SimArea::FactoryKeyTable);
    const DefaultMatrix matrix = context.defaultMatrix();
    EXPECT_TRUE(std::equal(factory.begin(), factory.end(), matrix.begin()));
    EXPECT_EQ(context.macroCapacity.load(), keyboard.area(sim::SimArea::Info)[11] * 128);
    // Cache = keyboard: the active slot's cache file is what a backup of the keyboard gives now.
    const std::string cache = SlotCachePath(context.paths.userDataDir, commands.GetActiveProfile());
    const std::string now = (userDir / "now.zkp").string();
    ASSERT_EQ(BackupKeyboard(env, now), 1);
    EXPECT_EQ(FileBytes(cache), FileBytes(now));

    const auto t0 = Clock::now();
    threads.shutdown();
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(3));  // no thread stuck
    EXPECT_TRUE(threads.discovery().ended());
    std::filesystem::remove_all(userDir);
}

}  // namespace
}  // namespace tarnel::hardening
