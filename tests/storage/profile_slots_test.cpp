// The switch of the active slot with its prompts, the profile button's name, the slots'
// cache paths and the profile manager's list in the settings store.
#include <gtest/gtest.h>

#include "profile_fixture.h"
#include "storage/profile_list.h"
#include "storage/profile_slots.h"

namespace tarnel::testing {
namespace {

using Calls = std::vector<std::string>;

class ProfileSlotsTest : public ProfileRig {
  protected:
    int keyboardSlot() const { return keyboard.area(sim::SimArea::Info)[kInfoActiveProfileOffset]; }
};

TEST_F(ProfileSlotsTest, SwitchWithoutPendingChanges) {
    struct Case {
        int asked;
        int result;
        bool manager;
        Calls calls;
    };
    const Case cases[] = {
        {2, 2, false, {"refresh"}},
        {3, 0, false, {"refresh"}},  // no slot 3: the first slot
        {1, 1, true, {"row 1", "refresh"}},
    };
    for (const Case& c : cases) {
        setActive(c.result == 0 ? 1 : 0);
        window.calls.clear();
        window.manager = c.manager;
        EXPECT_EQ(SwitchSlot(env, c.asked), 1) << c.asked;
        EXPECT_EQ(keyboardSlot(), c.result) << c.asked;
        EXPECT_EQ(window.calls, c.calls) << c.asked;
        EXPECT_EQ(window.caption, "$Profile" + std::to_string(c.result));
        EXPECT_EQ(window.tooltip, "<PROFILE_TIP>$Profile" + std::to_string(c.result));
    }
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(ProfileSlotsTest, SwitchIsRefusedWhileTheKeyEditorIsOpen) {
    window.editorOpen = true;
    window.pending = true;
    EXPECT_EQ(SwitchSlot(env, 2), 0);
    EXPECT_EQ(prompter.keys(), Calls{"PROFILE_SEELCT_PROMPT2"});
    EXPECT_EQ(keyboard.requestCount(), 0u);
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(ProfileSlotsTest, PendingChangesAreAppliedOrDiscardedBeforeTheSwitch) {
    ProfileImage cached = SampleImage();
    ASSERT_TRUE(SaveFile(cachePath(0), cached));
    struct Case {
        PromptAnswer answer;
        bool cacheExists;
        Calls calls;
        bool imageFromCache;
    };
    const Case cases[] = {
        {PromptAnswer::Yes, true, {"apply", "refresh"}, false},
        {PromptAnswer::No, true, {"clean", "refresh"}, true},
        // Without the slot's cache file the edits cannot be dropped: the image stays whole.
        {PromptAnswer::No, false, {"clean", "refresh"}, false},
    };
    for (const Case& c : cases) {
        if (!c.cacheExists) std::filesystem::remove(cachePath(0));
        setActive(0);
        context.profileImage = CreateDefaultImage();
        WriteKeyAction(context.profileImage.keyArea(), 5, {KindDisabled, 0, 0, {}});
        const ProfileImage edited = context.profileImage;
        window.pending = true;
        window.calls.clear();
        prompter.asked.clear();
        prompter.answers = {c.answer};
        EXPECT_EQ(SwitchSlot(env, 1), 1);
        EXPECT_EQ(prompter.keys(), Calls{"PROFILE_SELECT_PROMPT"});
        EXPECT_EQ(window.calls, c.calls);
        EXPECT_EQ(keyboardSlot(), 1);
        EXPECT_EQ(context.profileImage, c.imageFromCache ? cached : edited);
    }
}

TEST_F(ProfileSlotsTest, SwitchAskedForUnderTheQuestionDoesNotAskAgain) {
    window.pending = true;
    prompter.answers = {PromptAnswer::Yes};
    int inner = -1;
    prompter.onAsk = [&] {
        if (inner == -1) inner = SwitchSlot(env, 2);
    };
    EXPECT_EQ(SwitchSlot(env, 1), 1);
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(prompter.keys(), Calls{"PROFILE_SELECT_PROMPT"});
    EXPECT_EQ(keyboardSlot(), 1);  // the outer switch ends last
}

TEST_F(ProfileSlotsTest, UnknownActiveSlotShowsTheDefaultName) {
    keyboard.unplug();
    context.link.activeProfileCache = -1;
    ShowActiveProfileName(env);
    EXPECT_EQ(window.caption, "<DEFAULT_PROFILE_NAME>");
    EXPECT_EQ(window.tooltip, "<PROFILE_TIP><DEFAULT_PROFILE_NAME>");
}

TEST(ProfileSlotPaths, CachePathsExistForTheThreeSlotsOnly) {
    EXPECT_EQ(SlotCachePath("/data/V", 1), "/data/V/$Profile1");
    EXPECT_EQ(SlotDisplayName(2), "$Profile2");
    for (int slot : {-1, 3}) {
        EXPECT_EQ(SlotCachePath("/data/V", slot), "") << slot;
        EXPECT_EQ(SlotDisplayName(slot), "") << slot;
    }
}

TEST(ProfileList, RowsAreStoredUnderTwoDigitNumbersWithTheCountAtZero) {
    MemorySettingsStore store;
    const std::vector<std::string> rows = {"/u/$Profile0.zkp", "/u/$Profile1.zkp",
                                           "/u/$Profile2.zkp", "/home/me/games.zkp"};
    ASSERT_TRUE(StoreProfileList(store, rows));
    EXPECT_EQ(store.readText("PROFILES", "PROFILE00"), "4");
    EXPECT_EQ(store.readText("PROFILES", "PROFILE04"), "/home/me/games.zkp");
    EXPECT_EQ(ReadProfileList(store), rows);
    store.setOpen(false);
    EXPECT_FALSE(StoreProfileList(store, rows));
}

TEST(ProfileList, RowsBeyondTheThirdHaveNoSlot) {
    EXPECT_EQ(SlotOfProfileRow(2), 2);
    EXPECT_EQ(SlotOfProfileRow(3), -1);
    EXPECT_EQ(SlotOfProfileRow(-1), -1);
}

}  // namespace
}  // namespace tarnel::testing
