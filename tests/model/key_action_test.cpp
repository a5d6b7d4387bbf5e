#include "model/key_action.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tarnel {
namespace {

using Code = DeviceKeyCode;

std::string hex(const Code& c) {
    char s[16];
    std::snprintf(s, sizeof s, "%02X %02X %02X", c.group, c.byte1, c.byte2);
    return s;
}

MacroList macrosWithIds(std::vector<uint16_t> ids) {
    MacroList list;
    for (uint16_t id : ids) {
        MacroRecord r;
        r.macroId = id;
        list.push_back(r);
    }
    return list;
}

TEST(KeyAction, RecordIsSixteenLittleEndianBytes) {
    const uint8_t bytes[16] = {0x04, 0x00, 0x05, 0x00, 0x63, 0x00, 0x00, 0x80,
                               1,    2,    3,    4,    5,    6,    7,    8};
    KeyAction a = KeyAction::decode(std::span<const uint8_t, 16>(bytes));
    EXPECT_EQ(a.kind, KindMacro);
    EXPECT_EQ(a.param, 5);
    EXPECT_EQ(a.value, 0x80000063u);
    EXPECT_EQ(a.reserved[0], 1);
    EXPECT_EQ(a.reserved[7], 8);
    uint8_t out[16] = {};
    a.encode(std::span<uint8_t, 16>(out));
    EXPECT_TRUE(std::equal(std::begin(bytes), std::end(bytes), std::begin(out)));

    std::vector<uint8_t> area(kKeyAreaSize);
    EXPECT_TRUE(WriteKeyAction(area, kKeyAreaRecords - 1, a));
    EXPECT_EQ(ReadKeyAction(area, kKeyAreaRecords - 1), a);
    EXPECT_FALSE(WriteKeyAction(area, kKeyAreaRecords, a));
    EXPECT_EQ(ReadKeyAction(area, kKeyAreaRecords), KeyAction{});
    EXPECT_EQ(ReadKeyAction(area, -1), KeyAction{});
}

TEST(KeyAction, SlotsOfKeysAndSpecialKeys) {
    struct Case {
        uint32_t key;
        int slot;
    } cases[] = {{0x000, 0},   {0x01E, 0x1E}, {0x11C, 156}, {0x17E, 254}, {0x200, 256},
                 {0x208, 264}, {0x211, 273},  {0x2FF, 511}, {0x300, 0},   {0xFFFFFFFF, 0}};
    for (const auto& c : cases) EXPECT_EQ(SlotOfKey(c.key), c.slot) << std::hex << c.key;
    EXPECT_EQ(KeyOfSlot(156), 0x11C);
    EXPECT_EQ(KeyOfSlot(127), 0x07F);
    EXPECT_EQ(KeyOfSlot(256), 0);
    EXPECT_EQ(RecordOf(2, 511), 2 * 512 + 511);
    EXPECT_EQ(RecordOf(4, 0), -1);
    EXPECT_EQ(RecordOf(0, 512), -1);
}

TEST(KeyAction, KeyIdOfCode) {
    struct Case {
        Code code;
        uint16_t key;
    } cases[] = {
        {{0x02, 0x02, 0x48}, 0x045},  // Pause comes before Break in table order
        {{0x02, 0x02, 0xE5}, 0x036},  // right Shift: row 54 before row 182
        {{0x02, 0x02, 0x00}, 0},      {{0x02, 0x02, 0x99}, 0},
        {{0x02, 0x01, 0x06}, 0x02A},  // lowest set bit
        {{0x02, 0x01, 0x80}, 0x15C},  {{0x02, 0x01, 0x00}, 0},
        {{0x03, 0xE9, 0x00}, 0x130},  // consumer entry 0 -> deviceCode 0xC0 (V+)
        {{0x03, 0xB5, 0x00}, 0x119},  {{0x03, 0x34, 0x12}, 0},
        {{0x03, 0x00, 0x00}, 0},      // usage 0 is no control, not the table's padding
        {{0x04, 0x81, 0x00}, 0x15E},  {{0x04, 0x83, 0x00}, 0x163}, {{0x04, 0x84, 0x00}, 0},
        {{0x04, 0x81, 0x01}, 0},      {{0x06, 0xA2, 0x01}, 0x200}, {{0x06, 0xA2, 0x12}, 0x211},
        {{0x06, 0xA2, 0x00}, 0},      // special keys count from 1
        {{0x06, 0xA1, 0x01}, 0},      {{0x01, 0x01, 0x01}, 0},     {{0x05, 0x01, 0x00}, 0},
        {{0x00, 0x00, 0x00}, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(KeyIdOfCode(c.code), c.key) << hex(c.code);
}

TEST(KeyAction, CodeOfKeyId) {
    struct Case {
        uint32_t key;
        Code code;
    } cases[] = {
        {0x01D, {0x02, 0x01, 0x01}}, {0x02A, {0x02, 0x01, 0x02}}, {0x15C, {0x02, 0x01, 0x80}},
        {0x036, {0x02, 0x01, 0x20}}, {0x136, {0x02, 0x02, 0xE5}},  // the second right Shift row
        {0x171, {0x01, 0x01, 0x01}}, {0x173, {0x01, 0x01, 0x04}}, {0x161, {0x01, 0x05, 0x01}},
        {0x162, {0x01, 0x05, 0xFF}}, {0x01E, {0x02, 0x02, 0x04}}, {0x120, {0x02, 0x02, 0xCD}},
        {0x15E, {0x02, 0x02, 0x00}},  // power: a system code, not a keyboard usage
        {0x070, {0x02, 0x02, 0x88}}, {0x064, {0x02, 0x02, 0x00}}, {0x100, {0x02, 0x02, 0x00}},
        {0x12345, {0x02, 0x02, 0x00}},
    };
    for (const auto& c : cases) EXPECT_EQ(CodeOfKeyId(c.key), c.code) << std::hex << c.key;
}

TEST(KeyAction, DecodeReadCodes) {
    struct Case {
        Code code;
        uint16_t kind;
        uint32_t value;
    } cases[] = {
        {{0x05, 0x01, 0x00}, KindMacro, 1},       {{0x05, 0x01, 0xFF}, KindMacro, 256},
        {{0x05, 0x02, 0x07}, KindStopMacro, 0},   {{0x05, 0x05, 0x03}, KindFunction, 3},
        {{0x05, 0x29, 0x09}, Kind29, 9},          {{0x05, 0x07, 0x00}, KindDisabled, 0},
        {{0x03, 0xB5, 0x00}, KindMedia, 4},       {{0x03, 0x8A, 0x01}, KindMedia, 17},
        {{0x03, 0x34, 0x12}, KindDisabled, 0},    {{0x02, 0x01, 0x06}, KindKey, 0x02A},
        {{0x02, 0x02, 0x48}, KindKey, 0x045},     {{0x02, 0x02, 0x00}, KindDisabled, 0},
        {{0x02, 0x01, 0x00}, KindDisabled, 0},    {{0x02, 0x03, 0x01}, KindDisabled, 0},
        {{0x01, 0x01, 0x02}, KindKey, 0x172},     {{0x01, 0x05, 0xFF}, KindKey, 0x162},
        {{0x01, 0x01, 0x03}, KindDisabled, 0},    {{0x01, 0x05, 0x02}, KindDisabled, 0},
        {{0x01, 0x02, 0x01}, KindDisabled, 0},    {{0x04, 0x81, 0x00}, KindDisabled, 0},
        {{0x00, 0x00, 0x00}, KindDisabled, 0},    {{0x06, 0xA2, 0x01}, KindDisabled, 0},
        {{0xFF, 0xFF, 0xFF}, KindDisabled, 0},
    };
    for (const auto& c : cases) {
        KeyAction a = DecodeKeyCode(c.code);
        EXPECT_EQ(a.kind, c.kind) << hex(c.code);
        EXPECT_EQ(a.value, c.value) << hex(c.code);
    }
}

TEST(KeyAction, EncodeRecords) {
    const Code d{0x02, 0x02, 0x04};
    const MacroList macros = macrosWithIds({7, 3});
    auto rec = [](uint16_t kind, uint32_t value) {
        KeyAction a;
        a.kind = kind;
        a.value = value;
        return a;
    };
    struct Case {
        KeyAction action;
        Code code;
    } cases[] = {
        {rec(KindDefault, 0), d},
        {rec(KindDisabled, 0), {}},
        {rec(KindKey, 0x2A), {0x02, 0x01, 0x02}},
        {rec(KindRunProgram, 0x40), d},
        {rec(KindMacro, 3), {0x05, 0x01, 0x01}},
        {rec(KindMacro, 9), {0x05, 0x01, 0x00}},  // no macro has the id
        {rec(KindMacro, 0x10000003), {0x05, 0x01, 0x00}},
        {rec(KindStopMacro, 0), {0x05, 0x02, 0x00}},
        {rec(KindTextBlock, 0x40), {}},
        {rec(KindMedia, 4), {0x03, 0xB5, 0x00}},
        {rec(KindMedia, 0), {0x03, 0x83, 0x01}},
        {rec(KindMedia, 18), d},  // past the media list
        {rec(KindMedia, 0xFFFFFFFF), d},
        {rec(KindFunction, 10), {0x05, 0x05, 0x0A}},
        {rec(KindFunction, 0x100), d},
        {rec(Kind29, 0x1234), {0x05, 0x29, 0x34}},
        {rec(9, 1), d},  // a kind without a code
        {rec(0xFFFF, 1), d},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeKeyAction(c.action, d, macros), c.code)
            << "kind " << c.action.kind << " value " << c.action.value;
}

// A code read at a position becomes a record that writes back either the same code or a
// normal form that survives a second round unchanged. A usage naming a key that has no usage
// of its own (power, sleep, wake read as 02 02 81..83) reads as no key: shown as Power, it
// would write 02 02 00 and change the keyboard's code twice over two applies.
TEST(KeyAction, EveryCodeRoundTripsToItselfOrANormalForm) {
    const Code d{0x02, 0x02, 0x04};
    const MacroList macros = macrosWithIds({1, 2, 3});  // as read from a keyboard with 3 macros
    auto roundTrip = [&](const Code& t) { return EncodeKeyAction(DecodeKeyCode(t), d, macros); };
    std::map<std::string, Code> normalForms = {
        {"05 01 03", {0x05, 0x01, 0x00}}, {"05 02 09", {0x05, 0x02, 0x00}},
        {"02 01 06", {0x02, 0x01, 0x02}}, {"02 01 00", {}},
        {"02 02 E0", {0x02, 0x01, 0x01}}, {"02 02 E7", {0x02, 0x01, 0x80}},
        {"02 02 F1", {0x01, 0x01, 0x01}}, {"02 02 F5", {0x01, 0x05, 0xFF}},
        {"02 02 81", {}},                 {"04 81 00", {}},
        {"01 01 03", {}},                 {"03 34 12", {}},
        {"06 A2 01", {}},                 {"05 07 00", {}},
    };
    int preserved = 0;
    const int groups[] = {0, 1, 2, 3, 4, 5, 6, 7, 0x80, 0xFF};
    for (int g : groups) {
        for (int b = 0; b < 0x10000; ++b) {
            Code t{uint8_t(g), uint8_t(b), uint8_t(b >> 8)};
            Code once = roundTrip(t);
            if (once == t) {
                ++preserved;
                continue;
            }
            ASSERT_EQ(roundTrip(once), once) << hex(t) << " -> " << hex(once);
        }
    }
    for (const auto& [text, form] : normalForms) {
        unsigned g, b1, b2;
        ASSERT_EQ(std::sscanf(text.c_str(), "%x %x %x", &g, &b1, &b2), 3);
        EXPECT_EQ(roundTrip({uint8_t(g), uint8_t(b1), uint8_t(b2)}), form) << text;
    }
    // Preserved: 00 00 00, 3 play codes, 05 02 00, 256 + 256 function codes, 18 media usages,
    // 5 mouse codes, 8 modifier bits and the keyboard usages whose key writes that usage back.
    EXPECT_GT(preserved, 1 + 3 + 1 + 512 + 18 + 5 + 8 + 100);
}

// A small factory table in model A's layout and the keyboard's table read against it.
class KeyTableCodec : public ::testing::Test {
protected:
    void SetUp() override {
        defaults.assign(kMaxKeyTableSize, 0);
        for (size_t i = kModelA.keyTableSize; i < defaults.size(); ++i) defaults[i] = 0xEE;
        put(defaults, 0, {0x02, 0x02, 0x04});  // A
        put(defaults, 1, {0x02, 0x01, 0x02});  // left Shift
        put(defaults, 2, {0x02, 0x02, 0x48});  // Pause
        put(defaults, 3, {0x05, 0x77, 0x77});  // names no key
        put(defaults, 4, {0x04, 0x81, 0x00});  // Power
        put(defaults, 5, {0x06, 0xA2, 0x01});  // special key 1
        put(defaults, 6, {0x02, 0x02, 0x04});  // A again: shares the record of position 0
        put(defaults, 7, {0x02, 0x02, 0x05});  // B
        read.assign(defaults.begin(), defaults.begin() + kModelA.keyTableSize);
        put(read, 0, {0x05, 0x01, 0x00});
        put(read, 1, {0x02, 0x01, 0x06});
        put(read, 2, {0x04, 0x81, 0x00});
        put(read, 3, {0x03, 0xB5, 0x00});
        put(read, 4, {0x03, 0xB5, 0x00});
        put(read, 5, {0x05, 0x05, 0x02});
        put(read, 6, {0x01, 0x01, 0x01});
        area.assign(kKeyAreaSize, 0xAB);
    }
    static void put(std::vector<uint8_t>& table, int position, Code c) { c.storeAt(table, position); }
    KeyAction at(int bank, uint32_t key) const { return ReadKeyAction(area, RecordOf(bank, SlotOfKey(key))); }

    std::vector<uint8_t> defaults, read, area;
};

TEST_F(KeyTableCodec, ClearBankSetsSpecialSlotCodes) {
    ASSERT_TRUE(ClearBank(area, 1));
    EXPECT_EQ(ReadKeyAction(area, RecordOf(1, 0)), KeyAction{});
    EXPECT_EQ(ReadKeyAction(area, RecordOf(1, 256)).param, 0x0301);
    EXPECT_EQ(ReadKeyAction(area, RecordOf(1, 264)).param, 0x0309);
    EXPECT_EQ(ReadKeyAction(area, RecordOf(1, 265)).param, 0x1301);
    EXPECT_EQ(ReadKeyAction(area, RecordOf(1, 273)).param, 0x1309);
    EXPECT_EQ(ReadKeyAction(area, RecordOf(1, 274)), KeyAction{});
    EXPECT_EQ(area[RecordOf(0, 511) * kKeyActionSize], 0xAB);  // other banks untouched
    EXPECT_EQ(area[RecordOf(2, 0) * kKeyActionSize], 0xAB);
    EXPECT_FALSE(ClearBank(area, 4));
    std::vector<uint8_t> shortArea(kKeyAreaSize - 1);
    EXPECT_FALSE(ClearBank(shortArea, 0));
}

TEST_F(KeyTableCodec, DecodeByFactoryPosition) {
    ASSERT_TRUE(DecodeKeyTable(area, 1, read, defaults, kModelA.keyCount));
    struct Case {
        uint32_t key;
        uint16_t kind;
        uint32_t value;
    } cases[] = {
        {0x01E, KindKey, 0x171},       // positions 0 and 6 share A's record: the later one wins
        {0x02A, KindKey, 0x02A},       // 02 01 06: lowest bit
        {0x045, KindDisabled, 0},      // 04 81 00 at a position whose default differs
        {0x15E, KindMedia, 4},         // 03 B5 00 at Power's position
        {0x200, KindFunction, 2},      // special key 1
        {0x030, KindDefault, 0},       // B reads its own default code
    };
    for (const auto& c : cases) {
        KeyAction a = at(1, c.key);
        EXPECT_EQ(a.kind, c.kind) << std::hex << c.key;
        EXPECT_EQ(a.value, c.value) << std::hex << c.key;
    }
    EXPECT_EQ(at(1, 0x200).param, 0x0301);  // the special slot keeps its fixed code
    EXPECT_EQ(area[RecordOf(0, 0) * kKeyActionSize], 0xAB);
    EXPECT_FALSE(DecodeKeyTable(area, -1, read, defaults, kModelA.keyCount));

    // A short table decodes only the positions it holds.
    std::vector<uint8_t> two(read.begin(), read.begin() + 6);
    ASSERT_TRUE(DecodeKeyTable(area, 2, two, defaults, kModelA.keyCount));
    EXPECT_EQ(at(2, 0x01E).kind, KindMacro);
    EXPECT_EQ(at(2, 0x01E).value, 1u);
    EXPECT_EQ(at(2, 0x15E).kind, KindDefault);
}

TEST_F(KeyTableCodec, EncodeFromBank) {
    ASSERT_TRUE(ClearBank(area, 0));
    ASSERT_TRUE(DecodeKeyTable(area, 2, read, defaults, kModelA.keyCount));
    KeyAction textBlock;
    textBlock.kind = KindTextBlock;
    WriteKeyAction(area, RecordOf(2, SlotOfKey(0x030)), textBlock);

    std::vector<uint8_t> out = EncodeKeyTable(area, 2, defaults, kModelA, {});
    ASSERT_EQ(out.size(), size_t(kModelA.keyTableSize));
    struct Case {
        int position;
        Code code;
    } cases[] = {{0, {0x01, 0x01, 0x01}}, {1, {0x02, 0x01, 0x02}}, {2, {}},
                 {3, {0x05, 0x77, 0x77}},  // no key: the factory code stays
                 {4, {0x03, 0xB5, 0x00}}, {5, {0x05, 0x05, 0x02}}, {6, {0x01, 0x01, 0x01}},
                 {7, {}},                  // text block: disabled
                 {8, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(Code::at(out, c.position), c.code) << "position " << c.position;

    // Bank 0 holds nothing: the factory table comes back unchanged.
    out = EncodeKeyTable(area, 0, defaults, kModelA, {});
    EXPECT_TRUE(std::equal(out.begin(), out.end(), defaults.begin()));
    EXPECT_EQ(EncodeKeyTable(area, 0, defaults, kModelB, {}).size(), 512u);

    EXPECT_TRUE(EncodeKeyTable(area, 4, defaults, kModelA, {}).empty());
    std::vector<uint8_t> shortDefaults(defaults.begin(), defaults.begin() + 100);
    EXPECT_TRUE(EncodeKeyTable(area, 0, shortDefaults, kModelA, {}).empty());
}

// A code read at B's position (factory 02 02 05) is decoded into B's record, and the record is
// encoded back at the same position; records the keyboard never reports are encoded alone.
TEST_F(KeyTableCodec, CodesThroughAPositionAndBack) {
    constexpr int kPosB = 7;
    const MacroList macros = macrosWithIds({1});
    struct ReadCase {
        Code read;
        uint16_t kind;
        uint32_t value;
        Code written;
    } reads[] = {
        {{0x02, 0x02, 0x05}, KindDefault, 0, {0x02, 0x02, 0x05}},
        {{0x05, 0x01, 0x00}, KindMacro, 1, {0x05, 0x01, 0x00}},
        {{0x05, 0x01, 0x04}, KindMacro, 5, {0x05, 0x01, 0x00}},  // no macro 5 in the list
        {{0x03, 0xB5, 0x00}, KindMedia, 4, {0x03, 0xB5, 0x00}},
        {{0x03, 0x34, 0x12}, KindDisabled, 0, {}},
        {{0x02, 0x01, 0x06}, KindKey, 0x02A, {0x02, 0x01, 0x02}},
        {{0x02, 0x02, 0x48}, KindKey, 0x045, {0x02, 0x02, 0x48}},  // Pause, not Break
        {{0x04, 0x81, 0x00}, KindDisabled, 0, {}},
        {{0x02, 0x02, 0x81}, KindDisabled, 0, {}},  // power has no keyboard usage to write
        {{0x01, 0x01, 0x03}, KindDisabled, 0, {}},                 // two buttons at once
        {{0x01, 0x05, 0x02}, KindDisabled, 0, {}},                 // no such wheel step
        {{0x05, 0x29, 0x11}, Kind29, 0x11, {0x05, 0x29, 0x11}},
    };
    for (const ReadCase& c : reads) {
        std::vector<uint8_t> table = read;
        c.read.storeAt(table, kPosB);
        ASSERT_TRUE(DecodeKeyTable(area, 0, table, defaults, kModelA.keyCount));
        const KeyAction a = at(0, 0x030);
        EXPECT_EQ(a.kind, c.kind) << hex(c.read);
        EXPECT_EQ(a.value, c.value) << hex(c.read);
        EXPECT_EQ(Code::at(EncodeKeyTable(area, 0, defaults, kModelA, macros), kPosB), c.written)
            << hex(c.read);
    }

    struct RecordCase {
        uint16_t kind;
        uint32_t value;
        Code written;
    } records[] = {
        {KindRunProgram, 0x20, {0x02, 0x02, 0x05}},  // the keyboard runs no program
        {KindTextBlock, 0x20, {}},
        {KindKey, 0x15E, {0x02, 0x02, 0x00}},
        {KindMedia, 18, {0x02, 0x02, 0x05}},         // past the media list
        {KindFunction, 11, {0x05, 0x05, 0x0B}},      // the number is the keyboard's business
        {30, 1, {0x02, 0x02, 0x05}},                 // a kind without a code
    };
    for (const RecordCase& c : records) {
        ClearBank(area, 0);
        KeyAction a;
        a.kind = c.kind;
        a.value = c.value;
        WriteKeyAction(area, RecordOf(0, SlotOfKey(0x030)), a);
        EXPECT_EQ(Code::at(EncodeKeyTable(area, 0, defaults, kModelA, macros), kPosB), c.written)
            << "kind " << c.kind;
    }
}

TEST(KeyAction, DescribeAssignments) {
    std::map<std::string, std::string> texts = {
        {"KEY_PROMPT_SET", " = "},       {"KEY_PROMPT_SINGLE", "key("},
        {"KEY_PROMPT_MACRO", "macro("},  {"KEY_PROMPT_MEDIA", "media("},
        {"KEY_PROMPT_FUNCTION", "fn("},  {"IDS_KEYBOARD_LSHIFT", "Shift"},
        {"MEDIA_Next_TRACK_5", "Next"},  {"FUNC_KEY_DESC4", "Lock Win"},
        {"FUNC_KEY_DESC11", "Last"},     {"UNKNOWN_KEY", "?%X"}};
    LangLookup lang = [&](std::string_view k) {
        auto it = texts.find(std::string(k));
        return it == texts.end() ? std::string() : it->second;
    };
    MacroNameLookup macroName = [](uint32_t id) { return id == 5 ? std::string("Fire") : std::string(); };
    struct Case {
        uint16_t kind;
        uint32_t value;
        const char* text;
        bool assigned;
    } cases[] = {
        {KindDefault, 7, "Esc", false},
        {KindKey, 0x2A, "Esc = key(Shift)", true},
        {KindKey, 0x100, "Esc = key(?100)", true},
        {KindMacro, 5, "Esc = macro(Fire)", true},
        {KindMacro, 6, "Esc = macro()", true},
        {KindMedia, 4, "Esc = media(Next)", true},
        {KindMedia, 18, "Esc = media()", true},
        {KindFunction, 3, "Esc = fn(Lock Win)", true},
        {KindFunction, 10, "Esc = fn(Last)", true},
        {KindFunction, 11, "Esc = fn()", true},
        {KindDisabled, 0, "Esc = ", true},
        {Kind29, 4, "Esc = ", true},
    };
    for (const auto& c : cases) {
        KeyAction a;
        a.kind = c.kind;
        a.value = c.value;
        KeyActionText t = DescribeKeyAction("Esc", a, lang, macroName);
        EXPECT_EQ(t.text, c.text);
        EXPECT_EQ(t.assigned, c.assigned) << c.text;
    }
    KeyAction key;
    key.kind = KindKey;
    key.value = 0x2A;
    EXPECT_EQ(DescribeKeyAction(std::string(300, 'x'), key, lang, macroName).text,
              std::string(kKeyActionTextUnits, 'x'));
}

TEST(KeyAction, ChoiceLists) {
    for (const auto& m : mediaList()) {
        // Each media key's own deviceCode names the same consumer usage that the list writes.
        const KeyTableEntry* e = keyEntry(m.keyId);
        ASSERT_NE(e, nullptr);
        EXPECT_STREQ(e->langKey, m.langKey);
        ASSERT_GE(e->deviceCode, 0xC0);
        EXPECT_EQ(consumerCodeTable()[e->deviceCode - 0xC0], m.usage) << m.langKey;
    }
    EXPECT_STREQ(functionList()[3], "FUNC_KEY_DESC4");
    EXPECT_STREQ(functionList()[10], "FUNC_KEY_DESC11");
    for (const auto& m : mouseChoices()) EXPECT_STREQ(keyEntry(m.keyId)->langKey, m.langKey);
    for (int i = 18; i < kConsumerCodeCount; ++i) EXPECT_EQ(consumerCodeTable()[size_t(i)], 0);
}

}  // namespace
}  // namespace tarnel
