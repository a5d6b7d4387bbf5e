// The profile store against the simulated keyboard: the load at connection, apply, import and
// the backup of a keyboard that stops answering.
#include <gtest/gtest.h>

#include "profile_fixture.h"
#include "storage/profile_file.h"

namespace tarnel::testing {
namespace {

class ProfileDeviceTest : public ProfileRig {
  protected:
    // A key position whose factory code names a key, and that key's slot.
    std::pair<int, int> assignablePosition(int skip = 0) const {
        const DefaultMatrix matrix = context.defaultMatrix();
        for (int k = 0; k < keyboard.model().keyCount; ++k) {
            const int slot = SlotOfKey(KeyIdOfCode(DeviceKeyCode::at(matrix, k)));
            if (slot != 0 && skip-- == 0) return {k, slot};
        }
        ADD_FAILURE() << "no assignable position";
        return {0, 0};
    }

    void expectKeyboardHolds(const AppliedSnapshot& snapshot, const std::vector<int>& profiles) {
        ExpectKeyboardHolds(keyboard, context.defaultMatrix(), snapshot, profiles);
    }

    std::vector<int> commandsSent() const {
        std::vector<int> sent;
        for (const auto& frame : keyboard.requests())
            if (sent.empty() || sent.back() != frame[3]) sent.push_back(frame[3]);
        return sent;
    }
};

TEST_F(ProfileDeviceTest, LoadFromKeyboardWritesTheActiveSlotsCacheAndLoadsIt) {
    setActive(1);
    const auto [position, slot] = assignablePosition();
    const DeviceKeyCode typed = CodeOfKeyId(0x30);
    const uint8_t code[3] = {typed.group, typed.byte1, typed.byte2};
    keyboard.setArea(sim::SimArea::KeyTables,
                     size_t(keyboard.model().keyTableStride + 3 * position), code);
    const MacroList macros = SampleMacros();
    keyboard.setArea(sim::SimArea::Macros, 0,
                     BuildMacroArea(macros, MacroAreaSizes(macros).full, true));

    LoadFromKeyboard(env, false);

    ASSERT_EQ(ValidateFile(cachePath(1), &prompter), ValidateOk);
    EXPECT_FALSE(std::filesystem::exists(cachePath(0)));
    std::optional<ProfileImage> cached = LoadFile(cachePath(1));
    ASSERT_TRUE(cached);
    EXPECT_EQ(context.profileImage, *cached);
    EXPECT_EQ(ReadKeyAction(context.profileImage.keyArea(), RecordOf(1, slot)),
              (KeyAction{KindKey, 0, 0x30, {}}));
    EXPECT_EQ(ReadKeyAction(context.profileImage.keyArea(), RecordOf(0, slot)).kind, KindDefault);
    const MacroList loaded =
        MacroListOfBlocks(context.profileImage.macroBlocks, context.profileImage.macroCount);
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[1].name, u"Copy");
    EXPECT_EQ(loaded[1].macroId, 2);  // ids follow the keyboard's order
    EXPECT_EQ(loaded[1].actions, macros[1].actions);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"refresh", "clean"}));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(ProfileDeviceTest, ApplyWritesExactlyTheEncodingOfTheImage) {
    context.profileImage = SampleImage();
    const ProfileImage edited = context.profileImage;
    ASSERT_EQ(ApplyToKeyboard(env, true), 1);

    const AppliedSnapshot& snapshot = context.appliedImage;
    expectKeyboardHolds(snapshot, {0, 1, 2});
    EXPECT_NE(keyboardTable(0), keyboard.area(sim::SimArea::FactoryKeyTable));  // the macro key
    EXPECT_EQ(commandsSent(), (std::vector<int>{1, 10, 8, 2}));
    // The snapshot's string records hold their offsets; the edited image is left as it was.
    EXPECT_EQ(ReadKeyAction(snapshot.keyArea(), RecordOf(0, 0x20)).value, 0u);
    EXPECT_EQ(ReadKeyAction(snapshot.keyArea(), RecordOf(2, 0x21)).value, 28u);
    EXPECT_EQ(snapshot.stringArea.size(), 28u + 12u);
    EXPECT_EQ(context.profileImage, edited);
}

TEST_F(ProfileDeviceTest, ApplyOfTheActiveProfileLeavesTheOthers) {
    setActive(2);
    context.profileImage = SampleImage();
    const std::vector<uint8_t> before0 = keyboardTable(0), before1 = keyboardTable(1);
    ASSERT_EQ(ApplyToKeyboard(env, false), 1);
    expectKeyboardHolds(context.appliedImage, {2});
    EXPECT_EQ(keyboardTable(0), before0);
    EXPECT_EQ(keyboardTable(1), before1);
}

