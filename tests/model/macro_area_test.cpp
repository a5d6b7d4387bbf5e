#include "model/macro_area.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "common/le_bytes.h"

namespace tarnel {

// Readable failures: a record prints as its fields and steps.
void PrintTo(const MacroRecord& r, std::ostream* os) {
    *os << "{id " << r.macroId << " new " << r.isNew << " repeat " << int(r.repeatCount)
        << " name";
    for (char16_t c : r.name) *os << ' ' << std::hex << int(c) << std::dec;
    *os << " steps";
    for (const MacroAction& a : r.actions)
        *os << " (" << a.delayMs << ',' << std::hex << a.keyId << std::dec << ',' << a.state << ')';
    *os << '}';
}

namespace {

// A handful of keys with the codes of the keyboard's key table, enough to show each kind of
// step code: usages, the power key, a mouse button (no code in a macro) and the modifiers.
uint8_t fixtureDeviceCode(uint16_t keyId) {
    switch (keyId) {
    case 0x01E: return 0x04;  // A
    case 0x030: return 0x05;  // B
    case 0x01C: return 0x28;  // Enter
    case 0x15E: return 0x81;  // Power
    case 0x120: return 0xCD;  // Mute (a media pseudo code, written as a usage)
    case 0x171: return 0xF1;  // left mouse button
    case 0x02A: return 0xE1;  // left Shift: its usage must lose to the modifier code
    default: return 0x00;
    }
}

uint16_t fixtureKeyIdOfCode(uint8_t group, uint8_t byte1, uint8_t byte2) {
    if (group == 2 && byte1 == 1) {
        static const uint16_t modifiers[] = {0x1D, 0x2A, 0x38, 0x15B, 0x11D, 0x36, 0x138, 0x15C};
        for (int bit = 0; bit < 8; ++bit)
            if (byte2 & (1 << bit)) return modifiers[bit];
        return 0;
    }
    if (group == 2 && byte1 == 2) {
        for (uint16_t id : {0x01E, 0x030, 0x01C, 0x120})
            if (fixtureDeviceCode(id) == byte2) return id;
        return 0;
    }
    if (group == 4 && byte1 == 0x81) return 0x15E;
    return 0;
}

const MacroKeyCodes kCodes{fixtureDeviceCode, fixtureKeyIdOfCode};
constexpr size_t kCapacity = 0x40 * 128;

MacroRecord macro(std::u16string name, std::vector<MacroAction> steps, uint8_t repeat = 1,
                  uint16_t id = 1) {
    MacroRecord r;
    r.name = std::move(name);
    r.repeatCount = repeat;
    r.macroId = id;
    r.actions = std::move(steps);
    return r;
}

std::vector<uint8_t> buildFull(const MacroList& list) {
    return BuildMacroArea(list, MacroAreaSizes(list).full, true, kCodes);
}

MacroList decode(const std::vector<uint8_t>& area, size_t capacity = kCapacity) {
    return DecodeMacroArea(area, capacity, u"Macro ", kCodes);
}

TEST(MacroArea, EmptyListIsTheBareHeader) {
    MacroList list;
    EXPECT_EQ(MacroAreaSizes(list).full, 16u);
    EXPECT_EQ(MacroAreaSizes(list).bare, 16u);
    std::vector<uint8_t> expected = {0xAA, 0x55, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00,
                                     0,    0,    0,    0,    0,    0,    0,    0};
    EXPECT_EQ(buildFull(list), expected);
    EXPECT_TRUE(decode(expected).empty());
}

TEST(MacroArea, OneNamedMacroByteForByte) {
    MacroList list = {macro(u"ab", {{120, 0x2A, MacroPress}})};
    EXPECT_EQ(MacroAreaSizes(list).full, 30u);
    EXPECT_EQ(MacroAreaSizes(list).bare, 26u);
    std::vector<uint8_t> expected = {0xAA, 0x55, 0x1E, 0x00, 0x01, 0x00, 0x01, 0x00,
                                     0,    0,    0,    0,    0,    0,    0,    0,
                                     0x12, 0x00, 0x01, 0x00, 0x01, 0x02, 0x0C, 0xA0,
                                     0x01, 0x02, 0x61, 0x00, 0x62, 0x00};
    EXPECT_EQ(buildFull(list), expected);
    EXPECT_EQ(decode(expected), list);

    std::vector<uint8_t> bare = BuildMacroArea(list, 26, false, kCodes);
    ASSERT_EQ(bare.size(), 26u);
    EXPECT_EQ(bare[6], 0x00);   // hasNames
    EXPECT_EQ(bare[21], 0x00);  // nameLength
    EXPECT_EQ(decode(bare)[0].name, u"Macro 1");
}

TEST(MacroArea, RefusesASizeThatIsNotTheListsOwn) {
    MacroList list = {macro(u"ab", {{120, 0x2A, MacroPress}})};
    EXPECT_TRUE(BuildMacroArea(list, 26, true, kCodes).empty());
    EXPECT_TRUE(BuildMacroArea(list, 31, true, kCodes).empty());
    // 17 macros of 4000 steps: too long for a 16-bit totalSize.
    MacroList huge(17, macro(u"", std::vector<MacroAction>(4000)));
    size_t bare = MacroAreaSizes(huge).bare;
    EXPECT_GT(bare, kMaxMacroAreaSize);
    EXPECT_TRUE(BuildMacroArea(huge, bare, false, kCodes).empty());
}

TEST(MacroArea, StepCodesAndTiming) {
    struct Case {
        MacroAction step;
        uint16_t timing;
        uint8_t byte1, byte2;
        MacroAction readBack;
    };
    const Case cases[] = {
        {{40955, 0x01E, MacroPress}, 0xAFFF, 0x02, 0x04, {40950, 0x01E, MacroPress}},
        {{50000, 0x01E, MacroRelease}, 0x2FFF, 0x02, 0x04, {40950, 0x01E, MacroRelease}},
        {{9, 0x030, MacroRelease}, 0x2000, 0x02, 0x05, {0, 0x030, MacroRelease}},
        {{30, 0x15E, MacroPress}, 0xC003, 0x81, 0x00, {30, 0x15E, MacroPress}},
        {{10, 0x120, MacroPress}, 0xA001, 0x02, 0xCD, {10, 0x120, MacroPress}},
        {{20, 0x171, MacroPress}, 0x8002, 0x00, 0x00, {20, 0, MacroPress}},
        {{20, 0x15C, MacroRelease}, 0x2002, 0x01, 0x80, {20, 0x15C, MacroRelease}},
        {{0, 0x0FF, MacroPress}, 0x8000, 0x00, 0x00, {0, 0, MacroPress}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step.keyId);
        MacroList list = {macro(u"", {c.step})};
        std::vector<uint8_t> area = buildFull(list);
        ASSERT_EQ(area.size(), 26u);
        EXPECT_EQ(getLe16(&area[22]), c.timing);
        EXPECT_EQ(area[24], c.byte1);
        EXPECT_EQ(area[25], c.byte2);
        MacroList back = decode(area);
        ASSERT_EQ(back.size(), 1u);
        EXPECT_EQ(back[0].actions.at(0), c.readBack);
    }
}

// What a list comes back as from the keyboard: delays in whole tens of milliseconds, keys
// without a step code as 0, ids 1, 2, ... in order, isNew 0.
MacroList expectedReadBack(MacroList list, bool withNames) {
    for (size_t i = 0; i < list.size(); ++i) {
        MacroRecord& r = list[i];
        r.macroId = uint16_t(i + 1);
        r.isNew = 0;
        if (!withNames || r.name.empty())  // an entry without a name gets the generated one
            r.name = u"Macro " + std::u16string(1, char16_t(u'1' + i));
        for (MacroAction& a : r.actions) {
            a.delayMs = a.delayMs / 10 * 10;
            if (a.keyId == 0x171 || a.keyId == 0x0FF) a.keyId = 0;
        }
    }
    return list;
}

TEST(MacroArea, RandomListsComeBackWithAndWithoutNames) {
    const uint16_t keys[] = {0x01E, 0x030, 0x01C, 0x15E, 0x120, 0x171, 0x0FF,
                             0x01D, 0x02A, 0x038, 0x15B, 0x11D, 0x036, 0x138, 0x15C};
    std::mt19937 rng(20240611);
    for (int round = 0; round < 20; ++round) {
        MacroList list;
        int count = int(rng() % 10);
        for (int m = 0; m < count; ++m) {
            MacroRecord r;
            r.macroId = uint16_t(100 - m);  // ids are renumbered on reading
            r.isNew = uint16_t(rng() % 2);
            r.repeatCount = uint8_t(1 + rng() % 255);
            for (size_t n = rng() % 12; n > 0; --n) r.name.push_back(char16_t(0x41 + rng() % 900));
            for (size_t s = rng() % 40; s > 0; --s)
                r.actions.push_back({uint32_t(rng() % 40001), keys[rng() % std::size(keys)],
                                     uint16_t(rng() % 2)});
            list.push_back(r);
        }
        for (bool withNames : {true, false}) {
            MacroAreaSize sizes = MacroAreaSizes(list);
            std::vector<uint8_t> area =
                BuildMacroArea(list, withNames ? sizes.full : sizes.bare, withNames, kCodes);
            ASSERT_EQ(area.size(), withNames ? sizes.full : sizes.bare);
            EXPECT_EQ(decode(area), expectedReadBack(list, withNames)) << "round " << round;
        }
    }
}

TEST(MacroArea, LongNamesAreCutTo249Units) {
    MacroList list = {macro(std::u16string(300, u'x'), {})};
    EXPECT_EQ(MacroAreaSizes(list).full, 16u + 2 + 4 + 2 * 249);
    std::vector<uint8_t> area = buildFull(list);
    EXPECT_EQ(area[21], 249);
    EXPECT_EQ(decode(area)[0].name, std::u16string(249, u'x'));
}

// A valid two-macro area of 50 bytes, patched below into malformed ones. Entries start at 20
// and 36; the second one's repeat count and name length are bytes 38 and 39.
std::vector<uint8_t> twoMacros() {
    return buildFull({macro(u"ab", {{10, 0x01E, MacroPress}, {20, 0x01E, MacroRelease}}),
                      macro(u"c", {{30, 0x030, MacroPress}, {40, 0x030, MacroRelease}})});
}

struct Malformed {
    const char* what;
    std::vector<uint8_t> area;
    size_t capacity;
    std::vector<size_t> stepsPerMacro;  // of the macros that come back
    std::vector<std::u16string> names;
};

std::vector<uint8_t> patched(std::vector<uint8_t> area, size_t at, uint16_t value) {
    putLe16(&area[at], value);
    return area;
}

std::vector<uint8_t> cut(std::vector<uint8_t> area, size_t length) {
    area.resize(length);
    return area;
}

TEST(MacroArea, MalformedAreasReadOnlyTheirOwnBytes) {
    std::vector<uint8_t> good = twoMacros();
    ASSERT_EQ(good.size(), 50u);
    const Malformed cases[] = {
        {"well formed", good, kCapacity, {2, 2}, {u"ab", u"c"}},
        {"no magic", patched(good, 0, 0x55AB), kCapacity, {}, {}},
        {"totalSize below the header", patched(good, 2, 15), kCapacity, {}, {}},
        {"totalSize above the capacity", good, 49, {}, {}},
        {"header cut short", cut(good, 3), kCapacity, {}, {}},
        {"offset table past the end", patched(cut(good, 17), 2, 17), kCapacity, {}, {}},
        {"second offset past the end", patched(good, 18, 50), kCapacity, {2}, {u"ab"}},
        {"entry header past the end", patched(good, 18, 48), kCapacity, {2}, {u"ab"}},
        {"steps past the end", patched(good, 36, 3), kCapacity, {2, 2}, {u"ab", u"Macro 2"}},
        {"read shorter than totalSize", cut(good, 46), kCapacity, {2, 1}, {u"ab", u"Macro 2"}},
        {"totalSize shorter than the read", patched(good, 2, 46), kCapacity, {2, 1},
         {u"ab", u"Macro 2"}},
        {"name past the end", patched(good, 38, 0x0501), kCapacity, {2, 2}, {u"ab", u"Macro 2"}},
    };
    for (const Malformed& c : cases) {
        SCOPED_TRACE(c.what);
        MacroList list = decode(c.area, c.capacity);
        ASSERT_EQ(list.size(), c.stepsPerMacro.size());
        for (size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i].actions.size(), c.stepsPerMacro[i]);
            EXPECT_EQ(list[i].name, c.names[i]);
            EXPECT_EQ(list[i].macroId, i + 1);
        }
    }
}

