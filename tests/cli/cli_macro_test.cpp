// macro add and macro remove against the simulated keyboard: what the keyboard's macro memory
// and key tables hold afterwards, and macro files refused before anything is sent.
#include <map>

#include "cli_fixture.h"

namespace tarnel::testing {
namespace {

class CliMacroTest : public CliTest {
protected:
    std::string macroFile(const std::string& name, const std::string& json) {
        put(path(name), json);
        return path(name);
    }
    CliRun add(const std::string& json) {
        return run({simulate(), "--json", "macro", "add", macroFile("m.json", json)});
    }
    nlohmann::json macros() {
        CliRun r = run({simulate(), "--json", "macro", "list"});
        EXPECT_EQ(r.exitCode, ExitOk) << r.err;
        return r.json().at("macros");
    }
    // "profile/key" -> the assignment's text, from `show` of a backup of the keyboard.
    std::map<std::string, std::string> assignments() {
        EXPECT_EQ(run({simulate(), "backup", path("b.zkp")}).exitCode, ExitOk);
        CliRun r = run({"--json", "show", path("b.zkp")});
        EXPECT_EQ(r.exitCode, ExitOk) << r.err;
        std::map<std::string, std::string> keys;
        const nlohmann::json document = r.json();
        for (const auto& profile : document.at("profiles"))
            for (const auto& key : profile.at("keys"))
                keys[std::to_string(profile.at("profile").get<int>()) + "/" +
                     key.at("key").get<std::string>()] = key.at("text");
        return keys;
    }
};

TEST_F(CliMacroTest, AddedMacrosAreListedWithTheirSteps) {
    CliRun r = add(R"({"name": "Hi", "repeat": 3, "steps": [
        {"key": "Right Shift", "state": "down", "delay": 125},
        {"key": "h", "state": "press"}, {"key": "0x023", "state": "up", "delay": 40000},
        {"key": "Right Shift", "state": "release"}]})");
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    EXPECT_EQ(r.json().at("id"), 1);
    ASSERT_EQ(add(R"({"steps": []})").exitCode, ExitOk);

    nlohmann::json list = macros();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].at("name"), "Hi");
    EXPECT_EQ(list[0].at("repeat"), 3);
    EXPECT_EQ(list[0].at("steps"), nlohmann::json::parse(R"([
        {"key": "Right Shift", "state": "press", "delayMs": 120},
        {"key": "H", "state": "press", "delayMs": 0},
        {"key": "H", "state": "release", "delayMs": 40000},
        {"key": "Right Shift", "state": "release", "delayMs": 0}])"));
    EXPECT_EQ(list[1].at("id"), 2);
    EXPECT_EQ(list[1].at("name"), "Macro 1");
    EXPECT_EQ(list[1].at("repeat"), 1);
}

TEST_F(CliMacroTest, RemovingAMacroReturnsItsKeysToTheirFactoryFunction) {
    ASSERT_EQ(add(R"({"name": "One", "steps": [{"key": "A", "state": "down"}]})").exitCode, ExitOk);
    ASSERT_EQ(add(R"({"name": "Two", "steps": [{"key": "B", "state": "down"}]})").exitCode, ExitOk);
    ASSERT_EQ(run({simulate(), "assign", "Esc", "macro:1"}).exitCode, ExitOk);
    ASSERT_EQ(run({simulate(), "--profile", "2", "assign", "F1", "macro:1"}).exitCode, ExitOk);
    ASSERT_EQ(run({simulate(), "assign", "Tab", "macro:2"}).exitCode, ExitOk);

    CliRun r = run({simulate(), "--json", "macro", "remove", "1"});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    EXPECT_EQ(r.json().at("name"), "One");
    EXPECT_EQ(r.json().at("keysReset"), 2);
    EXPECT_TRUE(r.err.empty()) << r.err;  // the question about its keys is not asked

    // Tab follows its macro, which is now the first one the keyboard holds.
    EXPECT_EQ(assignments(), (std::map<std::string, std::string>{{"0/Tab", "Tab: Macro (Two)"}}));
    nlohmann::json list = macros();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].at("id"), 1);
    EXPECT_EQ(list[0].at("name"), "Two");

    for (const char* id : {"2", "0", "101", "x"})
        EXPECT_EQ(run({simulate(), "macro", "remove", id}).exitCode, ExitUsage) << id;
    EXPECT_EQ(macros().size(), 1u);
}

TEST_F(CliMacroTest, ABadFileIsRefusedBeforeAnythingIsSent) {
    ASSERT_EQ(run({simulate(), "profile"}).exitCode, ExitOk);
    const std::string before = take(state());
    std::string manySteps = R"({"steps": [)";
    for (int i = 0; i <= 4000; ++i) manySteps += std::string(i ? "," : "") + R"({"key":"A","state":"up"})";
    manySteps += "]}";
    struct Case {
        std::string json;
        std::string named;  // what the message must name
    } cases[] = {
        {R"({"steps": [)", "not valid JSON"},
        {R"([1, 2])", "not a JSON object"},
        {R"({"steps": [{"key": "Foo", "state": "down"}]})", "\"Foo\""},
        {R"({"steps": [{"key": "Left Button", "state": "down"}]})", "\"Left Button\""},
        {R"({"steps": [{"key": "G3", "state": "down"}]})", "\"G3\""},
        {R"({"steps": [{"key": "A", "state": "sideways"}]})", "\"sideways\""},
        {R"({"steps": [{"key": "A"}]})", "\"state\" is missing"},
        {R"({"steps": [{"key": "A", "state": "up"}, {"key": "A", "state": "up", "delay": 40001}]})",
         "step 2: \"delay\" 40001"},
        {R"({"steps": [{"key": "A", "state": "up", "delay": -10}]})", "-10"},
        {R"({"steps": [{"key": "A", "state": "up", "delay": 1.5}]})", "1.5"},
        {R"({"repeat": 0})", "\"repeat\" 0"},
        {R"({"repeat": 256})", "\"repeat\" 256"},
        {R"({"name": ")" + std::string(250, 'n') + R"("})", "249"},
        {R"({"nmae": "x"})", "\"nmae\""},
        {manySteps, "4001 steps"},
    };
    for (const Case& c : cases) {
        CliRun r = run({simulate(), "--trace", "macro", "add", macroFile("bad.json", c.json)});
        EXPECT_EQ(r.exitCode, ExitUsage) << c.named;
        EXPECT_NE(r.err.find("bad.json"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("> "), std::string::npos) << "sent something: " << c.named;
    }
    CliRun missing = run({simulate(), "macro", "add", path("none.json")});
    EXPECT_EQ(missing.exitCode, ExitUsage);
    EXPECT_NE(missing.err.find("none.json"), std::string::npos);
    EXPECT_EQ(take(state()), before);
}

}  // namespace
}  // namespace tarnel::testing
