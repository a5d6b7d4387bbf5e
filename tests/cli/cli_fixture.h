// Runs tarnelctl through its library entry point (RunCli) or as the built executable, against
// simulated keyboards whose state files live in a fresh folder per test.
#pragma once
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/cli.h"

namespace tarnel::testing {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;

    nlohmann::json json() const { return nlohmann::json::parse(out); }
    std::vector<std::string> errLines() const {
        std::vector<std::string> lines;
        std::istringstream in(err);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("tarnel_cli_" + std::string(info->name()) + "_" +
                 std::to_string(std::random_device{}()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        env.dataDir = TARNEL_TEST_DATADIR;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    std::string state() const { return path("keyboard.state"); }
    std::string simulate() const { return "--simulate=" + state(); }

    // tarnelctl ARGS through RunCli with `env`.
    CliRun run(std::vector<std::string> args) {
        args.insert(args.begin(), "tarnelctl");
        std::ostringstream out, err;
        CliRun result;
        result.exitCode = RunCli(args, out, err, env);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    // The built executable with ARGS (each word quoted for the shell).
    CliRun runBinary(const std::vector<std::string>& args) {
        std::string command = "'" + std::string(TARNELCTL_PATH) + "'";
        for (const auto& a : args) command += " '" + a + "'";
        std::string outFile = path("stdout"), errFile = path("stderr");
        command += " >'" + outFile + "' 2>'" + errFile + "'";
        int status = std::system(command.c_str());
        CliRun result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = take(outFile);
        result.err = take(errFile);
        return result;
    }

    static std::string take(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void put(const std::string& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    CliEnvironment env;

private:
    std::filesystem::path m_dir;
};

}  // namespace tarnel::testing
