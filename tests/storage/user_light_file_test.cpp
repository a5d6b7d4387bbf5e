#include "storage/user_light_file.h"

#include <gtest/gtest.h>

#include "model/key_table.h"
#include "temp_dir.h"

namespace tarnel {
namespace {

class UserLightFileTest : public testing::TempDir {
protected:
    void SetUp() override {
        TempDir::SetUp();
        std::filesystem::create_directories(path("Skins"));
        dataDir = path("local/Vornak_TX48RGB");
    }
    UserLightFiles files() const {
        return UserLightFiles(dataDir, dataDir + "/UserDengColor_", path("Skins/UserDengColor_"));
    }
    void putTemplate(const std::string& bytes) const { put(path("Skins/UserDengColor_3.userd"), bytes); }

    std::string dataDir;
};

const char kTemplate[] = "[PRESENTMODE]\r\nmode=0\r\n[MODENAME]\r\n0=First\r\n";

TEST_F(UserLightFileTest, EnsureCopiesTheTemplateOnlyIntoANewFolder) {
    putTemplate(kTemplate);
    const UserLightFiles light = files();
    EXPECT_TRUE(light.EnsureUserFiles());
    for (int n = 0; n < 3; ++n) EXPECT_EQ(take(light.FilePath(n)), kTemplate) << n;
    EXPECT_EQ(light.FilePath(0), dataDir + "/UserDengColor_0.userd");

    // The folder exists: a deleted file is not made again, and reads give the defaults.
    std::filesystem::remove(light.FilePath(1));
    EXPECT_TRUE(light.EnsureUserFiles());
    EXPECT_FALSE(std::filesystem::exists(light.FilePath(1)));
    EXPECT_EQ(light.ReadModeName(1, 0), "0");
    EXPECT_EQ(light.ReadModeName(0, 0), "First");
}

TEST_F(UserLightFileTest, EnsureWithoutTemplateGivesEmptyFiles) {
    const UserLightFiles light = files();
    EXPECT_TRUE(light.EnsureUserFiles());
    for (int n = 0; n < 3; ++n) {
        EXPECT_TRUE(std::filesystem::exists(light.FilePath(n))) << n;
        EXPECT_EQ(take(light.FilePath(n)), "") << n;
    }
}

TEST_F(UserLightFileTest, ResetReplacesTheWholeFileAndNeverLosesItOnAFailedRead) {
    putTemplate(kTemplate);
    const UserLightFiles light = files();
    ASSERT_TRUE(light.EnsureUserFiles());
    ASSERT_TRUE(light.WriteModeName(2, 0, "Mine"));
    ASSERT_TRUE(light.WriteKeyEntry(2, 0, 64, MakeColor(1, 2, 3), false));
    EXPECT_TRUE(light.ResetFromTemplate(2));
    EXPECT_EQ(take(light.FilePath(2)), kTemplate);

    // A template that cannot be read (here a folder) leaves the user's file as it was.
    ASSERT_TRUE(light.WriteModeName(2, 0, "Mine"));
    const std::string before = take(light.FilePath(2));
    std::filesystem::remove(path("Skins/UserDengColor_3.userd"));
    std::filesystem::create_directory(path("Skins/UserDengColor_3.userd"));
    EXPECT_FALSE(light.ResetFromTemplate(2));
    EXPECT_EQ(take(light.FilePath(2)), before);

    // A missing template resets to an empty file: every value reads as its default.
    std::filesystem::remove(path("Skins/UserDengColor_3.userd"));
    EXPECT_TRUE(light.ResetFromTemplate(2));
    EXPECT_EQ(take(light.FilePath(2)), "");
    EXPECT_EQ(light.ReadModeName(2, 0), "0");

    EXPECT_FALSE(light.ResetFromTemplate(3));
    EXPECT_FALSE(std::filesystem::exists(dataDir + "/UserDengColor_3.userd"));
}

TEST_F(UserLightFileTest, MissingValuesReadAsTheirDefaults) {
    const UserLightFiles light = files();  // no folder, no files
    EXPECT_EQ(light.ReadPresentMode(0), 0);
    EXPECT_EQ(light.ReadModeName(0, 4), "0");
    EXPECT_EQ(light.ReadModeSettings(0, 4), (UserModeSettings{0, 0, 0}));
    EXPECT_EQ(light.ReadKeyEntry(0, 4, 64), (UserKeyEntry{MakeColor(255, 0, 0), true}));
}

TEST_F(UserLightFileTest, WritesStoreDecimalRedGreenBlue) {
    putTemplate(kTemplate);
    const UserLightFiles light = files();
    ASSERT_TRUE(light.EnsureUserFiles());
    const UserModeSettings settings{1, MakeColor(10, 20, 30), MakeColor(255, 128, 0)};
    EXPECT_TRUE(light.WriteModeSettings(1, 3, settings));
    EXPECT_TRUE(light.WriteKeyEntry(1, 3, kFnLedIndex, MakeColor(4, 5, 6), false));
    EXPECT_TRUE(light.WriteKeyEntry(1, 3, 125, MakeColor(7, 8, 9), true));
    EXPECT_TRUE(light.WritePresentMode(1, 3));
    EXPECT_TRUE(light.WriteModeName(1, 3, "Night"));
    // The template's lines stay as they were; new values use its line ends.
    EXPECT_EQ(take(light.FilePath(1)),
              "[PRESENTMODE]\r\nmode=3\r\n[MODENAME]\r\n0=First\r\n3=Night\r\n"
              "[Mode3]\r\ntool=1\r\njcolor=10,20,30\r\ncolor=255,128,0\r\n116=4,5,6,0\r\n125=7,8,9,1\r\n");
    EXPECT_EQ(light.ReadModeSettings(1, 3), settings);
    EXPECT_EQ(light.ReadKeyEntry(1, 3, kFnLedIndex), (UserKeyEntry{MakeColor(4, 5, 6), false}));
    EXPECT_EQ(light.ReadPresentMode(1), 3);
    EXPECT_EQ(light.ReadModeName(1, 3), "Night");
    EXPECT_EQ(light.ReadModeName(0, 3), "0");  // other profiles are other files

    EXPECT_FALSE(light.WriteModeName(1, 3, "two\nlines"));
    EXPECT_EQ(light.ReadModeName(1, 3), "Night");

    // Recolouring linked keys writes them together.
    const PlacedKeyEntry recolour[] = {{kFnLedIndex, {MakeColor(0, 0, 9), true}},
                                       {64, {MakeColor(0, 0, 9), true}}};
    EXPECT_TRUE(light.WriteKeyEntries(1, 3, recolour));
    EXPECT_EQ(light.ReadKeyEntry(1, 3, kFnLedIndex), (UserKeyEntry{MakeColor(0, 0, 9), true}));
    EXPECT_EQ(light.ReadKeyEntry(1, 3, 64), (UserKeyEntry{MakeColor(0, 0, 9), true}));
    EXPECT_EQ(light.ReadKeyEntry(1, 3, 125), (UserKeyEntry{MakeColor(7, 8, 9), true}));
}

TEST_F(UserLightFileTest, StoredValuesAreReadLeniently) {
    const UserLightFiles light = files();
    std::filesystem::create_directories(dataDir);
    put(light.FilePath(0),
        "[PRESENTMODE]\nmode=12\n[Mode0]\ntool=7\njcolor=300,-1\ncolor= 1 , 2 , 3 \n"
        "1=10,20\n2=1,2,3,7\n3=a,b,c,d\n4=\n");
    const struct {
        int position;
        UserKeyEntry expected;
    } cases[] = {
        {1, {MakeColor(10, 20, 0), false}},  // missing numbers count as 0
        {2, {MakeColor(1, 2, 3), true}},     // a link flag other than 0 reads as 1
        {3, {0, false}},
        {4, {0, false}},                     // present but empty
        {5, {MakeColor(255, 0, 0), true}},   // missing
    };
    for (const auto& c : cases) EXPECT_EQ(light.ReadKeyEntry(0, 0, c.position), c.expected) << c.position;
    // Channels keep their low eight bits; the tool's range is not checked.
    EXPECT_EQ(light.ReadModeSettings(0, 0), (UserModeSettings{7, MakeColor(44, 255, 0), MakeColor(1, 2, 3)}));
    // A current mode outside the ten modes would name no mode of the list.
    EXPECT_EQ(light.ReadPresentMode(0), 0);
}

TEST_F(UserLightFileTest, LoadModeFillsTheKeyColoursAndLinksOfTheCurrentMode) {
    const UserLightFiles light = files();
    std::filesystem::create_directories(dataDir);
    const int keyA = keyButtons()[0].ledIndex;  // 64
    put(light.FilePath(2),
        "[PRESENTMODE]\nmode=2\n[Mode2]\ntool=1\njcolor=10,20,30\ncolor=1,1,1\n" +
            std::to_string(keyA) + "=10,20,30,1\n116=0,0,255,0\n125=9,9,9,0\n"
            "[Mode0]\n" + std::to_string(keyA) + "=99,99,99,0\n");

    KeyColorTable colors;
    colors.fill(0xEE);
    BaseLinkedFlags linked{};
    const LoadedUserMode loaded = light.LoadMode(2, colors, linked);
    EXPECT_EQ(loaded, (LoadedUserMode{2, {1, MakeColor(10, 20, 30), MakeColor(1, 1, 1)}}));

    auto colorAt = [&](int position) {
        const size_t at = static_cast<size_t>(position) * 3;
        return MakeColor(colors[at], colors[at + 1], colors[at + 2]);
    };
    EXPECT_EQ(colorAt(keyA), MakeColor(10, 20, 30));
    EXPECT_TRUE(linked[static_cast<size_t>(keyA)]);
    EXPECT_EQ(colorAt(kFnLedIndex), MakeColor(0, 0, 255));
    EXPECT_FALSE(linked[kFnLedIndex]);
    // Every other key button without an entry: red, linked.
    for (const KeyButton& button : keyButtons()) {
        if (button.ledIndex == keyA) continue;
        EXPECT_EQ(colorAt(button.ledIndex), MakeColor(255, 0, 0)) << button.controlId;
        EXPECT_TRUE(linked[static_cast<size_t>(button.ledIndex)]) << button.controlId;
    }
    // Positions that are not loaded keep what they held: the macro keys' 125 among them.
    EXPECT_EQ(colorAt(125), MakeColor(0xEE, 0xEE, 0xEE));
    EXPECT_FALSE(linked[125]);
    EXPECT_EQ(colors[kKeyColorTableSize - 1], 0xEE);
}

TEST_F(UserLightFileTest, ArgumentsOutsideTheFilesAreNeverWritten) {
    const UserLightFiles light = files();
    std::filesystem::create_directories(dataDir);
    EXPECT_EQ(light.FilePath(3), "");
    EXPECT_EQ(light.FilePath(-1), "");
    EXPECT_FALSE(light.WritePresentMode(3, 0));
    EXPECT_FALSE(light.WritePresentMode(0, 10));
    EXPECT_FALSE(light.WriteModeName(0, -1, "x"));
    EXPECT_FALSE(light.WriteModeSettings(0, 10, {}));
    EXPECT_FALSE(light.WriteKeyEntry(0, 0, kKeyColorPositions, 0, false));
    EXPECT_FALSE(light.WriteKeyEntry(0, 0, -1, 0, false));
    const PlacedKeyEntry oneBad[] = {{64, {}}, {kKeyColorPositions, {}}};
    EXPECT_FALSE(light.WriteKeyEntries(0, 0, oneBad));
    EXPECT_TRUE(std::filesystem::is_empty(dataDir));
    EXPECT_EQ(light.ReadKeyEntry(0, 0, 500), UserKeyEntry{});
}

TEST(UserLightColours, FormatAndParse) {
    EXPECT_EQ(FormatRgb(MakeColor(10, 20, 30)), "10,20,30");
    EXPECT_EQ(FormatRgb(0), "0,0,0");
    EXPECT_EQ(ParseRgb("10,20,30"), MakeColor(10, 20, 30));
    EXPECT_EQ(ParseRgb("255,255,255,extra"), MakeColor(255, 255, 255));
    EXPECT_EQ(ParseRgb("99999999999,0,0"), MakeColor(255, 0, 0));
}

}  // namespace
}  // namespace tarnel
