// What sysfs says about a hidraw node, as the hidraw backend reads it: the fuzzer's bytes become
// one node's uevent and report descriptor in a scratch sysfs tree, plus a device path as a
// caller could hand it back. Byte 0 picks the node's number (0..7), bytes 1-2 the uevent's
// length, then come the uevent, a path (length-prefixed) and the descriptor (the rest).
//
// A node that reads back names the ids of its uevent's first HID_ID line, has collections, and
// gives paths that parse back to its number, collection and identity; nothing crashes on any
// text, and files over the size limits are refused.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "devicelink/linux/hidraw_sysfs.h"
#include "fuzz_target.h"

using namespace tarnel;
using namespace tarnel::hidraw;

namespace {

namespace fs = std::filesystem;

constexpr size_t kUeventLimit = 4096;  // the backend reads no more of a uevent than this

// One scratch tree per process, reused by every input and removed at exit. It lives in memory
// (/dev/shm) where there is one: each input rewrites two files, and on a disk file system that
// writing, not the parsing, sets the pace.
class ScratchTree {
public:
    ScratchTree() {
        std::error_code ec;
        const char* base = fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0
                               ? "/dev/shm"
                               : "/tmp";
        std::string dir = std::string(base) + "/tarnel-fuzz-sysfs-XXXXXX";
        if (!mkdtemp(dir.data())) std::abort();
        m_root = dir;
    }
    ~ScratchTree() {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    const fs::path& root() const { return m_root; }

private:
    fs::path m_root;
};

const fs::path& scratchRoot() {
    static const ScratchTree tree;
    return tree.root();
}

void writeFile(const fs::path& path, const void* bytes, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), std::streamsize(size));
    if (!out) std::abort();  // the scratch tree itself failed: not a finding of the parser
}

// The value of the first "HID_ID=" line, as the uevent's own line structure gives it.
bool firstHidId(const std::string& uevent, std::string& value) {
    size_t at = 0;
    while (at < uevent.size()) {
        size_t end = uevent.find('\n', at);
        if (end == std::string::npos) end = uevent.size();
        if (uevent.compare(at, 7, "HID_ID=") == 0) {
            value = uevent.substr(at + 7, end - at - 7);
            return true;
        }
        at = end + 1;
    }
    return false;
}

}  // namespace

TARNEL_FUZZ_TARGET(hidraw_sysfs) {
    fuzz::Input in(data, size);
    const unsigned number = in.byte() % 8;
    const size_t ueventLength = in.le16() % (kUeventLimit + 64);
    const auto ueventBytes = in.bytes(ueventLength);
    const std::string uevent(ueventBytes.begin(), ueventBytes.end());
    const std::string pathTail = in.text(200);
    const auto descriptor = in.rest();

    const fs::path& root = scratchRoot();
    const fs::path device = root / ("hidraw" + std::to_string(number)) / "device";
    fs::create_directories(device);
    writeFile(device / "uevent", uevent.data(), uevent.size());
    writeFile(device / "report_descriptor", descriptor.data(), descriptor.size());

    std::vector<unsigned> numbers;
    FUZZ_CHECK(ListNodes(root.string(), numbers));
    FUZZ_CHECK(std::find(numbers.begin(), numbers.end(), number) != numbers.end());
    FUZZ_CHECK(std::is_sorted(numbers.begin(), numbers.end()));

    const std::string devRoot = "/dev";
    PathParts parts;
    (void)ParsePath(devRoot, pathTail, parts);
    (void)ParsePath(devRoot, devRoot + "/hidraw" + pathTail, parts);
    uint16_t vendor = 0, product = 0;
    (void)ParseHidId(pathTail, vendor, product);

    const std::optional<NodeInfo> node = ReadNode(root.string(), number);
    if (!node) return 0;
    FUZZ_CHECK(uevent.size() <= kUeventLimit);
    FUZZ_CHECK(descriptor.size() <= kMaxDescriptorSize);
    FUZZ_CHECK(node->number == number);
    FUZZ_CHECK(!node->collections.empty());
    std::string hidId;
    FUZZ_CHECK(firstHidId(uevent, hidId));
    FUZZ_CHECK(ParseHidId(hidId, vendor, product));
    FUZZ_CHECK(vendor == node->vendorId && product == node->productId);
    for (size_t c = 0; c < node->collections.size(); ++c) {
        const std::string path = MakePath(devRoot, *node, c);
        FUZZ_CHECK(ParsePath(devRoot, path, parts));
        FUZZ_CHECK(parts.number == number && parts.collection == c &&
                   parts.identity == node->identity);
    }
    return 0;
}
