// Writing key tables and macros into the simulated keyboard, checked in its memory and frames.
#include "model/key_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/le_bytes.h"
#include "common/prompter.h"
#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/discovery.h"
#include "devicelink/link_state.h"
#include "model/key_action.h"
#include "model/macro_area.h"
#include "model/macro_record.h"
#include "sim/sim_keyboard.h"

namespace tarnel {
namespace {

using sim::FaultKind;
using sim::SimArea;

// Answers every box with Ok and notes what was shown and how many frames had been sent by then.
class NotingPrompter : public Prompter {
public:
    explicit NotingPrompter(const sim::SimKeyboard& keyboard) : m_keyboard(keyboard) {}
    struct Shown {
        std::string key;
        bool topmost;
        size_t framesBefore;
    };
    PromptAnswer ask(std::string_view langKey, PromptButtons, PromptIcon,
                     const std::vector<std::string>&, bool topmost) override {
        shown.push_back({std::string(langKey), topmost, m_keyboard.requestCount()});
        return PromptAnswer::Ok;
    }
    std::vector<Shown> shown;

private:
    const sim::SimKeyboard& m_keyboard;
};

// Positions of the simulated keyboard's factory table and the keys their codes name.
constexpr int kPosOne = 22;     // 02 02 1E: key "1" (0x02)
constexpr int kPosA = 64;       // 02 02 04: key "A" (0x1E)
constexpr int kPosG1 = 1;       // 06 A2 01: special key 1 (slot 256)
constexpr uint16_t kKeyOne = 0x02;
constexpr uint16_t kKeyA = 0x1E;

// A connection to the simulated keyboard, a key area with the special slots set up in every
// profile's bank, and a macro list, handed to the writer the way an apply does.
class KeyWriter : public ::testing::Test {
protected:
    void SetUp() override {
        keyboard.setActiveProfile(1);
        ASSERT_TRUE(ConnectFirst(connection, keyboard, link));
        keyboard.clearLog();
        factory = keyboard.area(SimArea::FactoryKeyTable);
        factory.resize(kMaxKeyTableSize, 0);
        for (int bank = 0; bank < 3; ++bank) ClearBank(keyArea, bank);
        capacity = keyboard.area(SimArea::Macros).size();
    }

    void assign(int bank, uint16_t key, uint16_t kind, uint32_t value) {
        KeyAction a;
        a.kind = kind;
        a.value = value;
        WriteKeyAction(keyArea, RecordOf(bank, SlotOfKey(key)), a);
    }
    void addMacro(uint16_t id, std::u16string name, int steps) {
        MacroRecord r;
        r.macroId = id;
        r.name = std::move(name);
        for (int i = 0; i < steps; ++i) r.actions.push_back({10, kKeyA, uint16_t(i % 2)});
        macros.push_back(r);
    }
    int write(bool allProfiles) {
        blocks = MacroBlocksOf(macros);
        KeyboardTarget target{commands, prompter, factory, capacity};
        return WriteToKeyboard(target, {keyArea, blocks, macros.size()}, allProfiles);
    }

    std::vector<uint8_t> table(int profile) const {
        std::vector<uint8_t> all = keyboard.area(SimArea::KeyTables);
        auto begin = all.begin() + long(profile) * kModelA.keyTableStride;
        return std::vector<uint8_t>(begin, begin + kModelA.keyTableSize);
    }
    std::vector<uint8_t> factoryTable() const {
        return std::vector<uint8_t>(factory.begin(), factory.begin() + kModelA.keyTableSize);
    }
    // The commands of the logged requests, consecutive frames of one command counted once.
    std::vector<int> commandRuns() const {
        std::vector<int> runs;
        for (const sim::Frame& f : keyboard.requests())
            if (runs.empty() || runs.back() != f[3]) runs.push_back(f[3]);
        return runs;
    }
    // The addresses of the logged frames of one command.
    std::vector<int> addressesOf(int command) const {
        std::vector<int> out;
        for (const sim::Frame& f : keyboard.requests())
            if (f[3] == command) out.push_back(f[5] | f[6] << 8);
        return out;
    }
    static size_t framesFor(size_t bytes) { return (bytes + 55) / 56; }

