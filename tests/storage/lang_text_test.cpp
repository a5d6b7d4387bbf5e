#include "storage/lang_text.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace tarnel {
namespace {

using LangTextTest = testing::TempDir;

TEST_F(LangTextTest, LooksUpTextsBySectionWithErrorForMissingKeys) {
    put(path("Lang0409.ini"),
        "[TEXT]\nMAIN_CAPTION=Keyboard\nEMPTY_TEXT=\nQUOTED=\"  spaced  \"\n"
        "[LIGHT]\nDeng=Lighting\n[MODE]\n12=Wave\n");
    const LangText lang(dir().string());
    EXPECT_EQ(lang.Text("MAIN_CAPTION", 0), "Keyboard");
    EXPECT_EQ(lang.Text("main_caption", 0), "Keyboard");
    EXPECT_EQ(lang.Text("EMPTY_TEXT", 0), "");         // present but empty: no error text
    EXPECT_EQ(lang.Text("QUOTED", 0), "  spaced  ");
    EXPECT_EQ(lang.Text("NOT_THERE", 0), "#Error");
    EXPECT_EQ(lang.Text("Deng", 0), "#Error");          // sections are kept apart
    EXPECT_EQ(lang.Light("Deng", 0), "Lighting");
    EXPECT_EQ(lang.Mode(12, 0), "Wave");
    EXPECT_EQ(lang.Mode(19, 0), "#Error");
    // Indexes outside the table and empty slots read the first language's file.
    for (int index : {-1, 1, 2, 3, 1000}) EXPECT_EQ(lang.Text("MAIN_CAPTION", index), "Keyboard");
    EXPECT_EQ(LangText(path("nowhere")).Text("MAIN_CAPTION", 0), "#Error");

    // Nothing is cached: a changed file is read again.
    put(path("Lang0409.ini"), "[TEXT]\nMAIN_CAPTION=Changed\n");
    EXPECT_EQ(lang.Text("MAIN_CAPTION", 0), "Changed");
}

TEST(LanguageTable, FileNamesAndIndexes) {
    EXPECT_EQ(LanguageFileName(0x0409), "Lang0409.ini");
    EXPECT_EQ(LanguageFileName(0x0C04), "Lang0C04.ini");
    EXPECT_EQ(LanguageFileName(0x7), "Lang0007.ini");
    EXPECT_EQ(LanguageIdAt(0), 0x0409u);
    EXPECT_EQ(LanguageIdAt(1), 0x0409u);  // an empty slot has no file of its own
    EXPECT_EQ(LanguageIdAt(-3), 0x0409u);
    EXPECT_EQ(LangText("/data").FilePath(0), "/data/Lang0409.ini");
}

TEST(LanguageChoice, StoredIdAndFirstRun) {
    const struct {
        const char* name;
        const char* stored;  // nullptr: no value yet
        uint32_t system;
        uint32_t id;
        int index;
        const char* storedAfter;
    } cases[] = {
        {"stored id is used as it is", "2052", 0x0409, 0x0804, 0, "2052"},
        {"first run, Hong Kong becomes PRC, not in the table", nullptr, 0x0C04, 0x0409, 0, "1033"},
        {"first run with a language of the table", nullptr, 0x0409, 0x0409, 0, "1033"},
        {"first run, system id 0 matches no empty slot", nullptr, 0, 0x0409, 0, "1033"},
        {"a stored 0 means not chosen yet", "0", 0x0407, 0x0409, 0, "1033"},
        {"a value that is no 32-bit number", "abc", 0x0409, 0x0409, 0, "1033"},
        {"too big for 32 bits", "4294967296", 0x0409, 0x0409, 0, "1033"},
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        if (c.stored) store.writeText(kLanguageIdSection, kLanguageIdName, c.stored);
        EXPECT_EQ(GetLanguageId(store, c.system), c.id) << c.name;
        EXPECT_EQ(GetLanguageIndex(store, c.system), c.index) << c.name;
        EXPECT_EQ(store.readText(kLanguageIdSection, kLanguageIdName).value_or("(none)"),
                  c.storedAfter)
            << c.name;
    }
}

TEST(LanguageChoice, WrittenOnlyWhileNotChosen) {
    MemorySettingsStore store;
    EXPECT_EQ(GetLanguageId(store, 0x0C04), 0x0409u);
    const int writes = store.writeCount();
    EXPECT_EQ(GetLanguageId(store, 0x0C04), 0x0409u);
    EXPECT_EQ(store.writeCount(), writes);  // later runs only read

    // A store that cannot be opened reads nothing: the system path is taken every time.
    MemorySettingsStore closed;
    closed.setOpen(false);
    EXPECT_EQ(GetLanguageId(closed, 0x0409), 0x0409u);
    EXPECT_EQ(GetLanguageIndex(closed, 0x0C04), 0);
}

}  // namespace
}  // namespace tarnel
