#include "devicelink/linux/hidraw_sysfs.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace tarnel::hidraw {
namespace {

namespace fs = std::filesystem;
constexpr size_t kMaxUeventSize = 4096;

// The whole file, or false when it is missing, unreadable or longer than `limit`.
bool readFile(const fs::path& path, size_t limit, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.clear();
    char chunk[1024];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        out.append(chunk, size_t(in.gcount()));
        if (out.size() > limit) return false;
    }
    return !in.bad();
}

bool parseHex(const std::string& text, size_t begin, size_t end, uint32_t& out) {
    if (begin >= end || end - begin > 8) return false;
    uint32_t v = 0;
    for (size_t i = begin; i < end; ++i) {
        const char c = text[i];
        int d = c >= '0' && c <= '9' ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
        if (d < 0) return false;
        v = v << 4 | uint32_t(d);
    }
    out = v;
    return true;
}

std::string ueventValue(const std::string& uevent, const std::string& key) {
    size_t at = 0;
    while (at < uevent.size()) {
        size_t end = uevent.find('\n', at);
        if (end == std::string::npos) end = uevent.size();
        if (uevent.compare(at, key.size() + 1, key + "=") == 0)
            return uevent.substr(at + key.size() + 1, end - at - key.size() - 1);
        at = end + 1;
    }
    return {};
}

uint64_t fnv1a(const std::string& text) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

bool anyReportId(const HidReportCaps& kind) {
    return std::any_of(kind.caps.begin(), kind.caps.end(),
                       [](const HidUsageCap& c) { return c.reportId != 0; });
}

// Reads unsigned decimal digits at text[at..]; false when there are none or too many.
bool readNumber(const std::string& text, size_t& at, uint64_t& out, size_t maxDigits) {
    size_t start = at;
    uint64_t v = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < maxDigits)
        v = v * 10 + uint64_t(text[at++] - '0');
    out = v;
    return at > start && (at == text.size() || text[at] < '0' || text[at] > '9');
}

}  // namespace

bool ParseHidId(const std::string& value, uint16_t& vendorId, uint16_t& productId) {
    const size_t first = value.find(':');
    const size_t second = first == std::string::npos ? first : value.find(':', first + 1);
    if (second == std::string::npos) return false;
    uint32_t bus = 0, vendor = 0, product = 0;
    if (!parseHex(value, 0, first, bus) || !parseHex(value, first + 1, second, vendor) ||
        !parseHex(value, second + 1, value.size(), product))
        return false;
    vendorId = uint16_t(vendor);
    productId = uint16_t(product);
    return true;
}

std::optional<NodeInfo> ReadNode(const std::string& sysfsRoot, unsigned number) {
    const fs::path device = fs::path(sysfsRoot) / ("hidraw" + std::to_string(number)) / "device";
    std::string uevent, descriptor;
    if (!readFile(device / "uevent", kMaxUeventSize, uevent) ||
        !readFile(device / "report_descriptor", kMaxDescriptorSize, descriptor))
        return std::nullopt;
    NodeInfo node;
    node.number = number;
    if (!ParseHidId(ueventValue(uevent, "HID_ID"), node.vendorId, node.productId))
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const uint8_t*>(descriptor.data());
    if (!ParseReportDescriptor({bytes, descriptor.size()}, node.collections) ||
        node.collections.empty())
        return std::nullopt;
    for (const HidCollectionCaps& c : node.collections)
        node.usesReportIds = node.usesReportIds || anyReportId(c.input) ||
                             anyReportId(c.output) || anyReportId(c.feature);
    // The HID device's own folder carries a sequence number that a new arrival never shares;
    // the uevent adds the physical location and serial.
    std::error_code ec;
    const fs::path where = fs::canonical(device, ec);
    node.identity = fnv1a((ec ? device.string() : where.string()) + '\n' + uevent);
    return node;
}

bool ListNodes(const std::string& sysfsRoot, std::vector<unsigned>& numbers) {
    numbers.clear();
    std::error_code ec;
    if (!fs::exists(sysfsRoot, ec)) return !ec;
    fs::directory_iterator it(sysfsRoot, ec);
    if (ec) return false;
    // A failed step ends the iteration as if the folder were done; ec tells the two apart.
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("hidraw", 0) != 0) continue;
        size_t at = 6;
        uint64_t n = 0;
        if (readNumber(name, at, n, 9) && at == name.size()) numbers.push_back(unsigned(n));
    }
    if (ec) return false;
    std::sort(numbers.begin(), numbers.end());
    return true;
}

std::string MakePath(const std::string& devRoot, const NodeInfo& node, size_t collection) {
    char tail[96];
    std::snprintf(tail, sizeof tail, "#vid_%04x&pid_%04x&col_%02zu&id_%016" PRIx64,
                  unsigned(node.vendorId), unsigned(node.productId), collection, node.identity);
    return devRoot + "/hidraw" + std::to_string(node.number) + tail;
}

bool ParsePath(const std::string& devRoot, const std::string& path, PathParts& parts) {
    const std::string prefix = devRoot + "/hidraw";
    if (path.rfind(prefix, 0) != 0) return false;
    size_t at = prefix.size();
    uint64_t number = 0, collection = 0;
    if (!readNumber(path, at, number, 9) || path.compare(at, 1, "#") != 0) return false;
    const size_t col = path.find("&col_", at);
    const size_t id = path.find("&id_", at);
    if (col == std::string::npos || id == std::string::npos) return false;
    size_t c = col + 5;
    if (!readNumber(path, c, collection, 4)) return false;
    uint32_t high = 0, low = 0;
    const size_t h = id + 4;
    if (path.size() != h + 16 || !parseHex(path, h, h + 8, high) ||
        !parseHex(path, h + 8, h + 16, low))
        return false;
    parts.number = unsigned(number);
    parts.collection = size_t(collection);
    parts.identity = uint64_t(high) << 32 | low;
    return true;
}

}  // namespace tarnel::hidraw
