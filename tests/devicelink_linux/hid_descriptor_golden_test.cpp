// Our parser against what the Windows HID parser computed for real devices' descriptors.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "devicelink/hid_caps.h"

namespace tarnel {
namespace {

using json = nlohmann::json;
// (usage page, report id, first usage, last usage, bits per field, field count); a single usage has
// first == last. Logical ranges are left out: Windows gives variable buttons none (0..0), and
// widens a value's unset range 0..0 to 0..1 (047F_C056_0003_FFA0, report 3).
using CapKey = std::tuple<int, int, int, int, int, int>;

struct CapSets {
    std::multiset<CapKey> buttons;
    std::multiset<CapKey> values;
};

// Two captures begin with bytes that are no part of what the device sends: the descriptor's length
// in decimal (after a run of other numbers in one of them), left over from the text form the
// capture was kept in. Windows parsed the device's descriptor, which starts after them.
const std::map<std::string, size_t> kCaptureJunk = {
    {"046D_C534_0006_0001", 1},  // "59": 59 bytes follow
    {"1532_00A3_0002_0001", 42}, // "10 12 14 ... 93 94": 94 bytes follow
};

std::vector<uint8_t> fromHex(const std::string& text) {
    std::vector<uint8_t> bytes;
    std::istringstream in(text);
    std::string byte;
    while (in >> byte) bytes.push_back(uint8_t(std::stoul(byte, nullptr, 16)));
    return bytes;
}

CapSets expectedSets(const json& kind) {
    CapSets s;
    for (const json& c : kind.at("caps")) {
        const bool range = c.at("isRange").get<bool>();
        const int first = range ? c.at("usageMin").get<int>() : c.at("usage").get<int>();
        const int last = range ? c.at("usageMax").get<int>() : first;
        CapKey key{c.at("usagePage").get<int>(), c.at("reportId").get<int>(), first, last,
                   c.at("bitSize").get<int>(), c.at("reportCount").get<int>()};
        (c.at("isButton").get<bool>() ? s.buttons : s.values).insert(key);
    }
    return s;
}

CapSets ourSets(const HidReportCaps& kind) {
    CapSets s;
    for (const HidUsageCap& c : kind.caps) {
        CapKey key{c.usagePage, c.reportId,  c.usageMin,
                   c.isRange ? c.usageMax : c.usageMin, c.bitSize, c.reportCount};
        (c.isButton ? s.buttons : s.values).insert(key);
    }
    return s;
}

std::string show(const std::multiset<CapKey>& keys) {
    std::ostringstream out;
    for (const auto& [page, id, first, last, bits, count] : keys)
        out << " {page " << page << " id " << id << " usage " << first << ".." << last << " "
            << count << "x" << bits << "}";
    return out.str();
}

// The first collection of that page and usage (one capture has two consumer-control collections;
// Windows' entry is the first).
const HidCollectionCaps* findCollection(const std::vector<HidCollectionCaps>& all, int page,
                                        int usage) {
    for (const HidCollectionCaps& c : all)
        if (c.usagePage == page && c.usage == usage) return &c;
    return nullptr;
}

TEST(HidDescriptorGolden, MatchesWindowsCapsOfRealDevices) {
    std::ifstream file(TARNEL_WINDOWS_CAPS_JSON);
    ASSERT_TRUE(file) << "no captured descriptors at " << TARNEL_WINDOWS_CAPS_JSON;
    const json entries = json::parse(file);
    ASSERT_FALSE(entries.empty());

    for (const json& entry : entries) {
        const std::string name = entry.at("name").get<std::string>();
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes = fromHex(entry.at("descriptor").get<std::string>());
        if (auto junk = kCaptureJunk.find(name); junk != kCaptureJunk.end()) {
            ASSERT_LT(junk->second, bytes.size());
            // The last junk byte, read as decimal, is the length of what follows.
            const int stated = std::stoi(
                (std::ostringstream() << std::hex << int(bytes[junk->second - 1])).str());
            bytes.erase(bytes.begin(), bytes.begin() + long(junk->second));
            ASSERT_EQ(size_t(stated), bytes.size());
        }
        std::vector<HidCollectionCaps> collections;
        EXPECT_TRUE(ParseReportDescriptor(bytes, collections));
        const HidCollectionCaps* caps = findCollection(collections, entry.at("usagePage").get<int>(),
                                                       entry.at("usage").get<int>());
        if (caps == nullptr) {
            ADD_FAILURE() << "no collection with that usage page and usage";
            continue;
        }
        const std::pair<const char*, const HidReportCaps*> kinds[] = {
            {"input", &caps->input}, {"output", &caps->output}, {"feature", &caps->feature}};
        for (const auto& [kindName, ours] : kinds) {
            SCOPED_TRACE(kindName);
            const json& theirs = entry.at(kindName);
            EXPECT_EQ(ours->reportByteLength, theirs.at("reportByteLength").get<int>());
            const CapSets want = expectedSets(theirs);
            const CapSets got = ourSets(*ours);
            EXPECT_EQ(got.buttons, want.buttons)
                << "buttons ours:" << show(got.buttons) << "\nwindows:" << show(want.buttons);
            EXPECT_EQ(got.values, want.values)
                << "values ours:" << show(got.values) << "\nwindows:" << show(want.values);
        }
    }
}

}  // namespace
}  // namespace tarnel
