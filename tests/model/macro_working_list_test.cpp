#include "model/macro_working_list.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "common/safe_format.h"
#include "model/key_action.h"
#include "model/key_button_port.h"

namespace tarnel {
namespace {

// Answers every question with `answer` and keeps each message as the user would read it.
class ScriptedPrompter : public Prompter {
public:
    PromptAnswer answer = PromptAnswer::Yes;
    std::vector<std::string> keys;
    std::vector<std::string> texts;

    PromptAnswer ask(std::string_view langKey, PromptButtons, PromptIcon,
                     const std::vector<std::string>& args, bool) override {
        static const std::map<std::string, std::string, std::less<>> lang = {
            {kMacroErrMaxKey, "You can have at most %d macros."},
            {kMacroDelayMaxKey, "A delay can be at most %d ms."}};
        keys.emplace_back(langKey);
        auto it = lang.find(langKey);
        texts.push_back(SafeFormat(it == lang.end() ? std::string(langKey) : it->second, args));
        return answer;
    }
};

class PendingWindow : public KeyButtonPort {
public:
    int pendingCalls = 0;
    void SetKeyButtonAssignment(int, bool, const std::string&) override {}
    void SetApplyPending(int pending) override { pendingCalls += pending; }
};

MacroRecord macro(uint16_t id, std::u16string name) {
    MacroRecord r;
    r.macroId = id;
    r.name = std::move(name);
    return r;
}

struct WorkingListTest : ::testing::Test {
    ScriptedPrompter prompter;
    PendingWindow window;
    MacroWorkingList list{prompter, u"Macro "};
    std::vector<uint8_t> keyArea = std::vector<uint8_t>(kKeyAreaSize, 0);
    std::vector<uint8_t> blocks;
    uint16_t count = 0;

    void assignKey(int record, uint32_t macroId) {
        KeyAction a;
        a.kind = KindMacro;
        a.value = macroId;
        WriteKeyAction(keyArea, record, a);
    }
    KeyAction key(int record) const { return ReadKeyAction(keyArea, record); }
    int store() { return StoreWorkingList(list, keyArea, blocks, count, window); }
};

TEST_F(WorkingListTest, GeneratedNamesSkipEveryNumberWhoseNameBeginsAnother) {
    list.FillFrom({macro(1, u"macro 10"), macro(2, u"Other")});
    ASSERT_EQ(list.AddMacro(), 2);
    const MacroRecord& added = list.entries()[2];
    EXPECT_EQ(added.name, u"Macro 2");  // "Macro 1" begins "macro 10", ignoring case
    EXPECT_EQ(added.macroId, 3);
    EXPECT_EQ(added.isNew, 1);
    EXPECT_EQ(added.repeatCount, 1);
    EXPECT_EQ(list.currentMacro(), 2);
}

TEST_F(WorkingListTest, RenameRules) {
    struct Case {
        std::u16string other;  // the name of the second macro; the first is renamed
        std::u16string typed;
        std::u16string stored;
    } cases[] = {
        {u"Other", u"Fire", u"Fire"},
        {u"Other", u"Ol", u"Ol"},        // its own old name does not count
        {u"Other", u"ot", u"Macro 1"},   // begins "Other", ignoring case
        {u"Other", u"OTHER", u"Macro 1"},
        {u"Other", u"", u"Macro 1"},
        {u"Macro 1x", u"Mac", u"Macro 2"},  // the generated name is checked too
    };
    for (const Case& c : cases) {
        list.FillFrom({macro(1, u"Old"), macro(2, c.other)});
        list.SelectMacro(0);
        EXPECT_EQ(list.RenameCurrent(c.typed), c.stored);
        EXPECT_EQ(list.entries()[0].name, c.stored);
    }
}

TEST_F(WorkingListTest, RenameCutsToWhatTheRecordHoldsAndMakesAMacroInAnEmptyList) {
    list.FillFrom({});
    EXPECT_EQ(list.RenameCurrent(u""), u"Macro 1");
    ASSERT_EQ(list.entries().size(), 1u);
    EXPECT_EQ(list.entries()[0].isNew, 1);
    EXPECT_EQ(list.RenameCurrent(std::u16string(300, u'x')).size(), kMaxMacroNameUnits);
}

TEST_F(WorkingListTest, AHundredthMacroIsTheLast) {
    MacroList full;
    for (uint16_t id = 1; id <= 100; ++id) full.push_back(macro(id, u"m" + std::u16string(id, u'x')));
    list.FillFrom(full);
    EXPECT_EQ(list.AddMacro(), -1);
    EXPECT_EQ(list.entries().size(), 100u);
    ASSERT_EQ(prompter.keys, std::vector<std::string>{kMacroErrMaxKey});
    EXPECT_NE(prompter.texts[0].find("100"), std::string::npos) << prompter.texts[0];
}

TEST_F(WorkingListTest, DeletingAskOnlyForAStoredMacroThatKeysUse) {
    assignKey(RecordOf(1, 30), 2);
    struct Case {
        int select;  // 0: stored, unused; 1: stored, used; 2: new
        PromptAnswer answer;
        bool asked;
        bool deleted;
    } cases[] = {
        {0, PromptAnswer::No, false, true},
        {1, PromptAnswer::No, true, false},
        {1, PromptAnswer::Yes, true, true},
        {2, PromptAnswer::No, false, true},
    };
    for (const Case& c : cases) {
        prompter.keys.clear();
        prompter.answer = c.answer;
        list.FillFrom({macro(1, u"a"), macro(2, u"b")});
        list.AddMacro();  // id 3, new
        assignKey(RecordOf(2, 40), 3);
        list.SelectMacro(c.select);
        EXPECT_EQ(list.DeleteMacro(keyArea), c.deleted) << c.select;
        EXPECT_EQ(!prompter.keys.empty(), c.asked) << c.select;
        EXPECT_EQ(list.entries().size(), c.deleted ? 2u : 3u);
    }
}

TEST_F(WorkingListTest, StoreKeepsOnlyKeysWhoseMacroStillExistsAndIsNotNew) {
    list.FillFrom({macro(1, u"a"), macro(2, u"b"), macro(3, u"c")});
    assignKey(RecordOf(0, 30), 3);  // its macro is deleted, then the id is given to a new one
    assignKey(RecordOf(0, 31), 2);  // kept
    assignKey(RecordOf(1, 32), 9);  // never existed
    assignKey(RecordOf(2, 33), 0);  // takes the first macro
    list.SelectMacro(2);
    ASSERT_TRUE(list.DeleteMacro(keyArea));
    ASSERT_EQ(list.AddMacro(), 2);
    ASSERT_EQ(list.entries()[2].macroId, 3);

    ASSERT_EQ(store(), 1);
    EXPECT_EQ(key(RecordOf(0, 30)).kind, KindDefault);
    EXPECT_EQ(key(RecordOf(0, 31)), (KeyAction{KindMacro, 0, 2, {}}));
    EXPECT_EQ(key(RecordOf(1, 32)).kind, KindDefault);
    EXPECT_EQ(key(RecordOf(2, 33)), (KeyAction{KindMacro, 0, 1, {}}));
    EXPECT_EQ(window.pendingCalls, 3);

    MacroList stored = MacroListOfBlocks(blocks, count);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[2].macroId, 3);
    for (const MacroRecord& r : stored) EXPECT_EQ(r.isNew, 0);
    EXPECT_EQ(list.entries()[2].isNew, 0);
    EXPECT_FALSE(list.changed());

