#include "devicelink/event_listener.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>

#include "devicelink/device_connection.h"
#include "test_keyboard.h"

namespace tarnel::testing {
namespace {

class RecordingEvents : public EventObserver {
public:
    void startTimer(int id) override { add("timer " + std::to_string(id)); }
    void setTrayIcon(int id, bool remember) override {
        add("icon " + std::to_string(id) + (remember ? " remembered" : ""));
    }
    void restoreTrayIcon() override { add("restore"); }
    std::vector<std::string> calls() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }

private:
    void add(std::string call) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
};

class ListenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        listener.start();
        ASSERT_TRUE(WaitUntil([&] { return events.readPending(); }));
    }
    // Sends the events one by one, waiting for each to be read before the next.
    void send(std::initializer_list<uint16_t> codes, size_t expectedCalls) {
        for (uint16_t code : codes) {
            keyboard.sendEvent(code);
            keyboard.sendEvent(0);  // the key's release
        }
        WaitUntil([&] { return observer.calls().size() >= expectedCalls; }, 2000);
    }
    TestKeyboard keyboard;
    DeviceConnection events{keyboard};
    RecordingEvents observer;
    EventListener listener{events, observer};
};

TEST_F(ListenerTest, LightingEventsStartTheirTimers) {
    send({0x0401, 0x0401, 0x0402}, 3);
    EXPECT_EQ(observer.calls(),
              (std::vector<std::string>{"timer 1051", "timer 1051", "timer 1053"}));
}

TEST_F(ListenerTest, TrayEventsChangeTheIconOnWorkersInOrder) {
    keyboard.sendEvent(0x1811);
    ASSERT_TRUE(WaitUntil([&] { return observer.calls().size() == 1; }));
    keyboard.sendEvent(0x1810);
    ASSERT_TRUE(WaitUntil([&] { return observer.calls().size() == 2; }));
    EXPECT_EQ(observer.calls(), (std::vector<std::string>{"icon 142", "restore"}));
}

TEST_F(ListenerTest, OtherCodesDoNothing) {
    // 0x0402 last as a marker: once it has acted, everything before it has been read.
    send({0, 0x1801, 0x1804, 0x00E9, 0x0402}, 1);
    EXPECT_EQ(observer.calls(), (std::vector<std::string>{"timer 1053"}));
}

TEST_F(ListenerTest, UnplugAndReplugListensAgain) {
    keyboard.unplug();
    ASSERT_TRUE(WaitUntil([&] { return !events.readPending(); }));
    keyboard.plug();
    ASSERT_TRUE(WaitUntil([&] { return events.readPending(); }));
    send({0x0401}, 1);
    EXPECT_EQ(observer.calls(), (std::vector<std::string>{"timer 1051"}));
}

TEST_F(ListenerTest, StopEndsAReadWithoutLimitAtOnce) {
    auto t0 = std::chrono::steady_clock::now();
    listener.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(1000));
    EXPECT_TRUE(listener.ended());
    EXPECT_FALSE(events.isOpen());
}

}  // namespace
}  // namespace tarnel::testing
