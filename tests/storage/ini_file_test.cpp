#include "storage/ini_file.h"

#include <gtest/gtest.h>

#include <climits>

#include "temp_dir.h"

namespace tarnel {
namespace {

using IniFileTest = testing::TempDir;

// A skin-like file written by hand: odd spacing, CRLF line ends, a comment, quotes and a
// section that appears twice.
const char kSample[] =
    "; skin of the main window\r\n"
    "[SCREEN]\r\n"
    "Main = main.jpg  \r\n"
    "Link=\"  https://example.org/a b  \"\r\n"
    "Empty=\r\n"
    "Quoted=\"\"\r\n"
    "OneQuote=\"open\r\n"
    "\r\n"
    "[ButtonInfo]\r\n"
    "  KEY_01E =  10,20,30,40\r\n"
    "no equals sign here\r\n"
    "[SCREEN]\r\n"
    "Later=only in the second copy\r\n";

TEST_F(IniFileTest, ReadsByTheMatchingRules) {
    put(path("skin.ini"), kSample);
    const IniFile ini(path("skin.ini"));
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"SCREEN", "Main", "main.jpg"},
        {"screen", "MAIN", "main.jpg"},                    // names ignore case
        {"SCREEN", "Link", "  https://example.org/a b  "},  // quotes keep inner spaces
        {"SCREEN", "Empty", ""},                           // present but empty: no default
        {"SCREEN", "Quoted", ""},
        {"SCREEN", "OneQuote", "\"open"},                  // a lone quote stays
        {"BUTTONINFO", "key_01e", "10,20,30,40"},
        {"SCREEN", "Mask", "#default"},                    // missing key
        {"NOSECTION", "Main", "#default"},                 // missing section
        {"BUTTONINFO", "no equals sign here", "#default"},
        {"SCREEN", "Later", "#default"},                   // only the first copy of a section counts
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.readString(c.section, c.key, "#default"), c.expected) << c.section << "/" << c.key;
    EXPECT_TRUE(ini.hasKey("SCREEN", "Empty"));
    EXPECT_FALSE(ini.hasKey("SCREEN", "Mask"));
    EXPECT_EQ(IniFile(path("absent.ini")).readString("SCREEN", "Main", "#Error"), "#Error");
}

TEST_F(IniFileTest, CutsValuesAt259CharactersNotBytes) {
    const std::string ascii(300, 'a');
    std::string accented;
    for (int i = 0; i < 300; ++i) accented += "\xC3\xA9";  // é, two bytes each
    put(path("long.ini"), "[S]\nascii=" + ascii + "\naccented=" + accented + "\n");
    const IniFile ini(path("long.ini"));
    EXPECT_EQ(ini.readString("S", "ascii", ""), std::string(259, 'a'));
    EXPECT_EQ(ini.readString("S", "accented", ""), accented.substr(0, 2 * 259));
    EXPECT_EQ(ini.readString("S", "ascii", "", 2047), ascii);
    EXPECT_EQ(ini.readString("S", "missing", ascii), std::string(259, 'a'));  // the default too

    // A character beyond the basic plane counts two units and is never split at the limit.
    const std::string emoji = "\xF0\x9F\x98\x80";
    put(path("wide.ini"), "[S]\nv=" + std::string(258, 'b') + emoji + "\nw=" + std::string(257, 'b') + emoji + "\n");
    const IniFile wide(path("wide.ini"));
    EXPECT_EQ(wide.readString("S", "v", ""), std::string(258, 'b'));
    EXPECT_EQ(wide.readString("S", "w", ""), std::string(257, 'b') + emoji);
}

TEST_F(IniFileTest, ReadsUtf16LittleEndianWithByteOrderMark) {
    // "[TEXT]\r\nKEY=Grüße 😀\r\n" in UTF-16LE.
    const std::u16string text = u"[TEXT]\r\nKEY=Gr\u00fc\u00dfe \U0001F600\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t u : text) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    put(path("lang.ini"), bytes);
    EXPECT_EQ(IniFile(path("lang.ini")).readString("text", "key", "#Error"),
              "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80");
}

