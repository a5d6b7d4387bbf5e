// A report descriptor from a device (any device in the system is enumerated), then input
// reports decoded with the caps it gave: byte 0-1 give the descriptor's length, the descriptor
// follows, the rest is cut into reports of the lengths each byte before them gives.
#include <vector>

#include "devicelink/hid_caps.h"
#include "devicelink/input_items.h"
#include "fuzz_target.h"

using namespace tarnel;

namespace {

// Every field lies inside the longest report of its kind (whose length counts the id byte).
void checkCaps(const HidReportCaps& kind) {
    for (const HidUsageCap& c : kind.caps) {
        const uint64_t endBit = c.bitOffset + uint64_t(c.bitSize) * c.reportCount;
        FUZZ_CHECK((endBit + 7) / 8 + 1 <= kind.reportByteLength);
    }
}

}  // namespace

TARNEL_FUZZ_TARGET(hid_descriptor) {
    fuzz::Input in(data, size);
    const size_t length = in.le16();
    const auto descriptor = in.bytes(length);
    std::vector<HidCollectionCaps> collections;
    (void)ParseReportDescriptor(descriptor, collections);

    std::vector<std::vector<InputItem>> items;
    for (const HidCollectionCaps& c : collections) {
        checkCaps(c.input);
        checkCaps(c.output);
        checkCaps(c.feature);
        items.push_back(BuildInputItems(c));
    }
    if (items.empty()) return 0;
    for (int n = 0; n < 8; ++n) {
        const auto report = in.bytes(in.byte());
        if (report.empty()) break;
        for (auto& slots : items) {
            ParseInputReport(slots, report.data(), report.size());
            for (const InputItem& item : slots)
                for (uint16_t u : item.usages)
                    FUZZ_CHECK(u == 0 || (u >= item.usageMin && u <= item.usageMax));
        }
    }
    return 0;
}
