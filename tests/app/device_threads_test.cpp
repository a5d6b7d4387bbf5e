// The device threads driving the connection change, end to end against the test keyboard.
#include "app/device_threads.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_context.h"
#include "app/connection_change.h"
#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "recording_window.h"
#include "test_keyboard.h"

namespace tarnel::testing {
namespace {

using Calls = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

class NoEvents : public EventObserver {
public:
    void startTimer(int) override {}
    void setTrayIcon(int, bool) override {}
    void restoreTrayIcon() override {}
};

struct App {
    explicit App(const KeyboardModel& model = kModelA, bool plugged = true)
        : keyboard(model, plugged) {}
    bool has(const std::string& call) const {
        Calls c = window.calls();
        return std::find(c.begin(), c.end(), call) != c.end();
    }
    TestKeyboard keyboard;
    DeviceConnection command{keyboard};
    DeviceConnection events{keyboard};
    AppContext context;
    CommandSet commands{command, context.link};
    RecordingWindow window;
    ConnectionChange change{context, commands, window};
    NoEvents eventObserver;
    DeviceThreads threads{context, command, events, change, eventObserver};
};

TEST(DeviceThreads, KeyboardPresentAtStartOpensTheWindow) {
    App app;
    app.threads.start();
    ASSERT_TRUE(WaitUntil([&] { return app.has("OPEN"); }));
    app.threads.shutdown();
    EXPECT_EQ(app.window.calls(), (Calls{"PROF", "icon 141", "OPEN"}));
    std::vector<Frame> frames = app.keyboard.requests();
    ASSERT_GE(frames.size(), 9u);
    EXPECT_EQ(frames[0][3], 3);  // the probe
    EXPECT_EQ(frames[1][3], 15);
    EXPECT_EQ(frames[8][3], 3);
}

TEST(DeviceThreads, KeyboardPluggedLaterConnectsSilently) {
    App app(kModelA, false);
    app.threads.start();
    ASSERT_TRUE(WaitUntil([&] { return app.context.noAutoOpen.load(); }));
    app.keyboard.plug();
    ASSERT_TRUE(WaitUntil([&] { return app.has("icon 141"); }));
    app.threads.shutdown();
    EXPECT_EQ(app.window.calls(), (Calls{"PROF", "icon 141"}));
}

TEST(DeviceThreads, StartWordKeepsTheWindowClosed) {
    App app;
    app.context.noAutoOpen = true;
    app.threads.start();
    ASSERT_TRUE(WaitUntil([&] { return app.has("icon 141"); }));
    app.threads.shutdown();
    EXPECT_EQ(app.window.calls(), (Calls{"PROF", "icon 141"}));
}

TEST(DeviceThreads, UnplugIsNoticedQuickly) {
    App app;
    app.threads.start();
    ASSERT_TRUE(WaitUntil([&] { return app.has("OPEN"); }));
    app.context.link.activeProfileCache = 1;
    auto t0 = Clock::now();
    app.keyboard.unplug();
    ASSERT_TRUE(WaitUntil([&] { return !app.context.link.connected.load(); }));
    // Presence is checked every 100 ms; a generous bound for loaded machines.
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(1000));
    ASSERT_TRUE(WaitUntil([&] { return app.has("icon 128"); }));
    app.threads.shutdown();
    EXPECT_EQ(app.window.calls(),
              (Calls{"PROF", "icon 141", "OPEN", "close editors", "hide", "icon 128"}));
    EXPECT_EQ(app.context.link.activeProfileCache, -1);
}

TEST(DeviceThreads, ModelChangeReadsTheNewFactoryTable) {
    App app(kModelB);
    app.threads.start();
    ASSERT_TRUE(WaitUntil([&] { return app.has("OPEN"); }));
    std::vector<uint8_t> factoryB = app.keyboard.area(SimArea::FactoryKeyTable);
    DefaultMatrix matrix = app.context.defaultMatrix();
    ASSERT_EQ(factoryB.size(), 512u);
    EXPECT_TRUE(std::equal(factoryB.begin(), factoryB.end(), matrix.begin()));

    app.keyboard.unplug();
    ASSERT_TRUE(WaitUntil([&] { return app.has("icon 128"); }));
    app.keyboard.replaceWith(kModelA);
    app.keyboard.plug();
    ASSERT_TRUE(WaitUntil([&] { return app.window.calls().back() == "icon 141"; }));
    app.threads.shutdown();
    EXPECT_EQ(app.context.link.keyboardModel().keyTableSize, 378);
    std::vector<uint8_t> factoryA = app.keyboard.area(SimArea::FactoryKeyTable);
    matrix = app.context.defaultMatrix();
    EXPECT_TRUE(std::equal(factoryA.begin(), factoryA.end(), matrix.begin()));
    EXPECT_TRUE(std::all_of(matrix.begin() + 378, matrix.end(), [](uint8_t b) { return b == 0; }));
}

TEST(DeviceThreads, ShutdownWithBothThreadsBusyEndsWithinASecond) {
    App app;
    app.window.holdSends();  // the window never answers 'PROF'
    app.threads.start();
    ASSERT_TRUE(WaitUntil([&] { return app.window.waiting() && app.events.readPending(); }));
    auto t0 = Clock::now();
    app.threads.shutdown([&] { app.window.cancel(); });
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(1000));
    EXPECT_TRUE(app.threads.discovery().ended());
    EXPECT_TRUE(app.threads.listener().ended());
}

TEST(DeviceThreads, ShutdownWhileSearchingEndsWithinASecond) {
    App app(kModelA, false);
    app.threads.start();
    ASSERT_TRUE(WaitUntil([&] { return app.context.noAutoOpen.load(); }));
    auto t0 = Clock::now();
    app.threads.shutdown();
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(1000));
}

}  // namespace
}  // namespace tarnel::testing
