// Capabilities of one top-level HID collection, as our report-descriptor parser computes them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tarnel {

// One main item's worth of usages in one report (padding is not listed).
struct HidUsageCap {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;      // 0 when the descriptor declares no report ids
    bool isButton = false;     // 1-bit variable fields and arrays are buttons (as the HID layer counts)
    bool isRange = false;      // usage range (usageMin..usageMax) or a single usage (usageMin == usageMax)
    bool isArray = false;      // array (selector) field: each of reportCount fields holds a usage index
    uint16_t usageMin = 0;
    uint16_t usageMax = 0;
    uint16_t bitSize = 0;      // report size in bits of one field
    uint16_t reportCount = 0;  // number of fields
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    uint32_t bitOffset = 0;    // position of the first field, in bits after the report id byte
};

struct HidReportCaps {
    uint16_t reportByteLength = 0;  // longest report of this kind, report id byte included; 0 if none
    std::vector<HidUsageCap> caps;
};

struct HidCollectionCaps {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    HidReportCaps input;
    HidReportCaps output;
    HidReportCaps feature;
};

// Parses a report descriptor into one caps set per top-level collection, in descriptor order.
// Untrusted bytes: a malformed descriptor yields false and whatever collections were complete.
bool ParseReportDescriptor(std::span<const uint8_t> descriptor, std::vector<HidCollectionCaps>& out);

}  // namespace tarnel
