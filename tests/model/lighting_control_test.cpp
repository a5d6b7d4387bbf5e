// Lighting reads and writes against the simulated keyboard, frame by frame.
#include "model/lighting_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/discovery.h"
#include "devicelink/link_state.h"
#include "devicelink/result.h"
#include "sim/sim_keyboard.h"

namespace tarnel {
namespace {

using sim::FaultKind;
using sim::SimArea;

// One request as the keyboard saw it; data only for writes (commands 6 and 17).
struct Sent {
    int command = 0;
    int length = 0;
    int address = 0;
    std::vector<uint8_t> data;

    bool operator==(const Sent&) const = default;
    friend std::ostream& operator<<(std::ostream& os, const Sent& s) {
        os << "{cmd " << s.command << " len " << s.length << " addr " << s.address << " data";
        for (uint8_t b : s.data) os << ' ' << int(b);
        return os << '}';
    }
};

Sent Decoded(const sim::Frame& f) {
    Sent s{f[3], f[4], f[5] | f[6] << 8, {}};
    if (s.command == CmdCodeWriteSettings || s.command == CmdCodeWriteKeyColors)
        s.data.assign(f.begin() + 8, f.begin() + 8 + std::min(s.length, 56));
    return s;
}

Sent Write6(int length, int address, std::vector<uint8_t> data) {
    return Sent{CmdCodeWriteSettings, length, address, std::move(data)};
}

// A write group: command 1, the data commands, command 2.
std::vector<Sent> Group(std::vector<Sent> inner) {
    inner.insert(inner.begin(), Sent{CmdCodeBegin, 0, 0, {}});
    inner.push_back(Sent{CmdCodeEnd, 0, 0, {}});
    return inner;
}

// A lighting control over a real connection to the simulated keyboard.
struct Rig {
    explicit Rig(const KeyboardModel& model = kModelA) : keyboard(model) {
        EXPECT_TRUE(ConnectFirst(connection, keyboard, link));
        keyboard.clearLog();
    }
    std::vector<Sent> sent() const {
        std::vector<Sent> out;
        for (const sim::Frame& f : keyboard.requests()) out.push_back(Decoded(f));
        return out;
    }
    std::vector<uint8_t> memory(SimArea area, size_t at, size_t n) const {
        std::vector<uint8_t> all = keyboard.area(area);
        return std::vector<uint8_t>(all.begin() + long(at), all.begin() + long(at + n));
    }

