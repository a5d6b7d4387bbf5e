// The reads at connection (the factory key table, then the information block) with one device
// fault at each of their frames: the reaction ends in bounded time, keeps what it could not read
// as it was (never a half-read table), says so for the table, and the next connection reads
// everything.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/connection_change.h"
#include "app/window_port.h"
#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/discovery.h"
#include "devicelink/transaction.h"
#include "fault_kit.h"
#include "sim/sim_keyboard.h"

namespace tarnel::hardening {
namespace {

using sim::FaultKind;
using sim::SimArea;

class MessageWindow : public WindowPort {
public:
    bool sendReloadProfile() override { return true; }
    bool sendCloseEditors() override { return true; }
    void hideWindow() override {}
    void postOpen() override {}
    void setTrayIcon(int, bool) override {}
    void showMessage(std::string_view key) override { messages.emplace_back(key); }
    std::vector<std::string> messages;
};

constexpr int kFactoryFrames = 7;  // 378 bytes of model A in 56-byte chunks
constexpr int kSentinelCapacity = 1234;

struct Reconnect {
    explicit Reconnect(sim::SimKeyboard& keyboard, AppContext& context)
        : connection(keyboard), commands(connection, context.link),
          change(context, commands, window) {
        connected = ConnectFirst(connection, keyboard, context.link);
    }
    DeviceConnection connection;
    CommandSet commands;
    MessageWindow window;
    ConnectionChange change;
    bool connected = false;
};

void expectFullRead(const sim::SimKeyboard& keyboard, const AppContext& context) {
    const auto factory = keyboard.area(SimArea::FactoryKeyTable);
    const DefaultMatrix matrix = context.defaultMatrix();
    EXPECT_TRUE(std::equal(factory.begin(), factory.end(), matrix.begin()));
    EXPECT_EQ(context.macroCapacity.load(), keyboard.area(SimArea::Info)[11] * 128);
}

void runWithFault(int frame, const Fault& fault) {
    SCOPED_TRACE(testing::Message() << fault.name << " at frame " << frame);
    sim::SimKeyboard keyboard;
    AppContext context;
    DefaultMatrix previous;
    previous.fill(0x5A);
    context.setDefaultMatrix(previous);
    context.macroCapacity = kSentinelCapacity;
    {
        Reconnect first(keyboard, context);
        ASSERT_TRUE(first.connected);
        keyboard.clearLog();
        InjectAt(keyboard, frame, fault);
        const auto t0 = std::chrono::steady_clock::now();
        first.change.onConnectionChanged(1);
        EXPECT_LE(std::chrono::steady_clock::now() - t0, FaultedRunBound(kFactoryFrames + 1));
        if (frame <= kFactoryFrames) {
            EXPECT_EQ(context.defaultMatrix(), previous);  // never a half-read table
            EXPECT_NE(std::find(first.window.messages.begin(), first.window.messages.end(),
                                kDefaultMatrixPromptKey),
                      first.window.messages.end());
        }
        // The information block is read last; an unplug fails it wherever it came.
        if (frame == kFactoryFrames + 1 || fault.kind == FaultKind::Unplug) {
            EXPECT_EQ(context.macroCapacity.load(), kSentinelCapacity);
        }
        first.change.onConnectionChanged(0);
    }
    keyboard.clearFaults();
    if (!keyboard.isPlugged()) keyboard.plug();
    Reconnect again(keyboard, context);
    ASSERT_TRUE(again.connected);
    again.change.onConnectionChanged(1);
    expectFullRead(keyboard, context);
}

TEST(ConnectionFaultMatrix, AFaultAtAnyReadFrameKeepsThePreviousValuesAndTheNextConnectionReads) {
    for (int frame = 1; frame <= kFactoryFrames + 1; ++frame)
        for (const Fault& fault : kQuickFaults) runWithFault(frame, fault);
}

// No reply costs the whole read limit of each attempt: the first and a middle chunk of the
// factory table, and the information block.
TEST(ConnectionFaultMatrix, NoReplyKeepsThePreviousValuesAndTheNextConnectionReads) {
    for (int frame : {1, kFactoryFrames / 2 + 1, kFactoryFrames + 1}) runWithFault(frame, kNoReply);
}

}  // namespace
}  // namespace tarnel::hardening
