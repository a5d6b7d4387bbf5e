// tarnelctl's skeleton: usage errors, no keyboard, refused commands, the trace, --json of info,
// and the simulated keyboard's memory kept between runs.
#include <regex>

#include "cli/cli_command.h"
#include "cli_fixture.h"
#include "devicelink/hid_backend.h"
#include "sim/sim_keyboard.h"

namespace tarnel::testing {
namespace {

using sim::FaultKind;
using sim::SimKeyboard;

// Frames a connection costs on model A: seven of command 15 (378 bytes), one of command 3.
constexpr int kConnectFramesA = 8;

TEST_F(CliTest, BadUsageExitsTwoBeforeAnythingIsSent) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"bogus"},
        {"--frobnicate", "info"},
        {"--model", "c", "info"},
        {"--profile", "3", "info"},
        {"--profile=x", "info"},
        {"--simulate=", "info"},
        {"profile", "5"},
        {"profile", "1", "2"},
        {"info", "extra"},
        {"list", "extra"},
    };
    for (auto args : cases) {
        args.insert(args.begin(), simulate());
        CliRun r = run(args);
        EXPECT_EQ(r.exitCode, ExitUsage) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("tarnelctl"), std::string::npos);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(std::filesystem::exists(state())) << ::testing::PrintToString(args);
    }
    // The message names the bad value.
    EXPECT_NE(run({simulate(), "profile", "5"}).err.find("'5'"), std::string::npos);
    EXPECT_NE(run({"--model", "c", "info"}).err.find("'c'"), std::string::npos);
}

TEST_F(CliTest, HelpForTheProgramAndEveryCommand) {
    CliRun program = run({"--help"});
    ASSERT_EQ(program.exitCode, ExitOk);
    for (const CommandSpec& command : Commands()) {
        std::string name = command.name;
        EXPECT_NE(program.out.find("  " + name), std::string::npos) << name;
        CliRun help = run({name, "--help"});
        EXPECT_EQ(help.exitCode, ExitOk) << name;
        EXPECT_EQ(help.out.rfind("usage: tarnelctl [OPTIONS] " + name, 0), 0u);
        EXPECT_EQ(run({"help", name}).out, help.out);
    }
}

// A platform backend with one keyboard node that the user may not open.
class LockedBackend : public HidBackend {
public:
    bool enumerate(std::vector<std::string>& paths) override {
        paths = {"/dev/hidraw7"};
        return true;
    }
    std::unique_ptr<HidDevice> open(const std::string&, const HidOpenOptions&,
                                    HidOpenError* error) override {
        if (error) *error = HidOpenError::PermissionDenied;
        return nullptr;
    }
    bool isPresent(const std::string&) override { return true; }
    bool enumerationIds(const std::string&, uint16_t& vendorId, uint16_t& productId) override {
        vendorId = 0x320F, productId = 0x5000;
        return true;
    }
};

class EmptyBackend : public LockedBackend {
public:
    bool enumerate(std::vector<std::string>& paths) override {
        paths.clear();
        return true;
    }
};

TEST_F(CliTest, NoKeyboardExitsThreeWithAOneLineHint) {
    for (const char* command : {"info", "list", "profile"}) {
        CliRun none = run({command});  // this environment has no platform backend
        EXPECT_EQ(none.exitCode, ExitNoKeyboard) << command;
        EXPECT_EQ(none.errLines().size(), 1u) << none.err;
    }
    env.systemBackend = [] { return std::make_unique<EmptyBackend>(); };
    CliRun empty = run({"info"});
    EXPECT_EQ(empty.exitCode, ExitNoKeyboard);
    EXPECT_EQ(empty.errLines().size(), 1u);
    EXPECT_EQ(empty.err.find("udev"), std::string::npos);

    env.systemBackend = [] { return std::make_unique<LockedBackend>(); };
    CliRun locked = run({"info"});
    EXPECT_EQ(locked.exitCode, ExitNoKeyboard);
    ASSERT_EQ(locked.errLines().size(), 1u) << locked.err;
    EXPECT_NE(locked.err.find("/dev/hidraw7"), std::string::npos);
    EXPECT_NE(locked.err.find("ATTRS{idVendor}==\"320f\", ATTRS{idProduct}==\"5000\""),
              std::string::npos);
    CliRun list = run({"list"});
    EXPECT_EQ(list.exitCode, ExitNoKeyboard);
    EXPECT_NE(list.out.find("permission denied"), std::string::npos);

    env.onSimulator = [](SimKeyboard& keyboard) { keyboard.unplug(); };
    EXPECT_EQ(run({"--simulate", "info"}).exitCode, ExitNoKeyboard);
}