    sim::SimKeyboard keyboard;
    DeviceConnection connection{keyboard};
    LinkState link;
    CommandSet commands{connection, link};
    LightingControl lighting{commands};
};

// Every single-field write: its frames, the keyboard's memory after it and the decoded field.
TEST(LightingWrites, EachUserActionIsOneGroupAtTheProfilesAddress) {
    struct Case {
        const char* name;
        int profile;
        std::function<int(LightingControl&)> action;
        std::vector<Sent> data;
        std::function<bool(const LightingFields&)> field;
    };
    const Case cases[] = {
        {"brightness 3", 2, [](LightingControl& l) { return l.SetBrightness(3); },
         {Write6(1, 85, {3})}, [](const LightingFields& f) { return f.brightness == 3; }},
        {"speed slider 1", 0, [](LightingControl& l) { return l.SetSpeed(1); },
         {Write6(1, 2, {3})}, [](const LightingFields& f) { return f.speed == 3; }},
        {"direction first", 1, [](LightingControl& l) { return l.SetDirection(true); },
         {Write6(1, 45, {255})}, [](const LightingFields& f) { return f.direction == 255; }},
        {"direction second", 1, [](LightingControl& l) { return l.SetDirection(false); },
         {Write6(1, 45, {0})}, [](const LightingFields& f) { return f.direction == 0; }},
        {"multicolour on", 0, [](LightingControl& l) { return l.SetMulticolor(true); },
         {Write6(1, 4, {1})}, [](const LightingFields& f) { return f.multicolor; }},
        {"colour", 1, [](LightingControl& l) { return l.SetColor(0x332211); },
         {Write6(1, 46, {0}), Write6(3, 47, {0x11, 0x22, 0x33})},
         [](const LightingFields& f) { return f.color == 0x332211 && !f.multicolor; }},
        {"colour choice 2", 0, [](LightingControl& l) { return l.SetColorChoice(2); },
         {Write6(1, 17, {2})}, [](const LightingFields& f) { return f.colorChoice == 2; }},
        {"report rate 3", 2, [](LightingControl& l) { return l.SetReportRate(3); },
         {Write6(1, 99, {3})}, [](const LightingFields& f) { return f.reportRate == 3; }},
        {"raw bytes", 1,
         [](LightingControl& l) { return l.WriteLightingBytes(40, std::vector<uint8_t>{7, 8}); },
         {Write6(2, 82, {7, 8})}, [](const LightingFields&) { return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.link.currentProfile.store(c.profile);
        EXPECT_EQ(c.action(rig.lighting), ResultOk);
        EXPECT_EQ(rig.sent(), Group(c.data));
        EXPECT_TRUE(c.field(rig.lighting.fields()));
        for (const Sent& s : c.data) {
            EXPECT_EQ(rig.memory(SimArea::Settings, size_t(s.address), s.data.size()), s.data);
            const LightingState& copy = rig.lighting.record(c.profile);
            int offset = s.address - c.profile * kLightingStateSize;
            EXPECT_TRUE(std::equal(s.data.begin(), s.data.end(), copy.begin() + offset));
        }
    }
}

TEST(LightingWrites, ChoosingAnEffect) {
    struct Case {
        int effect;
        bool multicolor;
        std::vector<Sent> frames;
        int effectAfter;
    };
    const Case cases[] = {
        {10, true, Group({Write6(1, 42, {10})}), 10},  // group B controls, offset 4 not written
        {9, true, Group({Write6(1, 42, {9}), Write6(1, 46, {1})}), 9},
        {1, false, Group({Write6(1, 42, {1}), Write6(1, 46, {0})}), 1},
        {20, true, Group({Write6(1, 42, {20})}), 20},
        {19, true, {}, 0},  // unknown: nothing written, the effect reads 0
        {22, true, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.effect);
        Rig rig;
        rig.link.currentProfile.store(1);
        ASSERT_EQ(rig.lighting.SetMulticolor(c.multicolor), ResultOk);
        rig.keyboard.clearLog();
        EXPECT_EQ(rig.lighting.WriteEffect(c.effect), ResultOk);
        EXPECT_EQ(rig.sent(), c.frames);
        EXPECT_EQ(rig.lighting.fields().effect, c.effectAfter);
    }
}

TEST(LightingWrites, DefaultRecordIs35BytesAtTheProfileAndKeepsTheRest) {
    Rig rig;
    const std::vector<uint8_t> tail = {1, 2, 3, 4, 5, 6, 7};
    rig.keyboard.setArea(SimArea::Settings, 42 + 35, tail);
    rig.keyboard.setArea(SimArea::Settings, 42 + 10, std::vector<uint8_t>{0xAA});
    rig.link.currentProfile.store(1);
    EXPECT_EQ(rig.lighting.WriteDefaultLighting(), ResultOk);
    std::vector<uint8_t> record(35, 0);
    const uint8_t head[] = {0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    std::copy(std::begin(head), std::end(head), record.begin());
    EXPECT_EQ(rig.sent(), Group({Write6(35, 42, record)}));
    EXPECT_EQ(rig.memory(SimArea::Settings, 42, 35), record);
    EXPECT_EQ(rig.memory(SimArea::Settings, 42 + 35, 7), tail);
    const LightingFields& f = rig.lighting.fields();
    EXPECT_EQ(f.effect, 1);
    EXPECT_EQ(f.brightness, 4);
    EXPECT_TRUE(f.multicolor);
    EXPECT_EQ(f.color, 0xFFFFFFu);
}

// Out-of-range arguments and a profile outside 0..2 send nothing.
TEST(LightingWrites, BadArgumentsSendNothing) {
    const std::vector<uint8_t> none, many(36, 1), two(2, 1);
    const std::function<int(LightingControl&)> bad[] = {
        [](LightingControl& l) { return l.SetBrightness(5); },
        [](LightingControl& l) { return l.SetBrightness(-1); },
        [](LightingControl& l) { return l.SetSpeed(5); },
        [](LightingControl& l) { return l.SetColorChoice(4); },
        [](LightingControl& l) { return l.SetReportRate(4); },
        [](LightingControl& l) { return l.WriteEffect(256); },
        [&](LightingControl& l) { return l.WriteLightingBytes(0, none); },
        [&](LightingControl& l) { return l.WriteLightingBytes(0, many); },
        [&](LightingControl& l) { return l.WriteLightingBytes(41, two); },  // into the next record
        [&](LightingControl& l) { return l.WriteLightingBytes(-1, two); },
        [](LightingControl& l) { return l.WriteKeyColor(170, 1, 2, 3); },
        [](LightingControl& l) { return l.WriteKeyColor(-1, 1, 2, 3); },
    };
    Rig rig;
    for (size_t i = 0; i < std::size(bad); ++i)
        EXPECT_EQ(bad[i](rig.lighting), kLightingBadValue) << i;
    rig.link.currentProfile.store(3);
    EXPECT_EQ(rig.lighting.SetBrightness(2), ResultBadProfile);
    EXPECT_EQ(rig.lighting.WriteDefaultLighting(), ResultBadProfile);
    EXPECT_EQ(rig.lighting.WriteKeyColors(), ResultBadProfile);
    EXPECT_EQ(rig.lighting.WriteKeyColor(0, 1, 2, 3), ResultBadProfile);
    EXPECT_EQ(rig.lighting.ReadKeyColors(3), ResultBadProfile);
    EXPECT_EQ(rig.lighting.ReadKeyColors(-1), ResultBadProfile);
    EXPECT_EQ(rig.keyboard.requestCount(), 0u);
}

// A refused or unanswered command is a failure, and the tool's copy keeps what it had.
TEST(LightingWrites, FailuresAreReportedAndLeaveTheCopy) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, FaultKind>> faults;  // frame numbers from 1
        int result;
        std::vector<int> commands;  // what was sent
    };
    const Case cases[] = {
        {"status FF on the write", {{2, FaultKind::StatusFF}}, ResultStatusFF, {1, 6, 2}},
        {"status FE on the write", {{2, FaultKind::StatusFE}}, ResultStatusFE, {1, 6, 2}},
        {"status FF on the opening", {{1, FaultKind::StatusFF}}, ResultStatusFF, {1}},
        {"status FF on the closing", {{3, FaultKind::StatusFF}}, ResultStatusFF, {1, 6, 2}},
        {"no reply to the write",
         {{2, FaultKind::NoReply}, {3, FaultKind::NoReply}, {4, FaultKind::NoReply},
          {5, FaultKind::NoReply}},
         ResultNoReply, {1, 6, 6, 6, 6, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.link.currentProfile.store(2);
        for (auto [frame, kind] : c.faults) rig.keyboard.injectFault(frame, kind);
        EXPECT_EQ(rig.lighting.SetBrightness(3), c.result);
        std::vector<int> commands;
        for (const Sent& s : rig.sent()) commands.push_back(s.command);
        EXPECT_EQ(commands, c.commands);
        EXPECT_EQ(rig.lighting.fields().brightness, 0);
        EXPECT_EQ(rig.lighting.record(2)[OffBrightness], 0);
    }
}

TEST(LightingWrites, SecondCommandOfAColourFailsAndTheGroupIsStillClosed) {
    Rig rig;
    rig.keyboard.injectFault(2, FaultKind::StatusFF);
    EXPECT_EQ(rig.lighting.SetColor(0x0000FF), ResultStatusFF);
    // The colour bytes are not sent after a refused first write.
    std::vector<Sent> expected = Group({Write6(1, 4, {0})});
    EXPECT_EQ(rig.sent(), expected);
    EXPECT_EQ(rig.lighting.fields().color, 0u);
}

TEST(LightingWrites, NotConnectedSendsNothing) {
    Rig rig;
    rig.link.connected.store(false);
    EXPECT_EQ(rig.lighting.SetBrightness(1), ResultNoReply);
    EXPECT_EQ(rig.lighting.WriteKeyColors(), ResultNoReply);
    EXPECT_NE(rig.lighting.ReadLightingState(), ResultOk);
    EXPECT_EQ(rig.keyboard.requestCount(), 0u);
}

Sent Read(int command, int length, int address) { return Sent{command, length, address, {}}; }

TEST(LightingRead, InformationBlockThenThreeRecordsInOneGroup) {
    Rig rig;
    std::vector<uint8_t> effects(32, 0);
    effects[0] = 1, effects[2] = 5, effects[3] = 20;
    rig.keyboard.setEffects(effects);
    std::vector<uint8_t> record(42, 0);
    record[OffEffect] = 7, record[OffBrightness] = 2, record[OffReportRate] = 7;
    record[OffColorChoice] = 9, record[OffAltToggle] = 1, record[41] = 0x5A;
    rig.keyboard.setArea(SimArea::Settings, 42, record);
    rig.link.currentProfile.store(1);

    EXPECT_EQ(rig.lighting.ReadLightingState(), ResultOk);
    EXPECT_EQ(rig.sent(), (std::vector<Sent>{Read(3, 44, 0), Read(1, 0, 0), Read(5, 56, 0),
                                             Read(5, 56, 42), Read(5, 56, 84), Read(2, 0, 0)}));
    const LightingFields& f = rig.lighting.fields();
    EXPECT_EQ(f.effect, 7);
    EXPECT_EQ(f.brightness, 2);
    EXPECT_EQ(f.reportRate, 3);   // stored 7
    EXPECT_EQ(f.colorChoice, 0);  // stored 9: red, and the copy follows
    EXPECT_TRUE(f.groupAMulticolor);
    EXPECT_EQ(rig.lighting.record(1)[OffColorChoice], 0);
    EXPECT_EQ(rig.lighting.record(1)[41], 0x5A);  // ignored bytes are carried as read
    EXPECT_EQ(rig.memory(SimArea::Settings, 42 + OffColorChoice, 1), std::vector<uint8_t>{9});
    EXPECT_EQ(rig.lighting.record(0)[OffEffect], 1);  // the keyboard's default records
    EXPECT_EQ(rig.lighting.record(2)[OffEffect], 1);

    const EffectSlots& slots = rig.lighting.effectSlots();
    EXPECT_EQ(slots.count(), 3);
    EXPECT_EQ(slots.EffectAt(1), 5);
    EXPECT_EQ(slots.EffectIndex(2), -1);
    EXPECT_TRUE(rig.lighting.IsUserModeSupported());
}

TEST(LightingRead, AfterAConnectionTheActiveProfileIsShown) {
    Rig rig;
    rig.keyboard.setActiveProfile(2);
    rig.keyboard.setArea(SimArea::Settings, 84, std::vector<uint8_t>{11, 3});
    EXPECT_EQ(rig.lighting.ReadLightingState(true), ResultOk);
    EXPECT_EQ(rig.link.currentProfile.load(), 2);
    EXPECT_EQ(rig.lighting.fields().effect, 11);
    EXPECT_EQ(rig.lighting.fields().brightness, 3);
    // Other occasions keep the profile the window shows.
    rig.link.currentProfile.store(0);
    EXPECT_EQ(rig.lighting.ReadLightingState(), ResultOk);
    EXPECT_EQ(rig.link.currentProfile.load(), 0);
    EXPECT_EQ(rig.lighting.fields().effect, 1);
    // An active-profile byte that names no profile is not taken.
    rig.keyboard.setArea(SimArea::Info, 10, std::vector<uint8_t>{7});
    EXPECT_EQ(rig.lighting.ReadLightingState(true), ResultOk);
    EXPECT_EQ(rig.link.currentProfile.load(), 0);
}

TEST(LightingRead, AFailedInformationBlockEmptiesTheListAndReadsNothingElse) {
    Rig rig;
    ASSERT_EQ(rig.lighting.ReadLightingState(), ResultOk);
    ASSERT_GT(rig.lighting.effectSlots().count(), 0);
    LightingFields before = rig.lighting.fields();
    rig.keyboard.setArea(SimArea::Settings, 0, std::vector<uint8_t>{4});
    rig.keyboard.clearLog();
    rig.keyboard.injectFault(1, FaultKind::StatusFF);
    EXPECT_EQ(rig.lighting.ReadLightingState(), ResultStatusFF);
    EXPECT_EQ(rig.keyboard.requestCount(), 1u);
    EXPECT_EQ(rig.lighting.effectSlots().count(), 0);
    EXPECT_FALSE(rig.lighting.IsUserModeSupported());
    EXPECT_EQ(rig.lighting.fields(), before);
}

TEST(LightingRead, AFailedRecordReadKeepsItsPreviousBytesAndIsReported) {
    Rig rig;
    rig.link.currentProfile.store(1);
    ASSERT_EQ(rig.lighting.ReadLightingState(), ResultOk);
    rig.keyboard.setArea(SimArea::Settings, 0, std::vector<uint8_t>{4});
    rig.keyboard.setArea(SimArea::Settings, 42, std::vector<uint8_t>{5});
    rig.keyboard.clearLog();
    rig.keyboard.injectFault(4, FaultKind::StatusFE);  // 3, 1, record 0, record 1
    EXPECT_EQ(rig.lighting.ReadLightingState(), ResultStatusFE);
    EXPECT_EQ(rig.lighting.record(0)[OffEffect], 4);
    EXPECT_EQ(rig.lighting.record(1)[OffEffect], 1);  // as before
    EXPECT_EQ(rig.lighting.fields().effect, 1);
    EXPECT_EQ(rig.sent().back().command, CmdCodeEnd);  // the group is closed
}

class KeyColorTransfer : public ::testing::TestWithParam<const KeyboardModel*> {};

// Whole tables move in 8 blocks of 54 bytes for both models.
TEST_P(KeyColorTransfer, EightBlocksOf54Bytes) {
    Rig rig(*GetParam());
    EXPECT_EQ(KeyColorBlockCount(GetParam()->keyCount), 8);
    std::vector<uint8_t> colors(1536);
    for (size_t i = 0; i < colors.size(); ++i) colors[i] = uint8_t(i * 13 + 1);
    rig.keyboard.setArea(SimArea::KeyColors, 0, colors);

    EXPECT_EQ(rig.lighting.ReadKeyColors(1), ResultOk);
    std::vector<Sent> reads;
    for (int b = 0; b < 8; ++b) reads.push_back(Read(16, 54, 512 + 54 * b));
    EXPECT_EQ(rig.sent(), Group(reads));
    const KeyColorTable& table = rig.lighting.keyColors(1);
    EXPECT_TRUE(std::equal(table.begin(), table.begin() + 432, colors.begin() + 512));
    EXPECT_TRUE(std::all_of(table.begin() + 432, table.end(), [](uint8_t b) { return b == 0; }));

    rig.keyboard.clearLog();
    rig.link.currentProfile.store(2);
    KeyColorTable& target = rig.lighting.keyColors(2);
    std::copy(table.begin(), table.end(), target.begin());
    EXPECT_EQ(rig.lighting.WriteKeyColors(), ResultOk);
    std::vector<Sent> writes;
    for (int b = 0; b < 8; ++b) {
        std::vector<uint8_t> block(table.begin() + 54 * b, table.begin() + 54 * (b + 1));
        writes.push_back(Sent{17, 54, 1024 + 54 * b, block});
    }
    EXPECT_EQ(rig.sent(), Group(writes));
    EXPECT_EQ(rig.memory(SimArea::KeyColors, 1024, 432), rig.memory(SimArea::KeyColors, 512, 432));
}

TEST_P(KeyColorTransfer, OneKeyColourGoesToTheKeyboardAndTheCopy) {
    Rig rig(*GetParam());
    rig.link.currentProfile.store(1);
    EXPECT_EQ(rig.lighting.WriteKeyColor(116, 0x10, 0x20, 0x30), ResultOk);  // the Fn key
    EXPECT_EQ(rig.sent(), Group({Sent{17, 3, 512 + 348, {0x10, 0x20, 0x30}}}));
    EXPECT_EQ(rig.memory(SimArea::KeyColors, 512 + 348, 3), (std::vector<uint8_t>{0x10, 0x20, 0x30}));
    const KeyColorTable& copy = rig.lighting.keyColors(1);
    EXPECT_EQ(std::vector<uint8_t>(copy.begin() + 348, copy.begin() + 351),
              (std::vector<uint8_t>{0x10, 0x20, 0x30}));
    // The last position of the table fits; a refused write leaves the copy.
    EXPECT_EQ(rig.lighting.WriteKeyColor(169, 1, 2, 3), ResultOk);
    rig.keyboard.clearLog();
    rig.keyboard.injectFault(2, FaultKind::StatusFF);
    EXPECT_EQ(rig.lighting.WriteKeyColor(116, 9, 9, 9), ResultStatusFF);
    EXPECT_EQ(copy[348], 0x10);
}

TEST_P(KeyColorTransfer, AFailedBlockStopsTheTransferAndIsReported) {
    Rig rig(*GetParam());
    rig.keyboard.injectFault(4, FaultKind::StatusFF);  // begin, block 0, block 1, block 2
    EXPECT_EQ(rig.lighting.ReadKeyColors(0), ResultStatusFF);
    std::vector<Sent> sent = rig.sent();
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[3], Read(16, 54, 108));
    EXPECT_EQ(sent[4].command, CmdCodeEnd);
    const KeyColorTable& table = rig.lighting.keyColors(0);
    EXPECT_EQ(table[107], 0xFF);  // blocks 0 and 1 arrived
    EXPECT_EQ(table[108], 0x00);  // block 2 did not
}

INSTANTIATE_TEST_SUITE_P(BothModels, KeyColorTransfer, ::testing::Values(&kModelA, &kModelB),
                         [](const auto& info) { return std::string(1, info.param->name); });

}  // namespace
}  // namespace tarnel
