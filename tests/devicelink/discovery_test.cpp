#include "devicelink/discovery.h"

#include <gtest/gtest.h>

#include <mutex>

#include "devicelink/device_connection.h"
#include "devicelink/device_match.h"
#include "devicelink/link_state.h"
#include "filtered_backend.h"
#include "test_keyboard.h"

namespace tarnel::testing {
namespace {

class RecordingObserver : public ConnectionObserver {
public:
    void onConnectionChanged(int state) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_states.push_back(state);
    }
    std::vector<int> states() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_states;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<int> m_states;
};

struct Rig {
    explicit Rig(const KeyboardModel& model = kModelA, bool plugged = true)
        : keyboard(model, plugged) {}
    TestKeyboard keyboard;
    DeviceConnection connection{keyboard};
    LinkState link;
    std::atomic<bool> noAutoOpen{false};
    RecordingObserver observer;
    Discovery discovery{connection, link, noAutoOpen, observer};
};

TEST(Discovery, KeyboardPresentAtStart) {
    Rig rig;
    rig.discovery.start();
    ASSERT_TRUE(WaitUntil([&] { return rig.observer.states().size() >= 2; }));
    EXPECT_EQ(rig.observer.states(), (std::vector<int>{1, 1}));  // found, then the first pass
    EXPECT_TRUE(rig.link.connected);
    EXPECT_FALSE(rig.noAutoOpen);
    std::vector<Frame> frames = rig.keyboard.requests();
    ASSERT_EQ(frames.size(), 1u);  // the probe's information block read
    EXPECT_EQ(frames[0][3], 3);
    EXPECT_TRUE(IsCommandCollection(rig.connection.caps()));
}

TEST(Discovery, AbsentAtStartThenPluggedThenUnplugged) {
    Rig rig(kModelB, false);
    rig.discovery.start();
    ASSERT_TRUE(WaitUntil([&] { return rig.noAutoOpen.load(); }));
    EXPECT_EQ(rig.observer.states(), (std::vector<int>{0}));
    EXPECT_FALSE(rig.link.connected);

    rig.keyboard.plug();
    ASSERT_TRUE(WaitUntil([&] { return rig.link.connected.load(); }));
    EXPECT_EQ(rig.observer.states(), (std::vector<int>{0, 1}));
    const KeyboardModel& b = rig.link.keyboardModel();
    EXPECT_EQ(b.keyTableSize, 512);
    EXPECT_EQ(b.keyTableStride, 512);
    EXPECT_EQ(b.keyCount, 128);

    rig.keyboard.unplug();
    ASSERT_TRUE(WaitUntil([&] { return !rig.link.connected.load(); }));
    EXPECT_EQ(rig.observer.states(), (std::vector<int>{0, 1, 0}));

    rig.keyboard.replaceWith(kModelA);
    rig.keyboard.plug();
    ASSERT_TRUE(WaitUntil([&] { return rig.link.connected.load(); }));
    const KeyboardModel& a = rig.link.keyboardModel();
    EXPECT_EQ(a.keyTableSize, 378);
    EXPECT_EQ(a.keyTableStride, 378);
    EXPECT_EQ(a.keyCount, 126);
    rig.discovery.stop();
}

TEST(Discovery, OnlyTheCommandCollectionIsTaken) {
    TestKeyboard keyboard;
    FilteredBackend backend(keyboard);
    DeviceConnection connection(backend);
    LinkState link;
    ASSERT_TRUE(ConnectFirst(connection, backend, link));
    EXPECT_TRUE(IsCommandCollection(connection.caps()));
    std::string commandPath = connection.path();
    connection.Close();
    link.connected = false;

    // Without its command interface the keyboard's other interfaces are rejected.
    backend.hide = [&](const std::string& path) { return path == commandPath; };
    EXPECT_FALSE(ConnectFirst(connection, backend, link));
    EXPECT_FALSE(link.connected);
    EXPECT_FALSE(connection.isOpen());
}

TEST(Discovery, EnumerationFailureEndsTheThread) {
    TestKeyboard keyboard;
    FilteredBackend backend(keyboard);
    backend.failEnumeration = true;
    DeviceConnection connection(backend);
    LinkState link;
    std::atomic<bool> noAutoOpen{false};
    RecordingObserver observer;
    Discovery discovery(connection, link, noAutoOpen, observer);
    discovery.start();
    ASSERT_TRUE(WaitUntil([&] { return discovery.ended(); }));
    EXPECT_TRUE(observer.states().empty());
}

TEST(Discovery, StopsPromptlyWhileSearching) {
    Rig rig(kModelA, false);
    rig.discovery.start();
    ASSERT_TRUE(WaitUntil([&] { return rig.noAutoOpen.load(); }));  // now in its 1000 ms pause
    auto t0 = std::chrono::steady_clock::now();
    rig.discovery.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(1000));
    EXPECT_TRUE(rig.discovery.ended());
}

}  // namespace
}  // namespace tarnel::testing
