// The hidraw backend over a temporary sysfs tree. Its nodes are SOCK_SEQPACKET socket pairs (one
// report per message); the test holds the peer end, and closing it is an unplug.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <thread>

#include "devicelink/command_set.h"
#include "devicelink/device_connection.h"
#include "devicelink/device_match.h"
#include "devicelink/discovery.h"
#include "devicelink/link_state.h"
#include "devicelink/linux/hidraw_backend.h"
#include "devicelink/linux/system_backend.h"
#include "sim/sim_keyboard.h"

namespace tarnel::hidraw {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

Bytes concat(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    Bytes out(a.begin(), a.end());
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

class HidrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("tarnel-hidraw-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root / "class");
        HidrawConfig config;
        config.sysfsRoot = (m_root / "class").string();
        config.devRoot = (m_root / "dev").string();
        config.opener = [this](const std::string& node, int flags) { return openPair(node, flags); };
        backend = std::make_unique<HidrawBackend>(config);
    }
    void TearDown() override {
        backend.reset();
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto& [node, fd] : m_peers) ::close(fd);
        fs::remove_all(m_root);
    }

    // A hidrawN entry whose "device" links to a HID device folder of its own, as in sysfs.
    void addNode(unsigned n, const std::string& uevent, const Bytes& descriptor,
                 const std::string& deviceName) {
        const fs::path device = m_root / "devices" / deviceName;
        fs::create_directories(device);
        std::ofstream(device / "uevent") << uevent;
        std::ofstream(device / "report_descriptor", std::ios::binary)
            .write(reinterpret_cast<const char*>(descriptor.data()), std::streamsize(descriptor.size()));
        const fs::path entry = m_root / "class" / ("hidraw" + std::to_string(n));
        fs::remove_all(entry);
        fs::create_directories(entry);
        fs::create_directory_symlink(device, entry / "device");
    }
    void addKeyboard(unsigned n, const std::string& deviceName = "0003:0C45:5004.0001") {
        addNode(n, "DRIVER=hid-generic\nHID_ID=0003:00000C45:00005004\nHID_NAME=kb\n",
                concat(sim::SimKeyboard::consumerDescriptor(), sim::SimKeyboard::commandDescriptor()),
                deviceName);
    }

    // The test's end of node n (-1 before it is opened).
    int peer(unsigned n) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_peers.find(n);
        return it == m_peers.end() ? -1 : it->second;
    }
    void unplug(unsigned n) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_peers.find(n);
        if (it == m_peers.end()) return;
        ::close(it->second);
        m_peers.erase(it);
    }

    // The path of collection (page, usage) in the last enumeration.
    std::string pathOf(uint16_t page, uint16_t usage) {
        std::vector<std::string> paths;
        EXPECT_TRUE(backend->enumerate(paths));
        for (const std::string& p : paths) {
            auto dev = backend->open(p, HidOpenOptions{});
            if (dev && dev->caps().usagePage == page && dev->caps().usage == usage) return p;
        }
        return {};
    }

    std::unique_ptr<HidrawBackend> backend;
    int openResult = 0;  // a negative errno makes the opener fail

private:
    int openPair(const std::string& node, int flags) {
        if (openResult < 0) return openResult;
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0) return -errno;
        if (flags & O_NONBLOCK) ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
        const unsigned n = unsigned(std::stoul(node.substr(node.rfind("hidraw") + 6)));
        std::lock_guard<std::mutex> lock(m_mutex);
        if (auto it = m_peers.find(n); it != m_peers.end()) ::close(it->second);
        m_peers[n] = fds[1];
        return fds[0];
    }

    fs::path m_root;
    std::mutex m_mutex;
    std::map<unsigned, int> m_peers;
};