TEST_F(IniFileTest, ReadsIntegersLikeTheProfileFunctions) {
    put(path("n.ini"), "[S]\na=42\nb= -7 \nc=12abc\nd=abc\ne=\nf=99999999999\n");
    const IniFile ini(path("n.ini"));
    const std::pair<const char*, int> cases[] = {
        {"a", 42}, {"b", -7}, {"c", 12}, {"d", 0}, {"e", 0}, {"f", INT_MAX}, {"missing", 5}};
    for (const auto& [key, expected] : cases) EXPECT_EQ(ini.readInt("S", key, 5), expected) << key;
}

TEST_F(IniFileTest, WriteChangesOnlyTheOneValue) {
    struct Case {
        const char* name;
        const char* before;
        const char* section;
        const char* key;
        const char* after;
    } cases[] = {
        {"replace keeps spacing and CRLF", "; c\r\n[A]\r\nx = 1\r\ny=2\r\n\r\n[B]\r\nx=3",
         "a", "X", "; c\r\n[A]\r\nx = new\r\ny=2\r\n\r\n[B]\r\nx=3"},
        {"new key goes after the section's last line", "[A]\nx=1\n\n[B]\nz=3\n", "A", "y",
         "[A]\nx=1\ny=new\n\n[B]\nz=3\n"},
        {"new key in a last section without final newline", "[A]\nx=1", "A", "y",
         "[A]\nx=1\ny=new\n"},
        {"new section is appended", "[A]\r\nx=1", "B", "y", "[A]\r\nx=1\r\n[B]\r\ny=new\r\n"},
        {"missing file is created", nullptr, "B", "y", "[B]\ny=new\n"},
        {"UTF-8 byte-order mark is kept", "\xEF\xBB\xBF[A]\nx=1\n", "A", "x",
         "\xEF\xBB\xBF[A]\nx=new\n"},
    };
    for (const auto& c : cases) {
        const std::string file = path("w.ini");
        std::filesystem::remove(file);
        if (c.before) put(file, c.before);
        EXPECT_TRUE(IniFile(file).writeString(c.section, c.key, "new")) << c.name;
        EXPECT_EQ(take(file), c.after) << c.name;
    }
}

TEST_F(IniFileTest, WriteKeepsEveryOtherByteOfAnUntidyFile) {
    // Invalid UTF-8, a NUL inside another line, tabs, a line without '=', no final line end.
    using namespace std::string_literals;
    const std::string head = "\t; odd \xFF\xFE bytes\r\n[Mode0]\n x\t=\t1\0 2\r\njust text\n"s;
    const std::string tail = "  \n[Mode1]\r\n64=1,2,3,1";
    put(path("u.ini"), head + "  jcolor = 1,1,1" + tail);
    EXPECT_TRUE(IniFile(path("u.ini")).writeString("MODE0", "JCOLOR", "10,20,30"));
    EXPECT_EQ(take(path("u.ini")), head + "  jcolor = 10,20,30" + tail);
}

TEST_F(IniFileTest, WritesSeveralValuesOfASectionAtOnce) {
    const std::string file = path("w.ini");
    put(file, "[A]\r\nx=1\r\n[B]\r\nz=3\r\n");
    const IniValue values[] = {{"x", "10"}, {"y", "20"}, {"x", "11"}};
    EXPECT_TRUE(IniFile(file).writeStrings("A", values));
    EXPECT_EQ(take(file), "[A]\r\nx=11\r\ny=20\r\n[B]\r\nz=3\r\n");
    const IniValue fresh[] = {{"p", "1"}, {"q", "2"}};
    EXPECT_TRUE(IniFile(file).writeStrings("C", fresh));
    EXPECT_EQ(take(file), "[A]\r\nx=11\r\ny=20\r\n[B]\r\nz=3\r\n[C]\r\np=1\r\nq=2\r\n");
    // One refused value: nothing of the batch is written.
    const std::string before = take(file);
    const IniValue bad[] = {{"x", "12"}, {"y", "two\nlines"}};
    EXPECT_FALSE(IniFile(file).writeStrings("A", bad));
    EXPECT_EQ(take(file), before);
}

