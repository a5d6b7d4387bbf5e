#include "devicelink/command_set.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <numeric>
#include <thread>
#include <vector>

#include "link_fixture.h"

namespace tarnel::testing {
namespace {

std::vector<uint8_t> pattern(size_t n, uint8_t seed) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = uint8_t(seed + i * 13);
    return v;
}

uint16_t addressOf(const Frame& f) { return uint16_t(f[5] | f[6] << 8); }

TEST_F(LinkTest, ChunkedWriteTotals) {
    struct Case {
        int total;
        std::vector<int> lengths;
    };
    for (const Case& c : {Case{0, {}}, Case{56, {56}}, Case{57, {56, 1}},
                          Case{378, {56, 56, 56, 56, 56, 56, 42}},
                          Case{512, {56, 56, 56, 56, 56, 56, 56, 56, 56, 8}}}) {
        k.keyboard.clearLog();
        std::vector<uint8_t> data = pattern(size_t(c.total), uint8_t(c.total));
        ASSERT_EQ(k.commands.CmdWriteMacros(data.data(), c.total), ResultOk) << c.total;
        std::vector<Frame> frames = k.keyboard.requests();
        ASSERT_EQ(frames.size(), c.lengths.size()) << c.total;
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i][3], CmdCodeWriteMacros);
            EXPECT_EQ(frames[i][4], c.lengths[i]);
            EXPECT_EQ(addressOf(frames[i]), i * 56);
            EXPECT_EQ(frames[i][1] | frames[i][2] << 8, FrameChecksum(frames[i].data()));
        }
        std::vector<uint8_t> stored = k.keyboard.area(SimArea::Macros);
        ASSERT_GE(stored.size(), data.size());
        EXPECT_TRUE(std::equal(data.begin(), data.end(), stored.begin())) << c.total;
    }
}

TEST_F(LinkTest, ShortLastWriteChunkKeepsThePreviousChunksTail) {
    std::vector<uint8_t> data = pattern(57, 1);
    ASSERT_EQ(k.commands.CmdWriteMacros(data.data(), 57), ResultOk);
    std::vector<Frame> frames = k.keyboard.requests();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1][8], data[56]);
    for (size_t i = 9; i < 64; ++i) EXPECT_EQ(frames[1][i], data[i - 8]) << i;
}

TEST_F(LinkTest, ModelAKeyTableOfProfileTwo) {
    std::vector<uint8_t> table(378, 0);
    ASSERT_EQ(k.commands.CmdReadKeyTable(table.data(), 2), ResultOk);
    std::vector<Frame> frames = k.keyboard.requests();
    ASSERT_EQ(frames.size(), 7u);
    for (size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(addressOf(frames[i]), 756 + 56 * i);
    EXPECT_EQ(addressOf(frames.back()), 1092);
    EXPECT_EQ(frames.back()[4], 42);
    std::vector<uint8_t> stored = k.keyboard.area(SimArea::KeyTables);
    ASSERT_GE(stored.size(), 756u + 378u);
    EXPECT_TRUE(std::equal(table.begin(), table.end(), stored.begin() + 756));
}

TEST_F(LinkTest, KeyColorAddresses) {
    uint8_t colors[56];
    ASSERT_EQ(k.commands.CmdReadKeyColors(colors, 54, 18, 1), ResultOk);
    Frame read = k.keyboard.requests().back();
    EXPECT_EQ(read[3], CmdCodeReadKeyColors);
    EXPECT_EQ(read[4], 54);
    EXPECT_EQ(read[5], 0x36);
    EXPECT_EQ(read[6], 0x02);
    std::vector<uint8_t> stored = k.keyboard.area(SimArea::KeyColors);
    EXPECT_TRUE(std::equal(colors, colors + 54, stored.begin() + 566));

    // Writes go to the profile being edited, whatever the caller has in mind.
    k.link.currentProfile = 2;
    uint8_t rgb[3] = {1, 2, 3};
    ASSERT_EQ(k.commands.CmdWriteKeyColors(rgb, 3, 5), ResultOk);
    EXPECT_EQ(addressOf(k.keyboard.requests().back()), 2 * 512 + 15);
    stored = k.keyboard.area(SimArea::KeyColors);
    EXPECT_EQ(stored[1039], 1);
    EXPECT_EQ(stored[1041], 3);
}

TEST_F(LinkTest, SettingsWriteOfLengthZeroSendsOneEmptyFrame) {
    uint8_t byte = 0x77;
    ASSERT_EQ(k.commands.CmdWriteSettings(&byte, 0, 42), ResultOk);
    std::vector<Frame> frames = k.keyboard.requests();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0][4], 0);
    EXPECT_EQ(addressOf(frames[0]), 42);
    EXPECT_EQ(frames[0][8], 0);
}