TEST_F(HidrawTest, EnumeratesEveryTopLevelCollectionAndSkipsMalformedEntries) {
    addKeyboard(3);
    addNode(0, "HID_NAME=no ids\n", Bytes(sim::SimKeyboard::keyboardDescriptor().begin(),
                                          sim::SimKeyboard::keyboardDescriptor().end()), "a");
    addNode(1, "HID_ID=0003:0C45\n", Bytes{0x05, 0x01}, "b");                // HID_ID cut short
    addNode(2, "HID_ID=0003:00000C45:00005004\n", Bytes{0x05, 0x01, 0x09}, "c");  // item cut off
    addNode(4, "HID_ID=0003:0000zz45:00005004\n", Bytes{0x09, 0x01}, "d");    // not hexadecimal
    std::vector<std::string> paths;
    ASSERT_TRUE(backend->enumerate(paths));
    ASSERT_EQ(paths.size(), 2u);  // the keyboard node's consumer and command collections
    for (const std::string& p : paths) {
        EXPECT_NE(CandidateModel(*backend, p), nullptr) << p;
        HidOpenError error = HidOpenError::Other;
        auto dev = backend->open(p, HidOpenOptions{}, &error);
        ASSERT_NE(dev, nullptr) << p;
        EXPECT_EQ(error, HidOpenError::None);
        EXPECT_EQ(dev->attributes().vendorId, 0x0C45);
        EXPECT_EQ(dev->attributes().productId, 0x5004);
    }
    auto consumer = backend->open(paths[0], HidOpenOptions{});
    auto command = backend->open(paths[1], HidOpenOptions{});
    EXPECT_TRUE(IsConsumerCollection(consumer->caps()));
    EXPECT_TRUE(IsCommandCollection(command->caps()));
    EXPECT_EQ(command->caps().input.reportByteLength, 64);
}

TEST_F(HidrawTest, MissingSysfsFolderIsAnEmptyListAndTheSystemEnumerationRuns) {
    HidrawConfig config;
    config.sysfsRoot = "/nonexistent/tarnel/hidraw";
    HidrawBackend none(config);
    std::vector<std::string> paths;
    EXPECT_TRUE(none.enumerate(paths));
    EXPECT_TRUE(paths.empty());
    EXPECT_TRUE(MakeSystemBackend()->enumerate(paths));
}

TEST_F(HidrawTest, OpenErrorsTellPermissionFromAbsence) {
    addKeyboard(0);
    const std::string path = pathOf(0xFF1C, 0x92);
    ASSERT_FALSE(path.empty());
    const std::pair<int, HidOpenError> cases[] = {{-EACCES, HidOpenError::PermissionDenied},
                                                  {-EPERM, HidOpenError::PermissionDenied},
                                                  {-ENOENT, HidOpenError::NotFound},
                                                  {-EIO, HidOpenError::Other}};
    for (const auto& [err, expected] : cases) {
        openResult = err;
        HidOpenError error = HidOpenError::None;
        EXPECT_EQ(backend->open(path, HidOpenOptions{}, &error), nullptr);
        EXPECT_EQ(error, expected) << err;
    }
    openResult = 0;
    HidOpenError error = HidOpenError::None;
    EXPECT_EQ(backend->open(path + "0", HidOpenOptions{}, &error), nullptr);
    EXPECT_EQ(error, HidOpenError::NotFound);
}

// hidrawN numbers are reused: a new device under the same number is not the old path.
TEST_F(HidrawTest, AReusedNodeNumberIsAnotherDevice) {
    addKeyboard(0, "0003:0C45:5004.0001");
    const std::string old = pathOf(0xFF1C, 0x92);
    ASSERT_FALSE(old.empty());
    EXPECT_TRUE(backend->isPresent(old));
    addKeyboard(0, "0003:0C45:5004.0002");
    EXPECT_FALSE(backend->isPresent(old));
    HidOpenError error = HidOpenError::None;
    EXPECT_EQ(backend->open(old, HidOpenOptions{}, &error), nullptr);
    EXPECT_EQ(error, HidOpenError::NotFound);
    const std::string fresh = pathOf(0xFF1C, 0x92);
    EXPECT_NE(fresh, old);
    EXPECT_TRUE(backend->isPresent(fresh));
}

TEST_F(HidrawTest, ReadsTakeTheirCollectionsReportsAndTimeOut) {
    addKeyboard(0);
    auto consumer = backend->open(pathOf(0x0C, 0x01), HidOpenOptions{});
    ASSERT_NE(consumer, nullptr);
    const uint8_t command[64] = {4, 1, 2, 3};
    const uint8_t event[3] = {3, 0x01, 0x04};
    ASSERT_EQ(::send(peer(0), command, sizeof command, 0), 64);  // the command collection's
    ASSERT_EQ(::send(peer(0), event, sizeof event, 0), 3);
    uint8_t buffer[8];
    std::memset(buffer, 0xAA, sizeof buffer);
    ASSERT_TRUE(consumer->readReport(buffer, sizeof buffer, 1000));
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{3, 0x01, 0x04, 0}));  // zero past the report
    auto start = Clock::now();
    EXPECT_FALSE(consumer->readReport(buffer, sizeof buffer, 50));
    EXPECT_GE(msSince(start), 45);
    EXPECT_LT(msSince(start), 2000);
}

