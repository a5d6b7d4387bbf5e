// lighting, lighting set, lighting default, keycolors and keycolor against the simulated
// keyboard: what each writes into its memory, and bad input refused before anything is sent.
#include <map>

#include "cli_fixture.h"
#include "sim/sim_keyboard.h"

namespace tarnel::testing {
namespace {

using sim::FaultKind;
using sim::SimArea;
using sim::SimKeyboard;

class CliLightingTest : public CliTest {
protected:
    // The memory area of the keyboard kept in the state file.
    std::vector<uint8_t> area(SimArea which) {
        SimKeyboard keyboard;
        EXPECT_TRUE(keyboard.loadState(state()));
        return keyboard.area(which);
    }
    std::vector<uint8_t> record(int profile) {
        std::vector<uint8_t> settings = area(SimArea::Settings);
        return {settings.begin() + profile * 42, settings.begin() + profile * 42 + 42};
    }
};

TEST_F(CliLightingTest, SetWritesEachFieldIntoTheChosenProfile) {
    ASSERT_EQ(run({simulate(), "lighting"}).exitCode, ExitOk);
    std::vector<uint8_t> before0 = record(0), before2 = record(2);
    CliRun r = run({simulate(), "--profile", "2", "lighting", "set", "effect=9", "brightness=3",
                    "speed=1", "direction=255", "multicolor=on", "color=102030",
                    "color-choice=green", "report-rate=2", "magic-fn=2"});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    std::vector<uint8_t> expected = before2;
    expected[0] = 9;
    expected[1] = 3;
    expected[2] = 3;    // 4 - slider position
    expected[3] = 255;
    expected[4] = 0;    // a colour from the colour button turns multicolour off again
    expected[5] = 0x10, expected[6] = 0x20, expected[7] = 0x30;
    expected[15] = 2;
    expected[17] = 2;
    expected[24] = 1;   // FN2
    EXPECT_EQ(record(2), expected);
    EXPECT_EQ(record(0), before0);

    // What is shown reads back what was set.
    nlohmann::json shown = run({simulate(), "--profile", "2", "--json", "lighting"}).json();
    EXPECT_EQ(shown.at("profile"), 2);
    EXPECT_EQ(shown.at("effect"), 9);
    EXPECT_EQ(shown.at("speed"), 1);
    EXPECT_EQ(shown.at("color"), "102030");
    EXPECT_EQ(shown.at("colorChoice"), "green");
    EXPECT_EQ(shown.at("magicFn"), 2);
    EXPECT_EQ(shown.at("multicolor"), false);
}

TEST_F(CliLightingTest, BadValuesExitTwoBeforeAnythingIsSent) {
    ASSERT_EQ(run({simulate(), "profile"}).exitCode, ExitOk);
    std::string before = take(state());
    const std::vector<std::vector<std::string>> cases = {
        {"set", "effect=19"},        {"set", "effect=22"},      {"set", "brightness=5"},
        {"set", "speed=-1"},         {"set", "direction=1"},    {"set", "multicolor=yes"},
        {"set", "color=12345"},      {"set", "color=GG0000"},   {"set", "color-choice=pink"},
        {"set", "report-rate=4"},    {"set", "magic-fn=3"},     {"set", "bogus=1"},
        {"set", "effect"},           {"set"},                   {"blink"},
        {"set", "brightness=1", "speed=9"},
    };
    for (auto args : cases) {
        args.insert(args.begin(), {simulate(), "--trace", "lighting"});
        CliRun r = run(args);
        EXPECT_EQ(r.exitCode, ExitUsage) << ::testing::PrintToString(args);
        EXPECT_EQ(r.errLines().size(), 1u) << r.err;  // the message, and no trace line
    }
    EXPECT_NE(run({simulate(), "lighting", "set", "speed=9"}).err.find("speed=9"),
              std::string::npos);
    EXPECT_EQ(take(state()), before);

    // An effect the tool knows but this keyboard does not list: checked before any write.
    env.onSimulator = [](SimKeyboard& keyboard) { keyboard.setEffects({1, 2, 3}); };
    CliRun r = run({"--simulate", "--trace", "lighting", "set", "brightness=1", "effect=5"});
    EXPECT_EQ(r.exitCode, ExitUsage);
    EXPECT_NE(r.err.find("> 04 "), std::string::npos);  // it did read the keyboard
    for (const std::string& line : r.errLines()) {
        if (line.rfind("> ", 0) == 0) {
            EXPECT_NE(line.substr(11, 2), "06") << line;
        }
    }
}

TEST_F(CliLightingTest, DefaultWritesThirtyFiveBytesOfTheProfile) {
    ASSERT_EQ(run({simulate(), "--profile", "1", "lighting", "set", "effect=12", "speed=0"}).exitCode,
              ExitOk);
    std::vector<uint8_t> before = record(1);
    CliRun r = run({simulate(), "--profile", "1", "--json", "lighting", "default"});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    std::vector<uint8_t> expected(35, 0);
    const uint8_t head[] = {0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    std::copy(std::begin(head), std::end(head), expected.begin());
    expected.insert(expected.end(), before.begin() + 35, before.end());
    EXPECT_EQ(record(1), expected);
    EXPECT_EQ(r.json().at("effect"), 1);
    EXPECT_EQ(r.json().at("color"), "FFFFFF");
}

TEST_F(CliLightingTest, KeyColorPaintsKeysByIdSkinNameAndName) {
    CliRun r = run({simulate(), "--profile", "1", "keycolor", "esc=FF0000", "NUM ENTER=00ff00",
                    "FUNC_G3=0000FF", "KEY_FN=123456", "0x01E=010203", "KEY_030=#A0B0C0"});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    std::vector<uint8_t> colors = area(SimArea::KeyColors);
    auto at = [&](int position) {
        size_t i = 512 + size_t(position) * 3;
        return std::vector<uint8_t>(colors.begin() + long(i), colors.begin() + long(i) + 3);
    };
    EXPECT_EQ(at(21), (std::vector<uint8_t>{0xFF, 0, 0}));      // Esc
    EXPECT_EQ(at(104), (std::vector<uint8_t>{0, 0xFF, 0}));     // Num Enter
    EXPECT_EQ(at(125), (std::vector<uint8_t>{0, 0, 0xFF}));     // the G-keys' position
    EXPECT_EQ(at(116), (std::vector<uint8_t>{0x12, 0x34, 0x56}));  // Fn
    EXPECT_EQ(at(64), (std::vector<uint8_t>{1, 2, 3}));          // A
    EXPECT_EQ(at(90), (std::vector<uint8_t>{0xA0, 0xB0, 0xC0}));  // B

    nlohmann::json listed = run({simulate(), "--profile", "1", "--json", "keycolors"}).json();
    EXPECT_EQ(listed.at("profile"), 1);
    std::map<std::string, std::string> byKey;
    for (const auto& key : listed.at("keys")) byKey[key.at("key")] = key.at("color");
    EXPECT_EQ(byKey.at("Esc"), "FF0000");
    EXPECT_EQ(byKey.at("G7"), "0000FF");
    EXPECT_EQ(byKey.at("Fn"), "123456");
    EXPECT_EQ(byKey.at("Right Shift").size(), 6u);
}

TEST_F(CliLightingTest, KeyColorRefusesBadKeysAndColoursBeforeSending) {
    const std::vector<std::string> cases = {"Nokey=FF0000", "0x300=FF0000", "KEY_1FF=FF0000",
                                            "G10=FF0000",   "Esc=FF00",     "Esc=red",
                                            "Esc",          "Power=FF0000"};
    for (const auto& word : cases) {
        CliRun r = run({simulate(), "--trace", "keycolor", "A=FFFFFF", word});
        EXPECT_EQ(r.exitCode, ExitUsage) << word;
        ASSERT_EQ(r.errLines().size(), 1u) << r.err;
    }
    EXPECT_NE(run({"--simulate", "keycolor", "Nokey=FF0000"}).err.find("'Nokey'"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(state()));
}

TEST_F(CliLightingTest, ARefusedWriteNamesCommandSix) {
    // Connection 8 frames; the lighting read: 3, 1, three of 5, 2; then 1 and the 6.
    env.onSimulator = [](SimKeyboard& keyboard) { keyboard.injectFault(8 + 6 + 2, FaultKind::StatusFF); };
    CliRun r = run({"--simulate", "--profile", "0", "lighting", "set", "brightness=1"});
    EXPECT_EQ(r.exitCode, ExitRefused);
    EXPECT_NE(r.err.find("the keyboard refused command 6 (write settings): result -102"),
              std::string::npos)
        << r.err;
    env.onSimulator = [](SimKeyboard& keyboard) { keyboard.injectFault(8 + 4, FaultKind::NoReply); };
    CliRun k = run({"--simulate", "--profile", "0", "keycolors"});
    EXPECT_EQ(k.exitCode, ExitOk) << "one lost reply is sent again: " << k.err;
}

}  // namespace
}  // namespace tarnel::testing