TEST(MacroArea, CountsAreCutToTheListsLimits) {
    // 101 macros: only 100 are read.
    MacroList many(101, macro(u"m", {}));
    EXPECT_EQ(decode(buildFull(many)).size(), 100u);

    // A declared step count above 4000 reads the first 4000 steps; the name sits after all
    // the declared ones, past the end here, so the generated name is used.
    MacroList one = {macro(u"", std::vector<MacroAction>(4000, {10, 0x01E, MacroPress}))};
    std::vector<uint8_t> area = BuildMacroArea(one, MacroAreaSizes(one).bare, false, kCodes);
    area.resize(area.size() + 8, 0);
    putLe16(&area[2], uint16_t(area.size()));
    putLe16(&area[18], 4002);
    area[21] = 3;
    MacroList back = decode(area, area.size());
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].actions.size(), 4000u);
    EXPECT_EQ(back[0].name, u"Macro 1");
}

TEST(MacroArea, LengthToReadAfterTheHeader) {
    std::vector<uint8_t> header = twoMacros();
    header.resize(16);
    EXPECT_EQ(MacroAreaLength(header, kCapacity), 50u);
    EXPECT_EQ(MacroAreaLength(header, 50), 50u);
    EXPECT_EQ(MacroAreaLength(header, 49), 0u);
    EXPECT_EQ(MacroAreaLength(patched(header, 0, 0), kCapacity), 0u);
    EXPECT_EQ(MacroAreaLength(patched(header, 2, 8), kCapacity), 0u);
    EXPECT_EQ(MacroAreaLength(cut(header, 2), kCapacity), 0u);
}

TEST(MacroList, IdLookups) {
    MacroList list = {macro(u"a", {}, 1, 3), macro(u"b", {}, 1, 1), macro(u"c", {}, 1, 3)};
    EXPECT_EQ(MacroIndexOfId(list, 3), 0);
    EXPECT_EQ(MacroIndexOfId(list, 1), 1);
    EXPECT_EQ(MacroIndexOfId(list, 7), 0);
    EXPECT_EQ(FreeMacroId(list), 2);
    EXPECT_EQ(FreeMacroId(MacroList{}), 1);

    MacroList full;
    for (uint16_t id = 100; id >= 1; --id) full.push_back(macro(u"", {}, 1, id));
    EXPECT_EQ(FreeMacroId(full), 0);
    full.pop_back();  // frees id 1
    EXPECT_EQ(FreeMacroId(full), 1);
}

}  // namespace
}  // namespace tarnel
