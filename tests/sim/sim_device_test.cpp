// The simulated keyboard as a device: its three interfaces, faults at a given frame, plugging,
// the reply delay, consumer-control events, and its factory table against the key table.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "devicelink/device_match.h"
#include "sim_test_support.h"
#ifdef TARNEL_SIM_TEST_MODEL
#include "model/key_table.h"
#endif

namespace tarnel::sim::test {
namespace {

using Clock = std::chrono::steady_clock;

TEST(SimDevice, ThreeInterfacesWithParsedCapsAndIdsInTheirPaths) {
    SimKeyboard k;
    std::vector<std::string> paths;
    ASSERT_TRUE(k.enumerate(paths));
    ASSERT_EQ(paths, (std::vector<std::string>{k.keyboardPath(), k.consumerPath(), k.commandPath()}));
    struct Want {
        uint16_t page, usage, inputLength, outputLength;
    };
    const Want want[] = {{0x01, 0x06, 9, 2}, {0x0C, 0x01, 3, 0}, {0xFF1C, 0x92, 64, 64}};
    for (size_t i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i]);
        const KeyboardModel* model = CandidateModel(k, paths[i]);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->name, 'A');
        auto dev = k.open(paths[i], HidOpenOptions{});
        ASSERT_NE(dev, nullptr);
        EXPECT_EQ(dev->caps().usagePage, want[i].page);
        EXPECT_EQ(dev->caps().usage, want[i].usage);
        EXPECT_EQ(dev->caps().input.reportByteLength, want[i].inputLength);
        EXPECT_EQ(dev->caps().output.reportByteLength, want[i].outputLength);
    }
    // Only the command interface takes requests.
    auto consumer = k.open(k.consumerPath(), HidOpenOptions{});
    const Frame begin = Request(1, 0, 0);
    EXPECT_FALSE(consumer->writeReport(begin.data(), begin.size(), 100));
    EXPECT_EQ(k.requestCount(), 0u);
    HidOpenError error = HidOpenError::None;
    EXPECT_EQ(k.open("sim:gen1/vid_0c45&pid_5004&mi_07", HidOpenOptions{}, &error), nullptr);
    EXPECT_EQ(error, HidOpenError::NotFound);
}

// A fault hits exactly the request of its frame number; the frames around it are answered.
TEST(SimDevice, FaultsHitTheirFrameOnly) {
    struct Case {
        FaultKind kind;
        int status;  // of the faulty frame's reply; -1 = no reply
    };
    const Case cases[] = {{FaultKind::NoReply, -1}, {FaultKind::StatusFF, 0xFF}, {FaultKind::StatusFE, 0xFE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.kind));
        SimKeyboard k;
        auto dev = OpenCommand(k);
        k.injectFault(2, c.kind);
        const uint8_t value = 0x33;
        EXPECT_EQ(Exchange(*dev, Request(6, 1, 200, {value}))[7], 0);
        Frame write = Request(6, 1, 201, {value});
        ASSERT_TRUE(dev->writeReport(write.data(), write.size(), 100));
        Frame reply{};
        const bool answered = dev->readReport(reply.data(), reply.size(), 50);
        EXPECT_EQ(answered, c.status >= 0);
        if (answered) {
            EXPECT_EQ(reply[7], c.status);
        }
        EXPECT_EQ(k.area(SimArea::Settings)[201], 0x00) << "a failed request changes nothing";
        EXPECT_EQ(Exchange(*dev, Request(6, 1, 202, {value}))[7], 0);
        EXPECT_EQ(k.requestCount(), 3u);
    }
}

TEST(SimDevice, UnplugAtAFrameKillsEveryHandleAndARePlugIsANewArrival) {
    SimKeyboard k;
    auto command = OpenCommand(k);
    auto consumer = k.open(k.consumerPath(), HidOpenOptions{});
    const std::string oldPath = k.commandPath();
    k.injectFault(1, FaultKind::Unplug);
    Frame request = Request(3, 0x2C, 0);
    ASSERT_TRUE(command->writeReport(request.data(), request.size(), 100));
    Frame reply{};
    EXPECT_FALSE(command->readReport(reply.data(), reply.size(), 1000));
    EXPECT_FALSE(consumer->readReport(reply.data(), 3, 1000));
    EXPECT_FALSE(k.isPlugged());
    EXPECT_FALSE(k.isPresent(oldPath));
    std::vector<std::string> paths;
    ASSERT_TRUE(k.enumerate(paths));
    EXPECT_TRUE(paths.empty());

    k.plug();
    EXPECT_FALSE(k.isPresent(oldPath));
    EXPECT_EQ(k.open(oldPath, HidOpenOptions{}), nullptr);
    EXPECT_FALSE(command->writeReport(request.data(), request.size(), 100));
    EXPECT_NE(k.commandPath(), oldPath);
    auto fresh = OpenCommand(k);
    EXPECT_EQ(Exchange(*fresh, request)[7], 0);
}

TEST(SimDevice, ReplyDelayHoldsTheReplyBack) {
    SimKeyboard k;
    auto dev = OpenCommand(k);
    k.setReplyDelayMs(150);
    Frame request = Request(1, 0, 0);
    ASSERT_TRUE(dev->writeReport(request.data(), request.size(), 100));
    Frame reply{};
    EXPECT_FALSE(dev->readReport(reply.data(), reply.size(), 20));
    auto start = Clock::now();
    EXPECT_TRUE(dev->readReport(reply.data(), reply.size(), 2000));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
    k.setReplyDelayMs(0);
    EXPECT_EQ(Exchange(*dev, request)[7], 0);
}

TEST(SimDevice, EventsReachEveryOpenConsumerHandleInOrder) {
    SimKeyboard k;
    auto a = k.open(k.consumerPath(), HidOpenOptions{});
    auto b = k.open(k.consumerPath(), HidOpenOptions{});
    for (uint16_t usage : {0x0401, 0x1811, 0x0000}) k.sendEvent(usage);
    for (HidDevice* dev : {a.get(), b.get()}) {
        for (uint16_t usage : {0x0401, 0x1811, 0x0000}) {
            uint8_t report[3] = {};
            ASSERT_TRUE(dev->readReport(report, sizeof report, 100));
            EXPECT_EQ(report[0], 3);
            EXPECT_EQ(report[1] | report[2] << 8, usage);
        }
    }
    auto command = OpenCommand(k);
    k.sendEvent(0x0402);
    Frame reply{};
    EXPECT_FALSE(command->readReport(reply.data(), reply.size(), 20));
}

#ifdef TARNEL_SIM_TEST_MODEL
// Every key button's LED position holds 02 02 and the key's device code, in both models.
TEST(SimDevice, FactoryTableMatchesTheKeyButtons) {
    for (const KeyboardModel& model : kModels) {
        SCOPED_TRACE(model.name);
        SimKeyboard k(model);
        const std::vector<uint8_t> factory = k.area(SimArea::FactoryKeyTable);
        for (const KeyButton& button : keyButtons()) {
            const KeyTableEntry* entry = keyEntry(button.keyId);
            ASSERT_NE(entry, nullptr) << button.keyId;
            const size_t at = size_t(button.ledIndex) * 3;
            ASSERT_LE(at + 3, factory.size());
            EXPECT_EQ(std::vector<uint8_t>(factory.begin() + long(at), factory.begin() + long(at + 3)),
                      (std::vector<uint8_t>{0x02, 0x02, entry->deviceCode}))
                << "key 0x" << std::hex << button.keyId << " at " << std::dec << button.ledIndex;
        }
    }
}
#endif

}  // namespace
}  // namespace tarnel::sim::test
