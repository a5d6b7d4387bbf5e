#include "model/key_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace tarnel {
namespace {

LangLookup langOf(std::map<std::string, std::string> texts) {
    return [texts = std::move(texts)](std::string_view key) {
        auto it = texts.find(std::string(key));
        return it == texts.end() ? std::string() : it->second;
    };
}

TEST(KeyTable, RowAndKeyIdConversions) {
    struct Case {
        uint32_t keyId;
        int row;
    } cases[] = {{0x001, 1}, {0x036, 54}, {0x07E, 126}, {0x100, 128},
                 {0x11C, 156}, {0x137, 183}, {0x17E, 254}, {0x200, -1}};
    for (const auto& c : cases) EXPECT_EQ(keyTableRow(c.keyId), c.row) << std::hex << c.keyId;

    EXPECT_EQ(keyIdOfRow(156), 0x11C);
    EXPECT_EQ(keyIdOfRow(182), 0x136);
    EXPECT_EQ(keyIdOfRow(127), 0x07F);
    EXPECT_EQ(keyIdOfRow(256), 0);
    EXPECT_EQ(keyIdOfRow(-1), 0);
    for (int row = 0; row < kKeyTableRows; ++row) EXPECT_EQ(keyTableRow(keyIdOfRow(row)), row);
    EXPECT_EQ(keyEntry(0x200), nullptr);
}

// The macro editor's key list shows entry i as the key whose keyCode16 is i: every position
// 0..0x6E must be held by a key, and the codes of unlisted keys must not collide either.
TEST(KeyTable, TableContentsAreConsistent) {
    int filled = 0;
    std::multiset<uint16_t> listed;
    std::set<uint16_t> unlisted;
    int unlistedRows = 0;
    for (const auto& e : keyTable()) {
        if (e.keyCode16 == kEmptyCode16) {
            EXPECT_STREQ(e.langKey, "");
            EXPECT_EQ(e.deviceCode, 0);
            continue;
        }
        ++filled;
        if (e.keyCode16 <= 0x6E) listed.insert(e.keyCode16);
        if (e.keyCode16 >= 0x8001) {
            unlisted.insert(e.keyCode16);
            ++unlistedRows;
        }
    }
    EXPECT_EQ(filled, 157);
    for (uint16_t code = 0; code <= 0x6E; ++code)
        EXPECT_EQ(listed.count(code), code == 0x67 ? 2u : 1u) << std::hex << code;  // Right Shift twice
    EXPECT_EQ(unlisted.size(), 45u);
    EXPECT_EQ(unlistedRows, 45);
    EXPECT_EQ(*unlisted.begin(), 0x8001);
    EXPECT_EQ(*unlisted.rbegin(), 0x802D);
    EXPECT_STREQ(keyEntry(0x064)->langKey, "");  // F13 has no name
    EXPECT_EQ(keyEntry(0x047)->altVirtualKey, 0x24);
    EXPECT_EQ(keyEntry(0x01E)->altVirtualKey, keyEntry(0x01E)->virtualKey);
}

TEST(KeyTable, Code16Lookups) {
    struct Case {
        uint16_t code;
        uint16_t keyId;
    } cases[] = {{0x0000, 0x01E}, {0x0025, 0x001}, {0x0067, 0x036}, {0x006E, 0x162},
                 {0x802D, 0x064}, {0xFFFF, 0x000}, {0x1234, 0x000}};
    for (const auto& c : cases) EXPECT_EQ(keyIdOfCode16(c.code), c.keyId) << std::hex << c.code;
    EXPECT_EQ(code16OfKey(0x15E), 0x8001);
    EXPECT_EQ(code16OfKey(0x100), kEmptyCode16);
    EXPECT_EQ(code16OfKey(0x300), kEmptyCode16);

    auto lang = langOf({{"IDS_KEYBOARD_ESC", "Esc"}});
    EXPECT_EQ(code16DisplayName(0x0025, lang), "Esc");
    EXPECT_EQ(code16DisplayName(0x802D, lang), "");  // F13: no language key
    EXPECT_EQ(code16DisplayName(0x7777, lang), "");
}

TEST(KeyTable, VirtualKeyMap) {
    struct Case {
        uint32_t vk;
        uint16_t keyId;
    } cases[] = {{0x10, 0x02A}, {0x11, 0x01D}, {0x12, 0x038}, {0xA1, 0x036}, {0x0D, 0x01C},
                 {0x2C, 0x137}, {0x30, 0x00B}, {0x5A, 0x02C}, {0x60, 0x052}, {0x7C, 0x064},
                 {0x9C, 0x154}, {0xB7, 0x121}, {0xEB, 0x07B}, {0x00, 0},     {0x0C, 0},
                 {0xFF, 0},     {0x1A0, 0}};
    for (const auto& c : cases) EXPECT_EQ(keyIdOfVirtualKey(c.vk), c.keyId) << std::hex << c.vk;
}

TEST(KeyTable, DisplayNames) {
    auto lang = langOf({{"IDS_KEYBOARD_A", "A"},
                        {"IDS_KEYBOARD_ESC", ""},
                        {"IDS_KEYBOARD_S_ENTER", "Entr\xC3\xA9\xC3\xA9"},
                        {"UNKNOWN_KEY", "Key %04X"}});
    EXPECT_EQ(keyDisplayName(0x01E, lang), "A");
    EXPECT_EQ(keyDisplayName(0x064, lang), "Key 0064");  // F13: no language key
    EXPECT_EQ(keyDisplayName(0x100, lang), "Key 0100");  // G1 falls on an empty row
    EXPECT_EQ(keyDisplayName(0x108, lang), "Key 0108");
    EXPECT_EQ(keyDisplayName(0x001, lang), "Key 0001");  // language text empty
    EXPECT_EQ(keyDisplayName(0x12345, lang), "Key 2345");  // the id is a 16-bit value

    // A fallback text is filled in, never used as a format.
    auto hostile = langOf({{"UNKNOWN_KEY", "%s%n%d %d%%"}});
    EXPECT_EQ(keyDisplayName(0x064, hostile), "100%n%d %d%");

    char buffer[8];
    EXPECT_EQ(keyDisplayName(0x11C, lang, buffer, sizeof buffer), 6u);  // "Entr" + one 2-byte char
    EXPECT_STREQ(buffer, "Entr\xC3\xA9");
    EXPECT_EQ(keyDisplayName(0x01E, lang, buffer, 1), 0u);
    EXPECT_STREQ(buffer, "");
}

// LED positions index the per-key colour block: two keys on one LED would paint each other.
TEST(KeyTable, KeyButtonsHaveDistinctControlsKeysAndLeds) {
    std::set<int> controls, leds;
    std::set<uint16_t> keys;
    for (const auto& b : keyButtons()) {
        controls.insert(b.controlId);
        keys.insert(b.keyId);
        leds.insert(b.ledIndex);
        EXPECT_NE(keyEntry(b.keyId)->keyCode16, kEmptyCode16) << b.controlId;
        EXPECT_LT(b.ledIndex, 126);
        EXPECT_NE(b.ledIndex, kFnLedIndex);
    }
    EXPECT_EQ(controls.size(), size_t(kKeyButtonCount));
    EXPECT_EQ(keys.size(), size_t(kKeyButtonCount));
    EXPECT_EQ(leds.size(), size_t(kKeyButtonCount));
}

TEST(KeyTable, ControlLookups) {
    struct Case {
        int control;
        uint16_t keyId;
        int led;
        int gLed;
        const char* skin;
    } cases[] = {
        {1058, 0x01E, 64, 0, "KEY_01E"},   {1118, 0x11C, 104, 0, "KEY_09C"},
        {1091, 0x137, 14, 0, "KEY_0B7"},   {1200, 0x073, 96, 0, "KEY_073"},
        {1000, 0x100, 0, 125, "FUNC_G1"},  {1140, 0x105, 0, 125, "FUNC_G6"},
        {1143, 0x108, 0, 125, "FUNC_G9"},  {kFnControl, 0, 0, 0, "KEY_FN"},
        {1005, 0, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(keyIdOfControl(c.control), c.keyId);
        EXPECT_EQ(ledIndexOfControl(c.control), c.led);
        EXPECT_EQ(gKeyLedIndex(c.control), c.gLed);
        EXPECT_EQ(skinNameOfControl(c.control), c.skin);
        if (c.keyId) {
            EXPECT_EQ(controlOfKeyId(c.keyId), c.control);
        }
    }
    EXPECT_EQ(controlOfKeyId(0x064), 0);  // F13 has no button
    EXPECT_EQ(controlOfKeyId(0x109), 0);
    EXPECT_EQ(keySkinName(0x137), "KEY_0B7");
    EXPECT_EQ(keySkinName(0x200), "");
}

TEST(KeyTable, TruncateToUtf16Units) {
    struct Case {
        const char* text;
        size_t units;
        const char* cut;
    } cases[] = {{"abc", 2, "ab"},
                 {"a\xC3\xA9z", 2, "a\xC3\xA9"},
                 {"a\xF0\x9F\x98\x80", 2, "a"},  // a surrogate pair does not fit in one unit
                 {"a\xF0\x9F\x98\x80", 3, "a\xF0\x9F\x98\x80"},
                 {"abc", 10, "abc"}};
    for (const auto& c : cases) {
        std::string text = c.text;
        truncateToUtf16Units(text, c.units);
        EXPECT_EQ(text, c.cut);
    }
}

}  // namespace
}  // namespace tarnel