TEST_F(LinkTest, StatusFFOnThirdChunkStopsTheRead) {
    k.keyboard.injectFault(3, FaultKind::StatusFF);
    std::vector<uint8_t> table(378, 0xAA);
    EXPECT_EQ(k.commands.CmdReadKeyTable(table.data(), 0), ResultStatusFF);
    EXPECT_EQ(k.keyboard.requestCount(), 3u);
    std::vector<uint8_t> stored = k.keyboard.area(SimArea::KeyTables);
    EXPECT_TRUE(std::equal(table.begin(), table.begin() + 112, stored.begin()));
    EXPECT_TRUE(std::all_of(table.begin() + 112, table.end(), [](uint8_t b) { return b == 0xAA; }));
}

TEST_F(LinkTest, KeyboardThatNeverAnswersGetsFourIdenticalFrames) {
    for (int n = 1; n <= 4; ++n) k.keyboard.injectFault(n, FaultKind::NoReply);
    EXPECT_EQ(k.commands.CmdBegin(), ResultNoReply);
    std::vector<Frame> frames = k.keyboard.requests();
    ASSERT_EQ(frames.size(), 4u);
    for (const Frame& f : frames) EXPECT_EQ(f, frames[0]);
    // The next command starts clean.
    EXPECT_EQ(k.commands.CmdBegin(), ResultOk);
}

// A reply slower than the read limit arrives after its attempt gave up. The next attempt takes
// it (same request); the one left over must not become the answer to the next command.
TEST_F(LinkTest, ALateReplyIsNotTakenForTheNextCommandsAnswer) {
    k.keyboard.setReplyDelayMs(kReadLimitMs + 50);
    uint8_t info[kInfoBlockSize];
    EXPECT_EQ(k.commands.CmdReadInfo(info), ResultOk);
    EXPECT_EQ(k.keyboard.requestCount(), 2u);
    k.keyboard.setReplyDelayMs(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(kReadLimitMs + 100));  // 2nd reply in
    uint8_t settings[kSettingsReadSize];
    EXPECT_EQ(k.commands.CmdReadSettings(settings, kSettingsReadSize, 0), ResultOk);
    std::vector<uint8_t> stored = k.keyboard.area(SimArea::Settings);
    EXPECT_TRUE(std::equal(settings, settings + kSettingsReadSize, stored.begin()));
}

TEST_F(LinkTest, UnplugInTheMiddleOfATransferFailsAndSendsNoMore) {
    k.keyboard.injectFault(4, FaultKind::Unplug);
    std::vector<uint8_t> macros = pattern(512, 3);
    EXPECT_NE(k.commands.CmdWriteMacros(macros.data(), 512), ResultOk);
    EXPECT_EQ(k.keyboard.requestCount(), 4u);
}

TEST_F(LinkTest, NotConnectedSendsNothing) {
    k.link.connected = false;
    uint8_t buf[512] = {};
    std::vector<std::function<int()>> commands = {
        [&] { return k.commands.CmdBegin(); },
        [&] { return k.commands.CmdEnd(); },
        [&] { return k.commands.CmdReadInfo(buf); },
        [&] { return k.commands.CmdWriteInfo(buf); },
        [&] { return k.commands.CmdReadSettings(buf, 56, 0); },
        [&] { return k.commands.CmdWriteSettings(buf, 1, 0); },
        [&] { return k.commands.CmdReadKeyTable(buf, 0); },
        [&] { return k.commands.CmdWriteKeyTable(buf, 0); },
        [&] { return k.commands.CmdReadMacros(buf, 16); },
        [&] { return k.commands.CmdWriteMacros(buf, 16); },
        [&] { return k.commands.CmdTest(); },
        [&] { return k.commands.CmdReadDefaultKeyTable(buf); },
        [&] { return k.commands.CmdReadKeyColors(buf, 54, 0, 0); },
        [&] { return k.commands.CmdWriteKeyColors(buf, 54, 0); },
    };
    for (size_t i = 0; i < commands.size(); ++i) EXPECT_EQ(commands[i](), ResultNoReply) << i;
    EXPECT_EQ(k.commands.GetActiveProfile(), -1);
    EXPECT_EQ(k.keyboard.requestCount(), 0u);
}

