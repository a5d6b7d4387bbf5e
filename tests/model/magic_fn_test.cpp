// The Fn-layer layout choice: one byte at offset 24 of the edited profile's lighting record.
#include "model/magic_fn.h"

#include <gtest/gtest.h>

#include <vector>

#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/discovery.h"
#include "devicelink/link_state.h"
#include "devicelink/result.h"
#include "model/lighting_control.h"
#include "sim/sim_keyboard.h"

namespace tarnel {
namespace {

class MagicFnTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ConnectFirst(connection, keyboard, link));
        keyboard.clearLog();
    }
    // (command, length, address, first payload byte) of every request.
    std::vector<std::vector<int>> sent() const {
        std::vector<std::vector<int>> out;
        for (const sim::Frame& f : keyboard.requests())
            out.push_back({f[3], f[4], f[5] | f[6] << 8, f[8]});
        return out;
    }
    uint8_t stored(int profile) const {
        return keyboard.area(sim::SimArea::Settings)[size_t(profile * 42 + 24)];
    }

    sim::SimKeyboard keyboard;
    DeviceConnection connection{keyboard};
    LinkState link;
    CommandSet commands{connection, link};
    LightingControl lighting{commands};
};

TEST_F(MagicFnTest, ChoiceIsOneByteAtOffset24OfTheEditedProfile) {
    keyboard.setArea(sim::SimArea::Settings, 2 * 42 + 24, std::vector<uint8_t>{1});
    link.currentProfile.store(2);
    ASSERT_EQ(lighting.ReadLightingState(), ResultOk);
    EXPECT_EQ(lighting.fields().magicFnChoice, 1);
    keyboard.clearLog();

    EXPECT_EQ(WriteMagicFn(lighting, kMagicFn1), ResultOk);
    EXPECT_EQ(sent(), (std::vector<std::vector<int>>{{1, 0, 0, 0}, {6, 1, 108, 0}, {2, 0, 0, 0}}));
    EXPECT_EQ(stored(2), 0);
    EXPECT_EQ(lighting.fields().magicFnChoice, 0);
}

TEST_F(MagicFnTest, ChoosingTwiceWritesTwice) {
    EXPECT_EQ(WriteMagicFn(lighting, kMagicFn2), ResultOk);
    EXPECT_EQ(WriteMagicFn(lighting, kMagicFn2), ResultOk);
    const std::vector<int> group = {1, 6, 2, 1, 6, 2};
    std::vector<int> commands;
    for (const auto& s : sent()) commands.push_back(s[0]);
    EXPECT_EQ(commands, group);
    EXPECT_EQ(sent()[1], (std::vector<int>{6, 1, 24, 1}));
    EXPECT_EQ(stored(0), 1);
}

TEST_F(MagicFnTest, OtherChoicesAndRefusalsAreFailures) {
    EXPECT_EQ(WriteMagicFn(lighting, 2), kLightingBadValue);
    EXPECT_EQ(WriteMagicFn(lighting, -1), kLightingBadValue);
    EXPECT_EQ(keyboard.requestCount(), 0u);
    keyboard.injectFault(2, sim::FaultKind::StatusFF);
    EXPECT_EQ(WriteMagicFn(lighting, kMagicFn2), ResultStatusFF);
    EXPECT_EQ(lighting.fields().magicFnChoice, 0);
    EXPECT_EQ(stored(0), 0);
}

}  // namespace
}  // namespace tarnel