TEST_F(CliTest, ListShowsTheSimulatedKeyboardsInterfaces) {
    CliRun r = run({"--simulate", "--model", "b", "--json", "list"});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    nlohmann::json interfaces = r.json().at("interfaces");
    ASSERT_EQ(interfaces.size(), 3u);
    int commands = 0;
    for (const auto& i : interfaces) {
        EXPECT_EQ(i.at("model"), "B");
        EXPECT_EQ(i.at("vendorId"), "0x320F");
        commands += i.at("interface") == "command";
    }
    EXPECT_EQ(commands, 1);
}

TEST_F(CliTest, InfoJsonHasTheDocumentedKeys) {
    CliRun r = run({simulate(), "--model", "b", "--json", "info"});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    nlohmann::json info = r.json();
    EXPECT_EQ(info.at("model"), "B");
    EXPECT_EQ(info.at("vendorId"), 0x320F);
    EXPECT_EQ(info.at("productId"), 0x5000);
    EXPECT_EQ(info.at("firmware"), 0x0102);
    EXPECT_EQ(info.at("activeProfile"), 0);
    EXPECT_EQ(info.at("macroCapacity"), 0x40 * 128);
    EXPECT_EQ(info.at("effects"),
              nlohmann::json({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20, 21}));
    EXPECT_EQ(info.at("userModeSupported"), true);

    env.onSimulator = [](SimKeyboard& keyboard) {
        keyboard.setEffects({4, 0, 9});
        keyboard.setFirmware(0x0101);
    };
    nlohmann::json other = run({"--simulate", "--json", "info"}).json();
    EXPECT_EQ(other.at("model"), "A");
    EXPECT_EQ(other.at("firmware"), 0x0101);
    EXPECT_EQ(other.at("effects"), nlohmann::json({4, 9}));
    EXPECT_EQ(other.at("userModeSupported"), false);
}

TEST_F(CliTest, TheKeyboardIsKeptBetweenRuns) {
    ASSERT_EQ(run({simulate(), "--model", "b", "profile", "2"}).exitCode, ExitOk);
    // The state's model wins over --model for an existing keyboard.
    nlohmann::json info = run({simulate(), "--model", "a", "--json", "info"}).json();
    EXPECT_EQ(info.at("activeProfile"), 2);
    EXPECT_EQ(info.at("model"), "B");
    CliRun shown = run({simulate(), "profile"});
    EXPECT_EQ(shown.exitCode, ExitOk);
    EXPECT_NE(shown.out.find("2"), std::string::npos);
    // Without a state file every run starts from a new keyboard.
    ASSERT_EQ(run({"--simulate", "profile", "1"}).exitCode, ExitOk);
    EXPECT_EQ(run({"--simulate", "--json", "profile"}).json().at("activeProfile"), 0);
}

TEST_F(CliTest, AnInvalidStateFileExitsTwoAndIsLeftAlone) {
    put(state(), "not a keyboard");
    CliRun r = run({simulate(), "info"});
    EXPECT_EQ(r.exitCode, ExitUsage);
    EXPECT_NE(r.err.find(state()), std::string::npos);
    EXPECT_EQ(take(state()), "not a keyboard");
}

