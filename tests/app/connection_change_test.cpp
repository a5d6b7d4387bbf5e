#include "app/connection_change.h"

#include <gtest/gtest.h>

#include "app/app_context.h"
#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/discovery.h"
#include "recording_window.h"
#include "test_keyboard.h"

namespace tarnel::testing {
namespace {

using Calls = std::vector<std::string>;

class ConnectionChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ConnectFirst(connection, keyboard, context.link));
        keyboard.clearLog();
    }
    TestKeyboard keyboard;
    DeviceConnection connection{keyboard};
    AppContext context;
    CommandSet commands{connection, context.link};
    RecordingWindow window;
    ConnectionChange change{context, commands, window};
};

TEST_F(ConnectionChangeTest, FirstConnectionReadsTheKeyboardAndOpensTheWindow) {
    change.onConnectionChanged(1);
    EXPECT_EQ(window.calls(), (Calls{"PROF", "icon 141", "OPEN"}));
    EXPECT_TRUE(context.uiConnected);
    EXPECT_TRUE(context.noAutoOpen);

    std::vector<Frame> frames = keyboard.requests();
    ASSERT_EQ(frames.size(), 8u);  // the factory table in 7 frames, then the information block
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(frames[i][3], 15);
    EXPECT_EQ(frames[7][3], 3);

    std::vector<uint8_t> factory = keyboard.area(SimArea::FactoryKeyTable);
    DefaultMatrix matrix = context.defaultMatrix();
    ASSERT_EQ(factory.size(), 378u);
    EXPECT_TRUE(std::equal(factory.begin(), factory.end(), matrix.begin()));
    EXPECT_TRUE(std::all_of(matrix.begin() + 378, matrix.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(context.macroCapacity, keyboard.area(SimArea::Info)[11] * 128);
}

TEST_F(ConnectionChangeTest, RepeatedStateIsIgnored) {
    change.onConnectionChanged(0);  // nothing was connected: the same state
    EXPECT_TRUE(window.calls().empty());
    EXPECT_FALSE(context.noAutoOpen);  // the discovery thread, not this, sets it then
    change.onConnectionChanged(1);
    size_t frames = keyboard.requestCount();
    Calls before = window.calls();
    change.onConnectionChanged(1);
    EXPECT_EQ(window.calls(), before);
    EXPECT_EQ(keyboard.requestCount(), frames);
}

TEST_F(ConnectionChangeTest, RemovalClosesEditorsHidesAndForgetsTheProfile) {
    change.onConnectionChanged(1);
    context.link.activeProfileCache = 2;
    change.onConnectionChanged(0);
    EXPECT_EQ(window.calls(),
              (Calls{"PROF", "icon 141", "OPEN", "close editors", "hide", "icon 128"}));
    EXPECT_EQ(context.link.activeProfileCache, -1);
    EXPECT_FALSE(context.uiConnected);
    change.onConnectionChanged(1);  // plugged in again: the window does not open by itself
    EXPECT_EQ(window.calls().back(), "icon 141");
}

TEST_F(ConnectionChangeTest, StartWordKeepsTheWindowClosed) {
    context.noAutoOpen = true;
    change.onConnectionChanged(1);
    EXPECT_EQ(window.calls(), (Calls{"PROF", "icon 141"}));
}

TEST_F(ConnectionChangeTest, UnreadableFactoryTableKeepsThePreviousOne) {
    DefaultMatrix previous;
    previous.fill(0x5A);
    context.setDefaultMatrix(previous);
    context.macroCapacity = 1234;
    keyboard.injectFault(1, FaultKind::StatusFF);  // the first chunk of command 15
    keyboard.injectFault(2, FaultKind::StatusFE);  // the information block
    change.onConnectionChanged(1);
    EXPECT_EQ(window.calls(),
              (Calls{"message MAIN_DEFAULT_MATRIX_PROMPT", "PROF", "icon 141", "OPEN"}));
    EXPECT_EQ(context.defaultMatrix(), previous);
    EXPECT_EQ(context.macroCapacity, 1234);
    EXPECT_TRUE(context.uiConnected);
}

}  // namespace
}  // namespace tarnel::testing
