// Runs every fuzz target over every file of its corpus (fuzz/corpus/<target>/): the seeds and
// the inputs that once showed a fault. A target's own checks abort on a broken property.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fuzz_target.h"

namespace tarnel::fuzz {
namespace {

std::map<std::string, Entry>& targets() {
    static std::map<std::string, Entry> all;
    return all;
}

}  // namespace

bool RegisterTarget(const char* name, Entry entry) {
    targets()[name] = entry;
    return true;
}

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CorpusReplay : public testing::TestWithParam<std::string> {};

TEST_P(CorpusReplay, EveryCorpusFileRunsClean) {
    const fs::path dir = fs::path(TARNEL_FUZZ_CORPUS) / GetParam();
    ASSERT_TRUE(fs::is_directory(dir)) << dir;
    const Entry entry = targets().at(GetParam());
    int files = 0;
    for (const auto& file : fs::directory_iterator(dir)) {
        if (!file.is_regular_file()) continue;
        SCOPED_TRACE(file.path().string());
        const auto bytes = readFile(file.path());
        EXPECT_EQ(entry(bytes.data(), bytes.size()), 0);
        ++files;
    }
    EXPECT_GT(files, 0) << "no corpus for " << GetParam();
    // The empty input is the one every parser must take.
    EXPECT_EQ(entry(nullptr, 0), 0);
}

std::vector<std::string> targetNames() {
    std::vector<std::string> names;
    for (const auto& [name, entry] : targets()) names.push_back(name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CorpusReplay, testing::ValuesIn(targetNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tarnel::fuzz