TEST_F(IniFileTest, RefusesWritesThatWouldNotReadBack) {
    const std::string file = path("w.ini");
    const std::string before = "[A]\nx=1\n";
    put(file, before);
    const IniFile ini(file);
    EXPECT_FALSE(ini.writeString("A", "x", "two\nlines"));
    EXPECT_FALSE(ini.writeString("A", "x", "cr\rhere"));
    EXPECT_FALSE(ini.writeString("A", "x", std::string("nul\0byte", 8)));
    EXPECT_FALSE(ini.writeString("A", "k=v", "1"));
    EXPECT_FALSE(ini.writeString("A]", "x", "1"));
    EXPECT_FALSE(ini.writeString("A", "", "1"));
    EXPECT_FALSE(ini.writeString("A", "[x", "1"));
    EXPECT_EQ(take(file), before);
}

TEST_F(IniFileTest, FailedWriteLeavesNoTraceAndNeverClobbersAnUnreadableFile) {
    // A folder where the file should be: it cannot be read, so it must not be replaced.
    std::filesystem::create_directory(path("dir.ini"));
    EXPECT_FALSE(IniFile(path("dir.ini")).writeString("A", "x", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(path("dir.ini")));
    // The parent folder is missing.
    EXPECT_FALSE(IniFile(path("missing/dir/a.ini")).writeString("A", "x", "1"));

    // A read-only file stays as it is.
    put(path("ro.ini"), "[A]\nx=1\n");
    std::filesystem::permissions(path("ro.ini"), std::filesystem::perms::owner_read);
    EXPECT_FALSE(IniFile(path("ro.ini")).writeString("A", "x", "2"));
    EXPECT_EQ(take(path("ro.ini")), "[A]\nx=1\n");
    std::filesystem::remove(path("ro.ini"));

    put(path("ok.ini"), "[A]\nx=1\n");
    EXPECT_TRUE(IniFile(path("ok.ini")).writeString("A", "x", "2"));
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir())) ++files;
    EXPECT_EQ(files, 2u);  // dir.ini and ok.ini: no temporary file is left behind
}

TEST_F(IniFileTest, WriteThroughALinkReplacesTheFileItNames) {
    put(path("real.ini"), "[A]\nx=1\n");
    std::filesystem::create_symlink("real.ini", path("link.ini"));
    EXPECT_TRUE(IniFile(path("link.ini")).writeString("A", "x", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(path("link.ini")));
    EXPECT_EQ(take(path("real.ini")), "[A]\nx=2\n");
}

TEST_F(IniFileTest, WritingAUtf16FileStoresItAsUtf8) {
    const std::u16string text = u"[A]\r\nname=\u00e9\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t u : text) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    put(path("u.ini"), bytes);
    EXPECT_TRUE(IniFile(path("u.ini")).writeString("A", "x", "1"));
    EXPECT_EQ(take(path("u.ini")), "[A]\r\nname=\xC3\xA9\r\nx=1\r\n");
}

TEST_F(IniFileTest, SkinReaderReadsLongTexts) {
    const std::string link(3000, 'l');
    put(path("Main.ini"), "[SCREEN]\nMain=bg.jpg\nLink=" + link + "\nEmpty=\n");
    CIniFile skin;
    skin.SetPath(path("Main.ini"));
    EXPECT_EQ(skin.ReadString("SCREEN", "Main"), "bg.jpg");
    EXPECT_EQ(skin.ReadString("SCREEN", "Link"), link.substr(0, 2047));
    EXPECT_EQ(skin.ReadString("SCREEN", "Empty", "x"), "");
    EXPECT_EQ(skin.ReadString("SCREEN", "Mask"), "");
}

}  // namespace
}  // namespace tarnel