TEST_F(CliTest, ARefusedCommandExitsOneNamingItsCommandAndResult) {
    struct Case {
        int frame;
        FaultKind fault;
        const char* expected;
    };
    // The profile switch reads the information block (frame 9) and writes it back (frame 10).
    const Case cases[] = {
        {kConnectFramesA + 2, FaultKind::StatusFF,
         "the keyboard refused command 4 (write information block): result -102"},
        {kConnectFramesA + 2, FaultKind::StatusFE,
         "the keyboard refused command 4 (write information block): result -103"},
        {kConnectFramesA + 1, FaultKind::StatusFF,
         "the keyboard refused command 3 (read information block): result -102"},
    };
    for (const Case& c : cases) {
        env.onSimulator = [&](SimKeyboard& keyboard) { keyboard.injectFault(c.frame, c.fault); };
        CliRun r = run({"--simulate", "profile", "1"});
        EXPECT_EQ(r.exitCode, ExitRefused) << c.expected;
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
    }
    env.onSimulator = [](SimKeyboard& keyboard) {
        keyboard.injectFault(kConnectFramesA + 1, FaultKind::StatusFF);
    };
    CliRun info = run({"--simulate", "info"});
    EXPECT_EQ(info.exitCode, ExitRefused);
    EXPECT_NE(info.err.find("tarnelctl info: the keyboard refused command 3"), std::string::npos);
}

TEST_F(CliTest, UnplugMidCommandExitsOneAndKeepsTheStateFile) {
    ASSERT_EQ(run({simulate(), "profile", "1"}).exitCode, ExitOk);
    std::string before = take(state());
    env.onSimulator = [](SimKeyboard& keyboard) {
        keyboard.injectFault(kConnectFramesA + 2, FaultKind::Unplug);
    };
    CliRun r = run({simulate(), "profile", "2"});
    EXPECT_EQ(r.exitCode, ExitRefused);
    EXPECT_NE(r.err.find("command 4 (write information block) could not be sent: result -1"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(take(state()), before);
}

TEST_F(CliTest, TraceShowsEveryReportAndNothingElse) {
    CliRun r = run({"--simulate", "--trace", "profile", "2"});
    ASSERT_EQ(r.exitCode, ExitOk);
    std::vector<std::string> lines = r.errLines();
    // Connection (8 exchanges), read and write of the information block.
    ASSERT_EQ(lines.size(), 2u * (kConnectFramesA + 2));
    const std::regex format("[<>]( [0-9A-F]{2}){64}");
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], format)) << lines[i];
        EXPECT_EQ(lines[i][0], i % 2 ? '<' : '>');
    }
    EXPECT_EQ(lines[0].substr(0, 14), "> 04 47 00 0F ");  // command 15 at address 0
    EXPECT_EQ(lines.back().substr(0, 14), "< 04 49 01 04 ");
    // The profile byte of the block written back.
    EXPECT_EQ(lines[lines.size() - 2].substr(2 + 3 * 18, 2), "02");
    // The text output is on stdout, untouched by the trace.
    EXPECT_EQ(r.out.find('>'), std::string::npos);
}

TEST_F(CliTest, TheBuiltProgramKeepsItsKeyboardInTheStateFile) {
    CliRun set = runBinary({simulate(), "profile", "2"});
    ASSERT_EQ(set.exitCode, ExitOk) << set.err;
    CliRun info = runBinary({simulate(), "--json", "info"});
    ASSERT_EQ(info.exitCode, ExitOk) << info.err;
    EXPECT_EQ(info.json().at("activeProfile"), 2);
    EXPECT_EQ(runBinary({simulate(), "frobnicate"}).exitCode, ExitUsage);
    CliRun traced = runBinary({simulate(), "--trace", "profile"});
    ASSERT_EQ(traced.exitCode, ExitOk);
    ASSERT_EQ(traced.errLines().size(), 2u * (kConnectFramesA + 1));
    for (const std::string& line : traced.errLines())
        EXPECT_TRUE(std::regex_match(line, std::regex("[<>]( [0-9A-F]{2}){64}"))) << line;
    CliRun text = runBinary({simulate(), "info"});
    EXPECT_TRUE(std::regex_search(text.out, std::regex("\nActive profile: +2\n"))) << text.out;
}

}  // namespace
}  // namespace tarnel::testing