TEST_F(ProfileDeviceTest, ImportOfAFileWithMacrosAndStringsWritesEveryTable) {
    ProfileImage exported = SampleImage();
    ASSERT_TRUE(SaveFile(path("two.zkp"), exported));
    ASSERT_TRUE(CreateDefaultFile(cachePath(0), 0));  // the load at connection wrote it

    EXPECT_EQ(ImportProfile(env, path("two.zkp")), 1);
    EXPECT_EQ(context.profileImage, exported);
    expectKeyboardHolds(context.appliedImage, {0, 1, 2});
    EXPECT_EQ(commandsSent(), (std::vector<int>{1, 10, 8, 2}));
    EXPECT_EQ(take(cachePath(0)), take(path("two.zkp")));
    EXPECT_EQ(window.calls, (std::vector<std::string>{"refresh", "clean"}));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(ProfileDeviceTest, FailedImportChangesNothing) {
    std::vector<uint8_t> header(kProfileImageSize, 0);
    BuildHeader(header, 2, 0, 0);
    put(path("cut.zkp"), std::string(header.begin(), header.end()));  // says 2 macros, has none
    put(path("short.zkp"), std::string(0x803F, '\0'));
    struct Case {
        std::string file;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {path("cut.zkp"), {"PROFILE_FORMAT_ERROR", "MAIN_PROMPT_INPORT"}},
        {path("short.zkp"), {"MAIN_PROMPT_INPORT"}},
        {path("none.zkp"), {"MAIN_PROMPT_INPORT"}},
    };
    context.profileImage = SampleImage();
    const ProfileImage before = context.profileImage;
    for (const Case& c : cases) {
        prompter.asked.clear();
        EXPECT_EQ(ImportProfile(env, c.file), 0) << c.file;
        EXPECT_EQ(prompter.keys(), c.messages) << c.file;
        EXPECT_EQ(context.profileImage, before) << c.file;
    }
    EXPECT_EQ(keyboard.requestCount(), 0u);
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(ProfileDeviceTest, KeyboardThatStopsAnsweringDuringBackupGivesTheDefaultImage) {
    // Model A: 3 key tables of 7 frames each, then the macro header.
    for (int firstFrame : {1, 22}) {
        context.profileImage = SampleImage();
        context.link.activeProfileCache = 0;
        keyboard.clearLog();
        for (int n = firstFrame; n < firstFrame + kTransactAttempts; ++n)
            keyboard.injectFault(n, sim::FaultKind::NoReply);
        LoadFromKeyboard(env, true);
        EXPECT_EQ(context.profileImage, CreateDefaultImage()) << firstFrame;
        EXPECT_FALSE(std::filesystem::exists(cachePath(0))) << firstFrame;
    }
    EXPECT_TRUE(std::filesystem::is_empty(context.paths.userDataDir));
}

TEST_F(ProfileDeviceTest, BackupRefusesAnActiveProfileWithoutASlot) {
    context.link.activeProfileCache = 3;
    EXPECT_EQ(BackupKeyboard(env, path("b.zkp")), 0);
    EXPECT_FALSE(std::filesystem::exists(path("b.zkp")));
    EXPECT_EQ(keyboard.requestCount(), 0u);
}

TEST_F(ProfileDeviceTest, ApplyCommandSavesTheCacheAndCleansOnlyWhenBothSucceed) {
    struct Case {
        bool cacheExists;
        int result;
        bool clean;
    };
    for (const Case c : {Case{true, 1, true}, Case{false, 0, false}}) {
        std::filesystem::remove(cachePath(0));
        if (c.cacheExists) {
            ASSERT_TRUE(CreateDefaultFile(cachePath(0), 0));
        }
        context.profileImage = SampleImage();
        window.pending = true;
        EXPECT_EQ(ApplyChanges(env), c.result);
        EXPECT_EQ(!window.pending, c.clean);
        EXPECT_EQ(std::filesystem::exists(cachePath(0)), c.cacheExists);
        if (c.cacheExists) {
            EXPECT_EQ(*LoadFile(cachePath(0)), context.profileImage);
        }
        expectKeyboardHolds(context.appliedImage, {0});  // sent in both cases
    }
}

}  // namespace
}  // namespace tarnel::testing
