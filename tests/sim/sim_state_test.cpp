// The simulated keyboard's state file: a round trip keeps the model and every area; a file that
// is missing or malformed is refused and the keyboard stays as it was.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sim/sim_keyboard.h"

namespace tarnel::sim {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class SimStateFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tarnel-simstate-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string file(const char* name) const { return (m_dir / name).string(); }

    static Bytes read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void write(const std::string& path, const Bytes& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    static std::vector<Bytes> areas(const SimKeyboard& k) {
        std::vector<Bytes> all;
        for (int a = 0; a <= int(SimArea::KeyColors); ++a) all.push_back(k.area(SimArea(a)));
        return all;
    }

private:
    fs::path m_dir;
};

TEST_F(SimStateFile, RoundTripKeepsModelAndEveryArea) {
    SimKeyboard saved(kModelB);
    saved.setFirmware(0x0203);
    saved.setActiveProfile(2);
    saved.setMacroCapacityByte(3);
    const Bytes colours = {1, 2, 3, 4, 5, 6};
    saved.setArea(SimArea::KeyColors, 1530, colours);
    saved.setArea(SimArea::KeyTables, 1000, colours);
    ASSERT_TRUE(saved.saveState(file("state")));
    EXPECT_FALSE(fs::exists(file("state.tmp")));

    SimKeyboard loaded;  // model A, plugged
    const std::string oldPath = loaded.commandPath();
    ASSERT_TRUE(loaded.loadState(file("state")));
    EXPECT_EQ(loaded.model().name, 'B');
    EXPECT_EQ(areas(loaded), areas(saved));
    // Another model in the socket is a new arrival: the old paths are gone.
    EXPECT_FALSE(loaded.isPresent(oldPath));
    EXPECT_NE(loaded.commandPath().find("vid_320f&pid_5000"), std::string::npos);
}

TEST_F(SimStateFile, MalformedFilesAreRefusedAndChangeNothing) {
    SimKeyboard source;
    ASSERT_TRUE(source.saveState(file("good")));
    const Bytes good = read(file("good"));
    ASSERT_GT(good.size(), 64u);
    auto with = [&](size_t at, uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    // Offsets: magic 0-3, version 4-5, vendor 6-7, product 8-9, the info area's length at 10.
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"header only", Bytes(good.begin(), good.begin() + 10)},
        {"cut in the last area", Bytes(good.begin(), good.end() - 1)},
        {"trailing byte", [&] { Bytes b = good; b.push_back(0); return b; }()},
        {"bad magic", with(0, 'X')},
        {"other version", with(4, 2)},
        {"unknown model", with(8, 0x99)},
        {"info area of the wrong size", with(10, 43)},
        {"area length past the end", with(13, 0x7F)},
        {"macro area not matching its capacity byte", with(14 + 11, 0x41)},
    };
    SimKeyboard target(kModelB);
    target.setArea(SimArea::Settings, 0, Bytes{9, 9, 9});
    const std::vector<Bytes> before = areas(target);
    for (const auto& [name, bytes] : cases) {
        write(file("bad"), bytes);
        EXPECT_FALSE(target.loadState(file("bad"))) << name;
        EXPECT_EQ(target.model().name, 'B') << name;
        EXPECT_EQ(areas(target), before) << name;
    }
    EXPECT_FALSE(target.loadState(file("missing")));
    EXPECT_FALSE(target.saveState(file("no-such-folder/state")));
    EXPECT_TRUE(target.loadState(file("good")));
    EXPECT_EQ(target.model().name, 'A');
}

}  // namespace
}  // namespace tarnel::sim