    sim::SimKeyboard keyboard{kModelA};
    DeviceConnection connection{keyboard};
    LinkState link;
    CommandSet commands{connection, link};
    NotingPrompter prompter{keyboard};
    std::vector<uint8_t> factory;
    std::vector<uint8_t> keyArea = std::vector<uint8_t>(kKeyAreaSize, 0);
    MacroList macros;
    std::vector<uint8_t> blocks;
    size_t capacity = 0;
};

TEST_F(KeyWriter, ActiveProfileOnlyChangesThatTable) {
    addMacro(7, u"Seven", 2);
    for (int bank = 0; bank < 3; ++bank) assign(bank, kKeyOne, KindMacro, 7);
    assign(1, kKeyA, KindKey, 0x2A);
    assign(1, 0x200, KindFunction, 3);

    link.activeProfileCache = -1;  // read from the keyboard before the group starts

    ASSERT_EQ(write(false), 1);
    EXPECT_EQ(commandRuns(), (std::vector<int>{CmdCodeReadInfo, CmdCodeBegin, CmdCodeWriteMacros,
                                               CmdCodeWriteKeyTable, CmdCodeEnd}));
    const std::vector<int> tableAddresses = addressesOf(CmdCodeWriteKeyTable);
    ASSERT_EQ(tableAddresses.size(), framesFor(size_t(kModelA.keyTableSize)));
    EXPECT_EQ(tableAddresses.front(), kModelA.keyTableStride);
    EXPECT_EQ(table(0), factoryTable());
    EXPECT_EQ(table(2), factoryTable());
    const std::vector<uint8_t> t1 = table(1);
    EXPECT_EQ(DeviceKeyCode::at(t1, kPosOne), (DeviceKeyCode{0x05, 0x01, 0x00}));
    EXPECT_EQ(DeviceKeyCode::at(t1, kPosA), (DeviceKeyCode{0x02, 0x01, 0x02}));
    EXPECT_EQ(DeviceKeyCode::at(t1, kPosG1), (DeviceKeyCode{0x05, 0x05, 0x03}));
    EXPECT_EQ(DeviceKeyCode::at(t1, 0), DeviceKeyCode::at(factory, 0));

    const std::vector<uint8_t> area = keyboard.area(SimArea::Macros);
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    EXPECT_EQ(getLe16(&area[0]), kMacroAreaMagic);
    EXPECT_EQ(getLe16(&area[2]), sizes.full);
    EXPECT_EQ(getLe16(&area[4]), 1);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(KeyWriter, AllProfilesWriteEveryTableInOrder) {
    for (int bank = 0; bank < 3; ++bank) assign(bank, kKeyA, KindMedia, uint32_t(bank));
    ASSERT_EQ(write(true), 1);
    EXPECT_EQ(commandRuns(), (std::vector<int>{CmdCodeBegin, CmdCodeWriteMacros,
                                               CmdCodeWriteKeyTable, CmdCodeEnd}));
    // Profiles 0, 1, 2 in ascending order, each whole.
    const std::vector<int> tableAddresses = addressesOf(CmdCodeWriteKeyTable);
    const size_t perTable = framesFor(size_t(kModelA.keyTableSize));
    ASSERT_EQ(tableAddresses.size(), 3 * perTable);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(tableAddresses[size_t(p) * perTable], p * kModelA.keyTableStride);
    const uint16_t usages[] = {0x0183, 0x00CD, 0x00B7};  // media 0, 1, 2
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(DeviceKeyCode::at(table(p), kPosA),
                  (DeviceKeyCode{0x03, uint8_t(usages[p]), uint8_t(usages[p] >> 8)}))
            << "profile " << p;
}

// When the active profile cannot be read, no profile's table is a safe guess.
TEST_F(KeyWriter, UnreadableActiveProfileWritesNothing) {
    link.activeProfileCache = -1;
    keyboard.setActiveProfile(5);  // names no profile: the keyboard's block is unusable
    assign(1, kKeyA, KindDisabled, 0);
    EXPECT_EQ(write(false), 0);
    for (const sim::Frame& f : keyboard.requests()) EXPECT_EQ(f[3], CmdCodeReadInfo);
    EXPECT_EQ(table(1), factoryTable());
}

TEST_F(KeyWriter, MacrosThatDoNotFitEvenBareWriteNothing) {
    addMacro(1, u"Long", 40);
    capacity = MacroAreaSizes(macros).bare - 1;
    EXPECT_EQ(write(false), 0);
    EXPECT_EQ(keyboard.requestCount(), 0u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].key, kMacroTooLongKey);
    EXPECT_TRUE(prompter.shown[0].topmost);

    // Without the information block the capacity is 0 and even an empty list does not fit.
    macros.clear();
    capacity = 0;
    EXPECT_EQ(write(true), 0);
    EXPECT_EQ(keyboard.requestCount(), 0u);
}

TEST_F(KeyWriter, MacrosThatFitOnlyBareAreWrittenBareThenTold) {
    addMacro(1, u"A name that does not fit", 6);
    addMacro(2, u"Another", 2);
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    ASSERT_LT(sizes.bare, sizes.full);
    capacity = sizes.bare;

    EXPECT_EQ(write(false), 1);
    const std::vector<uint8_t> area = keyboard.area(SimArea::Macros);
    const std::vector<uint8_t> expected = BuildMacroArea(macros, sizes.bare, false);
    ASSERT_EQ(expected.size(), sizes.bare);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), area.begin()));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].key, kProfileSpaceTightKey);
    EXPECT_TRUE(prompter.shown[0].topmost);
    EXPECT_EQ(prompter.shown[0].framesBefore, keyboard.requestCount());
    EXPECT_EQ(keyboard.requests().back()[3], CmdCodeEnd);
}

