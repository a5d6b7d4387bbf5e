// backup, restore, show and assign against the simulated keyboard: what lands in its memory and
// in profile files, invalid files and bad input refused before any write, an unplug mid-way.
#include <map>

#include "cli_fixture.h"
#include "model/macro_area.h"
#include "sim/sim_keyboard.h"

namespace tarnel::testing {
namespace {

using sim::FaultKind;
using sim::SimArea;
using sim::SimKeyboard;

class CliProfilesTest : public CliTest {
protected:
    // "profile/key" -> the assignment's kind, as `show --json` lists the file.
    std::map<std::string, std::string> shown(const std::string& file) {
        CliRun r = run({"--json", "show", file});
        EXPECT_EQ(r.exitCode, ExitOk) << r.err;
        std::map<std::string, std::string> kinds;
        const nlohmann::json document = r.json();
        for (const auto& profile : document.at("profiles"))
            for (const auto& key : profile.at("keys"))
                kinds[std::to_string(profile.at("profile").get<int>()) + "/" +
                      key.at("key").get<std::string>()] = key.at("kind");
        return kinds;
    }
    // The command bytes of the requests of a --trace run.
    static std::vector<std::string> commandsSent(const CliRun& r) {
        std::vector<std::string> commands;
        for (const auto& line : r.errLines())
            if (line.rfind("> ", 0) == 0) commands.push_back(line.substr(11, 2));
        return commands;
    }
    static bool wrote(const CliRun& r) {
        for (const auto& c : commandsSent(r))
            if (c == "04" || c == "06" || c == "08" || c == "0A" || c == "11") return true;
        return false;
    }
};

TEST_F(CliProfilesTest, ShowOfABackupListsEveryAssignment) {
    const std::vector<std::vector<std::string>> assignments = {
        {"A", "key:B"},          {"right shift", "disabled"}, {"FUNC_G3", "media:4"},
        {"0x001", "function:3"}, {"KEY_09C", "mouse:wheel-up"}, {"Space", "key:Left Button"},
    };
    for (const auto& a : assignments) {
        CliRun r = run({simulate(), "assign", a[0], a[1]});
        ASSERT_EQ(r.exitCode, ExitOk) << a[0] << " " << a[1] << ": " << r.err;
    }
    ASSERT_EQ(run({simulate(), "--profile", "2", "assign", "Tab", "key:Esc"}).exitCode, ExitOk);
    ASSERT_EQ(run({simulate(), "backup", path("all.zkp")}).exitCode, ExitOk);
    std::map<std::string, std::string> expected = {
        {"0/A", "key"},     {"0/Right Shift", "disabled"}, {"0/G3", "media"},
        {"0/Esc", "function"}, {"0/Num Enter", "key"},     {"0/Space", "key"},
        {"2/Tab", "key"},
    };
    EXPECT_EQ(shown(path("all.zkp")), expected);

    // Back to default, and a key given itself is its factory function again.
    ASSERT_EQ(run({simulate(), "assign", "A", "default"}).exitCode, ExitOk);
    ASSERT_EQ(run({simulate(), "assign", "Space", "key:space"}).exitCode, ExitOk);
    ASSERT_EQ(run({simulate(), "backup", path("after.zkp")}).exitCode, ExitOk);
    expected.erase("0/A");
    expected.erase("0/Space");
    EXPECT_EQ(shown(path("after.zkp")), expected);

    CliRun text = run({"show", path("after.zkp")});
    EXPECT_NE(text.out.find("G3: Media ("), std::string::npos) << text.out;
}

TEST_F(CliProfilesTest, BackupThenRestoreLeavesTheKeyboardAsItWas) {
    ASSERT_EQ(run({simulate(), "assign", "A", "key:B"}).exitCode, ExitOk);
    ASSERT_EQ(run({simulate(), "--profile", "1", "assign", "G9", "disabled"}).exitCode, ExitOk);
    ASSERT_EQ(run({simulate(), "backup", path("one.zkp")}).exitCode, ExitOk);
    std::string memory = take(state());
    CliRun r = run({simulate(), "--trace", "restore", path("one.zkp")});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    EXPECT_TRUE(wrote(r));
    EXPECT_EQ(take(state()), memory);
    ASSERT_EQ(run({simulate(), "backup", path("two.zkp")}).exitCode, ExitOk);
    EXPECT_EQ(take(path("two.zkp")), take(path("one.zkp")));

    // A file restored onto another keyboard brings its assignments along.
    std::string other = "--simulate=" + path("other.state");
    ASSERT_EQ(run({other, "restore", path("one.zkp")}).exitCode, ExitOk);
    ASSERT_EQ(run({other, "backup", path("three.zkp")}).exitCode, ExitOk);
    EXPECT_EQ(shown(path("three.zkp")), shown(path("one.zkp")));
}

TEST_F(CliProfilesTest, ModelBKeepsItsAssignmentsThroughBackupAndRestore) {
    ASSERT_EQ(run({simulate(), "--model", "b", "assign", "Num Enter", "key:Esc"}).exitCode, ExitOk);
    ASSERT_EQ(run({simulate(), "--profile", "2", "assign", "G1", "function:0"}).exitCode, ExitOk);
    ASSERT_EQ(run({simulate(), "backup", path("b.zkp")}).exitCode, ExitOk);
    EXPECT_EQ(shown(path("b.zkp")),
              (std::map<std::string, std::string>{{"0/Num Enter", "key"}, {"2/G1", "function"}}));
    std::string memory = take(state());
    ASSERT_EQ(run({simulate(), "restore", path("b.zkp")}).exitCode, ExitOk);
    EXPECT_EQ(take(state()), memory);
    EXPECT_EQ(run({simulate(), "--json", "info"}).json().at("model"), "B");
}

TEST_F(CliProfilesTest, AnInvalidFileIsRefusedWithoutWriting) {
    ASSERT_EQ(run({simulate(), "assign", "A", "key:B"}).exitCode, ExitOk);
    std::string memory = take(state());
    put(path("short.zkp"), "not a profile");
    put(path("zeros.zkp"), std::string(0x8040, '\0'));
    for (const char* name : {"short.zkp", "zeros.zkp"}) {
        CliRun r = run({simulate(), "--trace", "restore", path(name)});
        EXPECT_EQ(r.exitCode, ExitUsage) << name;
        EXPECT_FALSE(wrote(r)) << name;
        size_t format = r.err.find("The file \"" + path(name) + "\" is not a valid profile file.");
        size_t refused = r.err.find("The profile could not be imported.");
        EXPECT_NE(format, std::string::npos) << r.err;
        EXPECT_NE(refused, std::string::npos) << r.err;
        EXPECT_LT(format, refused);
        CliRun s = run({"show", path(name)});
        EXPECT_EQ(s.exitCode, ExitUsage) << name;
        EXPECT_NE(s.err.find(path(name)), std::string::npos);
    }
    for (const char* command : {"restore", "show"}) {
        CliRun missing = run({simulate(), command, path("missing.zkp")});
        EXPECT_EQ(missing.exitCode, ExitUsage);
        EXPECT_NE(missing.err.find(path("missing.zkp")), std::string::npos);
    }
    EXPECT_EQ(take(state()), memory);
}

TEST_F(CliProfilesTest, AssignRefusesBadInputBeforeWriting) {
    const std::vector<std::vector<std::string>> cases = {
        {"Nokey", "disabled"}, {"Fn", "disabled"},   {"A", "blink"},     {"A", "media:18"},
        {"A", "function:11"},  {"A", "macro:0"},     {"A", "macro:101"}, {"A", "key:G3"},
        {"A", "mouse:side"},   {"A", "key:nokey"},   {"A"},              {"A", "key:B", "x"},
    };
    for (auto args : cases) {
        args.insert(args.begin(), {simulate(), "--trace", "assign"});
        CliRun r = run(args);
        EXPECT_EQ(r.exitCode, ExitUsage) << ::testing::PrintToString(args);
        EXPECT_EQ(r.errLines().size(), 1u) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(state()));
    // A macro the keyboard does not hold is found out after reading, before writing.
    CliRun r = run({simulate(), "--trace", "assign", "A", "macro:5"});
    EXPECT_EQ(r.exitCode, ExitUsage);
    EXPECT_FALSE(wrote(r));
    EXPECT_NE(r.err.find("no macro 5"), std::string::npos);
}

TEST_F(CliProfilesTest, UnplugMidWayExitsOneAndKeepsTheFiles) {
    ASSERT_EQ(run({simulate(), "assign", "A", "key:B"}).exitCode, ExitOk);
    ASSERT_EQ(run({simulate(), "backup", path("keep.zkp")}).exitCode, ExitOk);
    std::string memory = take(state()), file = take(path("keep.zkp"));
    // Frame 12 is within the reads of a backup and within the writes of a restore.
    env.onSimulator = [](SimKeyboard& keyboard) { keyboard.injectFault(12, FaultKind::Unplug); };
    for (const char* command : {"backup", "restore", "assign"}) {
        std::vector<std::string> args = {simulate(), command, path("keep.zkp")};
        if (std::string(command) == "assign") args = {simulate(), command, "B", "key:A"};
        CliRun r = run(args);
        EXPECT_EQ(r.exitCode, ExitRefused) << command << ": " << r.err;
        EXPECT_NE(r.err.find("could not be sent: result -1"), std::string::npos) << r.err;
        EXPECT_EQ(take(state()), memory) << command;
        EXPECT_EQ(take(path("keep.zkp")), file) << command;
    }
}

TEST_F(CliProfilesTest, ARefusedReadStopsAssignBeforeItWrites) {
    // The key table read of profile 0 starts at frame 10 (connection 8, active profile 9).
    env.onSimulator = [](SimKeyboard& keyboard) { keyboard.injectFault(10, FaultKind::StatusFF); };
    CliRun r = run({"--simulate", "--trace", "assign", "A", "key:B"});
    EXPECT_EQ(r.exitCode, ExitRefused);
    EXPECT_NE(r.err.find("refused command 7 (read key table): result -102"), std::string::npos)
        << r.err;
    EXPECT_FALSE(wrote(r));
}

// A keyboard whose macro memory holds two macros: "Hello" (A down, 20 ms, A up) and one
// without a name.
void holdTwoMacros(SimKeyboard& keyboard) {
    MacroRecord hello{u"Hello", 3, 0, 1, {{20, 0x1E, MacroPress}, {0, 0x1E, MacroRelease}}};
    MacroRecord bare{u"", 1, 0, 2, {{5, 0x30, MacroPress}, {0, 0x30, MacroRelease}}};
    MacroList list{hello, bare};
    MacroAreaSize sizes = MacroAreaSizes(list);
    std::vector<uint8_t> area = BuildMacroArea(list, sizes.full, true);
    ASSERT_FALSE(area.empty());
    keyboard.setArea(SimArea::Macros, 0, area);
}

TEST_F(CliProfilesTest, MacroListAndAssignToAMacro) {
    env.onSimulator = holdTwoMacros;
    CliRun r = run({"--simulate", "--json", "macro", "list"});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    nlohmann::json macros = r.json().at("macros");
    ASSERT_EQ(macros.size(), 2u);
    EXPECT_EQ(macros[0].at("id"), 1);
    EXPECT_EQ(macros[0].at("name"), "Hello");
    EXPECT_EQ(macros[0].at("repeat"), 3);
    EXPECT_EQ(macros[0].at("steps"),
              nlohmann::json::parse(R"([{"key":"A","state":"press","delayMs":20},
                                        {"key":"A","state":"release","delayMs":0}])"));
    EXPECT_EQ(macros[1].at("steps")[0].at("key"), "B");

    ASSERT_EQ(run({simulate(), "profile"}).exitCode, ExitOk);
    env.onSimulator = nullptr;
    {  // the macros go into the kept keyboard
        SimKeyboard keyboard;
        ASSERT_TRUE(keyboard.loadState(state()));
        holdTwoMacros(keyboard);
        ASSERT_TRUE(keyboard.saveState(state()));
    }
    CliRun assigned = run({simulate(), "assign", "Esc", "macro:1"});
    ASSERT_EQ(assigned.exitCode, ExitOk) << assigned.err;
    EXPECT_NE(assigned.out.find("Hello"), std::string::npos) << assigned.out;
    ASSERT_EQ(run({simulate(), "backup", path("m.zkp")}).exitCode, ExitOk);
    EXPECT_EQ(shown(path("m.zkp")), (std::map<std::string, std::string>{{"0/Esc", "macro"}}));
    EXPECT_EQ(run({"--json", "show", path("m.zkp")}).json().at("macros").size(), 2u);

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"macro"}, {"macro", "add", "x.json"}, {"macro", "list", "x"}})
        EXPECT_EQ(run(args).exitCode, ExitUsage) << ::testing::PrintToString(args);
}

}  // namespace
}  // namespace tarnel::testing
