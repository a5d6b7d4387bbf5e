// The command connection used from several threads at once.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "devicelink/device_match.h"
#include "link_fixture.h"

namespace tarnel::testing {
namespace {

TEST_F(LinkTest, ConcurrentTransactionsEachGetTheirOwnReply) {
    std::vector<uint8_t> info = k.keyboard.area(SimArea::Info);
    std::vector<uint8_t> colors = k.keyboard.area(SimArea::KeyColors);
    std::atomic<int> wrong{0};
    auto infoReader = [&] {
        for (int i = 0; i < 200; ++i) {
            uint8_t block[44];
            if (k.commands.CmdReadInfo(block) != ResultOk ||
                !std::equal(block, block + 44, info.begin()))
                ++wrong;
        }
    };
    auto colorReader = [&] {
        for (int i = 0; i < 200; ++i) {
            uint8_t block[56];
            if (k.commands.CmdReadKeyColors(block, 54, 18, 0) != ResultOk ||
                !std::equal(block, block + 54, colors.begin() + 54))
                ++wrong;
        }
    };
    std::thread a(infoReader), b(colorReader);
    a.join();
    b.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(k.keyboard.requestCount(), 400u);
}

// Finds and opens the consumer interface of the test keyboard on `connection`.
bool openConsumer(DeviceConnection& connection) {
    if (!connection.Enumerate()) return false;
    std::string path;
    while (connection.NextPath(path)) {
        if (connection.Open(path, true, false, true, false) &&
            IsConsumerCollection(connection.caps()))
            return true;
    }
    return false;
}

TEST(DeviceConnection, CloseFromAnotherThreadEndsAReadWithoutLimit) {
    TestKeyboard keyboard;
    DeviceConnection events(keyboard);
    ASSERT_TRUE(openConsumer(events));
    size_t length = events.caps().input.reportByteLength;
    std::atomic<bool> result{true};
    std::thread reader([&] {
        std::vector<uint8_t> report(length);
        result = events.ReadReport(report.data(), length, -1);
    });
    ASSERT_TRUE(WaitUntil([&] { return events.readPending(); }));
    events.Close();
    reader.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(events.isOpen());
    EXPECT_FALSE(events.ReadReport(nullptr, 0, 0));
}

TEST(DeviceConnection, UnplugEndsAWaitingRead) {
    TestKeyboard keyboard;
    DeviceConnection events(keyboard);
    ASSERT_TRUE(openConsumer(events));
    std::string path = events.path();
    EXPECT_TRUE(events.IsPresent(path));
    size_t length = events.caps().input.reportByteLength;
    std::atomic<bool> result{true};
    std::thread reader([&] {
        std::vector<uint8_t> report(length);
        result = events.ReadReport(report.data(), length, -1);
    });
    ASSERT_TRUE(WaitUntil([&] { return events.readPending(); }));
    keyboard.unplug();
    reader.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(events.IsPresent(path));
    keyboard.plug();
    EXPECT_FALSE(events.IsPresent(path));  // a re-plug is a new arrival
}

TEST(DeviceConnection, ReopenOfTheSameConnectionAbortsTheWaitingRead) {
    TestKeyboard keyboard;
    DeviceConnection events(keyboard);
    ASSERT_TRUE(openConsumer(events));
    std::string path = events.path();
    size_t length = events.caps().input.reportByteLength;
    std::atomic<bool> result{true};
    std::thread reader([&] {
        std::vector<uint8_t> report(length);
        result = events.ReadReport(report.data(), length, -1);
    });
    ASSERT_TRUE(WaitUntil([&] { return events.readPending(); }));
    EXPECT_TRUE(events.Open(path, true, false, true, false));
    reader.join();
    EXPECT_FALSE(result);
    EXPECT_TRUE(events.isOpen());
}

}  // namespace
}  // namespace tarnel::testing