    // Once stored, the new macro counts as stored: a key given to it is kept by the next store.
    assignKey(RecordOf(0, 30), 3);
    ASSERT_EQ(store(), 1);
    EXPECT_EQ(key(RecordOf(0, 30)).kind, KindMacro);
}

TEST_F(WorkingListTest, AKeyOfMacroIdZeroWithNoMacroLeftReturnsToItsFactoryFunction) {
    list.FillFrom({});
    assignKey(RecordOf(0, 30), 0);
    ASSERT_EQ(store(), 1);
    EXPECT_EQ(key(RecordOf(0, 30)).kind, KindDefault);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(blocks.empty());
}

TEST_F(WorkingListTest, RepeatCountIsKeptTo1Through255) {
    list.FillFrom({macro(1, u"a")});
    for (auto [typed, kept] : {std::pair{0LL, 1}, {-5LL, 1}, {7LL, 7}, {255LL, 255}, {256LL, 255}, {99999LL, 255}}) {
        EXPECT_EQ(list.SetRepeatCount(typed), kept);
        EXPECT_EQ(list.current()->repeatCount, kept);
    }
}

struct StepsTest : WorkingListTest {
    void SetUp() override {
        MacroRecord m = macro(1, u"a");
        for (uint16_t k : {0x10, 0x11, 0x12, 0x13}) m.actions.push_back({10, k, MacroPress});
        list.FillFrom({m});
    }
    std::vector<uint16_t> keys() const {
        std::vector<uint16_t> out;
        for (const MacroAction& a : list.current()->actions) out.push_back(a.keyId);
        return out;
    }
};

TEST_F(StepsTest, MovesKeepTheStepSelected) {
    struct Case {
        int row;
        StepMove move;
        std::vector<uint16_t> order;
        int selected;
    } cases[] = {
        {2, StepMove::Top, {0x12, 0x10, 0x11, 0x13}, 0},
        {2, StepMove::Up, {0x10, 0x12, 0x11, 0x13}, 1},
        {1, StepMove::Down, {0x10, 0x12, 0x11, 0x13}, 2},
        {1, StepMove::Bottom, {0x10, 0x12, 0x13, 0x11}, 3},
        {0, StepMove::Up, {0x10, 0x11, 0x12, 0x13}, 0},
        {3, StepMove::Down, {0x10, 0x11, 0x12, 0x13}, 3},
    };
    for (const Case& c : cases) {
        SetUp();
        list.SelectStep(c.row);
        ASSERT_TRUE(list.MoveStep(c.move));
        EXPECT_EQ(keys(), c.order) << c.row;
        EXPECT_EQ(list.selectedStep(), c.selected);
    }
}

TEST_F(StepsTest, DeleteAndClear) {
    list.SelectStep(1);
    ASSERT_TRUE(list.DeleteStep());
    EXPECT_EQ(keys(), (std::vector<uint16_t>{0x10, 0x12, 0x13}));
    prompter.answer = PromptAnswer::No;
    EXPECT_FALSE(list.ClearSteps());
    EXPECT_EQ(keys().size(), 3u);
    prompter.answer = PromptAnswer::Yes;
    EXPECT_TRUE(list.ClearSteps());
    EXPECT_TRUE(keys().empty());
    EXPECT_EQ(prompter.keys, (std::vector<std::string>{kMacroClearConfirmKey, kMacroClearConfirmKey}));
    prompter.keys.clear();
    EXPECT_FALSE(list.ClearSteps());  // nothing to clear: no question
    EXPECT_TRUE(prompter.keys.empty());
}

TEST_F(StepsTest, TypedDelaysAreCappedAndCutToTens) {
    for (auto [typed, stored, warned] : {std::tuple{12345LL, 12340LL, false}, {40000LL, 40000LL, false},
                                         {40001LL, 40000LL, true}, {99999999LL, 40000LL, true},
                                         {7LL, 0LL, false}}) {
        prompter.texts.clear();
        EXPECT_EQ(list.SetStepDelay(0, typed), stored);
        EXPECT_EQ(list.current()->actions[0].delayMs, stored);
        ASSERT_EQ(prompter.texts.size(), warned ? 1u : 0u) << typed;
        if (warned) {
            EXPECT_NE(prompter.texts[0].find("40000"), std::string::npos);
        }
    }
    EXPECT_EQ(list.SetStepDelay(4, 10), -1);
}

struct RecordCase {
    bool recordDelays;
    std::vector<uint32_t> gaps;  // A press, A release, B press
    std::vector<uint32_t> delays;
};

TEST_F(WorkingListTest, RecordedStepsGiveTheirGapToTheStepBefore) {
    const RecordCase cases[] = {
        {false, {100, 150}, {50, 0}},
        {true, {100, 150}, {150, 0}},  // the wait before the first event is dropped
        {true, {5, 150, 30}, {150, 30, 0}},
        {true, {0, 90000}, {40000, 0}},  // a long pause is kept at the longest delay
    };
    for (const RecordCase& c : cases) {
        list.FillFrom({macro(1, u"a")});
        list.setRecordDelays(c.recordDelays);
        const uint16_t stepKeys[] = {0x1E, 0x1E, 0x30};
        for (size_t i = 0; i < c.gaps.size(); ++i)
            ASSERT_TRUE(list.AddRecordedStep(stepKeys[i], uint16_t(i % 2), c.gaps[i]));
        std::vector<uint32_t> delays;
        for (const MacroAction& a : list.current()->actions) delays.push_back(a.delayMs);
        EXPECT_EQ(delays, c.delays) << c.recordDelays;
        EXPECT_EQ(list.current()->actions[1], (MacroAction{delays[1], 0x1E, MacroRelease}));
    }
}

TEST_F(StepsTest, ARecordedStepGoesAfterTheSelectedOne) {
    list.setRecordDelays(true);
    list.SelectStep(0);
    ASSERT_TRUE(list.AddRecordedStep(0x20, MacroPress, 70));
    EXPECT_EQ(keys(), (std::vector<uint16_t>{0x10, 0x20, 0x11, 0x12, 0x13}));
    EXPECT_EQ(list.current()->actions[0].delayMs, 70u);
    EXPECT_EQ(list.current()->actions[1].delayMs, 10u);
    EXPECT_EQ(list.selectedStep(), 1);
}

TEST_F(WorkingListTest, RecordingStopsAt4000Steps) {
    MacroRecord m = macro(1, u"a");
    m.actions.resize(kMaxMacroActions - 1);
    list.FillFrom({m});
    EXPECT_TRUE(list.AddRecordedStep(0x1E, MacroPress, 10));
    EXPECT_FALSE(list.AddRecordedStep(0x1E, MacroRelease, 10));
    EXPECT_EQ(list.current()->actions.size(), size_t(kMaxMacroActions));
    EXPECT_TRUE(prompter.keys.empty());
}

}  // namespace
}  // namespace tarnel
