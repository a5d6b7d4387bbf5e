// The key buttons' view of one bank: refreshing and clearing through the button port.
#include "model/key_action_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/key_button_port.h"

namespace tarnel {
namespace {

class RecordingButtons : public KeyButtonPort {
public:
    struct Shown {
        bool assigned;
        std::string text;
    };
    void SetKeyButtonAssignment(int controlId, bool assigned, const std::string& text) override {
        calls.push_back(controlId);
        buttons[controlId] = {assigned, text};
    }
    void SetApplyPending(int pending) override {
        calls.push_back(-pending);  // after the buttons, as a negative entry
        pendingCalls.push_back(pending);
    }
    std::vector<int> calls;
    std::map<int, Shown> buttons;
    std::vector<int> pendingCalls;
};

constexpr int kButtonCount = kGKeyCount + kKeyButtonCount;
constexpr uint16_t kKeyA = 0x1E;

class KeyButtons : public ::testing::Test {
protected:
    void SetUp() override {
        for (int bank = 0; bank < 3; ++bank) ClearBank(area, bank);
        texts = {{"KEY_PROMPT_SET", " = "},     {"KEY_PROMPT_MACRO", "macro("},
                 {"KEY_PROMPT_FUNCTION", "fn("}, {"FUNC_KEY_DESC4", "Lock"},
                 {"IDS_KEYBOARD_A", "A"},        {"UNKNOWN_KEY", "Key %X"}};
        lang = [this](std::string_view k) {
            auto it = texts.find(std::string(k));
            return it == texts.end() ? std::string() : it->second;
        };
    }
    void assign(int bank, int slot, uint16_t kind, uint32_t value) {
        KeyAction a = ReadKeyAction(area, RecordOf(bank, slot));
        a.kind = kind;
        a.value = value;
        WriteKeyAction(area, RecordOf(bank, slot), a);
    }
    int controlOfA() const { return controlOfKeyId(kKeyA); }

    std::vector<uint8_t> area = std::vector<uint8_t>(kKeyAreaSize, 0);
    std::map<std::string, std::string> texts;
    LangLookup lang;
    RecordingButtons port;
};

TEST_F(KeyButtons, RefreshShowsEachButtonOfTheBank) {
    MacroRecord fire;
    fire.macroId = 5;
    fire.name = u"Fire";
    const MacroList macros{fire};
    assign(2, kFirstSpecialSlot, KindFunction, 3);  // G1
    assign(2, SlotOfKey(kKeyA), KindMacro, 5);
    assign(1, SlotOfKey(kKeyA), KindDisabled, 0);   // another bank: not shown

    ASSERT_TRUE(RefreshButtons(port, area, 2, lang, MacroNamesOf(macros)));
    EXPECT_EQ(port.calls.size(), size_t(kButtonCount));
    EXPECT_EQ(port.buttons.size(), size_t(kButtonCount));
    EXPECT_TRUE(port.pendingCalls.empty());
    const auto& g1 = port.buttons[kGKeyControls[0]];
    EXPECT_TRUE(g1.assigned);
    EXPECT_EQ(g1.text, "G1 = fn(Lock)");
    EXPECT_EQ(port.buttons[kGKeyControls[8]].text, "G9");
    EXPECT_EQ(port.buttons[controlOfA()].text, "A = macro(Fire)");
    int assigned = 0;
    for (const auto& [control, shown] : port.buttons) assigned += shown.assigned;
    EXPECT_EQ(assigned, 2);

    // No readable active profile, or no key area: nothing is shown.
    RecordingButtons none;
    EXPECT_FALSE(RefreshButtons(none, area, -1, lang, {}));
    EXPECT_FALSE(RefreshButtons(none, area, 3, lang, {}));
    EXPECT_FALSE(RefreshButtons(none, std::span(area).first(100), 0, lang, {}));
    EXPECT_TRUE(none.calls.empty());
}

TEST_F(KeyButtons, ClearTouchesOnlyTheButtonSlotsOfTheBank) {
    for (int slot = 0; slot < kBankSlots; ++slot) assign(1, slot, KindDisabled, 7);
    const std::vector<uint8_t> before = area;

    ASSERT_TRUE(ClearButtonAssignments(port, area, 1, lang));
    ASSERT_EQ(port.calls.size(), size_t(kButtonCount) + 1);
    EXPECT_EQ(port.calls.back(), -1);  // marked changed after the buttons
    EXPECT_EQ(port.pendingCalls, std::vector<int>{1});
    for (const auto& [control, shown] : port.buttons) EXPECT_FALSE(shown.assigned) << control;
    EXPECT_EQ(port.buttons[controlOfA()].text, "A");

    std::vector<bool> isButtonSlot(kBankSlots, false);
    for (int i = 0; i < kGButtonSlotCount; ++i) isButtonSlot[size_t(kFirstSpecialSlot + i)] = true;
    for (const KeyButton& b : keyButtons()) isButtonSlot[size_t(SlotOfKey(b.keyId))] = true;
    for (int slot = 0; slot < kBankSlots; ++slot) {
        KeyAction a = ReadKeyAction(area, RecordOf(1, slot));
        if (isButtonSlot[size_t(slot)]) EXPECT_EQ(a, KeyAction{}) << "slot " << slot;
        else EXPECT_EQ(a, ReadKeyAction(before, RecordOf(1, slot))) << "slot " << slot;
    }
    EXPECT_EQ(ReadKeyAction(area, RecordOf(1, 265)).param, 0x1301);  // the second G set stays
    for (int bank : {0, 2, 3})
        for (int slot = 0; slot < kBankSlots; ++slot)
            ASSERT_EQ(ReadKeyAction(area, RecordOf(bank, slot)),
                      ReadKeyAction(before, RecordOf(bank, slot)));

    RecordingButtons none;
    EXPECT_FALSE(ClearButtonAssignments(none, area, -1, lang));
    EXPECT_TRUE(none.calls.empty());
}

TEST(MacroNames, CopiedAsUtf8AndFirstIdWins) {
    MacroList list(3);
    list[0].macroId = 4;
    list[0].name = u"Caf\u00e9 \U0001F3AE";
    list[1].macroId = 4;
    list[1].name = u"second";
    list[2].macroId = 9;
    list[2].name = std::u16string(1, char16_t(0xD800)) + u"x";  // a lone surrogate
    MacroNameLookup names = MacroNamesOf(list);
    list.clear();  // the lookup keeps its own copy
    EXPECT_EQ(names(4), "Caf\xC3\xA9 \xF0\x9F\x8E\xAE");
    EXPECT_EQ(names(9), "\xEF\xBF\xBDx");
    EXPECT_EQ(names(1), "");
}

// Language texts are data: a text with printf conversions and no matching argument is
// substituted safely, never used as a format.
TEST_F(KeyButtons, HostileLanguageTextsAreNotFormats) {
    texts["UNKNOWN_KEY"] = "%s%s%n%p %04X";
    texts["KEY_PROMPT_SET"] = "%n%s";
    texts["KEY_PROMPT_SINGLE"] = "(%d";
    KeyAction a;
    a.kind = KindKey;
    a.value = 0x100;  // no name: the unknown-key text is used
    const KeyActionText t = DescribeKeyAction("%s", a, lang, {});
    EXPECT_TRUE(t.assigned);
    // The button name and the prompts are copied as they are; the unknown-key text's first
    // placeholder takes the key id and the others, without arguments, stay as they stand.
    EXPECT_EQ(t.text, "%s" "%n%s" "(%d" "256%s%n%p %04X" ")");
}

}  // namespace
}  // namespace tarnel