// Reports of a descriptor without report ids get a 0 byte in front, as the caps count them.
TEST_F(HidrawTest, ReportsWithoutIdsGetTheZeroIdByte) {
    addNode(0, "HID_ID=0003:00000C45:00005004\n",
            Bytes(sim::SimKeyboard::keyboardDescriptor().begin(),
                  sim::SimKeyboard::keyboardDescriptor().end()), "kb");
    auto kb = backend->open(pathOf(0x01, 0x06), HidOpenOptions{});
    ASSERT_NE(kb, nullptr);
    const uint8_t report[8] = {0x02, 0, 0x04};
    ASSERT_EQ(::send(peer(0), report, sizeof report, 0), 8);
    uint8_t buffer[9] = {};
    ASSERT_TRUE(kb->readReport(buffer, sizeof buffer, 1000));
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{0, 0x02, 0, 0x04}));
}

TEST_F(HidrawTest, AbortReleasesABlockedReadAndUnplugEndsOne) {
    addKeyboard(0);
    const std::string path = pathOf(0xFF1C, 0x92);
    for (bool byUnplug : {false, true}) {
        SCOPED_TRACE(byUnplug);
        auto dev = backend->open(path, HidOpenOptions{});
        ASSERT_NE(dev, nullptr);
        std::atomic<bool> returned{false};
        std::thread reader([&] {
            uint8_t buffer[64];
            EXPECT_FALSE(dev->readReport(buffer, sizeof buffer, -1));
            returned.store(true);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_FALSE(returned.load());
        auto start = Clock::now();
        if (byUnplug)
            unplug(0);
        else
            dev->abort();
        reader.join();
        EXPECT_LT(msSince(start), 1000);
        uint8_t buffer[64] = {4};
        EXPECT_FALSE(dev->readReport(buffer, sizeof buffer, 0));
        EXPECT_FALSE(dev->writeReport(buffer, sizeof buffer, 100));
        EXPECT_EQ(backend->isPresent(path), !byUnplug);
    }
}

// A peer that never reads: writes stop fitting, the caller returns at its limit, and the report
// it handed over still arrives whole once the peer reads, after the caller's buffer is gone.
TEST_F(HidrawTest, WriteTimesOutWhileThePeerNeverReads) {
    addKeyboard(0);
    auto dev = backend->open(pathOf(0xFF1C, 0x92), HidOpenOptions{});
    ASSERT_NE(dev, nullptr);
    int written = 0;
    bool timedOut = false;
    Bytes last;
    for (; written < 100000 && !timedOut; ++written) {
        auto report = std::make_unique<Bytes>(64, uint8_t(written));
        (*report)[0] = 4;
        auto start = Clock::now();
        timedOut = !dev->writeReport(report->data(), report->size(), 100);
        if (timedOut) {
            EXPECT_GE(msSince(start), 90);
            EXPECT_LT(msSince(start), 2000);
            last = *report;
        }
    }  // the caller's buffer is freed here
    ASSERT_TRUE(timedOut);
    // A second write while the first is still stuck fails at its own limit too.
    const uint8_t more[64] = {4};
    auto start = Clock::now();
    EXPECT_FALSE(dev->writeReport(more, sizeof more, 50));
    EXPECT_LT(msSince(start), 2000);

    ::fcntl(peer(0), F_SETFL, O_NONBLOCK);
    Bytes got(64), previous;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    for (auto until = Clock::now() + std::chrono::seconds(3); Clock::now() < until;) {
        ssize_t n = ::recv(peer(0), got.data(), got.size(), 0);
        if (n == 64) previous = got;
        else std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (previous == last) break;
    }
    EXPECT_EQ(previous, last);
}

// The command interface over a node: a Transact round trip through DeviceConnection.
TEST_F(HidrawTest, CommandRoundTripThroughTheConnection) {
    addKeyboard(0);
    DeviceConnection connection(*backend);
    LinkState link;
    ASSERT_TRUE(ConnectFirst(connection, *backend, link));
    std::thread keyboard([&] {
        uint8_t request[64];
        for (int tries = 0; tries < 2000 && peer(0) < 0; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (::recv(peer(0), request, sizeof request, 0) != 64) return;
        uint8_t reply[64] = {};
        std::memcpy(reply, request, 7);
        reply[8 + 10] = 2;  // active profile 2
        ::send(peer(0), reply, sizeof reply, 0);
    });
    CommandSet commands(connection, link);
    EXPECT_EQ(commands.GetActiveProfile(), 2);
    keyboard.join();
    EXPECT_TRUE(connection.IsPresent(connection.path()));
    unplug(0);
    EXPECT_FALSE(connection.IsPresent(connection.path()));
}

}  // namespace
}  // namespace tarnel::hidraw
