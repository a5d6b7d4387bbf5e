#include "common/safe_format.h"

#include <gtest/gtest.h>

namespace tarnel {
namespace {

struct Case {
    const char* text;
    std::vector<std::string> args;
    const char* expected;
};

TEST(SafeFormat, SubstitutesPlaceholdersWithoutTrustingTheText) {
    const Case cases[] = {
        {"File %s is not a profile file.", {"/tmp/a.zkp"}, "File /tmp/a.zkp is not a profile file."},
        {"At most %d macros.", {"100"}, "At most 100 macros."},
        {"Key %03X", {"183"}, "Key 0B7"},
        {"Key %03x", {"183"}, "Key 0b7"},
        {"Main_%02d", {"9"}, "Main_09"},
        {"Main_%02d", {"100"}, "Main_100"},
        {"%5s|%-3s|", {"ab", "c"}, "   ab|c  |"},
        {"%04X", {"0x804"}, "0804"},
        {"100%% sure", {}, "100% sure"},
        // Placeholders without arguments, and conversions printf would trust, stay inert.
        {"%s and %n and %d", {}, "%s and %n and %d"},
        {"%s %s", {"one"}, "one %s"},
        {"trailing %", {"x"}, "trailing %"},
        {"%d", {"not a number"}, "not a number"},
        {"%c", {"65"}, "A"},
        {"%ls", {"wide"}, "wide"},
    };
    for (const auto& c : cases) EXPECT_EQ(SafeFormat(c.text, c.args), c.expected) << c.text;
}

TEST(SafeFormat, NumberHelperUsesThePlaceholdersConversion) {
    EXPECT_EQ(SafeFormatNumber("Only %d macros fit.", 100), "Only 100 macros fit.");
    EXPECT_EQ(SafeFormatNumber("Lang%04X.ini", 0x409), "Lang0409.ini");
    EXPECT_EQ(SafeFormatNumber("%05d", -42), "-0042");
}

TEST(SafeFormat, HugeWidthIsBounded) {
    // A width from a hostile file must not make the formatter allocate without limit.
    const std::string out = SafeFormat("%99999999999s", {"x"});
    EXPECT_LE(out.size(), 1100u);
}

}  // namespace
}  // namespace tarnel