TEST_F(LinkTest, ProfileOutOfRangeSendsNothing) {
    uint8_t buf[512] = {};
    for (int profile : {3, -1}) {
        EXPECT_EQ(k.commands.CmdReadKeyTable(buf, profile), ResultBadProfile);
        EXPECT_EQ(k.commands.CmdWriteKeyTable(buf, profile), ResultBadProfile);
    }
    EXPECT_EQ(k.keyboard.requestCount(), 0u);
}

TEST_F(LinkTest, ActiveProfileIsReadOnce) {
    k.keyboard.setActiveProfile(1);
    EXPECT_EQ(k.commands.GetActiveProfile(), 1);
    EXPECT_EQ(k.commands.GetActiveProfile(), 1);
    EXPECT_EQ(k.keyboard.requestCount(), 1u);
    EXPECT_EQ(k.keyboard.requests()[0][3], CmdCodeReadInfo);
}

TEST_F(LinkTest, SetActiveProfileWritesBackTheWholeBlock) {
    std::vector<uint8_t> before = k.keyboard.area(SimArea::Info);
    k.commands.SetActiveProfile(-1);
    k.commands.SetActiveProfile(3);
    EXPECT_EQ(k.keyboard.requestCount(), 0u);

    k.commands.SetActiveProfile(2);
    std::vector<uint8_t> after = k.keyboard.area(SimArea::Info);
    before[10] = 2;
    EXPECT_EQ(after, before);
    EXPECT_EQ(k.link.activeProfileCache, 2);
    k.keyboard.clearLog();
    EXPECT_EQ(k.commands.GetActiveProfile(), 2);
    EXPECT_EQ(k.keyboard.requestCount(), 0u);
}

TEST_F(LinkTest, RefusedProfileWriteForgetsTheCache) {
    k.keyboard.setActiveProfile(0);
    EXPECT_EQ(k.commands.GetActiveProfile(), 0);
    k.keyboard.clearLog();
    k.keyboard.injectFault(2, FaultKind::StatusFE);  // frame 1 reads the block, 2 writes it
    k.commands.SetActiveProfile(2);
    EXPECT_EQ(k.link.activeProfileCache, -1);
    EXPECT_EQ(k.commands.GetActiveProfile(), 0);
    EXPECT_EQ(k.keyboard.requestCount(), 3u);
}

TEST_F(LinkTest, TraceSeesEveryReportBothWays) {
    std::vector<std::pair<bool, Frame>> seen;
    k.connection.setTraceSink([&](bool outgoing, const uint8_t* report) {
        Frame f;
        std::copy(report, report + 64, f.begin());
        seen.emplace_back(outgoing, f);
    });
    uint8_t info[44];
    ASSERT_EQ(k.commands.CmdReadInfo(info), ResultOk);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].first);
    EXPECT_EQ(seen[0].second, k.keyboard.requests()[0]);
    EXPECT_FALSE(seen[1].first);
    EXPECT_EQ(seen[1].second, k.keyboard.replies()[0]);
}

TEST_F(LinkTest, ChunkProgressCountsBytes) {
    std::vector<int> done;
    k.commands.setChunkProgress([&](int d, int total) {
        EXPECT_EQ(total, 378);
        done.push_back(d);
    });
    std::vector<uint8_t> table(378);
    ASSERT_EQ(k.commands.CmdReadKeyTable(table.data(), 0), ResultOk);
    EXPECT_EQ(done, (std::vector<int>{56, 112, 168, 224, 280, 336, 378}));
}

}  // namespace
}  // namespace tarnel::testing