// The result is 1 only when the macro area and every table arrived; whichever data frame the
// keyboard refuses, the group is still closed.
TEST_F(KeyWriter, AnyRefusedCommandOfTheGroupFailsTheApply) {
    addMacro(1, u"M", 30);  // more than one chunk
    const size_t macroFrames = framesFor(MacroAreaSizes(macros).full);
    const size_t tableFrames = framesFor(size_t(kModelA.keyTableSize));
    struct Case {
        const char* what;
        size_t frame;  // 1-based, 0 = no fault
        int result;
    } cases[] = {
        {"no fault", 0, 1},
        {"first macro chunk", 2, 0},
        {"last macro chunk", 1 + macroFrames, 0},
        {"profile 0 table", 2 + macroFrames, 0},
        {"profile 1 table, last chunk", 1 + macroFrames + 2 * tableFrames, 0},
        {"profile 2 table", 2 + macroFrames + 2 * tableFrames, 0},
        {"command 1", 1, 0},
        {"command 2", 2 + macroFrames + 3 * tableFrames, 0},
    };
    for (const Case& c : cases) {
        keyboard.clearLog();
        if (c.frame) keyboard.injectFault(int(c.frame), FaultKind::StatusFF);
        EXPECT_EQ(write(true), c.result) << c.what;
        EXPECT_EQ(keyboard.requests().back()[3], CmdCodeEnd) << c.what;
        keyboard.clearFaults();
    }
}

TEST_F(KeyWriter, TablesThatCannotBeEncodedWriteNothing) {
    keyArea.resize(kKeyAreaSize - 1);
    EXPECT_EQ(write(true), 0);
    keyArea.assign(kKeyAreaSize, 0);
    factory.resize(size_t(kModelA.keyTableSize) - 1);
    EXPECT_EQ(write(true), 0);
    EXPECT_EQ(keyboard.requestCount(), 0u);
}

}  // namespace
}  // namespace tarnel
